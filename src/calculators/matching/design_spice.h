#pragma once

#include <string>
#include <vector>

#include "shell/spice.h"

// What the netlists of the three matching designs (L, capacitive divider,
// Pi) share: the designed network is driven by a 1 A test current at F into
// node "in", so V(in) in volts reads the impedance the source sees, which
// the design makes R1 with no reactance.
namespace ferrovane::designspice {

// The netlist: the test current, then the network; the analysis at F; the
// input resistance (R1) and reactance (none, against R1), then the
// network's own figures (its Q).
Netlist testCurrentNetlist(double f, double r1, std::vector<std::string> notes,
                           const std::vector<SpiceElement>& network,
                           const std::vector<SpiceFigure>& figures);

} // namespace ferrovane::designspice
