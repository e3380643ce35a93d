#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "shell/data_dir.h"
#include "ui/calculator_window.h"
#include "ui/design_ui.h"
#include "ui/qt_dialogs.h"

class QAction;
class QPlainTextEdit;
class QFrame;
class QSettings;

namespace ferrovane {

struct CatalogueEntry;
class HelpWindow;

// The main window (Form00): twenty calculator buttons, the description box,
// Reset and End. Hidden while a calculator window is open.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // dialogs: where messages go; the window's own message boxes when null.
    explicit MainWindow(DataDir dir, Dialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: writes the example files when "VoltDiv.DAT" cannot be read,
    // places and shows the window, then reports a failed write.
    void start();

    // Opens the calculator of a catalogue button, as a click does.
    CalculatorWindow* openCalculator(const CatalogueEntry& entry);
    CalculatorWindow* openCalculatorWindow() const { return open_; }

    // The program's one help window, made at the first request (F1 here
    // shows the overview, F1 in a calculator window its page); null before.
    HelpWindow* helpWindow() const { return help_.get(); }
    void showHelp(const QString& page);
    // Where the help pages are looked for (tests give a folder of their own).
    void setHelpFolder(const QString& folder) { helpFolder_ = folder; }
    // The About box, from the context menu, or F1 where no help is installed.
    void showAbout();
    // A help page's example link: the calculator's worked example in its
    // window, which is opened as its button opens it when it is not open.
    // An other calculator's window is closed first, as its Close does.
    void loadExample(const QString& id);
    // Named designs (main_window_designs.cpp). Opens a design file in its
    // calculator's window, as Open Design... does; false, with a message,
    // when it cannot be read or the open window keeps its own changes.
    bool openDesign(const QString& file);
    // The designs last saved or opened, most recent first; they are listed
    // in the context menu and kept in the application's settings.
    const std::vector<std::string>& recentDesigns() const { return recent_; }
    // Keeps the recent list in this file instead (tests).
    void useSettingsFile(const QString& file);
    void setFileAsker(DesignFileAsker asker) { askFile_ = std::move(asker); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void describe(const QString& text);
    // About on the context menu, and F1.
    void addHelpActions();
    void restoreExamples();

    DataDir dir_;
    QtDialogs ownDialogs_;
    Dialogs* dialogs_;
    QPlainTextEdit* describeBox_ = nullptr;
    QFrame* frame_ = nullptr;
    QPointer<CalculatorWindow> open_;
    std::unique_ptr<HelpWindow> help_;
    QString helpFolder_;

    void addDesignMenu();
    void connectDesigns(CalculatorWindow* window);
    std::unique_ptr<QSettings> settings() const;
    void remember(const QString& file);
    void openRecent(std::size_t index);
    // Shows the recent list in the context menu and keeps it in the settings.
    void showRecent(bool store);
    std::vector<std::string> recent_;
    std::vector<QAction*> recentActions_;
    QString settingsFile_;
    DesignFileAsker askFile_ = askDesignFile;
};

} // namespace ferrovane
