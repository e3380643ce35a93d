#include "calculators/passive/rlc_q.h"

#include <array>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "numeric/eng_text.h"
#include "shell/example_files.h"
#include "shell/window_cycle.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace ferrovane {
namespace {

using testing::ScriptedDialogs;
using testing::TempDir;

constexpr double kPi = 3.14159265358979323846;
const char* const kInsufficient = "Insufficient data, please enter more.";

// The boxes with the weight each adds to the selector when it is positive.
const std::array<std::pair<const char*, int>, 6> kBoxes = {{
    {"TxtC", 32},
    {"TxtL", 16},
    {"TxtF", 8},
    {"TxtR", 4},
    {"TxtQ", 2},
    {"TxtBW", 1},
}};

class RlcQTest : public ::testing::Test {
protected:
    RlcQTest() {
        RestoreExamples(dir);
        form = Form_Load(calc, env);
    }

    void type(const std::map<std::string, std::string>& texts) {
        for (const auto& [box, text] : texts)
            editBox(calc, form, env, box, text);
    }

    const Calculator& calc = rlcQ();
    TempDir tmp;
    DataDir dir{tmp.path()};
    ScriptedDialogs dialogs;
    CalcEnv env{dialogs, dir};
    Form form;
};

TEST_F(RlcQTest, ExampleFindsCapacitanceResistanceAndQ) {
    EXPECT_EQ(form.text("CmdLoadData"), "Load Example");
    ASSERT_TRUE(CmdCalc_Click(calc, form, env));
    EXPECT_EQ(form.text("TxtC"), " 48.94e-12 ");
    EXPECT_EQ(form.text("TxtR"), " 235.6     ");
    EXPECT_EQ(form.text("TxtQ"), " 30.33     ");
    EXPECT_EQ(form.text("TxtF"), "455e3");
    EXPECT_EQ(form.text("TxtBW"), "15.0e3");
    EXPECT_EQ(form.text("TxtL"), "2.5e-3");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RlcQTest, CapacitanceInductanceAndResistanceReplaceTypedFrequency) {
    type({{"TxtF", "1e6"},
          {"TxtBW", "0"},
          {"TxtC", "100e-12"},
          {"TxtL", "100e-6"},
          {"TxtR", "10"},
          {"TxtQ", "0"}});
    ASSERT_TRUE(CmdCalc_Click(calc, form, env));
    EXPECT_EQ(form.text("TxtF"), " 1.592e+6  ");
    EXPECT_EQ(form.text("TxtQ"), " 100.0     ");
    EXPECT_EQ(form.text("TxtBW"), " 15.92e+3  ");
    EXPECT_EQ(form.text("TxtC"), "100e-12");
    EXPECT_EQ(form.text("TxtL"), "100e-6");
    EXPECT_EQ(form.text("TxtR"), "10");
}

// A circuit whose given quantities are typed for each selector; the values
// need not agree with one another since each combination uses only some.
struct Given {
    double c = 220e-12, l = 47e-6, f = 1.7e6, r = 12, q = 35, bw = 25e3;
};

// The quantities a combination must show, from the circuit relations:
// XL = 2 pi f L = 1 / (2 pi f C) at resonance, f0 = 1 / (2 pi sqrt(LC)),
// XL = sqrt(L / C) at f0, Q = XL / R = f0 / BW.
std::map<std::string, double> expectedFor(int selector, const Given& g) {
    const bool c = selector & 32, l = selector & 16, r = selector & 4, q = selector & 2;
    if (c && l) {
        const double f0 = 1 / (2 * kPi * std::sqrt(g.l * g.c));
        const double xl = std::sqrt(g.l / g.c);
        if (r)
            return {{"TxtF", f0}, {"TxtQ", xl / g.r}, {"TxtBW", f0 / (xl / g.r)}};
        if (q)
            return {{"TxtF", f0}, {"TxtBW", f0 / g.q}, {"TxtR", xl / g.q}};
        return {{"TxtF", f0}, {"TxtQ", f0 / g.bw}, {"TxtR", xl / (f0 / g.bw)}};
    }
    if (l) {
        const double xl = 2 * kPi * g.f * g.l;
        const double cap = 1 / (2 * kPi * g.f * xl);
        if (r)
            return {{"TxtC", cap}, {"TxtQ", xl / g.r}, {"TxtBW", g.f / (xl / g.r)}};
        if (q)
            return {{"TxtC", cap}, {"TxtR", xl / g.q}, {"TxtBW", g.f / g.q}};
        return {{"TxtC", cap}, {"TxtR", xl / (g.f / g.bw)}, {"TxtQ", g.f / g.bw}};
    }
    // C, F and BW: XC = 1 / (2 pi f C) and XL = XC at resonance.
    const double xc = 1 / (2 * kPi * g.f * g.c);
    return {{"TxtL", xc / (2 * kPi * g.f)}, {"TxtQ", g.f / g.bw}, {"TxtR", xc / (g.f / g.bw)}};
}

const std::vector<int> kWorkingSelectors = {25, 26, 27, 28, 29, 30, 31, 41, 49, 57, 50,
                                            51, 58, 59, 52, 53, 54, 55, 60, 61, 62, 63};

TEST_F(RlcQTest, EveryWorkingCombinationShowsOnlyWhatItComputes) {
    const Given g;
    const std::map<std::string, std::string> typedFor = {{"TxtC", "220e-12"}, {"TxtL", "47e-6"},
                                                         {"TxtF", "1.7e6"},   {"TxtR", "12"},
                                                         {"TxtQ", "35"},      {"TxtBW", "25e3"}};
    for (int selector : kWorkingSelectors) {
        SCOPED_TRACE("selector " + std::to_string(selector));
        std::map<std::string, std::string> typed;
        for (const auto& [box, weight] : kBoxes)
            typed[box] = (selector & weight) ? typedFor.at(box) : "0";
        type(typed);
        ASSERT_TRUE(CmdCalc_Click(calc, form, env));
        const auto expected = expectedFor(selector, g);
        ASSERT_EQ(expected.size(), 3u);
        for (const auto& [box, weight] : kBoxes) {
            auto it = expected.find(box);
            if (it == expected.end())
                EXPECT_EQ(form.text(box), typed[box]) << box << " must keep the typed text";
            else
                EXPECT_EQ(form.text(box), FormatEng(it->second)) << box;
        }
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RlcQTest, EveryOtherCombinationAsksForMoreAndChangesNothing) {
    // Among them L and F alone (24), C, F and Q (42) although L could be found
    // from C and F, and L, C and F alone (56).
    const std::set<int> working(kWorkingSelectors.begin(), kWorkingSelectors.end());
    for (int selector = 0; selector < 64; ++selector) {
        if (working.count(selector))
            continue;
        SCOPED_TRACE("selector " + std::to_string(selector));
        std::map<std::string, std::string> typed;
        for (const auto& [box, weight] : kBoxes)
            typed[box] = (selector & weight) ? "2.2" : "0";
        type(typed);
        dialogs.shown.clear();
        const Form before = form;
        ASSERT_TRUE(CmdCalc_Click(calc, form, env));
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].text, kInsufficient);
        EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::None);
        EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::Ok);
        EXPECT_TRUE(form == before);
    }
}

TEST_F(RlcQTest, NegativeOrNonNumericQuantitiesCountAsNotGiven) {
    // L and F with a negative bandwidth: only L and F are given.
    type({{"TxtF", "455e3"},
          {"TxtBW", "-15e3"},
          {"TxtC", "abc"},
          {"TxtL", "2.5e-3"},
          {"TxtR", ""},
          {"TxtQ", "0"}});
    ASSERT_TRUE(CmdCalc_Click(calc, form, env));
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{kInsufficient});
    EXPECT_EQ(form.text("TxtBW"), "-15e3");
    EXPECT_EQ(form.text("TxtC"), "abc");
}

TEST_F(RlcQTest, ResultsThatAreNotFiniteChangeNothingAndSaySoOnce) {
    struct Case {
        const char* why;
        std::map<std::string, std::string> typed;
    };
    const std::vector<Case> cases = {
        // L C underflows to zero, so the resonance is infinite.
        {"LC underflows",
         {{"TxtF", "0"},
          {"TxtBW", "0"},
          {"TxtC", "1e-200"},
          {"TxtL", "1e-200"},
          {"TxtR", "1"},
          {"TxtQ", "0"}}},
        // C is shown (zero) before R overflows: the half-done result is dropped.
        {"R overflows",
         {{"TxtF", "1e200"},
          {"TxtBW", "1"},
          {"TxtC", "0"},
          {"TxtL", "1e200"},
          {"TxtR", "0"},
          {"TxtQ", "0"}}},
        // So small a frequency makes L overflow and Q underflow to zero.
        {"tiny frequency",
         {{"TxtF", "1e-300"},
          {"TxtBW", "1e300"},
          {"TxtC", "1e-6"},
          {"TxtL", "0"},
          {"TxtR", "0"},
          {"TxtQ", "0"}}},
        // A frequency too large to hold reads as infinite.
        {"F too large",
         {{"TxtF", "1e999"},
          {"TxtBW", "0"},
          {"TxtC", "0"},
          {"TxtL", "1e-3"},
          {"TxtR", "0"},
          {"TxtQ", "5"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        type(c.typed);
        dialogs.shown.clear();
        const Form before = form;
        EXPECT_FALSE(CmdCalc_Click(calc, form, env));
        EXPECT_TRUE(form == before);
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_NE(dialogs.shown[0].text, kInsufficient);
    }
}

TEST_F(RlcQTest, ClearEmptiesAllSixBoxes) {
    CmdClr_Click(calc, form, env);
    for (const auto& [box, weight] : kBoxes)
        EXPECT_EQ(form.text(box), "") << box;
}

TEST_F(RlcQTest, CloseSavesEngineeringTextAndReopensWithIt) {
    ASSERT_TRUE(CmdCalc_Click(calc, form, env));
    ASSERT_EQ(CmdClose_Click(calc, form, env), CloseOutcome::Saved);
    EXPECT_EQ(*dir.readLines("RLCQ.dat"),
              (std::vector<std::string>{"False", " 455.0e+3  ", " 15.00e+3  ", " 48.94e-12 ",
                                        " 2.500e-3  ", " 235.6     ", " 30.33     "}));
    Form reopened = Form_Load(calc, env);
    EXPECT_EQ(reopened.text("CmdLoadData"), "Load Last Run");
    EXPECT_EQ(TrimBlanks(reopened.text("TxtC")), "48.94e-12");
    EXPECT_EQ(reopened.number("TxtQ"), 30.33);
}

} // namespace
} // namespace ferrovane
