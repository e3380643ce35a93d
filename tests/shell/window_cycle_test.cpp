#include "shell/window_cycle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <stdexcept>

#include "shell/help_texts.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

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
        c.form.bottom = {ListSpec{.name = "LstOut"}, HelpBoxSpec{.name = "Txt2QuickHelp"}};
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
        c.calculate = [](Form& f, CalcEnv& env) {
            f.list("LstOut").push_back("started");
            f.setValue("Held", f.number("TxtA") * 2);
            // 1 / A: a zero A is a fault the calculator does not guard.
            f.setEng("TxtB", 1.0 / f.number("TxtA"));
            env.dialogs.say("done");
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

TEST(FormLoad, ExampleFileShowsTextsAsStoredAndLoadExample) {
    Cycle t;
    t.tmp.write("TEST.DAT", "True\r\n375.0e-3\r\n\r\nkeep as typed\r\n2\r\n2\r\n42\r\n");
    const Form f = t.open();
    EXPECT_TRUE(f.exampleFlag());
    EXPECT_EQ(f.text("CmdLoadData"), "Load Example");
    EXPECT_EQ(f.text("TxtA"), "375.0e-3");
    EXPECT_EQ(f.text("TxtB"), "");
    EXPECT_EQ(f.text("TxtC"), "keep as typed");
    // Selecting Two from the file ran its option rule, as a click would.
    EXPECT_TRUE(f.selected("OpTwo"));
    EXPECT_FALSE(f.enabled("TxtC"));
    EXPECT_EQ(f.value("Held"), 42);
    EXPECT_EQ(f.text("LblC"), "C (file)");
    EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST(FormLoad, FlagSpellingsAndUnreadableFlags) {
    struct Case {
        const char* firstLine;
        bool example;
        bool flagRead;
    };
    for (const Case& c :
         {Case{"TRUE", true, true}, Case{"false", false, true}, Case{"-1", true, true},
          Case{"0", false, true}, Case{"maybe", false, false}, Case{"", false, false}}) {
        Cycle t;
        t.tmp.write("Test.dat", std::string(c.firstLine) + "\r\n1\r\n");
        const Form f = t.open();
        EXPECT_EQ(f.exampleFlag(), c.example) << c.firstLine;
        EXPECT_EQ(f.text("CmdLoadData"), c.example ? "Load Example" : "Load Last Run");
        EXPECT_EQ(f.text("LblC"), c.flagRead ? "C (file)" : "C (design)") << c.firstLine;
        // The fields are loaded whatever the flag says.
        EXPECT_EQ(f.text("TxtA"), "1");
    }
}

TEST(FormLoad, MissingOrShortFileKeepsTheDesignTextsSilently) {
    Cycle t;
    Form f = t.open();
    EXPECT_EQ(f.text("TxtA"), "design");
    EXPECT_EQ(f.text("CmdLoadData"), "Load Last Run");

    t.tmp.write("Test.dat", "False\r\n5");
    f = t.open();
    EXPECT_EQ(f.text("TxtA"), "5");
    EXPECT_EQ(f.text("TxtB"), "");
    EXPECT_TRUE(t.dialogs.shown.empty());

    // An option number outside the group leaves the group as it was.
    t.tmp.write("Test.dat", "False\r\n1\r\n2\r\n3\r\n7\r\n2.5\r\n");
    EXPECT_TRUE(t.open().selected("OpOne"));
}

// The flag and the fields come from one reading of the file, for the
// standard reader and for a calculator's own reader alike.
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
        CmdLoadData_Click(*calc, f, t.env);
        EXPECT_EQ(t.dir.reads() - before, 2u);
    }
    EXPECT_EQ(Form_Load(own, t.env).text("TxtB"), "2");
}

TEST(Close, WritesEachFieldByItsKind) {
    Cycle t;
    Form f = t.open();
    f.setText("TxtA", "4700");
    f.setText("TxtB", "");
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

TEST(Close, ClearThenCloseSavesZerosAndReopenShowsThem) {
    Cycle t;
    t.tmp.write("Test.dat", "True\r\n375.0e-3\r\nabc\r\n");
    Form f = t.open();
    CmdClr_Click(t.calc, f, t.env);
    EXPECT_EQ(f.text("TxtA"), "");
    EXPECT_EQ(f.text("TxtC"), ""); // loaded as empty: the file had no line for it
    EXPECT_EQ(f.option("Mode"), 0);
    ASSERT_EQ(CmdClose_Click(t.calc, f, t.env), CloseOutcome::Saved);
    const auto fields = t.dir.readFields("Test.dat");
    ASSERT_TRUE(fields);
    EXPECT_EQ((*fields)[1], "0.000     "); // " 0.000     " less its leading blank
    const Form again = t.open();
    EXPECT_EQ(again.text("CmdLoadData"), "Load Last Run");
    EXPECT_EQ(again.text("TxtA"), "0.000     ");
}

TEST(Close, ClearThenLoadLastRunBringsTheFileBack) {
    Cycle t;
    t.tmp.write("Test.dat", "False\r\n12\r\n34\r\n");
    Form f = t.open();
    CmdClr_Click(t.calc, f, t.env);
    CmdLoadData_Click(t.calc, f, t.env);
    EXPECT_EQ(f.text("TxtA"), "12");
    EXPECT_EQ(f.text("TxtB"), "34");
}

TEST(Close, AFailedWriteAsksAndNoKeepsEverythingTyped) {
    Cycle t;
    std::filesystem::create_directory(t.tmp.path() / "Test.dat"); // cannot be replaced
    Form f = t.open();
    f.setText("TxtA", "typed");
    const Form before = f;
    t.dialogs.answers = {Answer::No};
    EXPECT_EQ(CmdClose_Click(t.calc, f, t.env), CloseOutcome::KeptOpen);
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_NE(t.dialogs.shown[0].text.find("Test.dat"), std::string::npos);
    EXPECT_EQ(f, before);

    t.dialogs.answers = {Answer::Yes};
    EXPECT_EQ(CmdClose_Click(t.calc, f, t.env), CloseOutcome::NotSaved);
}

TEST(Calculate, ANumericFaultLeavesTheFormExactlyAsItWasWithOneMessage) {
    Cycle t;
    Form f = t.open();
    f.setText("TxtA", "0");
    f.setText("TxtB", "unchanged");
    const Form before = f;
    EXPECT_FALSE(CmdCalc_Click(t.calc, f, t.env));
    EXPECT_EQ(f, before);
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(t.dialogs.shown[0].text.find("nan"), std::string::npos);
    EXPECT_EQ(t.dialogs.shown[0].text.find("inf"), std::string::npos);
    EXPECT_ANY_THROW(engText(std::numeric_limits<double>::quiet_NaN()));
}

TEST(HoverHelp, SharedTextsFollowTheMouseAndTheFrameEmptiesTheBox) {
    Cycle t;
    Form f = t.open();
    EXPECT_EQ(hoverHelpText(t.calc, f, "CmdCalc"), CalcHelp);
    EXPECT_EQ(hoverHelpText(t.calc, f, "CmdClr"), ClearHelp);
    EXPECT_EQ(hoverHelpText(t.calc, f, "CmdClose"), CloseHelp);
    EXPECT_EQ(hoverHelpText(t.calc, f, "CmdLoadData"), ReloadHelp);
    f.setExampleFlag(true);
    EXPECT_EQ(hoverHelpText(t.calc, f, "CmdLoadData"), ExampleHelp);
    EXPECT_EQ(hoverHelpText(t.calc, f, "Frame2"), "");
    EXPECT_FALSE(hoverHelpText(t.calc, f, "TxtA").has_value());
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
    EXPECT_THROW(clickCheck(calc, f, t.env, "ChkNone", true), std::out_of_range);
    EXPECT_THROW(editBox(calc, f, t.env, "TxtNone", ""), std::out_of_range);
    EXPECT_THROW(f.value("NotDeclared"), std::out_of_range);
}

} // namespace
} // namespace ferrovane
