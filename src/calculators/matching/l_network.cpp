#include "calculators/matching/l_network.h"

#include <cmath>
#include <string>
#include <vector>

#include "calculators/matching/high_side.h"
#include "numeric/constants.h"
#include "numeric/eng_text.h"

namespace ferrovane {

LNetworkDesign designLNetwork(double f, double r1, double rl) {
    LNetworkDesign d;
    d.q = std::sqrt(r1 / rl - 1);
    d.xc = r1 / d.q;
    // The shunt capacitor turns R1 into RL - jQ*RL in series form; the series
    // inductor cancels that reactance, leaving RL.
    d.xl = d.q * rl;
    d.c = 1 / (2 * Pi * f * d.xc);
    d.l = d.xl / (2 * Pi * f);
    return d;
}

namespace {

constexpr const char* kF = "TxtF";
constexpr const char* kRL = "TxtRL";
constexpr const char* kList = "List1";

using highside::kIc;
using highside::kModeGroup;
using highside::kR1;
using highside::kVc;
constexpr const char* kR1NotAboveRL = "RL must be less than R1.";

void CmdCalc_Click(Form& form, CalcEnv& env) {
    const double f = form.number(kF);
    const double rl = form.number(kRL);
    const double r1 = highside::readR1(form);
    if (!(r1 > rl)) {
        env.dialogs.say(kR1NotAboveRL);
        return;
    }

    const LNetworkDesign d = designLNetwork(f, r1, rl);
    // Every line is built before the list changes, so a value that is not
    // finite (a zero F or RL) leaves the previous list in place.
    std::vector<std::string> lines{"Frequency =" + engText(f),   "       R1 =" + engText(r1),
                                   "        C =" + engText(d.c), "        L =" + engText(d.l),
                                   "        Q =" + engText(d.q), "       RL =" + engText(rl)};
    form.list(kList) = std::move(lines);
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form05";
    f.caption = "L--Network Design Calculator";
    f.widthTwips = 9330;
    f.heightTwips = 5625;
    f.left = {
        box(kF, "Frequency", "Hertz"),
        box(kRL, "Low Side Resistance RL", "Ohms"),
        box(kR1, "Plate or Antenna, High Side Resistance", "Ohms"),
        highside::voltageBox("Plate or Collector Voltage"),
        highside::currentBox("Plate or Collector Current"),
    };
    f.right = {
        highside::modeGroup(),
        PictureSpec{"Image1", "l_network.svg"},
    };
    f.bottom = {ListSpec{kList, "", "", 6}};
    return f;
}

Calculator makeLNetwork() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "LNetD.dat";
    calc.fields = {{FieldKind::Eng, kF},  {FieldKind::Eng, kRL}, {FieldKind::Eng, kR1},
                   {FieldKind::Eng, kVc}, {FieldKind::Eng, kIc}, {FieldKind::Option, kModeGroup}};
    calc.clearBoxes = {kF, kRL, kR1, kVc, kIc};
    calc.calculate = CmdCalc_Click;
    highside::addHandlers(calc);
    calc.netlist = lNetworkNetlist;
    return calc;
}

} // namespace

const Calculator& lNetwork() {
    static const Calculator calc = makeLNetwork();
    return calc;
}

} // namespace ferrovane
