#include "shell/calc_command.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <sstream>

#include "calculators/catalogue.h"
#include "shell/calc_output.h"
#include "shell/explore.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

struct Result {
    int status;
    std::string out, err;
};

Result calc(const std::vector<std::string>& args,
            const std::filesystem::path& home = "/nonexistent") {
    std::ostringstream out, err;
    const int status = calcCommand(args, out, err, home);
    return {status, out.str(), err.str()};
}

// The JSON up to its "files" member: boxes, lists, drawings and messages.
std::string withoutFiles(const std::string& json) {
    return json.substr(0, json.find("\"files\""));
}

// The command line's example run shows what a window shows after Load
// Example and Calculate, for every calculator a later issue adds too.
TEST(CalcCommand, ExampleRunEqualsTheWindowsLoadExampleAndCalculate) {
    for (const auto& e : catalogue()) {
        TestWindow w(e.calculator(), "CmdLoadData CmdCalc");
        RunOutcome window{w.form, w.dialogs.shown, {}, {}, w.dialogs.shown.empty()};
        std::ostringstream expected;
        printJson(expected, e, window);
        const Result r = calc({e.id, "--example", "--json"});
        EXPECT_EQ(withoutFiles(r.out), withoutFiles(expected.str())) << e.id;
        EXPECT_EQ(r.status, w.dialogs.shown.empty() ? 0 : 1) << e.id;
    }
}

TEST(CalcCommand, ListsEveryCalculatorAndAcceptsItsButtonName) {
    const Result list = calc({"--list"});
    EXPECT_EQ(list.status, 0);
    for (const auto& e : catalogue())
        EXPECT_NE(list.out.find(e.id + "  " + mainWindowCaption(e) + "\n"), std::string::npos);
    EXPECT_NE(list.out.find("wavelength  Wavelength & Frequency\n"), std::string::npos);
    EXPECT_EQ(calc({"cmdlcres", "--example"}).status, 0);
}

// A calculator's --help explains its inputs and results from its help page,
// then names every control the way the options take them.
TEST(CalcCommand, HelpPrintsTheInputsFromTheHelpPage) {
    std::ostringstream out, err;
    EXPECT_EQ(
        calcCommand({"reactance", "--help"}, out, err, "/nonexistent", FERROVANE_HELP_SOURCE_DIR),
        0);
    for (const char* shown :
         {"\n  Angular Frequency, Omega | Radians/second | ω = 2πf.", "\nInputs\n  Frequency",
          "\nResults\n  ", "XL = ωL", "  box     TxtAngFreq  Angular Frequency, Omega"})
        EXPECT_NE(out.str().find(shown), std::string::npos) << shown << "\n" << out.str();
}

// Bad usage ends with status 2 and one line naming the valid choices.
TEST(CalcCommand, BadUsageNamesTheChoices) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"no-such"}, "reactance"},
        {{"reactance", "--set", "TxtNope=1"}, "TxtFreq"},
        {{"l-network", "--option", "OpNope"}, "unknown option \"OpNope\""},
        {{"reactance", "--press", "CmdNope"}, "CmdCalc"},
        {{"reactance", "--sweep", "TxtFreq=1:2:1000000000"}, "10000"},
        {{"reactance", "--tolerance", "TxtFreq=1000000"}, "100"},
        {{"reactance", "--bogus"}, "unknown option"},
        {{"reactance", "--set"}, "needs a value"},
        {{}, "--list"},
    };
    for (const auto& [args, named] : cases) {
        const Result r = calc(args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    // A label works as a name, in any case, blanks and "&" ignored.
    EXPECT_EQ(
        calc({"reactance", "--set", "frequency,(0 to enter omega),f=1e6", "--set", "TxtInd=1e-3"})
            .status,
        0);
}

// A run reads the user's last run but writes nothing there.
TEST(CalcCommand, NeverTouchesTheUsersFolder) {
    TempDir home;
    DataDir(home.path()).writeLines("XlXcFLC.dat", {"False", "1000", "0", "1e-3", "0", "0", "0"});
    const std::string before = home.read("XlXcFLC.dat");
    std::filesystem::permissions(home.path(), std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::owner_exec);
    const Result r = calc({"reactance", "--last", "--json"}, home.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"TxtIndRct\": \" 6.283     \""), std::string::npos) << r.out;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.path()), {}), 1);
    EXPECT_EQ(home.read("XlXcFLC.dat"), before);
}

ExploreBase reactanceBase(const DataDir& dir) {
    const Calculator& c = findCalculator("reactance")->calculator();
    CalculatorRun run(c, dir, RunStart::Empty);
    for (const auto& [box, text] : {std::pair{"TxtAngFreq", "0"},
                                    {"TxtInd", "1e-3"},
                                    {"TxtCap", "0"},
                                    {"TxtIndRct", "0"},
                                    {"TxtCapRct", "0"}})
        run.apply({RunAction::Kind::Set, box, text});
    return {&c, run.form(), &dir};
}

// XL = 2 pi F L at every point of a sweep over frequency; a logarithmic
// sweep's points are geometric.
TEST(Sweep, InductiveReactanceFollowsTwoPiFL) {
    TempDir tmp;
    const DataDir dir(tmp.path());
    const ExploreBase base = reactanceBase(dir);
    const Form& f = base.form;
    SweepRequest r{"TxtFreq", 1e3, 1e6, 31, true, {*parseQuantity(*base.calc, f, "TxtIndRct")}};
    ASSERT_FALSE(checkSweep(base, r));
    Progress p;
    const SweepResult s = *runSweep(base, r, p);
    ASSERT_EQ(s.x.size(), 31u);
    EXPECT_TRUE(s.gaps.empty());
    for (std::size_t i = 0; i < s.x.size(); ++i) {
        if (i > 1) {
            EXPECT_NEAR(s.x[i] / s.x[i - 1], s.x[i - 1] / s.x[i - 2], 1e-12);
        }
        EXPECT_NEAR(*s.y[i][0] / (2 * std::numbers::pi * s.x[i] * 1e-3), 1, 5e-4) << s.x[i];
    }
    EXPECT_DOUBLE_EQ(s.x.front(), 1e3);
    EXPECT_DOUBLE_EQ(s.x.back(), 1e6);
}

// A point whose press ends on a message is a gap, reported once over its range.
TEST(Sweep, PointsThatEndOnAMessageAreOneGap) {
    const Result r = calc({"reactance", "--set", "TxtAngFreq=0", "--set", "TxtInd=1e-3", "--set",
                           "TxtCap=0", "--set", "TxtIndRct=0", "--set", "TxtCapRct=0", "--sweep",
                           "TxtFreq=-2:2:5", "--output", "TxtIndRct"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("points 1-3: "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n1\t0.006283\n2\t0.01257\n"), std::string::npos) << r.out;
}

// The worst case of the resonance with +/-5 % on L and C is reached at the
// corners; Monte Carlo with one seed repeats and stays inside it.
TEST(Tolerance, ResonanceSpreadStaysWithinTheCorners) {
    TempDir tmp;
    const DataDir dir(tmp.path());
    const Calculator& c = findCalculator("rlc-q")->calculator();
    CalculatorRun run(c, dir, RunStart::Empty);
    for (const auto& [box, text] : {std::pair{"TxtC", "100e-12"},
                                    {"TxtL", "100e-6"},
                                    {"TxtF", "0"},
                                    {"TxtR", "10"},
                                    {"TxtQ", "0"},
                                    {"TxtBW", "0"}})
        run.apply({RunAction::Kind::Set, box, text});
    const ExploreBase base{&c, run.form(), &dir};
    ToleranceRequest r{
        {{"TxtL", 5}, {"TxtC", 5}}, 200, 7, true, {*parseQuantity(c, run.form(), "TxtF")}};
    Progress p;
    const Spread worst = runTolerance(base, r, p)->spreads.at(0);
    const auto f = [](double l, double cap) {
        return 1 / (2 * std::numbers::pi * std::sqrt(l * cap));
    };
    EXPECT_NEAR(worst.min / f(105e-6, 105e-12), 1, 5e-4);
    EXPECT_NEAR(worst.max / f(95e-6, 95e-12), 1, 5e-4);
    r.worstCase = false;
    const auto a = runTolerance(base, r, p), b = runTolerance(base, r, p);
    EXPECT_EQ(a->spreads[0].values, b->spreads[0].values);
    EXPECT_EQ(a->spreads[0].values.size(), 200u);
    EXPECT_GE(a->spreads[0].min, worst.min);
    EXPECT_LE(a->spreads[0].max, worst.max);
    EXPECT_LT(a->spreads[0].min, a->spreads[0].max);
}

// Random argument vectors end with status 0, 1 or 2 and never crash or hang.
TEST(CalcCommand, RandomArgumentVectorsEndWithAStatus) {
    const std::vector<std::string> words = {"calc",
                                            "--list",
                                            "reactance",
                                            "l-network",
                                            "filter-sim",
                                            "--example",
                                            "--last",
                                            "--set",
                                            "TxtFreq=1e6",
                                            "TxtFreq=",
                                            "=",
                                            "--option",
                                            "OpNope",
                                            "--check",
                                            "x=on",
                                            "--choose",
                                            "--answer",
                                            "maybe",
                                            "no",
                                            "--press",
                                            "CmdClr",
                                            "--json",
                                            "--sweep",
                                            "TxtFreq=1:1e9:1e9",
                                            "TxtFreq=1:2:3:log",
                                            "--output",
                                            "List1:1:1",
                                            "--tolerance",
                                            "TxtInd=1e6",
                                            "TxtInd=5",
                                            "--runs",
                                            "-3",
                                            "99999999999",
                                            "--seed",
                                            "--worst-case",
                                            "",
                                            "\xff\xfe",
                                            "1e308",
                                            "--help"};
    std::mt19937 rng(17);
    const int vectors = std::getenv("FERROVANE_RANDOM_ACTIONS") ? 300 : 3000;
    for (int i = 0; i < vectors; ++i) {
        std::vector<std::string> args(rng() % 7);
        for (auto& a : args)
            a = words[rng() % words.size()];
        const Result r = calc(args);
        EXPECT_TRUE(r.status >= 0 && r.status <= 2) << r.status;
        EXPECT_TRUE(r.status != 2 || !r.err.empty());
    }
}

} // namespace
} // namespace ferrovane::testing
