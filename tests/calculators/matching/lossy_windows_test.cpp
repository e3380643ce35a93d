#include <array>
#include <cmath>
#include <complex>

#include "calculators/matching/cap_div_lossy.h"
#include "calculators/matching/lossy_mesh.h"
#include "calculators/matching/pi_net_lossy.h"
#include "numeric/constants.h"
#include "numeric/eng_text.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

using Cplx = std::complex<double>;

const std::string kDeg = "\u00B0";

// Capacitive divider: 455 kHz, R1 5000, C1 1.060 nF, L 174.9 uH, Rc 2,
// C2 1.944 nF, RL 600. Hand solution of the loops: I2 = 97.955e-6 +
// j980.373e-6, Zin = 4807.98 + j0.78, |Vout| = 0.169809 (-15.40 dB). Q uses
// the shown 980.4e-6 / 102.0e-6 = 9.6118, not the unrounded 9.6165.
// Pi: 14.25 MHz, C1 41.88 pF, L 3.240 uH, Rc 1, C2 299.0 pF, RL 52. By hand
// I3 = -1.68630e-3 - j1.40102e-3, Zin = 3786.97 - j17.6335, |Vout| =
// 0.114003, sqrt(52 / 3787.01) = 0.117180; Q = 3.749e-3 / 264.1e-6 = 14.195,
// whose rounding adds a half to -1419.5 and rounds down to 14.2.
TEST(LossyWindows, ExampleLastRunsListTheWorkedResults) {
    const std::vector<std::pair<const Calculator*, Texts>> cases{
        {&capDivLossy(),
         {"I1 =  102.0e-6  - j 8.108e-9  Amps =  102.0e-6  Amps /_0" + kDeg,
          "I2 =  97.96e-6  + j 980.4e-6  Amps =  985.3e-6  Amps /_84.29" + kDeg,
          "I3 =  277.8e-6  + j 53.94e-6  Amps =  283.0e-6  Amps /_10.99" + kDeg,
          "Z  =  4.808e+3  + j 780.0e-3  Ohms =  4.808e+3  Ohms /_.01" + kDeg,
          "Zp =  4.808e+3  P/w 29.64e+6  Ohms =  4.808e+3  Ohms, P/w -11.80e-15 Farads",
          "Q  =  9.61", "VTR = 169.8e-3  /_10.99" + kDeg + " = -15.4 dB"}},
        {&piNetLossy(),
         {"I1 =  264.1e-6  + j 1.230e-6  Amps =  264.1e-6  Amps /_.27" + kDeg,
          "I2 =  264.1e-6  - j 3.749e-3  Amps =  3.758e-3  Amps /_-85.97" + kDeg,
          "I3 = -1.686e-3  - j 1.401e-3  Amps =  2.192e-3  Amps /_-140.28" + kDeg,
          "Z  =  3.787e+3  - j 17.63     Ohms =  3.787e+3  Ohms /_-.27" + kDeg,
          "Zp =  3.787e+3  P/w-813.3e+3  Ohms =  3.787e+3  Ohms, P/w  13.73e-15 Farads",
          "Q  =  14.2", "         VTR = 114.0e-3  /_-140.28" + kDeg,
          "Lossless VTR = 117.2e-3  /_-140.28" + kDeg}}};
    for (const auto& [calc, lines] : cases) {
        TestWindow w(*calc);
        ASSERT_TRUE(w.calculate());
        EXPECT_EQ(w.list(), lines);
        w.apply("TxtR1=50"); // the Pi source has no resistance
        ASSERT_TRUE(w.calculate());
        EXPECT_EQ(w.list() == lines, calc == &piNetLossy());
        EXPECT_TRUE(w.dialogs.shown.empty());
    }
}

// A current line's value: "Ik = " A, sign text, B.
Cplx currentOf(const std::string& line) {
    const double im = ReadNumber(line.substr(19, 11));
    return {ReadNumber(line.substr(5, 11)), line.substr(16, 3) == "- j" ? -im : im};
}

// The listed currents (four digits each) satisfy the loop equations of the
// network as drawn: each loop's own impedances on the diagonal, minus the
// shared ones beside it, a 1-volt source in loop 1.
TEST(LossyWindows, ListedCurrentsSatisfyTheLoopEquations) {
    const double w = 2 * Pi * 1e6;
    const Cplx zl(5, w * 10e-6), zc1(0, -1 / (w * 2e-9)), zc2(0, -1 / (w * 5e-9)), o = 0;
    using Matrix = std::array<std::array<Cplx, 3>, 3>;
    const std::vector<std::pair<const Calculator*, Matrix>> cases{
        {&capDivLossy(),
         Matrix{{{1000.0 + zl, -zl, o}, {-zl, zl + zc1 + zc2, -zc2}, {o, -zc2, zc2 + 50.0}}}},
        {&piNetLossy(),
         Matrix{{{zc1, -zc1, o}, {-zc1, zc1 + zl + zc2, -zc2}, {o, -zc2, zc2 + 50.0}}}}};
    for (const auto& [calc, z] : cases) {
        TestWindow win(*calc);
        win.apply("TxtF=1e6 TxtR1=1000 TxtL=10e-6 TxtRc=5");
        win.apply("TxtC1=2e-9 TxtC2=5e-9 TxtRL=50");
        ASSERT_TRUE(win.calculate());
        for (std::size_t r = 0; r < 3; ++r) {
            Cplx sum = 0;
            double size = 0;
            for (std::size_t k = 0; k < 3; ++k) {
                sum += z[r][k] * currentOf(win.list()[k]);
                size += std::abs(z[r][k] * currentOf(win.list()[k]));
            }
            EXPECT_LT(std::abs(sum - (r == 0 ? 1.0 : 0.0)), 2e-3 * size) << "loop " << r + 1;
        }
    }
}

TEST(LossyWindows, OnlyTheDividerLoadsTheDesignForAZeroC2InTheLastRun) {
    const std::string lastRun = "False\r\n1e6\r\n50\r\n1e-9\r\n1e-6\r\n0\r\n0\r\n50\r\n10\r\n";
    TestWindow w(capDivLossy());
    w.tmp.write("CapDivLastRun.dat", lastRun);
    w.tmp.write("PiNetLastRun.dat", lastRun);
    w.open(capDivLossy());
    EXPECT_EQ(w.form.text("TxtC2"), "1.944e-9"); // the example design
    EXPECT_EQ(w.form.text("TxtRc"), "10.00");
    w.open(piNetLossy());
    EXPECT_EQ(w.form.text("TxtC2"), "0");
    CmdLoadData_Click(piNetLossy(), w.form, w.env);
    EXPECT_EQ(w.form.text("TxtC2"), "0");
}

// After a good run: the list is emptied, every box stays as typed, and one
// message says what could not be calculated.
TEST(LossyWindows, ZeroPartsAndSingularLoopsEmptyTheListOnly) {
    struct Case {
        const Calculator& calc;
        std::string typed;
        std::string reason;
    };
    const std::vector<Case> cases{
        {capDivLossy(), "TxtC2=0", "C2 must not be zero"},
        {capDivLossy(), "TxtF= TxtL=x", "Frequency and L must not be zero"},
        {piNetLossy(), "TxtL=0", "L must not be zero"},
        {piNetLossy(), "TxtF=0 TxtC1=0 TxtC2=0", "Frequency, C1 and C2 must not be zero"},
        // At 1 rad/s: R1 = 1, L = 1 H, Rc = 0, XC1 = 1, XC2 = -1, RL = -1. With
        // the source shorted R1 with the coil is (1 + j)/2, C1 -j and C2 with
        // RL (-1 + j)/2: the loop impedance is zero, the matrix singular.
        {capDivLossy(),
         "TxtF=0.15915494309189535 TxtR1=1 TxtL=1 TxtRc=0 "
         "TxtC1=1 TxtC2=-1 TxtRL=-1",
         "the loop currents: the loop equations have no single solution"}};
    for (const Case& c : cases) {
        TestWindow w(c.calc);
        ASSERT_TRUE(w.calculate());
        w.apply(c.typed);
        Form expected = w.form;
        expected.list("List1").clear();
        w.calculate();
        EXPECT_TRUE(w.form == expected) << c.reason;
        EXPECT_EQ(w.dialogs.texts(), Texts{"These values cannot be calculated (" + c.reason +
                                           ").  The result list has been emptied."});
    }
}

// Each window's "Load New Design" help names the design window it loads from.
TEST(LossyWindows, LoadNewDesignHelpNamesTheDesignWindow) {
    const std::vector<std::pair<const Calculator*, std::string>> cases{
        {&capDivLossy(), "'Capacitive Divider Matching' design calculator."},
        {&piNetLossy(), "'Pi-Network' design calculator."}};
    for (const auto& [calc, design] : cases) {
        const Form form = makeForm(*calc);
        const std::string loadDesign = hoverHelpText(*calc, form, "CmdClr").value_or("");
        EXPECT_EQ(loadDesign.substr(loadDesign.size() - design.size()), design);
    }
}

// A negative B shows "- j" and loses its sign; one that reads as zero keeps
// "+ j" and its text. Angles round to hundredths by adding a half and rounding
// down, negative ones too, in plain number text.
TEST(LossyLines, SignTextAndAngleRounding) {
    const std::vector<std::array<std::string, 3>> signs{{" 980.4e-6  ", "+ j", " 980.4e-6  "},
                                                        {"-8.108e-9  ", "- j", " 8.108e-9  "},
                                                        {"-0.000     ", "+ j", "-0.000     "}};
    for (const auto& [b, sign, shown] : signs) {
        EXPECT_EQ(lossy::signText(b).sign, sign) << b;
        EXPECT_EQ(lossy::signText(b).text, shown) << b;
    }
    const std::vector<std::pair<double, std::string>> angles{
        {-135, "-135"},       {84.294, "84.29"}, {84.296, "84.3"}, {-12.3449, "-12.34"},
        {-12.3451, "-12.35"}, {-0.0045, "0"},    {0.27, ".27"},    {-0.27, "-.27"}};
    for (const auto& [degrees, shown] : angles)
        EXPECT_EQ(lossy::angleText(degrees * Pi / 180), shown) << degrees;
}

} // namespace
} // namespace ferrovane::testing
