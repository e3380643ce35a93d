#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// A pi match for a chosen loaded Q: C1 across the high side resistance R1, a
// series coil L, and C2 across the load RL. Reactances in ohms, C1 and C2 in
// farads, L in henries.
struct PiNetworkDesign {
    double xc1 = 0; // R1 / Q
    double xc2 = 0; // C2, which with RL in parallel makes R1 / (Q^2 + 1) in series
    double xl = 0;  // the root of the quadratic that presents R1
    double c1 = 0;
    double l = 0;
    double c2 = 0;
};

// The design at frequency f, for Q > sqrt(R1 / RL - 1) and R1 > RL > 0.
// Nothing is checked: other inputs give values that are not finite.
PiNetworkDesign designPiNetwork(double f, double q, double rl, double r1);

// "Pi--Network Impedance Matching Calculator": lists the design and writes it
// to "PiNetDesign.DAT" for the lossy-coil analysis.
const Calculator& piNetwork();

// The designed pi section with a test current and RL, checked at F.
std::optional<Netlist> piNetworkNetlist(const Form& form);

} // namespace ferrovane
