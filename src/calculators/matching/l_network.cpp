#include "calculators/matching/l_network.h"

#include <cmath>
#include <string>
#include <vector>

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

constexpr const char* kModeGroup = "Frame1";
constexpr const char* kR1NotAboveRL = "RL must be less than R1.";

// The voltage and current boxes with their labels and unit labels.
const std::vector<std::string> kAmplifierControls{"TxtVc", "Text4", "Text9",
                                                  "TxtIc", "Text5", "Text10"};

void showAmplifierBoxes(Form& form, bool on) {
    for (const auto& name : kAmplifierControls)
        form.setVisible(name, on);
}

// R1 as the amplifier's plate or collector voltage over its current, shown at
// once in plain number text when both are given.
void showAmplifierLoad(Form& form) {
    const double vc = form.number("TxtVc");
    const double ic = form.number("TxtIc");
    if (vc > 0 && ic > 0) {
        const double r1 = vc / ic;
        if (std::isfinite(r1))
            form.setText("TxtR1", PlainNumber(r1));
    }
}

void OpRes_Click(Form& form) {
    showAmplifierBoxes(form, false);
    form.setLocked("TxtR1", false);
}

void OpVandI_Click(Form& form) {
    showAmplifierBoxes(form, true);
    form.setLocked("TxtR1", true);
    showAmplifierLoad(form);
}

void optionSelected(Form& form, CalcEnv&, const std::string& option) {
    if (option == "OpRes")
        OpRes_Click(form);
    else if (option == "OpVandI")
        OpVandI_Click(form);
}

// While R1 comes from the amplifier, it follows the voltage and current boxes.
void boxChanged(Form& form, CalcEnv&, const std::string& box) {
    if ((box == "TxtVc" || box == "TxtIc") && form.selected("OpVandI"))
        showAmplifierLoad(form);
}

void CmdCalc_Click(Form& form, CalcEnv& env) {
    const double f = form.number("TxtF");
    const double rl = form.number("TxtRL");
    double r1 = 0; // neither mode selected: no R1
    if (form.selected("OpRes"))
        r1 = form.number("TxtR1");
    if (form.selected("OpVandI")) {
        const double ic = form.number("TxtIc");
        const double vc = form.number("TxtVc");
        r1 = vc / ic;
        form.setEng("TxtR1", r1);
    }
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

// The boxes are emptied and both options turned off; the boxes and labels
// keep the visibility and lock of the last mode.
void CmdClr_Click(Form& form, CalcEnv&) {
    for (const char* box : {"TxtF", "TxtRL", "TxtR1", "TxtVc", "TxtIc"})
        form.setText(box, "");
    form.clearOption(kModeGroup);
}

// A box with its label and unit; the amplifier boxes also name their labels,
// which the mode options show and hide.
BoxSpec box(const char* name, const char* label, const char* unit, const char* initial = "",
            const char* labelName = "", const char* unitName = "") {
    BoxSpec b;
    b.name = name;
    b.label = label;
    b.unit = unit;
    b.labelName = labelName;
    b.unitName = unitName;
    b.initial = initial;
    return b;
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
        GroupSpec{kModeGroup,
                  "",
                  {{"OpRes", "High Side Resistance"}, {"OpVandI", "Amplifier Voltage and Current"}},
                  0},
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
        c.optionSelected = optionSelected;
        c.boxChanged = boxChanged;
        c.clear = CmdClr_Click;
        return c;
    }();
    return calc;
}

} // namespace ferrovane
