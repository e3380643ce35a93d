#include "calculators/rf/freq_multiplier.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>

#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

const Texts kBoxes = {"TxtFo", "TxtF1", "TxtF2"};
const std::string kDashes = "-------------------------------------";

// The list for each factor: its number, the crystal and its prime factors.
struct Entry {
    int factor;
    const char* crystal;
    Texts primes; // "5 occurs 2"
};
Texts entries(const std::vector<Entry>& list) {
    Texts t{kDashes};
    for (const auto& e : list) {
        t.push_back("  Multiplying factor = " + std::to_string(e.factor));
        t.push_back("   Crystal Frequency = " + std::string(e.crystal));
        for (const auto& p : e.primes)
            t.push_back("      The Factor " + p + " time(s)");
        t.push_back(kDashes);
    }
    return t;
}

TEST(FreqMultiplier, ExampleListsTheFactors25To29) {
    TestWindow w(freqMultiplier(), "CmdCalc");
    EXPECT_EQ(w.list(), entries({{25, "5851200", {"5 occurs 2"}},
                                 {26, "5626154", {"2 occurs 1", "13 occurs 1"}},
                                 {27, "5417778", {"3 occurs 3"}},
                                 {28, "5224286", {"2 occurs 2", "7 occurs 1"}},
                                 {29, "5044138", {"29 occurs 1"}}}));
    EXPECT_EQ(w.close(), (Texts{"False", " 146.3e+6  ", " 5.000e+6  ", " 6.000e+6  "}));
}

TEST(FreqMultiplier, RangeEndsAndMessages) {
    // Fo = 2 F2 is still a multiplier: 12 MHz from 6 MHz and from 4 MHz.
    TestWindow w(freqMultiplier(), "TxtFo=12e6 TxtF1=4e6 TxtF2=6e6 CmdCalc");
    EXPECT_EQ(w.list(), entries({{2, "6000000", {"2 occurs 1"}}, {3, "4000000", {"3 occurs 1"}}}));
    const std::pair<std::string, std::string> refused[] = {
        {"12e6 6e6 6e6", "In Range of Crystal Frequencies\r\n'From must be less than 'To'."},
        {"12e6 4e6 6.001e6", "To have meaning as a frequency multiplyer the\r\noutput frequency "
                             "must be 2 or more times \r\nhigher than the highest crystal "
                             "frequency."},
        {"12e6 0 5e6", "The lowest crystal frequency ('From') must be greater than zero."},
        {"1e9 1e4 2e4", "This range of crystal frequencies gives more than 10,000 multiplying "
                        "factors.\r\nNarrow the range or raise the lowest crystal frequency."},
    };
    for (const auto& [typed, message] : refused) {
        SCOPED_TRACE(typed);
        w.dialogs.shown.clear();
        w.type(kBoxes, typed);
        const Form before = w.form;
        w.press("CmdCalc");
        EXPECT_EQ(w.dialogs.texts(), Texts{message});
        EXPECT_TRUE(w.form == before);
    }
    // Just under the cap: 9,999 factors, 101 to 10,099.
    w.dialogs.shown.clear();
    w.apply("TxtFo=1009900 TxtF1=100 TxtF2=10000 CmdCalc");
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.list().at(1), "  Multiplying factor = 101");
}

// 403 = 13 x 31 and 1513 = 17 x 89, which rounding in a floating-point
// division used to miss; 2194 = 2 x 1097 leaves a prime beyond the table.
TEST(FreqMultiplier, FactorsExactly) {
    TestWindow w(freqMultiplier(), "TxtFo=4030 TxtF1=10 TxtF2=10.0001 CmdCalc");
    EXPECT_EQ(w.list(), entries({{403, "10", {"13 occurs 1", "31 occurs 1"}}}));
    w.apply("TxtFo=15130 CmdCalc");
    EXPECT_EQ(w.list().at(3), "      The Factor 17 occurs 1 time(s)");
    EXPECT_EQ(w.list().at(4), "      The Factor 89 occurs 1 time(s)");
    w.apply("TxtFo=21940 TxtF2=10.001 CmdCalc");
    EXPECT_EQ(w.list().at(3), "      The Factor 2 occurs 1 time(s)");
    EXPECT_EQ(w.list().at(4), "      The rest, 1097, has no prime factor up to 1093");
}

// The primes up to 1093 by a sieve; random products of them (some times a
// prime beyond the table) factor back into exactly those primes.
TEST(FreqMultiplier, RandomProductsOfPrimesFactorBack) {
    std::vector<int> primes;
    for (int n = 2; n <= 1093; ++n)
        if (std::all_of(primes.begin(), primes.end(), [n](int p) { return n % p != 0; }))
            primes.push_back(n);
    EXPECT_EQ(freqmult::primeTable(), primes);
    std::mt19937 rng(3);
    std::uniform_int_distribution<std::size_t> pick(0, primes.size() - 1);
    for (int i = 0; i < 1000; ++i) {
        std::map<int, int> chosen;
        std::int64_t n = 1;
        for (int k = 1 + i % 4; k > 0; --k) {
            const int p = primes[pick(rng)];
            ++chosen[p];
            n *= p;
        }
        const std::int64_t rest = i % 3 == 0 ? 1097 : 1; // the first prime beyond the table
        const auto f = freqmult::factor(n * rest);
        EXPECT_EQ(f.primes, (std::vector<std::pair<int, int>>(chosen.begin(), chosen.end())))
            << n * rest;
        EXPECT_EQ(f.rest, rest) << n * rest;
    }
}

} // namespace
} // namespace ferrovane::testing
