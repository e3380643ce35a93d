#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// Bias change-values analysis: the operating point, dissipations and
// stability factor of a constant-voltage bias circuit with any resistors,
// starting from the last bias design.
const Calculator& changeValues();

} // namespace ferrovane
