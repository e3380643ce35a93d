#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "calculators/passive/rlc_q.h"
#include "shell/spice.h"

namespace ferrovane {

// The series circuit on a 1 V source. The voltage across R is the current
// times R: in phase with the source at resonance, and down to 1 / sqrt(2) of
// its peak at the band's edges, which for a series circuit lie exactly
// R / (2 pi L) = F / Q apart. The sweep spans the band with half a bandwidth
// to spare on each side.
std::optional<Netlist> rlcQNetlist(const Form& form) {
    const std::optional<rlcq::Circuit> found = rlcq::lastCircuit(form);
    if (!found)
        return std::nullopt;
    const rlcq::Circuit& s = *found;
    if (!(s.r > 0) || !(s.l > 0) || !(s.c > 0) || !(s.f > 0) || !(s.bw > 0))
        return std::nullopt;
    const double centre = std::sqrt(s.f * s.f + s.bw * s.bw / 4);
    const double low = centre - s.bw / 2, high = centre + s.bw / 2;
    const double from = std::max(low - s.bw / 2, low / 2), to = high + s.bw / 2;

    Netlist n;
    n.notes = {"V(out) is the current times R: its phase is zero at resonance, and it falls to "
               "1/sqrt(2) of 1 V at the -3 dB edges."};
    n.elements = {
        {spiceElement("Vs", {"in", "0"}, "DC 0 AC 1"), "A 1 V source"},
        {spiceElement("L", {"in", "a"}, spiceNumber(s.l)), "L, the Inductance"},
        {spiceElement("C", {"a", "out"}, spiceNumber(s.c)), "C, the Capacitance"},
        {spiceElement("R", {"out", "0"}, spiceNumber(s.r)), "R, the series Resistance"},
    };
    n.analyses = {".ac lin 20001 " + spiceNumber(from) + " " + spiceNumber(to)};
    const std::string edge = "vm(out)=" + spiceNumber(1 / std::sqrt(2.0));
    n.figures = {
        {"ac", "f0", "Resonant frequency", "Hz", "when vp(out)=0", s.f, 0.1},
        {"ac", "f_low", "", "", "when " + edge + " rise=1"},
        {"ac", "f_high", "", "", "when " + edge + " fall=1"},
        {"ac", "bw", "Bandwidth, -3 dB", "Hz", "param='f_high-f_low'", s.bw, 0.1},
        {"ac", "q", "Q", "", "param='f0/bw'", s.q, 0.1},
    };
    return n;
}

} // namespace ferrovane
