#include "calculators/matching/cap_divider.h"

#include <cmath>
#include <string>
#include <vector>

#include "calculators/matching/design_files.h"
#include "calculators/matching/high_side.h"
#include "numeric/constants.h"
#include "numeric/eng_text.h"

namespace ferrovane {

CapDividerDesign designCapDivider(double f, double q, double rl, double r1) {
    const double omega = 2 * Pi * f;
    CapDividerDesign d;
    d.xl = r1 / q;
    d.rv = r1 / (q * q + 1);
    d.xc2 = std::sqrt(rl * rl * d.rv / (rl - d.rv));
    d.xs = rl * rl * d.xc2 / (rl * rl + d.xc2 * d.xc2);
    // The first term is Q * Rv: Rv - jQ*Rv in parallel form is R1 with a
    // reactance that the coil cancels.
    d.xc1 = 1 / std::sqrt((1 / d.rv) * (1 / d.rv) * (1 / r1) / (1 / d.rv - 1 / r1)) - d.xs;
    d.l = d.xl / omega;
    d.c1 = 1 / (omega * d.xc1);
    d.c2 = 1 / (omega * d.xc2);
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

constexpr const char* kZeroValues = "Zero values not allowed.";
constexpr const char* kQTooLow = "This value of Q is too low.\r\nThe minimum Q is ";
constexpr const char* kQViolation = "Q Violation";
constexpr const char* kR1NotAboveRL = "High Side resistance MUST BE GRATER THAN RL.";
constexpr const char* kResistanceViolation = "Resistance Violation";
// The design file holds a coil loss resistance for the lossy-coil analysis;
// the design itself is lossless.
constexpr const char* kLosslessCoil = "0.000";

void CmdCalc_Click(Form& form, CalcEnv& env) {
    const double f = form.number(kF);
    const double q = form.number(kQ);
    const double rl = form.number(kRL);
    const double r1 = highside::readR1(form);
    form.list(kList).clear();

    if (f == 0 || q == 0 || rl == 0 || r1 == 0) {
        env.dialogs.say(kZeroValues);
        return;
    }
    if (r1 / rl >= q * q + 1) {
        // The divider cannot step down more than Q^2 + 1 times.
        const double minimumQ = std::floor(std::sqrt(r1 / rl - 1) + 1);
        env.dialogs.show(Message{kQTooLow + PlainNumber(minimumQ), kQViolation});
        return;
    }
    if (!(r1 > rl)) {
        env.dialogs.show(Message{kR1NotAboveRL, kResistanceViolation});
        return;
    }

    const CapDividerDesign d = designCapDivider(f, q, rl, r1);
    designs::listAndSave(form, env, kList, designs::capDivider(),
                         {{designs::kF, f},
                          {designs::kR1, r1},
                          {designs::kL, d.l},
                          {designs::kC1, d.c1},
                          {designs::kC2, d.c2},
                          {designs::kQ, q},
                          {designs::kRL, rl}},
                         kLosslessCoil);
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form06";
    f.caption = "Capacitive Divider Impedance Matching Design Calculator";
    f.widthTwips = 9510;
    f.heightTwips = 6255;
    f.left = {
        box(kF, "Frequency", "Hertz"),
        box(kQ, "Q", "", "0"),
        box(kRL, "Load Resistance, RL", "Ohms", "0"),
        box(kR1, "Plate or Antenna, High Side Resistance", "Ohms", "0"),
        highside::voltageBox("Collector or Plate Voltage", "0"),
        highside::currentBox("Collector or Plate Current", "0"),
    };
    f.right = {
        highside::modeGroup(),
        PictureSpec{"Image1", "cap_divider.svg"},
    };
    f.bottom = {ListSpec{kList, "", "", 7}};
    return f;
}

Calculator makeCapDivider() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "CapDiv.dat";
    calc.fields = {{FieldKind::Eng, kF},           {FieldKind::Eng, kQ},  {FieldKind::Eng, kRL},
                   {FieldKind::Eng, kR1},          {FieldKind::Eng, kVc}, {FieldKind::Eng, kIc},
                   {FieldKind::Option, kModeGroup}};
    calc.clearBoxes = {kF, kQ, kRL, kR1, kVc, kIc};
    calc.calculate = CmdCalc_Click;
    calc.netlist = capDividerNetlist;
    highside::addHandlers(calc);
    return calc;
}

} // namespace

const Calculator& capDivider() {
    static const Calculator calc = makeCapDivider();
    return calc;
}

} // namespace ferrovane
