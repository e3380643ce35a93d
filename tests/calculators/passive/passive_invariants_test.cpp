#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "calculators/passive/reactance.h"
#include "calculators/passive/rlc_q.h"
#include "calculators/passive/volt_divider.h"
#include "calculators/passive/wavelength.h"
#include "numeric/eng_text.h"
#include "numeric/constants.h"
#include "support/test_window.h"

// The worked examples, messages and every combination of given quantities
// are in the scenario files; here random circuits are given by a few of their
// quantities, and whatever a window works out must be the circuit's own.

namespace ferrovane::testing {
namespace {

std::string text(const char* format, double x) {
    char out[32];
    std::snprintf(out, sizeof out, format, x);
    return out;
}

std::string exact(double x) {
    return text("%.17g", x);
}

// A series circuit resonant at f with reactances x and loss r, as a window
// should find it, in the order of the window's boxes.
struct Circuit {
    double f, w, l, c, x, r;
};

Circuit randomCircuit(std::mt19937& rng) {
    std::uniform_real_distribution<double> decades(0, 1);
    const double f = std::pow(10.0, 3 + 5 * decades(rng)), w = 2 * Pi * f;
    const double x = std::pow(10.0, 5 * decades(rng)), r = x * std::pow(10.0, -2.5 * decades(rng));
    return {f, w, x / w, 1 / (w * x), x, r};
}

// Types the given quantities (the others as 0), calculates without a
// message, and compares every box with the circuit to display precision.
void expectCircuit(TestWindow& w, const Texts& boxes, const std::vector<double>& values,
                   const std::string& given) {
    for (std::size_t i = 0; i < boxes.size(); ++i)
        w.type({boxes[i]}, given[i] == '1' ? exact(values[i]) : "0");
    w.calculate();
    EXPECT_TRUE(w.dialogs.shown.empty()) << given;
    w.dialogs.shown.clear();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        EXPECT_NEAR(ReadNumber(w.form.text(boxes[i])) / values[i], 1, 1e-3)
            << boxes[i] << " given " << given << " f " << values[0];
}

TEST(PassiveInvariants, ReactanceWindowFindsTheCircuitFromAnyTwoQuantitiesThatFixIt) {
    std::mt19937 rng(1);
    TestWindow w(reactance());
    const Texts boxes = words("TxtFreq TxtAngFreq TxtInd TxtCap TxtIndRct TxtCapRct");
    for (int i = 0; i < 40; ++i) {
        const Circuit c = randomCircuit(rng);
        // F w L C XL XC: every set that fixes the circuit without a warning.
        for (const char* given : {"000101", "000111", "001010", "001011", "001100", "001101",
                                  "001110", "001111", "100001", "100010", "100011", "100100",
                                  "101000", "011000", "101100", "101101", "101110"})
            expectCircuit(w, boxes, {c.f, c.w, c.l, c.c, c.x, c.x}, given);
    }
}

TEST(PassiveInvariants, RlcWindowFindsTheCircuitFromEverySufficientSet) {
    std::mt19937 rng(2);
    TestWindow w(rlcQ());
    const Texts boxes = words("TxtC TxtL TxtF TxtR TxtQ TxtBW");
    for (int i = 0; i < 40; ++i) {
        const Circuit c = randomCircuit(rng);
        const double q = c.x / c.r;
        // C L F R Q BW: L or C with F and one of R, Q, BW; L and C with one of them.
        for (const char* given : {"011001", "011010", "011100", "011111", "101001", "110001",
                                  "110010", "110100", "111001", "111111"})
            expectCircuit(w, boxes, {c.c, c.l, c.f, c.r, q, c.f / q}, given);
    }
}

// Length from frequency and back again, in metres and hertz.
TEST(PassiveInvariants, WavelengthLengthAndFrequencyAreOneEquation) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> unit(0.05, 1);
    TestWindow w(wavelength(), "OpCy OpMeters");
    for (int i = 0; i < 100; ++i) {
        const double f = std::pow(10.0, 5 + 4 * unit(rng)), fraction = unit(rng),
                     factor = unit(rng);
        w.apply("TxtFraction=" + exact(fraction) + " TxtFactor=" + exact(factor) +
                " TxtFeet=0 TxtFreq=" + exact(f) + " CmdCalc");
        const double length = fraction * factor * 3e8 / f;
        EXPECT_NEAR(ReadNumber(w.form.text("TxtFeet")) / length, 1, 5e-4) << f;
        w.apply("TxtFeet=" + exact(length) + " TxtFreq=0 CmdCalc");
        EXPECT_NEAR(ReadNumber(w.form.text("TxtFreq")) / f, 1, 5e-4) << f;
    }
    EXPECT_TRUE(w.dialogs.shown.empty());
}

// Without standard values R2 matches R1 exactly, unloaded or into a load far
// above the divider, so every line gives the wanted Ar without error.
TEST(PassiveInvariants, DividerWithoutStandardValuesMeetsEveryRatio) {
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> ratio(0.01, 0.99);
    for (int i = 0; i < 40; ++i) {
        const double ar = ratio(rng);
        const std::string arText = text("%g", std::floor(1000 * ar + .5) / 1000).substr(1);
        TestWindow w(voltDivider(), "OpAr -Check1 TxtAr=" + exact(ar) +
                                        (i % 2 ? " OpNoLoad" : " OpRLoad TxtIL=1e12") +
                                        " TxtRtMin=1000 TxtRtMax=1e6 CmdCalc");
        ASSERT_FALSE(w.list("LstOutput").empty()) << ar;
        for (const auto& line : w.list("LstOutput"))
            EXPECT_EQ(line.substr(14, 14), (" " + arText + "       ").substr(0, 7) + " 0     ")
                << ar << " " << line;
    }
}

} // namespace
} // namespace ferrovane::testing
