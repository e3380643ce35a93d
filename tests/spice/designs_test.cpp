// Every circuit a calculator designs or analyses, checked in ngspice: the
// designs listed in designs.txt run as "ferrovane calc ID ... --simulate",
// and each calculator's example netlist is held in a golden file so that a
// change of its text is a conscious one (FERROVANE_UPDATE_GOLDEN=1 rewrites
// them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "calculators/catalogue.h"
#include "shell/calc_args.h"
#include "shell/calc_command.h"
#include "shell/ngspice.h"
#include "shell/run.h"

namespace ferrovane {
namespace {

const std::filesystem::path kDir = FERROVANE_SPICE_DIR;

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

std::vector<std::string> designLines() {
    std::ifstream in(kDir / "designs.txt");
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
        if (!words(line).empty() && line[0] != '#')
            out.push_back(line);
    return out;
}

class Simulated : public testing::TestWithParam<std::string> {};

TEST_P(Simulated, EveryFigureWithinItsTolerance) {
    ScratchDir user;
    std::vector<std::string> args = words(GetParam());
    args.push_back("--simulate");
    std::ostringstream out, err;
    const int status = calcCommand(args, out, err, user.path());
    EXPECT_EQ(status, 0) << GetParam() << "\n" << out.str() << err.str();
}

INSTANTIATE_TEST_SUITE_P(Designs, Simulated, testing::ValuesIn(designLines()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = std::to_string(info.index) + "_";
                             const std::string id = words(info.param).front();
                             for (char c : id)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

// The calculators whose circuits are simulated, each on its example and on
// at least two designs of our own.
TEST(Simulated, EveryCircuitOfTheCatalogueIsCheckedThreeTimes) {
    const std::set<std::string> expected{"voltage-divider",
                                         "rlc-q",
                                         "l-network",
                                         "cap-divider",
                                         "pi-network",
                                         "cap-divider-lossy",
                                         "pi-network-lossy",
                                         "bias-design",
                                         "bias-change",
                                         "feedback",
                                         "tube-gain",
                                         "tracking",
                                         "vswr",
                                         "filter-sim",
                                         "equations"};
    std::map<std::string, int> designs;
    std::set<std::string> examples;
    for (const std::string& line : designLines()) {
        const auto w = words(line);
        ++designs[w[0]];
        if (std::find(w.begin(), w.end(), "--example") != w.end())
            examples.insert(w[0]);
    }
    for (const CatalogueEntry& e : catalogue()) {
        const bool simulates = static_cast<bool>(e.calculator().netlist);
        EXPECT_EQ(simulates, expected.count(e.id) == 1) << e.id;
        if (!simulates)
            continue;
        EXPECT_GE(designs[e.id], 3) << e.id;
        EXPECT_EQ(examples.count(e.id), 1u) << e.id << " is not checked on its example";
    }
}

// What the calculator's example line in designs.txt ("ID --example ...")
// does before its press: a calculator whose example holds no circuit in its
// saved mode is checked on the example data in another mode.
std::vector<RunAction> exampleActions(const std::string& id) {
    for (const std::string& line : designLines()) {
        const auto w = words(line);
        if (w[0] == id && std::find(w.begin(), w.end(), "--example") != w.end())
            return parseCalcArgs(w).actions;
    }
    return {};
}

TEST(Golden, EachExampleNetlistAsRecorded) {
    const bool update = std::getenv("FERROVANE_UPDATE_GOLDEN") != nullptr;
    for (const CatalogueEntry& e : catalogue()) {
        const Calculator& calc = e.calculator();
        if (!calc.netlist)
            continue;
        ScratchDir dir;
        seedExamples(dir.path());
        const DataDir data(dir.path());
        CalculatorRun run(calc, data, RunStart::Saved);
        for (const RunAction& action : exampleActions(e.id))
            run.apply(action);
        run.apply({RunAction::Kind::Press, "CmdCalc", {}});
        const NetlistResult built = netlistOf(calc, run.form());
        ASSERT_TRUE(built.netlist) << e.id << ": " << built.why;
        const std::string text = renderNetlist(*built.netlist, {"DATE", ""});
        const auto file = kDir / "golden" / (e.id + ".cir");
        if (update)
            std::ofstream(file, std::ios::binary) << text;
        std::ifstream in(file, std::ios::binary);
        const std::string golden{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(text, golden) << e.id << ": run with FERROVANE_UPDATE_GOLDEN=1 to record it";
    }
}

TEST(Export, ACalculationThatEndedOnAMessageWritesNoNetlist) {
    ScratchDir user;
    const auto file = user.path() / "bad.cir";
    std::ostringstream out, err;
    const int status =
        calcCommand({"l-network", "--example", "--set", "TxtRL=9000", "--spice", file.string()},
                    out, err, user.path());
    EXPECT_EQ(status, 1);
    EXPECT_FALSE(std::filesystem::exists(file));
    std::ostringstream out2, err2;
    EXPECT_EQ(
        calcCommand({"reactance", "--example", "--spice", file.string()}, out2, err2, user.path()),
        2);
    EXPECT_NE(err2.str().find("no circuit"), std::string::npos) << err2.str();
}

// The window keeps the circuit of a Calculate that showed no message, and
// none after one that ended on a message, Clear or Load Example.
TEST(Export, TheCircuitKeptIsThatOfTheLastCompletedCalculate) {
    const Calculator& calc = findCalculator("l-network")->calculator();
    Form form = exampleForm(calc);
    RecordingDialogs dialogs;
    ScratchDir dir;
    const DataDir data(dir.path());
    CalcEnv env{dialogs, data};
    std::optional<Form> circuit;
    const struct {
        const char* rl;
        const char* button;
        bool kept;
    } steps[] = {{"50", "CmdCalc", true},    {"50", "CmdLoadData", false}, {"50", "CmdCalc", true},
                 {"9000", "CmdCalc", false}, {"60", "CmdCalc", true},      {"60", "CmdClr", false}};
    for (const auto& s : steps) {
        form.setText("TxtRL", s.rl);
        pressKeepingCircuit(calc, form, env, s.button, circuit);
        EXPECT_EQ(circuit.has_value(), s.kept) << s.rl << " " << s.button;
        if (circuit)
            EXPECT_EQ(circuit->text("TxtRL"), s.rl);
    }
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

} // namespace
} // namespace ferrovane
