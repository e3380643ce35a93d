#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "shell/data_dir.h"
#include "ui/calculator_window.h"
#include "ui/qt_dialogs.h"

class QPlainTextEdit;
class QFrame;

namespace ferrovane {

struct CatalogueEntry;

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void describe(const QString& text);
    void restoreExamples();

    DataDir dir_;
    QtDialogs ownDialogs_;
    Dialogs* dialogs_;
    QPlainTextEdit* describeBox_ = nullptr;
    QFrame* frame_ = nullptr;
    QPointer<CalculatorWindow> open_;
};

} // namespace ferrovane
