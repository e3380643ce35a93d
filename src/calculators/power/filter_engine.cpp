#include "calculators/power/filter_engine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "numeric/constants.h"
#include "numeric/eng_text.h"

namespace ferrovane {
namespace {

constexpr int kStepsPerCycle = kFilterStepsPerCycle;
constexpr int kStatsCycles = kFilterStatsCycles;
constexpr double kStatsSteps = kStepsPerCycle * kStatsCycles; // every sum is divided by 8640
constexpr double kSmallestCapacitor = 1e-6;                   // below it a node has no capacitor
constexpr double kIsolating = 1e12; // ohms: everything after it is cut off
constexpr double kMostSteps = 1e9;
constexpr int kMostSubSteps = 1000;
constexpr int kMostGridLines = 1000;

enum class Trace { Source, V1, V3, V5, V7, Diode };

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

Circuit circuitOf(const FilterInputs& inputs) {
    const FilterInputs in = withUnusedSectionsCut(inputs);
    Circuit k{in.r0, in.c1, in.r2, in.l2, in.c3, in.r4, in.l4, in.c5, in.r6, in.c7};
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

std::size_t index(Trace t) {
    return static_cast<std::size_t>(t);
}

// The traces of the graph: a segment from each trace's previous point to
// its new one, when the new one lies inside the plot and differs from it.
// Vertical runs within one drawing unit of x are joined into one line, so
// the list stays bounded by the plot's width whatever the graph length.
class Plotter {
public:
    Plotter(const FilterInputs& in, Drawing& graph) : graph_(graph) {
        tStart_ = in.tStart;
        xScale_ = (kFilterGraph.right - kFilterGraph.left) / (in.cycles / in.f);
        yMin_ = in.yMin;
        yScale_ = kFilterGraph.bottom / (in.yMax - in.yMin);
        if (in.tStart == 0) {
            const double y0 = yOf(0);
            for (auto& t : traces_)
                t = {kFilterGraph.left, y0, true};
        }
    }
    double xOf(double t) const {
        return std::nearbyint((t - tStart_) * xScale_ + kFilterGraph.left);
    }
    double yOf(double v) const {
        return std::nearbyint(kFilterGraph.bottom - (v - yMin_) * yScale_);
    }

    void plot(Trace which, double x, double v) {
        Point& p = traces_[index(which)];
        const double y = yOf(v);
        const bool inside =
            kFilterGraph.left < x && x < kFilterGraph.right && 0 < y && y < kFilterGraph.bottom;
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
                graph_.line(p.x, p.y, x, y, kFilterTraceColours[index(which)]);
            }
        }
        p.x = x;
        p.y = y;
        p.known = true;
    }
    void finish() {
        for (int t = 0; t < kFilterTraces; ++t)
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
        Point& p = traces_[index(which)];
        if (p.column && p.columnHi > p.columnLo)
            graph_.line(p.columnX, p.columnLo, p.columnX, p.columnHi,
                        kFilterTraceColours[index(which)]);
        p.column = false;
    }

    Drawing& graph_;
    double tStart_ = 0, xScale_ = 0, yMin_ = 0, yScale_ = 0;
    std::array<Point, kFilterTraces> traces_{};
};

// The steps whose points the graph needs (the one at or before the graph's
// start through the one after its end), and those of them kept as samples:
// every stride-th, so that there are at most FilterRun::kMaxSamples.
struct PlotSpan {
    std::int64_t from = 1, to = 0;
    std::int64_t sampleFrom = 1, sampleTo = 0, stride = 1;
};

PlotSpan plotSpanOf(const FilterInputs& in, std::int64_t steps, double dt) {
    const double tEnd = in.tStart + in.cycles / in.f;
    // Held to 0 .. steps + 1 before they become whole numbers, however far
    // the graph lies from the run.
    const double last = static_cast<double>(steps) + 1;
    auto step = [last](double k) {
        return static_cast<std::int64_t>(std::clamp(std::isnan(k) ? last : k, 0.0, last));
    };
    PlotSpan s;
    s.from = std::max<std::int64_t>(1, step(std::floor(in.tStart / dt)));
    s.to = step(std::ceil(tEnd / dt) + 1);
    s.sampleFrom = std::max<std::int64_t>(1, step(std::ceil(in.tStart / dt - 1e-9)));
    s.sampleTo = std::min(steps, step(std::floor(tEnd / dt + 1e-9)));
    const double span = static_cast<double>(s.sampleTo - s.sampleFrom + 1);
    s.stride = std::max<std::int64_t>(
        1, static_cast<std::int64_t>(std::ceil(span / FilterRun::kMaxSamples)));
    return s;
}

// The transformer's voltage through the rectifier. sin(2 pi F t) at
// t = k dt depends only on k mod 360, so a table of one cycle serves.
class RectifiedSource {
public:
    explicit RectifiedSource(const FilterInputs& in)
        : peak_(std::sqrt(2.0) * in.vrms), full_(in.rectifier == Rectifier::Full) {
        for (int i = 0; i < kStepsPerCycle; ++i)
            sine_[i] = std::sin(2 * Pi * i / kStepsPerCycle);
    }
    double sine(int phase) const { return sine_[phase]; }
    double cosine(int phase) const { return sine_[(phase + kStepsPerCycle / 4) % kStepsPerCycle]; }
    // The output for a sine of s.
    double operator()(double s) const {
        return full_ ? peak_ * std::abs(s) : std::max(0.0, peak_ * s);
    }
    double at(int phase) const { return (*this)(sine_[phase]); }

private:
    double peak_;
    bool full_;
    std::array<double, kStepsPerCycle> sine_{};
};

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

// One pass, step by step from rest, into its statistics.
class PassRunner {
public:
    PassRunner(const Pass& p, Stats& stats)
        : p_(p), stats_(stats), source_(p.in), dt_(1 / (kStepsPerCycle * p.in.f)),
          h_(dt_ / p.subSteps), cosH_(std::cos(2 * Pi / (kStepsPerCycle * p.subSteps))),
          sinH_(std::sin(2 * Pi / (kStepsPerCycle * p.subSteps))), steps_(filterStepCount(p.in)) {
        for (int n = 0; n < 4; ++n)
            s_.j[n] = p.loads.constant[n];
        if (p.plotter) {
            span_ = plotSpanOf(p.in, steps_, dt_);
            if (span_.sampleTo >= span_.sampleFrom)
                p.samples->reserve(static_cast<std::size_t>(
                    (span_.sampleTo - span_.sampleFrom) / span_.stride + 1));
        }
    }

    // False when cancelled; fault set when the arithmetic overflowed.
    bool run(std::string& fault) {
        const std::int64_t statsFrom = steps_ - static_cast<std::int64_t>(kStatsSteps) + 1;
        int phase = 0; // step mod 360
        int cycles = 0;
        for (std::int64_t step = 1; step <= steps_; ++step) {
            const int from = phase;
            phase = phase + 1 == kStepsPerCycle ? 0 : phase + 1;
            advanceStep(from, phase);
            if (step >= statsFrom)
                stats_.add(s_);
            if (p_.plotter && step >= span_.from && step <= span_.to)
                plotStep(step, phase);
            if (phase == 0) {
                if (!std::isfinite(s_.v1 + s_.v3 + s_.v5 + s_.v7 + s_.id + s_.ic + s_.i2 + s_.i4 +
                                   s_.i6)) {
                    fault = "the simulation overflowed at " +
                            TrimBlanks(FormatEng(static_cast<double>(step) * dt_)) + " seconds";
                    return true;
                }
                if (++cycles % 64 == 0 && !reportProgress(step))
                    return false;
            }
        }
        return true;
    }

private:
    // The step from phase `from` to `to`: at once, or in sub-steps along the
    // sine, rotated on from the step's start.
    void advanceStep(int from, int to) {
        if (p_.subSteps == 1) {
            advance(s_, p_.circuit, p_.loads, source_.at(to), dt_);
            stats_.surge = std::max(stats_.surge, s_.id);
            return;
        }
        double sinA = source_.sine(from), cosA = source_.cosine(from);
        for (int j = 1; j <= p_.subSteps; ++j) {
            const double next = sinA * cosH_ + cosA * sinH_;
            cosA = cosA * cosH_ - sinA * sinH_;
            sinA = next;
            advance(s_, p_.circuit, p_.loads, source_(sinA), h_);
            stats_.surge = std::max(stats_.surge, s_.id);
        }
    }

    void plotStep(std::int64_t step, int phase) {
        const double t = static_cast<double>(step) * dt_;
        Plotter& g = *p_.plotter;
        const Circuit& k = p_.circuit;
        const double x = g.xOf(t);
        if (k.node3)
            g.plot(Trace::V3, x, s_.v3);
        if (k.node5)
            g.plot(Trace::V5, x, s_.v5);
        if (k.node7)
            g.plot(Trace::V7, x, s_.v7);
        g.plot(Trace::Source, x, source_.at(phase));
        g.plot(Trace::V1, x, s_.v1);
        g.plot(Trace::Diode, x, p_.in.multiplier * s_.id);
        if (step >= span_.sampleFrom && step <= span_.sampleTo &&
            (step - span_.sampleFrom) % span_.stride == 0)
            p_.samples->push_back({t, source_.at(phase), s_.v1, s_.v3, s_.v5, s_.v7, s_.id});
    }

    // False when the user cancelled.
    bool reportProgress(std::int64_t step) {
        p_.progress.report(p_.progressFrom + p_.progressSpan * static_cast<double>(step) /
                                                 static_cast<double>(steps_));
        return !p_.progress.cancelled();
    }

    const Pass& p_;
    Stats& stats_;
    const RectifiedSource source_;
    const double dt_, h_, cosH_, sinH_;
    const std::int64_t steps_;
    PlotSpan span_;
    State s_;
};

// One pass: false when cancelled; fault set when the arithmetic overflowed.
bool runPass(const Pass& p, Stats& stats, std::string& fault) {
    return PassRunner(p, stats).run(fault);
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

} // namespace

std::int64_t filterStepCount(const FilterInputs& in) {
    const double exact = in.tTotal * kStepsPerCycle * in.f;
    if (!(exact >= 1))
        return 0;
    return static_cast<std::int64_t>(std::floor(exact * (1 + 1e-12)));
}

FilterInputs withUnusedSectionsCut(const FilterInputs& inputs) {
    FilterInputs k = inputs;
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
    return k;
}

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
        run.loadResistance[n] = second.g[n] > 0 ? 1 / second.g[n] : 0;
        run.loadCurrent[n] = second.constant[n];
    }
    run.subSteps = subStepsFor(in, circuit, second, run.fault);
    if (run.subSteps == 0)
        return true;
    run.graph = Drawing{kFilterGraph.width, kFilterGraph.height, kBlack, {}};
    run.graph.items.reserve(static_cast<std::size_t>(std::min<double>(
        6.0 * in.cycles * kStepsPerCycle, 12 * (kFilterGraph.right - kFilterGraph.left))));
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

double filterRunSteps(const FilterInputs& in) {
    std::string tooShort;
    const int subSteps = std::max(1, subStepsFor(in, circuitOf(in), Loads{}, tooShort));
    return 2 * in.tTotal * kStepsPerCycle * in.f * subSteps;
}

} // namespace ferrovane
