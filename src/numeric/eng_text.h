#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ferrovane {

// Engineering text: 11 characters, sign position, four significant digits and
// an exponent field that is a multiple of three (" 4.700e+3  ").
// Magnitudes at or below 9.9995e-16 give the zero text (" 0.000     ", with
// "-" for a negative value); above 9.9995e12, infinities and nan give the
// out-of-range text "+*.***E±* " ("-" first for a negative value), never
// "nan" or "inf"; callers that must not show it check first. A mantissa that
// would round to 1000.0 (one double below the top of a ddd.d sub-range, such
// as 0.99995) is shown as 1.000 of the next group, keeping the 11 characters.
std::string FormatEng(double value);

// The complex mode: engineering texts of the real and imaginary parts of a
// complex value text " R + j X" (the parts around the last "j" or "J").
// Throws NumericFault for a text without "j" or "J".
struct EngParts {
    std::string real;
    std::string imag;
};
EngParts FormatEng(std::string_view complexText);

// The text shown when a magnitude is above 9.9995e12 (or not finite).
extern const char* const kEngOutOfRange;

// The text a box's number is saved as in a data file: its engineering text,
// byte for byte, wherever that shows the value. The out-of-range text would
// read back as 0, so a finite value beyond 9.9995e12 is saved as its plain
// number text with a leading blank instead (" 10000000000000", "-1E+20"),
// which reads back to the value within 15 significant digits (exactly for a
// value typed with 15 digits or fewer) and is saved the same way again; an
// infinite one as " 1E+999" or "-1E+999", which reads back as infinite. Only
// nan keeps the out-of-range text.
std::string engFieldText(double value);

// Resistance text with three significant digits and " k" or " M": "4.70 k".
// Meant for r >= 0 (a negative r loses its sign); throws NumericFault for a
// value that is not finite.
std::string FormatOhms(double r);

// The nearest 5% (E24) standard value and its text: 4800 -> 4700, "4.7 k".
// 0 gives 0 and the empty text; throws NumericFault for a value that is not
// finite.
struct StandardValue {
    double value = 0;
    std::string text;
};
StandardValue NearestStandardValue(double r);

// Removes leading and trailing blanks (the blank character only).
std::string TrimBlanks(std::string_view s);

// The lenient number reading of every box: blanks, tabs, line feeds and
// carriage returns are ignored wherever they stand, then sign, digits, point,
// digits and exponent are taken as far as they go (an "e" without digits is
// not part of the number); text without a leading number reads as 0. The
// point is the decimal separator in every locale. The result is the nearest
// double: a magnitude beyond the range of a double reads as +/-infinity (the
// calculation using it ends in a NumericFault), one too small as 0; a
// negative zero reads as 0. Any bytes are accepted; nothing past the view is
// read.
double ReadNumber(std::string_view text);

// Whether the lenient reading finds a number at the start of the text (past
// the blanks it skips): "4.7k" holds one, "abc", "k" and "" do not.
bool hasLeadingNumber(std::string_view text);

// What the lenient reading leaves out of a box's text, as a hint for the
// user: 'Read as 4.7: the rest ("k") is ignored.' for "4.7k"; nothing for an
// empty box, blanks or a plain number.
std::optional<std::string> ReadingHint(std::string_view text);

// The sentence of a reading hint: 'Read as 4.7: the rest ("k") is ignored.'
// for the value read and what the reading left out.
std::string readingHintText(double value, std::string_view ignored);

// A resistance typed with its multiplier, as a resistor box that snaps to a
// standard value takes it: the leading number of the text (blanks around it
// cut), times 1000 when the text ends in "k", times 1,000,000 when it ends in
// "Meg" or "M". ignored is what lies between the number and that suffix
// (the whole text when it holds no number), without the blanks the reading
// skips: "470 k" leaves nothing, "4.7 kx" leaves "kx".
struct SuffixedOhms {
    double ohms = 0;
    std::string ignored;
};
SuffixedOhms readSuffixedOhms(std::string_view text);

// Plain number text: the shortest decimal form with up to 15 significant
// digits (the value rounded to 15 digits, trailing zeros dropped), no digit
// before the point below one (".5", "-.25"), and exponent form ("1E+20",
// "1.5E-07": mantissa, "E", sign, at least two digits) when the rounded
// magnitude is below 1e-5 or at least 1e15. The text reads back with
// ReadNumber to the value within 15 significant digits (the few doubles next
// to the largest one are cut to 1.79769313486231E+308 so that they stay
// finite).
// With LeadingBlank::Yes a non-negative value gets a leading blank (" .5").
// Throws NumericFault for a value that is not finite.
enum class LeadingBlank { No, Yes };
std::string PlainNumber(double x, LeadingBlank blank = LeadingBlank::No);

} // namespace ferrovane
