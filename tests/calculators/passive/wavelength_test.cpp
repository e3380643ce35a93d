#include "calculators/passive/wavelength.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "numeric/eng_text.h"
#include "shell/example_files.h"
#include "shell/window_cycle.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace ferrovane {
namespace {

using testing::ScriptedDialogs;
using testing::TempDir;
using Lines = std::vector<std::string>;

// Half a wave at 7.25 MHz with a factor of 0.98: 0.5 * 0.98 * 3e8 / 7.25e6 m.
constexpr double kExampleMetres = 20.275862068965517;

class WavelengthTest : public ::testing::Test {
protected:
    WavelengthTest() { RestoreExamples(dir); }

    void open() { form = Form_Load(calc, env); }
    void select(const std::string& option) { selectOption(calc, form, env, option); }
    void type(const std::string& box, const std::string& text) {
        editBox(calc, form, env, box, text);
    }
    bool calculate() { return CmdCalc_Click(calc, form, env); }
    Lines closeAndRead() {
        EXPECT_EQ(CmdClose_Click(calc, form, env), CloseOutcome::Saved);
        return *dir.readLines("Wave.dat");
    }

    const Calculator& calc = wavelength();
    TempDir tmp;
    DataDir dir{tmp.path()};
    ScriptedDialogs dialogs;
    CalcEnv env{dialogs, dir};
    Form form;
};

TEST_F(WavelengthTest, ExampleOpensInKilohertzAndFeetAndInches) {
    open();
    EXPECT_EQ(form.text("CmdLoadData"), "Load Example");
    EXPECT_EQ(form.text("TxtFreq"), " 7.250e+3  ");
    EXPECT_EQ(form.text("Text5"), "kHz");
    EXPECT_TRUE(form.selected("Opkc"));
    EXPECT_TRUE(form.selected("OpFeetInch"));
    EXPECT_EQ(form.text("TxtFeet"), "0");
    EXPECT_EQ(form.text("TxtInch"), "0");
    EXPECT_EQ(form.text("Text3"), "Feet");
    EXPECT_TRUE(form.visible("TxtInch"));
    EXPECT_TRUE(form.visible("Text4"));
    EXPECT_EQ(form.text("TxtFraction"), ".5");
    EXPECT_EQ(form.text("TxtFactor"), ".98");
    EXPECT_EQ(form.value("FreqHz"), 7250000);
    EXPECT_EQ(form.value("LengthM"), 0);
}

TEST_F(WavelengthTest, ExampleGivesHalfWaveAndUnitsConvertIt) {
    open();
    ASSERT_TRUE(calculate());
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_DOUBLE_EQ(form.value("LengthM"), kExampleMetres);
    EXPECT_EQ(form.value("FreqHz"), 7250000);
    EXPECT_EQ(form.text("TxtFeet"), "66");
    EXPECT_EQ(form.text("TxtInch"), "6");

    select("OpMeters");
    EXPECT_EQ(form.text("TxtFeet"), " 20.28     ");
    EXPECT_EQ(form.text("Text3"), "Meters");
    EXPECT_FALSE(form.visible("TxtInch"));
    EXPECT_FALSE(form.visible("Text4"));
    select("OpFeet");
    EXPECT_EQ(form.text("TxtFeet"), " 66.52     ");
    EXPECT_EQ(form.text("Text3"), "Feet");
    EXPECT_FALSE(form.visible("TxtInch"));

    select("OpMc");
    EXPECT_EQ(form.text("TxtFreq"), " 7.250     ");
    EXPECT_EQ(form.text("Text5"), "MHz");
    select("OpCy");
    EXPECT_EQ(form.text("TxtFreq"), " 7.250e+6  ");
    EXPECT_EQ(form.text("Text5"), "Hertz");
}

TEST_F(WavelengthTest, QuarterWaveCoaxAt146MegahertzInMetres) {
    open();
    select("OpMc");
    select("OpMeters");
    type("TxtFreq", "146");
    type("TxtFeet", "0");
    type("TxtFraction", ".25");
    type("TxtFactor", ".66");
    ASSERT_TRUE(calculate());
    // 0.25 * 0.66 * 3e8 / 146e6 = 0.33904 m
    EXPECT_EQ(form.text("TxtFeet"), " 339.0e-3  ");
    EXPECT_EQ(form.value("FreqHz"), 146e6);
    EXPECT_EQ(form.text("TxtFreq"), "146");
}

TEST_F(WavelengthTest, LengthGivenFindsTheFrequency) {
    open();
    // 3.99 ft = 1.216152 m; 0.5 * 0.98 * 3e8 / 1.216152 = 120.873 MHz.
    select("OpFeet");
    type("TxtFreq", "");
    type("TxtFeet", "3.99");
    ASSERT_TRUE(calculate());
    EXPECT_EQ(form.text("TxtFreq"), " 120.9e+3  ");
    EXPECT_EQ(form.text("TxtFeet"), "3.99");
    EXPECT_DOUBLE_EQ(form.value("LengthM"), 1.216152);
    // The inches, 0.99 * 12 = 11.88, round up to a full 12.
    select("OpFeetInch");
    EXPECT_EQ(form.text("TxtFeet"), "3");
    EXPECT_EQ(form.text("TxtInch"), "12");

    // Feet and inches: 66 ft 6 in = 20.2692 m, 147e6 / 20.2692 = 7.2524 MHz.
    type("TxtFreq", "0");
    type("TxtFeet", "66");
    type("TxtInch", "6");
    ASSERT_TRUE(calculate());
    EXPECT_EQ(form.text("TxtFreq"), " 7.252e+3  ");
    EXPECT_DOUBLE_EQ(form.value("LengthM"), 20.2692);
}

TEST_F(WavelengthTest, EmptyFractionAndFactorAreTakenAsOne) {
    open();
    type("TxtFraction", "");
    type("TxtFactor", "abc");
    ASSERT_TRUE(calculate());
    EXPECT_EQ(form.text("TxtFraction"), "1.0");
    EXPECT_EQ(form.text("TxtFactor"), "1.0");
    // A full wave at 7.25 MHz: 3e8 / 7.25e6 = 41.379 m = 135.759 ft.
    EXPECT_EQ(form.text("TxtFeet"), "135");
    EXPECT_EQ(form.text("TxtInch"), "9");
}

TEST_F(WavelengthTest, FrequencyAndLengthBothGivenComputeNothing) {
    open();
    type("TxtFeet", "10");
    const Form before = form;
    ASSERT_TRUE(calculate());
    EXPECT_TRUE(form == before);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WavelengthTest, NeitherFrequencyNorLengthAsksForOne) {
    open();
    type("TxtFreq", "");
    type("TxtFraction", "");
    ASSERT_TRUE(calculate());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Enter a frequency or a length.");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::Ok);
    // The fraction is settled before the check, as the user sees it.
    EXPECT_EQ(form.text("TxtFraction"), "1.0");
    EXPECT_EQ(form.value("FreqHz"), 7250000);
    EXPECT_EQ(form.value("LengthM"), 0);
}

TEST_F(WavelengthTest, ResultsThatAreNotFiniteChangeNothingAndSaySoOnce) {
    open();
    struct Case {
        const char* why;
        const char* freq;
        const char* feet;
        const char* inch;
    };
    // 1 ft less 12 in is no length at all; 1e999 kHz cannot be held.
    for (const Case& c : {Case{"zero length", "", "1", "-12"}, Case{"huge", "1e999", "0", "0"}}) {
        SCOPED_TRACE(c.why);
        type("TxtFreq", c.freq);
        type("TxtFeet", c.feet);
        type("TxtInch", c.inch);
        dialogs.shown.clear();
        const Form before = form;
        EXPECT_FALSE(calculate());
        EXPECT_TRUE(form == before);
        EXPECT_EQ(dialogs.shown.size(), 1u);
    }
}

TEST_F(WavelengthTest, ClearReturnsToHertzAndMetresAndKeepsTheStoredValues) {
    open();
    ASSERT_TRUE(calculate());
    CmdClr_Click(calc, form, env);
    EXPECT_TRUE(form.selected("OpCy"));
    EXPECT_TRUE(form.selected("OpMeters"));
    EXPECT_EQ(form.text("Text5"), "Hertz");
    EXPECT_EQ(form.text("Text3"), "Meters");
    EXPECT_FALSE(form.visible("TxtInch"));
    for (const char* box : {"TxtFreq", "TxtFeet", "TxtFraction", "TxtFactor"})
        EXPECT_EQ(form.text(box), "") << box;
    EXPECT_EQ(form.value("FreqHz"), 7250000);
    EXPECT_DOUBLE_EQ(form.value("LengthM"), kExampleMetres);

    // Cleared boxes are saved as zero.
    EXPECT_EQ(closeAndRead(), (Lines{"False", " 0", " 0", "", "", " 1", " 1"}));
}

TEST_F(WavelengthTest, StoredUnitsAreShownWhateverTheFileSays) {
    struct Case {
        const char* freqUnit;
        const char* lengthUnit;
        const char* freqShown;
        const char* lengthShown;
        const char* freqOption;
        const char* lengthOption;
    };
    const Case cases[] = {
        {"1", "1", " 7.250e+6  ", " 20.28     ", "OpCy", "OpMeters"},
        {"3", "2", " 7.250     ", " 66.52     ", "OpMc", "OpFeet"},
        // A number that is no unit leaves the last unit of the cycling.
        {"7", "0", " 7.250     ", "66", "OpMc", "OpFeetInch"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.freqUnit) + " " + c.lengthUnit);
        ASSERT_TRUE(dir.writeLines("Wave.dat", {"False", " 7250000", " 20.2758620689655", ".5",
                                                ".98", c.freqUnit, c.lengthUnit}));
        open();
        EXPECT_EQ(form.text("TxtFreq"), c.freqShown);
        EXPECT_EQ(form.text("TxtFeet"), c.lengthShown);
        EXPECT_TRUE(form.selected(c.freqOption));
        EXPECT_TRUE(form.selected(c.lengthOption));
        EXPECT_EQ(form.text("CmdLoadData"), "Load Last Run");
    }
}

TEST_F(WavelengthTest, ShortOrMissingFileOpensInHertzAndMetres) {
    ASSERT_TRUE(dir.writeLines("Wave.dat", {"True", "146000000"}));
    open();
    EXPECT_EQ(form.text("TxtFreq"), "146000000");
    EXPECT_EQ(form.value("FreqHz"), 146e6);
    EXPECT_TRUE(form.selected("OpCy"));
    EXPECT_TRUE(form.selected("OpMeters"));
    EXPECT_EQ(form.text("Text5"), "Hertz");
    EXPECT_EQ(form.text("Text3"), "Meters");
    EXPECT_EQ(form.text("TxtFeet"), " 0.000     ");
    EXPECT_FALSE(form.visible("TxtInch"));

    // Up to the factor: the frequency units have been cycled, the length not.
    ASSERT_TRUE(dir.writeLines("Wave.dat", {"True", "146000000", ".339", ".25", ".66"}));
    open();
    EXPECT_TRUE(form.selected("OpMc"));
    EXPECT_EQ(form.text("TxtFreq"), " 146.0     ");
    EXPECT_TRUE(form.selected("OpMeters"));
    EXPECT_EQ(form.text("TxtFeet"), ".339");
    EXPECT_EQ(form.text("TxtFactor"), ".66");

    std::filesystem::remove(dir.resolve("Wave.dat"));
    open();
    EXPECT_EQ(form.text("TxtFreq"), " 0.000     ");
    EXPECT_EQ(form.text("TxtFeet"), " 0.000     ");
    EXPECT_EQ(form.text("Text5"), "Hertz");
    EXPECT_EQ(form.text("Text3"), "Meters");
    EXPECT_FALSE(form.visible("TxtInch"));
    EXPECT_EQ(form.text("CmdLoadData"), "Load Last Run");
}

TEST_F(WavelengthTest, CloseWritesPlainNumbersAndReopensTheSame) {
    open();
    ASSERT_TRUE(calculate());
    EXPECT_EQ(closeAndRead(),
              (Lines{"False", " 7250000", " 20.2758620689655", ".5", ".98", " 2", " 3"}));
    open();
    EXPECT_EQ(form.text("CmdLoadData"), "Load Last Run");
    EXPECT_EQ(form.text("TxtFreq"), " 7.250e+3  ");
    EXPECT_EQ(form.text("TxtFeet"), "66");
    EXPECT_EQ(form.text("TxtInch"), "6");
    // The file holds fifteen significant digits.
    EXPECT_EQ(form.value("LengthM"), 20.2758620689655);
    EXPECT_EQ(closeAndRead(),
              (Lines{"False", " 7250000", " 20.2758620689655", ".5", ".98", " 2", " 3"}));
}

TEST_F(WavelengthTest, CloseSavesWhatTheBoxesShow) {
    // A length typed while none is stored is kept: 66.5 ft = 20.2692 m.
    open();
    type("TxtFeet", "66");
    type("TxtInch", "6");
    EXPECT_EQ(closeAndRead()[2], " 20.2692");

    // A frequency typed over a stored one is kept, in its unit.
    open();
    ASSERT_EQ(form.value("FreqHz"), 7250000);
    type("TxtFreq", "14100");
    EXPECT_EQ(closeAndRead()[1], " 14100000");

    // A length typed over a stored one, in metres.
    open();
    select("OpMeters");
    type("TxtFeet", "10.5");
    EXPECT_EQ(closeAndRead()[2], " 10.5");

    // A box typed to zero saves zero.
    open();
    type("TxtFreq", "0");
    EXPECT_EQ(closeAndRead()[1], " 0");
}

TEST_F(WavelengthTest, SwitchingUnitsThenClosingKeepsFullPrecision) {
    open();
    ASSERT_TRUE(calculate());
    select("OpMeters");
    select("OpFeet");
    select("OpMc");
    select("OpCy");
    // The boxes show 66.52 ft and 7.250e+6 Hz; the stored values are saved.
    EXPECT_EQ(closeAndRead(),
              (Lines{"False", " 7250000", " 20.2758620689655", ".5", ".98", " 1", " 2"}));
}

TEST_F(WavelengthTest, UntouchedFeetAndInchesKeepALengthUnderOneFoot) {
    // 0.1524 m shows as 0 feet 6 inches; the shown length is not zero.
    ASSERT_TRUE(
        dir.writeLines("Wave.dat", {"False", " 7250000", " .1524", ".5", ".98", " 2", " 3"}));
    open();
    EXPECT_EQ(form.text("TxtFeet"), "0");
    EXPECT_EQ(form.text("TxtInch"), "6");
    EXPECT_EQ(closeAndRead()[2], " .1524");
}

} // namespace
} // namespace ferrovane
