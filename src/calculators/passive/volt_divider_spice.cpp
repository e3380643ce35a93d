#include <cmath>
#include <cstddef>
#include <optional>
#include <string>

#include "calculators/passive/volt_divider.h"
#include "shell/spice.h"

namespace ferrovane {

// The combination of the list whose attenuation comes nearest the wanted one
// (the first of equals), on its source and load. The source is the input
// voltage, or 1 V when the attenuation was given as a ratio or in dB; an
// operating point then gives Vo, and Vo / Vin the error against the ratio
// wanted.
std::optional<Netlist> voltDividerNetlist(const Form& form) {
    using namespace voltdivider;
    const std::optional<Listing> list = listing(form);
    if (!list || list->lines.empty())
        return std::nullopt;
    std::size_t best = 0;
    for (std::size_t i = 1; i < list->lines.size(); ++i)
        if (std::fabs(list->lines[i].ratio - list->wanted) <
            std::fabs(list->lines[best].ratio - list->wanted))
            best = i;
    const Combination& c = list->lines[best];
    const double vin = list->byVoltages ? list->vin : 1.0;
    if (!(vin > 0) || !(c.r1 > 0) || !(c.r2 > 0))
        return std::nullopt;
    const std::string line = "line " + std::to_string(best + 1) + " of " +
                             std::to_string(list->lines.size()) + " of the list";

    Netlist n;
    n.notes = {"The listed divider nearest the wanted attenuation: " + line + ".",
               "Vo at the operating point; the error is Vo / Vin against the wanted ratio " +
                   spiceNumber(list->wanted) + ", in percent."};
    n.elements = {
        {spiceElement("Vin", {"in", "0"}, "DC " + spiceNumber(vin)),
         list->byVoltages ? "Vin from the Input Voltage box"
                          : "1 V: the attenuation was given without voltages"},
        {spiceElement("R1", {"in", "out"}, spiceNumber(c.r1)), "R1 of " + line},
        {spiceElement("R2", {"out", "0"}, spiceNumber(c.r2)), "R2 of " + line},
    };
    if (list->loading == ResistanceLoad)
        n.elements.push_back(
            {spiceElement("RL", {"out", "0"}, spiceNumber(list->load)), "The Load Resistance box"});
    else if (list->loading == CurrentLoad)
        n.elements.push_back({spiceElement("IL", {"out", "0"}, "DC " + spiceNumber(list->load)),
                              "The Load Current box, drawn from the output"});
    n.analyses = {dcAnalysisAt("Vin", vin)};
    const std::string at = spiceAt(vin);
    const std::string ratio = spiceNumber(list->wanted);
    n.figures = {
        {"dc", "vo", "Vo", "V", "find v(out) " + at, c.ratio * vin, 0.1},
        // The error is a percentage already: compared in points of it.
        {"dc", "error", "Error against the wanted ratio", "%",
         "param='100*(vo/" + spiceNumber(vin) + "-" + ratio + ")/" + ratio + "'",
         100 * (c.ratio - list->wanted) / list->wanted, 0.1, 1},
    };
    return n;
}

} // namespace ferrovane
