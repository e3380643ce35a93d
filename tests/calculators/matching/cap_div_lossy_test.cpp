#include "calculators/matching/cap_div_lossy.h"

#include <cmath>
#include <complex>
#include <string>
#include <vector>

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
using cplx = std::complex<double>;
using Lines = std::vector<std::string>;

const std::string kDeg = "\u00B0";

// The window's own file order.
const std::vector<std::string> kBoxes = {"TxtF",  "TxtR1", "TxtC1", "TxtL",
                                         "TxtRc", "TxtC2", "TxtRL", "TxtQ"};

class CapDivLossyTest : public ::testing::Test {
protected:
    CapDivLossyTest() { RestoreExamples(dir); }

    void open() { form = Form_Load(calc, env); }

    std::vector<std::string> boxes() const {
        std::vector<std::string> t;
        for (const auto& b : kBoxes)
            t.push_back(form.text(b));
        return t;
    }

    const Calculator& calc = capDivLossy();
    TempDir tmp;
    DataDir dir{tmp.path()};
    ScriptedDialogs dialogs;
    CalcEnv env{dialogs, dir};
    Form form;
};

// F 455 kHz, R1 5000, C1 1.060 nF, L 174.9 uH, Rc 2, C2 1.944 nF, RL 600.
// Hand solution of the loops (double precision complex arithmetic):
// I1 = 101.958e-6 - j8.108e-9, I2 = 97.955e-6 + j980.373e-6 (84.294 deg),
// I3 = 277.827e-6 + j53.942e-6 (10.988 deg), Zin = 4807.98 + j0.78001,
// Zp = 4807.98 in parallel with j29.636e6 (-11.803 fF), |Vout| = 0.169809.
const Lines kExampleLines = {
    "I1 =  102.0e-6  - j 8.108e-9  Amps =  102.0e-6  Amps /_0" + kDeg,
    "I2 =  97.96e-6  + j 980.4e-6  Amps =  985.3e-6  Amps /_84.29" + kDeg,
    "I3 =  277.8e-6  + j 53.94e-6  Amps =  283.0e-6  Amps /_10.99" + kDeg,
    "Z  =  4.808e+3  + j 780.0e-3  Ohms =  4.808e+3  Ohms /_.01" + kDeg,
    "Zp =  4.808e+3  P/w 29.64e+6  Ohms =  4.808e+3  Ohms, P/w -11.80e-15 Farads",
    "Q  =  9.61",
    "VTR = 169.8e-3  /_10.99" + kDeg + " = -15.4 dB",
};

TEST_F(CapDivLossyTest, ExampleLastRunListsCurrentsImpedanceQAndVtr) {
    open();
    EXPECT_EQ(form.text("CmdLoadData"), "Load Example");
    EXPECT_EQ(form.text("CmdClr"), "Load New Design");
    EXPECT_EQ(boxes(), (std::vector<std::string>{"455.0e+3", "5.000e+3", "1.060e-9", "174.9e-6",
                                                 "2.00", "1.944e-9", "600.0", "10.00"}));
    EXPECT_TRUE(CmdCalc_Click(calc, form, env));
    EXPECT_EQ(form.list("List1"), kExampleLines);
    EXPECT_TRUE(dialogs.shown.empty());
    // Calculate changes no box.
    EXPECT_EQ(form.text("TxtC2"), "1.944e-9");
}

// A list line's current: "Ik = " A, sign text, B.
cplx currentOf(const std::string& line) {
    const double re = ReadNumber(line.substr(5, 11));
    const std::string sign = line.substr(16, 3);
    const double im = ReadNumber(line.substr(19, 11));
    return {re, sign == "- j" ? -im : im};
}

TEST_F(CapDivLossyTest, ListedCurrentsSatisfyTheLoopEquations) {
    // A second network, far from the design, so that no example value helps.
    open();
    const std::vector<std::pair<std::string, double>> values = {
        {"TxtF", 1e6},   {"TxtR1", 1000}, {"TxtL", 10e-6}, {"TxtRc", 5},
        {"TxtC1", 2e-9}, {"TxtC2", 5e-9}, {"TxtRL", 50}};
    for (const auto& [box, v] : values)
        editBox(calc, form, env, box, FormatEng(v));
    ASSERT_TRUE(CmdCalc_Click(calc, form, env));
    const Lines& list = form.list("List1");
    ASSERT_EQ(list.size(), 7u);

    const double w = 2 * Pi * 1e6;
    const cplx zl(5, w * 10e-6), zc1(0, -1 / (w * 2e-9)), zc2(0, -1 / (w * 5e-9));
    // Loop 1: source, R1, coil; loop 2: coil, C1, C2; loop 3: C2, RL. Each
    // loop's own impedances on the diagonal, minus the shared ones beside it.
    const cplx z[3][3] = {
        {1000.0 + zl, -zl, 0.0}, {-zl, zl + zc1 + zc2, -zc2}, {0.0, -zc2, zc2 + 50.0}};
    const cplx source[3] = {1, 0, 0};
    const cplx i[3] = {currentOf(list[0]), currentOf(list[1]), currentOf(list[2])};
    for (int r = 0; r < 3; ++r) {
        cplx sum = 0;
        double size = 0;
        for (int c = 0; c < 3; ++c) {
            sum += z[r][c] * i[c];
            size += std::abs(z[r][c]) * std::abs(i[c]);
        }
        // Four significant digits in each part of each current.
        EXPECT_LT(std::abs(sum - source[r]), 2e-3 * size + 1e-12) << "loop " << r + 1;
    }
    // The input impedance is what the source sees beyond R1: 1 / I1 - R1.
    const cplx zin = 1.0 / i[0] - 1000.0;
    const std::string zline = list[3];
    EXPECT_NEAR(ReadNumber(zline.substr(5, 11)), zin.real(), 2e-3 * std::abs(zin));
}

TEST_F(CapDivLossyTest, ZeroC2InTheLastRunLoadsTheDesignOnOpening) {
    tmp.write("CapDivLastRun.dat", "False\r\n 455.0e+3  \r\n 5.000e+3  \r\n 1.060e-9  \r\n"
                                   " 174.9e-6  \r\n 2.000     \r\n 0.000     \r\n 600.0     \r\n"
                                   " 10.00     \r\n");
    open();
    // The example design: F, R1, L, Rc, C1, C2, RL, Q in the design's order.
    EXPECT_EQ(boxes(), (std::vector<std::string>{"455.0e+3", "5.000e+3", "1.060e-9", "174.9e-6",
                                                 "10.00", "1.944e-9", "600.0", "10.00"}));
    EXPECT_EQ(form.text("CmdLoadData"), "Load Last Run");
}

TEST_F(CapDivLossyTest, AZeroCoilResistanceIsKeptAndNoFileMeansTheDesign) {
    tmp.write("CapDivLastRun.dat", "False\r\n1\r\n2\r\n3\r\n4\r\n0\r\n6\r\n7\r\n8\r\n");
    open();
    EXPECT_EQ(boxes(), (std::vector<std::string>{"1", "2", "3", "4", "0", "6", "7", "8"}));

    std::filesystem::remove(tmp.path() / "CapDivLastRun.dat");
    open();
    EXPECT_EQ(form.text("TxtRc"), "10.00");
    EXPECT_EQ(form.text("TxtL"), "174.9e-6");
}

TEST_F(CapDivLossyTest, LoadNewDesignReplacesAllEightBoxesAndKeepsTheList) {
    open();
    ASSERT_TRUE(CmdCalc_Click(calc, form, env));
    // As the design window writes it: F, R1, L, coil loss, C1, C2, RL, Q.
    tmp.write("CapDivDesign.DAT", "False\r\n 7.000e+6  \r\n 2.000e+3  \r\n 1.234e-6  \r\n"
                                  " 0.000     \r\n 100.0e-12 \r\n 800.0e-12 \r\n 75.00     \r\n"
                                  " 12.00     \r\n");
    CmdClr_Click(calc, form, env);
    EXPECT_EQ(boxes(),
              (std::vector<std::string>{"7.000e+6  ", "2.000e+3  ", "100.0e-12 ", "1.234e-6  ",
                                        "0.000     ", "800.0e-12 ", "75.00     ", "12.00     "}));
    EXPECT_EQ(form.list("List1"), kExampleLines);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(CapDivLossyTest, ShortOrMissingDesignFileIsPassedOverSilently) {
    open();
    tmp.write("CapDivDesign.DAT", "False\r\n1\r\n2\r\n3\r\n");
    CmdClr_Click(calc, form, env);
    EXPECT_EQ(boxes(), (std::vector<std::string>{"1", "2", "1.060e-9", "3", "2.00", "1.944e-9",
                                                 "600.0", "10.00"}));
    std::filesystem::remove(tmp.path() / "CapDivDesign.DAT");
    CmdClr_Click(calc, form, env);
    EXPECT_EQ(form.text("TxtF"), "1");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(CapDivLossyTest, CloseSavesEngineeringTextAndReopenShowsIt) {
    open();
    editBox(calc, form, env, "TxtRc", "3.3");
    EXPECT_EQ(CmdClose_Click(calc, form, env), CloseOutcome::Saved);
    EXPECT_EQ(tmp.read("CapDivLastRun.dat"),
              "False\r\n 455.0e+3  \r\n 5.000e+3  \r\n 1.060e-9  \r\n 174.9e-6  \r\n"
              " 3.300     \r\n 1.944e-9  \r\n 600.0     \r\n 10.00     \r\n");
    open();
    EXPECT_EQ(form.text("TxtRc"), "3.300     ");
    EXPECT_EQ(form.text("CmdLoadData"), "Load Last Run");
}

TEST_F(CapDivLossyTest, HelpBoxTextsOverTheButtonsAndEmptyOverTheFrame) {
    open();
    EXPECT_EQ(hoverHelpText(calc, form, "CmdCalc"),
              "Recalculate loop currents and input impedance based on values entered in the date "
              "boxes.");
    EXPECT_EQ(hoverHelpText(calc, form, "CmdClose"),
              "The current data will be save and this calculator will be closed.");
    EXPECT_EQ(hoverHelpText(calc, form, "CmdClr"),
              "When you start this calculator the data will be from the last time you ran THIS "
              "calculator.  Pressing this button will load the output data from the most resent "
              "run of the 'Capacitive Divider Matching' design calculator.");
    EXPECT_EQ(hoverHelpText(calc, form, "CmdLoadData"),
              "When you start this calculator the data will be from the last time you ran THIS "
              "calculator.  You can recall the data by pressing this button.  When you close this "
              "calculator the data currently in the boxes will be saved.");
    EXPECT_EQ(hoverHelpText(calc, form, "Frame3"), "");
    EXPECT_TRUE(form.has("QHlp"));
    EXPECT_TRUE(form.has("Image1"));
}

// After a good run, a fault empties the list, leaves every box as typed and
// says once what could not be calculated.
class CapDivLossyFaultTest
    : public CapDivLossyTest,
      public ::testing::WithParamInterface<
          std::pair<std::vector<std::pair<std::string, std::string>>, std::string>> {};

TEST_P(CapDivLossyFaultTest, EmptiesTheListAndSaysWhatCouldNotBeCalculated) {
    open();
    ASSERT_TRUE(CmdCalc_Click(calc, form, env));
    for (const auto& [box, typed] : GetParam().first)
        editBox(calc, form, env, box, typed);
    Form expected = form;
    expected.list("List1").clear();

    CmdCalc_Click(calc, form, env);
    EXPECT_TRUE(form == expected);
    ASSERT_EQ(dialogs.texts().size(), 1u);
    EXPECT_EQ(dialogs.texts()[0], "These values cannot be calculated (" + GetParam().second +
                                      ").  The result list has been emptied.");
}

INSTANTIATE_TEST_SUITE_P(
    ZeroPartsAndSingularNetworks, CapDivLossyFaultTest,
    ::testing::Values(
        std::make_pair(std::vector<std::pair<std::string, std::string>>{{"TxtC2", "0"}},
                       std::string("C2 must not be zero")),
        std::make_pair(std::vector<std::pair<std::string, std::string>>{{"TxtF", ""},
                                                                        {"TxtL", "x"}},
                       std::string("Frequency and L must not be zero")),
        std::make_pair(std::vector<std::pair<std::string, std::string>>{{"TxtC1", "0"}},
                       std::string("C1 must not be zero")),
        // At w = 1 rad/s: R1 = 1, L = 1 H, Rc = 0, XC1 = 1, XC2 = -1, RL = -1.
        // With the source shorted, R1 with the coil is (1 + j)/2, C1 -j and
        // C2 with RL (-1 + j)/2: the loop impedance is zero, the matrix singular.
        std::make_pair(std::vector<std::pair<std::string, std::string>>{{"TxtF",
                                                                         "0.15915494309189535"},
                                                                        {"TxtR1", "1"},
                                                                        {"TxtL", "1"},
                                                                        {"TxtRc", "0"},
                                                                        {"TxtC1", "1"},
                                                                        {"TxtC2", "-1"},
                                                                        {"TxtRL", "-1"}},
                       std::string("the loop currents: the loop equations have no single "
                                   "solution"))));

} // namespace
} // namespace ferrovane
