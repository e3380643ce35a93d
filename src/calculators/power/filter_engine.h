#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/drawing.h"
#include "shell/long_run.h"

// The power supply filter simulation on its own, with no window: a
// transformer, a half- or full-wave rectifier and a ladder of up to four
// shunt capacitors joined by resistors or chokes, stepped in time twice (with
// the loads as constant currents, then as the resistances that drew them).
// It takes plain numbers and gives the traces and the figures of the last 24
// line cycles, so sweeps and benchmarks can run it as the window does.
namespace ferrovane {

enum class Rectifier { None, Full, Half };

// A run's inputs, as the filter window's 27 boxes and its rectifier option
// give them: the circuit, the line frequency, the run's length, and the span
// and grid of the graph the traces are drawn for.
struct FilterInputs {
    double vrms = 0, r0 = 0, c1 = 0, i1 = 0, r2 = 0, l2 = 0, c3 = 0, i3 = 0, r4 = 0, l4 = 0, c5 = 0,
           i5 = 0, r6 = 0, l6 = 0, c7 = 0, i7 = 0, f = 0;
    double tStart = 0;
    int cycles = 0; // graph length
    double tTotal = 0;
    int timeLabels = 0, timeDivisions = 0;
    double yMin = 0, yMax = 0;
    int yLabels = 0, yDivisions = 0;
    double multiplier = 0; // of the diode current trace
    Rectifier rectifier = Rectifier::None;
};

// The figures of the last 24 line cycles of the second pass. Nodes 1, 3, 5, 7
// are indexed 0 to 3.
struct FilterFigures {
    double average[4] = {};
    double ripple[4] = {};
    double power = 0;
    double diodeAverage = 0, diodeRms = 0, diodePeak = 0, surge = 0;
    double capacitorRms = 0;
};

// One step of the plotted span of the second pass.
struct FilterSample {
    double t, vs, v1, v3, v5, v7, id;
};

struct FilterRun {
    FilterFigures figures;
    Drawing graph;                     // the traces, in the graph's coordinate space
    std::vector<FilterSample> samples; // every step of the plotted span, at most kMaxSamples
    int subSteps = 1;                  // sub-steps of each 1/360 cycle, in the second pass
    // The loads of the second pass at nodes 1, 3, 5, 7: the resistance each
    // load became, or 0 where it stayed the constant current `loadCurrent`.
    double loadResistance[4] = {};
    double loadCurrent[4] = {};
    std::string fault; // why the run stopped, or empty
    static constexpr std::size_t kMaxSamples = 1 << 20;
};

// The graph's coordinate space in twips: the drawing is `width` by `height`
// (the maximised window, 15360 by 11520, less 100 at the foot), the plot lies
// between `left` and `right` and from the top down to `bottom`.
struct FilterGraphArea {
    double width = 15360;
    double height = 11520 - 100;
    double left = 1197; // round(0.07792 width)
    double right = 15360 - 80;
    double bottom = 11520 - 1000;
};
inline constexpr FilterGraphArea kFilterGraph{};

// The traces' colours, in the order of the graph's legend: the rectifier
// output, V1, V3, V5, V7 and the diode current.
inline constexpr int kFilterTraces = 6;
inline constexpr std::array<Colour, kFilterTraces> kFilterTraceColours = {
    0x888888, kRed, kGreen, 0xFFFF00 /* cyan */, 0xFF00FF /* magenta */, 0x00FFFF /* yellow */};

// Each step is 1 / (360 F) seconds; the figures cover the last 24 cycles.
inline constexpr int kFilterStepsPerCycle = 360;
inline constexpr int kFilterStatsCycles = 24;

// K, the run's steps k = 1 .. K at t = k / (360 F): the last one at or below
// the total time (0 when there is none).
std::int64_t filterStepCount(const FilterInputs& in);

// The inputs as the run takes them: each unused section (its capacitor and
// resistor both 0) cut off by 1e12 ohms and everything after it removed.
FilterInputs withUnusedSectionsCut(const FilterInputs& in);

// Why these inputs cannot be run (a message for the user), or empty.
std::string filterInputProblem(const FilterInputs& in);

// Both passes, from the inputs as the unused-section rule leaves them.
// Returns false when cancelled; a run that cannot go on says why in fault.
bool simulateFilter(const FilterInputs& in, Progress& progress, FilterRun& run);

// About how many steps both passes take, with the sub-steps the circuit
// needs under constant-current loads: tells a long run from a short one.
double filterRunSteps(const FilterInputs& in);

} // namespace ferrovane
