#pragma once

#include "shell/design_file.h"

namespace ferrovane::cvb {

// The constant-voltage bias model of a transistor stage: the base divider R1
// (supply to base) and R2 (base to ground) seen as its Thevenin equivalent,
// a fixed base-emitter drop, and the emitter loop.
inline constexpr double kVbe = 0.6;

// Vbb = Vcc R2 / (R1 + R2) and Rb = R1 R2 / (R1 + R2).
double theveninVoltage(double vcc, double r1, double r2);
double theveninResistance(double r1, double r2);
// Ic = (Vbb - Vbe) B / ((B + 1) Re + Rb), in amperes.
double collectorCurrent(double vbb, double rb, double re, double beta);
// Ve = Ic Re (B + 1) / B: the emitter carries the base current as well.
double emitterVoltage(double ic, double re, double beta);

// "CVBOutPut.dat", the design the bias designer writes and the change-values
// window and the beta plot read. No flag line; the first five fields are the
// designer's boxes as engineering text, the rest numbers of the standard
// resistors and their divider.
const DesignFile& designFile();
inline constexpr const char* kVcc = "Vcc";
inline constexpr const char* kIc = "Ic"; // milliamperes, as typed
inline constexpr const char* kBeta = "B";
inline constexpr const char* kVe = "Ve";
inline constexpr const char* kS = "S";
inline constexpr const char* kRe = "Re";
inline constexpr const char* kRb = "Rb";
inline constexpr const char* kVbb = "Vbb";
inline constexpr const char* kR1 = "R1";
inline constexpr const char* kR2 = "R2";
inline constexpr const char* kRc = "Rc";

} // namespace ferrovane::cvb
