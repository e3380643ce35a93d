#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// VSWR and RX meter: a load given as R + jX, or as the parallel Rp and Cp
// readings of an R-X meter bridge, as a series impedance in rectangular and
// polar form, and its VSWR on a line of impedance Zo.
const Calculator& vswrMeter();

} // namespace ferrovane
