#pragma once

#include <optional>
#include <string>

#include "shell/calculator.h"

namespace ferrovane {

// Small-signal gain of a resistance-coupled triode or pentode stage, with
// the cathode resistor bypassed or not.
const Calculator& tubeGain();

namespace tube {

// The grid resistor of the next stage from the drop-down text ("470 k",
// "1 Meg"); 0 for "Select".
double gridResistor(const std::string& text);

// The stage's gain: mu Rl / (rp + Rl) with the cathode bypassed, mu Rl /
// ((mu + 1) Rk + rp + Rl) without, where Rl is Rb in parallel with Rcf.
// Throws NumericFault where a denominator is 0 or the gain is not finite.
double stageGain(double mu, double rp, double rb, double rcf, double rk, bool bypassed);

// The stage as Calculate takes it from the form: the tube's mu (a pentode's
// from its gm and rp) and plate resistance, the standard resistors, the
// options, and the gain. Nothing when a value or an option is missing.
struct Stage {
    double mu = 0, rp = 0, rb = 0, rk = 0, rcf = 0;
    bool triode = true, bypassed = true;
    double gain = 0;
};
std::optional<Stage> stageOf(const Form& form);

} // namespace tube

// The stage at mid-band with the tube as a transconductance.
std::optional<Netlist> tubeGainNetlist(const Form& form);

} // namespace ferrovane
