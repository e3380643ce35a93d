#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// A built capacitive-divider matching network whose coil has a series loss
// resistance, solved as three loop equations: the loop currents, the input
// impedance in series and parallel form, the loaded Q and the voltage
// transfer ratio to the load. It starts from the capacitive divider design.
const Calculator& capDivLossy();

} // namespace ferrovane
