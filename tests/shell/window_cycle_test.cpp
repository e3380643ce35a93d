#include "shell/window_cycle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

#include "calculators/catalogue.h"
#include "shell/help_texts.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "support/test_window.h"

namespace ferrovane {
namespace {

using testing::ScriptedDialogs;
using testing::TempDir;

// A small calculator with one field of every kind, built only for these tests.
const Calculator& testCalculator() {
    static const Calculator calc = [] {
        Calculator c;
        c.form.name = "FormTest";
        c.form.caption = "Test";
        c.form.left = {BoxSpec{.name = "TxtA", .label = "A", .initial = "design"},
                       BoxSpec{.name = "TxtB", .label = "B"},
                       BoxSpec{.name = "TxtC", .label = "C", .labelName = "LblC"}};
        c.form.right = {GroupSpec{.name = "Mode",
                                  .caption = "Mode",
                                  .options = {{"OpOne", "One"}, {"OpTwo", "Two"}},
                                  .initial = 1},
                        CheckSpec{.name = "ChkD", .caption = "D"}};
        c.form.bottom = {HelpBoxSpec{.name = "Txt2QuickHelp"}};
        c.form.hoverHelp = HoverHelp{.box = "Txt2QuickHelp", .frame = "Frame2"};
        c.dataFile = "Test.dat";
        c.fields = {{FieldKind::Eng, "TxtA"},          {FieldKind::TypedOrZero, "TxtB"},
                    {FieldKind::Typed, "TxtC"},        {FieldKind::Option, "Mode"},
                    {FieldKind::OptionNumber, "Mode"}, {FieldKind::Value, "Held"}};
        c.clearBoxes = {"TxtA", "TxtB"};
        c.clearGroups = {"Mode"};
        // Option Two disables box C, as a calculator's option rules would.
        c.optionSelected = [](Form& f, CalcEnv&, const std::string& option) {
            f.setEnabled("TxtC", option != "OpTwo");
        };
        c.setUp = [](Form& f, CalcEnv&, bool flagRead) {
            f.setText("LblC", flagRead ? "C (file)" : "C (design)");
        };
        return c;
    }();
    return calc;
}

struct Cycle {
    TempDir tmp;
    DataDir dir{tmp.path()};
    ScriptedDialogs dialogs;
    CalcEnv env{dialogs, dir};
    const Calculator& calc = testCalculator();

    Form open() { return Form_Load(calc, env); }
};

// The fields are loaded as stored whatever the flag says; an unreadable flag
// is not an example and the window's set-up hears that it was not read.
TEST(FormLoad, FieldsAsStoredAndTheFlagInEverySpelling) {
    const struct {
        const char* flag;
        bool example, flagRead;
    } cases[] = {{"True", true, true}, {"TRUE", true, true}, {"false", false, true},
                 {"-1", true, true},   {"0", false, true},   {"maybe", false, false},
                 {"", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flag);
        Cycle t;
        t.tmp.write("TEST.DAT", c.flag + std::string("\r\n375.0e-3\r\n\r\nkeep as typed\r\n"
                                                     "2\r\n2\r\n42\r\n"));
        const Form f = t.open();
        EXPECT_EQ(f.exampleFlag(), c.example);
        EXPECT_EQ(f.text("CmdLoadData"), c.example ? "Load Example" : "Load Last Run");
        // The button that reloads names the example only while the window shows one.
        EXPECT_EQ(hoverHelpText(t.calc, f, "CmdLoadData"), c.example ? ExampleHelp : ReloadHelp);
        EXPECT_EQ(hoverHelpText(t.calc, f, "CmdClr"), ClearHelp);
        EXPECT_EQ(f.text("LblC"), c.flagRead ? "C (file)" : "C (design)");
        EXPECT_EQ(f.text("TxtA"), "375.0e-3");
        EXPECT_EQ(f.text("TxtB"), "");
        EXPECT_EQ(f.text("TxtC"), "keep as typed");
        // Selecting Two from the file ran its option rule, as a click would.
        EXPECT_TRUE(f.selected("OpTwo") && !f.enabled("TxtC"));
        EXPECT_EQ(f.value("Held"), 42);
        EXPECT_TRUE(t.dialogs.shown.empty());
    }
}

TEST(FormLoad, MissingOrShortFileKeepsTheDesignTextsSilently) {
    Cycle t;
    EXPECT_EQ(t.open().text("TxtA"), "design");
    t.tmp.write("Test.dat", "False\r\n5");
    const Form f = t.open();
    EXPECT_EQ(f.text("TxtA"), "5");
    EXPECT_EQ(f.text("TxtB"), "");
    EXPECT_FALSE(hoverHelpText(t.calc, f, "TxtA").has_value());
    // An option number outside the group leaves the group as it was.
    t.tmp.write("Test.dat", "False\r\n1\r\n2\r\n3\r\n7\r\n2.5\r\n");
    EXPECT_TRUE(t.open().selected("OpOne"));
    EXPECT_TRUE(t.dialogs.shown.empty());
}

// The flag and the fields come from one reading of the file, for the
// standard reader and for a calculator's own reader alike; Load after Clear
// brings the file back.
TEST(FormLoad, OneReadingOfTheFilePerLoad) {
    Cycle t;
    t.tmp.write("Test.dat", "True\r\n7\r\n");
    Calculator own = t.calc;
    own.loadFile = [](Form& f, CalcEnv&, const DataFields& fields) {
        f.setText("TxtB", fields ? std::to_string(fields->size()) : "none");
    };
    for (const Calculator* calc : {&t.calc, static_cast<const Calculator*>(&own)}) {
        const std::size_t before = t.dir.reads();
        Form f = Form_Load(*calc, t.env);
        EXPECT_EQ(t.dir.reads() - before, 1u);
        EXPECT_EQ(f.text("CmdLoadData"), "Load Example");
        CmdClr_Click(*calc, f, t.env);
        CmdLoadData_Click(*calc, f, t.env);
        EXPECT_EQ(t.dir.reads() - before, 2u);
        EXPECT_EQ(f.text(calc == &own ? "TxtB" : "TxtA"), calc == &own ? "2" : "7");
    }
}

TEST(Close, WritesEachFieldByItsKind) {
    Cycle t;
    Form f = t.open();
    f.setText("TxtA", "4700");
    f.setText("TxtC", " as typed ");
    selectOption(t.calc, f, t.env, "OpTwo");
    f.setValue("Held", 0.25);
    EXPECT_EQ(CmdClose_Click(t.calc, f, t.env), CloseOutcome::Saved);
    EXPECT_EQ(t.tmp.read("Test.dat"),
              "False\r\n 4.700e+3  \r\n0.00\r\n as typed \r\n2\r\n 2\r\n .25\r\n");
    // Non-numeric text saves as zero; a typed comma, which would end the field
    // early and shift the fields after it, ends the text there instead.
    f.setText("TxtA", "four");
    f.setText("TxtB", "0,5");
    f.setText("TxtC", "a,b");
    ASSERT_EQ(CmdClose_Click(t.calc, f, t.env), CloseOutcome::Saved);
    EXPECT_EQ(t.tmp.read("Test.dat"), "False\r\n 0.000     \r\n0\r\na\r\n2\r\n 2\r\n .25\r\n");
}

// A value beyond the engineering text's range, whose text reads back as 0,
// outlives any number of Close and reopen cycles of a real calculator; the
// fields in range are written as their engineering text, as ever.
TEST(Close, ValuesBeyondTheEngineeringRangeSurviveEveryCycle) {
    const struct {
        const char* typed;
        const char* firstLine; // the first Close
        const char* laterLine; // every Close after it
        double kept;
    } cases[] = {
        // Shown as 10.00e+12, which reads back one step above the range.
        {"9.9995e12", " 10.00e+12 ", " 10000000000000", 1e13},
        {"1e13", " 10000000000000", " 10000000000000", 1e13},
        {"1e300", " 1E+300", " 1E+300", 1e300},
        {"-1e20", "-1E+20", "-1E+20", -1e20},
    };
    const Calculator& reactance = findCalculator("reactance")->calculator();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        testing::TestWindow w(reactance, std::string("TxtFreq=") + c.typed + " TxtAngFreq=4700");
        for (int cycle = 1; cycle <= 4; ++cycle) {
            const testing::Texts lines = w.close();
            ASSERT_EQ(lines.size(), 7u);
            EXPECT_EQ(lines[1], cycle == 1 ? c.firstLine : c.laterLine) << cycle;
            EXPECT_EQ(lines[2], " 4.700e+3  ");
            EXPECT_EQ(std::strtod(lines[1].c_str(), nullptr), c.kept) << cycle;
            w.open(reactance);
            EXPECT_EQ(w.form.number("TxtAngFreq"), 4700);
        }
        EXPECT_EQ(w.form.number("TxtFreq"), c.kept);
    }
}

// The user's own change stays when the rule that follows it fails; what the
// rule changed is dropped and one message says why. Unknown names throw.
TEST(Handlers, TheUsersChangeIsKeptEvenWhenItsRuleFails) {
    Calculator calc = testCalculator();
    const Handler divide = [](Form& f, CalcEnv&) { f.setEng("TxtC", 1.0 / f.number("TxtA")); };
    calc.options["OpTwo"] = calc.checks["ChkD"] = calc.boxes["TxtA"] = divide;
    Cycle t;
    Form f = Form_Load(calc, t.env);
    editBox(calc, f, t.env, "TxtA", "0");
    selectOption(calc, f, t.env, "OpTwo");
    clickCheck(calc, f, t.env, "ChkD", true);
    EXPECT_EQ(f.text("TxtA"), "0");
    EXPECT_TRUE(f.selected("OpTwo") && f.checked("ChkD"));
    EXPECT_TRUE(f.enabled("TxtC")); // the catch-all after the failed rule did not run
    EXPECT_EQ(f.text("TxtC"), "");
    EXPECT_EQ(t.dialogs.shown.size(), 3u);
    editBox(calc, f, t.env, "TxtA", "2");
    EXPECT_EQ(f.text("TxtC"), " 500.0e-3  ");
    EXPECT_THROW(selectOption(calc, f, t.env, "OpNone"), std::out_of_range);
    EXPECT_THROW(editBox(calc, f, t.env, "TxtNone", ""), std::out_of_range);
}

// A frame the description declares hidden starts hidden, before any rule
// of the calculator runs; its neighbour starts shown.
TEST(MakeForm, AFrameDeclaredHiddenStartsHidden) {
    Calculator calc;
    auto hidden = std::make_shared<FrameSpec>(
        FrameSpec{.name = "FrameLater", .children = {BoxSpec{.name = "TxtLater"}}});
    hidden->visible = false;
    calc.form.left = {hidden, frame("FrameNow", "Now", Direction::Vertical, {})};
    const Form form = makeForm(calc);
    EXPECT_FALSE(form.visible("FrameLater"));
    EXPECT_TRUE(form.visible("FrameNow"));
}

} // namespace
} // namespace ferrovane
