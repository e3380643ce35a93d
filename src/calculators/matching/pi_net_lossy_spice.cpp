#include <cmath>
#include <optional>

#include "calculators/loop_spice.h"
#include "calculators/matching/pi_net_lossy.h"

namespace ferrovane {

// The network as the loop equations have it: 1 V drives C1 directly (R1
// plays no part), the coil (Rc in series with L) joins C1 to C2, RL lies
// across C2. Each loop current is read through a 0 V source; the input
// impedance is the input node's voltage over I1 and, with 1 V driving, the
// transfer ratio is the load's voltage itself.
std::optional<Netlist> piNetLossyNetlist(const Form& form) {
    using namespace loopspice;
    const lossy::Network net = lossy::readNetwork(form);
    if (!(net.f > 0) || !(net.rl > 0))
        return std::nullopt;
    const std::array<std::string, 3> I = lossy::solveMesh(piNetLossyMesh(net));
    const std::string zinText = piNetLossyInputImpedance(I);
    const Polar vtr = lossy::polarOf(lossy::outputVoltage(I[2], net.rl));
    const double lossless = std::sqrt(net.rl / lossy::polarOf(zinText).magnitude);
    const std::string at = spiceAt(net.f);

    Netlist n;
    n.notes = {"The 1 V source of the loop equations across C1; V(i1), V(i2), V(i3) are the loop",
               "currents in amperes and V(out) is the voltage transfer ratio. The loaded Q the",
               "window lists comes from the currents' four-digit texts and is not compared here;",
               "the lossless VTR is sqrt(RL / |Zin|), the ratio if no power were lost in Rc."};
    const std::string c = net.rc != 0 ? "rc" : "coil";
    n.elements = {{spiceElement("V1", {"src", "0"}, "DC 0 AC 1"), "The 1 V source of loop 1"}};
    addProbe(n.elements, "Vs1", "src", "in", "H1", "i1", "the loop 1 current");
    n.elements.push_back(
        {spiceElement("C1", {"in", "0"}, spiceNumber(net.c1)), "C1 from the C1 box"});
    addProbe(n.elements, "Vs2", "in", "coil", "H2", "i2", "the loop 2 current");
    addResistor(n.elements, "Rc", "coil", c, net.rc, "Rc from the Coil Resistance box");
    n.elements.push_back({spiceElement("L", {c, "out"}, spiceNumber(net.l)), "L from the L box"});
    n.elements.push_back(
        {spiceElement("C2", {"out", "0"}, spiceNumber(net.c2)), "C2 from the C2 box"});
    addProbe(n.elements, "Vs3", "out", "r3", "H3", "i3", "the loop 3 current");
    n.elements.push_back(
        {spiceElement("RL", {"r3", "0"}, spiceNumber(net.rl)), "RL from the RL box"});
    n.analyses = {acAnalysisAt(net.f)};

    addLoopCurrents(n, {I.begin(), I.end()}, at);
    addParts(n, "vin", "", "V", "in", at, std::nullopt, 0);
    addQuotient(n, "zin", "Zin", "Ohms", "vin", "i1", ReadComplex(zinText));
    addNodeRatio(n, "vtr", "VTR", "out", at, vtr, false);
    n.figures.push_back({"ac", "lossless", "Lossless VTR", "",
                         "param='sqrt(" + spiceNumber(net.rl) + "/zin_m)'", lossless, 0.1});
    return n;
}

} // namespace ferrovane
