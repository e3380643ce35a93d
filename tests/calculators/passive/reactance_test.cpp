#include "calculators/passive/reactance.h"

#include <array>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "numeric/eng_text.h"
#include "shell/example_files.h"
#include "shell/help_texts.h"
#include "shell/window_cycle.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace ferrovane {
namespace {

using testing::ScriptedDialogs;
using testing::TempDir;

// F, w, L, C, XL, XC in the window's order.
using Six = std::array<std::string, 6>;
const std::array<const char*, 6> kBoxes = {"TxtFreq", "TxtAngFreq", "TxtInd",
                                           "TxtCap",  "TxtIndRct",  "TxtCapRct"};

const char* const kZero = " 0.000     ";

class ReactanceTest : public ::testing::Test {
protected:
    ReactanceTest() {
        RestoreExamples(dir);
        form = Form_Load(calc, env);
    }

    bool calculate(const Six& typed) {
        for (std::size_t i = 0; i < kBoxes.size(); ++i)
            editBox(calc, form, env, kBoxes[i], typed[i]);
        return CmdCalc_Click(calc, form, env);
    }

    Six shown() const {
        Six s;
        for (std::size_t i = 0; i < kBoxes.size(); ++i)
            s[i] = form.text(kBoxes[i]);
        return s;
    }

    const Calculator& calc = reactance();
    TempDir tmp;
    DataDir dir{tmp.path()};
    ScriptedDialogs dialogs;
    CalcEnv env{dialogs, dir};
    Form form;
};

std::string eng(double x) {
    return FormatEng(x);
}

TEST_F(ReactanceTest, ExampleFindsResonatingCapacitorAt455kHz) {
    EXPECT_EQ(shown(), (Six{"455e3", "0", "2.5e-3", "0", "0", "0"}));
    EXPECT_EQ(form.text("CmdLoadData"), "Load Example");

    ASSERT_TRUE(CmdCalc_Click(calc, form, env));
    EXPECT_EQ(shown(), (Six{" 455.0e+3  ", " 2.859e+6  ", " 2.500e-3  ", " 48.94e-12 ",
                            " 7.147e+3  ", " 7.147e+3  "}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ReactanceTest, OmegaIsUsedWhenFrequencyIsZero) {
    ASSERT_TRUE(calculate({"0", "1000", "1", "0", "0", "0"}));
    // 1000 / 2 pi = 159.15 Hz; XL = wL = 1000; C = 1 / (w XC) = 1 uF.
    EXPECT_EQ(shown(), (Six{" 159.2     ", " 1.000e+3  ", " 1.000     ", " 1.000e-6  ",
                            " 1.000e+3  ", " 1.000e+3  "}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ReactanceTest, GivenFrequencyOverridesGivenOmega) {
    ASSERT_TRUE(calculate({"1000", "5", "1e-3", "0", "0", "0"}));
    // w = 2 pi 1000 = 6283.2; XL = 6.2832; C = 1 / (w^2 L) = 25.330 uF.
    EXPECT_EQ(shown(), (Six{" 1.000e+3  ", " 6.283e+3  ", " 1.000e-3  ", " 25.33e-6  ",
                            " 6.283     ", " 6.283     "}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ReactanceTest, AllZerosAndAllGivenAreRefusedWithAWarning) {
    ASSERT_TRUE(calculate({"0", "", "0", "abc", "0.0", ""}));
    EXPECT_EQ(shown(), (Six{kZero, kZero, kZero, kZero, kZero, kZero}));

    // Omega counts only through F, so five given quantities are everything.
    ASSERT_TRUE(calculate({"0", "1e6", "1", "1", "1", "1"}));
    EXPECT_EQ(shown(), (Six{eng(1e6 / (2 * Pi)), " 1.000e+6  ", " 1.000     ", " 1.000     ",
                            " 1.000     ", " 1.000     "}));

    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text, "Enter some data, it's all zeros.");
    EXPECT_EQ(dialogs.shown[1].text, "Too much data, enter some zeros.");
    for (const auto& m : dialogs.shown) {
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
        EXPECT_EQ(m.title, kAppTitle);
    }
}

// L = 1 H and C = 1 uF. XL = 1000 + d puts L with XL at 1000 + d rad/s, XC =
// 1000 puts C with XC at 1000 rad/s; the geometric mean of the two is used
// when they differ by less than 0.2 % of it.
TEST_F(ReactanceTest, FourGivenQuantitiesMustNameOneFrequency) {
    struct Case {
        const char* xl;
        double w1;
        bool accepted;
    };
    const Case cases[] = {
        {"1001", 1001, true},          // 0.1 %
        {"1002.001", 1002.001, true},  // 2.001 / 1001 = 0.19990 %
        {"1002.003", 1002.003, false}, // 2.003 / 1001.001 = 0.20010 %
        {"1003", 1003, false},         // 0.3 %
        {"997", 997, false},           // below as well as above
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xl);
        dialogs.shown.clear();
        ASSERT_TRUE(calculate({"0", "0", "1", "1e-6", c.xl, "1000"}));
        if (c.accepted) {
            const double w = std::sqrt(c.w1 * 1000);
            EXPECT_EQ(shown(), (Six{eng(w / (2 * Pi)), eng(w), " 1.000     ", " 1.000e-6  ",
                                    eng(w * 1), eng(1 / (w * 1e-6))}));
            EXPECT_TRUE(dialogs.shown.empty());
        } else {
            EXPECT_EQ(shown(),
                      (Six{kZero, kZero, " 1.000     ", " 1.000e-6  ", eng(c.w1), " 1.000e+3  "}));
            ASSERT_EQ(dialogs.shown.size(), 1u);
            EXPECT_EQ(dialogs.shown[0].text, "C with Xc and L with XL are for different "
                                             "frequencies.  Enter consistant data or zeros.");
            EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::None);
        }
    }
}

// Every combination of given quantities. Two circuits of L = 2.5 mH and
// C = 100 pF supply the values: at resonance (w = 1/sqrt(LC) = 2e6 rad/s,
// XL = XC = 5000) wherever one reactance is taken for the other, and at
// w = 1e6 rad/s (XL = 2500, XC = 10000) where both reactances or F, L and C
// are given. Quantities not given are typed as zero, empty, negative or text.
TEST_F(ReactanceTest, EverySelectorWritesItsUnknownsAndLeavesTheRest) {
    const double l = 2.5e-3;
    const double c = 100e-12;
    const double wr = 1 / std::sqrt(l * c);
    const double wo = 1e6;
    // Expected texts: the resonant circuit, the other one, and input as shown.
    const std::string fr = eng(wr / (2 * Pi)), wR = eng(wr), xr = eng(wr * l);
    const std::string xcr = eng(1 / (wr * c));
    const std::string fo = eng(wo / (2 * Pi)), wO = eng(wo), xlo = eng(wo * l),
                      xco = eng(1 / (wo * c));
    const std::string lt = eng(l), ct = eng(c);
    ASSERT_EQ(xr, " 5.000e+3  ");
    ASSERT_EQ(xcr, xr);
    ASSERT_EQ(xlo, " 2.500e+3  ");
    ASSERT_EQ(xco, " 10.00e+3  ");

    const std::string fTyped = "318309.886183791"; // 2e6 / 2 pi
    struct Case {
        int selector;
        Six typed;
        Six expected;
        std::string message; // a warning with the exclamation icon, or none
    };
    const std::string notEnough = "I can't make enything out of that.  Enter more data.";
    const Case cases[] = {
        {0,
         {"", "-5", "-2", "abc", "0", "-1e-20"},
         {kZero, "-5.000     ", "-2.000     ", kZero, kZero, "-0.000     "},
         "Enter some data, it's all zeros."},
        {1, {"0", "0", "0", "0", "0", "5000"}, {kZero, kZero, kZero, kZero, kZero, xr}, notEnough},
        {2,
         {"0", "0", "0", "-1", "5000", "0"},
         {kZero, kZero, kZero, "-1.000     ", xr, kZero},
         notEnough},
        {3,
         {"0", "0", "0", "0", "2500", "10000"},
         {kZero, kZero, kZero, kZero, xlo, xco},
         notEnough},
        {4,
         {"0", "0", "0", "100e-12", "0", "0"},
         {kZero, kZero, kZero, ct, kZero, kZero},
         notEnough},
        {5, {"0", "0", "0", "100e-12", "0", "5000"}, {fr, wR, lt, ct, xr, xr}, ""},
        {6,
         {"0", "0", "-1", "100e-12", "5000", "0"},
         {fr, wR, lt, ct, xr, xr},
         "I will assume Xc = XL."},
        {7, {"0", "0", "0", "100e-12", "2500", "10000"}, {fo, wO, lt, ct, xlo, xco}, ""},
        {8,
         {"-5", "1e6", "2.5e-3", "0", "0", "0"},
         {"-5.000     ", " 1.000e+6  ", lt, kZero, kZero, kZero},
         "Inductance alone is not enough data.  Enter an XL or a frequency."},
        {9,
         {"0", "0", "2.5e-3", "0", "", "5000"},
         {fr, wR, lt, ct, xr, xr},
         "I will assume XL = Xc."},
        {10, {"0", "0", "2.5e-3", "0", "5000", "0"}, {fr, wR, lt, ct, xr, xr}, ""},
        {11, {"0", "0", "2.5e-3", "-7", "2500", "10000"}, {fo, wO, lt, ct, xlo, xco}, ""},
        {12, {"0", "-3", "2.5e-3", "100e-12", "0", "0"}, {fr, wR, lt, ct, xr, xcr}, ""},
        {13, {"0", "0", "2.5e-3", "100e-12", "0", "10000"}, {fo, wO, lt, ct, xlo, xco}, ""},
        {14, {"0", "0", "2.5e-3", "100e-12", "2500", "0"}, {fo, wO, lt, ct, xlo, xco}, ""},
        {15, {"0", "0", "2.5e-3", "100e-12", "5000", "5000"}, {fr, wR, lt, ct, xr, xcr}, ""},
        {16,
         {"0", "2e6", "0", "0", "0", "x"},
         {fr, wR, kZero, kZero, kZero, kZero},
         "Frequency alone is not enough.  Enter more data."},
        {17, {"0", "2e6", "0", "0", "0", "5000"}, {fr, wR, lt, ct, xr, xr}, ""},
        {18, {fTyped, "0", "0", "0", "5000", "0"}, {fr, wR, lt, ct, xr, xr}, ""},
        {19, {"0", "1e6", "0", "0", "2500", "10000"}, {fo, wO, lt, ct, xlo, xco}, ""},
        {20, {"0", "2e6", "-1", "100e-12", "0", "0"}, {fr, wR, lt, ct, xr, xr}, ""},
        {21, {"0", "2e6", "0", "100e-12", "0", "1"}, {fr, wR, lt, ct, xr, xr}, ""},
        {22, {fTyped, "0", "0", "100e-12", "7", "0"}, {fr, wR, lt, ct, xr, xr}, ""},
        {23, {fTyped, "1", "0", "100e-12", "7", "1"}, {fr, wR, lt, ct, xr, xr}, ""},
        {24, {"0", "2e6", "2.5e-3", "-1", "0", "0"}, {fr, wR, lt, ct, xr, xr}, ""},
        {25, {"0", "2e6", "2.5e-3", "0", "0", "3"}, {fr, wR, lt, ct, xr, xr}, ""},
        {26, {fTyped, "0", "2.5e-3", "0", "3", "0"}, {fr, wR, lt, ct, xr, xr}, ""},
        {27, {fTyped, "0", "2.5e-3", "0", "3", "4"}, {fr, wR, lt, ct, xr, xr}, ""},
        {28, {"0", "1e6", "2.5e-3", "100e-12", "0", "0"}, {fo, wO, lt, ct, xlo, xco}, ""},
        {29,
         {"0", "1e6", "2.5e-3", "100e-12", "0", "1234"},
         {fo, wO, lt, ct, xlo, " 1.234e+3  "},
         ""},
        {30,
         {"0", "1e6", "2.5e-3", "100e-12", "4321", "0"},
         {fo, wO, lt, ct, " 4.321e+3  ", xco},
         ""},
        {31,
         {fTyped, "0", "2.5e-3", "100e-12", "5000", "5000"},
         {fr, wR, lt, ct, xr, xr},
         "Too much data, enter some zeros."},
    };

    bool reached[32] = {};
    for (const Case& k : cases) {
        SCOPED_TRACE("selector " + std::to_string(k.selector));
        reached[k.selector] = true;
        dialogs.shown.clear();
        ASSERT_TRUE(calculate(k.typed));
        EXPECT_EQ(shown(), k.expected);
        if (k.message.empty()) {
            EXPECT_TRUE(dialogs.shown.empty());
            continue;
        }
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].text, k.message);
        EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Exclamation);
    }
    for (int s = 0; s < 32; ++s)
        EXPECT_TRUE(reached[s]) << "selector " << s << " not reached";
}

TEST_F(ReactanceTest, ReactancesAreEqualAtComputedResonance) {
    const double inductances[] = {47e-9, 3.3e-6, 2.5e-3, 0.7, 12};
    const double capacitances[] = {2.2e-12, 47e-9, 1e-6, 3.9e-3};
    for (double l : inductances)
        for (double c : capacitances) {
            SCOPED_TRACE(std::to_string(l) + " H, " + std::to_string(c) + " F");
            ASSERT_TRUE(calculate({"0", "0", eng(l), eng(c), "0", "0"}));
            EXPECT_EQ(form.text("TxtIndRct"), form.text("TxtCapRct"));
            EXPECT_EQ(form.text("TxtFreq"), eng(1 / (2 * Pi * std::sqrt(l * c))));
            EXPECT_EQ(form.text("TxtIndRct"), eng(std::sqrt(l / c)));
        }
    EXPECT_TRUE(dialogs.shown.empty());
}

// Values for which a formula overflows or divides by a zero product: the
// window keeps every text it had and one message says why.
TEST_F(ReactanceTest, FailedFormulaChangesNothing) {
    const Six cases[] = {
        {"1e300", "0", "1e300", "0", "0", "0"},           // XL = wL overflows
        {"0", "0", "0", "1e-200", "0", "1e-200"},         // C XC is zero
        {"0", "0", "0", "1e-200", "1e-200", "0"},         // the same, with its warning
        {"0", "0", "1e-300", "1e-6", "1e10", "1"},        // XL / L overflows
        {"0", "0", "1e300", "1e300", "1e-300", "1e-300"}, // XL / L underflows to zero
    };
    for (const Six& typed : cases) {
        SCOPED_TRACE(typed[0] + " " + typed[2] + " " + typed[3] + " " + typed[4]);
        for (std::size_t i = 0; i < kBoxes.size(); ++i)
            editBox(calc, form, env, kBoxes[i], typed[i]);
        const Form before = form;
        dialogs.shown.clear();
        EXPECT_FALSE(CmdCalc_Click(calc, form, env));
        EXPECT_TRUE(form == before);
        EXPECT_EQ(shown(), typed);
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(dialogs.shown[0].text.find("different frequencies"), std::string::npos);
    }
}

TEST_F(ReactanceTest, ClearEmptiesAllSixAndCloseSavesThemAsZero) {
    CmdClr_Click(calc, form, env);
    EXPECT_EQ(shown(), (Six{"", "", "", "", "", ""}));
    EXPECT_EQ(CmdClose_Click(calc, form, env), CloseOutcome::Saved);
    EXPECT_EQ(tmp.read("XlXcFLC.dat"),
              "False\r\n 0.000     \r\n 0.000     \r\n 0.000     \r\n 0.000     \r\n"
              " 0.000     \r\n 0.000     \r\n");
}

TEST_F(ReactanceTest, CloseSavesSixEngineeringFieldsAndReopens) {
    ASSERT_TRUE(CmdCalc_Click(calc, form, env));
    ASSERT_EQ(CmdClose_Click(calc, form, env), CloseOutcome::Saved);
    EXPECT_EQ(tmp.read("XlXcFLC.dat"), "False\r\n 455.0e+3  \r\n 2.859e+6  \r\n 2.500e-3  \r\n"
                                       " 48.94e-12 \r\n 7.147e+3  \r\n 7.147e+3  \r\n");

    Form reopened = Form_Load(calc, env);
    EXPECT_EQ(reopened.text("CmdLoadData"), "Load Last Run");
    const double saved[] = {455e3, 2.859e6, 2.5e-3, 48.94e-12, 7.147e3, 7.147e3};
    for (std::size_t i = 0; i < kBoxes.size(); ++i)
        EXPECT_DOUBLE_EQ(reopened.number(kBoxes[i]), saved[i]) << kBoxes[i];
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ReactanceTest, QuickHelpShowsTheSharedTexts) {
    EXPECT_EQ(form.text("CmdClr"), "Clear Data");
    EXPECT_EQ(form.text("CmdClose2"), "Close");
    EXPECT_EQ(hoverHelpText(calc, form, "CmdCalc"), CalcHelp);
    EXPECT_EQ(hoverHelpText(calc, form, "CmdClr"), ClearHelp);
    EXPECT_EQ(hoverHelpText(calc, form, "CmdClose2"), CloseHelp);
    EXPECT_EQ(hoverHelpText(calc, form, "CmdLoadData"), ExampleHelp);
    EXPECT_EQ(hoverHelpText(calc, form, "Frame2"), "");
    EXPECT_TRUE(form.has("Txt2QuickHelp"));

    ASSERT_EQ(CmdClose_Click(calc, form, env), CloseOutcome::Saved);
    const Form reopened = Form_Load(calc, env);
    EXPECT_EQ(hoverHelpText(calc, reopened, "CmdLoadData"), ReloadHelp);
}

} // namespace
} // namespace ferrovane
