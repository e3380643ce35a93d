#include "calculators/rf/vswr_meter.h"

#include <gtest/gtest.h>

#include <complex>
#include <random>

#include "numeric/eng_text.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

const Texts kBoxes = {"TxtData(0)", "TxtData(1)", "TxtData(2)", "TxtData(3)"};
const Texts kCaptions = {"Text1(0)", "Text1(1)", "Text3(1)"};

// The example, and a matched load. Then the meter: Rp = 75 in parallel with
// Cp = -15 pF at 21.25 MHz, Xp = 1 / (w 15 pF) = 499.3 ohms inductive, in
// series R = 73.35 and X = +11.02.
TEST(VswrMeter, ExampleMatchedLoadAndMeterReadings) {
    TestWindow w(vswrMeter(), "CmdCalc");
    EXPECT_EQ(w.list(), (Texts{"Z = 75.00 - j 15.00 ohms", "    or",
                               "Z = 76.49 ohms /_-11.3 degrees", "VSWR = 1.221 to 1"}));
    w.apply("TxtData(1)=0 CmdCalc");
    EXPECT_EQ(w.list(), (Texts{"Z = 75.00 + j 0.000 ohms", "    or", "Z = 75.00 ohms /_ 0 degrees",
                               "VSWR = 1.000 to 1"}));
    w.apply("TxtData(1)=-15 Option2 CmdCalc");
    EXPECT_EQ(w.shown(kCaptions),
              (Texts{"Resistance Reading, Rp", "Capacitance Reading, Cp", "Picofarads"}));
    EXPECT_EQ(w.list().at(0), "Z = 73.35 + j 11.02 ohms");
    EXPECT_EQ(w.list().at(2), "Z = 74.17 ohms /_ 8.5 degrees");
    w.select("Option1");
    EXPECT_EQ(w.shown(kCaptions), (Texts{"Resistance, R", "Reactance, jX", "Ohms"}));
}

// For random loads the VSWR agrees with (1 + |G|) / (1 - |G|), G = (Z - Zo)
// / (Z + Zo) in complex doubles, and is at least 1.
TEST(VswrMeter, RandomLoadsAgreeWithTheReflectionCoefficient) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> r(0.5, 2000), x(-2000, 2000), zo(10, 600);
    TestWindow w(vswrMeter());
    for (int i = 0; i < 300; ++i) {
        const std::complex<double> z(r(rng), x(rng));
        const double line = zo(rng);
        w.type(kBoxes,
               PlainNumber(z.real()) + " " + PlainNumber(z.imag()) + " 1e6 " + PlainNumber(line));
        w.press("CmdCalc");
        const double g = std::abs((z - line) / (z + line));
        const double vswr = ReadNumber(w.list().at(3).substr(7));
        EXPECT_GE(vswr, 1);
        EXPECT_NEAR(vswr, (1 + g) / (1 - g), (1 + g) / (1 - g) * 1e-3) << z << " on " << line;
    }
    EXPECT_TRUE(w.dialogs.shown.empty());
}

TEST(VswrMeter, UnusableInputsLeaveTheForm) {
    const std::string noR =
        "The load's resistance is zero: its angle and its VSWR cannot be found.";
    const std::string noF = "The frequency and the capacitance reading must not be zero.";
    const std::pair<std::string, std::string> cases[] = {
        {"TxtData(0)=0", noR},
        {"TxtData(3)=", "The line impedance Zo must not be zero."},
        {"Option2 TxtData(2)=0", noF},
        {"Option2 TxtData(1)=0", noF},
        {"Option2 TxtData(0)=0", noR},
        {"TxtData(0)=-75", "The load reflects all the power (reflection coefficient 1 or more): "
                           "the VSWR is not finite."},
    };
    for (const auto& [steps, message] : cases) {
        SCOPED_TRACE(steps);
        TestWindow w(vswrMeter(), "CmdCalc " + steps);
        const Form before = w.form;
        w.press("CmdCalc");
        EXPECT_EQ(w.dialogs.texts(), Texts{message});
        EXPECT_TRUE(w.form == before);
    }
    TestWindow none(vswrMeter(), "CmdCalc", Examples::None);
    EXPECT_EQ(none.dialogs.texts(),
              Texts{"Choose the form of the load impedance: R + jX or RX Meter Readings."});
}

// Clear keeps the line impedance; Close writes the numbers as trimmed texts.
TEST(VswrMeter, ClearKeepsZoAndFileRoundTrip) {
    TestWindow w(vswrMeter(), "CmdCalc CmdClr");
    EXPECT_EQ(w.shown(kBoxes), (Texts{"", "", "", "75.00"}));
    EXPECT_TRUE(w.list().empty());
    w.apply("TxtData(0)=50 TxtData(2)=1.8e6");
    EXPECT_EQ(w.close(), (Texts{"False", "50.00", "0.000", "1.800e+6", "75.00", "1"}));
    w.open(vswrMeter());
    EXPECT_EQ(w.shown(kBoxes), (Texts{"50.00", "0.000", "1.800e+6", "75.00"}));
}

} // namespace
} // namespace ferrovane::testing
