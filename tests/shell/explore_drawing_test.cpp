#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <numeric>

#include "numeric/eng_text.h"
#include "shell/explore_drawing.h"

namespace ferrovane::testing {
namespace {

constexpr double kL = 2.5e-3; // henries
constexpr double kTraceWidth = 30;

double reactance(double f) {
    return 2 * std::numbers::pi * f * kL;
}

Quantity output(const std::string& label) {
    return Quantity{.box = "TxtIndRct", .label = label};
}

// XL = 2 pi F L over a sweep of F, computed here, not by a calculator.
SweepResult reactanceSweep(bool log, double from, double to, int n) {
    SweepResult r;
    r.input = "Frequency";
    r.outputs = {output("Inductive Reactance")};
    r.x = sweepPoints(from, to, n, log);
    for (double f : r.x)
        r.y.push_back({f > 0 ? std::optional(reactance(f)) : std::nullopt});
    return r;
}

// The thick lines of one colour inside the plot: a trace's segments.
std::vector<LinePrimitive> traceLines(const ExploreGraph& g, Colour c) {
    std::vector<LinePrimitive> out;
    for (const auto& item : g.drawing.items)
        if (const auto* l = std::get_if<LinePrimitive>(&item);
            l && l->colour == c && l->widthTwips == kTraceWidth && g.scale.inside(l->x1, l->y1) &&
            g.scale.inside(l->x2, l->y2))
            out.push_back(*l);
    return out;
}

std::vector<TextPrimitive> texts(const Drawing& d) {
    std::vector<TextPrimitive> out;
    for (const auto& item : d.items)
        if (const auto* t = std::get_if<TextPrimitive>(&item))
            out.push_back(*t);
    return out;
}

// Every text's box, placed by its anchors, lies within the drawing.
void expectTextsInside(const Drawing& d, const TextMetrics& m) {
    for (const TextPrimitive& t : texts(d)) {
        const double w = m.width(t.text, t.font), h = m.height(t.font);
        const double x0 = t.h == HAnchor::Left     ? t.x
                          : t.h == HAnchor::Centre ? t.x - w / 2
                                                   : t.x - w;
        const double y0 = t.v == VAnchor::Top      ? t.y
                          : t.v == VAnchor::Middle ? t.y - h / 2
                                                   : t.y - h;
        EXPECT_GE(x0, -0.5) << t.text;
        EXPECT_LE(x0 + w, d.widthTwips + 0.5) << t.text;
        EXPECT_GE(y0, -0.5) << t.text;
        EXPECT_LE(y0 + h, d.heightTwips + 0.5) << t.text;
    }
}

TEST(PlotAxes, RoundTicksAndEngineeringLabels) {
    EXPECT_EQ(linearTicks(0, 10), (std::vector<double>{0, 2, 4, 6, 8, 10}));
    const auto across = linearTicks(-1e3, 1e3);
    EXPECT_NE(std::find(across.begin(), across.end(), 0.0), across.end());
    EXPECT_EQ(logTicks(1e3, 1e6), (std::vector<double>{1e3, 1e4, 1e5, 1e6}));
    // Less than a decade: 1, 2 and 5 times a power of ten, or even steps.
    EXPECT_EQ(logTicks(150, 900), (std::vector<double>{200, 500}));
    for (double t : logTicks(1000, 1500))
        EXPECT_TRUE(t >= 1000 && t <= 1500) << t;
    double lo = 0.3, hi = 9.2;
    roundOut(lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 10);
    EXPECT_EQ(axisNumber(4700), "4.700e+3");
    EXPECT_EQ(axisNumber(0), "0.000");
    EXPECT_EQ(axisNumber(2e20), "2.000e+20");
}

// A logarithmic axis is linear in the logarithm: each scaled value maps back.
TEST(PlotAxes, ScalingMapsBackAndForth) {
    PlotScale s{.left = 100,
                .top = 50,
                .right = 900,
                .bottom = 650,
                .xMin = 10,
                .xMax = 1e4,
                .yMin = -5,
                .yMax = 5,
                .logX = true};
    EXPECT_DOUBLE_EQ(s.toX(10), 100);
    EXPECT_DOUBLE_EQ(s.toX(1e4), 900);
    EXPECT_NEAR(s.toX(100), 100 + 800.0 / 3, 1e-9);
    EXPECT_DOUBLE_EQ(s.toY(0), 350);
    EXPECT_NEAR(s.xAt(s.toX(555)), 555, 1e-9);
    EXPECT_NEAR(s.yAt(s.toY(-2.5)), -2.5, 1e-12);
}

// Every corner of the trace is one sweep point through the axis scaling,
// and the log axis spaces geometric points evenly.
TEST(SweepDrawing, TraceFollowsThePointsThroughTheScaling) {
    const SweepResult r = reactanceSweep(true, 1e3, 1e6, 31);
    FixedTextMetrics m;
    const ExploreGraph g = sweepGraph(r, m);
    ASSERT_TRUE(g.scale.logX);
    const auto lines = traceLines(g, traceColour(0));
    ASSERT_EQ(lines.size(), 30u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_NEAR(g.scale.xAt(lines[i].x1) / r.x[i], 1, 1e-9);
        EXPECT_NEAR(g.scale.yAt(lines[i].y1) / reactance(r.x[i]), 1, 1e-9);
        EXPECT_NEAR(g.scale.yAt(lines[i].y2) / reactance(r.x[i + 1]), 1, 1e-9);
        EXPECT_NEAR(lines[i].x2 - lines[i].x1, lines[0].x2 - lines[0].x1, 1e-6);
    }
    EXPECT_NEAR(lines.front().x1, g.scale.left, 1e-6);
    EXPECT_NEAR(lines.back().x2, g.scale.right, 1e-6);
    // The decade labels stand under their ticks and read back to their value.
    int decades = 0;
    for (const TextPrimitive& t : texts(g.drawing))
        if (t.y > g.scale.bottom && t.v == VAnchor::Top) {
            const double v = ReadNumber(t.text);
            EXPECT_NEAR(std::log10(v), std::round(std::log10(v)), 1e-9) << t.text;
            EXPECT_NEAR(t.x, g.scale.toX(v), 1e-6) << t.text;
            ++decades;
        }
    EXPECT_EQ(decades, 4);
}

TEST(SweepDrawing, LegendNamesEveryOutputInItsColour) {
    SweepResult r = reactanceSweep(false, 0, 1e3, 11);
    r.outputs.push_back(output("Twice the reactance"));
    for (auto& row : r.y)
        row.push_back(row[0] ? std::optional(2 * *row[0]) : std::nullopt);
    FixedTextMetrics m;
    const ExploreGraph g = sweepGraph(r, m);
    EXPECT_FALSE(g.scale.logX);
    const auto all = g.drawing.texts();
    for (const char* label : {"Inductive Reactance", "Twice the reactance", "Frequency"})
        EXPECT_NE(std::find(all.begin(), all.end(), label), all.end()) << label;
    // Each output has its own colour, its legend swatch above the plot.
    for (std::size_t k = 0; k < 2; ++k) {
        int swatches = 0;
        for (const auto& item : g.drawing.items)
            if (const auto* l = std::get_if<LinePrimitive>(&item);
                l && l->colour == traceColour(k) && l->y1 < g.scale.top)
                ++swatches;
        EXPECT_EQ(swatches, 1);
    }
    EXPECT_NE(traceColour(0), traceColour(1));
    // The first point (F = 0) has no value: nine segments each.
    EXPECT_EQ(traceLines(g, traceColour(0)).size(), 9u);
    EXPECT_EQ(traceLines(g, traceColour(1)).size(), 9u);
}

// Points without a value break the trace; a lone point between gaps is a
// cross; the pointer over a gap tells its message.
TEST(SweepDrawing, GapsBreakTheTraceAndTellTheirMessage) {
    SweepResult r = reactanceSweep(false, 100, 1000, 10);
    for (int i : {3, 4, 6, 7})
        r.y[static_cast<std::size_t>(i)][0].reset();
    r.gaps = {{3, 4, "No frequency."}, {6, 7, "No frequency."}};
    FixedTextMetrics m;
    const ExploreGraph g = sweepGraph(r, m);
    const auto lines = traceLines(g, traceColour(0));
    // 0-1-2 is two segments, 8-9 one; point 5 stands alone.
    ASSERT_EQ(lines.size(), 3u);
    for (const auto& l : lines)
        for (int i : {3, 4, 5, 6, 7})
            EXPECT_GT(std::abs(l.x1 - g.scale.toX(r.x[static_cast<std::size_t>(i)])) +
                          std::abs(l.x2 - g.scale.toX(r.x[static_cast<std::size_t>(i)])),
                      1)
                << "a segment touches point " << i;
    int crossArms = 0;
    const double x5 = g.scale.toX(r.x[5]);
    for (const auto& item : g.drawing.items)
        if (const auto* l = std::get_if<LinePrimitive>(&item);
            l && l->colour == traceColour(0) && (l->x1 + l->x2) / 2 == x5)
            ++crossArms;
    EXPECT_EQ(crossArms, 2);

    const double x4 = g.scale.toX(r.x[4]), mid = (g.scale.top + g.scale.bottom) / 2;
    EXPECT_EQ(sweepPointerText(r, g.scale, x4, mid), "Frequency = 500.0  No frequency.");
    const double x2 = g.scale.toX(r.x[2]), y2 = g.scale.toY(reactance(r.x[2]));
    EXPECT_EQ(sweepPointerText(r, g.scale, x2 + 5, y2),
              "Frequency = 300.0  Inductive Reactance = " + TrimBlanks(FormatEng(reactance(300))));
    EXPECT_EQ(sweepPointerText(r, g.scale, g.scale.left - 10, mid), "");
}

TEST(ExploreDrawings, TextsStayInsideTheDrawing) {
    FixedTextMetrics m;
    SweepResult r = reactanceSweep(true, 1e-3, 1e12, 50);
    for (int k = 0; k < 6; ++k) {
        r.outputs.push_back(output(std::string(k == 2 ? 300 : 25, 'a' + k)));
        for (auto& row : r.y)
            row.push_back(-1e9 * k);
    }
    const Drawing d = sweepDrawing(r, m);
    expectTextsInside(d, m);
    // Long labels are cut short, not dropped.
    const auto all = d.texts();
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const std::string& t) {
        return t.rfind("ccc", 0) == 0 && t.size() > 3 && t.substr(t.size() - 3) == "...";
    }));
    Spread s{.output = output(std::string(400, 'x')), .nominal = 3.3e-9, .failed = 2};
    for (int i = 0; i < 1000; ++i)
        s.values.push_back(3.3e-9 * (1 + 0.05 * std::sin(i)));
    expectTextsInside(histogramDrawing(s, m), m);
    expectTextsInside(sweepDrawing(reactanceSweep(false, 1, 1, 2), m), m);
}

TEST(Histogram, CountsEveryValueOnceInEqualBins) {
    std::vector<double> v;
    for (int i = 0; i < 400; ++i)
        v.push_back(i % 40);
    const Histogram h = histogramOf(v);
    EXPECT_EQ(h.counts.size(), 20u);
    EXPECT_EQ(std::accumulate(h.counts.begin(), h.counts.end(), 0), 400);
    EXPECT_EQ(h.lo, 0);
    EXPECT_EQ(h.hi, 39);
    for (int c : h.counts)
        EXPECT_EQ(c, 20); // two values of ten runs each per bin
    // One value only: one bin around it.
    const Histogram one = histogramOf({5, 5, 5});
    ASSERT_EQ(one.counts.size(), 1u);
    EXPECT_EQ(one.counts[0], 3);
    EXPECT_LT(one.lo, 5);
    EXPECT_GT(one.hi, 5);
    EXPECT_TRUE(histogramOf({}).counts.empty());
}

// Each bar's top stands at its count, the nominal line at its value, and the
// pointer reads the bar under it.
TEST(Histogram, BarsStandAtTheirCounts) {
    Spread s{.output = output("XL"), .nominal = 10};
    for (int i = 0; i < 100; ++i)
        s.values.push_back(i < 30 ? 9 : 11); // two bins far apart
    FixedTextMetrics m;
    const ExploreGraph g = histogramGraph(s, m);
    const Histogram h = histogramOf(s.values);
    std::vector<double> tops;
    bool nominal = false;
    for (const auto& item : g.drawing.items)
        if (const auto* l = std::get_if<LinePrimitive>(&item)) {
            if (l->y1 == l->y2 && l->colour == kBlack && g.scale.inside(l->x1, l->y1) &&
                l->y1 > g.scale.top + 1 && l->y1 < g.scale.bottom - 1)
                tops.push_back(g.scale.yAt(l->y1));
            nominal = nominal || (l->x1 == l->x2 && std::abs(l->x1 - g.scale.toX(10)) < 1e-6 &&
                                  l->colour != kBlack && l->y1 == g.scale.top);
        }
    std::sort(tops.begin(), tops.end());
    ASSERT_EQ(tops.size(), 2u);
    EXPECT_NEAR(tops[0], 30, 1e-9);
    EXPECT_NEAR(tops[1], 70, 1e-9);
    EXPECT_TRUE(nominal);
    const double mid = (g.scale.top + g.scale.bottom) / 2;
    const std::string left = histogramPointerText(s, g.scale, g.scale.left + 1, mid);
    EXPECT_EQ(left, axisNumber(h.lo) + " to " +
                        axisNumber(h.lo + (h.hi - h.lo) / static_cast<double>(h.counts.size())) +
                        ": 30 runs");
    EXPECT_EQ(histogramPointerText(s, g.scale, g.scale.right + 10, mid), "");
}

} // namespace
} // namespace ferrovane::testing
