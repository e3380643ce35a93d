#pragma once

#include <optional>

#include "shell/calculator.h"

namespace ferrovane {

// The supply, gain and resistors the boxes hold (ohms; Rc 0 for an emitter
// follower).
struct CvbInputs {
    double vcc, beta, r1, r2, rc, re;
};
CvbInputs cvbInputs(const Form& form);

// The operating point those values give (amperes, volts) and the power in
// each part (watts); `pFollower` is the transistor's with Rc = 0.
struct CvbPoint {
    double vbb = 0, rb = 0, re = 0, ic = 0, ve = 0, vc = 0;
    double pR1 = 0, pR2 = 0, pRe = 0, pRc = 0, pQ = 0, pFollower = 0;
};
// Throws NumericFault for values that divide by zero.
CvbPoint cvbPoint(const CvbInputs& in);

// Bias change-values analysis: the operating point, dissipations and
// stability factor of a constant-voltage bias circuit with any resistors,
// starting from the last bias design.
const Calculator& changeValues();

// The stage as the boxes give it, with the transistor as the analysis
// models it, checked at its operating point.
std::optional<Netlist> changeValuesNetlist(const Form& form);

} // namespace ferrovane
