#include "calculators/rf/vswr_meter.h"

#include <cmath>
#include <string>

#include "numeric/complex_text.h"
#include "numeric/constants.h"
#include "numeric/eng_text.h"

namespace ferrovane {
namespace {

constexpr const char* kData = "TxtData";
constexpr const char* kCaption = "Text1";
constexpr const char* kUnit = "Text3";
constexpr const char* kModeGroup = "Frame1";
constexpr const char* kList = "List1";
constexpr const char* kOpSeries = "Option1";
constexpr const char* kOpMeter = "Option2";
constexpr int kMeterMode = 2; // Option2, RX meter readings (Option1 is R + jX)

constexpr const char* kNoMode =
    "Choose the form of the load impedance: R + jX or RX Meter Readings.";
constexpr const char* kMeterZero = "The frequency and the capacitance reading must not be zero.";
constexpr const char* kLineZero = "The line impedance Zo must not be zero.";
constexpr const char* kResistanceZero =
    "The load's resistance is zero: its angle and its VSWR cannot be found.";
constexpr const char* kTotalReflection =
    "The load reflects all the power (reflection coefficient 1 or more): the VSWR is not "
    "finite.";

std::string data(int i) {
    return indexed(kData, i);
}

void relabel(Form& form, bool meter) {
    form.setText(indexed(kCaption, 0), meter ? "Resistance Reading, Rp" : "Resistance, R");
    form.setText(indexed(kCaption, 1), meter ? "Capacitance Reading, Cp" : "Reactance, jX");
    form.setText(indexed(kUnit, 1), meter ? "Picofarads" : "Ohms");
}

void Option1_Click(Form& form, CalcEnv&) {
    relabel(form, false);
}

void Option2_Click(Form& form, CalcEnv&) {
    relabel(form, true);
}

void CmdCalc_Click(Form& form, CalcEnv& env) {
    const int mode = form.option(kModeGroup);
    if (mode == 0) {
        env.dialogs.say(kNoMode);
        return;
    }
    const double f = form.number(data(2));
    const double omega = 2 * Pi * f;
    const double zo = form.number(data(3));
    double r = form.number(data(0));
    double x = form.number(data(1));
    if (mode == kMeterMode) {
        // The bridge reads the load as Rp in parallel with Cp; a negative Cp
        // is the inductance that would resonate with it at F.
        const double c = x * 1e-12;
        if (f == 0 || c == 0) {
            env.dialogs.say(kMeterZero);
            return;
        }
        const double rp = r;
        const double xp = -1 / (c * omega);
        r = rp * xp * xp / (rp * rp + xp * xp);
        x = rp * rp * xp / (rp * rp + xp * xp);
    }
    if (zo == 0) {
        env.dialogs.say(kLineZero);
        return;
    }
    if (r == 0) {
        env.dialogs.say(kResistanceZero);
        return;
    }
    // The plain arctangent of X / R, in degrees rounded to a tenth.
    const double angle = std::floor(std::atan(x / r) * 1800 / Pi + 0.5) / 10;
    const double magnitude = std::sqrt(r * r + x * x);

    // The reflection coefficient (zn - 1) / (zn + 1) of the load normalised
    // to the line.
    const std::string line = PlainNumber(zo) + " + j 0";
    const std::string load = PlainNumber(r) + " + j " + PlainNumber(x);
    const std::string zn = CplxDiv(load, line);
    const std::string gamma = CplxDiv(CplxSub(zn, "1 + j 0"), CplxAdd(zn, " 1 + j 0"));
    const double g = CplxToPolar(gamma).value().magnitude;
    if (!(g < 1)) {
        env.dialogs.say(kTotalReflection);
        return;
    }
    const double vswr = (1 + g) / (1 - g);

    const std::string sR = TrimBlanks(engText(r)), sX = TrimBlanks(engText(x));
    const std::string sM = TrimBlanks(engText(magnitude)), sV = TrimBlanks(engText(vswr));
    form.list(kList) = {
        x >= 0 ? "Z = " + sR + " + j " + sX + " ohms"
               : "Z = " + sR + " - j " + sX.substr(1) + " ohms",
        "    or",
        "Z = " + sM + " ohms /_" + PlainNumber(angle, LeadingBlank::Yes) + " degrees",
        "VSWR = " + sV + " to 1",
    };
}

void CmdClr_Click(Form& form, CalcEnv&) {
    for (int i = 0; i < 3; ++i)
        form.setText(data(i), "");
    form.list(kList).clear();
}

// Each box is saved as the engineering text of its number, without the
// blanks around it.
void beforeSave(Form& form, CalcEnv&) {
    for (int i = 0; i < 4; ++i)
        form.setText(data(i), TrimBlanks(FormatEng(form.number(data(i)))));
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form19";
    f.caption = "VSWR and RX Meter";
    f.widthTwips = 8475;
    f.heightTwips = 5175;
    const char* captions[] = {"Resistance Reading, Rp", "Capacitance Reading, Cp", "Frequency, F",
                              "Line Impedance, Zo"};
    const char* units[] = {"Ohms", "Picofarads", "Hertz", "Ohms"};
    for (int i = 0; i < 4; ++i)
        f.left.push_back(
            box(data(i), captions[i], units[i], "", indexed(kCaption, i), indexed(kUnit, i)));
    f.right = {GroupSpec{kModeGroup,
                         "Form of Load Impedance",
                         {{kOpSeries, "R + jX"}, {kOpMeter, "RX Meter Readings"}}}};
    f.bottom = {ListSpec{kList, "", "", 5}};
    return f;
}

Calculator makeVswrMeter() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "RXData.dat";
    for (int i = 0; i < 4; ++i)
        calc.fields.push_back({FieldKind::Typed, data(i)});
    calc.fields.push_back({FieldKind::Option, kModeGroup});
    calc.calculate = CmdCalc_Click;
    calc.clear = CmdClr_Click;
    calc.options = {{kOpSeries, Option1_Click}, {kOpMeter, Option2_Click}};
    calc.beforeSave = beforeSave;
    return calc;
}

} // namespace

const Calculator& vswrMeter() {
    static const Calculator calc = makeVswrMeter();
    return calc;
}

} // namespace ferrovane
