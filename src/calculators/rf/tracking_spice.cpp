#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "calculators/rf/tracking.h"
#include "numeric/constants.h"
#include "shell/spice.h"

namespace ferrovane {

namespace {

using namespace tracking;

// A resistor across each tank damps it to this Q, so that the tank's phase
// passes through zero at its resonance (which the resistor does not move).
constexpr double kTankQ = 20;
constexpr int kSweepPoints = 20001;

double resonance(double ce, double l) {
    return 1 / (2 * Pi * std::sqrt(l * ce));
}

// One tank: the coil, the tuning capacitor at c, and the padder and trimmer
// of the mode, fed 1 A at node "t<name>". Designators end in the band end.
void addTank(Netlist& n, Mode mode, const Stage& s, double c, const std::string& stage,
             const std::string& end, const std::string& coil, const std::string& section) {
    const std::string top = "t" + stage + "_" + end, mid = "m" + stage + "_" + end;
    const std::string padder = stage == "rf" ? "Cp" : "Cpo";
    const std::string trimmer = stage == "rf" ? "Ct" : "Cto";
    const std::string who = stage == "rf" ? "RF " : "Oscillator ";
    const double f = resonance(effectiveCapacitance(mode, c, s), s.coil);
    n.elements.push_back({spiceElement("I" + stage + "_" + end, {"0", top}, "DC 0 AC 1"),
                          "1 A into the " + who + "tank, capacitor at the band's " + end});
    n.elements.push_back(
        {spiceElement(coil + "_" + end, {top, "0"}, spiceNumber(s.coil)), who + "Coil"});
    n.elements.push_back({spiceElement("Rq" + stage + "_" + end, {top, "0"},
                                       spiceNumber(kTankQ * 2 * Pi * f * s.coil)),
                          "Damps the tank to Q = 20; it does not move the resonance"});
    // The tuning capacitor sits under the padder in the padder modes.
    const std::string low = mode == CoilTrimmer ? top : mid;
    if (mode != CoilTrimmer) {
        n.elements.push_back(
            {spiceElement(padder + "_" + end, {top, mid}, spiceNumber(s.padder)), who + "Padder"});
        // The padder and the section are a node without a DC path of their own.
        n.elements.push_back({spiceElement("Rdc" + stage + "_" + end, {mid, "0"}, "1t"),
                              "A DC path for the node between the capacitors only"});
    }
    n.elements.push_back({spiceElement(section + "_" + end, {low, "0"}, spiceNumber(c)),
                          "The tuning capacitor's section, set for the band's " + end});
    n.elements.push_back(
        {spiceElement(trimmer + "_" + end, {mode == PadderTrimmer1 ? low : top, "0"},
                      spiceNumber(s.trimmer)),
         who + "Trimmer"});
}

} // namespace

// Both stages with the ganged capacitor set where the tracking table puts it
// for the band's bottom and top: the RF tank then resonates on the band's
// end and the oscillator tank one IF above it, give or take the table's
// offset.
std::optional<Netlist> trackingNetlist(const Form& form) {
    const std::optional<Design> found = designOf(form);
    if (!found)
        return std::nullopt;
    const Design& d = *found;
    struct End {
        std::string name;
        double f, c, fOsc;
    };
    End ends[] = {{"bottom", d.fLo, 0, 0}, {"top", d.fHi, 0, 0}};
    double lowest = d.fLo, highest = d.fHi + d.fIf;
    for (End& e : ends) {
        e.c = tuningCapacitance(d.mode, e.f, d.rf);
        if (!(e.c > 0))
            return std::nullopt;
        e.fOsc = resonance(effectiveCapacitance(d.mode, e.c, d.osc), d.osc.coil);
        lowest = std::min({lowest, e.f, e.fOsc});
        highest = std::max({highest, e.f, e.fOsc});
    }

    Netlist n;
    n.notes = {"Four tanks: RF and oscillator with the capacitor set for each end of the band. "
               "Each is fed 1 A and damped to Q = 20: its phase is zero at its resonance.",
               "The offset is the oscillator's resonance less the RF's less the IF, as in the "
               "tracking table."};
    for (const End& e : ends) {
        addTank(n, d.mode, d.rf, e.c, "rf", e.name, "L", "C");
        addTank(n, d.mode, d.osc, e.c, "osc", e.name, "Lo", "Co");
    }
    n.analyses = {".ac lin " + std::to_string(kSweepPoints) + " " + spiceNumber(0.9 * lowest) +
                  " " + spiceNumber(1.1 * highest)};
    for (const End& e : ends) {
        const std::string rf = "f_rf_" + e.name, osc = "f_osc_" + e.name;
        n.figures.push_back({"ac", rf, "RF resonance, band " + e.name, "Hz",
                             "when vp(trf_" + e.name + ")=0", e.f, 0.1});
        n.figures.push_back({"ac", osc, "Oscillator resonance, band " + e.name, "Hz",
                             "when vp(tosc_" + e.name + ")=0", e.fOsc, 0.1});
        // As in the table, what is left of an exact zero in doubles is zero.
        const double offset = e.fOsc - d.fIf - e.f;
        n.figures.push_back({"ac", "offset_" + e.name, "Offset, band " + e.name, "Hz",
                             "param='" + osc + "-" + rf + "-" + spiceNumber(d.fIf) + "'",
                             std::abs(offset) <= 1e-9 * e.f ? 0 : offset, 0.1, d.fIf});
    }
    return n;
}

} // namespace ferrovane
