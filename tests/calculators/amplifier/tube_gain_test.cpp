#include <cmath>

#include "calculators/amplifier/tube_gain.h"
#include "numeric/eng_text.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

const Texts kOptions{"Option1", "Option2", "Option3", "Option4"};

Texts selectedOptions(const Form& form) {
    Texts t;
    for (const auto& o : kOptions)
        if (form.selected(o))
            t.push_back(o);
    return t;
}

// Rl = 1 M || 470 k = 319.7 k; not bypassed A = 100 Rl / (101 * 1.5 k + 80 k
// + Rl) = 58.00, 35.3 dB; bypassed A = 100 Rl / (80 k + Rl) = 79.99, 38.1 dB.
TEST(TubeGain, ExampleBothWays) {
    TestWindow w(tubeGain());
    EXPECT_EQ(
        w.shown(
            {"Text2", "Text3", "Text4", "Combo1", "Text5", "Text5g", "Text6", "Text6g", "Text7"}),
        (Texts{"80000", "100", "1250", "1 Meg", "470 k", "470000", "1.5 k", "1500", "12AX7"}));
    EXPECT_EQ(selectedOptions(w.form), (Texts{"Option1", "Option4"}));
    EXPECT_EQ(w.form.text("Image1"), "VT-T-UBY.GIF");
    EXPECT_TRUE(w.form.visible("Image1"));
    EXPECT_FALSE(w.form.visible("Text5g") || w.form.visible("Text6g"));
    w.type({"Text4"}, "1");
    w.calculate();
    EXPECT_EQ(w.form.text("Text4"), "1250"); // 100 / 80 k, in micromhos
    EXPECT_EQ(w.list(), (Texts{"      Gain = 58.00     ", "Gain in dB = 35.3"}));
    w.apply("Option3 CmdCalc");
    EXPECT_EQ(w.form.text("Image1"), "VT-T-BYP.GIF");
    EXPECT_EQ(w.list(), (Texts{"      Gain = 79.99     ", "Gain in dB = 38.1"}));
    EXPECT_TRUE(w.dialogs.shown.empty());
}

TEST(TubeGain, ResistorBoxesTakeStandardValues) {
    struct Case {
        const char* box;
        const char* typed;
        const char* text;
        const char* ohms;
    };
    const Case cases[] = {
        {"Text5", "4.7k", "4.7 k", "4700"},
        {"Text5", "1.2Meg", "1.2 M", "1200000"},
        {"Text5", "1.2M", "1.2 M", "1200000"},
        {"Text5", "1234", "1.2 k", "1200"},
        {"Text6", "1 Meg", "1 M", "1000000"},
        {"Text6", "4.7k", "4.7 k", "4700"},
        {"Text6", "abc", "", "0"},
        {"Text5", "  330 k ", "330 k", "330000"},
    };
    TestWindow w(tubeGain());
    for (const Case& c : cases) {
        editBox(tubeGain(), w.form, w.env, c.box, c.typed);
        leaveBox(tubeGain(), w.form, w.env, c.box);
        EXPECT_EQ(w.form.text(c.box), c.text) << c.typed;
        EXPECT_EQ(w.form.text(std::string(c.box) + "g"), c.ohms) << c.typed;
    }
    w.calculate();
    EXPECT_EQ(w.dialogs.texts(), Texts{"All data must be entered."});
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
    chooseCombo(tubeGain(), w.form, w.env, "Combo1", "Select");
    const Texts list = w.list();
    w.calculate();
    EXPECT_EQ(w.dialogs.texts(), Texts{"Please select a value for the 'Following Stage Grid "
                                       "Resistor' from the dropdown list."});
    EXPECT_EQ(w.list(), list);
}

TEST(TubeGain, PentodeAndTriodeWriteEachOther) {
    TestWindow w(tubeGain(), "Option2 Text3=7 CmdCalc");
    EXPECT_EQ(w.form.text("Text3"), "100"); // 1250 umho * 80 k
    EXPECT_FALSE(w.form.enabled("Text3"));
    EXPECT_TRUE(w.form.enabled("Text4"));
    EXPECT_EQ(w.form.text("Image1"), "VT-P-UBY.GIF");
    w.apply("Option1 Text3=50 CmdCalc");
    EXPECT_EQ(w.form.text("Text4"), "625");
    EXPECT_TRUE(w.form.enabled("Text3"));
    EXPECT_FALSE(w.form.enabled("Text4"));
}

TEST(TubeGain, MessagesAndFaultsLeaveTheList) {
    const std::pair<const char*, std::string> cases[] = {
        {"Text2=0", "All data must be entered."},
        {"Text4=_", "All data must be entered."}, // gm is needed for a triode too
        // A plate resistance that cancels Rl = 100 k || 100 k when bypassed.
        {"Option3 Combo1=100 Text5g=100000 Text2=-50000",
         numericFaultText("the gain's denominator is 0")},
        {"Text3=-100", numericFaultText("the gain is not positive, so it has no value in dB")},
    };
    for (const auto& [steps, message] : cases) {
        TestWindow w(tubeGain(), "CmdCalc");
        const Texts list = w.list();
        std::string s = steps;
        if (s.find("Combo1") != std::string::npos) {
            chooseCombo(tubeGain(), w.form, w.env, "Combo1", "100 k");
            s.replace(s.find("Combo1=100 "), 11, "");
        }
        w.apply(s + " CmdCalc");
        EXPECT_EQ(w.dialogs.texts(), Texts{message}) << steps;
        EXPECT_EQ(w.list(), list) << steps;
    }
    for (const auto& [group, message] :
         {std::pair{"Option1 Option2", "Select cathode bypass condition."},
          std::pair{"Option3 Option4", "Select Triode or Pentode amplifier."}}) {
        TestWindow w(tubeGain(), "CmdClr Text2=1 Text3=1 Text4=1 Text5g=1 Text6g=1");
        w.apply(std::string(group) + " CmdCalc");
        EXPECT_EQ(w.dialogs.texts(), Texts{message});
    }
}

TEST(TubeGain, OptionCodeRoundTrip) {
    const std::pair<const char*, const char*> cases[] = {{"", "0"},
                                                         {"Option1 Option4", "9"},
                                                         {"Option2 Option3", "6"},
                                                         {"Option1", "1"},
                                                         {"Option4", "8"}};
    for (const auto& [options, code] : cases) {
        TestWindow w(tubeGain(), std::string("CmdClr ") + options);
        const Texts lines = w.close();
        ASSERT_EQ(lines.size(), 9u);
        EXPECT_EQ(TrimBlanks(lines[7]), code);
        w.open(tubeGain());
        EXPECT_EQ(selectedOptions(w.form), words(options)) << code;
        EXPECT_EQ(w.form.visible("Image1"), std::string(options) != "") << code;
    }
}

TEST(TubeGain, ClearAndTheDeadButtons) {
    TestWindow w(tubeGain(), "CmdCalc");
    const Form before = w.form;
    w.press("Command1");
    w.press("Command2");
    EXPECT_EQ(w.form, before);
    w.clear();
    EXPECT_EQ(w.shown({"Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text5g", "Text6g",
                       "Combo1"}),
              words("_ _ _ _ _ _ _ _ Select"));
    EXPECT_TRUE(w.list().empty());
    EXPECT_TRUE(selectedOptions(w.form).empty());
    EXPECT_FALSE(w.form.visible("Image1"));
    EXPECT_EQ(w.close(), (Texts{"False", "", "", "", "Select", "", "", " 0", ""}));
}

} // namespace
} // namespace ferrovane::testing
