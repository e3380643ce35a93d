#include "calculators/amplifier/change_values.h"

#include <string>

#include "calculators/amplifier/cvb_model.h"
#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

namespace ferrovane {
namespace {

constexpr const char* kVcc = "TxtVcc";
constexpr const char* kBeta = "TxtBeta";
constexpr const char* kR1 = "TxtR1";
constexpr const char* kR2 = "TxtR2";
constexpr const char* kRc = "TxtRc";
constexpr const char* kRe = "TxtRe";
constexpr const char* kList = "List1";

constexpr const char* kCutOff =
    "The transistor is cut off with these values: the base is not above the 0.6 volt\r\n"
    "base-emitter drop, so no collector current flows.  Nothing has been listed.";
constexpr const char* kSaturated =
    "The transistor is saturated with these values: the collector would be below the\r\n"
    "emitter.  Use a smaller Rc or less collector current.  Nothing has been listed.";

// A number of the list: its engineering text without blanks.
std::string shown(double x) {
    return TrimBlanks(engText(x));
}

double nonZero(double x, const char* what) {
    if (x == 0)
        throw NumericFault(what);
    return x;
}

void CmdCalc_Click(Form& form, CalcEnv& env) {
    const CvbPoint p = cvbPoint(cvbInputs(form));
    if (!(p.ic > 0)) {
        env.dialogs.say(kCutOff);
        return;
    }
    if (p.vc < p.ve) {
        env.dialogs.say(kSaturated);
        return;
    }
    const std::vector<std::string> lines{
        "Ic = " + shown(p.ic * 1000) + " mA  Ve = " + shown(p.ve) + " Volts  Vc = " + shown(p.vc) +
            " Volts",
        "R1 Power = " + shown(p.pR1) + " Watts   R2 Power = " + shown(p.pR2) + " Watts",
        "Re Power = " + shown(p.pRe) + " Watts   Rc Power = " + shown(p.pRc) + " Watts",
        "            Collector Dissipation = " + shown(p.pQ) + " Watts",
        "For Rc = 0, Collector Dissipation = " + shown(p.pFollower) + " Watts",
        "                 Stability Factor = " + shown(p.rb / p.re)};
    form.list(kList) = lines;
}

// Load New Design: the supply, gain and resistors of the last bias design.
void CmdClr_Click(Form& form, CalcEnv& env) {
    const auto design = cvb::designFile().read(env.files);
    if (!design)
        return;
    for (const auto& [box, field] : {std::pair{kVcc, cvb::kVcc},
                                     {kBeta, cvb::kBeta},
                                     {kRe, cvb::kRe},
                                     {kR1, cvb::kR1},
                                     {kR2, cvb::kR2},
                                     {kRc, cvb::kRc}})
        if (auto it = design->find(field); it != design->end())
            form.setText(box, it->second);
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form12";
    f.caption = "Calculator Allowing you to Try Different Values in CVB";
    f.widthTwips = 8235;
    f.heightTwips = 6840;
    f.left = {box(kVcc, "Collector voltage, Volts", ""),
              box(kBeta, "Transistor Current Gain, Beta", ""),
              box(kR1, "R1", ""),
              box(kR2, "R2", ""),
              box(kRc, "Rc", ""),
              box(kRe, "Re", "")};
    f.right = {PictureSpec{"Image1", "cvb_bias.svg",
                           "Transistor stage: R1 from the supply to the base, R2 from the base "
                           "to ground, Rc in the collector, Re in the emitter"},
               LabelSpec{"Label6", "When Rc = 0 the circuit is an Emitter Follower"}};
    f.bottom = {ListSpec{kList, "", "", 6}};
    f.clearCaption = "Load New Design";
    return f;
}

Calculator makeChangeValues() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "CVBChngR.dat";
    calc.fields = {{FieldKind::Eng, kVcc}, {FieldKind::Eng, kBeta}, {FieldKind::Eng, kR1},
                   {FieldKind::Eng, kR2},  {FieldKind::Eng, kRc},   {FieldKind::Eng, kRe}};
    calc.calculate = CmdCalc_Click;
    calc.netlist = changeValuesNetlist;
    calc.clear = CmdClr_Click;
    return calc;
}

} // namespace

CvbInputs cvbInputs(const Form& form) {
    return {form.number(kVcc), form.number(kBeta), form.number(kR1),
            form.number(kR2),  form.number(kRc),   form.number(kRe)};
}

CvbPoint cvbPoint(const CvbInputs& in) {
    const double vcc = in.vcc, beta = in.beta, r1 = in.r1, r2 = in.r2, rc = in.rc, re = in.re;
    nonZero(r1 + r2, "R1 + R2 is 0 ohms");
    nonZero(r1, "R1 is 0 ohms");
    nonZero(r2, "R2 is 0 ohms");
    nonZero(re, "Re is 0 ohms");
    nonZero(beta, "the current gain is 0");
    CvbPoint p;
    p.re = re;
    p.vbb = cvb::theveninVoltage(vcc, r1, r2);
    p.rb = cvb::theveninResistance(r1, r2);
    nonZero((beta + 1) * re + p.rb, "(Beta + 1) Re + Rb is 0 ohms");
    p.ic = checkFinite(cvb::collectorCurrent(p.vbb, p.rb, re, beta));
    p.ve = checkFinite(cvb::emitterVoltage(p.ic, re, beta));
    p.vc = checkFinite(vcc - p.ic * rc);
    const double ve = p.ve, vc = p.vc, ic = p.ic;
    p.pR1 = (vcc - ve - cvb::kVbe) * (vcc - ve - cvb::kVbe) / r1;
    p.pR2 = (ve + cvb::kVbe) * (ve + cvb::kVbe) / r2;
    p.pRe = ve * ve / re;
    // An emitter follower has no collector resistor to dissipate anything.
    p.pRc = rc == 0 ? 0 : (vcc - vc) * (vcc - vc) / rc;
    p.pQ = (vc - ve) * ic;
    p.pFollower = (vcc - ve) * ic;
    return p;
}

const Calculator& changeValues() {
    static const Calculator calc = makeChangeValues();
    return calc;
}

} // namespace ferrovane
