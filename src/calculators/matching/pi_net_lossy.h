#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// A built pi matching network whose coil has a series loss resistance, solved
// as three loop equations: the loop currents, the input impedance in series
// and parallel form, the loaded Q, the voltage transfer ratio and the ratio
// a lossless network would give. It starts from the pi-network design.
const Calculator& piNetLossy();

} // namespace ferrovane
