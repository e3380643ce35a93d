#include "calculators/passive/wavelength.h"

#include <gtest/gtest.h>

#include "support/test_window.h"

namespace ferrovane {
namespace {

using testing::TestWindow;
using testing::Texts;

// Half a wave at 7.25 MHz with a factor of .98: .5 * .98 * 3e8 / 7.25e6 m =
// 20.2758620689655 m = 66.52 ft, saved in hertz and metres whatever is shown.
TEST(Wavelength, ExampleHalfWaveConvertsUnitsAndSavesFullPrecision) {
    TestWindow w(wavelength());
    EXPECT_EQ(w.shown({"TxtFreq", "Text5", "TxtFeet", "TxtInch"}),
              (Texts{" 7.250e+3  ", "kHz", "0", "0"}));
    w.calculate();
    EXPECT_EQ(w.shown({"TxtFeet", "TxtInch"}), (Texts{"66", "6"}));
    w.apply("OpMeters");
    EXPECT_EQ(w.form.text("TxtFeet"), " 20.28     ");
    w.apply("OpFeet OpMc OpCy");
    EXPECT_EQ(w.form.text("TxtFeet"), " 66.52     ");
    const Texts saved = {"False", " 7250000", " 20.2758620689655", ".5", ".98", " 1", " 2"};
    EXPECT_EQ(w.close(), saved);
    w.open(wavelength());
    EXPECT_EQ(w.shown({"CmdLoadData", "TxtFreq", "TxtFeet"}),
              (Texts{"Load Last Run", " 7.250e+6  ", " 66.52     "}));
    EXPECT_EQ(w.close(), saved);
}

TEST(Wavelength, CalculateSolvesForWhicheverOfFrequencyAndLengthIsMissing) {
    // .25 * .66 * 3e8 / 146e6 = .3390 m
    TestWindow quarter(wavelength(),
                       "OpMc OpMeters TxtFreq=146 TxtFraction=.25 TxtFactor=.66 CmdCalc");
    EXPECT_EQ(quarter.form.text("TxtFeet"), " 339.0e-3  ");
    // 3.99 ft = 1.216152 m gives 120.9 MHz; .99 ft = 11.88 inches, shown as 12.
    TestWindow feet(wavelength(), "OpFeet TxtFreq= TxtFeet=3.99 CmdCalc OpFeetInch");
    EXPECT_EQ(feet.shown({"TxtFreq", "TxtFeet", "TxtInch"}), (Texts{" 120.9e+3  ", "3", "12"}));
    // A full wave at 7.25 MHz: 3e8 / 7.25e6 = 41.38 m = 135 ft 9 in.
    TestWindow full(wavelength(), "TxtFraction= TxtFactor=abc CmdCalc");
    EXPECT_EQ(full.shown({"TxtFraction", "TxtFactor", "TxtFeet", "TxtInch"}),
              (Texts{"1.0", "1.0", "135", "9"}));
}

TEST(Wavelength, BothGivenComputeNothingAndNeitherAsksForOne) {
    TestWindow w(wavelength(), "TxtFeet=10");
    const Form before = w.form;
    ASSERT_TRUE(w.calculate());
    EXPECT_TRUE(w.form == before);
    w.apply("TxtFeet=0 TxtFreq= CmdCalc");
    ASSERT_EQ(w.dialogs.texts(), Texts{"Enter a frequency or a length."});
    EXPECT_EQ(w.dialogs.shown[0].icon, MessageIcon::None);
}

// Close keeps what the boxes show when the user typed over them, in their
// units; a box that reads zero saves zero.
TEST(Wavelength, CloseSavesTypedValues) {
    // 66 ft 6 in = 20.2692 m, typed while no length is stored
    EXPECT_EQ(TestWindow(wavelength(), "TxtFeet=66 TxtInch=6").close().at(2), " 20.2692");
    EXPECT_EQ(TestWindow(wavelength(), "TxtFreq=14100").close().at(1), " 14100000"); // kHz
    EXPECT_EQ(TestWindow(wavelength(), "TxtFreq=0").close().at(1), " 0");
}

} // namespace
} // namespace ferrovane
