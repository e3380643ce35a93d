#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>

#include "shell/data_home.h"
#include "shell/dialogs.h"
#include "ui/main_window.h"

namespace {

// The data files live beside the executable when that directory can be
// written (a copy run where it was built or unpacked); an installed copy
// keeps them in the user's application data directory.
ferrovane::DataHome dataHome() {
    return ferrovane::PrepareDataHome(
        QCoreApplication::applicationDirPath().toStdString(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString());
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Ferrovane");
    QApplication::setOrganizationName("Ferrovane");
    const ferrovane::DataHome home = dataHome();
    ferrovane::MainWindow window{home.dir};
    window.start();
    if (!home.notice.empty())
        QMessageBox::information(&window, ferrovane::kAppTitle,
                                 QString::fromStdString(home.notice));
    return app.exec();
}
