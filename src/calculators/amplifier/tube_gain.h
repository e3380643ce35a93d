#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// Small-signal gain of a resistance-coupled triode or pentode stage, with
// the cathode resistor bypassed or not.
const Calculator& tubeGain();

} // namespace ferrovane
