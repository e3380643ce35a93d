#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <map>
#include <random>
#include <tuple>

#include "calculators/rf/freq_multiplier.h"
#include "calculators/rf/tracking.h"
#include "calculators/rf/vswr_meter.h"
#include "numeric/eng_text.h"
#include "support/recording_printer.h"
#include "support/test_window.h"

// What data cannot say about the RF calculators: designs recomputed by other
// means, random inputs, factoring checked by multiplication and where the
// printed tracking table stands on the sheet. Their worked examples, messages
// and files are in tests/scenarios/tracking.scn, freq-multiplier.scn and
// vswr.scn.

namespace ferrovane::testing {
namespace {

using namespace tracking;

constexpr double kPi = 3.14159265358979323846;

// The coil that tunes to f with capacitance c, and the frequency c tunes l to.
const auto coilFor = [](double f, double c) { return 1 / (std::pow(2 * kPi * f, 2) * c); };
const auto resonance = [](double c, double l) { return 1 / (2 * kPi * std::sqrt(l * c)); };

// For random bands, capacitors and coils between their limits, both designed
// circuits (recomputed here from their parts) sit on both band ends, and the
// table starts at the band's bottom with no error and ends at its top.
TEST(Tracking, RandomDesignsHitBothBandEnds) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0, 1);
    int designs = 0, tables = 0;
    TestWindow w(receiverTracking());
    for (int i = 0; i < 200; ++i) {
        const double fLo = 100e3 + 20e6 * u(rng), ratio = 1.05 + 1.5 * u(rng);
        const double fHi = fLo * ratio, fIf = fLo * (0.05 + u(rng)),
                     cMin = (5 + 40 * u(rng)) * 1e-12;
        const double cMax = cMin * ratio * ratio * (1.2 + 5 * u(rng));
        auto coil = [&](double lo, double hi) { // between the least and the largest
            return coilFor(lo, cMax) *
                   std::pow(coilFor(hi, cMin) / coilFor(lo, cMax), 0.1 + 0.8 * u(rng));
        };
        const double l = coil(fLo, fHi), lo = coil(fLo + fIf, fHi + fIf);
        const auto mode = static_cast<Mode>(1 + i % 2);
        SCOPED_TRACE(i);
        for (auto [coilL, lower, upper] : {std::tuple{l, fLo, fHi}, {lo, fLo + fIf, fHi + fIf}}) {
            const auto r = designStage(mode, coilL, lower, upper, cMin, cMax);
            if (!r.stage)
                continue; // reported with a message
            const double p = r.stage->padder, t = r.stage->trimmer;
            auto ce = [&](double c) {
                return mode == PadderTrimmer1 ? (c + t) * p / (c + t + p) : c * p / (c + p) + t;
            };
            EXPECT_NEAR(resonance(ce(cMax), coilL) / lower, 1, 1e-5);
            EXPECT_NEAR(resonance(ce(cMin), coilL) / upper, 1, 1e-5);
            ++designs;
        }
        w.dialogs.shown.clear();
        w.select(mode == PadderTrimmer1 ? "OpCandC1" : "OpCandC2");
        std::string typed;
        for (double v : {fLo / 1e3, fHi / 1e3, cMax * 1e12, cMin * 1e12, fIf / 1e3, l * 1e6,
                         lo * 1e6, (fHi - fLo) / 7e3})
            typed += PlainNumber(v) + " ";
        w.type({"TxtFLo", "TxtFHi", "TxtCapMax", "TxtCapMin", "TxtIF", "TxtLRF", "TxtLOsc",
                "TxtTrkInc"},
               typed);
        w.press("CmdCalc");
        if (!w.dialogs.shown.empty())
            continue;
        const Texts& rows = w.list("LstTracking");
        EXPECT_EQ(ReadNumber(rows.front().substr(22, 11)), 0); // the offset column
        EXPECT_NEAR(ReadNumber(rows.back().substr(0, 11)), fHi, fHi * 1e-3);
        ++tables;
    }
    EXPECT_GT(designs, 350);
    EXPECT_GT(tables, 150);
}

// The example's stages settle in six passes; a coil exactly at its lower
// limit makes the starting padder's divisor zero, and the iterations say
// they cannot settle instead of looping.
TEST(Tracking, PadderIterations) {
    EXPECT_EQ(designStage(PadderTrimmer2, 17e-6, 3.5e6, 4e6, 30e-12, 360e-12).stage->passes, 6);
    for (Mode mode : {PadderTrimmer1, PadderTrimmer2}) {
        const auto r = designStage(mode, coilFor(1e6, 360e-12), 1e6, 1.1e6, 30e-12, 360e-12);
        EXPECT_FALSE(r.stage);
        EXPECT_EQ(r.failure, Failure::NotSettled);
    }
}

// A table of 501 rows runs over several pages: every line is printed once,
// in order, in Courier New 12 from 500 twips in, one line (272 twips) below
// the other from 1500 down on each page, and none below the edge of the
// sheet. The shorter of the usual sheets is Letter, 11 inches (A4 is 11.7).
// Coil and Trimmer prints its four component lines, the header and the
// table; a run that ends with a message prints nothing.
TEST(Tracking, PrintedTableKeepsEveryRowOnTheSheet) {
    constexpr double kSheetHeight = 11 * 1440, kTop = 1500, kLine = 272;
    RecordingPrinter printer;
    TestWindow w(receiverTracking());
    w.env.printer = &printer;
    w.apply("TxtTrkInc=1 CmdCalc CmdPrint");
    ASSERT_EQ(printer.jobs.size(), 1u);
    const PrintJob& job = printer.jobs[0];
    // The coils, the components and the header, then every row of the table.
    const Texts printed = job.texts(), &rows = w.list("LstTracking");
    ASSERT_EQ(rows.size(), 501u);
    ASSERT_EQ(printed.size(), 7 + rows.size());
    EXPECT_TRUE(std::equal(rows.begin(), rows.end(), printed.begin() + 7));
    EXPECT_GT(job.pages.size(), 8u);
    for (std::size_t p = 0; p < job.pages.size(); ++p) {
        const auto& lines = job.pages[p].lines;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE(lines[i].text);
            const double skip = p == 0 && i >= 6 ? 1 : 0; // the empty line before the header
            EXPECT_EQ(std::tie(lines[i].x, lines[i].y, lines[i].font),
                      std::make_tuple(500.0, kTop + kLine * (i + skip), Font{12, false, true}));
            EXPECT_LE(lines[i].y + kLine, kSheetHeight);
        }
    }
    w.apply("OpLandC CmdPrint"); // no coil lines of the boxes: the coils are computed
    EXPECT_EQ(printer.jobs.at(1).texts().size(), 4u + 1 + 501);
    w.apply("TxtFLo=0 CmdPrint");
    EXPECT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(w.dialogs.texts(), Texts{"Zero values ar not allowed."});
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

// Just under the cap on factors: 1,009,900 Hz from 100 Hz to 10 kHz is
// 9,999 factors, from 1,009,900 / 10,000 = 100.99 rounded up.
TEST(FreqMultiplier, LongestListStartsAtTheFirstWholeFactor) {
    TestWindow w(freqMultiplier(), "TxtFo=1009900 TxtF1=100 TxtF2=10000 CmdCalc");
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.list().at(1), "  Multiplying factor = 101");
    EXPECT_EQ(w.list().at(w.list().size() - 4), "  Multiplying factor = 10099");
}

// For random loads the VSWR agrees with (1 + |G|) / (1 - |G|), G = (Z - Zo)
// / (Z + Zo) in complex doubles, and is at least 1.
TEST(VswrMeter, RandomLoadsAgreeWithTheReflectionCoefficient) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> r(0.5, 2000), x(-2000, 2000), zo(10, 600);
    TestWindow w(vswrMeter());
    for (int i = 0; i < 300; ++i) {
        const std::complex<double> z(r(rng), x(rng));
        const double line = zo(rng);
        w.type({"TxtData(0)", "TxtData(1)", "TxtData(2)", "TxtData(3)"},
               PlainNumber(z.real()) + " " + PlainNumber(z.imag()) + " 1e6 " + PlainNumber(line));
        w.press("CmdCalc");
        const double g = std::abs((z - line) / (z + line));
        const double vswr = ReadNumber(w.list().at(3).substr(7));
        EXPECT_GE(vswr, 1);
        EXPECT_NEAR(vswr, (1 + g) / (1 - g), (1 + g) / (1 - g) * 1e-3) << z << " on " << line;
    }
    EXPECT_TRUE(w.dialogs.shown.empty());
}

} // namespace
} // namespace ferrovane::testing
