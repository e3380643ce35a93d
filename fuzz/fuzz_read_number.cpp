// ReadNumber over arbitrary bytes: it stays inside its text (the input buffer
// is exactly as long as the text), never gives nan, ignores blanks wherever
// they stand, and stops at a character that cannot continue a number.
#include "numeric/eng_text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using ferrovane::ReadNumber;

namespace {

bool same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = ReadNumber(text);
    if (std::isnan(value) || std::signbit(value) != (value < 0)) {
        std::abort();
    }
    if (size > 4096) {
        return 0; // the copies below are for short texts
    }
    // "x" can never continue a number.
    const std::string longer = std::string(text) + "x";
    if (!same(ReadNumber(longer), value)) {
        std::abort();
    }
    // Blanks between all characters are skipped.
    std::string spread;
    for (char c : text) {
        spread += c;
        spread += ' ';
    }
    if (!same(ReadNumber(spread), value)) {
        std::abort();
    }
    // A finite value reads back from its own plain text.
    if (std::isfinite(value)) {
        const double back = ReadNumber(ferrovane::PlainNumber(value));
        if (std::fabs(back - value) > 5.2e-15 * std::fabs(value) + 5e-324) {
            std::abort();
        }
    }
    return 0;
}
