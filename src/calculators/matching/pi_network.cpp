#include "calculators/matching/pi_network.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "calculators/matching/design_files.h"
#include "calculators/matching/high_side.h"
#include "numeric/constants.h"
#include "numeric/eng_text.h"

namespace ferrovane {

PiNetworkDesign designPiNetwork(double f, double q, double rl, double r1) {
    const double omega = 2 * Pi * f;
    PiNetworkDesign d;
    d.xc1 = r1 / q;
    d.xc2 = rl / std::sqrt((q * q + 1) * rl / r1 - 1);
    const double a = d.xc1 * (d.xc2 * d.xc2 + rl * rl);
    const double b =
        -2 * rl * rl * d.xc1 * d.xc2 - d.xc1 * d.xc1 * d.xc2 * d.xc2 - rl * rl * d.xc1 * d.xc1;
    const double c = rl * rl * d.xc1 * d.xc2 * d.xc2 + rl * rl * d.xc1 * d.xc1 * d.xc2;
    // Both roots make the input purely resistive. With Rs + jXs the series
    // form of RL across C2, they are the coils that bring the branch's
    // reactance to Q * Rs and to Rs / Q; only the first presents R1. That is
    // the larger root for Q of one or more, the smaller one below. At Q = 1
    // the roots meet and rounding may leave the discriminant a hair below 0.
    const double larger = (-b + std::sqrt(std::max(b * b - 4 * a * c, 0.0))) / (2 * a);
    d.xl = q >= 1 ? larger : c / (a * larger); // the product of the roots is c / a
    d.c1 = 1 / (d.xc1 * omega);
    d.c2 = 1 / (d.xc2 * omega);
    d.l = d.xl / omega;
    return d;
}

namespace {

constexpr const char* kF = "TxtF";
constexpr const char* kQ = "TxtQ";
constexpr const char* kRL = "TxtRL";
constexpr const char* kList = "List1";
using highside::kIc;
using highside::kModeGroup;
using highside::kR1;
using highside::kVc;

constexpr const char* kR1NotAboveRL = "RL must be less than R1.";
constexpr const char* kQTooLow = "This value of Q is too low.\r\nThe minimum Q is ";
// The design file holds a coil loss resistance for the lossy-coil analysis;
// the design itself is lossless.
constexpr const char* kLosslessCoil = "0.00";

void CmdCalc_Click(Form& form, CalcEnv& env) {
    const double f = form.number(kF);
    const double q = form.number(kQ);
    const double rl = form.number(kRL);
    const double r1 = highside::readR1(form);
    if (!(r1 > rl)) {
        env.dialogs.say(kR1NotAboveRL);
        return;
    }
    // A zero RL makes the minimum Q infinite: a numeric fault, not a message.
    const double qMin = checkFinite(std::sqrt(r1 / rl - 1), "the minimum Q is not a number");
    if (!(qMin < q)) {
        env.dialogs.say(kQTooLow + PlainNumber(std::floor(qMin + 0.5)));
        return;
    }

    const PiNetworkDesign d = designPiNetwork(f, q, rl, r1);
    designs::listAndSave(form, env, kList, designs::piNetwork(),
                         {{designs::kF, f},
                          {designs::kR1, r1},
                          {designs::kC1, d.c1},
                          {designs::kL, d.l},
                          {designs::kC2, d.c2},
                          {designs::kQ, q},
                          {designs::kRL, rl}},
                         kLosslessCoil);
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form08";
    f.caption = "Pi--Network Impedance Matching Calculator";
    f.widthTwips = 9330;
    f.heightTwips = 6330;
    f.left = {
        box(kF, "Frequency", "Hertz"),
        box(kQ, "Q", ""),
        box(kRL, "Low Side Resistance RL", "Ohms"),
        box(kR1, "Plate or Antenna,\nHigh Side\nResistance", "Ohms"),
        highside::voltageBox("Plate or Collector Voltage"),
        highside::currentBox("Plate or Collector Current"),
    };
    f.right = {
        highside::modeGroup(),
        PictureSpec{"Image1", "pi_network.svg"},
    };
    f.bottom = {ListSpec{kList, "", "", 7}};
    f.clearCaption = "Clear All Data";
    return f;
}

Calculator makePiNetwork() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "PiNetD.dat";
    calc.fields = {{FieldKind::Eng, kF},           {FieldKind::Eng, kQ},  {FieldKind::Eng, kRL},
                   {FieldKind::Eng, kR1},          {FieldKind::Eng, kVc}, {FieldKind::Eng, kIc},
                   {FieldKind::Option, kModeGroup}};
    calc.clearBoxes = {kF, kRL, kR1, kVc, kIc};
    calc.calculate = CmdCalc_Click;
    calc.netlist = piNetworkNetlist;
    highside::addHandlers(calc);
    return calc;
}

} // namespace

const Calculator& piNetwork() {
    static const Calculator calc = makePiNetwork();
    return calc;
}

} // namespace ferrovane
