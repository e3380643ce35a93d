#include <cmath>
#include <complex>
#include <filesystem>

#include "calculators/matching/cap_div_lossy.h"
#include "calculators/matching/cap_divider.h"
#include "calculators/matching/l_network.h"
#include "calculators/matching/pi_net_lossy.h"
#include "calculators/matching/pi_network.h"
#include "numeric/constants.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

using Cplx = std::complex<double>;

// Both design files, to see that a refused design writes neither.
std::string designFiles(const TestWindow& w) {
    return w.tmp.read("CapDivDesign.DAT") + "|" + w.tmp.read("PiNetDesign.DAT");
}

const std::vector<std::string> kAmplifierControls{"TxtVc", "TxtIc", "Text4",
                                                  "Text5", "Text9", "Text10"};

// R1 = 1500 / 0.25 = 6000, Q = sqrt(119), XC = R1 / Q = 550.02 ohms, and the
// coil that cancels the series reactance Q * RL = 545.44 ohms: 11.97 uH.
TEST(LNetworkWindow, ExampleDesignsTheTextbookInductor) {
    TestWindow w(lNetwork());
    EXPECT_EQ(w.form.text("TxtR1"), "6000");
    ASSERT_TRUE(w.calculate());
    EXPECT_EQ(w.form.text("TxtR1"), " 6.000e+3  ");
    EXPECT_EQ(w.list(), (Texts{"Frequency = 7.250e+6  ", "       R1 = 6.000e+3  ",
                               "        C = 39.91e-12 ", "        L = 11.97e-6  ",
                               "        Q = 10.91     ", "       RL = 50.00     "}));
    EXPECT_TRUE(w.dialogs.shown.empty());
}

// The widget test shows the modes hiding, showing and locking the boxes; here
// R1 follows Vc / Ic only while both are above zero.
TEST(LNetworkWindow, R1FollowsTheQuotientOnlyWhileBothAreAboveZero) {
    TestWindow w(lNetwork(), "OpRes TxtR1=2200 TxtVc=3000");
    EXPECT_EQ(w.form.text("TxtR1"), "2200");
    w.apply("OpVandI");
    for (const auto& name : kAmplifierControls)
        EXPECT_TRUE(w.form.visible(name)) << name;
    EXPECT_EQ(w.form.text("TxtR1"), "12000"); // 3000 / 0.25
    w.apply("TxtIc=.4");
    EXPECT_EQ(w.form.text("TxtR1"), "7500");
    w.apply("TxtIc=-1 TxtVc=0 TxtIc=1");
    EXPECT_EQ(w.form.text("TxtR1"), "7500");
}

TEST(CapDividerWindow, ExampleListsAndWritesTheDesign) {
    TestWindow w(capDivider());
    ASSERT_TRUE(w.calculate());
    EXPECT_EQ(w.list(), (Texts{"Frequency = 455.0e+3  Hertz", "       R1 = 5.000e+3  Ohms",
                               "        L = 174.9e-6  Henrys", "       C1 = 1.060e-9  Farads",
                               "       C2 = 1.944e-9  Farads", "        Q = 10.00     ",
                               "       RL = 600.0     Ohms"}));
    EXPECT_EQ(w.tmp.read("CapDivDesign.DAT"),
              "False\r\n 455.0e+3  \r\n 5.000e+3  \r\n 174.9e-6  \r\n0.000\r\n 1.060e-9  \r\n"
              " 1.944e-9  \r\n 600.0     \r\n 10.00     \r\n");
    EXPECT_TRUE(w.dialogs.shown.empty());
}

// R1 = 2000 / 0.5; XC1 = 266.67, XC2 = 37.353, XL = 290.13 ohms. The minimum
// Q for 4000 to 52 ohms is sqrt(4000 / 52 - 1) = 8.71, so Q = 9 designs.
TEST(PiNetworkWindow, ExampleListsAndWritesTheDesignAndQ9Designs) {
    TestWindow w(piNetwork());
    EXPECT_EQ(w.form.text("TxtR1"), "4000");
    ASSERT_TRUE(w.calculate());
    EXPECT_EQ(w.form.text("TxtR1"), " 4.000e+3  ");
    EXPECT_EQ(w.list(), (Texts{"Frequency = 14.25e+6  Hertz", "       R1 = 4.000e+3  Ohms",
                               "       C1 = 41.88e-12 Farads", "        L = 3.240e-6  Henrys",
                               "       C2 = 299.0e-12 Farads", "        Q = 15.00     ",
                               "       RL = 52.00     Ohms"}));
    EXPECT_EQ(w.tmp.read("PiNetDesign.DAT"),
              "False\r\n 14.25e+6  \r\n 4.000e+3  \r\n 41.88e-12 \r\n 3.240e-6  \r\n0.00\r\n"
              " 299.0e-12 \r\n 52.00     \r\n 15.00     \r\n");
    w.apply("TxtQ=9");
    ASSERT_TRUE(w.calculate());
    EXPECT_EQ(w.list()[5], "        Q = 9.000     ");
    EXPECT_TRUE(w.dialogs.shown.empty());
}

// One message each and no design file written. A refused design says why;
// the divider empties its list first, the others keep theirs. Values no
// design can show (no text below: a zero current, a zero frequency) leave the
// window as it was.
TEST(DesignWindows, RefusedOrFailedDesignsSayWhyOnceAndWriteNothing) {
    struct Case {
        const Calculator& calc;
        bool neitherMode;
        std::string typed;
        std::string text, title = kAppTitle;
    };
    const std::string kRL = "RL must be less than R1.", kQV = "Q Violation",
                      kLow = "This value of Q is too low.\r\nThe minimum Q is ";
    const std::vector<Case> cases{
        {lNetwork(), false, "TxtR1=50", kRL},
        {piNetwork(), false, "TxtR1=52", kRL},
        {capDivider(), false, "TxtR1=600", "High Side resistance MUST BE GRATER THAN RL.",
         "Resistance Violation"},
        // 5000 / 600 = 8.33 is at least 2^2 + 1; Int(sqrt(7.33) + 1) = 3.
        {capDivider(), false, "TxtQ=2", kLow + "3", kQV},
        {piNetwork(), false, "TxtR1=4000 TxtQ=8", kLow + "9"},
        // The divider names Int(Qmin + 1), the Pi Int(Qmin + 0.5): Qmin = 2.2 and 8.2 here.
        {capDivider(), false, "TxtR1=3504 TxtQ=2", kLow + "3", kQV},
        {piNetwork(), false, "TxtR1=3548.48 TxtQ=8", kLow + "8"},
        // With neither mode R1 is not read: it counts as zero.
        {lNetwork(), true, "TxtF=1e6 TxtRL=50 TxtR1=6000", kRL},
        {piNetwork(), true, "TxtF=1e6 TxtRL=52 TxtR1=4000", kRL},
        {capDivider(), true, "TxtF=1 TxtQ=9 TxtRL=5 TxtR1=9", "Zero values not allowed."},
        {lNetwork(), false, "OpVandI TxtIc=0", ""},
        {lNetwork(), false, "OpVandI TxtF=0", ""},
        {piNetwork(), false, "OpVandI TxtIc=0", ""},
        {piNetwork(), false, "OpVandI TxtF=0", ""},
        {capDivider(), false, "OpVandI TxtVc=1000 TxtIc=0", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        TestWindow w(c.calc);
        ASSERT_TRUE(w.calculate());
        const Texts listed = &c.calc == &capDivider() ? Texts{} : w.list();
        const std::string designs = designFiles(w);
        if (c.neitherMode)
            w.clear();
        else
            w.select("OpRes");
        w.apply(c.typed);
        const Form before = w.form;
        EXPECT_EQ(w.calculate(), !c.text.empty());
        ASSERT_EQ(w.dialogs.shown.size(), 1u);
        EXPECT_EQ(designFiles(w), designs);
        if (c.text.empty()) {
            EXPECT_TRUE(w.form == before);
            EXPECT_EQ(w.dialogs.shown[0].icon, MessageIcon::Exclamation);
            continue;
        }
        EXPECT_EQ(w.dialogs.shown[0].text, c.text);
        EXPECT_EQ(w.dialogs.shown[0].title, c.title);
        EXPECT_EQ(w.list(), listed);
    }
}

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

// Design in one window, "Load New Design" in the lossy one: each box holds
// the value the design listed, and the coil is lossless.
TEST(DesignFiles, LoadNewDesignFillsTheLossyWindowWithTheDesign) {
    struct Case {
        const Calculator &design, &lossy;
        std::string typed;
        Texts boxes; // in the order of the design's list lines
        std::string coilLoss;
    };
    const std::vector<Case> cases{{capDivider(), capDivLossy(), "TxtQ=12 TxtRL=300",
                                   words("TxtF TxtR1 TxtL TxtC1 TxtC2 TxtQ TxtRL"), "0.000"},
                                  {piNetwork(), piNetLossy(), "TxtQ=20 TxtF=3.6e6",
                                   words("TxtF TxtR1 TxtC1 TxtL TxtC2 TxtQ TxtRL"), "0.00"}};
    for (const Case& c : cases) {
        TestWindow w(c.design);
        w.apply(c.typed);
        ASSERT_TRUE(w.calculate());
        const Texts listed = w.list();
        w.open(c.lossy);
        w.clear();
        for (std::size_t n = 0; n < c.boxes.size(); ++n)
            EXPECT_EQ(w.form.text(c.boxes[n]), listed[n].substr(12, 10)) << c.boxes[n];
        EXPECT_EQ(w.form.text("TxtRc"), c.coilLoss);
        EXPECT_TRUE(w.dialogs.shown.empty());
    }
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
    auto parallel = [](Cplx a, Cplx b) { return a * b / (a + b); };
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

} // namespace
} // namespace ferrovane::testing
