#pragma once

#include <optional>

#include "shell/calculator.h"

namespace ferrovane {

// Series R-L-C circuit and Q: resonant frequency, bandwidth, C, L, series
// resistance and Q from whichever of them are known.
const Calculator& rlcQ();

namespace rlcq {

// The six quantities of the series circuit: F and BW in hertz, C, L, R, Q.
struct Circuit {
    double f = 0, bw = 0, c = 0, l = 0, r = 0, q = 0;
};

// The whole circuit the last completed Calculate worked out, at full
// precision, from the boxes it was given (which it leaves as typed); nothing
// before a Calculate or when a given box has been emptied since.
std::optional<Circuit> lastCircuit(const Form& form);

} // namespace rlcq

// The series circuit on a source, swept around its resonance.
std::optional<Netlist> rlcQNetlist(const Form& form);

} // namespace ferrovane
