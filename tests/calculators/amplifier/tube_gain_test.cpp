#include <cmath>
#include <tuple>

#include "calculators/amplifier/tube_gain.h"
#include "numeric/eng_text.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

// Rl = 1 M || 470 k = 319.7 k; not bypassed A = 100 Rl / (101 * 1.5 k + 80 k
// + Rl) = 58.00, 35.3 dB; bypassed A = 100 Rl / (80 k + Rl) = 79.99, 38.1 dB.
TEST(TubeGain, ExampleBothWays) {
    TestWindow w(tubeGain(), "Text4=1 CmdCalc");
    EXPECT_EQ(w.form.text("Image1"), "VT-T-UBY.GIF");
    EXPECT_EQ(w.form.text("Text4"), "1250"); // 100 / 80 k, in micromhos
    EXPECT_EQ(w.list(), (Texts{"      Gain = 58.00     ", "Gain in dB = 35.3"}));
    w.apply("Option3 CmdCalc");
    EXPECT_EQ(w.form.text("Image1"), "VT-T-BYP.GIF");
    EXPECT_EQ(w.list(), (Texts{"      Gain = 79.99     ", "Gain in dB = 38.1"}));
    EXPECT_TRUE(w.dialogs.shown.empty());
    // A pentode is given by gm: mu follows, and the other box is locked.
    w.apply("Option2 Text3=7 CmdCalc");
    EXPECT_EQ(w.form.text("Text3"), "100"); // 1250 umho * 80 k
    EXPECT_FALSE(w.form.enabled("Text3"));
    EXPECT_EQ(w.form.text("Image1"), "VT-P-BYP.GIF");
    w.apply("Option1 Text3=50 CmdCalc");
    EXPECT_EQ(w.form.text("Text4"), "625");
    EXPECT_FALSE(w.form.enabled("Text4"));
}

TEST(TubeGain, ResistorBoxesTakeStandardValues) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"Text5", "4.7k", "4.7 k", "4700"},       {"Text5", "1.2Meg", "1.2 M", "1200000"},
        {"Text5", "1.2M", "1.2 M", "1200000"},    {"Text5", "1234", "1.2 k", "1200"},
        {"Text6", "1 Meg", "1 M", "1000000"},     {"Text6", "abc", "", "0"},
        {"Text5", "  330 k ", "330 k", "330000"},
    };
    TestWindow w(tubeGain());
    for (const auto& [box, typed, text, ohms] : cases) {
        editBox(tubeGain(), w.form, w.env, box, typed);
        leaveBox(tubeGain(), w.form, w.env, box);
        EXPECT_EQ(w.shown({box, std::string(box) + "g"}), (Texts{text, ohms})) << typed;
    }
}

// Each grid resistor of the list, checked through the gain it gives a
// bypassed triode with Rb = 470 k: A = 100 Rl / (80 k + Rl).
TEST(TubeGain, DropDownValues) {
    const std::pair<const char*, double> items[] = {
        {"100 k", 100e3}, {"220 k", 220e3},   {"270 k", 270e3}, {"470 k", 470e3},
        {"1 Meg", 1e6},   {"3.3 Meg", 3.3e6}, {"10 Meg", 10e6}};
    TestWindow w(tubeGain(), "Option3");
    for (const auto& [item, ohms] : items) {
        chooseCombo(tubeGain(), w.form, w.env, "Combo1", item);
        w.calculate();
        const double rl = ohms * 470e3 / (ohms + 470e3);
        const double gain = 100 * rl / (80e3 + rl);
        EXPECT_NEAR(ReadNumber(w.list().at(0).substr(12)), gain, gain * 5e-4) << item;
    }
}

// Each message leaves the list as it was. A next grid resistor of 100 k
// lets a plate resistance of -50 k cancel Rl = 100 k || 100 k.
TEST(TubeGain, MessagesAndFaultsLeaveTheList) {
    const std::string allSet = "CmdClr Text2=1 Text3=1 Text4=1 Text5g=1 Text6g=1 ";
    const std::pair<std::string, std::string> cases[] = {
        {"Text2=0", "All data must be entered."},
        {"Text4=_", "All data must be entered."}, // gm is needed for a triode too
        {"Option3 Text5g=100000 Text2=-50000", numericFaultText("the gain's denominator is 0")},
        {"Text3=-100", numericFaultText("the gain is not positive, so it has no value in dB")},
        {allSet + "Option1 Option2", "Select cathode bypass condition."},
        {allSet + "Option3 Option4", "Select Triode or Pentode amplifier."},
        {allSet + "Option1 Option3", "Please select a value for the 'Following Stage Grid "
                                     "Resistor' from the dropdown list."},
    };
    for (const auto& [steps, message] : cases) {
        SCOPED_TRACE(steps);
        TestWindow w(tubeGain(), "CmdCalc");
        chooseCombo(tubeGain(), w.form, w.env, "Combo1", "100 k");
        w.apply(steps);
        const Texts list = w.list();
        w.press("CmdCalc");
        EXPECT_EQ(w.dialogs.texts(), Texts{message});
        EXPECT_EQ(w.list(), list);
    }
}

// The options are saved as one code (Triode 1, Pentode 2, bypassed 4, not
// bypassed 8); Clear leaves none and hides the picture.
TEST(TubeGain, OptionCodeRoundTrip) {
    const Texts options{"Option1", "Option2", "Option3", "Option4"};
    const std::pair<const char*, const char*> cases[] = {
        {"", "0"}, {"Option1 Option4", "9"}, {"Option2 Option3", "6"}, {"Option4", "8"}};
    for (const auto& [chosen, code] : cases) {
        SCOPED_TRACE(code);
        TestWindow w(tubeGain(), std::string("CmdClr ") + chosen);
        const Texts lines = w.close();
        ASSERT_EQ(lines.size(), 9u);
        EXPECT_EQ(TrimBlanks(lines[7]), code);
        w.open(tubeGain());
        Texts selected;
        for (const auto& o : options)
            if (w.form.selected(o))
                selected.push_back(o);
        EXPECT_EQ(selected, words(chosen));
        EXPECT_EQ(w.form.visible("Image1"), std::string(chosen) != "");
    }
}

} // namespace
} // namespace ferrovane::testing
