// What the scenario file cannot say about the filter simulation: the
// graph's geometry, laws the traces must obey, long runs and the exports.
#include "calculators/power/filter_sim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "support/test_window.h"

namespace ferrovane {
namespace {

using testing::TestWindow;

const double kPeak = std::sqrt(2.0) * 300; // the example's 300 V RMS at its crest

// Both passes over the example file's inputs, changed as a test needs.
FilterRun run(const std::function<void(FilterInputs&)>& change = {}) {
    FilterInputs in = filterInputs(exampleForm(filterSim()));
    if (change)
        change(in);
    Progress progress;
    FilterRun r;
    EXPECT_TRUE(simulateFilter(in, progress, r));
    EXPECT_EQ(r.fault, "");
    return r;
}

std::vector<LinePrimitive> linesOf(const Drawing& d, Colour colour) {
    std::vector<LinePrimitive> out;
    for (const auto& p : d.items)
        if (const auto* l = std::get_if<LinePrimitive>(&p); l && l->colour == colour)
            out.push_back(*l);
    return out;
}

// The plot spans x 1197 to 15280 and y 0 to 10520 of a 15360 twip window.
// Without C3 and R2 only the source, V1 and the diode current are traced.
TEST(FilterSim, GraphHasFrameGridLegendAndTracesInsideThePlot) {
    for (const bool allNodes : {true, false}) {
        const TestWindow w(filterSim(), allNodes ? "CmdCalc" : "TxtRCLI(6)=0 TxtRCLI(4)=0 CmdCalc");
        const Drawing& g = w.form.drawing("PGraph");
        EXPECT_EQ(g.background, kBlack);
        EXPECT_EQ(linesOf(g, kWhite).size(), 4u);
        // 6 time labels by 4 divisions: 21 lines; 6 volt labels by 5: 26.
        int vertical = 0, horizontal = 0;
        for (const auto& l : linesOf(g, 0x888888)) {
            vertical += l.x1 == l.x2 && l.y1 == 0 && l.y2 == 10520;
            horizontal += l.y1 == l.y2 && l.x1 == 1197 && l.x2 == 15280;
        }
        EXPECT_EQ(vertical, 21);
        EXPECT_EQ(horizontal, 26);
        // A legend mark in each trace's colour at 412, 712 or 1012 twips.
        const std::tuple<Colour, double, bool> traces[] = {
            {0x888888, 412, true},     {0x0000FF, 712, true},     {0x00FF00, 1012, allNodes},
            {0xFFFF00, 412, allNodes}, {0xFF00FF, 712, allNodes}, {0x00FFFF, 1012, true}};
        for (const auto& [colour, y, traced] : traces) {
            const auto lines = linesOf(g, colour);
            EXPECT_TRUE(traced ? lines.size() > 100 : lines.size() == 1) << colour;
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [y = y](const LinePrimitive& l) {
                return l.y1 == y && l.y2 == y && l.x2 - l.x1 == 600;
            })) << colour;
            for (const auto& l : lines)
                EXPECT_TRUE(l.x1 >= 1197 && l.x2 <= 15280 && l.y1 >= 0 && l.y2 <= 10520);
        }
        for (const auto& p : g.items) {
            if (const auto* t = std::get_if<TextPrimitive>(&p)) {
                EXPECT_EQ(t->colour, kWhite) << t->text;
            }
        }
    }
}

// Laws the run must obey whatever its code: a step longer than R0 C1 is
// cut into sub-steps, so V1 stays below the crest; unloaded, V1 settles at
// the crest; in the steady state the diode delivers what the loads draw;
// twice C1 halves the ripple; 12 cycles shown hold a ripple peak every half
// cycle full-wave, every cycle half-wave; six cycles of run are divided by
// the full window of 24, so V1 shows below a quarter of the crest.
TEST(FilterSim, TheRunObeysTheCircuitsLaws) {
    const FilterRun cut =
        run([](FilterInputs& in) { in.r0 = 0.05, in.c1 = 4.7e-6, in.tTotal = 0.5; });
    EXPECT_GT(cut.subSteps, 100);
    double highest = 0;
    for (const auto& s : cut.samples)
        highest = std::max(highest, s.v1);
    EXPECT_NEAR(highest, kPeak * 0.99, kPeak * 0.011);
    const FilterRun unloaded = run([](FilterInputs& in) { in.i1 = in.i3 = in.i5 = in.i7 = 0; });
    EXPECT_NEAR(unloaded.figures.average[0], kPeak, 0.005 * kPeak);
    EXPECT_EQ(unloaded.figures.power, 0);
    const double ripple = run().figures.ripple[0];
    EXPECT_NEAR(run([](FilterInputs& in) { in.c1 *= 2; }).figures.ripple[0] / ripple, 0.5, 0.1);
    for (Rectifier rect : {Rectifier::Full, Rectifier::Half}) {
        const FilterRun r = run([rect](FilterInputs& in) { in.rectifier = rect; });
        EXPECT_NEAR(r.figures.diodeAverage, 0.084, 0.01 * 0.084);
        int peaks = 0;
        for (std::size_t i = 1; i + 1 < r.samples.size(); ++i)
            peaks +=
                r.samples[i].v1 > r.samples[i - 1].v1 && r.samples[i].v1 >= r.samples[i + 1].v1;
        EXPECT_NEAR(peaks, rect == Rectifier::Full ? 24 : 12, 1);
    }
    const FilterFigures six = run([](FilterInputs& in) { in.tTotal = 0.1; }).figures;
    EXPECT_GT(six.average[0], 0);
    EXPECT_LT(six.average[0], 0.25 * kPeak);
    EXPECT_GT(six.ripple[0], 0.9 * 2 * six.average[0]);
    // Below 1 uF C1 is left out: the rectifier feeds the choke, whose
    // current the diode stops at zero, never below; no current flows in C1.
    const FilterRun choke = run([](FilterInputs& in) {
        in.c1 = 0.5e-6, in.l2 = 0.2, in.r2 = 10, in.i3 = 1e-3; // a small choke, a light load
    });
    double lowest = 1;
    for (const auto& s : choke.samples)
        lowest = std::min(lowest, s.id);
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(choke.figures.capacitorRms, 0);
}

// A host whose user cancels every long run before it starts.
struct CancellingHost : LongRunHost {
    bool run(const std::string& t, const LongWork&) override {
        title = t;
        return false;
    }
    std::string title;
};

// 4 s is not long, but 4 s of about 400 sub-steps a step is. Closing the
// graph gives back the window state the user had.
TEST(FilterSim, LongRunsGoToTheHostAndCancelChangesNothing) {
    CancellingHost host;
    TestWindow w(filterSim(), "CmdCalc CmdClosGr");
    EXPECT_FALSE(w.form.maximised());
    w.env.longRuns = &host;
    w.form.setMaximised(true);
    w.apply("CmdCalc CmdClosGr");
    EXPECT_EQ(host.title, "");
    EXPECT_TRUE(w.form.maximised());
    w.apply("TxtRCLI(1)=.05 TxtRCLI(2)=4.7e-6");
    const Form before = w.form;
    w.apply("CmdCalc");
    EXPECT_EQ(host.title, "Power Supply Filter Simulation");
    EXPECT_TRUE(w.form == before);
    EXPECT_TRUE(w.dialogs.shown.empty());
}

TEST(FilterSim, TracesAsCsvAndThePointer) {
    TestWindow w(filterSim(), "CmdCalc TxtRCLI(0)=100"); // the graph stays as calculated
    const FilterRun r = run();
    const std::string csv = filterTracesCsv(r);
    Progress progress;
    EXPECT_EQ(filterTracesCsv(w.form, progress), csv);
    // A header, then every step of the 0.2 s shown, each of seven columns.
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 12 * 360);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), ','), 6 * (1 + 12 * 360));
    // Half way across and up: 0.1 s, 250 V.
    EXPECT_EQ(filterPointerText(w.form, (1197 + 15280) / 2.0, 10520 / 2.0),
              "100.0e-3 Sec.  250.0 Volts");
    EXPECT_EQ(filterPointerText(w.form, 100, 100), "");
    // A graph far past the run's end shows no trace; a long one stays within
    // a few lines per drawing unit of width.
    EXPECT_TRUE(run([](FilterInputs& in) { in.tStart = 1e300; }).samples.empty());
    EXPECT_LT(run([](FilterInputs& in) { in.cycles = 2000, in.tTotal = 40; }).graph.items.size(),
              6u * 3 * (15280 - 1197));
}

} // namespace
} // namespace ferrovane
