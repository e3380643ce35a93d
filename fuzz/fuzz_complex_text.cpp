// The complex value text routines over arbitrary text. A NumericFault is an
// allowed outcome; a crash, another exception, or a result text that holds
// "nan" or "inf" or cannot be read back is a finding.
#include "numeric/complex_text.h"
#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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
    allowFault([&] {
        if (const auto p = CplxToPolar(a)) {
            if (!std::isfinite(p->magnitude) || !std::isfinite(p->angle) || p->magnitude < 0 ||
                std::fabs(p->angle) > 3.14159266) {
                std::abort();
            }
        }
    });
    for (const double freq : {1000.0, f}) {
        allowFault([&] {
            const ParallelEquivalent p = SeriesToParallel(freq, rest);
            checkText(p.parallel);
            if (p.parallel.empty() || p.parallel.back() != ' ' || !std::isfinite(p.capacitance)) {
                std::abort();
            }
            checkResult(p.parallel);
        });
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
