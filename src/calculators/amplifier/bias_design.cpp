#include "calculators/amplifier/bias_design.h"

#include <cmath>
#include <map>
#include <string>

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

void CmdCalc_Click(Form& form, CalcEnv& env) {
    const double vcc = form.number(kVcc);
    const double icTyped = form.number(kIc);
    double ic = icTyped / 1000;
    const double beta = form.number(kBeta);
    const double veTyped = form.number(kVe);
    double ve = veTyped;
    const double s = form.number(kS);
    if (vcc == 0 || ic == 0 || beta == 0 || ve == 0 || s == 0) {
        env.dialogs.say(kMissing);
        return;
    }
    if (ic < kMilliampQuery) {
        const bool meant = env.dialogs.ask("Ic is in milliamps.\r\nDid you intend to enter " +
                                               PlainNumber(ic * 1000) + " mA?",
                                           "Are you sure?", MessageIcon::Question);
        if (!meant) {
            // The user typed amperes: show them as milliamperes and let him look.
            form.setText(kIc, PlainNumber(icTyped * 1000));
            form.setFocus(kIc);
            return;
        }
    }

    // Emitter resistor for the wanted emitter voltage, then the voltage it
    // really gives.
    if (beta + 1 == 0)
        throw NumericFault("a current gain of -1 leaves the emitter without current");
    const StandardValue re = NearestStandardValue(ve / ((beta + 1) * ic / beta));
    if (re.value == 0)
        throw NumericFault("the emitter resistor rounds to 0 ohms");
    ve = cvb::emitterVoltage(ic, re.value, beta);

    const double ib = ic / beta;
    double rb = s * re.value;
    if (rb > kRbLimit) {
        env.dialogs.say(kUnrealizable);
        return;
    }
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
    const StandardValue r1s = NearestStandardValue(r1);
    const StandardValue r2s = NearestStandardValue(r2);
    if (r1s.value + r2s.value == 0)
        throw NumericFault("the base divider rounds to 0 ohms");
    vbb = cvb::theveninVoltage(vcc, r1s.value, r2s.value);
    rb = cvb::theveninResistance(r1s.value, r2s.value);

    // The operating point of the standard values, Ic rounded as it is shown.
    ic = ReadNumber(engText(cvb::collectorCurrent(vbb, rb, re.value, beta)));
    ve = cvb::emitterVoltage(ic, re.value, beta);
    // A base at or below the base-emitter drop leaves the transistor cut off,
    // and a collector resistor below zero would put the collector under the
    // emitter: neither can be built.
    if (!(ic > 0) || vcc - ve < 0) {
        env.dialogs.say(kUnrealizable);
        return;
    }
    const double sReal = std::floor(rb * 100 / re.value + 0.5) / 100;

    // The collector sits half-way between the supply and the emitter.
    const StandardValue rc = NearestStandardValue((vcc - ve) / (2 * ic));

    const std::string pR1 = engText(std::pow((vcc - ve) - cvb::kVbe, 2) / r1s.value);
    const std::string pR2 = engText(std::pow(ve + cvb::kVbe, 2) / r2s.value);
    const std::string pRc = engText(ic * ic * rc.value);
    const std::string pRe = engText(ve * ve / re.value);
    const std::string pQ = engText(((vcc - ic * rc.value) - ve) * ic);
    const std::string pFollower = engText((vcc - ve) * ic);
    const double icMilliamps = ic * 1000;

    auto& list = form.list(kList);
    list = {"R1 = " + r1s.text + "   R2 = " + r2s.text + "   Re = " + re.text +
                "   Rc = " + rc.text + " Ohms",
            "Ic = " + PlainNumber(icMilliamps) + " mA   Ve = " + PlainNumber(twoDecimals(ve)) +
                " Volts   Vc = " + PlainNumber(twoDecimals(vcc - icMilliamps * 0.001 * rc.value)) +
                " Volts",
            "R1 Power =" + pR1 + "Watts   R2 Power =" + pR2 + "Watts",
            "Re Power =" + pRe + "Watts   Rc Power =" + pRc + "Watts",
            "            Collector Dissipation =" + pQ + "Watts",
            "For Rc = 0, Collector Dissipation =" + pFollower + "Watts",
            "                 Stability Factor = " + PlainNumber(sReal)};

    auto number = [](double x) { return PlainNumber(x, LeadingBlank::Yes); };
    const WriteResult written = cvb::designFile().write(env.files, {{cvb::kVcc, FormatEng(vcc)},
                                                                    {cvb::kIc, FormatEng(icTyped)},
                                                                    {cvb::kBeta, FormatEng(beta)},
                                                                    {cvb::kVe, FormatEng(veTyped)},
                                                                    {cvb::kS, FormatEng(s)},
                                                                    {cvb::kRe, number(re.value)},
                                                                    {cvb::kRb, number(rb)},
                                                                    {cvb::kVbb, number(vbb)},
                                                                    {cvb::kR1, number(r1s.value)},
                                                                    {cvb::kR2, number(r2s.value)},
                                                                    {cvb::kRc, number(rc.value)}});
    if (!written)
        env.dialogs.show(Message{"The design could not be saved in \"" +
                                     cvb::designFile().fileName + "\":\r\n" + written.error,
                                 kAppTitle, MessageIcon::Exclamation});
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
    return calc;
}

} // namespace

const Calculator& biasDesign() {
    static const Calculator calc = makeBiasDesign();
    return calc;
}

} // namespace ferrovane
