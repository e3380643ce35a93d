// Starts either an empty Qt window or Ferrovane's main window, waits until it
// is shown, and prints the time since the process started and the peak
// resident memory. bench/startup.sh compares the two.
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <filesystem>

#include <time.h>

#include "ui/main_window.h"

namespace {

// Milliseconds since the process was started by the kernel.
double sinceProcessStart() {
    QFile stat("/proc/self/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = stat.readAll().split(' ');
    const double ticks = fields.value(21).toDouble();
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    const double nowMs = boot.tv_sec * 1000.0 + boot.tv_nsec / 1e6;
    return nowMs - ticks * 1000.0 / sysconf(_SC_CLK_TCK);
}

long peakKilobytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool empty = argc > 1 && QByteArray(argv[1]) == "empty";

    std::unique_ptr<QWidget> window;
    if (empty) {
        window = std::make_unique<QWidget>();
        window->resize(507, 448);
        window->show();
    } else {
        const auto dir = std::filesystem::temp_directory_path() / "ferrovane-startup";
        std::filesystem::create_directories(dir);
        auto main = std::make_unique<ferrovane::MainWindow>(ferrovane::DataDir(dir));
        main->start();
        window = std::move(main);
    }
    QTimer::singleShot(0, [&] {
        // Painted, not just shown: the offscreen platform paints lazily.
        window->repaint();
        std::printf("%s %.1f ms %ld kB\n", empty ? "empty" : "ferrovane", sinceProcessStart(),
                    peakKilobytes());
        app.quit();
    });
    return app.exec();
}
