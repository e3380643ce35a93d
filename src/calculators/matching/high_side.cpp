#include "calculators/matching/high_side.h"

#include <array>

#include <cmath>
#include <string>
#include <vector>

#include "numeric/eng_text.h"

namespace ferrovane::highside {

namespace {

constexpr const char* kOpRes = "OpRes";
constexpr const char* kOpVandI = "OpVandI";

// The voltage and current boxes with their labels and unit labels.
constexpr std::array<const char*, 6> kAmplifierControls{kVc, "Text4", "Text9",
                                                        kIc, "Text5", "Text10"};

void showAmplifierBoxes(Form& form, bool on) {
    for (const auto& name : kAmplifierControls)
        form.setVisible(name, on);
}

// R1 as the amplifier's plate or collector voltage over its current, shown at
// once in plain number text when both are given.
void showAmplifierLoad(Form& form) {
    const double vc = form.number(kVc);
    const double ic = form.number(kIc);
    if (vc > 0 && ic > 0) {
        const double r1 = vc / ic;
        if (std::isfinite(r1))
            form.setText(kR1, PlainNumber(r1));
    }
}

void OpRes_Click(Form& form, CalcEnv&) {
    showAmplifierBoxes(form, false);
    form.setLocked(kR1, false);
}

void OpVandI_Click(Form& form, CalcEnv&) {
    showAmplifierBoxes(form, true);
    form.setLocked(kR1, true);
    showAmplifierLoad(form);
}

void amplifierChanged(Form& form, CalcEnv&) {
    if (form.selected(kOpVandI))
        showAmplifierLoad(form);
}

} // namespace

GroupSpec modeGroup() {
    return GroupSpec{
        kModeGroup,
        "",
        {{kOpRes, "High Side Resistance"}, {kOpVandI, "Amplifier Voltage and Current"}},
        0};
}

void addHandlers(Calculator& calc) {
    calc.options[kOpRes] = OpRes_Click;
    calc.options[kOpVandI] = OpVandI_Click;
    calc.boxes[kVc] = amplifierChanged;
    calc.boxes[kIc] = amplifierChanged;
}

double readR1(Form& form) {
    if (form.selected(kOpRes))
        return form.number(kR1);
    if (form.selected(kOpVandI)) {
        const double r1 = form.number(kVc) / form.number(kIc);
        form.setEng(kR1, r1);
        return r1;
    }
    return 0;
}

} // namespace ferrovane::highside
