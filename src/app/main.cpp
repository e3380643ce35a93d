#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "shell/data_dir.h"
#include "ui/main_window.h"

namespace {

// The data files live beside the executable when that directory can be
// written (a copy run where it was built or unpacked); an installed copy
// keeps them in the user's application data directory.
std::filesystem::path dataDirectory() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (ferrovane::DataDir(exeDir.toStdString()).probeWritable())
        return exeDir.toStdString();
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(appData);
    return appData.toStdString();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Ferrovane");
    QApplication::setOrganizationName("Ferrovane");
    ferrovane::MainWindow window{ferrovane::DataDir(dataDirectory())};
    window.start();
    return app.exec();
}
