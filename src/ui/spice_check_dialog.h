#pragma once

#include <QDialog>

#include "shell/ngspice.h"

namespace ferrovane {

// What "Check with ngspice" found: each figure as calculated and as
// simulated, the difference in percent, and one line saying whether they
// agree. Export Netlist... saves the netlist that was run.
class SpiceCheckDialog : public QDialog {
    Q_OBJECT
public:
    SpiceCheckDialog(const SpiceCheck& check, QWidget* parent = nullptr);

signals:
    void exportRequested();
};

} // namespace ferrovane
