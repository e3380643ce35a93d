#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

#include "shell/calculator.h"
#include "shell/data_dir.h"
#include "shell/explore_session.h"
#include "shell/form.h"
#include "shell/named_design.h"
#include "ui/controls/control.h"
#include "ui/design_ui.h"
#include "ui/drawing_view.h"
#include "ui/pictures.h"
#include "ui/qt_dialogs.h"
#include "ui/qt_long_run.h"
#include "ui/qt_printer.h"

class QAction;
class QFrame;

namespace ferrovane {

// The one window class of every calculator: builds the widgets its
// description asks for (control names become objectNames, labels become
// accessible names), mirrors its Form, and sends every user action through
// the window cycle. Calculate is the default button; Escape is Close.
class CalculatorWindow : public QDialog, private ControlHost {
    Q_OBJECT
public:
    // dialogs: where messages go; this window's own message boxes when null.
    CalculatorWindow(const Calculator& calc, const DataDir& dir, Dialogs* dialogs = nullptr,
                     QWidget* parent = nullptr);
    ~CalculatorWindow() override;

    // Form_Load, then shows and places the window.
    void open() override;
    // The size the window opens at on a screen large enough for it: its
    // design size, or what its contents need where that is more.
    QSize openingSize() const;

    const Form& form() const override { return form_; }
    // Puts a whole form in the window's place, as its worked example from
    // the help, and shows it.
    void setForm(const Form& form);
    const Calculator& calculator() const override { return calc_; }

    // The Qt printer, text metrics and long-run host are used unless a test
    // puts its own in their place.
    QtPrinter& printer() { return printer_; }
    void setPrinter(Printer* printer) { env_.printer = printer; }
    void setTextMetrics(const TextMetrics* metrics) { env_.metrics = metrics; }
    void setLongRunHost(LongRunHost* host) { env_.longRuns = host; }

    // The Close button's work: save, then close; false when the user chose
    // to keep the window open after a failed save.
    bool closeAndSave();

    // Explore... (Ctrl+E and the window's context menu): sweeps and tolerance
    // spreads over copies of this window's form, in a dialog made when asked.
    void explore();
    // Named designs (calculator_window_designs.cpp). The window keeps the
    // file of the design it shows; its title shows the design's name, and
    // a "*" once the boxes differ from what was saved.
    // Opens a design file into the window; false, with a message, when it
    // cannot be read, or when it is another calculator's and nobody takes
    // it through otherDesign.
    bool openDesign(const QString& file);
    // Save Design (Ctrl+S): under the design's name, or as Save As.
    bool saveDesign();
    // Save Design As... (Ctrl+Shift+S).
    bool saveDesignAs();
    // Open Design... (Ctrl+O).
    void chooseDesign();
    const QString& designFile() const { return designFile_; }
    // The boxes differ from what the design file holds.
    bool designModified();
    void setFileAsker(DesignFileAsker asker) { askFile_ = std::move(asker); }
    // The circuit of the last completed Calculate (calculator_window_spice.cpp):
    // Export SPICE Netlist... saves it; Check with ngspice runs it as long work
    // and shows the figures side by side. Both are in the context menu of a
    // window whose calculator has a circuit, enabled once a Calculate completed.
    bool exportSpice();
    void checkSpice();

signals:
    // The window has closed and is going away; the main window comes back.
    void closed();
    // F1: the user asks for this calculator's help page.
    void helpRequested();
    // A design was saved or opened here (for the list of recent designs).
    void designSaved(const QString& file);
    void designOpened(const QString& file);
    // A design of another calculator was opened or dropped here.
    void otherDesign(const QString& file);

public slots:
    void reject() override;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void act(const std::function<void(const Calculator&, Form&, CalcEnv&)>& step) override;
    void press(const std::string& button) override;
    void watch(QWidget* widget) override;
    bool refreshing() const override { return refreshing_; }
    CalcEnv& environment() override { return env_; }
    // Ctrl+P: the calculator's own Print where it has one, else a worksheet.
    void printWorksheet();

    void build();
    QWidget* buildRegion(const std::vector<ControlSpec>& items, QWidget* owner, const char* name);
    QFrame* buildButtons();
    void refresh();
    void hover(const std::string& control);

    const Calculator& calc_;
    QtDialogs ownDialogs_;
    QtPrinter printer_;
    QtTextMetrics metrics_;
    QtLongRunHost longRuns_;
    CalcEnv env_;
    Form form_;
    std::vector<std::unique_ptr<ControlView>> views_;
    // The regions of the layout tree and the row of columns that holds two
    // of them, hidden while everything in them is.
    std::vector<QWidget*> regions_;
    bool closing_ = false;
    bool refreshing_ = false;
    bool shownMaximised_ = false; // what the window last showed of form.maximised()
    // The last Calculate, where Explore's runs start.
    std::optional<LastPress> lastCalculate_;
    QPointer<QDialog> explore_;

    void addSpiceActions();
    void updateSpiceActions();
    // A press through the window cycle that keeps the circuit for the netlist.
    void pressCounted(const std::string& button);
    // The netlist of the kept circuit and its text; none, after a message,
    // when there is no circuit.
    std::optional<std::string> spiceText(Netlist& netlist);
    std::optional<Form> circuit_;
    QPointer<QAction> exportSpice_, checkSpice_;

    void addDesignActions();
    void showDesignTitle();
    // Before the boxes are closed or replaced: a named design with changes
    // asks Save / Discard / Cancel; false for Cancel or a failed save.
    bool keepDesignChanges();
    bool writeDesignTo(const QString& file);
    // A design file dragged over a box or button of the window.
    bool dragsDesign(QEvent* event);
    QString designFile_;
    NamedDesign design_; // as last saved or opened
    DesignFileAsker askFile_ = askDesignFile;
};

} // namespace ferrovane
