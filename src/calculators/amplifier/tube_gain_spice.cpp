#include <cmath>
#include <optional>
#include <string>

#include "calculators/amplifier/tube_gain.h"
#include "shell/spice.h"

namespace ferrovane {

namespace {

// Mid-band: the coupling and bypass capacitors are as good as shorts here.
constexpr double kMidBand = 1000;
constexpr double kBigCapacitor = 1; // farads: some 0.16 milliohms at 1 kHz

} // namespace

// The stage at mid-band, driven by 1 V on the grid: the tube as a current
// source gm = mu / rp from plate to cathode with its plate resistance across
// it, Rb from the plate to the supply (an AC ground), Rcf coupled from the
// plate, and Rk under the cathode, bypassed or not.
std::optional<Netlist> tubeGainNetlist(const Form& form) {
    const std::optional<tube::Stage> found = tube::stageOf(form);
    if (!found)
        return std::nullopt;
    const tube::Stage& s = *found;
    const double gm = s.mu / s.rp;

    Netlist n;
    n.notes = {std::string(s.triode ? "A triode: gm = mu / rp from the boxes."
                                    : "A pentode: mu = gm rp from the boxes."),
               "The capacitors are 1 F, a fraction of a milliohm at 1 kHz: the expected "
               "difference from the calculated gain is below 0.0001 %."};
    n.elements = {
        {spiceElement("Vg", {"grid", "0"}, "DC 0 AC 1"), "1 V on the grid"},
        {spiceElement("Gm", {"plate", "cathode", "grid", "cathode"}, spiceNumber(gm)),
         "The tube's transconductance, mu / rp"},
        {spiceElement("Rp", {"plate", "cathode"}, spiceNumber(s.rp)),
         "The Plate Resistance, not a resistor"},
        {spiceElement("Rb", {"plate", "0"}, spiceNumber(s.rb)),
         "Rb, the Plate Resistor, to the supply"},
        {spiceElement("Cc", {"plate", "out"}, spiceNumber(kBigCapacitor)), "Coupling capacitor"},
        {spiceElement("Rcf", {"out", "0"}, spiceNumber(s.rcf)),
         "Rcf, the Following Stage Grid Resistor"},
        {spiceElement("Rk", {"cathode", "0"}, spiceNumber(s.rk)), "Rk, the Cathode Resistor"},
    };
    if (s.bypassed)
        n.elements.push_back({spiceElement("Ck", {"cathode", "0"}, spiceNumber(kBigCapacitor)),
                              "The cathode bypass capacitor"});
    n.analyses = {acAnalysisAt(kMidBand)};
    const std::string at = " " + spiceAt(kMidBand);
    n.figures = {
        {"ac", "gain", "Gain", "", "find vm(out)" + at, s.gain, 0.1},
        {"ac", "gain_db", "Gain in dB", "dB", "find vdb(out)" + at, 20 * std::log10(s.gain), 0.1},
    };
    return n;
}

} // namespace ferrovane
