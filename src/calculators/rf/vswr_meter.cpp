#include "calculators/rf/vswr_meter.h"

#include <cmath>
#include <optional>
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

// The load read from the boxes and the mode, or the message that stops the
// calculation.
struct Outcome {
    std::optional<vswr::Reading> reading;
    const char* message = nullptr;
};

Outcome measure(const Form& form) {
    vswr::Reading m;
    const int mode = form.option(kModeGroup);
    if (mode == 0)
        return {std::nullopt, kNoMode};
    m.meter = mode == kMeterMode;
    m.f = form.number(data(2));
    const double omega = 2 * Pi * m.f;
    m.zo = form.number(data(3));
    m.first = form.number(data(0));
    m.second = form.number(data(1));
    m.r = m.first;
    m.x = m.second;
    if (m.meter) {
        // The bridge reads the load as Rp in parallel with Cp; a negative Cp
        // is the inductance that would resonate with it at F.
        const double c = m.second * 1e-12;
        if (m.f == 0 || c == 0)
            return {std::nullopt, kMeterZero};
        const double rp = m.first;
        const double xp = -1 / (c * omega);
        m.r = rp * xp * xp / (rp * rp + xp * xp);
        m.x = rp * rp * xp / (rp * rp + xp * xp);
    }
    if (m.zo == 0)
        return {std::nullopt, kLineZero};
    if (m.r == 0)
        return {std::nullopt, kResistanceZero};
    // The reflection coefficient (zn - 1) / (zn + 1) of the load normalised
    // to the line.
    const std::string line = PlainNumber(m.zo) + " + j 0";
    const std::string load = PlainNumber(m.r) + " + j " + PlainNumber(m.x);
    const std::string zn = CplxDiv(load, line);
    const std::string gamma = CplxDiv(CplxSub(zn, "1 + j 0"), CplxAdd(zn, " 1 + j 0"));
    m.g = CplxToPolar(gamma).value().magnitude;
    if (!(m.g < 1))
        return {std::nullopt, kTotalReflection};
    m.vswr = (1 + m.g) / (1 - m.g);
    return {m, nullptr};
}

void CmdCalc_Click(Form& form, CalcEnv& env) {
    const Outcome outcome = measure(form);
    if (!outcome.reading) {
        env.dialogs.say(outcome.message);
        return;
    }
    const vswr::Reading& m = *outcome.reading;
    const double r = m.r, x = m.x;
    // The plain arctangent of X / R, in degrees rounded to a tenth.
    const double angle = std::floor(std::atan(x / r) * 1800 / Pi + 0.5) / 10;
    const double magnitude = std::sqrt(r * r + x * x);

    const std::string sR = TrimBlanks(engText(r)), sX = TrimBlanks(engText(x));
    const std::string sM = TrimBlanks(engText(magnitude)), sV = TrimBlanks(engText(m.vswr));
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
    calc.netlist = vswrNetlist;
    return calc;
}

} // namespace

namespace vswr {

std::optional<Reading> readingOf(const Form& form) {
    return measure(form).reading;
}

} // namespace vswr

const Calculator& vswrMeter() {
    static const Calculator calc = makeVswrMeter();
    return calc;
}

} // namespace ferrovane
