#include "calculators/matching/high_side.h"

#include <cmath>
#include <vector>

#include "numeric/eng_text.h"

namespace ferrovane::highside {

namespace {

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

} // namespace

GroupSpec modeGroup() {
    return GroupSpec{
        kModeGroup,
        "",
        {{"OpRes", "High Side Resistance"}, {"OpVandI", "Amplifier Voltage and Current"}},
        0};
}

void optionSelected(Form& form, CalcEnv&, const std::string& option) {
    if (option == "OpRes")
        OpRes_Click(form);
    else if (option == "OpVandI")
        OpVandI_Click(form);
}

void boxChanged(Form& form, CalcEnv&, const std::string& box) {
    if ((box == "TxtVc" || box == "TxtIc") && form.selected("OpVandI"))
        showAmplifierLoad(form);
}

double readR1(Form& form) {
    if (form.selected("OpRes"))
        return form.number("TxtR1");
    if (form.selected("OpVandI")) {
        const double r1 = form.number("TxtVc") / form.number("TxtIc");
        form.setEng("TxtR1", r1);
        return r1;
    }
    return 0;
}

} // namespace ferrovane::highside
