#include <gtest/gtest.h>

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
    // Test names take letters, digits and "_" only: "power-transformer"
    // becomes "powertransformer".
    const auto letters = [](const std::string& text) {
        std::string out;
        for (char c : text)
            if (std::isalnum(static_cast<unsigned char>(c)))
                out += c;
        return out;
    };
    return letters(std::filesystem::path(s.file).stem().string()) + "_" + std::to_string(s.line) +
           "_" + letters(s.title);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioTest,
                         ::testing::Range<std::size_t>(0, scenarios().size()), scenarioName);

// A new calculator needs only its scenario file: every catalogued one has
// at least one scenario that presses its Calculate.
TEST(ScenarioCoverage, EveryCalculatorIsCalculatedInAScenario) {
    std::set<std::string> calculated;
    for (const auto& s : scenarios())
        for (const auto& st : s.steps)
            if (st.isAction && st.action.kind == RunAction::Kind::Press &&
                st.action.name == "CmdCalc")
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
        out << "calculator reactance\nscenario wrong\nexpect TxtF = \"not this\"\n"
               "expect list List1\n| a line that is not there\nset TxtF = abc\npress CmdCalc\n";
    }
    const auto s = readScenarios(wrong.string());
    std::filesystem::remove(wrong);
    ASSERT_EQ(s.size(), 1u);
    const auto failures = runScenario(s.front());
    EXPECT_EQ(failures.size(), 3u); // the text, the list, and the message nobody expected
}

} // namespace
} // namespace ferrovane::testing
