#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// Frequency, angular frequency, inductance, capacitance and the two
// reactances: from whichever of them are given, Calculate fills in the rest
// by XL = wL, XC = 1/(wC) and resonance w = 1/sqrt(LC).
const Calculator& reactance();

} // namespace ferrovane
