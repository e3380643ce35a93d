#include "calculators/power/filter_sim.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

#include "numeric/constants.h"
#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

namespace ferrovane {
namespace {

constexpr int kBoxes = 27;
constexpr const char* kBox = "TxtRCLI";
constexpr const char* kRectifier = "Frame1";
constexpr const char* kFull = "OpFull";
constexpr const char* kHalf = "OpHalf";
constexpr const char* kList = "List1";
constexpr const char* kGraph = "PGraph";
constexpr const char* kCloseGraph = "CmdClosGr";
constexpr const char* kWasMaximised = "WasMaximised";
// What the last run's graph spans, for the pointer readout.
constexpr const char* kShownStart = "GraphStart";
constexpr const char* kShownEnd = "GraphEnd";
constexpr const char* kShownYMin = "GraphYMin";
constexpr const char* kShownYMax = "GraphYMax";
// The numbers the shown graph was run with: boxes by index, then the option.
constexpr const char* kRunBox = "RunBox";
constexpr const char* kRunRectifier = "RunRectifier";
// Hidden while the graph covers the window, shown again by its Close.
constexpr std::array<const char*, 7> kCovered = {"FrameLeft", "FrameRight",  "FrameList", "CmdCalc",
                                                 "CmdClr",    "CmdLoadData", "CmdClose"};

// L6 is read and written but the simulation has no use for it.
constexpr const char* kL6Tooltip =
    "L6 is kept in the file but not simulated: the last section is the resistor R6 alone.";

constexpr int kStepsPerCycle = 360;
constexpr int kStatsCycles = 24;
constexpr double kStatsSteps = kStepsPerCycle * kStatsCycles; // every sum is divided by 8640
constexpr double kSmallestCapacitor = 1e-6;                   // below it a node has no capacitor
constexpr double kIsolating = 1e12; // ohms: everything after it is cut off
constexpr int kLargestWhole = 32767;
constexpr double kMostSteps = 1e9;
constexpr int kMostSubSteps = 1000;
constexpr int kMostGridLines = 1000;
// A run longer than this many steps is expected to take more than 100 ms.
constexpr double kLongRunSteps = 1e7;

// The graph's coordinate space: the maximised window, in twips.
constexpr double kWindowW = 15360;
constexpr double kWindowH = 11520;
constexpr double kGraphLeft = 1197; // round(0.07792 W)
constexpr double kGraphRight = kWindowW - 80;
constexpr double kGraphBottom = kWindowH - 1000;

constexpr Colour kTraceGrey = 0x888888;
constexpr Colour kYellow = 0x00FFFF;
constexpr Colour kCyan = 0xFFFF00;
constexpr Colour kMagenta = 0xFF00FF;

enum Trace { kSource, kV1, kV3, kV5, kV7, kDiode, kTraces };
constexpr std::array<Colour, kTraces> kTraceColour = {kTraceGrey, kRed,     kGreen,
                                                      kCyan,      kMagenta, kYellow};

// The series capacitance two capacitors present to the resistor between them.
double series(double a, double b) {
    return a * b / (a + b);
}

struct Circuit {
    double r0, c1, r2, l2, c3, r4, l4, c5, r6, c7;
    bool capInput = false, node3 = false, node5 = false, node7 = false;
    // Reciprocals, so that a step multiplies instead of dividing.
    double perR0 = 0, perC1 = 0, perR2 = 0, perL2 = 0, perR0R2 = 0, perC3 = 0, perR4 = 0, perL4 = 0,
           perC5 = 0, perR6 = 0, perC7 = 0;
};

Circuit circuitOf(const FilterInputs& in) {
    Circuit k{in.r0, in.c1, in.r2, in.l2, in.c3, in.r4, in.l4, in.c5, in.r6, in.c7};
    // Unused sections, in this order; an isolated section's choke goes too,
    // or its flux would swing against the isolating resistance.
    if (k.c7 == 0 && k.r6 == 0)
        k.r6 = kIsolating;
    if (k.c5 == 0 && k.r4 == 0) {
        k.r4 = kIsolating;
        k.l4 = 0;
        k.r6 = k.c7 = 0;
    }
    if (k.c3 == 0 && k.r2 == 0) {
        k.r2 = kIsolating;
        k.l2 = 0;
        k.r4 = k.r6 = k.c5 = k.c7 = 0;
        k.l4 = 0;
    }
    k.capInput = k.c1 >= kSmallestCapacitor;
    k.node3 = k.c3 >= kSmallestCapacitor;
    k.node5 = k.c5 >= kSmallestCapacitor;
    k.node7 = k.c7 >= kSmallestCapacitor;
    k.perR0 = 1 / k.r0, k.perC1 = 1 / k.c1, k.perR2 = 1 / k.r2, k.perL2 = 1 / k.l2;
    k.perR0R2 = 1 / (k.r0 + k.r2), k.perC3 = 1 / k.c3, k.perR4 = 1 / k.r4, k.perL4 = 1 / k.l4;
    k.perC5 = 1 / k.c5, k.perR6 = 1 / k.r6, k.perC7 = 1 / k.c7;
    return k;
}

// Each load draws J = constant + V g: its entered current in the first
// pass, V / RL in the second.
struct Loads {
    double constant[4] = {};
    double g[4] = {};
};

struct TimeConstant {
    double seconds = std::numeric_limits<double>::infinity();
    std::string name;
    void consider(double tau, std::string what) {
        if (!(tau >= seconds))
            *this = {tau, std::move(what)};
    }
};

// The shortest R C, L / R and sqrt(L C) of the circuit (and of the loads
// as resistances).
TimeConstant shortestTimeConstant(const Circuit& k, const Loads& loads) {
    TimeConstant t;
    auto section = [&t](const std::string& r, double rv, const std::string& l, double lv,
                        const std::string& caps, double c) {
        if (lv == 0) {
            t.consider(rv * c, r + " with " + caps);
            return;
        }
        if (rv != 0)
            t.consider(lv / rv, l + " / " + r);
        t.consider(std::sqrt(lv * c), l + " with " + caps);
    };
    if (k.capInput) {
        t.consider(k.r0 * k.c1, "R0 with C1");
        section("R2", k.r2, "L2", k.l2, k.node3 ? "C1 and C3" : "C1",
                k.node3 ? series(k.c1, k.c3) : k.c1);
    } else if (k.l2 != 0) {
        t.consider(k.l2 / (k.r0 + k.r2), "L2 / (R0 + R2)");
        if (k.node3)
            t.consider(std::sqrt(k.l2 * k.c3), "L2 with C3");
    } else if (k.node3) {
        t.consider((k.r0 + k.r2) * k.c3, "R0 + R2 with C3");
    }
    if (k.node3)
        section("R4", k.r4, "L4", k.l4, k.node5 ? "C3 and C5" : "C3",
                k.node5 ? series(k.c3, k.c5) : k.c3);
    if (k.node5)
        section("R6", k.r6, "", 0, k.node7 ? "C5 and C7" : "C5",
                k.node7 ? series(k.c5, k.c7) : k.c5);
    const std::array<bool, 4> used = {k.capInput, k.node3, k.node5, k.node7};
    const std::array<double, 4> caps = {k.c1, k.c3, k.c5, k.c7};
    for (int n = 0; n < 4; ++n)
        if (used[n] && loads.g[n] != 0)
            t.consider(caps[n] / loads.g[n],
                       "RL" + std::to_string(2 * n + 1) + " with C" + std::to_string(2 * n + 1));
    return t;
}

struct State {
    double v1 = 0, v3 = 0, v5 = 0, v7 = 0;
    double q1 = 0, q3 = 0, q5 = 0, q7 = 0;
    double phi2 = 0, phi4 = 0;
    double i2 = 0, i4 = 0, i6 = 0;
    double id = 0, ic = 0;
    double j[4] = {};
};

// One explicit step of h seconds with the rectified source at vs.
inline void advance(State& s, const Circuit& k, const Loads& ld, double vs, double h) {
    if (k.capInput) {
        s.id = std::max(0.0, (vs - s.v1) * k.perR0);
        s.q1 += (s.id - s.i2 - s.j[0]) * h;
        s.ic = s.id - s.i2;
        s.v1 = s.q1 * k.perC1;
        s.j[0] = ld.constant[0] + s.v1 * ld.g[0];
        s.phi2 += (s.v1 - k.r2 * s.i2 - s.v3) * h;
        s.i2 = k.l2 == 0 ? (s.v1 - s.v3) * k.perR2 : s.phi2 * k.perL2;
    } else {
        // Choke input: the rectifier feeds section 2 through R0. The diode
        // does not conduct backwards, so the choke current stops at zero.
        s.phi2 += (vs - (k.r0 + k.r2) * s.id - s.v3) * h;
        s.i2 = k.l2 == 0 ? (vs - s.v3) * k.perR0R2 : s.phi2 * k.perL2;
        if (s.i2 < 0) {
            s.i2 = 0;
            s.phi2 = 0;
        }
        s.id = s.i2;
        s.v1 = vs - k.r0 * s.i2;
    }
    if (k.node3) {
        s.q3 += (s.i2 - s.i4 - s.j[1]) * h;
        s.v3 = s.q3 * k.perC3;
        s.j[1] = ld.constant[1] + s.v3 * ld.g[1];
        s.phi4 += (s.v3 - k.r4 * s.i4 - s.v5) * h;
        s.i4 = k.l4 == 0 ? (s.v3 - s.v5) * k.perR4 : s.phi4 * k.perL4;
    }
    if (k.node5) {
        s.q5 += (s.i4 - s.i6 - s.j[2]) * h;
        s.v5 = s.q5 * k.perC5;
        s.j[2] = ld.constant[2] + s.v5 * ld.g[2];
        s.i6 = (s.v5 - s.v7) * k.perR6;
    }
    if (k.node7) {
        s.q7 += (s.i6 - s.j[3]) * h;
        s.v7 = s.q7 * k.perC7;
        s.j[3] = ld.constant[3] + s.v7 * ld.g[3];
    }
}

struct Stats {
    double sum[4] = {}, lo[4] = {}, hi[4] = {};
    double idSum = 0, idSquares = 0, icSquares = 0, peak = 0, surge = 0;
    std::int64_t samples = 0;

    void add(const State& s) {
        const double v[4] = {s.v1, s.v3, s.v5, s.v7};
        for (int n = 0; n < 4; ++n) {
            sum[n] += v[n];
            lo[n] = samples == 0 ? v[n] : std::min(lo[n], v[n]);
            hi[n] = samples == 0 ? v[n] : std::max(hi[n], v[n]);
        }
        idSum += s.id;
        idSquares += s.id * s.id;
        icSquares += s.ic * s.ic;
        peak = std::max(peak, s.id);
        ++samples;
    }
};

// The traces of the graph: a segment from each trace's previous point to
// its new one, when the new one lies inside the plot and differs from it.
// Vertical runs within one drawing unit of x are joined into one line, so
// the list stays bounded by the plot's width whatever the graph length.
class Plotter {
public:
    Plotter(const FilterInputs& in, Drawing& graph) : graph_(graph) {
        tStart_ = in.tStart;
        xScale_ = (kGraphRight - kGraphLeft) / (in.cycles / in.f);
        yMin_ = in.yMin;
        yScale_ = kGraphBottom / (in.yMax - in.yMin);
        if (in.tStart == 0) {
            const double y0 = yOf(0);
            for (auto& t : traces_)
                t = {kGraphLeft, y0, true};
        }
    }
    double xOf(double t) const { return std::nearbyint((t - tStart_) * xScale_ + kGraphLeft); }
    double yOf(double v) const { return std::nearbyint(kGraphBottom - (v - yMin_) * yScale_); }

    void plot(Trace which, double x, double v) {
        Point& p = traces_[which];
        const double y = yOf(v);
        const bool inside = kGraphLeft < x && x < kGraphRight && 0 < y && y < kGraphBottom;
        if (inside && p.known && (x != p.x || y != p.y)) {
            if (x == p.x) {
                if (!p.column || p.columnX != x) {
                    flush(which);
                    p.column = true;
                    p.columnX = x;
                    p.columnLo = p.columnHi = p.y;
                }
                p.columnLo = std::min(p.columnLo, y);
                p.columnHi = std::max(p.columnHi, y);
            } else {
                flush(which);
                graph_.line(p.x, p.y, x, y, kTraceColour[which]);
            }
        }
        p.x = x;
        p.y = y;
        p.known = true;
    }
    void finish() {
        for (int t = 0; t < kTraces; ++t)
            flush(static_cast<Trace>(t));
    }

private:
    struct Point {
        double x = 0, y = 0;
        bool known = false;
        bool column = false;
        double columnX = 0, columnLo = 0, columnHi = 0;
    };
    void flush(Trace which) {
        Point& p = traces_[which];
        if (p.column && p.columnHi > p.columnLo)
            graph_.line(p.columnX, p.columnLo, p.columnX, p.columnHi, kTraceColour[which]);
        p.column = false;
    }

    Drawing& graph_;
    double tStart_ = 0, xScale_ = 0, yMin_ = 0, yScale_ = 0;
    std::array<Point, kTraces> traces_{};
};

// Steps of the whole run: k = 1 .. K at t = k / (360 F), K the last with
// t at or below the total time.
std::int64_t stepCount(const FilterInputs& in) {
    const double exact = in.tTotal * kStepsPerCycle * in.f;
    if (!(exact >= 1))
        return 0;
    return static_cast<std::int64_t>(std::floor(exact * (1 + 1e-12)));
}

struct Pass {
    const FilterInputs& in;
    const Circuit& circuit;
    const Loads& loads;
    int subSteps;
    Plotter* plotter;                   // second pass only
    std::vector<FilterSample>* samples; // second pass only
    Progress& progress;
    double progressFrom, progressSpan;
};

// One pass: false when cancelled; fault set when the arithmetic overflowed.
bool runPass(const Pass& p, Stats& stats, std::string& fault) {
    const FilterInputs& in = p.in;
    const double dt = 1 / (kStepsPerCycle * in.f);
    const std::int64_t steps = stepCount(in);
    const std::int64_t statsFrom = steps - static_cast<std::int64_t>(kStatsSteps) + 1;
    const double peak = std::sqrt(2.0) * in.vrms;
    const bool full = in.rectifier == Rectifier::Full;
    // sin(2 pi F t) at t = k dt depends only on k mod 360.
    std::array<double, kStepsPerCycle> sine{};
    for (int i = 0; i < kStepsPerCycle; ++i)
        sine[i] = std::sin(2 * Pi * i / kStepsPerCycle);
    auto rectified = [&](double s) { return full ? peak * std::abs(s) : std::max(0.0, peak * s); };

    // The steps whose points the graph needs: the one at or before the
    // graph's start, through the one after its end.
    const double tEnd = in.tStart + in.cycles / in.f;
    std::int64_t plotFrom = 1, plotTo = 0, sampleFrom = 1, sampleTo = 0, stride = 1;
    if (p.plotter) {
        // Held to 0 .. steps + 1 before they become whole numbers, however
        // far the graph lies from the run.
        const double last = static_cast<double>(steps) + 1;
        auto step = [last](double k) {
            return static_cast<std::int64_t>(std::clamp(std::isnan(k) ? last : k, 0.0, last));
        };
        plotFrom = std::max<std::int64_t>(1, step(std::floor(in.tStart / dt)));
        plotTo = step(std::ceil(tEnd / dt) + 1);
        sampleFrom = std::max<std::int64_t>(1, step(std::ceil(in.tStart / dt - 1e-9)));
        sampleTo = std::min(steps, step(std::floor(tEnd / dt + 1e-9)));
        const double span = static_cast<double>(sampleTo - sampleFrom + 1);
        stride = std::max<std::int64_t>(
            1, static_cast<std::int64_t>(std::ceil(span / FilterRun::kMaxSamples)));
        if (sampleTo >= sampleFrom)
            p.samples->reserve(static_cast<std::size_t>((sampleTo - sampleFrom) / stride + 1));
    }

    State s;
    for (int n = 0; n < 4; ++n)
        s.j[n] = p.loads.constant[n];
    const double h = dt / p.subSteps;
    const double cosH = std::cos(2 * Pi / (kStepsPerCycle * p.subSteps));
    const double sinH = std::sin(2 * Pi / (kStepsPerCycle * p.subSteps));
    const Circuit& k = p.circuit;
    int phase = 0; // step mod 360
    int cycles = 0;
    for (std::int64_t step = 1; step <= steps; ++step) {
        const int from = phase;
        phase = phase + 1 == kStepsPerCycle ? 0 : phase + 1;
        if (p.subSteps == 1) {
            advance(s, k, p.loads, rectified(sine[phase]), dt);
            stats.surge = std::max(stats.surge, s.id);
        } else {
            // The sine within the step by rotating from the step's start.
            double sinA = sine[from], cosA = sine[(from + kStepsPerCycle / 4) % kStepsPerCycle];
            for (int j = 1; j <= p.subSteps; ++j) {
                const double next = sinA * cosH + cosA * sinH;
                cosA = cosA * cosH - sinA * sinH;
                sinA = next;
                advance(s, k, p.loads, rectified(sinA), h);
                stats.surge = std::max(stats.surge, s.id);
            }
        }
        if (step >= statsFrom)
            stats.add(s);
        if (p.plotter && step >= plotFrom && step <= plotTo) {
            const double t = static_cast<double>(step) * dt;
            Plotter& g = *p.plotter;
            const double x = g.xOf(t);
            if (k.node3)
                g.plot(kV3, x, s.v3);
            if (k.node5)
                g.plot(kV5, x, s.v5);
            if (k.node7)
                g.plot(kV7, x, s.v7);
            g.plot(kSource, x, rectified(sine[phase]));
            g.plot(kV1, x, s.v1);
            g.plot(kDiode, x, in.multiplier * s.id);
            if (step >= sampleFrom && step <= sampleTo && (step - sampleFrom) % stride == 0)
                p.samples->push_back({t, rectified(sine[phase]), s.v1, s.v3, s.v5, s.v7, s.id});
        }
        if (phase == 0) {
            if (!std::isfinite(s.v1 + s.v3 + s.v5 + s.v7 + s.id + s.ic + s.i2 + s.i4 + s.i6)) {
                fault = "the simulation overflowed at " +
                        TrimBlanks(FormatEng(static_cast<double>(step) * dt)) + " seconds";
                return true;
            }
            if (++cycles % 64 == 0) {
                p.progress.report(p.progressFrom + p.progressSpan * static_cast<double>(step) /
                                                       static_cast<double>(steps));
                if (p.progress.cancelled())
                    return false;
            }
        }
    }
    return true;
}

// Sub-steps that keep each no longer than half the shortest time constant;
// 0 when more than kMostSubSteps would be needed (fault says why).
int subStepsFor(const FilterInputs& in, const Circuit& k, const Loads& loads, std::string& fault) {
    const TimeConstant tau = shortestTimeConstant(k, loads);
    const double dt = 1 / (kStepsPerCycle * in.f);
    const double needed = tau.seconds > 0 ? std::ceil(2 * dt / tau.seconds) : HUGE_VAL;
    if (needed > kMostSubSteps) {
        fault = "the shortest time constant of the circuit, " + tau.name + ", is " +
                (std::isfinite(tau.seconds) ? TrimBlanks(FormatEng(tau.seconds)) : "0") +
                " seconds: more than " + std::to_string(kMostSubSteps) +
                " sub-steps would be needed in every step of " + TrimBlanks(FormatEng(dt)) +
                " seconds";
        return 0;
    }
    return std::max(1, static_cast<int>(needed));
}

FilterFigures figuresOf(const Stats& s, const FilterInputs& in, bool capInput) {
    FilterFigures f;
    const double load[4] = {capInput ? in.i1 : 0, in.i3, in.i5, in.i7};
    for (int n = 0; n < 4; ++n) {
        f.average[n] = s.sum[n] / kStatsSteps;
        f.ripple[n] = s.samples > 0 ? s.hi[n] - s.lo[n] : 0;
        f.power += f.average[n] * load[n];
    }
    f.diodeAverage = s.idSum / kStatsSteps;
    f.diodeRms = std::sqrt(s.idSquares / kStatsSteps);
    f.diodePeak = s.peak;
    f.surge = s.surge;
    f.capacitorRms = std::sqrt(s.icSquares / kStatsSteps);
    return f;
}

std::string numberText(double x) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, x);
    return std::string(buf, r.ptr);
}

} // namespace

std::string filterInputProblem(const FilterInputs& in) {
    if (in.rectifier == Rectifier::None)
        return "Choose Half-Wave or Full-Wave Rectification.";
    if (!(in.f > 0))
        return "Enter a Power Line Frequency above zero.";
    if (in.c1 >= kSmallestCapacitor && in.r0 == 0)
        return "A capacitor input filter needs a Rrectifier source R0 above zero.";
    if (in.cycles < 1)
        return "Enter a Graph Length of at least one cycle.";
    if (in.timeLabels < 2 || in.yLabels < 2)
        return "Enter at least two Labeled Time Ticks and two Labeled Y Ticks.";
    if (in.timeDivisions < 1 || in.yDivisions < 1)
        return "Enter at least one Time Subdivision and one Y Subdivision.";
    if (static_cast<double>(in.timeLabels - 1) * in.timeDivisions + 1 > kMostGridLines ||
        static_cast<double>(in.yLabels - 1) * in.yDivisions + 1 > kMostGridLines)
        return "The graph would have more than " + std::to_string(kMostGridLines) +
               " grid lines in one direction.";
    if (in.yMax == in.yMin)
        return "The Y Maximum Value must differ from the Y Minimum Value.";
    if (in.tTotal * kStepsPerCycle * in.f > kMostSteps)
        return "The Total Simulation Time would need more than 1000000000 steps.";
    return {};
}

bool simulateFilter(const FilterInputs& in, Progress& progress, FilterRun& run) {
    const Circuit circuit = circuitOf(in);
    const std::array<double, 4> entered = {in.i1, in.i3, in.i5, in.i7};

    // Pass 1: constant-current loads.
    Loads first;
    for (int n = 0; n < 4; ++n)
        first.constant[n] = entered[n];
    const int firstSub = subStepsFor(in, circuit, first, run.fault);
    if (firstSub == 0)
        return true;
    Stats stats1;
    if (!runPass({in, circuit, first, firstSub, nullptr, nullptr, progress, 0, 0.5}, stats1,
                 run.fault))
        return false;
    if (!run.fault.empty())
        return true;

    // Pass 2: each load with a current becomes the resistance that drew it.
    // A node that did not charge above zero has no such resistance; its load
    // stays the constant current.
    Loads second;
    for (int n = 0; n < 4; ++n) {
        const double average = stats1.sum[n] / kStatsSteps;
        if (entered[n] > 0 && average > 0)
            second.g[n] = entered[n] / average;
        else if (entered[n] > 0)
            second.constant[n] = entered[n];
    }
    run.subSteps = subStepsFor(in, circuit, second, run.fault);
    if (run.subSteps == 0)
        return true;
    run.graph = Drawing{kWindowW, kWindowH - 100, kBlack, {}};
    run.graph.items.reserve(static_cast<std::size_t>(
        std::min<double>(6.0 * in.cycles * kStepsPerCycle, 12 * (kGraphRight - kGraphLeft))));
    run.samples.clear();
    Plotter plotter(in, run.graph);
    Stats stats2;
    if (!runPass({in, circuit, second, run.subSteps, &plotter, &run.samples, progress, 0.5, 0.5},
                 stats2, run.fault))
        return false;
    plotter.finish();
    run.figures = figuresOf(stats2, in, circuit.capInput);
    return true;
}

void decorateFilterGraph(const FilterInputs& in, const TextMetrics& metrics, Drawing& graph) {
    const Font font;
    const double left = kGraphLeft, right = kGraphRight, bottom = kGraphBottom;
    const int gt = (in.timeLabels - 1) * in.timeDivisions + 1;
    const int gy = (in.yLabels - 1) * in.yDivisions + 1;
    for (int j = 0; j < gt; ++j) {
        const double x = left + j * (right - left) / (gt - 1);
        graph.line(x, 0, x, bottom, kTraceGrey);
    }
    for (int j = 0; j < gy; ++j) {
        const double y = j * bottom / (gy - 1);
        graph.line(left, y, right, y, kTraceGrey);
    }
    graph.line(left, 0, right, 0, kWhite);
    graph.line(right, 0, right, bottom, kWhite);
    graph.line(right, bottom, left, bottom, kWhite);
    graph.line(left, bottom, left, 0, kWhite);

    const std::array<std::string, kTraces> legend = {
        "Rectifier Output Voltage",
        "Voltage Across C1",
        "Voltage Across C3",
        "Voltsge Across C5",
        "Voltage Across C7",
        "Diode Current Amps x" + PlainNumber(in.multiplier, LeadingBlank::Yes)};
    const std::array<Trace, kTraces> order = {kSource, kV1, kV3, kV5, kV7, kDiode};
    for (int e = 0; e < kTraces; ++e) {
        const double x = e < 3 ? left + 300 : left + (right - left) / 2;
        const int row = e % 3;
        graph.line(x, 412 + 300 * row, x + 600, 412 + 300 * row, kTraceColour[order[e]], 30);
        graph.text(x + 750, 300 + 300 * row, legend[e], font, HAnchor::Left, VAnchor::Top, kWhite);
    }

    // Voltage labels end near the plot's left edge, in whole letter widths.
    const double letter = metrics.width("A", font);
    const double yScale = bottom / (in.yMax - in.yMin);
    const double half = metrics.height(font) / 2;
    for (int k = 0; k < in.yLabels; ++k) {
        const double v = in.yMin + k * (in.yMax - in.yMin) / (in.yLabels - 1);
        const std::string label = PlainNumber(v);
        const double n =
            std::max(1.0, std::nearbyint(left / letter - static_cast<double>(label.size()) + 0.5));
        const double y = std::nearbyint(bottom - (v - in.yMin) * yScale);
        graph.text((n - 1) * letter, std::clamp(y, half, bottom), label, font, HAnchor::Left,
                   VAnchor::Middle, kWhite);
    }
    const double tEnd = in.tStart + in.cycles / in.f;
    for (int k = 0; k < in.timeLabels; ++k) {
        const double t = in.tStart + k * (tEnd - in.tStart) / (in.timeLabels - 1);
        const double x = left + k * (right - left) / (in.timeLabels - 1);
        // Centred under its tick, but kept inside the picture.
        const std::string label = TrimBlanks(FormatEng(t));
        const double halfWidth = metrics.width(label, font) / 2;
        graph.text(std::clamp(x, halfWidth, kWindowW - halfWidth), bottom + 60, label, font,
                   HAnchor::Centre, VAnchor::Top, kWhite);
    }
    graph.text(0, 0, "Volts", font, HAnchor::Left, VAnchor::Top, kWhite);
    graph.text((left + right) / 2, bottom + 60 + 2.5 * metrics.height(font), "Time in Seconds",
               font, HAnchor::Centre, VAnchor::Top, kWhite);
}

std::vector<std::string> filterResultLines(const FilterFigures& f) {
    std::vector<std::string> out;
    for (int n = 0; n < 4; ++n) {
        const std::string v = "V" + std::to_string(2 * n + 1);
        out.push_back("      Average value of " + v + " =" + engText(f.average[n]) + "Volts");
        out.push_back("Peak-to-peak Ripple in " + v + " =" + engText(f.ripple[n]) + "Volts P-P");
    }
    out.push_back(" Total Power to all Loads =" + engText(f.power) + "Watts");
    out.push_back("    Average Diode Current =" + engText(f.diodeAverage) + "Amps");
    out.push_back("   True RMS Diode Current =" + engText(f.diodeRms) + "Amps");
    out.push_back("       Peak Diode Current =" + engText(f.diodePeak) + "Amps");
    out.push_back("    Turn-on Surge current =" + engText(f.surge) + "Amps");
    out.push_back("   True RMS current in C1 =" + engText(f.capacitorRms) + "Amps");
    return out;
}

std::string filterTracesCsv(const FilterRun& run) {
    std::string csv = "Time (s),Rectifier Output (V),V1 (V),V3 (V),V5 (V),V7 (V),Diode Current "
                      "(A)\r\n";
    csv.reserve(csv.size() + run.samples.size() * 96);
    for (const FilterSample& s : run.samples) {
        for (double x : {s.t, s.vs, s.v1, s.v3, s.v5, s.v7}) {
            csv += numberText(x);
            csv += ',';
        }
        csv += numberText(s.id);
        csv += "\r\n";
    }
    return csv;
}

std::string filterPointerText(const Form& form, double x, double y) {
    const double t0 = form.value(kShownStart), t1 = form.value(kShownEnd);
    const double v0 = form.value(kShownYMin), v1 = form.value(kShownYMax);
    if (!form.visible(kGraph) || t1 == t0 || !(x >= kGraphLeft && x <= kGraphRight) ||
        !(y >= 0 && y <= kGraphBottom))
        return {};
    const double t = t0 + (x - kGraphLeft) / (kGraphRight - kGraphLeft) * (t1 - t0);
    const double v = v0 + (kGraphBottom - y) / kGraphBottom * (v1 - v0);
    return TrimBlanks(FormatEng(t)) + " Sec.  " + TrimBlanks(FormatEng(v)) + " Volts";
}

namespace {

// The boxes' numbers by index, then the rectifier option's number.
FilterInputs inputsOf(const std::function<double(int)>& n, int rectifier) {
    // Whole numbers, halves to even; what lies beyond 32767 is refused later.
    auto whole = [&n](int i) {
        const double v = std::nearbyint(n(i));
        return v > kLargestWhole    ? kLargestWhole + 1
               : v < -kLargestWhole ? -kLargestWhole - 1
                                    : static_cast<int>(v);
    };
    FilterInputs in;
    in.vrms = n(0), in.r0 = n(1), in.c1 = n(2), in.i1 = n(3);
    in.r2 = n(4), in.l2 = n(5), in.c3 = n(6), in.i3 = n(7);
    in.r4 = n(8), in.l4 = n(9), in.c5 = n(10), in.i5 = n(11);
    in.r6 = n(12), in.l6 = n(13), in.c7 = n(14), in.i7 = n(15);
    in.f = n(16), in.tStart = n(17), in.cycles = whole(18), in.tTotal = n(19);
    in.timeLabels = whole(20), in.timeDivisions = whole(21);
    in.yMin = n(22), in.yMax = n(23), in.yLabels = whole(24), in.yDivisions = whole(25);
    in.multiplier = n(26);
    in.rectifier = rectifier == 1   ? Rectifier::Full
                   : rectifier == 2 ? Rectifier::Half
                                    : Rectifier::None;
    return in;
}

} // namespace

FilterInputs filterInputs(const Form& form) {
    return inputsOf([&form](int i) { return form.number(indexed(kBox, i)); },
                    form.option(kRectifier));
}

std::string filterTracesCsv(const Form& form, Progress& progress) {
    if (!form.visible(kGraph))
        return {};
    const FilterInputs in = inputsOf([&form](int i) { return form.value(indexed(kRunBox, i)); },
                                     static_cast<int>(form.value(kRunRectifier)));
    FilterRun run;
    if (!simulateFilter(in, progress, run) || !run.fault.empty())
        return {};
    return filterTracesCsv(run);
}

namespace {

bool tooLargeWhole(const Form& form) {
    for (int i : {18, 20, 21, 24, 25})
        if (std::abs(std::nearbyint(form.number(indexed(kBox, i)))) > kLargestWhole)
            return true;
    return false;
}

void CmdCalc_Click(Form& form, CalcEnv& env) {
    if (tooLargeWhole(form)) {
        env.dialogs.say("Graph Length, Labeled Time Ticks, Time Subdivisions, Labeled Y Ticks "
                        "and Y Subdivisions must be whole numbers not above 32767.",
                        MessageIcon::Exclamation);
        return;
    }
    const FilterInputs in = filterInputs(form);
    if (const std::string problem = filterInputProblem(in); !problem.empty()) {
        env.dialogs.say(problem, MessageIcon::Exclamation);
        return;
    }
    checkFinite((kGraphRight - kGraphLeft) / (in.cycles / in.f) +
                    kGraphBottom / (in.yMax - in.yMin) + in.tStart + in.cycles / in.f,
                "the graph's scales are out of range");

    FilterRun run;
    auto work = [&in, &run](Progress& progress) {
        if (!simulateFilter(in, progress, run))
            progress.cancel();
    };
    // Both passes, each step with the sub-steps the circuit needs.
    std::string tooShort;
    const int subSteps = std::max(1, subStepsFor(in, circuitOf(in), Loads{}, tooShort));
    const double steps = 2 * in.tTotal * kStepsPerCycle * in.f * subSteps;
    if (steps > kLongRunSteps) {
        if (!env.runLong("Power Supply Filter Simulation", work))
            return;
    } else {
        Progress progress;
        work(progress);
    }
    if (!run.fault.empty())
        throw NumericFault(run.fault);
    form.list(kList) = filterResultLines(run.figures);
    decorateFilterGraph(in, env.textMetrics(), run.graph);
    form.drawing(kGraph) = std::move(run.graph);

    // The graph covers the maximised window until its Close.
    form.setValue(kWasMaximised, form.maximised() ? 1 : 0);
    form.setMaximised(true);
    for (const char* covered : kCovered)
        form.setVisible(covered, false);
    form.setVisible(kGraph, true);
    form.setVisible(kCloseGraph, true);
    form.setEnabled(kCloseGraph, true);
    form.setValue(kShownStart, in.tStart);
    form.setValue(kShownEnd, in.tStart + in.cycles / in.f);
    form.setValue(kShownYMin, in.yMin);
    form.setValue(kShownYMax, in.yMax);
    for (int i = 0; i < kBoxes; ++i)
        form.setValue(indexed(kRunBox, i), form.number(indexed(kBox, i)));
    form.setValue(kRunRectifier, form.option(kRectifier));
}

void CmdClosGr_Click(Form& form, CalcEnv&) {
    form.setVisible(kGraph, false);
    form.setVisible(kCloseGraph, false);
    for (const char* covered : kCovered)
        form.setVisible(covered, true);
    form.setMaximised(form.value(kWasMaximised) != 0);
}

void CmdClr_Click(Form& form, CalcEnv&) {
    for (int i = 0; i < kBoxes; ++i)
        form.setText(indexed(kBox, i), "");
    form.clearOption(kRectifier);
    form.list(kList).clear();
}

const std::array<std::pair<const char*, const char*>, kBoxes> kLabels = {{
    {"Transformer output", "RMS Vv"},
    {"Rrectifier source R0", "Ohms"},
    {"Filter Capacitor C1", "Farads"},
    {"Load Current I1", "Amps"},
    {"Filter Resistor R2", "Ohms"},
    {"Filter Choke L2", "Henrys"},
    {"Filter Capacitor C3", "Farads"},
    {"Load Current I3", "Amps"},
    {"Filter Resistor R4", "Ohms"},
    {"Filter Choke L4", "Henrys"},
    {"Filter Capacitor C5", "Farads"},
    {"Load Current I5", "Amps"},
    {"Filter Resistor R6", "Ohms"},
    {"Filter Choke L6", "Henrys"},
    {"Filter Capacitor C7", "Farads"},
    {"Load Current I7", "Amps"},
    {"Power Line Frequency", "Hertz"},
    {"Graph Start Time", "Sec."},
    {"Graph Length", "Cycles"},
    {"Total Simulation Time", "Sec."},
    {"Labeled Time Ticks", "Number"},
    {"Time Subdivisions", "Number"},
    {"Y Minimum Value", "Volts"},
    {"Y Maximum Value", "Volts"},
    {"Labeled Y Ticks", "Number"},
    {"Y Subdivisions", "Number"},
    {"Diode Current Multiplier", "Fector"},
}};

Calculator makeFilterSim() {
    Calculator calc;
    FormSpec& f = calc.form;
    f.name = "FrmFilter";
    f.caption = "Power Supply Filter Simulation";
    f.widthTwips = 11000;
    f.heightTwips = 8600;
    std::vector<ControlSpec> first, second;
    constexpr int kL6 = 13;
    for (int i = 0; i < kBoxes; ++i) {
        BoxSpec row = box(indexed(kBox, i), kLabels[i].first, kLabels[i].second, {},
                          indexed("Text1", i), indexed("Text3", i));
        if (i == kL6)
            row.tooltip = kL6Tooltip;
        (i <= 16 ? first : second).push_back(row);
    }
    second.push_back(GroupSpec{
        kRectifier, "", {{kFull, "Full-Wave Rectification"}, {kHalf, "Half-Wave Rectification"}}});
    f.left = {frame("FrameLeft", "", Direction::Vertical, first)};
    f.right = {frame("FrameRight", "", Direction::Vertical, second)};
    f.bottom = {frame("FrameList", "", Direction::Vertical, {ListSpec{kList, {}, {}, 14}}),
                DrawingSpec{.name = kGraph,
                            .widthTwips = static_cast<int>(kWindowW),
                            .heightTwips = static_cast<int>(kWindowH - 100),
                            .description =
                                "Graph of the rectifier output, the node voltages and the "
                                "diode current against time",
                            .exports = {{"Export Traces as CSV...", "CSV files (*.csv)",
                                         [](const Form& form, Progress& progress) {
                                             return filterTracesCsv(form, progress);
                                         }}},
                            .pointerText = [](const Form& form, double x,
                                              double y) -> std::optional<std::string> {
                                std::string text = filterPointerText(form, x, y);
                                if (text.empty())
                                    return std::nullopt;
                                return text;
                            }}};
    f.clearCaption = "Clear";
    f.buttons = {{"CmdCalc", "Calculate"},
                 {"CmdClr", "Clear"},
                 {"CmdLoadData", "Load Last Run"},
                 {"CmdClose", "Close"},
                 {kCloseGraph, "Close", true, false}};

    calc.dataFile = "PSFData.dat";
    for (int i = 0; i < kBoxes; ++i)
        calc.fields.push_back({FieldKind::Eng, indexed(kBox, i)});
    calc.fields.push_back({FieldKind::Option, kRectifier});
    calc.values = {kWasMaximised, kShownStart, kShownEnd, kShownYMin, kShownYMax, kRunRectifier};
    for (int i = 0; i < kBoxes; ++i)
        calc.values.push_back(indexed(kRunBox, i));
    calc.calculate = CmdCalc_Click;
    calc.clear = CmdClr_Click;
    calc.buttons[kCloseGraph] = CmdClosGr_Click;
    calc.setUp = [](Form& form, CalcEnv&, bool) {
        form.setVisible(kGraph, false);
        form.setVisible(kCloseGraph, false);
    };
    return calc;
}

} // namespace

const Calculator& filterSim() {
    static const Calculator calc = makeFilterSim();
    return calc;
}

} // namespace ferrovane
