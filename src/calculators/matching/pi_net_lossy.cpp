#include "calculators/matching/pi_net_lossy.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "calculators/matching/design_files.h"
#include "calculators/matching/lossy_mesh.h"
#include "numeric/complex_text.h"
#include "numeric/eng_text.h"
#include "shell/window_cycle.h"

namespace ferrovane {

namespace {

// Text of a purely imaginary loop entry.
std::string imaginary(double x) {
    return " 0 + j" + PlainNumber(x, LeadingBlank::Yes);
}

} // namespace

// A 1-volt source drives C1 directly (R1, the resistance the design meant
// to present, plays no part); the coil (Rc + jXL) joins C1 to C2, and RL lies
// across C2. Loop 1 is the source and C1, loop 2 C1, the coil and C2, loop 3
// C2 and RL. The equations are negated, which leaves the currents as they are.
lossy::MeshEquations piNetLossyMesh(const lossy::Network& n) {
    const double Rc = n.rc, RL = n.rl;
    const double XL = n.xl, XC1 = n.xc1, XC2 = n.xc2;
    lossy::MeshEquations mesh;
    ComplexMatrix& m = mesh.matrix;
    m(1, 1) = imaginary(XC1);
    m(1, 2) = imaginary(-XC1);
    m(1, 3) = " 0 + j 0 ";
    m(2, 1) = imaginary(-XC1);
    m(2, 2) = ComplexText(-Rc, XC1 + XC2 - XL);
    m(2, 3) = imaginary(-XC2);
    m(3, 1) = " 0 + j 0 ";
    m(3, 2) = imaginary(-XC2);
    m(3, 3) = ComplexText(-RL, XC2);
    mesh.rhs = {"-1 + j 0 ", " 0 + j 0 ", " 0 + j 0 "};
    return mesh;
}

// The source is 1 volt, so the input impedance is 1 / I1.
std::string piNetLossyInputImpedance(const std::array<std::string, 3>& currents) {
    return CplxDiv(" 1 + j 0 ", currents[0]);
}

namespace {

using designs::kC1;
using designs::kC2;
using designs::kF;
using designs::kL;
using designs::kQ;
using designs::kR1;
using designs::kRc;
using designs::kRL;
using lossy::kList;

constexpr const char* kLoadDesignHelp =
    "When you start this calculator the data will be that from the last time you ran THIS "
    "calculator.  Pressing this button will load the output data from the most resent run of the "
    "'Pi-Network' design calculator.";
constexpr const char* kLoadLastRunHelp =
    "When you start this calculator the data will be that from the last time you ran THIS "
    "calculator.  You can recall the data by pressing this button.  When you close this "
    "calculator the data currently in the boxes will be saved.";

// Load New Design. Loading the last run never falls back to it: the
// standard reader does that job alone.
void CmdClr_Click(Form& form, CalcEnv& env) {
    lossy::loadDesign(form, env, designs::piNetwork());
}

std::vector<std::string> analyse(const Form& form) {
    const lossy::Network n = lossy::readNetwork(form);
    const double F = n.f, RL = n.rl;

    std::vector<std::string> lines;
    const auto I = lossy::listCurrents(piNetLossyMesh(n), lines);

    const std::string Zin = lossy::step("the input impedance", [&] {
        const std::string z = piNetLossyInputImpedance(I);
        lines.push_back(lossy::impedanceLine(z));
        return z;
    });
    lines.push_back(
        lossy::step("the parallel equivalent", [&] { return lossy::parallelLine(F, Zin); }));

    // Loaded Q: the coil loop's reactive over its real current, as shown.
    const double Q = lossy::step("the loaded Q", [&] { return lossy::loadedQ(I[1], I[1]); });
    lines.push_back(lossy::qLine(Q));

    const Polar vtr = lossy::step("the voltage transfer ratio", [&] {
        const Polar v = lossy::polarOf(lossy::outputVoltage(I[2], RL));
        lines.push_back(lossy::vtrLine("         VTR =", v.magnitude, v.angle));
        return v;
    });
    // A lossless network passes all the input power to RL: Vout^2 / RL equals
    // 1 / |Zin| for the 1-volt source. It is shown at the lossy network's angle.
    lines.push_back(lossy::step("the lossless VTR", [&] {
        return lossy::vtrLine("Lossless VTR =", std::sqrt(RL / lossy::polarOf(Zin).magnitude),
                              vtr.angle);
    }));
    return lines;
}

void CmdCalc_Click(Form& form, CalcEnv& env) {
    lossy::listAnalysis(form, env, kList, analyse);
}

Calculator makePiNetLossy() {
    Calculator calc;
    calc.form = lossy::formSpec("Form09", "Pi--Network with Lossey Coil Calculator",
                                {kF, kR1, kC1, kL, kRc, kC2, kRL, kQ}, "pi_net_lossy.svg",
                                kLoadDesignHelp, kLoadLastRunHelp);
    calc.dataFile = "PiNetLastRun.dat";
    calc.fields = lossy::fileFields();
    calc.calculate = CmdCalc_Click;
    calc.clear = CmdClr_Click;
    calc.netlist = piNetLossyNetlist;
    return calc;
}

} // namespace

const Calculator& piNetLossy() {
    static const Calculator calc = makePiNetLossy();
    return calc;
}

} // namespace ferrovane
