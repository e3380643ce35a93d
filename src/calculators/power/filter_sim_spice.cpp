#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calculators/power/filter_engine.h"
#include "calculators/power/filter_sim.h"
#include "shell/spice.h"

namespace ferrovane {
namespace {

// Below this a node has no capacitor in the simulation; a section of this
// resistance (and no choke) cuts off what follows it.
constexpr double kSmallestCapacitor = 1e-6;
constexpr double kIsolating = 1e12;

// A near-ideal rectifier diode: with an emission coefficient of 0.01 it drops
// about 10 mV at an ampere, and leaks a picoampere backwards.
constexpr const char* kDiodeModel = ".model DR D(IS=1e-12 N=0.01)";

struct Nodes {
    bool used[4] = {}; // nodes 1, 3, 5, 7 with a capacitor
    std::string name[4];
};

Nodes nodesOf(const FilterInputs& k) {
    Nodes n;
    const double c[4] = {k.c1, k.c3, k.c5, k.c7};
    for (int i = 0; i < 4; ++i) {
        n.used[i] = c[i] >= kSmallestCapacitor;
        // The simulation holds a node without a capacitor at 0 V, except
        // node 1, which the rectifier drives directly (choke input).
        n.name[i] = n.used[i] || i == 0 ? "n" + std::to_string(2 * i + 1) : "0";
    }
    return n;
}

// The transformer and the diodes, then R0 to node n1. R0 sits after the
// rectifier, as in the calculator, whose rectified source has no
// resistance of its own: a choke's current then goes on through R0 when the
// source passes zero, the bridge (or D2 of the half-wave rectifier) holding
// the rectified voltage at zero meanwhile.
void addRectifier(Netlist& n, const FilterInputs& k) {
    const std::string sine =
        "SIN(0 " + spiceNumber(std::sqrt(2.0) * k.vrms) + " " + spiceNumber(k.f) + ")";
    const bool full = k.rectifier == Rectifier::Full;
    const std::string r = k.r0 > 0 ? "r" : "n1";
    n.elements.push_back(
        {spiceElement("VS", {"s", full ? "b" : "0"}, sine),
         "Transformer secondary: its RMS voltage times sqrt(2) at the line frequency"});
    if (full) {
        n.elements.push_back({spiceElement("D1", {"s", r}, "DR"), "Full-wave bridge"});
        n.elements.push_back({spiceElement("D2", {"b", r}, "DR"), ""});
        n.elements.push_back({spiceElement("D3", {"0", "s"}, "DR"), ""});
        n.elements.push_back({spiceElement("D4", {"0", "b"}, "DR"), ""});
    } else {
        n.elements.push_back({spiceElement("D1", {"s", r}, "DR"), "Half-wave rectifier"});
        n.elements.push_back({spiceElement("D2", {"0", r}, "DR"),
                              "Holds the rectified voltage at 0 V in the negative half cycles"});
    }
    if (k.r0 > 0)
        n.elements.push_back({spiceElement("R0", {"r", "n1"}, spiceNumber(k.r0)),
                              "Source and rectifier resistance R0"});
}

// A series section Rx then Lx from one node to the next (either may be
// absent); false when it has neither, which the simulation cannot run.
bool addSection(Netlist& n, int x, double r, double l, const std::string& from,
                const std::string& to) {
    const std::string rx = "R" + std::to_string(x), lx = "L" + std::to_string(x);
    if (r >= kIsolating && l == 0)
        return true; // cut off: nothing after it is simulated
    if (r > 0 && l > 0) {
        const std::string mid = "m" + std::to_string(x);
        n.elements.push_back({spiceElement(rx, {from, mid}, spiceNumber(r)), rx + " from its box"});
        n.elements.push_back({spiceElement(lx, {mid, to}, spiceNumber(l)), lx + " from its box"});
    } else if (l > 0) {
        n.elements.push_back({spiceElement(lx, {from, to}, spiceNumber(l)), lx + " from its box"});
    } else if (r > 0) {
        n.elements.push_back({spiceElement(rx, {from, to}, spiceNumber(r)), rx + " from its box"});
    } else {
        return false;
    }
    return true;
}

// A node's capacitor and the load the second pass gave it.
void addNode(Netlist& n, int i, double c, const KeptFilterRun& run, const std::string& node) {
    const std::string k = std::to_string(2 * i + 1);
    n.elements.push_back(
        {spiceElement("C" + k, {node, "0"}, spiceNumber(c)), "C" + k + " from its box"});
    if (run.loadResistance[i] > 0)
        n.elements.push_back(
            {spiceElement("RL" + k, {node, "0"}, spiceNumber(run.loadResistance[i])),
             "Load I" + k + " as the resistance it became: the first pass's average V" + k +
                 " over I" + k});
    else if (run.loadCurrent[i] > 0)
        n.elements.push_back(
            {spiceElement("I" + k, {node, "0"}, "DC " + spiceNumber(run.loadCurrent[i])),
             "Load I" + k + " as a constant current: V" + k + " did not charge in the first pass"});
}

// Each node's average and peak-to-peak ripple over the steps whose figures
// the window lists: the last 8640, or all of a shorter run, whose sums are
// still divided by 8640.
void addFigures(Netlist& n, const KeptFilterRun& run, const Nodes& nodes, double dt,
                std::int64_t steps) {
    const std::int64_t window = kFilterStepsPerCycle * kFilterStatsCycles;
    const std::int64_t first = steps > window ? steps - window : 0;
    const std::string span = " from=" + spiceNumber(static_cast<double>(first) * dt) +
                             " to=" + spiceNumber(static_cast<double>(steps) * dt);
    for (int i = 0; i < 4; ++i) {
        if (nodes.name[i] == "0")
            continue;
        const std::string k = std::to_string(2 * i + 1), v = "v(" + nodes.name[i] + ")";
        const double average = run.figures.average[i], ripple = run.figures.ripple[i];
        if (steps >= window) {
            n.figures.push_back({"tran", "v" + k + "_avg", "V" + k + " average", "V",
                                 "avg " + v + span, average, 1.0});
        } else {
            n.figures.push_back({"tran", "v" + k + "_mean", "", "", "avg " + v + span});
            n.figures.push_back({"tran", "v" + k + "_avg", "V" + k + " average", "V",
                                 "param='v" + k + "_mean*" + std::to_string(steps) + "/" +
                                     std::to_string(window) + "'",
                                 average, 1.0});
        }
        n.figures.push_back(
            {"tran", "v" + k + "_pp", "V" + k + " ripple", "V p-p", "pp " + v + span, ripple, 5.0});
    }
}

// What the circuit cannot share with the calculator's stepping, and how the
// calculator's unusual cases are drawn.
std::vector<std::string> notesOf(const FilterInputs& k, const Nodes& nodes, int subSteps) {
    std::vector<std::string> notes = {
        "The diodes are near-ideal (DR: emission coefficient 0.01, about 10 mV at an ampere) "
        "where the calculator's are ideal switches.",
        "The calculator steps the circuit explicitly " +
            std::to_string(kFilterStepsPerCycle * subSteps) +
            " times a cycle; ngspice integrates with steps no longer than those.",
        "Expected differences: the averages within a few tenths of a percent, the ripple "
        "within about 1 %.",
        "Each load is the resistance it became in the calculator's first pass (its node's "
        "average voltage over its entered current); a load whose node did not charge stays a "
        "constant current."};
    if (!nodes.used[0]) {
        notes.push_back("No C1 of 1 uF or more: a choke-input filter. While the choke's current "
                        "stops (a light load, a small choke), the calculator takes V1 as the "
                        "rectifier's open output;");
        notes.push_back("in the circuit that end of the choke follows V3 then, and V1's figures "
                        "differ (the later nodes' do not).");
    }
    const double c[4] = {k.c1, k.c3, k.c5, k.c7};
    for (int i = 1; i < 4; ++i)
        if (c[i] > 0 && !nodes.used[i])
            notes.push_back("C" + std::to_string(2 * i + 1) +
                            " is below 1 uF: the calculator holds its node at 0 V, so the "
                            "section before it ends at ground here.");
    return notes;
}

} // namespace

std::optional<Netlist> filterSimNetlist(const Form& form) {
    const KeptFilterRun run = keptFilterRun(form);
    if (!filterInputProblem(run.inputs).empty() || run.subSteps < 1)
        return std::nullopt;
    const FilterInputs k = withUnusedSectionsCut(run.inputs);
    const std::int64_t steps = filterStepCount(k);
    if (steps < 1)
        return std::nullopt;
    const Nodes nodes = nodesOf(k);
    const double dt = 1 / (kFilterStepsPerCycle * k.f);

    Netlist n;
    n.notes = notesOf(k, nodes, run.subSteps);
    addRectifier(n, k);
    if (nodes.used[0])
        addNode(n, 0, k.c1, run, "n1");
    // Each section is simulated while the node it starts from is.
    if (!addSection(n, 2, k.r2, k.l2, "n1", nodes.name[1]))
        return std::nullopt;
    if (nodes.used[1]) {
        addNode(n, 1, k.c3, run, "n3");
        if (!addSection(n, 4, k.r4, k.l4, "n3", nodes.name[2]))
            return std::nullopt;
    }
    if (nodes.used[2]) {
        addNode(n, 2, k.c5, run, "n5");
        if (!addSection(n, 6, k.r6, 0, "n5", nodes.name[3]))
            return std::nullopt;
    }
    if (nodes.used[3])
        addNode(n, 3, k.c7, run, "n7");
    n.models = {kDiodeModel};
    n.analyses = {".tran " + spiceNumber(dt) + " " + spiceNumber(static_cast<double>(steps) * dt) +
                  " 0 " + spiceNumber(dt / run.subSteps) + " uic"};
    addFigures(n, run, nodes, dt, steps);
    return n;
}

} // namespace ferrovane
