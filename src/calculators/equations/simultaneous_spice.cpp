#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "calculators/equations/simultaneous.h"
#include "calculators/loop_spice.h"
#include "numeric/constants.h"

namespace ferrovane {
namespace {

// One element of a branch: designator, value text and where it came from.
struct Part {
    std::string designator;
    std::string value;
    std::string from;
};

// Branch b's elements in series, those of no value left out. The impedance
// method gives no frequency: a reactance X is an inductor of X / omega or a
// capacitor of 1 / (omega |X|).
std::vector<Part> branchParts(const Ladder& ladder, int b, double omega) {
    const LadderBranch& branch = ladder.branches[static_cast<std::size_t>(b)];
    const std::string k = std::to_string(b);
    const std::string z = "Z" + k;
    std::vector<Part> parts;
    if (branch.r != 0)
        parts.push_back({"R" + k, spiceNumber(branch.r),
                         ladder.components ? "Resistor of branch " + k : "The real part of " + z});
    if (ladder.components) {
        if (branch.l != 0)
            parts.push_back({"L" + k, spiceNumber(branch.l), "Inductor of branch " + k});
        if (branch.c)
            parts.push_back({"C" + k, spiceNumber(*branch.c), "Capacitor of branch " + k});
    } else if (branch.x > 0) {
        parts.push_back({"L" + k, spiceNumber(branch.x / omega),
                         "The reactance of " + z + ", " + spiceNumber(branch.x) + " Ohms"});
    } else if (branch.x < 0) {
        parts.push_back({"C" + k, spiceNumber(-1 / (omega * branch.x)),
                         "The reactance of " + z + ", " + spiceNumber(branch.x) + " Ohms"});
    }
    return parts;
}

// Places the parts in series from node `from` to node `to` (which the
// caller makes the same node when there are none); returns the node after
// the first part.
std::string addChain(std::vector<SpiceElement>& elements, const std::vector<Part>& parts,
                     const std::string& from, const std::string& to, int b) {
    std::string node = from;
    std::string afterFirst = to;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string next =
            i + 1 == parts.size() ? to : "b" + std::to_string(b) + "_" + std::to_string(i + 1);
        elements.push_back(
            {spiceElement(parts[i].designator, {node, next}, parts[i].value), parts[i].from});
        if (i == 0)
            afterFirst = next;
        node = next;
    }
    return afterFirst;
}

// A source's AC value: magnitude and phase in degrees.
std::string sourceValue(const Complex& e) {
    return "DC 0 AC " + spiceNumber(std::hypot(e.re, e.im)) + " " +
           spiceNumber(std::atan2(e.im, e.re) * 180 / Pi);
}

void addSource(std::vector<SpiceElement>& elements, const Ladder& ladder, int m,
               const std::string& node) {
    const std::string e = "E" + std::to_string(2 * m);
    elements.push_back(
        {spiceElement("V" + e, {node, "0"},
                      sourceValue(ladder.sources[static_cast<std::size_t>(m)])),
         "The source " + e + (m == 0 ? ", driving loop 1" : ", in series with the shunt branch")});
}

// The ladder: top nodes t0 (E0) to tn; series branch 2m - 1 from t(m - 1)
// to tm after the probe of loop m's current, shunt branch 2m from tm down to
// its source. Returns the node after the load's resistance.
std::string addLadder(std::vector<SpiceElement>& elements, const Ladder& ladder, double omega) {
    using loopspice::addProbe;
    std::string afterLoad;
    addSource(elements, ladder, 0, "t0");
    for (int m = 1; m <= ladder.n; ++m) {
        const std::string k = std::to_string(m);
        const std::string top = "t" + k;
        const std::vector<Part> series = branchParts(ladder, 2 * m - 1, omega);
        const std::string a = series.empty() ? top : "a" + k;
        addProbe(elements, "Vs" + k, "t" + std::to_string(m - 1), a, "H" + k, "i" + k,
                 "the loop " + k + " current");
        addChain(elements, series, a, top, 2 * m - 1);
        const std::vector<Part> shunt = branchParts(ladder, 2 * m, omega);
        const std::string bottom = shunt.empty() ? top : "s" + k;
        afterLoad = addChain(elements, shunt, top, bottom, 2 * m);
        addSource(elements, ladder, m, bottom);
    }
    return afterLoad;
}

} // namespace

// The ladder of impedances or components with every source, as the loop
// equations have it. The loop currents are read through 0 V probes in the
// series branches; Zin is E0 over I1 and the transfer ratio the voltage
// across the load's resistance over E0, both formed in .meas.
std::optional<Netlist> simultaneousNetlist(const Form& form) {
    using namespace loopspice;
    std::string message;
    const std::optional<Ladder> ladder = ladderOf(form, message);
    if (!ladder || (ladder->components && !(ladder->f > 0)))
        return std::nullopt;
    const std::optional<loops::System> system = loopSystem(form, message);
    const std::optional<loops::Solution> solution = system ? loops::solve(*system) : std::nullopt;
    if (!solution)
        return std::nullopt;
    const double freq = ladder->components ? ladder->f : 1 / (2 * Pi);
    const std::string at = spiceAt(freq);

    Netlist n;
    if (!ladder->components)
        n.notes = {"The impedances carry no frequency: the circuit is built for 1 rad/s, where an",
                   "inductor of X henries has X ohms of reactance and a capacitor of 1/|X| farads",
                   "has -|X| ohms."};
    n.notes.push_back("V(i1) ... are the loop currents in amperes; the window shows the transfer");
    n.notes.push_back("ratio in decibels rounded to a tenth.");
    const std::string afterLoad = addLadder(n.elements, *ladder, 2 * Pi * freq);
    n.analyses = {acAnalysisAt(freq)};

    addLoopCurrents(n, solution->currents, at);
    addParts(n, "e0", "", "V", "t0", at, std::nullopt, 0);
    addQuotient(n, "zin", "Zin", "Ohms", "e0", "i1", ReadComplex(solution->zin));
    const Complex e0 = ladder->sources.front();
    if (solution->vtr && (e0.re != 0 || e0.im != 0)) {
        const std::string top = "t" + std::to_string(ladder->n);
        n.elements.push_back({spiceElement("Eout", {"vout", "0", top, afterLoad}, "1"),
                              "The voltage across the load's resistance"});
        const Complex vtr = ReadComplex(*solution->vtr);
        const double dB = 20 * std::log10(std::hypot(vtr.re, vtr.im));
        addParts(n, "vout", "", "V", "vout", at, std::nullopt, 0);
        addQuotient(n, "vtr", "VTR", "", "vout", "e0", vtr);
        n.figures.push_back({"ac", "vtr_db", "VTR in dB", "dB", "param='20*log10(vtr_m)'", dB, 0.1,
                             atLeast(dB, 1)});
    }
    return n;
}

} // namespace ferrovane
