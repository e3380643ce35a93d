// The complex value text routines over arbitrary text. A NumericFault is an
// allowed outcome where the exact result (or, for the products, a term of it)
// is beyond the range of a double; a crash, another exception, a result text
// that holds "nan" or "inf" or cannot be read back, or a result that differs
// from std::complex<long double> of the operands read back (within the 15
// digits of the text) is a finding. The long double's range holds every
// square and product of two doubles, so it is a reference free of overflow.
#include "numeric/complex_text.h"
#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

#include <cfloat>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

using namespace ferrovane;

namespace {

void checkText(const std::string& s) {
    for (const char* bad : {"nan", "inf", "NAN", "INF", "NaN", "Inf"}) {
        if (s.find(bad) != std::string::npos) {
            std::abort();
        }
    }
}

void checkResult(const std::string& s) {
    checkText(s);
    const Complex c = ReadComplex(s); // every result reads back
    if (!std::isfinite(c.re) || !std::isfinite(c.im)) {
        std::abort();
    }
}

template <typename F> void allowFault(F f) {
    try {
        f();
    } catch (const NumericFault&) {
    }
}

using Ref = std::complex<long double>;

std::optional<Complex> readOrNothing(std::string_view s) {
    try {
        return ReadComplex(s);
    } catch (const NumericFault&) {
        return std::nullopt;
    }
}

// Beyond what a double (and its 15-digit text) holds.
bool outOfRange(long double v) {
    return std::fabs(v) > 1.79769313486231e308L;
}

// Runs op(a, b) and compares it with the reference: within tolerance x scale
// (plus the smallest doubles' absolute error), or a fault where faultAllowed.
template <typename Op>
void compare(Op op, std::string_view a, std::string_view b, const Ref& ref, long double scale,
             bool faultAllowed) {
    std::string text;
    try {
        text = op(a, b);
    } catch (const NumericFault&) {
        if (!faultAllowed) {
            std::abort();
        }
        return;
    }
    checkText(text);
    const auto got = readOrNothing(text);
    if (!got) {
        std::abort(); // every result reads back
    }
    const long double error = std::abs(Ref(got->re, got->im) - ref);
    if (!(error <= 1e-13L * scale + 1e-300L)) {
        std::abort();
    }
}

// The four operations against the reference, when both operands can be read
// and are not of the lengths that give an empty result.
void checkArithmetic(std::string_view a, std::string_view b) {
    if (a.size() <= 1 || b.size() <= 1) {
        return;
    }
    const auto x = readOrNothing(a);
    const auto y = readOrNothing(b);
    if (!x || !y) {
        return;
    }
    const Ref rx(x->re, x->im);
    const Ref ry(y->re, y->im);
    const long double ax = std::abs(rx);
    const long double ay = std::abs(ry);
    auto beyond = [](const Ref& r) { return outOfRange(r.real()) || outOfRange(r.imag()); };

    const Ref sum = rx + ry;
    compare(CplxAdd, a, b, sum, std::abs(sum), beyond(sum));
    const Ref difference = rx - ry;
    compare(CplxSub, a, b, difference, std::abs(difference), beyond(difference));
    // The product's terms are formed one at a time and may overflow even
    // where their difference would not.
    const Ref product = rx * ry;
    compare(CplxMul, a, b, product, ax * ay, beyond(product) || outOfRange(ax * ay));
    if (ay == 0) {
        if (ax == 0 && CplxDiv(a, b) != kCplxZero) {
            std::abort();
        }
        return;
    }
    const Ref quotient = rx / ry;
    compare(CplxDiv, a, b, quotient, ax / ay, beyond(quotient));

    // The magnitude and angle of a.
    std::optional<Polar> p;
    try {
        p = CplxToPolar(a);
    } catch (const NumericFault&) {
        if (!outOfRange(ax)) {
            std::abort();
        }
        return;
    }
    if (!p || std::fabs(p->magnitude - ax) > 1e-15L * ax + 1e-322L) {
        std::abort();
    }
    // On the negative real axis the angle is pi whatever the sign of the
    // zero imaginary part, so angles are compared a whole turn apart.
    const long double angle = std::atan2(static_cast<long double>(x->im), x->re);
    const long double off = std::remainder(p->angle - angle, 8 * std::atan(1.0L));
    if (ax != 0 && std::fabs(off) > 1e-13L) {
        std::abort();
    }
}

// The parallel equivalent against Rp = (Rs^2 + Xs^2) / Rs, Xp = (Rs^2 + Xs^2) / Xs.
void checkParallel(double f, std::string_view s) {
    ParallelEquivalent p;
    try {
        p = SeriesToParallel(f, s);
    } catch (const NumericFault&) {
        return;
    }
    checkText(p.parallel);
    if (p.parallel.empty() || p.parallel.back() != ' ' || !std::isfinite(p.capacitance)) {
        std::abort();
    }
    const std::size_t j = s.find_first_of("jJ", 1);
    const long double rs = ReadNumber(s.substr(0, j));
    const long double xs = ReadNumber(s.substr(j + 1));
    const long double sq = rs * rs + xs * xs;
    // Subnormal parts carry only an absolute precision of a few of the
    // smallest doubles, so the tolerance has an absolute term as well.
    const auto got = readOrNothing(p.parallel);
    if (!got || std::fabs(got->re - sq / rs) > 1e-12L * std::fabs(sq / rs) + 1e-322L ||
        std::fabs(got->im - sq / xs) > 1e-12L * std::fabs(sq / xs) + 1e-322L) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Byte 0 splits the rest into the two operands; the last eight bytes
    // (when there are enough) also give a frequency.
    if (size == 0) {
        return 0;
    }
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t split = data[0] % (rest.size() + 1);
    const std::string_view a = rest.substr(0, split);
    const std::string_view b = rest.substr(split);
    double f = 1000;
    if (rest.size() >= sizeof(double)) {
        std::memcpy(&f, rest.data() + rest.size() - sizeof(double), sizeof f);
    }

    allowFault([&] { checkResult(CplxAdd(a, b)); });
    allowFault([&] { checkResult(CplxSub(a, b)); });
    allowFault([&] { checkResult(CplxMul(a, b)); });
    allowFault([&] { checkResult(CplxDiv(a, b)); });
    checkArithmetic(a, b);
    allowFault([&] {
        if (const auto p = CplxToPolar(a)) {
            if (!std::isfinite(p->magnitude) || !std::isfinite(p->angle) || p->magnitude < 0 ||
                std::fabs(p->angle) > 3.14159266) {
                std::abort();
            }
        }
    });
    for (const double freq : {1000.0, f}) {
        checkParallel(freq, rest);
    }
    allowFault([&] {
        const EngParts e = FormatEng(rest);
        checkText(e.real);
        checkText(e.imag);
    });
    allowFault([&] {
        const Complex c = ReadComplex(rest);
        checkResult(ComplexText(c.re, c.im));
    });
    return 0;
}
