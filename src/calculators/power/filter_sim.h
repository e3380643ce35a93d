#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calculators/power/filter_engine.h"
#include "shell/calculator.h"

namespace ferrovane {

// Power supply filter simulation: the window over the simulation of
// filter_engine.h. Its boxes give the run's inputs; it draws a graph of every
// node and the diode current, and lists the averages, ripples and currents of
// the last 24 line cycles.
const Calculator& filterSim();

// The inputs as the boxes read (whole-number boxes rounded, halves to even,
// and held to -32768 .. 32768) and the rectifier option.
FilterInputs filterInputs(const Form& form);

// The last completed run as the window keeps it: the numbers it was run
// with, its averages and ripples, the loads of its second pass and its
// sub-steps. All zero before the first run.
struct KeptFilterRun {
    FilterInputs inputs;
    FilterFigures figures; // averages and ripples only
    double loadResistance[4] = {};
    double loadCurrent[4] = {};
    int subSteps = 0;
};
KeptFilterRun keptFilterRun(const Form& form);

// The last run's circuit: the rectifier with R0, the sections and the loads
// of its second pass, stepped in time like it, with each node's average and
// ripple over the same last 24 cycles.
std::optional<Netlist> filterSimNetlist(const Form& form);

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
