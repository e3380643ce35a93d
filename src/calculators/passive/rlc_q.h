#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// Series R-L-C circuit and Q: resonant frequency, bandwidth, C, L, series
// resistance and Q from whichever of them are known.
const Calculator& rlcQ();

} // namespace ferrovane
