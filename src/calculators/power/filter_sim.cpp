#include "calculators/power/filter_sim.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <optional>

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
// What that run found, for its SPICE netlist: by node, the averages and
// ripples and the second pass's loads; then its sub-steps.
constexpr const char* kRunAverage = "RunAverage";
constexpr const char* kRunRipple = "RunRipple";
constexpr const char* kRunLoadR = "RunLoadR";
constexpr const char* kRunLoadI = "RunLoadI";
constexpr const char* kRunSubSteps = "RunSubSteps";
// Hidden while the graph covers the window, shown again by its Close.
constexpr const char* kLeftFrame = "FrameLeft";
constexpr const char* kRightFrame = "FrameRight";
constexpr const char* kListFrame = "FrameList";
constexpr std::array<const char*, 7> kCovered = {kLeftFrame, kRightFrame,   kListFrame, "CmdCalc",
                                                 "CmdClr",   "CmdLoadData", "CmdClose"};

// L6 is read and written but the simulation has no use for it.
constexpr const char* kL6Tooltip =
    "L6 is kept in the file but not simulated: the last section is the resistor R6 alone.";

constexpr int kLargestWhole = 32767;
// A run longer than this many steps is expected to take more than 100 ms.
constexpr double kLongRunSteps = 1e7;

// The plot's edges in the graph's twips.
constexpr double kGraphLeft = kFilterGraph.left;
constexpr double kGraphRight = kFilterGraph.right;
constexpr double kGraphBottom = kFilterGraph.bottom;
// The grid in the grey of the rectifier's trace.
constexpr Colour kGridGrey = 0x888888;
// The legend, in twips: its texts' tops 300 apart from 300 down, each after
// a mark 600 long at 112 below the text's top; the ground reaches 150 beyond.
constexpr double kLegendLeft = 300; // from the plot's left edge
constexpr double kLegendTop = 300;
constexpr double kLegendRow = 300;
constexpr double kLegendMark = 112;
constexpr double kLegendLine = 600;
constexpr double kLegendText = 750; // from the mark's start
constexpr double kLegendGap = 450;  // between the columns
constexpr double kLegendPad = 150;

std::string numberText(double x) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, x);
    return std::string(buf, r.ptr);
}

// Two columns of three entries at the top of the plot, each a mark in its
// trace's colour and a text, on a ground of the graph's own black so that
// no grid line runs through them; kept together at the size of the texts.
void drawLegend(Drawing& graph, const std::array<std::string, kFilterTraces>& legend,
                const TextMetrics& metrics) {
    const Font font;
    // The second column starts a gap after the first one's widest text.
    double widest[2] = {0, 0};
    for (int e = 0; e < kFilterTraces; ++e)
        widest[e / 3] = std::max(widest[e / 3], metrics.width(legend[e], font));
    const double column[2] = {kGraphLeft + kLegendLeft,
                              kGraphLeft + kLegendLeft + kLegendText + widest[0] + kLegendGap};
    const std::size_t first = graph.items.size();
    const double groundLeft = column[0] - kLegendPad, groundTop = kLegendTop - kLegendPad;
    graph.rect(groundLeft, groundTop, column[1] + kLegendText + widest[1] + kLegendPad - groundLeft,
               2 * kLegendRow + metrics.height(font) + 2 * kLegendPad, kBlack);
    for (int e = 0; e < kFilterTraces; ++e) {
        const double x = column[e / 3];
        const double y = kLegendTop + kLegendRow * (e % 3);
        graph.line(x, y + kLegendMark, x + kLegendLine, y + kLegendMark, kFilterTraceColours[e],
                   30);
        graph.text(x + kLegendText, y, legend[e], font, HAnchor::Left, VAnchor::Top, kWhite);
    }
    graph.makeBlock(first, groundLeft, groundTop);
}

} // namespace

void decorateFilterGraph(const FilterInputs& in, const TextMetrics& metrics, Drawing& graph) {
    const Font font;
    const double left = kGraphLeft, right = kGraphRight, bottom = kGraphBottom;
    const int gt = (in.timeLabels - 1) * in.timeDivisions + 1;
    const int gy = (in.yLabels - 1) * in.yDivisions + 1;
    for (int j = 0; j < gt; ++j) {
        const double x = left + j * (right - left) / (gt - 1);
        graph.line(x, 0, x, bottom, kGridGrey);
    }
    for (int j = 0; j < gy; ++j) {
        const double y = j * bottom / (gy - 1);
        graph.line(left, y, right, y, kGridGrey);
    }
    graph.line(left, 0, right, 0, kWhite);
    graph.line(right, 0, right, bottom, kWhite);
    graph.line(right, bottom, left, bottom, kWhite);
    graph.line(left, bottom, left, 0, kWhite);

    const std::array<std::string, kFilterTraces> legend = {
        "Rectifier Output Voltage",
        "Voltage Across C1",
        "Voltage Across C3",
        "Voltsge Across C5",
        "Voltage Across C7",
        "Diode Current Amps x" + PlainNumber(in.multiplier, LeadingBlank::Yes)};
    drawLegend(graph, legend, metrics);

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
        graph.text(std::clamp(x, halfWidth, kFilterGraph.width - halfWidth), bottom + 60, label,
                   font, HAnchor::Centre, VAnchor::Top, kWhite);
    }
    graph.text(0, 0, "Volts", font, HAnchor::Left, VAnchor::Top, kWhite);
    // Below the time labels at the size of the texts, however they are scaled.
    graph.text((left + right) / 2, bottom + 60 + 2.5 * metrics.height(font), "Time in Seconds",
               font, HAnchor::Centre, VAnchor::Top, kWhite);
    graph.makeBlock(graph.items.size() - 1, (left + right) / 2, bottom);
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

KeptFilterRun keptFilterRun(const Form& form) {
    KeptFilterRun kept;
    kept.inputs = inputsOf([&form](int i) { return form.value(indexed(kRunBox, i)); },
                           static_cast<int>(form.value(kRunRectifier)));
    for (int n = 0; n < 4; ++n) {
        kept.figures.average[n] = form.value(indexed(kRunAverage, n));
        kept.figures.ripple[n] = form.value(indexed(kRunRipple, n));
        kept.loadResistance[n] = form.value(indexed(kRunLoadR, n));
        kept.loadCurrent[n] = form.value(indexed(kRunLoadI, n));
    }
    kept.subSteps = static_cast<int>(form.value(kRunSubSteps));
    return kept;
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

// The graph covers the maximised window until its Close; the window keeps
// what it spans, for the pointer, and the numbers it was run with, for the
// traces' export.
void showGraph(Form& form, const FilterInputs& in, const FilterRun& run) {
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
    for (int n = 0; n < 4; ++n) {
        form.setValue(indexed(kRunAverage, n), run.figures.average[n]);
        form.setValue(indexed(kRunRipple, n), run.figures.ripple[n]);
        form.setValue(indexed(kRunLoadR, n), run.loadResistance[n]);
        form.setValue(indexed(kRunLoadI, n), run.loadCurrent[n]);
    }
    form.setValue(kRunSubSteps, run.subSteps);
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
    if (filterRunSteps(in) > kLongRunSteps) {
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

    showGraph(form, in, run);
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

// The window opens on its boxes, the graph hidden.
void setUp(Form& form, CalcEnv&, bool) {
    form.setVisible(kGraph, false);
    form.setVisible(kCloseGraph, false);
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

FormSpec formSpec() {
    FormSpec f;
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
    // The results (fourteen lines, the longest of 47 characters) under the
    // shorter column, beside the long one, so the window fits a laptop's
    // screen.
    f.left = {frame(kLeftFrame, "", Direction::Vertical, first)};
    f.right = {frame(kRightFrame, "", Direction::Vertical, second),
               frame(kListFrame, "", Direction::Vertical,
                     {ListSpec{.name = kList, .visibleLines = 14, .visibleColumns = 47}})};
    f.bottom = {DrawingSpec{
        .name = kGraph,
        .widthTwips = static_cast<int>(kFilterGraph.width),
        .heightTwips = static_cast<int>(kFilterGraph.height),
        .description = "Graph of the rectifier output, the node voltages and the "
                       "diode current against time",
        .exports = {{"Export Traces as CSV...", "CSV files (*.csv)",
                     [](const Form& form, Progress& progress) {
                         return filterTracesCsv(form, progress);
                     }}},
        .pointerText = [](const Form& form, double x, double y) -> std::optional<std::string> {
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
    return f;
}

Calculator makeFilterSim() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "PSFData.dat";
    for (int i = 0; i < kBoxes; ++i)
        calc.fields.push_back({FieldKind::Eng, indexed(kBox, i)});
    calc.fields.push_back({FieldKind::Option, kRectifier});
    calc.values = {kWasMaximised, kShownStart,   kShownEnd,   kShownYMin,
                   kShownYMax,    kRunRectifier, kRunSubSteps};
    for (int i = 0; i < kBoxes; ++i)
        calc.values.push_back(indexed(kRunBox, i));
    for (const char* kept : {kRunAverage, kRunRipple, kRunLoadR, kRunLoadI})
        for (int n = 0; n < 4; ++n)
            calc.values.push_back(indexed(kept, n));
    calc.calculate = CmdCalc_Click;
    calc.clear = CmdClr_Click;
    calc.buttons[kCloseGraph] = CmdClosGr_Click;
    calc.setUp = setUp;
    calc.netlist = filterSimNetlist;
    return calc;
}

} // namespace

const Calculator& filterSim() {
    static const Calculator calc = makeFilterSim();
    return calc;
}

} // namespace ferrovane
