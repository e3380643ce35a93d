#include <cmath>
#include <optional>

#include "calculators/loop_spice.h"
#include "calculators/matching/cap_div_lossy.h"

namespace ferrovane {

// The network as the loop equations have it: 1 V behind R1 drives the coil
// (Rc in series with L); C1 and C2 in series lie across the coil, RL across
// C2. Each loop current is read through a 0 V source; the input impedance
// is the input node's voltage over I1 and, with 1 V driving, the transfer
// ratio is the load's voltage itself.
std::optional<Netlist> capDivLossyNetlist(const Form& form) {
    using namespace loopspice;
    const lossy::Network net = lossy::readNetwork(form);
    if (!(net.f > 0))
        return std::nullopt;
    const std::array<std::string, 3> I = lossy::solveMesh(capDivLossyMesh(net));
    const Complex zin = ReadComplex(capDivLossyInputImpedance(net, I));
    const Polar vtr = lossy::polarOf(lossy::outputVoltage(I[2], net.rl));
    const std::string at = spiceAt(net.f);

    Netlist n;
    n.notes = {"The 1 V source and R1 of the loop equations; V(i1), V(i2), V(i3) are the loop",
               "currents in amperes and V(out) is the voltage transfer ratio. The window shows",
               "the ratio in decibels rounded to a tenth; the loaded Q it lists comes from the",
               "currents' four-digit texts and is not compared here."};
    const std::string s1 = net.r1 != 0 ? "s1" : "src";
    const std::string c = net.rc != 0 ? "rc" : "in";
    const std::string r3 = net.rl != 0 ? "r3" : "0";
    n.elements = {{spiceElement("V1", {"src", "0"}, "DC 0 AC 1"), "The 1 V source of loop 1"}};
    addResistor(n.elements, "R1", "src", s1, net.r1, "R1 from the Design Input Resistance box");
    addProbe(n.elements, "Vs1", s1, "in", "H1", "i1", "the loop 1 current");
    addResistor(n.elements, "Rc", "in", c, net.rc, "Rc from the Coil Resistance box");
    n.elements.push_back({spiceElement("L", {c, "0"}, spiceNumber(net.l)), "L from the L box"});
    addProbe(n.elements, "Vs2", "in", "c1", "H2", "i2", "the loop 2 current");
    n.elements.push_back(
        {spiceElement("C1", {"c1", "out"}, spiceNumber(net.c1)), "C1 from the C1 box"});
    n.elements.push_back(
        {spiceElement("C2", {"out", "0"}, spiceNumber(net.c2)), "C2 from the C2 box"});
    addProbe(n.elements, "Vs3", "out", r3, "H3", "i3", "the loop 3 current");
    addResistor(n.elements, "RL", r3, "0", net.rl, "RL from the RL box");
    n.analyses = {acAnalysisAt(net.f)};

    addLoopCurrents(n, {I.begin(), I.end()}, at);
    addParts(n, "vin", "", "V", "in", at, std::nullopt, 0);
    addQuotient(n, "zin", "Zin", "Ohms", "vin", "i1", zin);
    addNodeRatio(n, "vtr", "VTR", "out", at, vtr, true);
    return n;
}

} // namespace ferrovane
