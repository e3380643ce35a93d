#include "numeric/complex_text.h"

#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

#include <cmath>

#ifdef __clang__
// Each product and sum is rounded on its own, as written.
#pragma STDC FP_CONTRACT OFF
#endif

namespace ferrovane {

namespace {

double checked(double x) {
    if (!std::isfinite(x)) {
        throw NumericFault("a complex value is too large (overflow)");
    }
    return x;
}

// Parts between 2^-450 and 2^450 (about 1E-135 to 1E+135) or zero: no square
// or product of two such parts leaves the normal range of a double, so the
// plain quotient of two such values loses nothing on the way.
bool between(double v, double low, double high) {
    const double a = std::fabs(v);
    return a >= low && a <= high;
}

bool moderate(const Complex& c) {
    return (c.re == 0 || between(c.re, 0x1p-450, 0x1p450)) &&
           (c.im == 0 || between(c.im, 0x1p-450, 0x1p450));
}

// x / y with both operands first scaled by powers of two so that their
// larger parts lie between 1 and 2: no square or product can overflow, and
// the scaling itself is exact. Only the final scaling back can leave the
// range, and then the quotient itself is out of range.
Complex scaledQuotient(Complex x, Complex y) {
    const int ex =
        x.re == 0 && x.im == 0 ? 0 : std::ilogb(std::fmax(std::fabs(x.re), std::fabs(x.im)));
    const int ey = std::ilogb(std::fmax(std::fabs(y.re), std::fabs(y.im)));
    x = {std::scalbn(x.re, -ex), std::scalbn(x.im, -ex)};
    y = {std::scalbn(y.re, -ey), std::scalbn(y.im, -ey)};
    const double d = y.re * y.re + y.im * y.im;
    return {std::scalbn((x.re * y.re + x.im * y.im) / d, ex - ey),
            std::scalbn((x.im * y.re - x.re * y.im) / d, ex - ey)};
}

} // namespace

Complex ReadComplex(std::string_view text) {
    // The first blank from the second character on ends the real part; the
    // second character is the earliest so that the leading blank of a
    // non-negative real part is passed over.
    const std::size_t blank = text.size() > 1 ? text.find(' ', 1) : std::string_view::npos;
    if (blank == std::string_view::npos) {
        throw NumericFault("a complex value cannot be read: \"" + std::string(text.substr(0, 40)) +
                           "\"");
    }
    // Real part: the real text, the blank and the "+"; imaginary part: what
    // follows "+ j" (nothing there reads as 0).
    const std::size_t imagStart = blank + 4;
    Complex c;
    c.re = checked(ReadNumber(text.substr(0, blank + 2)));
    c.im = checked(imagStart <= text.size() ? ReadNumber(text.substr(imagStart)) : 0.0);
    return c;
}

std::string ComplexText(double re, double im) {
    checked(re);
    checked(im);
    std::string s = PlainNumber(re, LeadingBlank::Yes);
    s += " + j";
    s += PlainNumber(im, LeadingBlank::Yes);
    return s;
}

std::string CplxAdd(std::string_view a, std::string_view b) {
    if (a.empty() || b.empty()) {
        return std::string(kCplxEmpty);
    }
    const Complex x = ReadComplex(a);
    const Complex y = ReadComplex(b);
    return ComplexText(x.re + y.re, x.im + y.im);
}

std::string CplxSub(std::string_view a, std::string_view b) {
    if (a.empty() || b.empty()) {
        return std::string(kCplxEmpty);
    }
    const Complex x = ReadComplex(a);
    const Complex y = ReadComplex(b);
    return ComplexText(x.re - y.re, x.im - y.im);
}

std::string CplxMul(std::string_view a, std::string_view b) {
    // An unfilled element (empty or a single character) counts as zero.
    if (a.size() <= 1 || b.size() <= 1) {
        return std::string(kCplxEmpty);
    }
    const Complex x = ReadComplex(a);
    const Complex y = ReadComplex(b);
    const double re = x.re * y.re - x.im * y.im;
    const double im = x.im * y.re + x.re * y.im;
    return ComplexText(re, im);
}

std::string CplxDiv(std::string_view a, std::string_view b) {
    if (a.size() <= 1 || b.size() <= 1) {
        return std::string(kCplxEmpty);
    }
    const Complex x = ReadComplex(a);
    const Complex y = ReadComplex(b);
    if (x.re == 0 && x.im == 0 && y.re == 0 && y.im == 0) {
        return std::string(kCplxZero);
    }
    if (y.re == 0 && y.im == 0) {
        throw NumericFault("division by zero");
    }
    if (moderate(x) && moderate(y)) {
        const double d = y.re * y.re + y.im * y.im;
        const double re = (x.re * y.re + x.im * y.im) / d;
        const double im = (x.im * y.re - x.re * y.im) / d;
        return ComplexText(re, im);
    }
    const Complex q = scaledQuotient(x, y);
    return ComplexText(q.re, q.im);
}

std::optional<Polar> CplxToPolar(std::string_view s) {
    if (s.empty()) {
        return std::nullopt;
    }
    const Complex c = ReadComplex(s);
    const double re = c.re;
    const double im = c.im;
    Polar p;
    // Beyond the moderate range the squares would overflow or underflow.
    p.magnitude = checked(moderate(c) ? std::sqrt(re * re + im * im) : std::hypot(re, im));
    const double quarterTurn = 2 * std::atan(1.0);
    const double halfTurn = 4 * std::atan(1.0);
    if (re == 0 && im == 0) {
        p.angle = 0;
    } else if (re == 0 && im > 0) {
        p.angle = quarterTurn;
    } else if (re == 0 && im < 0) {
        p.angle = -quarterTurn;
    } else if (re < 0 && im == 0) {
        p.angle = halfTurn;
    } else if (re != 0 && im != 0) {
        p.angle = std::atan(im / re);
        if (re < 0 && im > 0) {
            p.angle += halfTurn;
        }
        if (re < 0 && im < 0) {
            p.angle -= halfTurn;
        }
    } else {
        p.angle = 0; // re > 0 on the real axis
    }
    return p;
}

ParallelEquivalent SeriesToParallel(double f, std::string_view s) {
    // Here the parts are found around the first "j" (from the second
    // character on), not around a blank.
    const std::size_t j = s.size() > 1 ? s.find_first_of("jJ", 1) : std::string_view::npos;
    if (j == std::string_view::npos) {
        throw NumericFault("a series impedance has no \"j\"");
    }
    const double rs = checked(ReadNumber(s.substr(0, j)));
    const double xs = checked(ReadNumber(s.substr(j + 1)));
    if (rs == 0 || xs == 0 || f == 0) {
        throw NumericFault("division by zero");
    }
    if (!std::isfinite(f)) {
        throw NumericFault("a frequency is not a finite number");
    }
    // Conductance and susceptance of the series pair taken one element at a
    // time, then inverted as the parallel pair with the same impedance. In
    // the range of 2^-300 to 2^300 (about 1E-90 to 1E+90) no intermediate
    // can leave the normal range of a double.
    double rp;
    double xp;
    if (between(rs, 0x1p-300, 0x1p300) && between(xs, 0x1p-300, 0x1p300)) {
        const double g = 1 / rs;
        const double b = 1 / xs;
        rp = 1 / (b * b * g / (g * g + b * b));
        xp = 1 / (g * g * b / (g * g + b * b));
    } else {
        // Far from ordinary magnitudes the squares and the product of three
        // would leave the range of a double; both terms have the sign of the
        // result, so nothing cancels.
        rp = rs + xs * (xs / rs);
        xp = xs + rs * (rs / xs);
    }
    ParallelEquivalent result;
    result.parallel = ComplexText(rp, xp) + " ";
    result.capacitance = checked(-1 / (8 * std::atan(1.0) * f * xp));
    return result;
}

} // namespace ferrovane
