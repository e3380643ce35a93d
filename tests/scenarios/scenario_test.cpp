#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>

#include "scenarios/scenario.h"

namespace ferrovane::testing {
namespace {

const std::filesystem::path kScenarioDir = FERROVANE_SCENARIO_DIR;

std::vector<Scenario> allScenarios() {
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(kScenarioDir))
        if (e.path().extension() == ".scn")
            files.push_back(e.path());
    std::sort(files.begin(), files.end());
    std::vector<Scenario> all;
    for (const auto& f : files)
        for (auto& s : readScenarios(f.string()))
            all.push_back(std::move(s));
    return all;
}

const std::vector<Scenario>& scenarios() {
    static const std::vector<Scenario> all = allScenarios();
    return all;
}

class ScenarioTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ScenarioTest, HoldsAsWritten) {
    const Scenario& s = scenarios()[GetParam()];
    for (const auto& failure : runScenario(s))
        ADD_FAILURE() << s.title << "\n  " << failure;
}

std::string scenarioName(const ::testing::TestParamInfo<std::size_t>& info) {
    const Scenario& s = scenarios()[info.param];
    // A test name holds letters, digits and underscores only: "bias-design"
    // becomes "bias_design".
    std::string name = std::filesystem::path(s.file).stem().string();
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    name += "_" + std::to_string(s.line) + "_";
    for (char c : s.title)
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
    return name;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioTest,
                         ::testing::Range<std::size_t>(0, scenarios().size()), scenarioName);

// A new calculator needs only its scenario file: every catalogued one has
// at least one scenario that presses its Calculate (CmdCalc, or one of the
// CmdCalc... buttons of a window that calculates two ways).
TEST(ScenarioCoverage, EveryCalculatorIsCalculatedInAScenario) {
    std::set<std::string> calculated;
    for (const auto& s : scenarios())
        for (const auto& st : s.steps)
            if (st.isAction && st.action.kind == RunAction::Kind::Press &&
                st.action.name.rfind("CmdCalc", 0) == 0)
                calculated.insert(s.entry->id);
    for (const auto& e : catalogue())
        EXPECT_TRUE(calculated.count(e.id)) << e.id << " has no scenario that calculates";
}

// The runner itself must notice a wrong expectation, or a green run means
// nothing.
TEST(ScenarioRunner, ReportsWhatDoesNotHold) {
    const std::filesystem::path wrong = std::filesystem::temp_directory_path() / "wrong.scn";
    {
        std::ofstream out(wrong);
        out << "calculator reactance\nscenario wrong\nexpect icon question\n"
               "expect TxtFreq = \"not this\"\nexpect list List1\n| a line that is not there\n"
               "press CmdCalc\nexpect unchanged\nexpect title not this\npress CmdCalc\n";
    }
    const auto s = readScenarios(wrong.string());
    std::filesystem::remove(wrong);
    ASSERT_EQ(s.size(), 1u);
    const auto failures = runScenario(s.front());
    // The icon (no message yet), the text, the list (there is none), the change
    // the first press made, the title (no message yet) and the message of the
    // second press nobody expected.
    EXPECT_EQ(failures.size(), 6u);
}

} // namespace
} // namespace ferrovane::testing
