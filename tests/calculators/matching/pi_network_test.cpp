#include "calculators/matching/pi_network.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <filesystem>
#include <string>
#include <vector>

#include "calculators/matching/pi_net_lossy.h"
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

class PiNetworkWindow : public ::testing::Test {
protected:
    PiNetworkWindow() : dir(tmp.path()), env{dialogs, dir} {
        RestoreExamples(dir);
        form = Form_Load(calc, env);
    }

    void calculate() { CmdCalc_Click(calc, form, env); }
    void type(const std::string& box, const std::string& text) {
        editBox(calc, form, env, box, text);
    }
    void select(const std::string& option) { selectOption(calc, form, env, option); }
    std::string designFile() const { return tmp.read("PiNetDesign.DAT"); }

    const Calculator& calc = piNetwork();
    TempDir tmp;
    DataDir dir;
    ScriptedDialogs dialogs;
    CalcEnv env;
    Form form;
};

const std::vector<std::string> kExampleLines{
    "Frequency = 14.25e+6  Hertz",  "       R1 = 4.000e+3  Ohms",   "       C1 = 41.88e-12 Farads",
    "        L = 3.240e-6  Henrys", "       C2 = 299.0e-12 Farads", "        Q = 15.00     ",
    "       RL = 52.00     Ohms"};

// F, R1, C1, L, lossless coil, C2, RL, Q.
const std::string kExampleDesign = "False\r\n 14.25e+6  \r\n 4.000e+3  \r\n 41.88e-12 \r\n"
                                   " 3.240e-6  \r\n0.00\r\n 299.0e-12 \r\n 52.00     \r\n"
                                   " 15.00     \r\n";

const std::string kRestoredDesign = "True\r\n14.25e+6\r\n4.000e+3\r\n41.88e-12\r\n3.240e-6\r\n"
                                    "1.00\r\n299.0e-12\r\n52.00\r\n15.00\r\n";

TEST_F(PiNetworkWindow, ExampleListsAndSavesTheDesign) {
    EXPECT_TRUE(form.selected("OpVandI"));
    EXPECT_EQ(form.text("TxtR1"), "4000");
    EXPECT_TRUE(form.locked("TxtR1"));
    EXPECT_EQ(form.text("CmdClr"), "Clear All Data");
    EXPECT_EQ(form.text("CmdLoadData"), "Load Example");
    calculate();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form.text("TxtR1"), " 4.000e+3  ");
    EXPECT_EQ(form.list("List1"), kExampleLines);
    EXPECT_EQ(designFile(), kExampleDesign);

    const PiNetworkDesign d = designPiNetwork(14.25e6, 15, 52, 4000);
    EXPECT_NEAR(d.xc1, 266.67, 0.005);
    EXPECT_NEAR(d.xc2, 37.353, 0.0005);
    EXPECT_NEAR(d.xl, 290.13, 0.005);
}

TEST_F(PiNetworkWindow, TheLossyWindowLoadsTheDesign) {
    type("TxtQ", "20");
    type("TxtF", "3.6e6");
    calculate();
    const Calculator& lossy = piNetLossy();
    Form analysis = Form_Load(lossy, env);
    CmdClr_Click(lossy, analysis, env); // "Load New Design"
    const PiNetworkDesign d = designPiNetwork(3.6e6, 20, 52, 4000);
    const std::vector<std::pair<std::string, double>> expected{
        {"TxtF", 3.6e6}, {"TxtR1", 4000}, {"TxtC1", d.c1}, {"TxtL", d.l},
        {"TxtRc", 0},    {"TxtC2", d.c2}, {"TxtRL", 52},   {"TxtQ", 20}};
    for (const auto& [box, value] : expected)
        EXPECT_EQ(analysis.number(box), ReadNumber(FormatEng(value))) << box;
    EXPECT_TRUE(dialogs.shown.empty());
}

// C1 across the input, L in series, C2 across RL.
Cplx presented(double f, const PiNetworkDesign& d, double rl) {
    const double w = 2 * kPi * f;
    const Cplx zc1(0, -1 / (w * d.c1));
    const Cplx zl(0, w * d.l);
    const Cplx zc2(0, -1 / (w * d.c2));
    auto parallel = [](Cplx a, Cplx b) { return a * b / (a + b); };
    return parallel(zc1, zl + parallel(Cplx(rl), zc2));
}

struct PiCase {
    double f, q, rl, r1;
};

void expectPresentsR1(const PiCase& c, double tolerance) {
    const PiNetworkDesign d = designPiNetwork(c.f, c.q, c.rl, c.r1);
    const Cplx z = presented(c.f, d, c.rl);
    EXPECT_LT(std::abs(z - c.r1) / c.r1, tolerance)
        << c.f << " " << c.q << " " << c.rl << " " << c.r1 << ": " << z;
    // The loaded Q is that of C1 across R1.
    EXPECT_NEAR(c.r1 * 2 * kPi * c.f * d.c1, c.q, 1e-12 * c.q);
    EXPECT_GT(d.l, 0);
    EXPECT_GT(d.c2, 0);
}

TEST(PiNetworkDesign, PresentsR1AtTheDesignFrequency) {
    std::vector<PiCase> cases{{14.25e6, 15, 52, 4000}, {14.25e6, 9, 52, 4000},
                              {7e6, 12, 50, 2500},     {1.8e6, 30, 75, 5000},
                              {50e6, 3, 50, 300},      {455e3, 100, 1, 1e4}};
    for (int i = 0; i < 60; ++i) {
        const double rl = 0.5 * std::pow(10.0, (i % 7) * 0.55);
        const double r1 = rl * 2.5 * std::pow(10.0, (i % 9) * 0.35);
        const double q = std::sqrt(r1 / rl - 1) * (1.01 + (i % 5) * 0.7);
        cases.push_back({1e4 * std::pow(10.0, (i % 11) * 0.5), q, rl, r1});
    }
    for (const auto& c : cases)
        expectPresentsR1(c, 1e-10);
}

// Below Q = 1 the inductor that presents R1 is the smaller root of the
// quadratic; the larger one would present R1 / Q^2 (123.5 ohms for 100 ohms
// at Q = 0.9).
TEST(PiNetworkDesign, PresentsR1BelowUnitQ) {
    const std::vector<PiCase> cases{
        {1e6, 0.9, 60, 100},  {1e6, 0.8, 75, 100},  {3e6, 0.5, 50, 55},    {10e6, 0.2, 50, 51},
        {1e6, 0.999, 50, 80}, {1e6, 1.001, 50, 80}, {1e3, 0.05, 1e3, 1001}};
    for (const auto& c : cases)
        expectPresentsR1(c, 1e-10);
}

// At Q = 1 the two roots meet; the discriminant is zero give or take rounding.
TEST(PiNetworkDesign, PresentsR1AtUnitQ) {
    for (const PiCase& c : std::vector<PiCase>{
             {1e6, 1, 60, 100}, {2e6, 1, 50, 75}, {7e6, 1, 3, 5}, {5e5, 1, 1e3, 1.9e3}})
        expectPresentsR1(c, 1e-6);
}

TEST_F(PiNetworkWindow, BelowUnitQTheWindowDesignsTheMatchingCoil) {
    select("OpRes");
    type("TxtF", "1e6");
    type("TxtQ", ".9");
    type("TxtRL", "60");
    type("TxtR1", "100");
    calculate();
    EXPECT_TRUE(dialogs.shown.empty());
    // XC1 = 100 / 0.9; Rs = 100 / 1.81; XL = 0.9 Rs + RL^2 XC2 / (RL^2 + XC2^2) = 65.93 ohms.
    ASSERT_EQ(form.list("List1").size(), 7u);
    EXPECT_EQ(form.list("List1")[2], "       C1 = 1.432e-9  Farads");
    EXPECT_EQ(form.list("List1")[3], "        L = 10.49e-6  Henrys");
}

TEST_F(PiNetworkWindow, QTooLowNamesTheRoundedMinimum) {
    calculate();
    select("OpRes");
    type("TxtR1", "4000");
    type("TxtQ", "8"); // the minimum is sqrt(4000 / 52 - 1) = 8.71
    calculate();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "This value of Q is too low.\r\nThe minimum Q is 9");
    EXPECT_EQ(dialogs.shown[0].title, kAppTitle);
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(form.list("List1"), kExampleLines);
    EXPECT_EQ(designFile(), kExampleDesign);

    type("TxtQ", "9");
    calculate();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    ASSERT_EQ(form.list("List1").size(), 7u);
    EXPECT_EQ(form.list("List1")[5], "        Q = 9.000     ");
    EXPECT_NE(designFile(), kExampleDesign);
    expectPresentsR1({14.25e6, 9, 52, 4000}, 1e-10);
}

TEST_F(PiNetworkWindow, R1NotAboveRLIsRefused) {
    calculate();
    select("OpRes");
    type("TxtR1", "52"); // R1 = RL
    calculate();
    CmdClr_Click(calc, form, env); // neither mode: R1 counts as zero
    type("TxtF", "14.25e6");
    type("TxtRL", "52");
    type("TxtR1", "4000");
    calculate();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    for (const auto& m : dialogs.shown) {
        EXPECT_EQ(m.text, "RL must be less than R1.");
        EXPECT_EQ(m.title, kAppTitle);
        EXPECT_EQ(m.icon, MessageIcon::None);
    }
    EXPECT_EQ(form.list("List1"), kExampleLines);
    EXPECT_EQ(designFile(), kExampleDesign);
}

TEST_F(PiNetworkWindow, ClearKeepsQ) {
    CmdClr_Click(calc, form, env);
    for (const char* box : {"TxtF", "TxtRL", "TxtR1", "TxtVc", "TxtIc"})
        EXPECT_EQ(form.text(box), "") << box;
    EXPECT_EQ(form.text("TxtQ"), "15.00");
    EXPECT_EQ(form.option("Frame1"), 0);
}

TEST_F(PiNetworkWindow, ModesShowHideAndLockTheBoxes) {
    select("OpRes");
    for (const char* name : {"TxtVc", "TxtIc", "Text4", "Text5", "Text9", "Text10"})
        EXPECT_FALSE(form.visible(name)) << name;
    EXPECT_FALSE(form.locked("TxtR1"));
    type("TxtR1", "3300");
    type("TxtIc", ".4");
    EXPECT_EQ(form.text("TxtR1"), "3300");
    select("OpVandI");
    EXPECT_TRUE(form.visible("Text9"));
    EXPECT_EQ(form.text("TxtR1"), "5000");
    type("TxtIc", "-1");
    EXPECT_EQ(form.text("TxtR1"), "5000");
}

TEST_F(PiNetworkWindow, NumericFaultsChangeNothingAndWriteNothing) {
    for (const auto& [box, text] : std::vector<std::pair<std::string, std::string>>{
             {"TxtF", "0"}, {"TxtIc", "0"}, {"TxtRL", "0"}, {"TxtRL", "-52"}}) {
        Form fresh = Form_Load(calc, env);
        form = fresh;
        type(box, text);
        const Form before = form;
        calculate();
        EXPECT_TRUE(form == before) << box << " " << text;
    }
    ASSERT_EQ(dialogs.shown.size(), 4u);
    for (const auto& m : dialogs.shown)
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(designFile(), kRestoredDesign);
}

TEST_F(PiNetworkWindow, AFailedDesignWriteIsReported) {
    std::filesystem::remove(tmp.path() / "PiNetDesign.DAT");
    std::filesystem::create_directory(tmp.path() / "PiNetDesign.DAT");
    calculate();
    EXPECT_EQ(form.list("List1"), kExampleLines);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("\"PiNetDesign.DAT\""), std::string::npos);
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(PiNetworkWindow, CloseAndReopen) {
    calculate();
    ASSERT_EQ(CmdClose_Click(calc, form, env), CloseOutcome::Saved);
    EXPECT_EQ(tmp.read("PiNetD.dat"), "False\r\n 14.25e+6  \r\n 15.00     \r\n 52.00     \r\n"
                                      " 4.000e+3  \r\n 2.000e+3  \r\n 500.0e-3  \r\n2\r\n");
    Form reopened = Form_Load(calc, env);
    EXPECT_EQ(reopened.text("CmdLoadData"), "Load Last Run");
    EXPECT_EQ(reopened.text("TxtR1"), "4000");
    CmdCalc_Click(calc, reopened, env);
    EXPECT_EQ(reopened.list("List1"), kExampleLines);
}

} // namespace
} // namespace ferrovane
