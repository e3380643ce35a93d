#include "calculators/amplifier/cvb_spice.h"

#include <cmath>

#include "calculators/amplifier/cvb_model.h"

namespace ferrovane::cvb {
namespace {

// The power in a resistor from the measured voltages at its ends.
std::string powerOf(const std::string& a, const std::string& b, double r) {
    const std::string across = b.empty() ? a : "(" + a + "-" + b + ")";
    return "param='" + across + "*" + across + "/" + spiceNumber(r) + "'";
}

} // namespace

bool isStage(const Stage& s) {
    for (double x : {s.vcc, s.beta, s.r1, s.r2, s.re, s.rc})
        if (!std::isfinite(x))
            return false;
    return s.r1 > 0 && s.r2 > 0 && s.re > 0 && s.rc >= 0 && s.beta > 0;
}

Netlist stageNetlist(const Stage& s, const StageFigures& c) {
    Netlist n;
    n.notes = {"The transistor as the calculator models it: VBE holds the base 0.6 V above the "
               "emitter and carries the base current Ib; FC draws B Ib into the collector.",
               "VIC is an ammeter in the collector lead: I(VIC) is Ic."};
    const std::string top = s.rc > 0 ? "rc" : "vcc";
    n.elements = {
        {spiceElement("VCC", {"vcc", "0"}, "DC " + spiceNumber(s.vcc)), s.vccFrom},
        {spiceElement("R1", {"vcc", "b"}, spiceNumber(s.r1)), s.r1From},
        {spiceElement("R2", {"b", "0"}, spiceNumber(s.r2)), s.r2From},
    };
    if (s.rc > 0)
        n.elements.push_back({spiceElement("Rc", {"vcc", "rc"}, spiceNumber(s.rc)), s.rcFrom});
    else
        n.notes.push_back("Rc is 0: the collector goes straight to the supply (emitter "
                          "follower).");
    n.elements.push_back({spiceElement("VIC", {top, "c"}, "DC 0"), "Ammeter for Ic"});
    n.elements.push_back({spiceElement("VBE", {"b", "e"}, "DC " + spiceNumber(kVbe)),
                          "Base-emitter drop of the model, 0.6 V"});
    n.elements.push_back({spiceElement("FC", {"c", "e", "VBE"}, spiceNumber(s.beta)), s.betaFrom});
    n.elements.push_back({spiceElement("Re", {"e", "0"}, spiceNumber(s.re)), s.reFrom});

    n.analyses = {dcAnalysisAt("VCC", s.vcc)};
    const std::string at = " " + spiceAt(s.vcc);
    n.figures = {
        {"dc", "ic", "Ic", "A", "find i(VIC)" + at, c.ic},
        {"dc", "ve", "Ve", "V", "find v(e)" + at, c.ve},
        {"dc", "vc", "Vc", "V", "find v(c)" + at, c.vc},
        {"dc", "vb", "", "", "find v(b)" + at},
        {"dc", "v_cc", "", "", "find v(vcc)" + at},
        {"dc", "p_r1", "R1 power", "W", powerOf("v_cc", "vb", s.r1), c.pR1},
        {"dc", "p_r2", "R2 power", "W", powerOf("vb", "", s.r2), c.pR2},
        {"dc", "p_re", "Re power", "W", powerOf("ve", "", s.re), c.pRe},
    };
    if (s.rc > 0)
        n.figures.push_back({"dc", "p_rc", "Rc power", "W", powerOf("v_cc", "vc", s.rc), c.pRc});
    return n;
}

} // namespace ferrovane::cvb
