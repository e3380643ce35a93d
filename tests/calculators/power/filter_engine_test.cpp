#include "calculators/power/filter_engine.h"

#include <gtest/gtest.h>

namespace ferrovane {
namespace {

// The example circuit as plain numbers, with no window: 300 V RMS through
// 200 ohms into C1 40 uF, then R2 1 k / C3 40 uF, R4 10 k / C5 10 uF and
// R6 22 k / C7 4 uF, loaded with 70, 10, 2 and 2 mA, full-wave at 60 Hz for
// 4 s, the graph showing the first 12 cycles from 0 to 500 V.
FilterInputs exampleCircuit() {
    FilterInputs in;
    in.vrms = 300, in.r0 = 200, in.c1 = 40e-6, in.i1 = 70e-3;
    in.r2 = 1e3, in.c3 = 40e-6, in.i3 = 10e-3;
    in.r4 = 10e3, in.c5 = 10e-6, in.i5 = 2e-3;
    in.r6 = 22e3, in.c7 = 4e-6, in.i7 = 2e-3;
    in.f = 60, in.tStart = 0, in.cycles = 12, in.tTotal = 4;
    in.timeLabels = 6, in.timeDivisions = 4;
    in.yMin = 0, in.yMax = 500, in.yLabels = 6, in.yDivisions = 5;
    in.multiplier = 100;
    in.rectifier = Rectifier::Full;
    return in;
}

FilterRun simulate(const FilterInputs& in) {
    Progress progress;
    FilterRun run;
    EXPECT_TRUE(simulateFilter(in, progress, run));
    EXPECT_EQ(run.fault, "");
    return run;
}

// Where the graph starts, how long and how tall it is, its grid and the
// diode trace's scale change what is drawn, never what is computed: a sweep
// that runs the engine without a graph gets the window's figures.
TEST(FilterEngine, TheFiguresDoNotDependOnTheGraph) {
    const FilterRun shown = simulate(exampleCircuit());
    FilterInputs elsewhere = exampleCircuit();
    elsewhere.tStart = 1.5, elsewhere.cycles = 3;
    elsewhere.yMin = -200, elsewhere.yMax = 900, elsewhere.yLabels = 12, elsewhere.yDivisions = 2;
    elsewhere.timeLabels = 3, elsewhere.multiplier = 1;
    const FilterRun other = simulate(elsewhere);

    EXPECT_FALSE(other.graph == shown.graph);
    ASSERT_FALSE(other.samples.empty());
    EXPECT_NEAR(other.samples.front().t, 1.5, 1e-9);
    EXPECT_NEAR(other.samples.back().t, 1.55, 1e-9);

    const FilterFigures& a = shown.figures;
    const FilterFigures& b = other.figures;
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(a.average[n], b.average[n]) << n;
        EXPECT_EQ(a.ripple[n], b.ripple[n]) << n;
    }
    EXPECT_EQ(a.power, b.power);
    EXPECT_EQ(a.diodeAverage, b.diodeAverage);
    EXPECT_EQ(a.diodeRms, b.diodeRms);
    EXPECT_EQ(a.diodePeak, b.diodePeak);
    EXPECT_EQ(a.surge, b.surge);
    EXPECT_EQ(a.capacitorRms, b.capacitorRms);
    EXPECT_EQ(shown.subSteps, other.subSteps);
}

} // namespace
} // namespace ferrovane
