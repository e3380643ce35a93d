// The simulator side of the calculator window: the circuit of the last
// completed Calculate exported as a SPICE netlist, and checked in ngspice
// with its figures beside the calculator's.
#include <QAction>
#include <QFileInfo>
#include <QSaveFile>

#include "ui/calculator_window.h"
#include "ui/save_prompt.h"
#include "ui/spice_check_dialog.h"

namespace ferrovane {

void CalculatorWindow::addSpiceActions() {
    if (!calc_.netlist)
        return;
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    addAction(separator);
    exportSpice_ = new QAction(tr("Export SPICE Netlist\u2026"), this);
    exportSpice_->setObjectName("ActionExportSpice");
    connect(exportSpice_, &QAction::triggered, this, [this] { exportSpice(); });
    addAction(exportSpice_);
    checkSpice_ = new QAction(tr("Check with ngspice"), this);
    checkSpice_->setObjectName("ActionCheckSpice");
    connect(checkSpice_, &QAction::triggered, this, &CalculatorWindow::checkSpice);
    addAction(checkSpice_);
    updateSpiceActions();
}

void CalculatorWindow::updateSpiceActions() {
    for (QAction* action : {exportSpice_.data(), checkSpice_.data()})
        if (action)
            action->setEnabled(circuit_.has_value());
}

void CalculatorWindow::pressCounted(const std::string& button) {
    pressKeepingCircuit(calc_, form_, env_, button, circuit_);
    refresh();
    updateSpiceActions();
}

std::optional<std::string> CalculatorWindow::spiceText(Netlist& netlist) {
    if (!circuit_)
        return std::nullopt;
    NetlistResult built = netlistOf(calc_, *circuit_);
    if (!built.netlist) {
        env_.dialogs.say(built.why, MessageIcon::Exclamation);
        return std::nullopt;
    }
    netlist = std::move(*built.netlist);
    return renderNetlist(netlist, {todayText(), design_.title});
}

bool CalculatorWindow::exportSpice() {
    Netlist netlist;
    const std::optional<std::string> text = spiceText(netlist);
    if (!text)
        return false;
    QString file =
        askSaveFile(this, tr("Export SPICE Netlist"), tr("SPICE netlists (*.cir);;All files (*)"));
    if (file.isEmpty())
        return false;
    if (QFileInfo(file).suffix().isEmpty())
        file += ".cir";
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(text->data(), static_cast<qint64>(text->size())) !=
            static_cast<qint64>(text->size()) ||
        !out.commit()) {
        env_.dialogs.say("The netlist could not be written to " + file.toStdString() + ":\r\n" +
                             out.errorString().toStdString(),
                         MessageIcon::Exclamation);
        return false;
    }
    return true;
}

void CalculatorWindow::checkSpice() {
    Netlist netlist;
    const std::optional<std::string> text = spiceText(netlist);
    if (!text)
        return;
    if (!spiceAvailable()) {
        env_.dialogs.say(std::string("ngspice is not installed, so the netlist cannot be checked "
                                     "here. Install it with \"") +
                             kInstallNgspice + "\"; the netlist can be saved now.",
                         MessageIcon::Information);
        exportSpice();
        return;
    }
    SpiceCheck check;
    const bool finished = env_.runLong("Checking with ngspice", [&](Progress& progress) {
        check = checkWithSpice(netlist, *text, {}, &progress);
    });
    if (!finished || check.run.status == SpiceRun::Status::Cancelled)
        return;
    auto* dialog = new SpiceCheckDialog(check, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &SpiceCheckDialog::exportRequested, this, [this] { exportSpice(); });
    dialog->open();
}

} // namespace ferrovane
