#include "shell/explore_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace ferrovane {

namespace {

constexpr double kMargin = 120;    // around everything
constexpr double kTick = 60;       // a tick mark's length outside the frame
constexpr double kGap = 45;        // between a tick and its label
constexpr double kSwatch = 360;    // a legend entry's line
constexpr double kTraceWidth = 30; // two pixels on the screen
constexpr double kMarkerHalf = 45; // a lone point's cross
constexpr Colour kGridColour = 0xE0E0E0;
constexpr Colour kGapColour = 0x909090;
constexpr Colour kBarColour = 0xF0C8A0; // a light blue
constexpr Colour kNominalColour = 0x0000C0;
constexpr const char* kEllipsis = "...";

const Font kFont{};

// The text cut short, with an ellipsis, to fit width.
std::string fitted(const std::string& text, double width, const TextMetrics& m) {
    if (m.width(text, kFont) <= width)
        return text;
    std::string cut = text;
    while (!cut.empty() && m.width(cut + kEllipsis, kFont) > width) {
        cut.pop_back();
        // Never leave half of a UTF-8 character behind.
        while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80)
            cut.pop_back();
        if (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0xC0)
            cut.pop_back();
    }
    return cut + kEllipsis;
}

// The finite values of every output, lowest and highest; false when none.
bool valueRange(const SweepResult& r, double& lo, double& hi) {
    lo = std::numeric_limits<double>::infinity();
    hi = -lo;
    for (const auto& row : r.y)
        for (const auto& v : row)
            if (v && std::isfinite(*v)) {
                lo = std::min(lo, *v);
                hi = std::max(hi, *v);
            }
    return lo <= hi;
}

// Opens a range of one value into one that can be drawn.
void widen(double& lo, double& hi, bool log) {
    if (hi > lo)
        return;
    if (log) {
        lo /= 2;
        hi *= 2;
        return;
    }
    const double half = lo == 0 ? 1 : std::abs(lo) / 10;
    lo -= half;
    hi += half;
}

void frame(Drawing& d, const PlotScale& s) {
    d.line(s.left, s.top, s.right, s.top);
    d.line(s.right, s.top, s.right, s.bottom);
    d.line(s.right, s.bottom, s.left, s.bottom);
    d.line(s.left, s.bottom, s.left, s.top);
}

// Grid lines and ticks with their labels, kept inside the drawing.
void xAxis(Drawing& d, const PlotScale& s, const std::vector<double>& ticks, const TextMetrics& m) {
    for (double t : ticks) {
        const double x = s.toX(t);
        if (x < s.left - 1 || x > s.right + 1)
            continue;
        d.line(x, s.top, x, s.bottom, kGridColour);
        d.line(x, s.bottom, x, s.bottom + kTick);
        const std::string label = axisNumber(t);
        const double half = m.width(label, kFont) / 2;
        d.text(std::clamp(x, half, d.widthTwips - half), s.bottom + kTick + kGap, label, kFont,
               HAnchor::Centre, VAnchor::Top);
    }
}

using TickText = std::string (*)(double);

// Counts of runs are whole numbers.
std::string countText(double v) {
    return std::to_string(std::lround(v));
}

void yAxis(Drawing& d, const PlotScale& s, const std::vector<double>& ticks,
           TickText text = axisNumber) {
    for (double t : ticks) {
        const double y = s.toY(t);
        if (y < s.top - 1 || y > s.bottom + 1)
            continue;
        d.line(s.left, y, s.right, y, kGridColour);
        d.line(s.left - kTick, y, s.left, y);
        d.text(s.left - kTick - kGap, y, text(t), kFont, HAnchor::Right, VAnchor::Middle);
    }
}

double widestLabel(const std::vector<double>& ticks, const TextMetrics& m,
                   TickText text = axisNumber) {
    double w = 0;
    for (double t : ticks)
        w = std::max(w, m.width(text(t), kFont));
    return w;
}

// Legend entries flow left to right in rows; returns the height they take.
double legend(Drawing& d, const std::vector<Quantity>& outputs, const TextMetrics& m) {
    const double h = m.height(kFont);
    const double room = d.widthTwips - 2 * kMargin;
    double x = kMargin, y = kMargin;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const std::string label = fitted(outputs[i].label, room - kSwatch - kGap, m);
        const double w = kSwatch + kGap + m.width(label, kFont);
        if (x > kMargin && x + w > kMargin + room) {
            x = kMargin;
            y += h;
        }
        d.line(x, y + h / 2, x + kSwatch, y + h / 2, traceColour(i), kTraceWidth);
        d.text(x + kSwatch + kGap, y, label, kFont);
        x += w + 2 * kSwatch / 3;
    }
    return outputs.empty() ? 0 : y + h - kMargin;
}

void trace(Drawing& d, const SweepResult& r, const PlotScale& s, std::size_t k) {
    const Colour c = traceColour(k);
    const auto at = [&](std::size_t i) { return r.y[i][k]; };
    const auto has = [&](std::size_t i) {
        return i < r.x.size() && at(i) && std::isfinite(*at(i));
    };
    for (std::size_t i = 0; i < r.x.size(); ++i) {
        if (!has(i))
            continue;
        const double x = s.toX(r.x[i]), y = s.toY(*at(i));
        if (has(i + 1)) {
            d.line(x, y, s.toX(r.x[i + 1]), s.toY(*at(i + 1)), c, kTraceWidth);
        } else if (i == 0 || !has(i - 1)) {
            // A point with no neighbour to join: a small cross.
            d.line(x - kMarkerHalf, y - kMarkerHalf, x + kMarkerHalf, y + kMarkerHalf, c);
            d.line(x - kMarkerHalf, y + kMarkerHalf, x + kMarkerHalf, y - kMarkerHalf, c);
        }
    }
}

// Each gap marked along the input axis, under the points it holds.
void gapMarks(Drawing& d, const SweepResult& r, const PlotScale& s) {
    for (const Gap& g : r.gaps) {
        const double a = s.toX(r.x[static_cast<std::size_t>(g.first)]);
        const double b = s.toX(r.x[static_cast<std::size_t>(g.last)]);
        const double lo = std::max(s.left, std::min(a, b) - kMarkerHalf);
        const double hi = std::min(s.right, std::max(a, b) + kMarkerHalf);
        d.line(lo, s.bottom - kTraceWidth, hi, s.bottom - kTraceWidth, kGapColour, 2 * kTraceWidth);
    }
}

} // namespace

Colour traceColour(std::size_t i) {
    static constexpr std::array<Colour, 8> kPalette = {0xB00000, 0x0000C0, 0x008000, 0x0080E0,
                                                       0x800080, 0x808000, 0x404040, 0x004080};
    return kPalette[i % kPalette.size()];
}

bool isLogSweep(const std::vector<double>& x) {
    if (x.size() < 3 || x.front() <= 0 || x.back() <= 0)
        return false;
    const double ratio = x[1] / x[0];
    const double step = x[1] - x[0];
    bool geometric = std::abs(ratio - 1) > 1e-12, even = true;
    for (std::size_t i = 1; i < x.size(); ++i) {
        geometric = geometric && x[i] > 0 && std::abs(x[i] / x[i - 1] / ratio - 1) < 1e-6;
        even = even && std::abs((x[i] - x[i - 1]) - step) <= 1e-6 * std::abs(step);
    }
    return geometric && !even;
}

ExploreGraph sweepGraph(const SweepResult& r, const TextMetrics& m, double width, double height) {
    ExploreGraph g;
    Drawing& d = g.drawing;
    d.widthTwips = width;
    d.heightTwips = height;
    PlotScale& s = g.scale;
    const double h = m.height(kFont);

    s.logX = isLogSweep(r.x);
    s.xMin = r.x.empty() ? 0 : *std::min_element(r.x.begin(), r.x.end());
    s.xMax = r.x.empty() ? 1 : *std::max_element(r.x.begin(), r.x.end());
    widen(s.xMin, s.xMax, s.logX);
    const bool any = valueRange(r, s.yMin, s.yMax);
    if (!any) {
        s.yMin = 0;
        s.yMax = 1;
    }
    widen(s.yMin, s.yMax, false);
    roundOut(s.yMin, s.yMax);
    const auto xTicks = s.logX ? logTicks(s.xMin, s.xMax) : linearTicks(s.xMin, s.xMax);
    const auto yTicks = linearTicks(s.yMin, s.yMax);

    s.top = kMargin + legend(d, r.outputs, m) + h;
    s.left = kMargin + widestLabel(yTicks, m) + kGap + kTick;
    s.bottom = height - kMargin - 2 * h - kTick - 2 * kGap;
    s.right = width - kMargin - m.width(axisNumber(s.xMax), kFont) / 2;

    xAxis(d, s, xTicks, m);
    yAxis(d, s, yTicks);
    frame(d, s);
    gapMarks(d, r, s);
    for (std::size_t k = 0; k < r.outputs.size(); ++k)
        trace(d, r, s, k);
    const double mid = (s.left + s.right) / 2;
    d.text(mid, height - kMargin, fitted(r.input, width - 2 * kMargin, m), kFont, HAnchor::Centre,
           VAnchor::Bottom);
    if (!any)
        d.text(mid, (s.top + s.bottom) / 2, "No point of the sweep has a result.", kFont,
               HAnchor::Centre, VAnchor::Middle);
    return g;
}

Drawing sweepDrawing(const SweepResult& result, const TextMetrics& metrics) {
    return sweepGraph(result, metrics).drawing;
}

std::string sweepPointerText(const SweepResult& r, const PlotScale& s, double x, double y) {
    if (!s.inside(x, y) || r.x.empty())
        return {};
    std::size_t near = 0;
    for (std::size_t i = 1; i < r.x.size(); ++i)
        if (std::abs(s.toX(r.x[i]) - x) < std::abs(s.toX(r.x[near]) - x))
            near = i;
    std::string text = r.input + " = " + axisNumber(r.x[near]);
    std::size_t best = r.outputs.size();
    for (std::size_t k = 0; k < r.outputs.size(); ++k) {
        const auto& v = r.y[near][k];
        if (v && std::isfinite(*v) &&
            (best == r.outputs.size() ||
             std::abs(s.toY(*v) - y) < std::abs(s.toY(*r.y[near][best]) - y)))
            best = k;
    }
    if (best < r.outputs.size())
        return text + "  " + r.outputs[best].label + " = " + axisNumber(*r.y[near][best]);
    for (const Gap& g : r.gaps)
        if (static_cast<int>(near) >= g.first && static_cast<int>(near) <= g.last)
            return text + "  " + g.message;
    return text;
}

Histogram histogramOf(const std::vector<double>& values) {
    Histogram out;
    if (values.empty())
        return out;
    out.lo = *std::min_element(values.begin(), values.end());
    out.hi = *std::max_element(values.begin(), values.end());
    int bins = std::clamp(static_cast<int>(std::lround(std::sqrt(values.size()))), 1, 50);
    if (!(out.hi > out.lo)) {
        widen(out.lo, out.hi, false);
        bins = 1;
    }
    out.counts.assign(static_cast<std::size_t>(bins), 0);
    for (double v : values) {
        const double t = (v - out.lo) / (out.hi - out.lo);
        ++out.counts[static_cast<std::size_t>(std::clamp(static_cast<int>(t * bins), 0, bins - 1))];
    }
    return out;
}

namespace {

// The plot area of a histogram, under its title line.
PlotScale histogramScale(const Histogram& hist, const std::vector<double>& yTicks,
                         const TextMetrics& m, double width, double height) {
    const double h = m.height(kFont);
    PlotScale s;
    s.xMin = hist.lo;
    s.xMax = hist.hi;
    s.yMin = 0;
    s.yMax = yTicks.empty() ? 1 : std::max(1.0, yTicks.back());
    s.top = kMargin + 2 * h;
    s.left = kMargin + widestLabel(yTicks, m, countText) + kGap + kTick;
    s.bottom = height - kMargin - 2 * h - kTick - 2 * kGap;
    s.right = width - kMargin - m.width(axisNumber(s.xMax), kFont) / 2;
    return s;
}

void bars(Drawing& d, const Histogram& hist, const PlotScale& s) {
    const double binWidth = (s.right - s.left) / static_cast<double>(hist.counts.size());
    for (std::size_t i = 0; i < hist.counts.size(); ++i) {
        if (hist.counts[i] == 0)
            continue;
        const double x0 = s.left + binWidth * static_cast<double>(i), x1 = x0 + binWidth;
        const double y = s.toY(hist.counts[i]);
        // Filled by one line as wide as the bar, then outlined.
        d.line((x0 + x1) / 2, s.bottom, (x0 + x1) / 2, y, kBarColour, binWidth);
        d.line(x0, s.bottom, x0, y);
        d.line(x0, y, x1, y);
        d.line(x1, y, x1, s.bottom);
    }
}

} // namespace

ExploreGraph histogramGraph(const Spread& spread, const TextMetrics& m, double width,
                            double height) {
    ExploreGraph g;
    Drawing& d = g.drawing;
    d.widthTwips = width;
    d.heightTwips = height;
    const Histogram hist = histogramOf(spread.values);
    const int most =
        hist.counts.empty() ? 1 : *std::max_element(hist.counts.begin(), hist.counts.end());
    // Counts are whole: no tick between two of them.
    double zero = 0, top = std::max(1, most);
    roundOut(zero, top, 5);
    std::vector<double> yTicks;
    for (double t : linearTicks(0, top, 5))
        if (t == std::floor(t))
            yTicks.push_back(t);
    PlotScale& s = g.scale = histogramScale(hist, yTicks, m, width, height);
    xAxis(d, s, linearTicks(s.xMin, s.xMax), m);
    yAxis(d, s, yTicks, countText);
    bars(d, hist, s);
    frame(d, s);
    if (spread.nominal && *spread.nominal >= s.xMin && *spread.nominal <= s.xMax) {
        const double x = s.toX(*spread.nominal);
        d.line(x, s.top, x, s.bottom, kNominalColour, kTraceWidth);
    }
    std::string title = std::to_string(spread.values.size()) + " runs";
    if (spread.failed > 0)
        title += ", " + std::to_string(spread.failed) + " without a result";
    if (spread.nominal)
        title += "; nominal " + axisNumber(*spread.nominal);
    d.text(width / 2, kMargin, fitted(title, width - 2 * kMargin, m), kFont, HAnchor::Centre);
    d.text((s.left + s.right) / 2, height - kMargin,
           fitted(spread.output.label, width - 2 * kMargin, m), kFont, HAnchor::Centre,
           VAnchor::Bottom);
    return g;
}

Drawing histogramDrawing(const Spread& spread, const TextMetrics& metrics) {
    return histogramGraph(spread, metrics).drawing;
}

std::string histogramPointerText(const Spread& spread, const PlotScale& s, double x, double y) {
    const Histogram hist = histogramOf(spread.values);
    if (!s.inside(x, y) || hist.counts.empty())
        return {};
    const double bins = static_cast<double>(hist.counts.size());
    const auto i = static_cast<std::size_t>(
        std::clamp((x - s.left) / (s.right - s.left) * bins, 0.0, bins - 1));
    const double step = (hist.hi - hist.lo) / bins;
    const double lo = hist.lo + step * static_cast<double>(i);
    return axisNumber(lo) + " to " + axisNumber(lo + step) + ": " + std::to_string(hist.counts[i]) +
           (hist.counts[i] == 1 ? " run" : " runs");
}

} // namespace ferrovane
