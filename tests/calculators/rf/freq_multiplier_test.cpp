#include "calculators/rf/freq_multiplier.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "support/test_window.h"

namespace ferrovane {
namespace {

using testing::TestWindow;
using testing::Texts;

const Texts kBoxes = {"TxtFo", "TxtF1", "TxtF2"};
const std::string kDashes = "-------------------------------------";

TEST(FreqMultiplier, ExampleListsTheFactors25To29) {
    TestWindow w(freqMultiplier(), "CmdCalc");
    EXPECT_EQ(w.list(), (Texts{kDashes,
                               "  Multiplying factor = 25",
                               "   Crystal Frequency = 5851200",
                               "      The Factor 5 occurs 2 time(s)",
                               kDashes,
                               "  Multiplying factor = 26",
                               "   Crystal Frequency = 5626154",
                               "      The Factor 2 occurs 1 time(s)",
                               "      The Factor 13 occurs 1 time(s)",
                               kDashes,
                               "  Multiplying factor = 27",
                               "   Crystal Frequency = 5417778",
                               "      The Factor 3 occurs 3 time(s)",
                               kDashes,
                               "  Multiplying factor = 28",
                               "   Crystal Frequency = 5224286",
                               "      The Factor 2 occurs 2 time(s)",
                               "      The Factor 7 occurs 1 time(s)",
                               kDashes,
                               "  Multiplying factor = 29",
                               "   Crystal Frequency = 5044138",
                               "      The Factor 29 occurs 1 time(s)",
                               kDashes}));
}

TEST(FreqMultiplier, RangeEndsAndMessages) {
    TestWindow w(freqMultiplier(), "TxtFo=12e6 TxtF1=4e6 TxtF2=6e6 CmdCalc");
    EXPECT_EQ(
        w.list(),
        (Texts{kDashes, "  Multiplying factor = 2", "   Crystal Frequency = 6000000",
               "      The Factor 2 occurs 1 time(s)", kDashes, "  Multiplying factor = 3",
               "   Crystal Frequency = 4000000", "      The Factor 3 occurs 1 time(s)", kDashes}));
    const std::string reversed = "In Range of Crystal Frequencies\r\n'From must be less than 'To'.";
    const std::string notMult = "To have meaning as a frequency multiplyer the\r\noutput frequency "
                                "must be 2 or more times \r\nhigher than the highest crystal "
                                "frequency.";
    const std::pair<std::string, std::string> refused[] = {
        {"12e6 6e6 6e6", reversed},
        {"12e6 7e6 6e6", reversed},
        {"12e6 4e6 6.001e6", notMult},
        {"12e6 0 5e6", "The lowest crystal frequency ('From') must be greater than zero."},
        {"12e6 -1 5e6", "The lowest crystal frequency ('From') must be greater than zero."},
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
    w.type(kBoxes, "1009900 100 10000");
    w.press("CmdCalc");
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.list().at(1), "  Multiplying factor = 101");
    // Clear empties the boxes and keeps the list.
    const Texts list = w.list();
    w.clear();
    EXPECT_EQ(w.shown(kBoxes), (Texts{"", "", ""}));
    EXPECT_EQ(w.list(), list);
}

// Products of chosen primes come back as those primes, among them 403 and
// 1513, which rounding in a floating-point division used to miss.
TEST(FreqMultiplier, FactorsExactly) {
    using F = std::vector<std::pair<int, int>>;
    const struct {
        std::int64_t n;
        F primes;
        std::int64_t rest;
    } cases[] = {
        {403, {{13, 1}, {31, 1}}, 1},
        {1513, {{17, 1}, {89, 1}}, 1},
        {2 * 2 * 2 * 3 * 1093, {{2, 3}, {3, 1}, {1093, 1}}, 1},
        {1091LL * 1093 * 1093, {{1091, 1}, {1093, 2}}, 1},
        {2 * 1097, {{2, 1}}, 1097},
        {1097LL * 1103, {}, 1097LL * 1103},
    };
    for (const auto& c : cases) {
        const auto f = freqmult::factor(c.n);
        EXPECT_EQ(f.primes, c.primes) << c.n;
        EXPECT_EQ(f.rest, c.rest) << c.n;
    }
    EXPECT_EQ(freqmult::primeTable().size(), 183u);
    EXPECT_EQ(freqmult::primeTable().back(), 1093);

    TestWindow w(freqMultiplier(), "TxtFo=4030 TxtF1=10 TxtF2=10.0001 CmdCalc");
    EXPECT_EQ(w.list(), (Texts{kDashes, "  Multiplying factor = 403", "   Crystal Frequency = 10",
                               "      The Factor 13 occurs 1 time(s)",
                               "      The Factor 31 occurs 1 time(s)", kDashes}));
    w.apply("TxtFo=21940 TxtF1=10 TxtF2=10.001 CmdCalc"); // 2194 = 2 x 1097
    EXPECT_EQ(w.list().at(3), "      The Factor 2 occurs 1 time(s)");
    EXPECT_EQ(w.list().at(4), "      The rest, 1097, has no prime factor up to 1093");
}

// Random N: the listed primes multiply back to N.
TEST(FreqMultiplier, RandomFactorsMultiplyBack) {
    std::mt19937_64 rng(3);
    std::uniform_int_distribution<std::int64_t> n(2, 2000000);
    for (int i = 0; i < 2000; ++i) {
        const std::int64_t value = n(rng);
        const auto f = freqmult::factor(value);
        std::int64_t product = f.rest;
        for (auto [p, count] : f.primes)
            for (int k = 0; k < count; ++k)
                product *= p;
        EXPECT_EQ(product, value);
    }
}

TEST(FreqMultiplier, FileRoundTrip) {
    TestWindow w(freqMultiplier());
    EXPECT_EQ(w.shown(kBoxes), (Texts{"146.28e6", "5.000e6", "6.000e6"}));
    EXPECT_EQ(w.close(), (Texts{"False", " 146.3e+6  ", " 5.000e+6  ", " 6.000e+6  "}));
}

} // namespace
} // namespace ferrovane
