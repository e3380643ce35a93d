#include "shell/box_reading.h"

#include <gtest/gtest.h>

#include "shell/window_cycle.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace ferrovane {
namespace {

// Each kind of box takes its text by its own rule; the hint names only what
// that rule leaves out, and a text without any number the rule could read is
// one the fault message names.
TEST(BoxReading, TheHintFollowsTheBoxsOwnRule) {
    using enum BoxReading;
    const struct {
        BoxReading reading;
        const char* text;
        const char* hint; // nullptr: no mark
        bool noNumber;
    } cases[] = {
        {Number, "4.7k", "Read as 4.7: the rest (\"k\") is ignored.", false},
        {Number, "abc", "Read as 0: the rest (\"abc\") is ignored.", true},
        {Number, "4.7", nullptr, false},
        {Number, "  ", nullptr, false},
        {Number, "", nullptr, false},
        {Number, "*", "Read as 0: the rest (\"*\") is ignored.", true},
        {SuffixedOhms, "470 k", nullptr, false},
        {SuffixedOhms, "1.2Meg", nullptr, false},
        {SuffixedOhms, "1.2M", nullptr, false},
        {SuffixedOhms, " 1234 ", nullptr, false},
        {SuffixedOhms, "4.7 kx", "Read as 4.7: the rest (\"kx\") is ignored.", false},
        {SuffixedOhms, "4.7xk", "Read as 4700: the rest (\"x\") is ignored.", false},
        {SuffixedOhms, "2 mEG", "Read as 2: the rest (\"mEG\") is ignored.", false},
        {SuffixedOhms, "k", "Read as 0: the rest (\"k\") is ignored.", true},
        {FreeText, "12AX7", nullptr, false},
        {FreeText, "abc", nullptr, false},
        {NumberOrStar, "*", nullptr, false},
        {NumberOrStar, " * ", nullptr, false},
        {NumberOrStar, "**", "Read as 0: the rest (\"**\") is ignored.", true},
        {NumberOrStar, "100p", "Read as 100: the rest (\"p\") is ignored.", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(boxReadingHint(c.reading, c.text),
                  c.hint ? std::optional<std::string>(c.hint) : std::nullopt);
        EXPECT_EQ(holdsNoNumber(c.reading, c.text), c.noNumber);
    }
    // Every kind says how it reads, each in its own words.
    EXPECT_NE(readingRule(Number), readingRule(SuffixedOhms));
    EXPECT_NE(readingRule(FreeText), readingRule(NumberOrStar));
}

// A window with a box of each situation: only those a user can type in now
// are named, by the caption the window shows, in the window's order.
Calculator namingCalculator() {
    Calculator c;
    BoxSpec free{.name = "TxtType", .label = "Tube Type"};
    free.reading = BoxReading::FreeText;
    BoxSpec star{.name = "TxtCap", .accessibleName = "Branch 1 capacitor"};
    star.reading = BoxReading::NumberOrStar;
    auto hidden = std::make_shared<FrameSpec>(
        FrameSpec{.name = "FrameOther", .children = {BoxSpec{.name = "TxtOther", .label = "O"}}});
    hidden->visible = false;
    c.form.left = {box("TxtF", "Frequency, (0 to enter Omega), F", "Hz"),
                   box("TxtMu", "Amplification Factoe,\nfor Triodes", ""),
                   box("TxtC", "", "", "", "LblC"),
                   free,
                   star,
                   box("TxtU", "", "Volts"),
                   hidden,
                   BoxSpec{.name = "TxtOut", .label = "Result", .readOnly = true},
                   BoxSpec{.name = "TxtOff", .label = "Off", .enabled = false}};
    c.calculate = [](Form& f, CalcEnv&) { f.setEng("TxtOut", 1 / f.number("TxtF")); };
    return c;
}

TEST(BoxReading, AFaultNamesTheBoxesThatHeldNoNumber) {
    const Calculator calc = namingCalculator();
    testing::TempDir tmp;
    DataDir dir(tmp.path());
    testing::ScriptedDialogs dialogs;
    CalcEnv env{dialogs, dir};
    Form form = makeForm(calc);
    form.setText("LblC", "Coupling,");
    for (const char* name : {"TxtType", "TxtOther", "TxtOut", "TxtOff"})
        form.setText(name, "abc");
    form.setText("TxtCap", "*");
    const std::string fault = "these values cannot be calculated (a result is not a finite "
                              "number).  Nothing has been changed.";
    const struct {
        std::vector<std::pair<const char*, const char*>> typed;
        std::string message;
    } cases[] = {
        {{{"TxtF", "0"}},
         "These values cannot be calculated (a result is not a finite "
         "number).  Nothing has been changed."},
        {{{"TxtF", "abc"}}, "Frequency, (0 to enter Omega), F \"abc\" was read as 0, so " + fault},
        {{{"TxtF", "kHz"}, {"TxtMu", "mu"}},
         "Frequency, (0 to enter Omega), F \"kHz\" and Amplification Factoe, for Triodes "
         "\"mu\" were read as 0, so " +
             fault},
        {{{"TxtF", ""}, {"TxtMu", ""}, {"TxtC", "?"}, {"TxtU", "V"}},
         "Coupling \"?\" and Volts \"V\" were read as 0, so " + fault},
        {{{"TxtC", ""}, {"TxtU", ""}, {"TxtCap", "none at all, not even one: a long answer, cut"}},
         "Branch 1 capacitor \"none at all, not even one: a long answer...\" was read as 0, "
         "so " +
             fault},
    };
    for (const auto& c : cases) {
        for (const auto& [name, text] : c.typed)
            form.setText(name, text);
        const Form before = form;
        EXPECT_FALSE(CmdCalc_Click(calc, form, env));
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown.back().text, c.message);
        EXPECT_EQ(form, before);
        dialogs.shown.clear();
    }
}

} // namespace
} // namespace ferrovane
