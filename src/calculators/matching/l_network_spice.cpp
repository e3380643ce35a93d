#include <optional>

#include "calculators/matching/design_spice.h"
#include "calculators/matching/high_side.h"
#include "calculators/matching/l_network.h"
#include "shell/spice.h"

namespace ferrovane {

// The designed L section driven by a 1 A test current at F: the voltage at
// its input then reads the impedance the source sees, which the design makes
// R1 with no reactance. The inductor's voltage over the load's is XL / RL,
// the section's Q.
std::optional<Netlist> lNetworkNetlist(const Form& form) {
    Form f = form;
    const double freq = f.number("TxtF");
    const double rl = f.number("TxtRL");
    const double r1 = highside::readR1(f);
    if (!(r1 > rl) || !(rl > 0) || !(freq > 0))
        return std::nullopt;
    const LNetworkDesign d = designLNetwork(freq, r1, rl);
    const std::string at = spiceAt(freq);

    return designspice::testCurrentNetlist(
        freq, r1,
        {"A 1 A test current into the input: V(in) in volts is the input impedance in ohms."},
        {
            {spiceElement("C", {"in", "0"}, spiceNumber(d.c)),
             "C as designed: 1 / (2 pi F XC), XC = R1 / Q"},
            {spiceElement("L", {"in", "out"}, spiceNumber(d.l)),
             "L as designed: XL / (2 pi F), XL = Q RL"},
            {spiceElement("RL", {"out", "0"}, spiceNumber(rl)),
             "RL from the Low Side Resistance box"},
            {spiceElement("EL", {"vl", "0", "in", "out"}, "1"), "The voltage across L, for the Q"},
        },
        {
            {"ac", "v_l", "", "", "find vm(vl) " + at},
            {"ac", "v_rl", "", "", "find vm(out) " + at},
            {"ac", "q", "Q", "", "param='v_l/v_rl'", d.q, 0.1},
        });
}

} // namespace ferrovane
