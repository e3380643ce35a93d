#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// An L section that matches a high resistance R1 down to a lower RL at one
// frequency: a shunt capacitor across R1 and a series inductor towards RL.
// Reactances in ohms, C in farads, L in henries.
struct LNetworkDesign {
    double q = 0;  // sqrt(R1 / RL - 1)
    double xc = 0; // shunt capacitor, R1 / Q
    double xl = 0; // series inductor, Q * RL
    double c = 0;
    double l = 0;
};

// The design at frequency f for R1 > RL > 0. Nothing is checked: other
// inputs give values that are not finite, which the window refuses to show.
LNetworkDesign designLNetwork(double f, double r1, double rl);

// "L--Network Design Calculator": R1 typed or taken as the amplifier's
// voltage over its current; lists F, R1, C, L, Q and RL.
const Calculator& lNetwork();

// The designed section with a test current and RL, checked at F.
std::optional<Netlist> lNetworkNetlist(const Form& form);

} // namespace ferrovane
