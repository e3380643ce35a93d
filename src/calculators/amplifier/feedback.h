#pragma once

#include <optional>

#include "shell/calculator.h"

namespace ferrovane {

// Negative feedback: open-loop gain, closed-loop gain and feedback fraction
// (given or from the resistors of an amplifier), on the flat part of the
// open-loop response or on a slope, and the gain errors they relate.
const Calculator& feedback();

namespace feedbackloop {

// B of the resistors: R1 / (R1 + R2) for the noninverting amplifier, R1 / R2
// for the inverting one.
double fractionOfResistors(double r1, double r2, bool inverting);
// A' of A and B: A / (1 + AB) on the flat part, A / sqrt(1 + (AB)^2) on a
// slope.
double closedLoopGain(double a, double b, bool slope);
// B A', or its square on a slope: A' is reachable while this is below 1.
double loopOfClosedGain(double ac, double b, bool slope);
// A of A' and B.
double openLoopGain(double ac, double b, bool slope);
// B of A and A'.
double fractionOfGains(double a, double ac, bool slope);

// Which of the three Calculate Gain worked out.
enum Solved { None = 0, SolvedClosedLoop = 1, SolvedOpenLoop = 2, SolvedB = 3 };

// The gain section at full precision: the two given quantities as typed (B
// from the resistors when they give it) and the third worked out as
// Calculate Gain does. Nothing when the boxes and options give no loop.
struct Loop {
    double a = 0, ac = 0, b = 0;
    double r1 = 0, r2 = 0;
    bool byResistors = false; // B comes from R1 and R2
    bool inverting = false;
    bool slope = false;
    Solved solved = None;
};
std::optional<Loop> gainLoop(const Form& form);

} // namespace feedbackloop

// The amplifier as a controlled source with its feedback network.
std::optional<Netlist> feedbackNetlist(const Form& form);

} // namespace ferrovane
