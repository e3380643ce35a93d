// Opens every calculator window from its main-window button, as a press
// does, and prints the time from the press to the window painted: the
// first opening in the process, and the median over N openings (15 unless
// given):  bench_windows [N [ID]]
// (ID: only that calculator, for a profiler).
// Without a display it runs on Qt's offscreen platform.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "calculators/catalogue.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
        !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const auto dir = std::filesystem::temp_directory_path() / "ferrovane-bench-windows";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    ferrovane::MainWindow main{ferrovane::DataDir(dir)};
    main.start();
    QCoreApplication::processEvents();

    std::printf("%-20s %s\n", "window", "press to painted, ms: first, median");
    for (const ferrovane::CatalogueEntry& entry : ferrovane::catalogue()) {
        auto* button = main.findChild<QAbstractButton*>(QString::fromStdString(entry.button));
        if (!button || !entry.calculator || (argc > 2 && entry.id != argv[2]))
            continue;
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer timer;
            timer.start();
            button->click();
            ferrovane::CalculatorWindow* window = main.openCalculatorWindow();
            if (!window)
                break;
            window->repaint();
            ms.push_back(timer.nsecsElapsed() / 1e6);
            window->closeAndSave();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
        if (ms.empty())
            continue;
        const double first = ms.front();
        std::sort(ms.begin(), ms.end());
        std::printf("%-20s %5.1f %5.1f\n", entry.id.c_str(), first, ms[ms.size() / 2]);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
