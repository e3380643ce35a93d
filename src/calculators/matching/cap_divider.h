#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// A tapped-capacitor match for a chosen loaded Q: the coil L across the high
// side resistance R1, C1 and C2 in series across it, the load RL across C2.
// Reactances in ohms, L in henries, C1 and C2 in farads.
struct CapDividerDesign {
    double xl = 0;  // R1 / Q
    double rv = 0;  // R1 / (Q^2 + 1): the resistance RL must look like in series form
    double xc2 = 0; // C2, which with RL in parallel makes Rv in series
    double xs = 0;  // series reactance of RL in parallel with C2
    double xc1 = 0; // C1, bringing the series reactance up to Q * Rv
    double l = 0;
    double c1 = 0;
    double c2 = 0;
};

// The design at frequency f, for R1 / RL < Q^2 + 1 and R1 > RL > 0. Nothing
// is checked: other inputs give values that are not finite.
CapDividerDesign designCapDivider(double f, double q, double rl, double r1);

// "Capacitive Divider Impedance Matching Design Calculator": lists the design
// and writes it to "CapDivDesign.DAT" for the lossy-coil analysis.
const Calculator& capDivider();

// The designed divider with a test current and RL, checked at F.
std::optional<Netlist> capDividerNetlist(const Form& form);

} // namespace ferrovane
