#include "calculators/power/filter_sim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/test_window.h"

namespace ferrovane {
namespace {

using testing::TestWindow;
using testing::Texts;

// The example worked by an independent step-by-step program following the
// same circuit rules: V1 355.12 V with 11.463 V ripple, V3 341.12 V with
// 0.33004 V, V5 301.13 V with 4.2893 mV, V7 257.13 V with 64.734 uV,
// 29.386 W, diode 83.994 mA average, 0.15189 A RMS, 0.34419 A peak, 1.6179 A
// at turn-on, C1 0.14453 A RMS.
const Texts kExampleList = {
    "      Average value of V1 = 355.1     Volts",
    "Peak-to-peak Ripple in V1 = 11.46     Volts P-P",
    "      Average value of V3 = 341.1     Volts",
    "Peak-to-peak Ripple in V3 = 330.0e-3  Volts P-P",
    "      Average value of V5 = 301.1     Volts",
    "Peak-to-peak Ripple in V5 = 4.289e-3  Volts P-P",
    "      Average value of V7 = 257.1     Volts",
    "Peak-to-peak Ripple in V7 = 64.73e-6  Volts P-P",
    " Total Power to all Loads = 29.39     Watts",
    "    Average Diode Current = 83.99e-3  Amps",
    "   True RMS Diode Current = 151.9e-3  Amps",
    "       Peak Diode Current = 344.2e-3  Amps",
    "    Turn-on Surge current = 1.618     Amps",
    "   True RMS current in C1 = 144.5e-3  Amps",
};

FilterRun run(const FilterInputs& in) {
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

struct Filter : TestWindow {
    explicit Filter(const std::string& steps = "") : TestWindow(filterSim(), steps) {}
};

// The example file's inputs, as its boxes read.
FilterInputs example() {
    return filterInputs(Filter().form);
}

TEST(FilterSim, ExampleListsTheLast24CyclesAndItsCloseRestoresTheWindow) {
    Filter w("CmdCalc");
    EXPECT_EQ(w.list(), kExampleList);
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_TRUE(w.form.maximised() && w.form.visible("PGraph") && w.form.enabled("CmdClosGr"));
    EXPECT_FALSE(w.form.visible("FrameLeft") || w.form.visible("CmdCalc"));
    w.press("CmdClosGr");
    EXPECT_FALSE(w.form.maximised() || w.form.visible("PGraph") || w.form.visible("CmdClosGr"));
    EXPECT_TRUE(w.form.visible("FrameLeft") && w.form.visible("CmdCalc"));
    EXPECT_EQ(w.list(), kExampleList);
    w.form.setMaximised(true); // a window the user maximised stays so
    w.apply("CmdCalc CmdClosGr");
    EXPECT_TRUE(w.form.maximised());
}

// The plot spans x 1197 to 15280 and y 0 to 10520 of a 15360 twip window.
TEST(FilterSim, GraphHasFrameGridLegendAndAxisLabels) {
    const Filter w("CmdCalc");
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
    Texts expected = {"Rectifier Output Voltage", "Voltage Across C1", "Voltage Across C3",
                      "Voltsge Across C5",        "Voltage Across C7", "Diode Current Amps x 100"};
    for (const auto& t : testing::words("0 100 200 300 400 500 0.000 40.00e-3 80.00e-3 120.0e-3 "
                                        "160.0e-3 200.0e-3 Volts"))
        expected.push_back(t);
    expected.push_back("Time in Seconds");
    EXPECT_EQ(g.texts(), expected);
    for (const auto& p : g.items)
        if (const auto* t = std::get_if<TextPrimitive>(&p)) {
            EXPECT_EQ(t->colour, kWhite) << t->text;
        }
    // Legend marks in the trace colours at 412, 712 and 1012 twips; every
    // trace point lies in the plot.
    const std::pair<Colour, double> marks[] = {{0x888888, 412}, {0x0000FF, 712}, {0x00FF00, 1012},
                                               {0xFFFF00, 412}, {0xFF00FF, 712}, {0x00FFFF, 1012}};
    for (const auto& [colour, y] : marks) {
        const auto lines = linesOf(g, colour);
        EXPECT_GT(lines.size(), 100u);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [y = y](const LinePrimitive& l) {
            return l.y1 == y && l.y2 == y && l.x2 - l.x1 == 600;
        })) << colour;
        for (const auto& l : lines)
            EXPECT_TRUE(l.x1 >= 1197 && l.x2 <= 15280 && l.y1 >= 0 && l.y2 <= 10520);
    }
}

// A step longer than R0 C1 is cut into sub-steps, so V1 stays below the
// peak; one too short to cut is refused.
TEST(FilterSim, UnstableStepIsSubdividedAndStaysBelowThePeak) {
    FilterInputs in = example();
    in.r0 = 0.05, in.c1 = 4.7e-6, in.tTotal = 0.5;
    const FilterRun r = run(in);
    EXPECT_GT(r.subSteps, 100);
    double highest = 0;
    for (const auto& s : r.samples)
        highest = std::max(highest, s.v1);
    EXPECT_NEAR(highest, std::sqrt(2.0) * 300 * 0.99, std::sqrt(2.0) * 300 * 0.011);
    in.r0 = 1e-6; // 4.7 ps: more than 1000 sub-steps
    FilterRun refused;
    Progress progress;
    simulateFilter(in, progress, refused);
    EXPECT_NE(refused.fault.find("R0 with C1, is 4.700e-12 seconds"), std::string::npos);
}

// Below 1 uF C1 is left out: the rectifier feeds the choke, whose current
// the diode stops at zero, never below.
TEST(FilterSim, ChokeInputNeverConductsBackwards) {
    FilterInputs in = example();
    in.c1 = 0.5e-6, in.l2 = 0.2, in.r2 = 10, in.i3 = 1e-3; // a small choke on a light load
    const FilterRun r = run(in);
    double lowest = 1;
    for (const auto& s : r.samples)
        lowest = std::min(lowest, s.id);
    EXPECT_EQ(lowest, 0);
    const FilterFigures& f = r.figures;
    EXPECT_EQ(f.capacitorRms, 0);
    // I1 is not drawn without C1, so it is not in the power.
    EXPECT_NEAR(f.power, f.average[1] * 1e-3 + f.average[2] * 2e-3 + f.average[3] * 2e-3, 1e-9);
}

TEST(FilterSim, OnlyNodeOneAndZeroLoads) {
    Filter w("TxtRCLI(6)=0 TxtRCLI(4)=0 CmdCalc");
    for (int line = 2; line < 8; ++line)
        EXPECT_NE(w.list()[line].find("= 0.000     Volts"), std::string::npos) << w.list()[line];
    const Drawing& g = w.form.drawing("PGraph");
    EXPECT_EQ(linesOf(g, 0x00FF00).size(), 1u); // the legend mark only
    EXPECT_EQ(linesOf(g, 0xFF00FF).size(), 1u);
    // Unloaded, V1 settles at the rectified peak.
    FilterInputs in = example();
    in.i1 = in.i3 = in.i5 = in.i7 = 0;
    const FilterRun r = run(in);
    EXPECT_NEAR(r.figures.average[0], std::sqrt(2.0) * 300, 0.005 * std::sqrt(2.0) * 300);
    EXPECT_EQ(r.figures.power, 0);
}

TEST(FilterSim, RippleChargeBalanceAndHalfWave) {
    FilterInputs doubled = example();
    doubled.c1 *= 2;
    const double ratio = run(doubled).figures.ripple[0] / run(example()).figures.ripple[0];
    EXPECT_NEAR(ratio, 0.5, 0.1);
    for (Rectifier rect : {Rectifier::Full, Rectifier::Half}) {
        FilterInputs in = example();
        in.rectifier = rect;
        const FilterRun r = run(in);
        // In the steady state the diode delivers what the loads draw.
        EXPECT_NEAR(r.figures.diodeAverage, 0.084, 0.01 * 0.084);
        // 12 cycles shown: a ripple peak every half cycle, or every cycle.
        int peaks = 0;
        for (std::size_t i = 1; i + 1 < r.samples.size(); ++i)
            peaks +=
                r.samples[i].v1 > r.samples[i - 1].v1 && r.samples[i].v1 >= r.samples[i + 1].v1;
        EXPECT_NEAR(peaks, rect == Rectifier::Full ? 24 : 12, 1);
    }
}

// Fewer than 24 cycles: the sums are divided by the full window, and the
// ripple of no step at all is zero rather than what the extremes started at.
TEST(FilterSim, ShortRunsDivideByTheFullWindow) {
    const Filter w("TxtRCLI(19)=1e-5 CmdCalc"); // not one step
    for (const auto& line : w.list())
        EXPECT_NE(line.find("= 0.000     "), std::string::npos) << line;
    FilterInputs in = example();
    in.tTotal = 0.1; // 6 cycles: a quarter of the window's samples
    const FilterRun r = run(in);
    EXPECT_GT(r.figures.average[0], 0);
    EXPECT_LT(r.figures.average[0], 0.25 * std::sqrt(2.0) * 300);
    EXPECT_GT(r.figures.ripple[0], 0.9 * 4 * r.figures.average[0] * 0.5);
}

// Each refusal: one message, and the form exactly as it was.
TEST(FilterSim, RefusalsChangeNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"TxtRCLI(16)=0", "Power Line Frequency above zero"},
        {"TxtRCLI(1)=0", "needs a Rrectifier source R0 above zero"},
        {"TxtRCLI(23)=0 TxtRCLI(22)=0", "must differ"},
        {"TxtRCLI(20)=1", "two Labeled Time Ticks"},
        {"TxtRCLI(24)=1.4", "two Labeled Time Ticks"},
        {"TxtRCLI(18)=0", "Graph Length of at least one cycle"},
        {"TxtRCLI(21)=40000", "not above 32767"},
        {"TxtRCLI(19)=50000", "more than 1000000000 steps"},
        {"TxtRCLI(1)=1e-9", "the shortest time constant of the circuit, R0 with C1"},
        {"TxtRCLI(0)=1e200", "cannot be calculated"},
        {"TxtRCLI(4)=0 TxtRCLI(19)=.5", "R2 with C1 and C3, is 0"},
        {"", "Choose Half-Wave or Full-Wave Rectification."},
    };
    for (const auto& [steps, message] : cases) {
        Filter w("CmdCalc CmdClosGr");
        w.apply(steps);
        if (*steps == 0)
            w.form.clearOption("Frame1");
        const Form before = w.form;
        w.apply("CmdCalc");
        EXPECT_TRUE(w.form == before) << steps;
        ASSERT_EQ(w.dialogs.shown.size(), 1u) << steps;
        EXPECT_NE(w.dialogs.shown[0].text.find(message), std::string::npos)
            << w.dialogs.shown[0].text;
    }
    // Loading the file chooses full-wave again after Clear.
    EXPECT_EQ(Filter("CmdClr CmdLoadData CmdCalc").dialogs.texts(), Texts{});
}

// A host that cancels the run at its first progress report.
struct CancellingHost : LongRunHost {
    bool run(const std::string& t, const LongWork& work) override {
        title = t;
        Progress progress;
        progress.cancel();
        work(progress);
        return !progress.cancelled();
    }
    std::string title;
};

// 4 s is not long, but 4 s of about 400 sub-steps a step is.
TEST(FilterSim, LongRunsGoToTheHostAndCancelChangesNothing) {
    CancellingHost host;
    Filter w("CmdCalc CmdClosGr");
    w.env.longRuns = &host;
    w.apply("CmdCalc CmdClosGr");
    EXPECT_EQ(host.title, "");
    w.apply("TxtRCLI(1)=.05 TxtRCLI(2)=4.7e-6");
    const Form before = w.form;
    w.apply("CmdCalc");
    EXPECT_EQ(host.title, "Power Supply Filter Simulation");
    EXPECT_TRUE(w.form == before);
    EXPECT_TRUE(w.dialogs.shown.empty());
}

TEST(FilterSim, TracesAsCsvAndThePointer) {
    Filter w("CmdCalc TxtRCLI(0)=100"); // the graph shown, though the boxes changed since
    const FilterRun r = run(example());
    const std::string csv = filterTracesCsv(r);
    Progress progress;
    EXPECT_EQ(filterTracesCsv(w.form, progress), csv);
    // A header, then every step of the 0.2 s shown, each of seven columns.
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 12 * 360);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), ','), 6 * (1 + 12 * 360));
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "Time (s),Rectifier Output (V),V1 (V),V3 (V),V5 (V),V7 (V),Diode Current (A)\r");
    EXPECT_NEAR(r.samples.front().t, 1.0 / 21600, 1e-15);
    // Half way across and up: 0.1 s, 250 V.
    EXPECT_EQ(filterPointerText(w.form, (1197 + 15280) / 2.0, 10520 / 2.0),
              "100.0e-3 Sec.  250.0 Volts");
    EXPECT_EQ(filterPointerText(w.form, 100, 100), "");
    // A graph far past the run's end shows no trace; a long one stays within
    // a few lines per drawing unit of width.
    FilterInputs later = example(), longer = example();
    later.tStart = 1e300;
    EXPECT_TRUE(run(later).samples.empty());
    longer.cycles = 2000, longer.tTotal = 40;
    EXPECT_LT(run(longer).graph.items.size(), 6u * 3 * (15280 - 1197));
}

TEST(FilterSim, ClearAndTheDataFile) {
    Texts lines = Filter("TxtRCLI(0)=250 OpHalf").close();
    ASSERT_EQ(lines.size(), 29u);
    EXPECT_EQ(Texts({lines[1], lines[3], lines[28]}), (Texts{" 250.0     ", " 40.00e-6  ", "2"}));
    Filter c("CmdCalc CmdClosGr CmdClr");
    EXPECT_EQ(c.form.text("TxtRCLI(5)"), "");
    EXPECT_TRUE(c.list().empty());
    lines = c.close();
    EXPECT_EQ(Texts({lines[27], lines[28]}), (Texts{" 0.000     ", "0"}));
}

} // namespace
} // namespace ferrovane
