// The simultaneous equations have a circuit only for the two ladder methods:
// the equations method is a matrix with no network behind it.
#include <gtest/gtest.h>

#include "calculators/catalogue.h"
#include "shell/ngspice.h"
#include "shell/run.h"

namespace ferrovane {
namespace {

TEST(LoopNetlists, OnlyTheLaddersOfTheEquationsCalculatorAreCircuits) {
    const Calculator& calc = findCalculator("equations")->calculator();
    ScratchDir dir;
    seedExamples(dir.path());
    const DataDir data(dir.path());
    const struct {
        const char* method;
        bool circuit;
    } cases[] = {{"OpEqu", false}, {"OpImp", true}, {"OpCmp", true}};
    for (const auto& c : cases) {
        CalculatorRun run(calc, data, RunStart::Saved);
        run.apply({RunAction::Kind::Option, c.method, {}});
        run.apply({RunAction::Kind::Press, "CmdCalc", {}});
        ASSERT_TRUE(run.outcome().completed) << c.method;
        const NetlistResult built = netlistOf(calc, run.form());
        EXPECT_EQ(built.netlist.has_value(), c.circuit) << c.method << ": " << built.why;
    }
}

} // namespace
} // namespace ferrovane
