#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// Power transformer analysis: currents, powers and copper losses of a
// primary and up to six secondaries, the loss per unit of surface and the
// operating temperature it leads to. A secondary left without a current gets
// the current at which its copper loss reaches the winding's percent limit.
const Calculator& powerTransformer();

} // namespace ferrovane
