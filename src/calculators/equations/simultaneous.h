#pragma once

#include "shell/calculator.h"

namespace ferrovane {

// Up to six complex loop equations solved by Cramer's rule, entered in one of
// three ways: the coefficient matrix and constants, a ladder of branch
// impedances, or a ladder of series R-L-C branches at one frequency. Lists
// every loop current, the input impedance and, for the ladders, the voltage
// transfer ratio into the load.
const Calculator& simultaneousEquations();

} // namespace ferrovane
