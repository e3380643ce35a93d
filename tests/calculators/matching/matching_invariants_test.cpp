#include <array>
#include <cmath>
#include <complex>
#include <filesystem>

#include "calculators/matching/cap_div_lossy.h"
#include "calculators/matching/cap_divider.h"
#include "calculators/matching/l_network.h"
#include "calculators/matching/lossy_mesh.h"
#include "calculators/matching/pi_net_lossy.h"
#include "calculators/matching/pi_network.h"
#include "numeric/eng_text.h"
#include "numeric/constants.h"
#include "support/test_window.h"

// The worked examples, refusals, design files and faults of the five matching
// windows are in their scenario files; here the designs and the loop
// currents are checked against the circuits they describe.

namespace ferrovane::testing {
namespace {

using Cplx = std::complex<double>;

Cplx parallel(Cplx a, Cplx b) {
    return a * b / (a + b);
}

// Each lossless design, analysed here from its component values, presents
// R1 at the design frequency: over a spread of R1, RL, Q and F, with Q below
// one too (where the Pi coil is the smaller root of its quadratic).
TEST(LosslessDesigns, PresentR1AtTheDesignFrequency) {
    struct Case {
        double f, q, rl, r1;
    };
    std::vector<Case> cases{{7.25e6, 11, 50, 6000}, {455e3, 10, 600, 5000}, {14.25e6, 15, 52, 4000},
                            {14.25e6, 9, 52, 4000}, {1e6, 0.9, 60, 100},    {10e6, 0.2, 50, 51},
                            {1e6, 0.999, 50, 80},   {1e6, 1.001, 50, 80},   {2e9, 600, 0.3, 1e5}};
    for (int i = 0; i < 60; ++i) {
        const double rl = 0.5 * std::pow(10.0, (i % 7) * 0.55);
        const double r1 = rl * 1.02 * std::pow(10.0, (i % 9) * 0.4);
        const double q = std::sqrt(r1 / rl - 1) * (1.01 + (i % 5) * 0.7);
        cases.push_back({1e4 * std::pow(10.0, (i % 11) * 0.5), q, rl, r1});
    }
    for (const Case& c : cases) {
        const double w = 2 * Pi * c.f;
        auto zc = [w](double farads) { return Cplx(0, -1 / (w * farads)); };
        auto zl = [w](double henries) { return Cplx(0, w * henries); };
        const LNetworkDesign l = designLNetwork(c.f, c.r1, c.rl);
        const CapDividerDesign cd = designCapDivider(c.f, c.q, c.rl, c.r1);
        const PiNetworkDesign pi = designPiNetwork(c.f, c.q, c.rl, c.r1);
        // L: C across R1, then L to RL. Divider: L across R1, C1 in series
        // with C2, RL across C2. Pi: C1 across R1, L in series, C2 across RL.
        const Cplx presented[3] = {parallel(zc(l.c), zl(l.l) + c.rl),
                                   parallel(zl(cd.l), zc(cd.c1) + parallel(c.rl, zc(cd.c2))),
                                   parallel(zc(pi.c1), zl(pi.l) + parallel(c.rl, zc(pi.c2)))};
        for (int n = 0; n < 3; ++n)
            EXPECT_LT(std::abs(presented[n] / c.r1 - 1.0), 1e-10)
                << "network " << n << " at " << c.f << " " << c.q << " " << c.rl << " " << c.r1;
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
        TestWindow win(*calc, "TxtF=1e6 TxtR1=1000 TxtL=10e-6 TxtRc=5 TxtC1=2e-9 TxtC2=5e-9 "
                              "TxtRL=50 CmdCalc");
        ASSERT_GE(win.list().size(), 3u);
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

// A folder in the design file's place: the design is listed all the same and
// one warning names the file.
TEST(DesignWindows, AFailedDesignWriteIsReported) {
    for (const auto& [calc, file] : std::vector<std::pair<const Calculator*, std::string>>{
             {&capDivider(), "CapDivDesign.DAT"}, {&piNetwork(), "PiNetDesign.DAT"}}) {
        TestWindow w(*calc);
        std::filesystem::remove(w.tmp.path() / file);
        std::filesystem::create_directory(w.tmp.path() / file);
        ASSERT_TRUE(w.calculate());
        EXPECT_EQ(w.list().size(), 7u);
        ASSERT_EQ(w.dialogs.shown.size(), 1u);
        EXPECT_NE(w.dialogs.shown[0].text.find("\"" + file + "\""), std::string::npos);
        EXPECT_EQ(w.dialogs.shown[0].icon, MessageIcon::Exclamation);
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
