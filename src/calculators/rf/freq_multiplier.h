#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "shell/calculator.h"

namespace ferrovane {

// Frequency multiplier: every whole multiplying factor that brings a crystal
// of the given range to the output frequency, the crystal for it and the
// factor's prime factors (the stages of the chain).
const Calculator& freqMultiplier();

namespace freqmult {

// The first 183 primes, 2 to 1093.
const std::vector<int>& primeTable();

// n's prime factors from the table with their counts, ascending, and what is
// left when no prime of the table divides it any more (1 when fully factored).
struct Factors {
    std::vector<std::pair<int, int>> primes; // prime, count
    std::int64_t rest = 1;
};
Factors factor(std::int64_t n);

} // namespace freqmult
} // namespace ferrovane
