#include "calculators/amplifier/bias_design.h"

#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "calculators/amplifier/cvb_model.h"
#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

namespace ferrovane {
namespace {

constexpr const char* kVcc = "TxtVcc";
constexpr const char* kIc = "TxtIc";
constexpr const char* kBeta = "TxtB";
constexpr const char* kVe = "TxtVe";
constexpr const char* kS = "TxtS";
constexpr const char* kList = "List1";

// A larger Thevenin resistance than this cannot be built from the table.
constexpr double kRbLimit = 5'000'000;
// A wanted R1 at or above this is taken as the table's 10 M instead.
constexpr double kR1Limit = 10'490'000;
constexpr double kR1Replacement = 10'000'000;
// A base voltage above the supply is pulled just below it.
constexpr double kClampMargin = 0.01;
// Below 0.1 mA the user has most likely typed amperes.
constexpr double kMilliampQuery = 0.0001;

constexpr const char* kMissing = "Please fill in missing values.";
constexpr const char* kUnrealizable =
    "These condidions can't be realized\r\nwith standard value resistors.";

double twoDecimals(double x) {
    return std::floor(x * 100 + 0.5) / 100;
}

// Every box filled, and Ic in milliamperes (a small Ic is asked about).
// False after a message; when the user meant amperes, the box shows them as
// milliamperes and takes the focus.
bool wantedAccepted(Form& form, CalcEnv& env, const BiasWanted& w) {
    const double ic = w.icTyped / 1000;
    if (w.vcc == 0 || ic == 0 || w.beta == 0 || w.veTyped == 0 || w.s == 0) {
        env.dialogs.say(kMissing);
        return false;
    }
    if (ic < kMilliampQuery) {
        const bool meant = env.dialogs.ask("Ic is in milliamps.\r\nDid you intend to enter " +
                                               PlainNumber(ic * 1000) + " mA?",
                                           "Are you sure?", MessageIcon::Question);
        if (!meant) {
            // The user typed amperes: show them as milliamperes and let him look.
            form.setText(kIc, PlainNumber(w.icTyped * 1000));
            form.setFocus(kIc);
            return false;
        }
    }
    return true;
}

// The resistors, the operating point, the power in each part and the
// stability factor.
std::vector<std::string> designLines(double vcc, const BiasDesign& d) {
    const BiasPowers p = biasPowers(vcc, d);
    const std::string pR1 = engText(p.r1), pR2 = engText(p.r2), pRc = engText(p.rc),
                      pRe = engText(p.re), pQ = engText(p.transistor),
                      pFollower = engText(p.follower);
    const double icMilliamps = d.ic * 1000;
    return {"R1 = " + d.r1.text + "   R2 = " + d.r2.text + "   Re = " + d.re.text +
                "   Rc = " + d.rc.text + " Ohms",
            "Ic = " + PlainNumber(icMilliamps) + " mA   Ve = " + PlainNumber(twoDecimals(d.ve)) +
                " Volts   Vc = " +
                PlainNumber(twoDecimals(vcc - icMilliamps * 0.001 * d.rc.value)) + " Volts",
            "R1 Power =" + pR1 + "Watts   R2 Power =" + pR2 + "Watts",
            "Re Power =" + pRe + "Watts   Rc Power =" + pRc + "Watts",
            "            Collector Dissipation =" + pQ + "Watts",
            "For Rc = 0, Collector Dissipation =" + pFollower + "Watts",
            "                 Stability Factor = " + PlainNumber(d.stability)};
}

// "CVBOutPut.dat" for the change-values window and the beta plot: the boxes
// as typed, then the standard values and their divider.
void saveDesign(const BiasWanted& w, const BiasDesign& d, CalcEnv& env) {
    auto number = [](double x) { return PlainNumber(x, LeadingBlank::Yes); };
    const WriteResult written =
        cvb::designFile().write(env.files, {{cvb::kVcc, FormatEng(w.vcc)},
                                            {cvb::kIc, FormatEng(w.icTyped)},
                                            {cvb::kBeta, FormatEng(w.beta)},
                                            {cvb::kVe, FormatEng(w.veTyped)},
                                            {cvb::kS, FormatEng(w.s)},
                                            {cvb::kRe, number(d.re.value)},
                                            {cvb::kRb, number(d.rb)},
                                            {cvb::kVbb, number(d.vbb)},
                                            {cvb::kR1, number(d.r1.value)},
                                            {cvb::kR2, number(d.r2.value)},
                                            {cvb::kRc, number(d.rc.value)}});
    if (!written)
        env.dialogs.show(Message{"The design could not be saved in \"" +
                                     cvb::designFile().fileName + "\":\r\n" + written.error,
                                 kAppTitle, MessageIcon::Exclamation});
}

void CmdCalc_Click(Form& form, CalcEnv& env) {
    const BiasWanted w = biasWanted(form);
    if (!wantedAccepted(form, env, w))
        return;
    const std::optional<BiasDesign> d = designBias(w);
    if (!d) {
        env.dialogs.say(kUnrealizable);
        return;
    }
    form.list(kList) = designLines(w.vcc, *d);
    saveDesign(w, *d, env);
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form11";
    f.caption = "Constent Voltage Transistor Biasing Design Calculator";
    f.widthTwips = 8130;
    f.heightTwips = 6840;
    f.left = {box(kVcc, "Collector voltage, Volts", ""), box(kIc, "Collector Current, mA", ""),
              box(kBeta, "Transistor Current Gain, Beta", ""),
              box(kVe, "Voltage Across Re, Volts", ""), box(kS, "Stability Factor, Rb/Re", "")};
    f.right = {PictureSpec{"Image1", "cvb_bias.svg",
                           "Transistor stage: R1 from the supply to the base, R2 from the base "
                           "to ground, Rc in the collector, Re in the emitter"},
               LabelSpec{"Label6", "When Rc = 0 the circuit is an Emitter Follower"}};
    f.bottom = {ListSpec{kList, "", "", 7}};
    f.clearCaption = "Clear";
    return f;
}

Calculator makeBiasDesign() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "CVBData.dat";
    calc.fields = {{FieldKind::Eng, kVcc},
                   {FieldKind::Eng, kIc},
                   {FieldKind::Eng, kBeta},
                   {FieldKind::Eng, kVe},
                   {FieldKind::Eng, kS}};
    calc.clearBoxes = {kVcc, kIc, kBeta, kVe, kS};
    calc.calculate = CmdCalc_Click;
    calc.netlist = biasDesignNetlist;
    return calc;
}

} // namespace

BiasWanted biasWanted(const Form& form) {
    return {form.number(kVcc), form.number(kIc), form.number(kBeta), form.number(kVe),
            form.number(kS)};
}

std::optional<BiasDesign> designBias(const BiasWanted& w) {
    const double vcc = w.vcc, beta = w.beta;
    double ic = w.icTyped / 1000;
    BiasDesign d;
    // Emitter resistor for the wanted emitter voltage, then the voltage it
    // really gives.
    if (beta + 1 == 0)
        throw NumericFault("a current gain of -1 leaves the emitter without current");
    d.re = NearestStandardValue(w.veTyped / ((beta + 1) * ic / beta));
    if (d.re.value == 0)
        throw NumericFault("the emitter resistor rounds to 0 ohms");
    double ve = cvb::emitterVoltage(ic, d.re.value, beta);

    const double ib = ic / beta;
    double rb = w.s * d.re.value;
    if (rb > kRbLimit)
        return std::nullopt;
    double vbb = ib * rb + (ve + cvb::kVbe);
    if (vbb > vcc)
        vbb = vcc - kClampMargin;

    if (vbb == 0)
        throw NumericFault("the base voltage is 0");
    if (vbb == vcc)
        throw NumericFault("the base voltage equals the supply voltage");
    double r1 = vcc * rb / vbb;
    double r2 = vbb * r1 / (vcc - vbb);
    if (r1 >= kR1Limit) {
        r1 = kR1Replacement;
        r2 = vbb * kR1Replacement / (vcc - vbb);
    }
    d.r1 = NearestStandardValue(r1);
    d.r2 = NearestStandardValue(r2);
    if (d.r1.value + d.r2.value == 0)
        throw NumericFault("the base divider rounds to 0 ohms");
    d.vbb = cvb::theveninVoltage(vcc, d.r1.value, d.r2.value);
    d.rb = cvb::theveninResistance(d.r1.value, d.r2.value);

    // The operating point of the standard values, Ic rounded as it is shown.
    d.ic = ReadNumber(engText(cvb::collectorCurrent(d.vbb, d.rb, d.re.value, beta)));
    d.ve = cvb::emitterVoltage(d.ic, d.re.value, beta);
    // A base at or below the base-emitter drop leaves the transistor cut off,
    // and a collector resistor below zero would put the collector under the
    // emitter: neither can be built.
    if (!(d.ic > 0) || vcc - d.ve < 0)
        return std::nullopt;
    d.stability = std::floor(d.rb * 100 / d.re.value + 0.5) / 100;
    // The collector sits half-way between the supply and the emitter.
    d.rc = NearestStandardValue((vcc - d.ve) / (2 * d.ic));
    return d;
}

BiasPowers biasPowers(double vcc, const BiasDesign& d) {
    const double ic = d.ic, ve = d.ve;
    return {std::pow((vcc - ve) - cvb::kVbe, 2) / d.r1.value,
            std::pow(ve + cvb::kVbe, 2) / d.r2.value,
            ic * ic * d.rc.value,
            ve * ve / d.re.value,
            ((vcc - ic * d.rc.value) - ve) * ic,
            (vcc - ve) * ic};
}

const Calculator& biasDesign() {
    static const Calculator calc = makeBiasDesign();
    return calc;
}

} // namespace ferrovane
