#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// Constant-voltage transistor bias design: standard 5% values for the base
// divider, emitter and collector resistors of a stage, its real operating
// point and every dissipation. A finished design is saved in "CVBOutPut.dat".
const Calculator& biasDesign();

} // namespace ferrovane
