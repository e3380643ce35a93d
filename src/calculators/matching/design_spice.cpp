#include "calculators/matching/design_spice.h"

namespace ferrovane::designspice {

Netlist testCurrentNetlist(double f, double r1, std::vector<std::string> notes,
                           const std::vector<SpiceElement>& network,
                           const std::vector<SpiceFigure>& figures) {
    const std::string at = spiceAt(f);
    Netlist n;
    n.notes = std::move(notes);
    n.elements = {
        {spiceElement("Itest", {"0", "in"}, "DC 0 AC 1"), "Test current at the design frequency"}};
    n.elements.insert(n.elements.end(), network.begin(), network.end());
    n.analyses = {acAnalysisAt(f)};
    n.figures = {
        {"ac", "zin_re", "Input resistance", "Ohms", "find vr(in) " + at, r1, 0.1},
        {"ac", "zin_im", "Input reactance", "Ohms", "find vi(in) " + at, 0.0, 0.1, r1},
    };
    n.figures.insert(n.figures.end(), figures.begin(), figures.end());
    return n;
}

} // namespace ferrovane::designspice
