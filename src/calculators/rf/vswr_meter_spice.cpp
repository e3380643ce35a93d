#include <cmath>
#include <optional>
#include <string>

#include "calculators/rf/vswr_meter.h"
#include "numeric/constants.h"
#include "shell/spice.h"

namespace ferrovane {

namespace {

// The reactance x as a component at angular frequency w, from node to
// ground: the inductor L<suffix> for a positive one, the capacitor C<suffix>
// for a negative one, nothing for none.
void addReactance(Netlist& n, const std::string& suffix, const std::string& node, double x,
                  double w, const std::string& from) {
    if (x > 0)
        n.elements.push_back({spiceElement("L" + suffix, {node, "0"}, spiceNumber(x / w)), from});
    else if (x < 0)
        n.elements.push_back(
            {spiceElement("C" + suffix, {node, "0"}, spiceNumber(-1 / (w * x))), from});
}

} // namespace

// The load at the end of a source of the line's impedance Zo with an open
// voltage of 2 V, so that the wave it sends is 1 V: the load's voltage less
// 1 V is then the reflected wave, and its magnitude the reflection
// coefficient.
std::optional<Netlist> vswrNetlist(const Form& form) {
    const std::optional<vswr::Reading> found = vswr::readingOf(form);
    if (!found)
        return std::nullopt;
    const vswr::Reading& m = *found;
    if (!(m.f > 0) || !(m.zo > 0))
        return std::nullopt;
    const double w = 2 * Pi * m.f;

    Netlist n;
    n.notes = {"V(gamma) = V(load) - 1 V is the reflection coefficient: Zo and 2 V send a 1 V "
               "wave."};
    n.elements = {
        {spiceElement("Vs", {"src", "0"}, "DC 0 AC 2"), "2 V open: a 1 V wave into Zo"},
        {spiceElement("Rs", {"src", "load"}, spiceNumber(m.zo)),
         "The source's resistance: the Line Impedance, Zo"},
    };
    if (m.meter) {
        if (!(m.first > 0))
            return std::nullopt;
        n.elements.push_back({spiceElement("Rp", {"load", "0"}, spiceNumber(m.first)),
                              "Rp, the Resistance Reading"});
        // Xp = -1 / (w Cp): Cp itself, or for a negative reading the
        // inductance of the same reactance at F.
        addReactance(n, "p", "load", -1 / (m.second * 1e-12 * w), w,
                     m.second > 0 ? "Cp, the Capacitance Reading"
                                  : "A negative Capacitance Reading: the inductance of its "
                                    "reactance at F");
    } else {
        if (!(m.r > 0))
            return std::nullopt;
        const bool reactive = m.x != 0;
        n.elements.push_back({spiceElement("R", {"load", reactive ? "x" : "0"}, spiceNumber(m.r)),
                              "R, the Resistance"});
        addReactance(n, "", "x", m.x, w, "jX, the Reactance, as a component at F");
    }
    n.elements.push_back({spiceElement("Vwave", {"wave", "0"}, "DC 0 AC 1"), "The 1 V wave sent"});
    n.elements.push_back({spiceElement("Egamma", {"gamma", "0", "load", "wave"}, "1"),
                          "The reflected wave: V(load) - 1 V"});
    n.analyses = {acAnalysisAt(m.f)};
    n.figures = {
        {"ac", "gamma", "Reflection coefficient, magnitude", "", "find vm(gamma) " + spiceAt(m.f),
         m.g, 0.1, m.g > 0 ? 0.0 : 1.0},
        {"ac", "vswr", "VSWR", "", "param='(1+gamma)/(1-gamma)'", m.vswr, 0.1},
    };
    return n;
}

} // namespace ferrovane
