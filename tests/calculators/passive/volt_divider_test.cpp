#include "calculators/passive/volt_divider.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <tuple>

#include "numeric/eng_text.h"
#include "support/test_window.h"

namespace ferrovane {
namespace {

using testing::Examples;
using testing::TestWindow;
using testing::Texts;

constexpr const char* kHeaderLoaded =
    " R1    R2    Ar  %Error  Rin    Ro    Current  P in R1   P in R2";

// The E24 values from 1 k to 910 k, written out here so that the expected lines
// do not depend on the calculator's own snapping.
std::vector<double> e24() {
    std::vector<double> values;
    for (double decade : {100.0, 1000.0, 10000.0})
        for (int v : {10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                      33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91})
            values.push_back(v * decade);
    return values;
}

// Nearest standard value, the lower one on a tie.
double snap(double r) {
    const auto table = e24();
    return *std::min_element(table.begin(), table.end(), [r](double a, double b) {
        return std::fabs(r - a) < std::fabs(r - b);
    });
}

std::string pad(std::string s, std::size_t column) {
    s.resize(std::max(s.size() + 1, column), ' ');
    return s;
}

std::string shortest(double x) {
    std::ostringstream s;
    s << x;
    return s.str();
}

// A list line of the example (150 V out of 400 V into a 1 M load) from the
// loaded divider's own circuit: R2 || RL must be 0.375 / 0.625 = 0.6 times R1,
// and the standard R2 in parallel with RL under R1 gives the real Ar.
std::string exampleLine(double r1) {
    const double rl = 1e6, r2 = snap(0.6 * rl * r1 / (rl - 0.6 * r1));
    const double rp = r2 * rl / (r2 + rl), ar = rp / (r1 + rp);
    const double error = std::floor(100 * (100 * (ar - .375) / .375) + .5) / 100;
    std::string line = pad(pad(shortest(r1 / 1000) + " k", 7) + shortest(r2 / 1000) + " k", 14);
    line = pad(line + " " + shortest(std::floor(1000 * ar + .5) / 1000).substr(1), 21);
    line = pad(line + (error < 0 ? "" : " ") + shortest(error), 28);
    line += "  " + FormatOhms(r1 + rp) + "  " + FormatOhms(1 / (1 / r1 + 1 / r2 + 1 / rl));
    line = pad(pad(pad(line, 42) + FormatEng(250 / r1), 49) + FormatEng(250 * 250 / r1), 56);
    return line + FormatEng(150 * 150 / r2) + " ";
}

TEST(VoltDivider, ExampleListsEveryStandardR1From6k2To620kWithCurrentAndPowers) {
    TestWindow w(voltDivider(), "CmdCalc");
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.shown({"TxtAr", "TxtdB"}), (Texts{" 375.0e-3  ", "-8.519     "}));
    // R1 from 6.2 k (nearest 6.25 k) to 620 k; the next, 680 k, is above 625 k.
    Texts expected;
    for (double r1 : e24())
        if (r1 >= 6200 && r1 <= 625e3)
            expected.push_back(exampleLine(r1));
    ASSERT_EQ(expected.size(), 49u);
    ASSERT_EQ(w.form.list("LstOutput"), expected);
    // By hand: R2 = 3.734 k -> 3.6 k, Ar' = .36651, Rin = 6.2 k + 3.587 k,
    // Ro = 2.272 k, I = 250 V / 6.2 k, P1 = 10.08 W, P2 = 150^2 / 3.6 k = 6.25 W.
    EXPECT_EQ(expected.front(), "6.2 k  3.6 k   .367  -2.26    9.79 k  2.27 k  40.32e-3    10.08  "
                                "     6.250      ");
    // R2 = 592 k -> 620 k, Ar' = 382.7 k / 1002.7 k, Ro = 620 k || 620 k || 1 M.
    EXPECT_EQ(expected.back(), "620 k  620 k   .382   1.78    1.00 M  237 k   403.2e-6    100.8e-3 "
                               "   36.29e-3   ");
}

// Without a load R2 = R1 Ar / (1 - Ar); Rt from 1 k to 2 k lists eight R1.
// With standard values R1 = 500 -> 510 and R2 = 510, so Ar' = .5 exactly;
// without them 6 dB of either sign is Ar = .50119, R1 = 498.8, R2 = 501.2.
TEST(VoltDivider, AttenuationByRatioOrByDecibelsOfEitherSign) {
    for (const char* steps : {"OpAr TxtAr=.5", "OpdB TxtdB=6 -Check1", "OpdB TxtdB=-6 -Check1"}) {
        TestWindow w(voltDivider(),
                     std::string(steps) + " OpNoLoad TxtRtMin=1000 TxtRtMax=2000 CmdCalc");
        ASSERT_EQ(w.form.list("LstOutput").size(), 8u) << steps;
        EXPECT_EQ(w.form.list("LstOutput")[0],
                  w.form.selected("OpAr") ? "510    510     .5     0       1.02 k  255    "
                                          : "499    501     .501   0       1.00 k  250    ");
    }
}

// R1 from 6.25 k growing 10% a line up to 625 k, R2 exactly 0.6 R1 RL / (RL - 0.6 R1).
TEST(VoltDivider, WithoutStandardValuesEveryErrorIsZero) {
    TestWindow w(voltDivider(), "-Check1 CmdCalc");
    const Texts& lines = w.form.list("LstOutput");
    ASSERT_EQ(lines.size(), 49u);
    for (const auto& line : lines)
        EXPECT_EQ(line.substr(14, 14), " .375   0     ") << line;
    // R2 = 3.764 k, Rin = 6.25 k + 3.75 k, Ro = 2.344 k, P2 = 150^2 / R2.
    EXPECT_EQ(lines[0], "6.25 k 3.76 k  .375   0       10.0 k  2.34 k  40.00e-3    10.00    "
                        "   5.978      ");
}

// Each case starts from the example with its list filled. Where a case has
// several faults, its message shows which check comes first.
TEST(VoltDivider, EveryStopHasItsMessageInOrderAndTheListAlwaysEnds) {
    const std::tuple<const char*, const char*, std::size_t> cases[] = {
        // Current loading selects the voltages, which Ar typed set to 0.
        {"OpAr OpILoad", "Need a value for Vin.", 0},
        {"TxtVo=abc", "Need a value for Vo.", 0},
        {"TxtVo=500 TxtRtMin=0", "Ar can't be greater than 1.", 0},
        {"OpAr TxtAr=1 TxtRtMin=0", "Ar = 1 is a trivial case.", 0},
        {"OpdB TxtdB=0", "Ar = 1 is a trivial case.", 0},
        {"OpAr TxtAr= TxtRtMin=0", "Ar must be greater than 0.", 0},
        {"TxtVo=-150", "Ar must be greater than 0.", 0},
        {"TxtRtMin= TxtRtMax=-5", "Rt min and Rt max MUST NOT be zero.", 0},
        {"TxtRtMin=-10e3", "Rt min and Rt max MUST be greater than zero.", 0},
        {"TxtRtMin=1e6 TxtIL=0", "Rt min MUST be less than Rt max.", 0},
        {"TxtIL=", "Need a value for load resistance.", 0},
        {"TxtIL=-1e6", "Load resistance MUST be greater than zero.", 0},
        // R2 || 100 k = 0.6 R1 is impossible from R1 = 166.7 k on; 6.2 k to 160 k stay.
        {"TxtIL=100e3",
         "The load resistance is too small for R1 of 180 k and above: R2 would be negative.", 35},
        // R2 carries 250 V / R1 - 10 mA, nothing from R1 = 25 k on; 6.2 k to 24 k stay.
        {"OpILoad TxtIL=.01",
         "The load current is too large for R1 of 27 k and above: R2 would be negative.", 15},
        {"OpAr OpNoLoad TxtAr=.5 TxtRtMin=1 TxtRtMax=100",
         "R1 would be less than 1 ohm, the smallest standard value.", 0},
        {"OpAr OpNoLoad TxtAr=1e-6", "R2 would be less than 1 ohm, the smallest standard value.",
         0},
        {"OpAr OpNoLoad -Check1 TxtAr=.5 TxtRtMin=1e-3 TxtRtMax=1e300",
         "The list stops at 500 lines; narrow the range of Rt.", 500},
        // 510 k to 9.1 M, then 10 M where the standard values end.
        {"OpAr OpNoLoad TxtAr=.5 TxtRtMin=1e6 TxtRtMax=1e12", "", 32},
        // The first R1, 510, is listed although it is above the limit of 505.
        {"OpAr OpNoLoad TxtAr=.5 TxtRtMin=1000 TxtRtMax=1010", "", 1},
    };
    for (const auto& [steps, message, lines] : cases) {
        SCOPED_TRACE(steps);
        TestWindow w(voltDivider(), std::string("CmdCalc ") + steps + " CmdCalc");
        EXPECT_EQ(w.dialogs.texts(), *message ? Texts{message} : Texts{});
        EXPECT_EQ(w.form.list("LstOutput").size(), lines);
        for (const Message& m : w.dialogs.shown)
            EXPECT_EQ(m.icon, MessageIcon::None);
    }
}

// With no load current R2 = R1 Vo / (Vin - Vo), as without a load.
TEST(VoltDivider, ZeroLoadCurrentIsToldOncePerPressAndActsAsNoLoad) {
    TestWindow w(voltDivider(), "OpILoad TxtIL=0 CmdCalc CmdCalc");
    EXPECT_EQ(w.dialogs.texts(), Texts(2, "FYI, Load current is zero."));
    EXPECT_EQ(w.dialogs.shown.at(0).icon, MessageIcon::Information);
    EXPECT_EQ(w.form.list("LstOutput").size(), 49u);
    EXPECT_EQ(w.form.list("LstOutput"),
              TestWindow(voltDivider(), "OpNoLoad CmdCalc").form.list("LstOutput"));
}

TEST(VoltDivider, ClearKeepsDecibelsLoadAndListCloseSavesZerosAndTheHeaderFollowsTheFile) {
    TestWindow w(voltDivider(), "CmdCalc");
    CmdClr_Click(voltDivider(), w.form, w.env);
    EXPECT_EQ(w.shown({"TxtAr", "TxtVo", "TxtVin", "TxtRtMin", "TxtRtMax"}), Texts(5, ""));
    EXPECT_EQ(w.shown({"TxtdB", "TxtIL"}), (Texts{"-8.519     ", "1.000e+6"}));
    EXPECT_EQ(w.form.list("LstOutput").size(), 49u);
    ASSERT_EQ(CmdClose_Click(voltDivider(), w.form, w.env), CloseOutcome::Saved);
    EXPECT_EQ(w.tmp.read("VoltDiv.DAT"), "False\r\n0.00\r\n-8.519     \r\n 0.000     \r\n"
                                         " 0.000     \r\n 1.000e+6  \r\n 0.000     \r\n"
                                         " 0.000     \r\n3\r\n3\r\n");
    w.open(voltDivider());
    EXPECT_EQ(w.shown({"CmdLoadData", "Text16", "TxtAr"}),
              (Texts{"Load Last Run", kHeaderLoaded, "0.00"}));
    // The header names Rin and Ro only when the file could be read.
    EXPECT_EQ(TestWindow(voltDivider(), "", Examples::None).form.text("Text16"),
              " R1    R2    Ar  %Error Current  P in R1   P in R2");
}

} // namespace
} // namespace ferrovane
