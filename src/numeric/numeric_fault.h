#pragma once

#include <stdexcept>
#include <string>

namespace ferrovane {

// A calculation met a value it cannot go on with: a zero divisor, an overflow,
// a result that is not finite, or complex text that cannot be read. The
// window cycle catches it, discards the half-done calculation and says what
// could not be calculated.
class NumericFault : public std::runtime_error {
public:
    explicit NumericFault(const std::string& what) : std::runtime_error(what) {}
};

} // namespace ferrovane
