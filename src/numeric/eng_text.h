#pragma once

#include <string>
#include <string_view>

namespace ferrovane {

// Engineering text: 11 characters, sign position, four significant digits and
// an exponent field that is a multiple of three (" 4.700e+3  ").
// Values that are not finite give the out-of-range text "+*.***E±* "
// (never "nan" or "inf"); callers that must not show it check first.
std::string FormatEng(double value);

// The complex mode: engineering texts of the real and imaginary parts of a
// complex value text " R + j X" (the parts around the last "j" or "J").
struct EngParts {
    std::string real;
    std::string imag;
};
EngParts FormatEng(std::string_view complexText);

// The text shown when a magnitude is above 9.9995e12 (or not finite).
extern const char* const kEngOutOfRange;

// Resistance text with three significant digits and " k" or " M": "4.70 k".
std::string FormatOhms(double r);

// The nearest 5% (E24) standard value and its text: 4800 -> 4700, "4.7 k".
struct StandardValue {
    double value = 0;
    std::string text;
};
StandardValue NearestStandardValue(double r);

// Removes leading and trailing blanks (the blank character only).
std::string TrimBlanks(std::string_view s);

// The lenient number reading of every box: blanks, tabs and line feeds are
// ignored, then sign, digits, point, digits and exponent are taken as far as
// they go; text without a leading number reads as 0. The point is the
// decimal separator in every locale.
double ReadNumber(std::string_view text);

// Plain number text: the shortest decimal form with up to 15 significant
// digits, no digit before the point below one (".5", "-.25"), exponent form
// ("1E+20", "1.5E-07") for very large and very small magnitudes.
// With LeadingBlank::Yes a non-negative value gets a leading blank (" .5").
// Throws NumericFault for a value that is not finite.
enum class LeadingBlank { No, Yes };
std::string PlainNumber(double x, LeadingBlank blank = LeadingBlank::No);

} // namespace ferrovane
