#include <optional>

#include "calculators/matching/cap_divider.h"
#include "calculators/matching/design_spice.h"
#include "calculators/matching/high_side.h"
#include "shell/spice.h"

namespace ferrovane {

// The designed divider driven by a 1 A test current at F: the voltage at its
// input reads the impedance the source sees, which the design makes R1 with
// no reactance. The coil's current, read through a 0 V source and a unity
// current-controlled source, is then R1 / XL times the input's: the Q.
std::optional<Netlist> capDividerNetlist(const Form& form) {
    Form f = form;
    const double freq = f.number("TxtF");
    const double q = f.number("TxtQ");
    const double rl = f.number("TxtRL");
    const double r1 = highside::readR1(f);
    if (!(freq > 0) || !(q > 0) || !(rl > 0) || !(r1 > rl) || !(r1 / rl < q * q + 1))
        return std::nullopt;
    const CapDividerDesign d = designCapDivider(freq, q, rl, r1);
    const std::string at = spiceAt(freq);

    return designspice::testCurrentNetlist(
        freq, r1,
        {"A 1 A test current into the input: V(in) in volts is the input impedance in ohms,",
         "and the coil's current in amperes (V(il)) is the loaded Q."},
        {
            {spiceElement("VsL", {"in", "l"}, "0"), "Senses the coil's current"},
            {spiceElement("L", {"l", "0"}, spiceNumber(d.l)),
             "L as designed: XL / (2 pi F), XL = R1 / Q"},
            {spiceElement("C1", {"in", "tap"}, spiceNumber(d.c1)),
             "C1 as designed: 1 / (2 pi F XC1), XC1 = Q Rv - Xs, Rv = R1 / (Q^2 + 1)"},
            {spiceElement("C2", {"tap", "0"}, spiceNumber(d.c2)),
             "C2 as designed: 1 / (2 pi F XC2), RL across C2 looks like Rv in series form"},
            {spiceElement("RL", {"tap", "0"}, spiceNumber(rl)), "RL from the Load Resistance box"},
            {spiceElement("HL", {"il", "0", "VsL"}, "1"),
             "The coil's current as a voltage, for the Q"},
        },
        {
            {"ac", "q", "Q", "", "find vm(il) " + at, q, 0.1},
        });
}

} // namespace ferrovane
