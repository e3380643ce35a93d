#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QMessageBox>
#include <QStandardPaths>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "shell/calc_command.h"

#include "shell/data_home.h"
#include "shell/dialogs.h"
#include "ui/main_window.h"

namespace {

// Where the install step puts the program, as this build was configured.
bool installed(const std::filesystem::path& programDir) {
    return ferrovane::isInstalledProgram(
        programDir, {FERROVANE_INSTALL_BINDIR, FERROVANE_INSTALL_DATA_FROM_BIN});
}

// An installed copy keeps its data files in the user's application data
// directory; a copy run where it was built or unpacked keeps them beside the
// executable when that directory can be written.
ferrovane::DataHome dataHome() {
    const std::filesystem::path programDir = QCoreApplication::applicationDirPath().toStdString();
    return ferrovane::PrepareDataHome(
        programDir, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString(),
        installed(programDir));
}

// --help and --version print and end the program (so does an unknown option).
// Returns the design files named.
QStringList parseCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Circuit-design calculators for radio and electronics "
                                     "hobbyists.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("design", "A design file (.fvd) to open.", "[FILE.fvd]");
    parser.process(app);
    return parser.positionalArguments();
}

} // namespace

int main(int argc, char* argv[]) {
    // "ferrovane calc ..." runs a calculator without Qt, so it needs no display.
    if (argc > 1 && std::strcmp(argv[1], "calc") == 0) {
        std::error_code ec;
        const auto dir = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
        // Help pages beside the program in a build tree, in share/ when installed.
        auto help = dir / "help";
        if (!std::filesystem::exists(help, ec))
            help = dir.parent_path() / "share" / "ferrovane" / "help";
        return ferrovane::calcCommand(std::vector<std::string>(argv + 2, argv + argc), std::cout,
                                      std::cerr, ferrovane::userDataFolder(dir, installed(dir)),
                                      help);
    }
    QCoreApplication::setApplicationName("Ferrovane");
    QCoreApplication::setOrganizationName("Ferrovane");
    QCoreApplication::setApplicationVersion(FERROVANE_VERSION);
    // Options that only print need no display: answer them without opening one.
    const bool printOnly = std::any_of(argv + 1, argv + argc, [](const char* arg) {
        for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"})
            if (std::strcmp(arg, option) == 0)
                return true;
        return false;
    });
    if (printOnly) {
        QCoreApplication app(argc, argv);
        parseCommandLine(app);
    }
    QApplication app(argc, argv);
    const QStringList designs = parseCommandLine(app);
    // The installed desktop entry and icon carry the application's id.
    QGuiApplication::setDesktopFileName("io.github.ferrovane.Ferrovane");
    QApplication::setWindowIcon(QIcon::fromTheme("io.github.ferrovane.Ferrovane"));
    const ferrovane::DataHome home = dataHome();
    ferrovane::MainWindow window{home.dir};
    window.start();
    if (!home.notice.empty())
        QMessageBox::information(&window, ferrovane::kAppTitle,
                                 QString::fromStdString(home.notice));
    // "ferrovane FILE.fvd", as the file manager starts it for a design file.
    if (!designs.isEmpty())
        window.openDesign(designs.first());
    return app.exec();
}
