#include <cmath>
#include <optional>

#include "calculators/matching/design_spice.h"
#include "calculators/matching/high_side.h"
#include "calculators/matching/pi_network.h"
#include "shell/spice.h"

namespace ferrovane {

// The designed pi section driven by a 1 A test current at F: the voltage at
// its input reads the impedance the source sees, which the design makes R1
// with no reactance. C1's current, read through a 0 V source and a unity
// current-controlled source, is then R1 / XC1 times the input's: the Q.
std::optional<Netlist> piNetworkNetlist(const Form& form) {
    Form f = form;
    const double freq = f.number("TxtF");
    const double q = f.number("TxtQ");
    const double rl = f.number("TxtRL");
    const double r1 = highside::readR1(f);
    if (!(freq > 0) || !(rl > 0) || !(r1 > rl) || !(std::sqrt(r1 / rl - 1) < q))
        return std::nullopt;
    const PiNetworkDesign d = designPiNetwork(freq, q, rl, r1);
    const std::string at = spiceAt(freq);

    return designspice::testCurrentNetlist(
        freq, r1,
        {"A 1 A test current into the input: V(in) in volts is the input impedance in ohms,",
         "and the current of C1 in amperes (V(ic1)) is the loaded Q."},
        {
            {spiceElement("VsC1", {"in", "c1"}, "0"), "Senses the current of C1"},
            {spiceElement("C1", {"c1", "0"}, spiceNumber(d.c1)),
             "C1 as designed: 1 / (2 pi F XC1), XC1 = R1 / Q"},
            {spiceElement("L", {"in", "out"}, spiceNumber(d.l)),
             "L as designed: XL / (2 pi F), XL the larger root of the design's quadratic"},
            {spiceElement("C2", {"out", "0"}, spiceNumber(d.c2)),
             "C2 as designed: 1 / (2 pi F XC2), XC2 = RL / sqrt((Q^2 + 1) RL / R1 - 1)"},
            {spiceElement("RL", {"out", "0"}, spiceNumber(rl)),
             "RL from the Low Side Resistance box"},
            {spiceElement("HC1", {"ic1", "0", "VsC1"}, "1"),
             "The current of C1 as a voltage, for the Q"},
        },
        {
            {"ac", "q", "Q", "", "find vm(ic1) " + at, q, 0.1},
        });
}

} // namespace ferrovane
