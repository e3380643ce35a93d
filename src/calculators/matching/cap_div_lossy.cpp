#include "calculators/matching/cap_div_lossy.h"

#include <string>
#include <utility>
#include <vector>

#include "calculators/matching/design_files.h"
#include "calculators/matching/lossy_mesh.h"
#include "numeric/complex_text.h"
#include "numeric/eng_text.h"
#include "shell/window_cycle.h"

namespace ferrovane {

// A 1-volt source with resistance R1 drives the coil (Rc + jXL); C1 and C2
// in series lie across the coil and RL across C2. Loop 1 is the source, R1
// and the coil, loop 2 the coil, C1 and C2, loop 3 C2 and RL. The equations
// are negated (every entry and the right-hand side times -1), which leaves
// the currents as they are.
lossy::MeshEquations capDivLossyMesh(const lossy::Network& n) {
    const double R1 = n.r1, Rc = n.rc, RL = n.rl;
    const double XL = n.xl, XC1 = n.xc1, XC2 = n.xc2;
    lossy::MeshEquations mesh;
    ComplexMatrix& m = mesh.matrix;
    m(1, 1) = ComplexText(-(R1 + Rc), -XL);
    m(1, 2) = ComplexText(Rc, XL);
    m(1, 3) = " 0 + j 0 ";
    m(2, 1) = ComplexText(Rc, XL);
    m(2, 2) = ComplexText(-Rc, -(XL - XC1 - XC2));
    m(2, 3) = ComplexText(0, -XC2);
    m(3, 1) = " 0 + j 0 ";
    m(3, 2) = ComplexText(0, -XC2);
    m(3, 3) = ComplexText(-RL, XC2);
    mesh.rhs = {" -1 + j 0 ", " 0 + j 0 ", " 0 + j 0 "};
    return mesh;
}

// The coil carries the difference of loops 1 and 2; the network's input
// impedance is the coil's voltage over the source current.
std::string capDivLossyInputImpedance(const lossy::Network& n,
                                      const std::array<std::string, 3>& currents) {
    const std::string Icoil = CplxSub(currents[0], currents[1]);
    const std::string coil =
        PlainNumber(n.rc, LeadingBlank::Yes) + " + j" + PlainNumber(n.xl, LeadingBlank::Yes);
    return CplxDiv(CplxMul(Icoil, coil), currents[0]);
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
    "When you start this calculator the data will be from the last time you ran THIS calculator. "
    " Pressing this button will load the output data from the most resent run of the "
    "'Capacitive Divider Matching' design calculator.";
constexpr const char* kLoadLastRunHelp =
    "When you start this calculator the data will be from the last time you ran THIS calculator. "
    " You can recall the data by pressing this button.  When you close this calculator the data "
    "currently in the boxes will be saved.";

// Load New Design.
void CmdClr_Click(Form& form, CalcEnv& env) {
    lossy::loadDesign(form, env, designs::capDivider());
}

// The last run, unless it holds a zero where no network can have one (a
// zero coil resistance is a lossless coil): then the design is loaded.
void LoadFile(Form& form, CalcEnv& env, const DataFields& fields) {
    StandardLoadFile(capDivLossy(), form, env, fields);
    for (const char* box : {kF, kR1, kC1, kL, kC2, kRL, kQ}) {
        if (form.number(box) == 0) {
            CmdClr_Click(form, env);
            return;
        }
    }
}

std::vector<std::string> analyse(const Form& form) {
    const lossy::Network n = lossy::readNetwork(form);
    const double F = n.f, RL = n.rl;

    std::vector<std::string> lines;
    const auto I = lossy::listCurrents(capDivLossyMesh(n), lines);

    const std::string Zin = lossy::step("the input impedance", [&] {
        const std::string z = capDivLossyInputImpedance(n, I);
        lines.push_back(lossy::impedanceLine(z));
        return z;
    });
    lines.push_back(
        lossy::step("the parallel equivalent", [&] { return lossy::parallelLine(F, Zin); }));

    // Loaded Q: the coil loop's reactive current over the source's real
    // current, as the lines show them.
    const double Q = lossy::step("the loaded Q", [&] { return lossy::loadedQ(I[1], I[0]); });
    lines.push_back(lossy::qLine(Q));

    lines.push_back(lossy::step("the voltage transfer ratio", [&] {
        const std::string Vout = lossy::outputVoltage(I[2], RL);
        const Polar vtr = lossy::polarOf(Vout);
        return lossy::vtrLine("VTR =", vtr.magnitude, vtr.angle) + " = " +
               PlainNumber(lossy::decibels(vtr.magnitude)) + " dB";
    }));
    return lines;
}

void CmdCalc_Click(Form& form, CalcEnv& env) {
    lossy::listAnalysis(form, env, kList, analyse);
}

Calculator makeCapDivLossy() {
    Calculator calc;
    calc.form = lossy::formSpec("Form07", "Capacitive Divider with Lossy Coil Calculator",
                                {kF, kR1, kL, kRc, kC1, kC2, kRL, kQ}, "cap_div_lossy.svg",
                                kLoadDesignHelp, kLoadLastRunHelp);
    calc.dataFile = "CapDivLastRun.dat";
    calc.fields = lossy::fileFields();
    calc.calculate = CmdCalc_Click;
    calc.clear = CmdClr_Click;
    calc.loadFile = LoadFile;
    calc.netlist = capDivLossyNetlist;
    return calc;
}

} // namespace

const Calculator& capDivLossy() {
    static const Calculator calc = makeCapDivLossy();
    return calc;
}

} // namespace ferrovane
