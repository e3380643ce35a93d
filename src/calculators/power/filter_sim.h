#pragma once

#include <string>
#include <vector>

#include "shell/calculator.h"

namespace ferrovane {

// Power supply filter simulation: a transformer, a half- or full-wave
// rectifier and a ladder of up to four shunt capacitors joined by resistors
// or chokes, stepped in time; a graph of every node and the diode current,
// and the averages, ripples and currents of the last 24 line cycles.
const Calculator& filterSim();

enum class Rectifier { None, Full, Half };

// A run's inputs as the 27 boxes and the rectifier option give them.
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
    Drawing graph;                     // the traces; decorateFilterGraph adds the rest
    std::vector<FilterSample> samples; // every step of the plotted span, at most kMaxSamples
    int subSteps = 1;                  // sub-steps of each 1/360 cycle, in the second pass
    std::string fault;                 // why the run stopped, or empty
    static constexpr std::size_t kMaxSamples = 1 << 20;
};

// The inputs as the boxes read (whole-number boxes rounded, halves to even,
// and held to -32768 .. 32768) and the rectifier option.
FilterInputs filterInputs(const Form& form);

// Why these inputs cannot be run (a message for the user), or empty.
std::string filterInputProblem(const FilterInputs& in);

// Both passes, from the inputs as the unused-section rule leaves them.
// Returns false when cancelled; a run that cannot go on says why in fault.
bool simulateFilter(const FilterInputs& in, Progress& progress, FilterRun& run);

// Frame, grid, legend, axis labels and titles, drawn over the traces.
void decorateFilterGraph(const FilterInputs& in, const TextMetrics& metrics, Drawing& graph);

// The list's 14 lines.
std::vector<std::string> filterResultLines(const FilterFigures& figures);

// The plotted span as comma-separated text: time, rectifier output, V1, V3,
// V5, V7 and the diode current at every step.
std::string filterTracesCsv(const FilterRun& run);

// The same for the graph the window shows, run again from the numbers its
// Calculate kept (the run is deterministic, so the traces are the ones
// drawn); empty when no graph is shown or the run was cancelled.
std::string filterTracesCsv(const Form& form, Progress& progress);

// The time and voltage under a point of the graph, or empty outside the
// plot; uses what the last Calculate kept in the form.
std::string filterPointerText(const Form& form, double xTwips, double yTwips);

} // namespace ferrovane
