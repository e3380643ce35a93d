#include <cmath>
#include <cstdio>
#include <random>

#include "calculators/amplifier/bias_design.h"
#include "calculators/amplifier/change_values.h"
#include "numeric/eng_text.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

const Texts kDesignBoxes{"TxtVcc", "TxtIc", "TxtB", "TxtVe", "TxtS"};
constexpr const char* kDesignFile = "CVBOutPut.dat";

// The example: Re 4950 -> 5.1 k, the divider 203.6 k / 68.04 k -> 200 k / 68 k,
// Ic = 5.7433 * 100 / (101 * 5100 + 50746) = 1.015 mA, Ve = 5.228 V, Rc 9740 ->
// 10 k. Powers by hand: R1 19.17^2 / 200 k, R2 5.828^2 / 68 k, Rc Ic^2 10 k,
// Re 5.228^2 / 5.1 k, transistor (14.85 - 5.228) Ic, follower (25 - 5.228) Ic.
TEST(BiasDesign, ExampleListsTheDesignAndWritesTheExampleFile) {
    TestWindow w(biasDesign(), "CmdCalc");
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.list(), (Texts{"R1 = 200 k   R2 = 68 k   Re = 5.1 k   Rc = 10 k Ohms",
                               "Ic = 1.015 mA   Ve = 5.23 Volts   Vc = 14.85 Volts",
                               "R1 Power = 1.838e-3  Watts   R2 Power = 499.5e-6  Watts",
                               "Re Power = 5.360e-3  Watts   Rc Power = 10.30e-3  Watts",
                               "            Collector Dissipation = 9.766e-3  Watts",
                               "For Rc = 0, Collector Dissipation = 20.07e-3  Watts",
                               "                 Stability Factor = 9.95"}));
    // Only the spacing differs from the example file: engineering texts keep
    // their blanks and numbers a leading blank.
    Texts written = w.dir.readLines(kDesignFile).value();
    EXPECT_EQ(written[0], " 25.00     ");
    EXPECT_EQ(written[6], " 50746.2686567164");
    Texts example = TestWindow(biasDesign()).dir.readLines(kDesignFile).value();
    for (Texts* t : {&written, &example})
        for (auto& line : *t)
            line = TrimBlanks(line);
    EXPECT_EQ(written, example);
}

TEST(BiasDesign, MilliampereQuestion) {
    TestWindow no(biasDesign(), "TxtIc=.05");
    no.dialogs.answers = {Answer::No};
    const std::string before = no.tmp.read(kDesignFile);
    no.press("CmdCalc");
    ASSERT_EQ(no.dialogs.shown.size(), 1u);
    EXPECT_EQ(no.dialogs.shown[0].text, "Ic is in milliamps.\r\nDid you intend to enter .05 mA?");
    EXPECT_EQ(no.dialogs.shown[0].title, "Are you sure?");
    EXPECT_EQ(no.dialogs.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(no.form.text("TxtIc"), "50");
    EXPECT_EQ(no.form.focus(), "TxtIc");
    EXPECT_TRUE(no.list().empty());
    EXPECT_EQ(no.tmp.read(kDesignFile), before);

    TestWindow yes(biasDesign(), "TxtIc=.05 CmdCalc"); // the script answers Yes
    EXPECT_EQ(yes.dialogs.shown.size(), 1u);
    EXPECT_EQ(yes.dir.readLines(kDesignFile).value()[1], " 50.00e-3  ");

    TestWindow tenth(biasDesign(), "TxtIc=0.1 CmdCalc");
    EXPECT_TRUE(tenth.dialogs.shown.empty());
    EXPECT_EQ(tenth.list().size(), 7u);
}

// Every stop of both windows shows one message and leaves the list and the
// design file as they were.
TEST(BiasDesign, StopsChangeNothing) {
    const std::string unrealizable =
        "These condidions can't be realized\r\nwith standard value resistors.";
    const std::string cutOff =
        "The transistor is cut off with these values: the base is not above the 0.6 volt\r\n"
        "base-emitter drop, so no collector current flows.  Nothing has been listed.";
    const struct {
        const Calculator& calc;
        const char* typed;
        std::string message;
    } cases[] = {
        {biasDesign(), "TxtS=_", "Please fill in missing values."},
        // Rb = 5000.01 * 1 k is just above 5 M.
        {biasDesign(), "TxtVe=1.01 TxtS=5000.01", unrealizable},
        // The base clamps at 0.49 V, below the base-emitter drop: Ic < 0.
        {biasDesign(), "TxtVcc=0.5", unrealizable},
        {biasDesign(), "TxtB=-1",
         numericFaultText("a current gain of -1 leaves the emitter without current")},
        // Vbb = 10 uA * 8 * 5.1 k + 5.151 + 0.6 = 6.159 V: the supply itself.
        {biasDesign(), "TxtVcc=6.159 TxtS=8",
         numericFaultText("the base voltage equals the supply voltage")},
        // Vbb = 0.09 V: below the base-emitter drop.
        {changeValues(), "TxtVcc=1 TxtR1=10000 TxtR2=1000", cutOff},
        // Ic = 0.43 mA through 100 k would take the collector to -31 V.
        {changeValues(), "TxtVcc=12 TxtR1=200000 TxtR2=68000 TxtRe=5100 TxtRc=100000",
         "The transistor is saturated with these values: the collector would be below the\r\n"
         "emitter.  Use a smaller Rc or less collector current.  Nothing has been listed."},
        {changeValues(), "TxtR1=0 TxtR2=_", numericFaultText("R1 + R2 is 0 ohms")},
        {changeValues(), "TxtBeta=0", numericFaultText("the current gain is 0")},
        {changeValues(), "TxtR1=0", numericFaultText("R1 is 0 ohms")},
        {changeValues(), "TxtRe=0", numericFaultText("Re is 0 ohms")},
        // 2 Re + Rb = 2 * -0.5 + 1.
        {changeValues(), "TxtRe=-0.5 TxtR1=2 TxtR2=2 TxtBeta=1",
         numericFaultText("(Beta + 1) Re + Rb is 0 ohms")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        TestWindow w(c.calc, "CmdCalc");
        const Texts list = w.list();
        const std::string file = w.tmp.read(kDesignFile);
        w.dialogs.shown.clear();
        w.apply(std::string(c.typed) + " CmdCalc");
        ASSERT_EQ(w.dialogs.shown.size(), 1u);
        EXPECT_EQ(w.dialogs.shown[0].text, c.message);
        EXPECT_EQ(w.list(), list);
        EXPECT_EQ(w.tmp.read(kDesignFile), file);
    }
}

TEST(BiasDesign, LimitsOfTheDivider) {
    // Re = 1.01 / 1.01 mA = 1 k, so S = 5000 asks for Rb = 5 M exactly: it
    // passes. The base would need 51.6 V: clamped to 24.99 V, R2 runs off the
    // table to 10 M and R1 = 25 * 5 M / 24.99 = 5.002 M -> 5.1 M. Then
    // Ic = 15.96 * 100 / (101 k + 3.377 M) = 0.4587 mA and
    // Rc = (25 - 0.463) / 0.917 mA = 26.7 k -> 27 k.
    TestWindow limit(biasDesign(), "TxtVe=1.01 TxtS=5000 CmdCalc");
    EXPECT_TRUE(limit.dialogs.shown.empty());
    EXPECT_EQ(limit.list().at(0), "R1 = 5.1 M   R2 = 10 M   Re = 1 k   Rc = 27 k Ohms");
    // 0.1 mA at beta 1000 over Re = 10 k and Rb = 5 M: Vbb = 2.101 V asks for
    // R1 = 59.5 M, taken as 10 M, so R2 = 2.101 * 10 M / 22.899 = 917.5 k.
    TestWindow capped(biasDesign(), "TxtIc=0.1 TxtB=1000 TxtVe=1 TxtS=500 CmdCalc");
    EXPECT_EQ(capped.list().at(0).substr(0, 24), "R1 = 10 M   R2 = 910 k  ");
}

// The designed circuit, analysed afresh from its resistors (Thevenin base,
// emitter loop), runs at the current and emitter voltage listed.
TEST(BiasDesign, DesignedCircuitRunsAtTheListedPoint) {
    std::mt19937 rng(7);
    auto uniform = [&](double lo, double hi) {
        return PlainNumber(std::uniform_real_distribution<double>(lo, hi)(rng));
    };
    int designed = 0;
    TestWindow w(biasDesign());
    for (int i = 0; i < 60; ++i) {
        const std::string vcc = uniform(5, 50);
        w.dialogs.shown.clear();
        w.type(kDesignBoxes, vcc + " " + uniform(0.2, 50) + " " + uniform(20, 500) + " " +
                                 uniform(0.5, ReadNumber(vcc) / 4) + " " + uniform(2, 20));
        w.calculate();
        if (!w.dialogs.shown.empty())
            continue;
        ++designed;
        const Texts f = w.dir.readLines(kDesignFile).value();
        const double b = ReadNumber(f[2]), re = ReadNumber(f[5]), r1 = ReadNumber(f[8]),
                     r2 = ReadNumber(f[9]);
        const double vb = ReadNumber(vcc) * r2 / (r1 + r2), rb = r1 * r2 / (r1 + r2);
        // Base loop: Vb = Ib Rb + 0.6 + (B + 1) Ib Re.
        const double ib = (vb - 0.6) / (rb + (b + 1) * re);
        const double ic = b * ib * 1000, ve = (b + 1) * ib * re;
        double listedIc = 0, listedVe = 0;
        ASSERT_EQ(std::sscanf(w.list()[1].c_str(), "Ic = %lf mA   Ve = %lf", &listedIc, &listedVe),
                  2);
        EXPECT_NEAR(listedIc, ic, ic * 5e-4) << w.list()[1];
        EXPECT_NEAR(listedVe, ve, 0.005 + ve * 5e-4) << w.list()[1];
    }
    EXPECT_GT(designed, 30);
}

// Vbb = 13.64 V, Rb = 3909 ohms; Ic = 13.04 * 100 / (101 * 390 + 3909) =
// 30.11 mA, Ve = 11.86 V, Vc = 150 - 66.24 = 83.76 V; the powers of the
// worked example. An emitter follower (Rc = 0) leaves the collector at the
// supply and dissipates the same with and without Rc.
TEST(ChangeValues, ExampleAndEmitterFollower) {
    TestWindow w(changeValues(), "CmdCalc");
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.list(), (Texts{"Ic = 30.11 mA  Ve = 11.86 Volts  Vc = 83.76 Volts",
                               "R1 Power = 439.9e-3 Watts   R2 Power = 36.10e-3 Watts",
                               "Re Power = 360.6e-3 Watts   Rc Power = 1.994 Watts",
                               "            Collector Dissipation = 2.165 Watts",
                               "For Rc = 0, Collector Dissipation = 4.159 Watts",
                               "                 Stability Factor = 10.02"}));
    w.apply("TxtRc=0 CmdCalc");
    EXPECT_EQ(w.list().at(0), "Ic = 30.11 mA  Ve = 11.86 Volts  Vc = 150.0 Volts");
    EXPECT_EQ(w.list().at(2), "Re Power = 360.6e-3 Watts   Rc Power = 0.000 Watts");
    EXPECT_EQ(w.list().at(3).substr(36), w.list().at(4).substr(36));
}

// Load New Design reads the resistors, supply and gain the bias design just
// wrote; they run at the design's point.
TEST(ChangeValues, LoadNewDesignAfterTheBiasDesign) {
    TestWindow w(biasDesign(), "CmdCalc");
    w.open(changeValues());
    w.apply("CmdClr CmdCalc");
    EXPECT_EQ(w.list().at(0), "Ic = 1.015 mA  Ve = 5.228 Volts  Vc = 14.85 Volts");
    EXPECT_EQ(w.form.number("TxtR1"), 200e3);
}

} // namespace
} // namespace ferrovane::testing
