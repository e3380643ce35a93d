#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// Wavelength and tuned transmission line: length = fraction x factor x c / f,
// solved for the length or for the frequency.
const Calculator& wavelength();

} // namespace ferrovane
