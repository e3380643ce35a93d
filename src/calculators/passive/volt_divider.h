#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// The standard value voltage divider: R1 from the input to the output, R2
// from the output to ground, for a wanted attenuation with no load, a load
// current or a load resistance, listed over a range of total resistance.
const Calculator& voltDivider();

} // namespace ferrovane
