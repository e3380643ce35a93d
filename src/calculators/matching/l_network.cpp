#include "calculators/matching/l_network.h"

#include <cmath>
#include <string>
#include <vector>

#include "calculators/matching/high_side.h"
#include "numeric/eng_text.h"
#include "shell/help_texts.h"

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

using highside::kModeGroup;
constexpr const char* kR1NotAboveRL = "RL must be less than R1.";

void CmdCalc_Click(Form& form, CalcEnv& env) {
    const double f = form.number("TxtF");
    const double rl = form.number("TxtRL");
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
    form.list("List1") = std::move(lines);
}

FormSpec formSpec() {
    FormSpec layout;
    layout.name = "Form05";
    layout.caption = "L--Network Design Calculator";
    layout.widthTwips = 9330;
    layout.heightTwips = 5625;
    layout.left = {
        box("TxtF", "Frequency", "Hertz"),
        box("TxtRL", "Low Side Resistance RL", "Ohms"),
        box("TxtR1", "Plate or Antenna, High Side Resistance", "Ohms"),
        box("TxtVc", "Plate or Collector Voltage", "Volts", "", "Text4", "Text9"),
        box("TxtIc", "Plate or Collector Current", "Amps", "", "Text5", "Text10"),
    };
    layout.right = {
        highside::modeGroup(),
        PictureSpec{"Image1", "l_network.svg"},
    };
    layout.bottom = {ListSpec{"List1", "", "", 6}};
    return layout;
}

} // namespace

const Calculator& lNetwork() {
    static const Calculator calc = [] {
        Calculator c;
        c.form = formSpec();
        c.dataFile = "LNetD.dat";
        c.fields = {{FieldKind::Eng, "TxtF"},  {FieldKind::Eng, "TxtRL"},
                    {FieldKind::Eng, "TxtR1"}, {FieldKind::Eng, "TxtVc"},
                    {FieldKind::Eng, "TxtIc"}, {FieldKind::Option, kModeGroup}};
        c.clearBoxes = {"TxtF", "TxtRL", "TxtR1", "TxtVc", "TxtIc"};
        c.calculate = CmdCalc_Click;
        c.optionSelected = highside::optionSelected;
        c.boxChanged = highside::boxChanged;
        // The boxes are emptied and both modes turned off; boxes and labels keep
        // the visibility and lock of the last mode.
        c.clearGroups = {kModeGroup};
        return c;
    }();
    return calc;
}

} // namespace ferrovane
