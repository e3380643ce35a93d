#include "calculators/matching/cap_divider.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <filesystem>
#include <string>
#include <vector>

#include "calculators/matching/cap_div_lossy.h"
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

class CapDividerWindow : public ::testing::Test {
protected:
    CapDividerWindow() : dir(tmp.path()), env{dialogs, dir} {
        RestoreExamples(dir);
        form = Form_Load(calc, env);
    }

    void calculate() { CmdCalc_Click(calc, form, env); }
    void type(const std::string& box, const std::string& text) {
        editBox(calc, form, env, box, text);
    }
    void select(const std::string& option) { selectOption(calc, form, env, option); }
    std::string designFile() const { return tmp.read("CapDivDesign.DAT"); }

    const Calculator& calc = capDivider();
    TempDir tmp;
    DataDir dir;
    ScriptedDialogs dialogs;
    CalcEnv env;
    Form form;
};

const std::vector<std::string> kExampleLines{
    "Frequency = 455.0e+3  Hertz",  "       R1 = 5.000e+3  Ohms",   "        L = 174.9e-6  Henrys",
    "       C1 = 1.060e-9  Farads", "       C2 = 1.944e-9  Farads", "        Q = 10.00     ",
    "       RL = 600.0     Ohms"};

// F, R1, L, lossless coil, C1, C2, RL, Q.
const std::string kExampleDesign = "False\r\n 455.0e+3  \r\n 5.000e+3  \r\n 174.9e-6  \r\n"
                                   "0.000\r\n 1.060e-9  \r\n 1.944e-9  \r\n 600.0     \r\n"
                                   " 10.00     \r\n";

TEST_F(CapDividerWindow, ExampleListsAndSavesTheDesign) {
    EXPECT_TRUE(form.selected("OpRes"));
    EXPECT_FALSE(form.visible("TxtVc"));
    EXPECT_FALSE(form.visible("Text10"));
    calculate();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form.list("List1"), kExampleLines);
    EXPECT_EQ(designFile(), kExampleDesign);

    const CapDividerDesign d = designCapDivider(455e3, 10, 600, 5000);
    EXPECT_NEAR(d.xl, 500, 1e-9);
    EXPECT_NEAR(d.rv, 49.505, 0.0005);
    EXPECT_NEAR(d.xc2, 179.93, 0.005);
    EXPECT_NEAR(d.xs, 165.08, 0.005);
    EXPECT_NEAR(d.xc1, 329.97, 0.005);
}

TEST_F(CapDividerWindow, TheLossyWindowLoadsTheDesign) {
    type("TxtQ", "12");
    type("TxtRL", "300");
    calculate();
    const Calculator& lossy = capDivLossy();
    Form analysis = Form_Load(lossy, env);
    CmdClr_Click(lossy, analysis, env); // "Load New Design"
    const CapDividerDesign d = designCapDivider(455e3, 12, 300, 5000);
    const std::vector<std::pair<std::string, double>> expected{
        {"TxtF", 455e3}, {"TxtR1", 5000}, {"TxtL", d.l},  {"TxtRc", 0},
        {"TxtC1", d.c1}, {"TxtC2", d.c2}, {"TxtRL", 300}, {"TxtQ", 12}};
    for (const auto& [box, value] : expected)
        EXPECT_EQ(analysis.number(box), ReadNumber(FormatEng(value))) << box;
    EXPECT_TRUE(dialogs.shown.empty());
}

// L across the input; C1 in series with C2, RL across C2.
Cplx presented(double f, const CapDividerDesign& d, double rl) {
    const double w = 2 * kPi * f;
    const Cplx zl(0, w * d.l);
    const Cplx zc1(0, -1 / (w * d.c1));
    const Cplx zc2(0, -1 / (w * d.c2));
    auto parallel = [](Cplx a, Cplx b) { return a * b / (a + b); };
    return parallel(zl, zc1 + parallel(Cplx(rl), zc2));
}

TEST(CapDividerDesign, PresentsR1AtTheDesignFrequency) {
    struct Case {
        double f, q, rl, r1;
    };
    std::vector<Case> cases{{455e3, 10, 600, 5000}, {7e6, 3, 50, 400},  {1e6, 1, 50, 99},
                            {14e6, 50, 50, 2000},   {100e3, 0.5, 8, 9}, {2e9, 600, 0.3, 1e5}};
    for (int i = 0; i < 60; ++i) {
        const double rl = 0.5 * std::pow(10.0, (i % 7) * 0.55);
        const double r1 = rl * 1.02 * std::pow(10.0, (i % 9) * 0.4);
        const double qMin = std::sqrt(r1 / rl - 1);
        const double q = qMin * (1.001 + (i % 5) * 0.8) + 0.01 * (i % 3);
        cases.push_back({1e4 * std::pow(10.0, (i % 11) * 0.5), q, rl, r1});
    }
    for (const auto& c : cases) {
        ASSERT_LT(c.r1 / c.rl, c.q * c.q + 1);
        const CapDividerDesign d = designCapDivider(c.f, c.q, c.rl, c.r1);
        const Cplx z = presented(c.f, d, c.rl);
        EXPECT_LT(std::abs(z - c.r1) / c.r1, 1e-10)
            << c.f << " " << c.q << " " << c.rl << " " << c.r1 << ": " << z;
        // The loaded Q is that of the coil across R1.
        EXPECT_NEAR(c.r1 / (2 * kPi * c.f * d.l), c.q, 1e-9 * c.q);
        EXPECT_GT(d.c1, 0);
        EXPECT_GT(d.c2, 0);
    }
}

TEST_F(CapDividerWindow, QTooLowNamesTheMinimum) {
    calculate();
    type("TxtQ", "2"); // 5000 / 600 = 8.33 is at least 2^2 + 1
    calculate();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "This value of Q is too low.\r\nThe minimum Q is 3");
    EXPECT_EQ(dialogs.shown[0].title, "Q Violation");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::None);
    EXPECT_TRUE(form.list("List1").empty());
    EXPECT_EQ(designFile(), kExampleDesign);
}

TEST_F(CapDividerWindow, R1NotAboveRLIsAResistanceViolation) {
    type("TxtR1", "600"); // R1 = RL passes the Q test
    calculate();
    type("TxtR1", "400");
    calculate();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    for (const auto& m : dialogs.shown) {
        EXPECT_EQ(m.text, "High Side resistance MUST BE GRATER THAN RL.");
        EXPECT_EQ(m.title, "Resistance Violation");
        EXPECT_EQ(m.icon, MessageIcon::None);
    }
    EXPECT_TRUE(form.list("List1").empty());
}

TEST_F(CapDividerWindow, ZeroValuesAreRefused) {
    for (const char* box : {"TxtF", "TxtQ", "TxtRL", "TxtR1"}) {
        calculate();
        ASSERT_FALSE(form.list("List1").empty());
        std::filesystem::remove(tmp.path() / "CapDivDesign.DAT");
        const std::string kept = form.text(box);
        type(box, "0");
        calculate();
        EXPECT_TRUE(form.list("List1").empty()) << box;
        EXPECT_FALSE(std::filesystem::exists(tmp.path() / "CapDivDesign.DAT")) << box;
        type(box, kept);
    }
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>(4, "Zero values not allowed."));
    for (const auto& m : dialogs.shown)
        EXPECT_EQ(m.title, kAppTitle);
}

TEST_F(CapDividerWindow, NeitherModeReadsR1AsZero) {
    CmdClr_Click(calc, form, env);
    EXPECT_EQ(form.option("Frame1"), 0);
    for (const char* box : {"TxtF", "TxtQ", "TxtRL", "TxtR1", "TxtVc", "TxtIc"})
        EXPECT_EQ(form.text(box), "") << box;
    type("TxtF", "455e3");
    type("TxtQ", "10");
    type("TxtRL", "600");
    type("TxtR1", "5000");
    calculate();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Zero values not allowed."});
}

TEST_F(CapDividerWindow, AmplifierModeUsesTheQuotient) {
    type("TxtVc", "1000");
    type("TxtIc", ".2");
    EXPECT_EQ(form.text("TxtR1"), "5.000e+3"); // the resistance mode leaves R1 alone
    type("TxtR1", "123");
    select("OpVandI");
    EXPECT_TRUE(form.visible("TxtVc"));
    EXPECT_TRUE(form.visible("Text4"));
    EXPECT_TRUE(form.locked("TxtR1"));
    EXPECT_EQ(form.text("TxtR1"), "5000");
    calculate();
    EXPECT_EQ(form.text("TxtR1"), " 5.000e+3  ");
    EXPECT_EQ(form.list("List1"), kExampleLines);
    EXPECT_EQ(designFile(), kExampleDesign);
}

TEST_F(CapDividerWindow, NumericFaultsChangeNothingAndWriteNothing) {
    type("TxtRL", "-600"); // a negative load has no real C2
    Form before = form;
    calculate();
    EXPECT_TRUE(form == before);

    type("TxtRL", "600");
    select("OpVandI");
    type("TxtVc", "1000");
    type("TxtIc", "0"); // R1 = 1000 / 0
    before = form;
    calculate();
    EXPECT_TRUE(form == before);

    ASSERT_EQ(dialogs.shown.size(), 2u);
    for (const auto& m : dialogs.shown)
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(designFile(), "True\r\n455.0e+3\r\n5.000e+3\r\n174.9e-6\r\n10.00\r\n1.060e-9\r\n"
                            "1.944e-9\r\n600.0\r\n10.00\r\n");
}

TEST_F(CapDividerWindow, AFailedDesignWriteIsReported) {
    std::filesystem::remove(tmp.path() / "CapDivDesign.DAT");
    std::filesystem::create_directory(tmp.path() / "CapDivDesign.DAT");
    calculate();
    EXPECT_EQ(form.list("List1"), kExampleLines);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("\"CapDivDesign.DAT\""), std::string::npos)
        << dialogs.shown[0].text;
    EXPECT_GT(dialogs.shown[0].text.size(), std::string("\"CapDivDesign.DAT\"").size() + 30);
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(CapDividerWindow, CloseAndReopen) {
    calculate();
    ASSERT_EQ(CmdClose_Click(calc, form, env), CloseOutcome::Saved);
    EXPECT_EQ(tmp.read("CapDiv.dat"), "False\r\n 455.0e+3  \r\n 10.00     \r\n 600.0     \r\n"
                                      " 5.000e+3  \r\n 0.000     \r\n 0.000     \r\n1\r\n");
    Form reopened = Form_Load(calc, env);
    EXPECT_EQ(reopened.text("CmdLoadData"), "Load Last Run");
    CmdCalc_Click(calc, reopened, env);
    EXPECT_EQ(reopened.list("List1"), kExampleLines);
}

TEST(CapDividerForm, DesignTimeTexts) {
    const Form form = makeForm(capDivider());
    for (const char* box : {"TxtR1", "TxtRL", "TxtVc", "TxtIc", "TxtQ"})
        EXPECT_EQ(form.text(box), "0") << box;
    EXPECT_EQ(form.text("TxtF"), "");
    EXPECT_EQ(form.option("Frame1"), 0);
}

} // namespace
} // namespace ferrovane
