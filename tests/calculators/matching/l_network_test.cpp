#include "calculators/matching/l_network.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "numeric/eng_text.h"
#include "shell/data_dir.h"
#include "shell/example_files.h"
#include "shell/window_cycle.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace ferrovane {
namespace {

using testing::ScriptedDialogs;
using testing::TempDir;
using Cplx = std::complex<double>;

constexpr double kPi = 3.14159265358979323846;

class LNetworkWindow : public ::testing::Test {
protected:
    LNetworkWindow() : dir(tmp.path()), env{dialogs, dir} {
        RestoreExamples(dir);
        form = Form_Load(calc, env);
    }

    void calculate() { CmdCalc_Click(calc, form, env); }
    void type(const std::string& box, const std::string& text) {
        editBox(calc, form, env, box, text);
    }
    void select(const std::string& option) { selectOption(calc, form, env, option); }

    const Calculator& calc = lNetwork();
    TempDir tmp;
    DataDir dir;
    ScriptedDialogs dialogs;
    CalcEnv env;
    Form form;
};

const std::vector<std::string> kExampleLines{"Frequency = 7.250e+6  ", "       R1 = 6.000e+3  ",
                                             "        C = 39.91e-12 ", "        L = 11.97e-6  ",
                                             "        Q = 10.91     ", "       RL = 50.00     "};

TEST_F(LNetworkWindow, OpensWithTheExampleInTheAmplifierMode) {
    EXPECT_EQ(form.text("TxtF"), "7.250e+6");
    EXPECT_EQ(form.text("TxtRL"), "50.00");
    EXPECT_EQ(form.text("TxtVc"), "1.500e+3");
    EXPECT_EQ(form.text("TxtIc"), "250.0e-3");
    EXPECT_TRUE(form.selected("OpVandI"));
    // Selecting the mode from the file shows Vc / Ic at once, as plain text.
    EXPECT_EQ(form.text("TxtR1"), "6000");
    EXPECT_TRUE(form.locked("TxtR1"));
    for (const char* name : {"TxtVc", "TxtIc", "Text4", "Text5", "Text9", "Text10"})
        EXPECT_TRUE(form.visible(name)) << name;
    EXPECT_EQ(form.text("Text4"), "Plate or Collector Voltage");
    EXPECT_EQ(form.text("Text10"), "Amps");
    EXPECT_EQ(form.text("CmdLoadData"), "Load Example");
    EXPECT_TRUE(dialogs.shown.empty());
}

// L = Q * RL / (2 pi F) = 545.44 ohms at 7.25 MHz; C and Q as worked.
TEST_F(LNetworkWindow, ExampleListsTheMatchingDesign) {
    calculate();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form.text("TxtR1"), " 6.000e+3  ");
    EXPECT_EQ(form.list("List1"), kExampleLines);

    const LNetworkDesign d = designLNetwork(7.25e6, 6000, 50);
    EXPECT_NEAR(d.q, std::sqrt(119.0), 1e-12);
    EXPECT_NEAR(d.xc, 550.02, 0.005);
    EXPECT_NEAR(d.xl, 545.44, 0.005);
}

// R1 = 100, RL = 50: Q = 1, XC = 100 ohms and XL = Q * RL = 50 ohms at 1 MHz
// (an inductor of 75 ohms would present 160 - j20 ohms instead of 100).
TEST_F(LNetworkWindow, TypedResistanceDesignsTheTextbookInductor) {
    select("OpRes");
    type("TxtF", "1e6");
    type("TxtR1", "100");
    type("TxtRL", "50");
    calculate();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form.list("List1"),
              (std::vector<std::string>{"Frequency = 1.000e+6  ", "       R1 = 100.0     ",
                                        "        C = 1.592e-9  ", "        L = 7.958e-6  ",
                                        "        Q = 1.000     ", "       RL = 50.00     "}));
}

// The network from its component values: C across R1, then L in series to
// RL. Seen from R1 it must be R1, seen from RL it must be RL.
struct Presented {
    Cplx fromR1;
    Cplx fromRL;
};
Presented analyse(double f, double r1, double rl, const LNetworkDesign& d) {
    const double w = 2 * kPi * f;
    const Cplx zc(0, -1 / (w * d.c));
    const Cplx zl(0, w * d.l);
    auto parallel = [](Cplx a, Cplx b) { return a * b / (a + b); };
    return {parallel(zc, zl + rl), zl + parallel(Cplx(r1), zc)};
}

TEST(LNetworkDesign, PresentsR1AtTheDesignFrequency) {
    struct Case {
        double f, r1, rl;
    };
    std::vector<Case> cases{{1e6, 100, 50},      {7.25e6, 6000, 50}, {455e3, 5000, 600},
                            {14.25e6, 4000, 52}, {1.8e6, 50.5, 50},  {30e6, 1e6, 0.5},
                            {60, 2.2e3, 8},      {2.4e9, 300, 75}};
    // And a spread over five decades of ratio and of frequency.
    for (int i = 0; i < 40; ++i) {
        const double rl = 0.1 * std::pow(10.0, (i % 7) * 0.6);
        const double ratio = 1.01 * std::pow(10.0, (i % 11) * 0.45);
        cases.push_back({1e3 * std::pow(10.0, (i % 13) * 0.5), rl * ratio, rl});
    }
    for (const auto& c : cases) {
        const LNetworkDesign d = designLNetwork(c.f, c.r1, c.rl);
        const Presented z = analyse(c.f, c.r1, c.rl, d);
        EXPECT_LT(std::abs(z.fromR1 - c.r1) / c.r1, 1e-12) << c.f << " " << c.r1 << " " << c.rl;
        EXPECT_LT(std::abs(z.fromRL - c.rl) / c.rl, 1e-12) << c.f << " " << c.r1 << " " << c.rl;
    }
}

TEST_F(LNetworkWindow, ModesShowHideAndLockTheBoxes) {
    select("OpRes");
    for (const char* name : {"TxtVc", "TxtIc", "Text4", "Text5", "Text9", "Text10"})
        EXPECT_FALSE(form.visible(name)) << name;
    EXPECT_FALSE(form.locked("TxtR1"));
    type("TxtR1", "2200");
    // In the resistance mode the amplifier boxes do not touch R1.
    type("TxtVc", "3000");
    EXPECT_EQ(form.text("TxtR1"), "2200");

    select("OpVandI");
    for (const char* name : {"TxtVc", "TxtIc", "Text4", "Text5", "Text9", "Text10"})
        EXPECT_TRUE(form.visible(name)) << name;
    EXPECT_TRUE(form.locked("TxtR1"));
    EXPECT_EQ(form.text("TxtR1"), "12000"); // 3000 / 0.25
    type("TxtIc", ".4");
    EXPECT_EQ(form.text("TxtR1"), "7500");
    type("TxtVc", "2500");
    EXPECT_EQ(form.text("TxtR1"), "6250");
}

TEST_F(LNetworkWindow, QuotientNeedsBothValuesPositive) {
    for (const auto& [vc, ic] : std::vector<std::pair<std::string, std::string>>{
             {"0", ".25"}, {"1500", "0"}, {"-1500", ".25"}, {"1500", "-.25"}, {"", ""}}) {
        select("OpRes");
        type("TxtR1", "4700");
        type("TxtVc", vc);
        type("TxtIc", ic);
        select("OpVandI");
        EXPECT_EQ(form.text("TxtR1"), "4700") << vc << " / " << ic;
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LNetworkWindow, R1NotAboveRLIsRefusedAndTheListKept) {
    calculate();
    select("OpRes");
    type("TxtR1", "50");
    calculate(); // R1 = RL
    type("TxtR1", "20");
    calculate(); // R1 below RL
    ASSERT_EQ(dialogs.shown.size(), 2u);
    for (const auto& m : dialogs.shown) {
        EXPECT_EQ(m.text, "RL must be less than R1.");
        EXPECT_EQ(m.title, kAppTitle);
        EXPECT_EQ(m.icon, MessageIcon::None);
    }
    EXPECT_EQ(form.list("List1"), kExampleLines);
}

TEST_F(LNetworkWindow, ClearEmptiesTheBoxesAndBothModes) {
    calculate();
    CmdClr_Click(calc, form, env);
    for (const char* box : {"TxtF", "TxtRL", "TxtR1", "TxtVc", "TxtIc"})
        EXPECT_EQ(form.text(box), "") << box;
    EXPECT_FALSE(form.selected("OpRes"));
    EXPECT_FALSE(form.selected("OpVandI"));
    EXPECT_EQ(form.list("List1"), kExampleLines);

    // With neither mode R1 is not read: it counts as zero.
    type("TxtF", "7.25e6");
    type("TxtRL", "50");
    type("TxtR1", "6000");
    calculate();
    ASSERT_EQ(dialogs.texts(), std::vector<std::string>{"RL must be less than R1."});
}

TEST_F(LNetworkWindow, NumericFaultsChangeNothing) {
    calculate();
    const std::vector<std::string> listed = form.list("List1");
    type("TxtIc", "0"); // R1 = Vc / 0
    const Form typed = form;
    calculate();
    EXPECT_TRUE(form == typed);

    type("TxtIc", ".25");
    type("TxtF", "0"); // C = 1 / 0
    const Form zeroF = form;
    calculate();
    EXPECT_TRUE(form == zeroF);

    select("OpRes");
    type("TxtF", "7.25e6");
    type("TxtRL", "0"); // Q = sqrt(R1 / 0 - 1)
    const Form zeroRL = form;
    calculate();
    EXPECT_TRUE(form == zeroRL);

    ASSERT_EQ(dialogs.shown.size(), 3u);
    for (const auto& m : dialogs.shown)
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(form.list("List1"), listed);
}

TEST_F(LNetworkWindow, CloseSavesEngineeringTextAndTheMode) {
    calculate();
    ASSERT_EQ(CmdClose_Click(calc, form, env), CloseOutcome::Saved);
    EXPECT_EQ(tmp.read("LNetD.dat"), "False\r\n 7.250e+6  \r\n 50.00     \r\n 6.000e+3  \r\n"
                                     " 1.500e+3  \r\n 250.0e-3  \r\n2\r\n");

    Form reopened = Form_Load(calc, env);
    EXPECT_EQ(reopened.text("CmdLoadData"), "Load Last Run");
    EXPECT_TRUE(reopened.selected("OpVandI"));
    EXPECT_EQ(reopened.text("TxtR1"), "6000");
    EXPECT_DOUBLE_EQ(reopened.number("TxtF"), 7.25e6);
    EXPECT_DOUBLE_EQ(reopened.number("TxtIc"), 0.25);
    CmdCalc_Click(calc, reopened, env);
    EXPECT_EQ(reopened.list("List1"), kExampleLines);
}

} // namespace
} // namespace ferrovane
