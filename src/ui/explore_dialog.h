#pragma once

#include <QDialog>
#include <memory>

#include "shell/explore_session.h"
#include "ui/qt_long_run.h"

class QTabWidget;

class QAction;

namespace ferrovane {

class SweepPage;
class TolerancePage;

// Explore...: what-if runs over a calculator window. The Sweep page varies
// one input and draws the chosen results against it; the Tolerance page
// spreads inputs within their tolerances and shows what the results do.
// Every run works on copies of the window's form over a scratch copy of its
// data folder, so the window and the user's files stay as they are, and the
// runs' messages are listed here, never shown as message boxes.
class ExploreDialog : public QDialog {
    Q_OBJECT
public:
    // shown: the window's form now; last: its last Calculate, if any.
    // Long runs go through host, or this dialog's own progress window.
    ExploreDialog(const Calculator& calc, const DataDir& files, const Form& shown,
                  const LastPress* last, const TextMetrics& metrics, LongRunHost* host,
                  QWidget* parent);
    ~ExploreDialog() override;

    SweepPage& sweep() { return *sweep_; }
    TolerancePage& tolerance() { return *tolerance_; }
    // The sweep's table as CSV, without a file dialog.
    bool saveSweepCsv(const QString& path);
    // Buttons for the window's own actions on its circuit (the netlist's
    // export and check) under the pages; they follow the actions' state.
    void addCircuitActions(const QList<QAction*>& actions);

private:
    LongRunHost* host() { return host_ ? host_ : &ownHost_; }

    ExploreSession session_;
    QtLongRunHost ownHost_;
    LongRunHost* host_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    SweepPage* sweep_ = nullptr;
    TolerancePage* tolerance_ = nullptr;
};

} // namespace ferrovane
