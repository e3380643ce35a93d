#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// Negative feedback: open-loop gain, closed-loop gain and feedback fraction
// (given or from the resistors of an amplifier), on the flat part of the
// open-loop response or on a slope, and the gain errors they relate.
const Calculator& feedback();

} // namespace ferrovane
