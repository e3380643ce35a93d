#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// Collector current versus beta: the last bias design's collector current
// over half to twice its current gain, drawn when the window opens.
const Calculator& betaPlot();

} // namespace ferrovane
