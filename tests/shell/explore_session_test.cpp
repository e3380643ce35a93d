#include <gtest/gtest.h>

#include <algorithm>

#include "calculators/catalogue.h"
#include "numeric/eng_text.h"
#include "shell/explore_session.h"
#include "shell/window_cycle.h"
#include "support/temp_dir.h"

namespace ferrovane::testing {
namespace {

const Calculator& calculator(const char* id) {
    return findCalculator(id)->calculator();
}

// Every file of a folder with its bytes.
std::map<std::string, std::string> contents(const TempDir& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        out[e.path().filename().string()] = dir.read(e.path().filename().string());
    return out;
}

// A window's life before Explore: opened on the examples, Calculate pressed.
struct Window {
    explicit Window(const char* id) : calc(calculator(id)) {
        seedExamples(tmp.path());
        CalculatorRun run(calc, dir, RunStart::Saved);
        last.before = run.form();
        run.apply({RunAction::Kind::Press, "CmdCalc", ""});
        last.button = "CmdCalc";
        last.after = run.form();
    }
    TempDir tmp;
    DataDir dir{tmp.path()};
    const Calculator& calc;
    LastPress last;
};

bool holds(const std::vector<Quantity>& qs, const std::string& box) {
    return std::any_of(qs.begin(), qs.end(), [&](const Quantity& q) { return q.box == box; });
}

// While the window shows what its Calculate left, runs start from the inputs
// that press had; once the user has changed anything, from the form as it is.
TEST(ExploreSession, StartsFromTheInputsOfTheLastCalculate) {
    Window w("reactance");
    ASSERT_NE(w.last.before, w.last.after);
    Form shown = w.last.after;
    shown.setText("Txt2QuickHelp", "The mouse moved over a box."); // not a change of input
    const ExploreSession s(w.calc, w.dir, shown, &w.last);
    EXPECT_EQ(s.form(), w.last.before);
    EXPECT_EQ(s.press(), "CmdCalc");
    ASSERT_TRUE(s.results());
    EXPECT_TRUE(holds(*s.results(), "TxtIndRct"));
    EXPECT_TRUE(holds(*s.results(), "TxtCapRct"));

    shown.setText("TxtInd", "1e-3");
    ExploreSession changed(w.calc, w.dir, shown, &w.last);
    EXPECT_EQ(changed.form(), shown);
    EXPECT_FALSE(changed.results());
}

// A window that has not calculated yet finds its results by one press on a
// copy, and describes each as the window would show it.
TEST(ExploreSession, FindsResultsByPressingOnceOnACopy) {
    Window w("bias-design");
    const auto before = contents(w.tmp);
    ExploreSession s(w.calc, w.dir, w.last.before, nullptr);
    EXPECT_FALSE(s.results());
    ASSERT_TRUE(s.findResults(nullptr));
    ASSERT_TRUE(s.results());
    EXPECT_EQ(s.form(), w.last.before);
    // The list's second line holds Ic, Ve and Vc.
    const auto ic = std::find_if(s.results()->begin(), s.results()->end(),
                                 [](const Quantity& q) { return q.line == 2 && q.k == 1; });
    ASSERT_NE(ic, s.results()->end());
    const std::string line = TrimBlanks(w.last.after.list(ic->list)[1]);
    EXPECT_EQ(s.describe(*ic), line + "  (number 1 of 3)");
    EXPECT_EQ(contents(w.tmp), before);
}

// The bias design writes its design file on every Calculate; a sweep over
// it writes none of the user's files.
TEST(ExploreSession, SweepsLeaveTheUsersFilesAlone) {
    Window w("bias-design");
    std::filesystem::remove(w.dir.resolve("CVBOutPut.dat"));
    EXPECT_TRUE(
        runCalculator(w.calc, w.dir, RunStart::Saved, {{RunAction::Kind::Press, "CmdCalc", ""}})
            .files.count("CVBOutPut.dat"));
    seedExamples(w.tmp.path());
    w.tmp.write("notes.txt", "mine");
    const auto before = contents(w.tmp);
    const ExploreSession s(w.calc, w.dir, w.last.after, &w.last);
    ASSERT_TRUE(s.results() && !s.results()->empty());
    SweepRequest r{"TxtVcc", 10, 20, 6, false, {s.results()->back()}};
    ASSERT_FALSE(s.check(r)) << *s.check(r);
    const auto result = s.sweep(r, nullptr);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->x.size(), 6u);
    EXPECT_TRUE(result->gaps.empty());
    EXPECT_EQ(contents(w.tmp), before);
}

struct CancellingHost : LongRunHost {
    bool run(const std::string& title, const LongWork& work) override {
        titles.push_back(title);
        Progress p;
        p.cancel();
        work(p);
        return false;
    }
    std::vector<std::string> titles;
};

TEST(ExploreSession, ACancelledRunGivesNothing) {
    Window w("reactance");
    ExploreSession s(w.calc, w.dir, w.last.after, &w.last);
    CancellingHost host;
    const Quantity xl{.box = "TxtIndRct", .label = "XL"};
    EXPECT_FALSE(s.sweep({"TxtFreq", 1, 10, 5, false, {xl}}, &host));
    EXPECT_FALSE(s.tolerance({{{"TxtInd", 5}}, 100, 1, false, {xl}}, &host));
    ExploreSession fresh(w.calc, w.dir, w.last.before, nullptr);
    EXPECT_FALSE(fresh.findResults(&host));
    EXPECT_FALSE(fresh.results());
    ASSERT_EQ(host.titles.size(), 3u);
    EXPECT_EQ(host.titles[0], "Sweeping Frequency, (0 to enter Omega), F");
}

TEST(ExploreSession, RefusesWhatCannotRun) {
    Window w("reactance");
    const ExploreSession s(w.calc, w.dir, w.last.after, &w.last);
    EXPECT_EQ(s.check(SweepRequest{"TxtFreq", 1, 10, 5, false, {}}), "Choose at least one result.");
    EXPECT_TRUE(s.check(SweepRequest{"TxtFreq", 1, 10, 1, false, {s.results()->front()}}));
    const Calculator& plot = calculator("beta-plot");
    const ExploreSession none(plot, w.dir, makeForm(plot), nullptr);
    EXPECT_EQ(none.press(), "");
    EXPECT_EQ(none.check(ToleranceRequest{}), "This window has no Calculate button to press.");
    EXPECT_EQ(explorePress(calculator("feedback"), nullptr), "CmdCalcA");
    EXPECT_TRUE(isCalculateButton("CmdCalcE"));
    EXPECT_FALSE(isCalculateButton("CmdClr"));
}

// What a sweep may vary: the boxes a person can type in, by their labels.
TEST(ExploreSession, InputsAreTheBoxesAPersonCanTypeIn) {
    Window w("reactance");
    const ExploreSession s(w.calc, w.dir, w.last.after, &w.last);
    const auto inputs = s.inputs();
    ASSERT_EQ(inputs.size(), 6u);
    EXPECT_EQ(inputs[0].name, "TxtFreq");
    EXPECT_EQ(inputs[4].label, "Inductive Reactance");
    Form locked = w.last.before;
    locked.setVisible("TxtCap", false);
    locked.setEnabled("TxtCapRct", false);
    EXPECT_EQ(ExploreSession(w.calc, w.dir, locked, nullptr).inputs().size(), 4u);
}

TEST(ExploreSession, GapsAreListedWithTheirPointsAndMessage) {
    SweepResult r;
    r.input = "F";
    r.x = {-2, -1, 0, 1000};
    EXPECT_EQ(gapText(r, {0, 2, "Enter more data."}),
              "Points 1 to 3 (F = -2.000 to 0.000): Enter more data.");
    EXPECT_EQ(gapText(r, {3, 3, "Too much."}), "Point 4 (F = 1.000e+3): Too much.");
}

TEST(ExploreSession, CopiesOnlyTheCalculatorsFiles) {
    TempDir from, to;
    from.write("XlXcFLC.dat", "True\r\n1\r\n");
    from.write("notes.txt", "mine");
    copyDataFiles(DataDir(from.path()), DataDir(to.path()));
    EXPECT_EQ(contents(to), (std::map<std::string, std::string>{{"XlXcFLC.dat", "True\r\n1\r\n"}}));
}

} // namespace
} // namespace ferrovane::testing
