#include "calculators/matching/pi_net_lossy.h"

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

const std::vector<std::string> kBoxes = {"TxtF",  "TxtR1", "TxtC1", "TxtL",
                                         "TxtRc", "TxtC2", "TxtRL", "TxtQ"};

class PiNetLossyTest : public ::testing::Test {
protected:
    PiNetLossyTest() { RestoreExamples(dir); }

    void open() { form = Form_Load(calc, env); }

    std::vector<std::string> boxes() const {
        std::vector<std::string> t;
        for (const auto& b : kBoxes)
            t.push_back(form.text(b));
        return t;
    }

    void type(const std::vector<std::pair<std::string, std::string>>& typed) {
        for (const auto& [box, text] : typed)
            editBox(calc, form, env, box, text);
    }

    const Calculator& calc = piNetLossy();
    TempDir tmp;
    DataDir dir{tmp.path()};
    ScriptedDialogs dialogs;
    CalcEnv env{dialogs, dir};
    Form form;
};

// F 14.25 MHz, C1 41.88 pF, L 3.240 uH, Rc 1, C2 299.0 pF, RL 52. Hand
// solution of the loops (double precision complex arithmetic):
// I1 = 264.057e-6 + j1.2295e-6 (0.2668 deg), I2 = 264.057e-6 - j3.74851e-3
// (-85.9706 deg), I3 = -1.68630e-3 - j1.40102e-3 (-140.279 deg),
// Zin = 3786.97 - j17.6335, Zp = 3787.06 in parallel with -j813.307e3
// (13.733 fF), |Vout| = 0.114003, sqrt(52 / 3787.01) = 0.117180.
// Q = |-3.749e-3 / 264.1e-6| = 14.195 shows as 14.2: the rounding adds a
// half to -1419.5 and rounds down to -1420.
const Lines kExampleLines = {
    "I1 =  264.1e-6  + j 1.230e-6  Amps =  264.1e-6  Amps /_.27" + kDeg,
    "I2 =  264.1e-6  - j 3.749e-3  Amps =  3.758e-3  Amps /_-85.97" + kDeg,
    "I3 = -1.686e-3  - j 1.401e-3  Amps =  2.192e-3  Amps /_-140.28" + kDeg,
    "Z  =  3.787e+3  - j 17.63     Ohms =  3.787e+3  Ohms /_-.27" + kDeg,
    "Zp =  3.787e+3  P/w-813.3e+3  Ohms =  3.787e+3  Ohms, P/w  13.73e-15 Farads",
    "Q  =  14.2",
    "         VTR = 114.0e-3  /_-140.28" + kDeg,
    "Lossless VTR = 117.2e-3  /_-140.28" + kDeg,
};

TEST_F(PiNetLossyTest, ExampleLastRunListsCurrentsImpedanceQAndBothVtrs) {
    open();
    EXPECT_EQ(form.text("CmdLoadData"), "Load Example");
    EXPECT_EQ(form.text("CmdClr"), "Load New Design");
    EXPECT_EQ(boxes(), (std::vector<std::string>{"14.25e+6", "4.000e+3", "41.88e-12", "3.240e-6",
                                                 "1.000", "299.0e-12", "52.00", "15.00"}));
    EXPECT_TRUE(CmdCalc_Click(calc, form, env));
    EXPECT_EQ(form.list("List1"), kExampleLines);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PiNetLossyTest, R1AloneChangesNoResult) {
    open();
    type({{"TxtR1", "50"}});
    ASSERT_TRUE(CmdCalc_Click(calc, form, env));
    EXPECT_EQ(form.list("List1"), kExampleLines);
    type({{"TxtR1", ""}});
    ASSERT_TRUE(CmdCalc_Click(calc, form, env));
    EXPECT_EQ(form.list("List1"), kExampleLines);
}

cplx currentOf(const std::string& line) {
    const double re = ReadNumber(line.substr(5, 11));
    const double im = ReadNumber(line.substr(19, 11));
    return {re, line.substr(16, 3) == "- j" ? -im : im};
}

TEST_F(PiNetLossyTest, ListedCurrentsSatisfyTheLoopEquations) {
    open();
    type({{"TxtF", "7.1e6"},
          {"TxtC1", "150e-12"},
          {"TxtL", "2.2e-6"},
          {"TxtRc", "3"},
          {"TxtC2", "800e-12"},
          {"TxtRL", "75"}});
    ASSERT_TRUE(CmdCalc_Click(calc, form, env));
    const Lines& list = form.list("List1");
    ASSERT_EQ(list.size(), 8u);

    const double w = 2 * Pi * 7.1e6;
    const cplx zl(3, w * 2.2e-6), zc1(0, -1 / (w * 150e-12)), zc2(0, -1 / (w * 800e-12));
    // Loop 1: source and C1; loop 2: C1, coil, C2; loop 3: C2 and RL.
    const cplx z[3][3] = {{zc1, -zc1, 0.0}, {-zc1, zc1 + zl + zc2, -zc2}, {0.0, -zc2, zc2 + 75.0}};
    const cplx source[3] = {1, 0, 0};
    const cplx i[3] = {currentOf(list[0]), currentOf(list[1]), currentOf(list[2])};
    for (int r = 0; r < 3; ++r) {
        cplx sum = 0;
        double size = 0;
        for (int c = 0; c < 3; ++c) {
            sum += z[r][c] * i[c];
            size += std::abs(z[r][c]) * std::abs(i[c]);
        }
        EXPECT_LT(std::abs(sum - source[r]), 2e-3 * size + 1e-12) << "loop " << r + 1;
    }
    // Power balance: the 1-volt source delivers Re(I1), which the coil's
    // resistance (in loop 2 only) and RL (in loop 3 only) dissipate.
    const double pin = std::real(std::conj(i[0]));
    const double pout = 75 * std::norm(i[2]) + 3 * std::norm(i[1]);
    EXPECT_NEAR(pin, pout, 2e-3 * pin);
}

TEST_F(PiNetLossyTest, LoadingTheLastRunNeverFallsBackToTheDesign) {
    tmp.write("PiNetLastRun.dat", "False\r\n 14.25e+6  \r\n 4.000e+3  \r\n 41.88e-12 \r\n"
                                  " 3.240e-6  \r\n 1.000     \r\n 0.000     \r\n 52.00     \r\n"
                                  " 15.00     \r\n");
    open();
    EXPECT_EQ(form.text("TxtC2"), "0.000     ");
    CmdLoadData_Click(calc, form, env);
    EXPECT_EQ(form.text("TxtC2"), "0.000     ");
}

TEST_F(PiNetLossyTest, LoadNewDesignReadsThePiDesignOrder) {
    open();
    ASSERT_TRUE(CmdCalc_Click(calc, form, env));
    // As the pi design window writes it: F, R1, C1, L, coil loss, C2, RL, Q.
    tmp.write("PiNetDesign.DAT", "False\r\n 3.500e+6  \r\n 2.500e+3  \r\n 120.0e-12 \r\n"
                                 " 9.100e-6  \r\n0.00\r\n 1.100e-9  \r\n 50.00     \r\n"
                                 " 12.00     \r\n");
    CmdClr_Click(calc, form, env);
    EXPECT_EQ(boxes(),
              (std::vector<std::string>{"3.500e+6  ", "2.500e+3  ", "120.0e-12 ", "9.100e-6  ",
                                        "0.00", "1.100e-9  ", "50.00     ", "12.00     "}));
    EXPECT_EQ(form.list("List1"), kExampleLines);
}

TEST_F(PiNetLossyTest, CloseWritesTheLastRunFile) {
    open();
    EXPECT_EQ(fileLines(calc, form),
              (Lines{"False", " 14.25e+6  ", " 4.000e+3  ", " 41.88e-12 ", " 3.240e-6  ",
                     " 1.000     ", " 299.0e-12 ", " 52.00     ", " 15.00     "}));
    EXPECT_EQ(CmdClose_Click(calc, form, env), CloseOutcome::Saved);
    open();
    EXPECT_EQ(form.text("TxtC1"), "41.88e-12 ");
    EXPECT_EQ(form.text("CmdLoadData"), "Load Last Run");
}

TEST_F(PiNetLossyTest, HelpTextsOfItsOwnForTheLoadingButtons) {
    open();
    EXPECT_EQ(hoverHelpText(calc, form, "CmdClr"),
              "When you start this calculator the data will be that from the last time you ran "
              "THIS calculator.  Pressing this button will load the output data from the most "
              "resent run of the 'Pi-Network' design calculator.");
    EXPECT_EQ(hoverHelpText(calc, form, "CmdLoadData"),
              "When you start this calculator the data will be that from the last time you ran "
              "THIS calculator.  You can recall the data by pressing this button.  When you close "
              "this calculator the data currently in the boxes will be saved.");
    EXPECT_EQ(hoverHelpText(calc, form, "CmdCalc"),
              "Recalculate loop currents and input impedance based on values entered in the date "
              "boxes.");
    EXPECT_EQ(hoverHelpText(calc, form, "CmdClose"),
              "The current data will be save and this calculator will be closed.");
    EXPECT_EQ(hoverHelpText(calc, form, "Frame3"), "");
}

struct Fault {
    std::vector<std::pair<std::string, std::string>> typed;
    std::string reason;
};

class PiNetLossyFaultTest : public PiNetLossyTest, public ::testing::WithParamInterface<Fault> {};

TEST_P(PiNetLossyFaultTest, EmptiesTheListAndSaysWhatCouldNotBeCalculated) {
    open();
    ASSERT_TRUE(CmdCalc_Click(calc, form, env));
    type(GetParam().typed);
    Form expected = form;
    expected.list("List1").clear();

    CmdCalc_Click(calc, form, env);
    EXPECT_TRUE(form == expected);
    ASSERT_EQ(dialogs.texts().size(), 1u);
    EXPECT_EQ(dialogs.texts()[0], "These values cannot be calculated (" + GetParam().reason +
                                      ").  The result list has been emptied.");
}

INSTANTIATE_TEST_SUITE_P(
    ZeroPartsAndUnshowableCurrents, PiNetLossyFaultTest,
    ::testing::Values(Fault{{{"TxtL", "0"}}, "L must not be zero"},
                      Fault{{{"TxtF", "0"}, {"TxtC1", "0"}, {"TxtC2", "0"}},
                            "Frequency, C1 and C2 must not be zero"},
                      // Every impedance 1e12 times the example's: the currents fall to
                      // 1e-12 of theirs, and the real part of I2 (264e-18 A) shows as
                      // 0.000, so the loaded Q has nothing to divide by.
                      Fault{{{"TxtC1", "41.88e-24"},
                             {"TxtL", "3.240e6"},
                             {"TxtRc", "1e12"},
                             {"TxtC2", "299.0e-24"},
                             {"TxtRL", "52e12"}},
                            "the loaded Q: the current it divides by shows a real part of 0.000"}));

} // namespace
} // namespace ferrovane
