#include "calculators/matching/high_side.h"

#include <array>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "numeric/eng_text.h"

namespace ferrovane::highside {

namespace {

constexpr const char* kOpRes = "OpRes";
constexpr const char* kOpVandI = "OpVandI";

constexpr const char* kVcLabel = "Text4";
constexpr const char* kVcUnit = "Text9";
constexpr const char* kIcLabel = "Text5";
constexpr const char* kIcUnit = "Text10";

// The voltage and current boxes with their labels and unit labels.
constexpr std::array<const char*, 6> kAmplifierControls{kVc, kVcLabel, kVcUnit,
                                                        kIc, kIcLabel, kIcUnit};

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

BoxSpec voltageBox(std::string caption, std::string initial) {
    return box(kVc, std::move(caption), "Volts", std::move(initial), kVcLabel, kVcUnit);
}

BoxSpec currentBox(std::string caption, std::string initial) {
    return box(kIc, std::move(caption), "Amps", std::move(initial), kIcLabel, kIcUnit);
}

void addHandlers(Calculator& calc) {
    calc.options[kOpRes] = OpRes_Click;
    calc.options[kOpVandI] = OpVandI_Click;
    calc.boxes[kVc] = amplifierChanged;
    calc.boxes[kIc] = amplifierChanged;
    calc.clearGroups = {kModeGroup};
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
