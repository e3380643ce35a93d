#pragma once

#include <string>
#include <vector>

#include "shell/drawing.h"
#include "shell/explore.h"
#include "shell/plot_axes.h"

namespace ferrovane {

// The graphs of the Explore dialog, drawn as display lists like every other
// graph of the program: a sweep's outputs against its input, and the spread
// of one output as a histogram.

inline constexpr double kExploreGraphWidth = 9000; // twips
inline constexpr double kExploreGraphHeight = 6000;

struct ExploreGraph {
    Drawing drawing;
    PlotScale scale; // where the values lie in the drawing
};

// The colour of output i's trace and of its legend entry.
Colour traceColour(std::size_t i);

// Every output against the input: framed axes with round ticks in
// engineering text, a legend naming each output in its colour, a
// logarithmic input axis when the points are geometric, and a break in a
// trace wherever a point has no value.
ExploreGraph sweepGraph(const SweepResult& result, const TextMetrics& metrics,
                        double width = kExploreGraphWidth, double height = kExploreGraphHeight);
Drawing sweepDrawing(const SweepResult& result, const TextMetrics& metrics);

// Whether the sweep's points are geometric rather than evenly spaced.
bool isLogSweep(const std::vector<double>& x);

// What lies under the pointer: the nearest point's input and the value of
// the trace nearest to it ("Frequency = 1.000e+6  XL = 6.283e+3"), or the
// message of a point without results; empty outside the plot.
std::string sweepPointerText(const SweepResult& result, const PlotScale& scale, double x, double y);

// Counts of values in equal bins from lo to hi (about the square root of
// their number, at most 50).
struct Histogram {
    double lo = 0, hi = 1;
    std::vector<int> counts;
};
Histogram histogramOf(const std::vector<double>& values);

// The spread's values as bars over their range, the nominal value marked.
ExploreGraph histogramGraph(const Spread& spread, const TextMetrics& metrics,
                            double width = kExploreGraphWidth, double height = kExploreGraphHeight);
Drawing histogramDrawing(const Spread& spread, const TextMetrics& metrics);

// The bin under the pointer and how many runs fell in it; empty outside.
std::string histogramPointerText(const Spread& spread, const PlotScale& scale, double x, double y);

} // namespace ferrovane
