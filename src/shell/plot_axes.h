#pragma once

#include <string>
#include <vector>

namespace ferrovane {

// The scaling of a graph: its plot area in the drawing's twips and the
// values at its edges. y grows upwards, twips downwards.
struct PlotScale {
    double left = 0, top = 0, right = 1, bottom = 1;
    double xMin = 0, xMax = 1, yMin = 0, yMax = 1;
    bool logX = false;

    double toX(double x) const;
    double toY(double y) const;
    // The values at a point of the drawing.
    double xAt(double twips) const;
    double yAt(double twips) const;
    bool inside(double xTwips, double yTwips) const;
};

// A few round values (1, 2 or 5 times a power of ten apart) from lo to hi,
// both included when round themselves; about target of them.
std::vector<double> linearTicks(double lo, double hi, int target = 6);
// The round values enclosing lo..hi, at the spacing linearTicks would use.
void roundOut(double& lo, double& hi, int target = 6);
// Decades within lo..hi (both above zero), or 1, 2 and 5 times a power of
// ten when the range holds fewer than two decades, or linear ticks.
std::vector<double> logTicks(double lo, double hi);

// A number as the axes and read-outs show it: engineering text where it
// has one ("4.700e+3"), else "%.3e".
std::string axisNumber(double v);

} // namespace ferrovane
