#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ferrovane {

// Complex values travel as text: real number text, " + j", imaginary number
// text, each number in plain number text with a leading blank when not
// negative: " 3 + j-4", "-2.5 + j 0".
//
// Numeric faults (a zero divisor, an overflow, text in which no blank follows
// the first character) throw NumericFault.

// The two empty results.
inline constexpr std::string_view kCplxEmpty = "0 + j 0"; // an operand missing
inline constexpr std::string_view kCplxZero = " 0 + j 0"; // 0 / 0

struct Complex {
    double re = 0;
    double im = 0;
};

// Reads a complex value text by the blank-after-the-real-part rule: the
// first blank from the second character on ends the real part, and the
// imaginary part starts three characters after it (after "+ j"). Throws
// NumericFault when there is no such blank or a part is beyond the range of
// a double.
Complex ReadComplex(std::string_view text);
// Writes re and im as a complex value text; throws NumericFault for a value
// that is not finite.
std::string ComplexText(double re, double im);

std::string CplxAdd(std::string_view a, std::string_view b);
std::string CplxSub(std::string_view a, std::string_view b);
std::string CplxMul(std::string_view a, std::string_view b);
std::string CplxDiv(std::string_view a, std::string_view b);

// Magnitude and angle (radians, -pi to pi). An empty text gives no result,
// so the caller's values stay as they were.
struct Polar {
    double magnitude = 0;
    double angle = 0;
};
std::optional<Polar> CplxToPolar(std::string_view s);

// The parallel equivalent of a series impedance Rs + j Xs at f hertz: the
// text "Rp + j Xp " (with a trailing blank) and the capacitance whose
// reactance at f is Xp (negative for an inductive Xp).
struct ParallelEquivalent {
    std::string parallel;
    double capacitance = 0;
};
ParallelEquivalent SeriesToParallel(double f, std::string_view s);

} // namespace ferrovane
