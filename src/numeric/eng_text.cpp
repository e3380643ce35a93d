#include "numeric/eng_text.h"

#include "numeric/numeric_fault.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <system_error>

#ifdef __clang__
// Every formula here is evaluated step by step as written; a fused multiply-add
// would round differently from the texts users know.
#pragma STDC FP_CONTRACT OFF
#endif

namespace ferrovane {

const char* const kEngOutOfRange = "+*.***E\u00B1* ";

namespace {

constexpr const char* kEngZero = " 0.000     ";

// Plain number text switches to exponent form outside 1e-5 <= |x| < 1e15,
// judged on the value after rounding to 15 significant digits, so every
// ordinary quantity (ohms, volts, hertz, microfarads) reads without an exponent.
constexpr int kPlainLowestExponent = -5;
constexpr int kPlainHighestExponent = 14;

bool isIgnoredInNumber(char c) {
    // Blanks, tabs and line feeds are skipped anywhere; a carriage return is
    // skipped as well so that a pasted CR LF behaves like a line feed.
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// 10^0 to 10^22, every one exactly representable as a double.
constexpr std::array<double, 23> kExactPowers = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

double tenToThe(int k) {
    return std::pow(10.0, static_cast<double>(k));
}

// Powers of ten 10^k and sub-range bounds B(k) = 9.9995 * 10^k for k from -16
// to 15, worked out once in the same way as the formulas state them.
struct EngTables {
    static constexpr int kLowest = -16;
    std::array<double, 32> power{};
    std::array<double, 32> bound{};
    EngTables() {
        for (int k = kLowest; k < kLowest + 32; ++k) {
            power[static_cast<std::size_t>(k - kLowest)] = tenToThe(k);
            bound[static_cast<std::size_t>(k - kLowest)] = 9.9995 * tenToThe(k);
        }
    }
};

const EngTables& engTables() {
    static const EngTables tables;
    return tables;
}

double tenTo(int k) {
    return engTables().power[static_cast<std::size_t>(k - EngTables::kLowest)];
}

double bound(int k) {
    return engTables().bound[static_cast<std::size_t>(k - EngTables::kLowest)];
}

const char* exponentField(int e) {
    switch (e) {
    case -15:
        return "e-15 ";
    case -12:
        return "e-12 ";
    case -9:
        return "e-9  ";
    case -6:
        return "e-6  ";
    case -3:
        return "e-3  ";
    case 0:
        return "     ";
    case 3:
        return "e+3  ";
    case 6:
        return "e+6  ";
    case 9:
        return "e+9  ";
    default:
        return "e+12 ";
    }
}

// The mantissa m (1 <= m < 1000) with a leading blank, padded to four
// significant digits, followed by the exponent field of group e.
std::string mantissaText(double m, int e) {
    std::string s = PlainNumber(m, LeadingBlank::Yes);
    const std::size_t len = s.size();
    if (m >= 1 && m <= 9.9995) {
        if (len == 2) {
            s += ".000";
        } else if (len == 4) {
            s += "00";
        } else if (len == 5) {
            s += "0";
        }
    } else if (m >= 9.9995 && m <= 99.995) {
        if (len == 3) {
            s += ".00";
        } else if (len == 5) {
            s += "0";
        }
    } else if (m >= 99.995 && m <= 1000 && len == 4) {
        s += ".0";
    }
    return s + exponentField(e);
}

// The formatting step for a magnitude x > 9.9995e-16 (sign handled by the caller).
std::string engMagnitude(double x) {
    for (int e = -15; e <= 12; e += 3) {
        const double scale = tenTo(-e);
        if (x <= bound(e)) {
            return mantissaText(std::floor(x * scale * 1000 + 0.5) / 1000, e);
        }
        if (e == 12) {
            break;
        }
        if (x <= bound(e + 1)) {
            return mantissaText(std::floor(x * scale * 100 + 0.5) / 100, e);
        }
        if (x <= bound(e + 2)) {
            const double m = std::floor(x * scale * 10 + 0.5) / 10;
            // One double just below the top of this sub-range rounds up to
            // 1000, which has no room in the five mantissa characters; the
            // same value is shown as 1.000 in the next group.
            if (m >= 1000) {
                return mantissaText(1, e + 3);
            }
            return mantissaText(m, e);
        }
    }
    return kEngOutOfRange;
}

// The digits of |x| rounded to 15 significant digits (the conversion rounds
// the exact binary value once), without trailing zeros, and the decimal
// exponent of the first digit.
struct Decimal {
    std::array<char, 15> digits{};
    int count = 0;
    int exponent = 0;
};

Decimal roundTo15Digits(double ax) {
    // "d.dddddddddddddde+XXX"
    std::array<char, 32> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), ax, std::chars_format::scientific, 14);
    Decimal d;
    d.digits[0] = buf[0];
    for (std::size_t i = 1; i < 15; ++i) {
        d.digits[i] = buf[i + 1];
    }
    d.count = 15;
    // Rounded up, the largest doubles would give a text beyond the largest
    // double, which reads back as infinity; those few keep the digits cut
    // short instead, still within one unit of the fifteenth digit.
    constexpr std::string_view kAboveLargest = "179769313486232";
    const bool top = buf[17] == '+' && res.ptr - buf.data() == 21 && buf[18] == '3' &&
                     buf[19] == '0' && buf[20] == '8';
    if (top && std::string_view(d.digits.data(), 15) >= kAboveLargest) {
        constexpr std::string_view kLargest = "179769313486231";
        kLargest.copy(d.digits.data(), 15);
    }
    while (d.count > 1 && d.digits[static_cast<std::size_t>(d.count - 1)] == '0') {
        --d.count;
    }
    const char* e = buf.data() + 17; // after the 'e'
    const bool negativeExponent = *e == '-';
    ++e;
    int exponent = 0;
    for (; e < res.ptr; ++e) {
        exponent = exponent * 10 + (*e - '0');
    }
    d.exponent = negativeExponent ? -exponent : exponent;
    return d;
}

} // namespace

std::string PlainNumber(double x, LeadingBlank blank) {
    if (!std::isfinite(x)) {
        throw NumericFault("a value is not a finite number");
    }
    // At most: sign, 15 digits, a point and 19 zeros, or the exponent form.
    std::array<char, 48> out{};
    std::size_t n = 0;
    const auto put = [&out, &n](char c) { out[n++] = c; };
    if (x < 0) {
        put('-');
    } else if (blank == LeadingBlank::Yes) {
        put(' ');
    }
    if (x == 0) {
        put('0');
        return std::string(out.data(), n);
    }
    const Decimal d = roundTo15Digits(std::fabs(x));
    const auto digit = [&d](int i) { return d.digits[static_cast<std::size_t>(i)]; };
    if (d.exponent < kPlainLowestExponent || d.exponent > kPlainHighestExponent) {
        put(digit(0));
        if (d.count > 1) {
            put('.');
            for (int i = 1; i < d.count; ++i) {
                put(digit(i));
            }
        }
        put('E');
        put(d.exponent < 0 ? '-' : '+');
        const int ae = std::abs(d.exponent);
        if (ae >= 100) {
            put(static_cast<char>('0' + ae / 100));
        }
        put(static_cast<char>('0' + ae / 10 % 10));
        put(static_cast<char>('0' + ae % 10));
    } else if (d.exponent < 0) {
        // Below one: no digit before the point (".5", ".0025").
        put('.');
        for (int i = -1; i > d.exponent; --i) {
            put('0');
        }
        for (int i = 0; i < d.count; ++i) {
            put(digit(i));
        }
    } else {
        for (int i = 0; i <= d.exponent; ++i) {
            put(i < d.count ? digit(i) : '0');
        }
        if (d.count > d.exponent + 1) {
            put('.');
            for (int i = d.exponent + 1; i < d.count; ++i) {
                put(digit(i));
            }
        }
    }
    return std::string(out.data(), n);
}

namespace {

// A walk along a number's text that passes over what the reading ignores
// (blanks and the like) after every character it takes.
struct NumberText {
    std::string_view text;
    std::size_t i = 0;

    bool at(char c) const { return i < text.size() && text[i] == c; }
    bool atDigit() const { return i < text.size() && isDigit(text[i]); }
    char current() const { return text[i]; }
    void skipIgnored() {
        while (i < text.size() && isIgnoredInNumber(text[i])) {
            ++i;
        }
    }
    // Takes the current character and what is ignored after it.
    void advance() {
        ++i;
        skipIgnored();
    }
    // A sign where there is one, taken: true for a minus.
    bool takeSign() {
        const bool minus = at('-');
        if (minus || at('+')) {
            advance();
        }
        return minus;
    }
};

// The significant digits, gathered without leading zeros and written as
// ".ddd" for an exponent to follow. More digits than a double can need are
// represented by one final "1", which rounds the same way.
struct Mantissa {
    static constexpr std::size_t kMaxDigits = 800;
    std::array<char, kMaxDigits + 32> num; // written before it is read
    std::size_t digits = 0;
    std::size_t lastNonZero = 0; // number of digits up to the last non-zero one
    bool dropped = false;
    bool anyDigit = false;
    long long integerDigits = 0;
    long long zerosAfterPoint = 0;

    Mantissa() { num[0] = '.'; }
    void take(char c) {
        if (digits < kMaxDigits) {
            num[1 + digits++] = c;
            if (c != '0') {
                lastNonZero = digits;
            }
        } else if (c != '0') {
            dropped = true;
        }
    }
};

// The digits before the point and after it.
void readDigits(NumberText& t, Mantissa& m) {
    while (t.atDigit()) {
        m.anyDigit = true;
        if (m.digits > 0 || t.current() != '0') {
            m.take(t.current());
            ++m.integerDigits;
        }
        t.advance();
    }
    if (!t.at('.')) {
        return;
    }
    t.advance();
    while (t.atDigit()) {
        m.anyDigit = true;
        if (m.digits > 0 || t.current() != '0') {
            m.take(t.current());
        } else {
            ++m.zerosAfterPoint;
        }
        t.advance();
    }
}

// An exponent after "e" or "E", 0 when there is none. It counts only when
// digits follow it; *end then moves past them.
long long readExponent(NumberText& t, std::size_t* end) {
    if (!t.at('e') && !t.at('E')) {
        return 0;
    }
    t.advance();
    const bool negative = t.takeSign();
    constexpr long long kExponentCap = 1000000000000000LL;
    long long exponent = 0;
    while (t.atDigit()) {
        if (exponent < kExponentCap) {
            exponent = exponent * 10 + (t.current() - '0');
        }
        t.advance();
        *end = t.i;
    }
    return negative ? -exponent : exponent;
}

// The magnitude of the digits times ten to the exponent. Too large a
// magnitude reads as infinity (the calculation using it then stops at its
// first non-finite result), too small as zero.
double magnitudeOf(Mantissa& m, long long exponent) {
    if (m.lastNonZero == 0) {
        return 0;
    }
    std::size_t len = 1 + m.lastNonZero;
    if (m.dropped) {
        m.num[len++] = '1';
    }
    const long long first =
        exponent + (m.integerDigits > 0 ? m.integerDigits - 1 : -(m.zerosAfterPoint + 1));
    // Up to 15 digits and a moderate exponent: the digits and the power of
    // ten are both exact doubles, so one multiplication or division rounds
    // correctly, exactly as from_chars would.
    const long long scale = first + 1 - static_cast<long long>(m.lastNonZero);
    if (m.lastNonZero <= 15 && scale >= -22 && scale <= 22) {
        std::uint64_t whole = 0;
        for (std::size_t k = 1; k <= m.lastNonZero; ++k) {
            whole = whole * 10 + static_cast<std::uint64_t>(m.num[k] - '0');
        }
        const double w = static_cast<double>(whole);
        return scale >= 0 ? w * kExactPowers[static_cast<std::size_t>(scale)]
                          : w / kExactPowers[static_cast<std::size_t>(-scale)];
    }
    if (first > 400 || first < -400) {
        return first > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    m.num[len++] = 'e';
    const auto written = std::to_chars(m.num.data() + len, m.num.data() + m.num.size(), first + 1);
    // from_chars always takes the point as the decimal separator.
    double value = 0;
    const auto [ptr, ec] = std::from_chars(m.num.data(), written.ptr, value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        value = first < 0 ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return value;
}

// The lenient reading; *end is set to where the number (with the blanks
// after it) ends, 0 when the text has no leading number.
double readLeadingNumber(std::string_view text, std::size_t* end) {
    *end = 0;
    NumberText t{text};
    t.skipIgnored();
    const bool negative = t.takeSign();
    Mantissa m;
    readDigits(t, m);
    if (!m.anyDigit) {
        return 0;
    }
    *end = t.i;
    const double magnitude = magnitudeOf(m, readExponent(t, end));
    // A negative zero reads as plain zero.
    return (negative ? -magnitude : magnitude) + 0.0;
}

} // namespace

double ReadNumber(std::string_view text) {
    std::size_t end = 0;
    return readLeadingNumber(text, &end);
}

namespace {

// Text without the blanks and line ends the reading skips at either end.
std::string_view trimIgnored(std::string_view rest) {
    while (!rest.empty() && isIgnoredInNumber(rest.back()))
        rest.remove_suffix(1);
    while (!rest.empty() && isIgnoredInNumber(rest.front()))
        rest.remove_prefix(1);
    return rest;
}

bool endsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

} // namespace

bool hasLeadingNumber(std::string_view text) {
    std::size_t end = 0;
    readLeadingNumber(text, &end);
    return end > 0;
}

std::string readingHintText(double value, std::string_view ignored) {
    const std::string shown = std::isfinite(value)
                                  ? PlainNumber(value)
                                  : std::string(value < 0 ? "-infinity" : "infinity");
    return "Read as " + shown + ": the rest (\"" + std::string(ignored) + "\") is ignored.";
}

std::optional<std::string> ReadingHint(std::string_view text) {
    std::size_t end = 0;
    const double value = readLeadingNumber(text, &end);
    const std::string_view rest = trimIgnored(text.substr(end));
    if (rest.empty())
        return std::nullopt;
    return readingHintText(value, rest);
}

SuffixedOhms readSuffixedOhms(std::string_view text) {
    const std::string trimmed = TrimBlanks(text);
    std::string_view t = trimmed;
    std::size_t end = 0;
    double ohms = readLeadingNumber(t, &end);
    std::size_t suffix = 0;
    if (endsWith(t, "k")) {
        ohms *= 1000;
        suffix = 1;
    } else if (endsWith(t, "Meg") || endsWith(t, "M")) {
        ohms *= 1000000;
        suffix = endsWith(t, "Meg") ? 3 : 1;
    }
    // The suffix follows the number: a number never ends in "k", "M" or "g".
    if (end > 0)
        t = t.substr(end, t.size() - std::min(t.size(), end + suffix));
    return {ohms, std::string(trimIgnored(t))};
}

std::string FormatEng(double value) {
    double x = value;
    bool negative = false;
    if (x < 0) {
        x = -x;
        negative = true;
    }
    if (x == 0) {
        return kEngZero;
    }
    std::string result;
    if (std::isnan(x)) {
        result = kEngOutOfRange;
    } else if (x <= 9.9995e-16) {
        result = kEngZero;
    } else {
        result = engMagnitude(x);
    }
    if (negative) {
        result[0] = '-';
    }
    return result;
}

std::string engFieldText(double value) {
    std::string eng = FormatEng(value);
    // The sign position differs; the rest of the out-of-range text is fixed.
    if (std::string_view(eng).substr(1) != std::string_view(kEngOutOfRange).substr(1) ||
        std::isnan(value)) {
        return eng;
    }
    if (std::isinf(value)) {
        return value < 0 ? "-1E+999" : " 1E+999";
    }
    return PlainNumber(value, LeadingBlank::Yes);
}

EngParts FormatEng(std::string_view complexText) {
    const std::size_t j = complexText.find_last_of("jJ");
    if (j == std::string_view::npos) {
        throw NumericFault("a complex value has no \"j\"");
    }
    // With p the 1-based position of the "j", the real part is read from the
    // first p - 3 characters (before " + j") and the imaginary part after it.
    const std::size_t p = j + 1;
    const std::size_t realLength = p >= 3 ? p - 3 : 0;
    return {FormatEng(ReadNumber(complexText.substr(0, realLength))),
            FormatEng(ReadNumber(complexText.substr(p)))};
}

std::string TrimBlanks(std::string_view s) {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = s.find_last_not_of(' ');
    return std::string(s.substr(first, last - first + 1));
}

} // namespace ferrovane
