#include "calculators/passive/reactance.h"

#include <cmath>
#include <string>
#include <utility>

#include "numeric/constants.h"

namespace ferrovane {
namespace {

constexpr const char* kFreq = "TxtFreq";
constexpr const char* kAngFreq = "TxtAngFreq";
constexpr const char* kInd = "TxtInd";
constexpr const char* kCap = "TxtCap";
constexpr const char* kIndRct = "TxtIndRct";
constexpr const char* kCapRct = "TxtCapRct";
constexpr const char* kQuickHelp = "Txt2QuickHelp";

constexpr const char* kAllZeros = "Enter some data, it's all zeros.";
constexpr const char* kCannotTell = "I can't make enything out of that.  Enter more data.";
constexpr const char* kAssumeXcIsXl = "I will assume Xc = XL.";
constexpr const char* kInductanceAlone =
    "Inductance alone is not enough data.  Enter an XL or a frequency.";
constexpr const char* kAssumeXlIsXc = "I will assume XL = Xc.";
constexpr const char* kDifferentFrequencies =
    "C with Xc and L with XL are for different frequencies.  Enter consistant data or zeros.";
constexpr const char* kFrequencyAlone = "Frequency alone is not enough.  Enter more data.";
constexpr const char* kTooMuch = "Too much data, enter some zeros.";

// When L, C, XL and XC are all given, the frequency of L with XL and that of
// C with XC may differ by this fraction of their geometric mean and still be
// taken as one frequency.
constexpr double kSameFrequency = 0.002;

// The window's six quantities in SI units.
struct Quantities {
    double f = 0;  // hertz
    double w = 0;  // radians per second
    double l = 0;  // henries
    double c = 0;  // farads
    double xl = 0; // ohms
    double xc = 0; // ohms
};

Quantities readBoxes(const Form& form) {
    return {form.number(kFreq), form.number(kAngFreq), form.number(kInd),
            form.number(kCap),  form.number(kIndRct),  form.number(kCapRct)};
}

// Writes all six quantities in engineering text. setEng refuses inf and nan,
// so a formula that divided by a zero product or overflowed ends the
// calculation here and the window keeps what it showed before.
void show(Form& form, const Quantities& q) {
    form.setEng(kFreq, q.f);
    form.setEng(kAngFreq, q.w);
    form.setEng(kInd, q.l);
    form.setEng(kCap, q.c);
    form.setEng(kIndRct, q.xl);
    form.setEng(kCapRct, q.xc);
}

// Each given quantity (one greater than zero) adds its weight; w counts only
// through F, which is derived from it when F is zero.
int selectorOf(const Quantities& q) {
    return (q.f > 0 ? 16 : 0) + (q.l > 0 ? 8 : 0) + (q.c > 0 ? 4 : 0) + (q.xl > 0 ? 2 : 0) +
           (q.xc > 0 ? 1 : 0);
}

// How a solution ends: quietly, with the six values shown; with a warning
// and the boxes left as they were normalised; or with the values shown and
// then a warning that one reactance was taken equal to the other.
struct Outcome {
    const char* warning = nullptr;
    MessageIcon icon = MessageIcon::Exclamation;
    bool showFirst = false;
};

constexpr Outcome kSolved{};
Outcome refused(const char* warning, MessageIcon icon = MessageIcon::Exclamation) {
    return {warning, icon, false};
}
Outcome assumed(const char* warning) {
    return {warning, MessageIcon::Exclamation, true};
}

// Neither F nor L given: C with a reactance fixes the frequency.
Outcome solveFromCapacitance(Quantities& q, int selector) {
    switch (selector) {
    case 0:
        return refused(kAllZeros);
    case 5: // C, XC
        q.w = 1 / (q.c * q.xc);
        q.f = q.w / (2 * Pi);
        q.xl = q.xc;
        q.l = q.xl / q.w;
        return kSolved;
    case 6: // C, XL
        q.xc = q.xl;
        q.w = 1 / (q.c * q.xc);
        q.f = q.w / (2 * Pi);
        q.l = q.xl / q.w;
        return assumed(kAssumeXcIsXl);
    case 7: // C, XL, XC
        q.w = 1 / (q.c * q.xc);
        q.f = q.w / (2 * Pi);
        q.l = q.xl / q.w;
        return kSolved;
    default: // XC, XL, both, or C alone
        return refused(kCannotTell);
    }
}

// L given without F: L with a reactance or with C fixes the frequency.
Outcome solveFromInductance(Quantities& q, int selector) {
    switch (selector) {
    case 8: // L
        return refused(kInductanceAlone);
    case 9: // L, XC
        q.xl = q.xc;
        q.w = q.xl / q.l;
        q.f = q.w / (2 * Pi);
        q.c = 1 / (q.w * q.xc);
        return assumed(kAssumeXlIsXc);
    case 10: // L, XL
        q.w = q.xl / q.l;
        q.f = q.w / (2 * Pi);
        q.xc = q.xl;
        q.c = 1 / (q.w * q.xc);
        return kSolved;
    case 11: // L, XL, XC
        q.w = q.xl / q.l;
        q.f = q.w / (2 * Pi);
        q.c = 1 / (q.w * q.xc);
        return kSolved;
    case 12: // L, C
        q.w = 1 / std::sqrt(q.l * q.c);
        q.f = q.w / (2 * Pi);
        q.xl = q.w * q.l;
        q.xc = 1 / (q.w * q.c);
        return kSolved;
    case 13: // L, C, XC
        q.w = 1 / (q.c * q.xc);
        q.f = q.w / (2 * Pi);
        q.xl = q.w * q.l;
        return kSolved;
    case 14: // L, C, XL
        q.w = q.xl / q.l;
        q.f = q.w / (2 * Pi);
        q.xc = 1 / (q.w * q.c);
        return kSolved;
    default: { // L, C, XL, XC: accepted when both pairs name nearly one frequency
        const double w1 = q.xl / q.l;
        const double w2 = 1 / (q.c * q.xc);
        const double w = std::sqrt(w1 * w2);
        // A frequency that overflowed or underflowed makes the spread inf or
        // nan; that is a numeric fault, not data for different frequencies.
        const double spread =
            checkFinite(std::abs(w1 - w2) / w, "the two frequencies are out of range");
        if (spread >= kSameFrequency)
            return refused(kDifferentFrequencies, MessageIcon::None);
        q.w = w;
        q.f = q.w / (2 * Pi);
        q.xc = 1 / (q.w * q.c);
        q.xl = q.w * q.l;
        return kSolved;
    }
    }
}

// F given: with L or C the rest follows at that frequency; a reactance
// given as well stays only where the component it belongs to is not given.
Outcome solveAtFrequency(Quantities& q, int selector) {
    switch (selector) {
    case 16: // F
        return refused(kFrequencyAlone);
    case 17: // F, XC
        q.c = 1 / (q.w * q.xc);
        q.xl = q.xc;
        q.l = q.xl / q.w;
        return kSolved;
    case 18: // F, XL
        q.l = q.xl / q.w;
        q.xc = q.xl;
        q.c = 1 / (q.w * q.xc);
        return kSolved;
    case 19: // F, XL, XC
        q.l = q.xl / q.w;
        q.c = 1 / (q.w * q.xc);
        return kSolved;
    case 20: // F, C; given reactances are replaced
    case 21:
    case 22:
    case 23:
        q.xc = 1 / (q.w * q.c);
        q.xl = q.xc;
        q.l = q.xl / q.w;
        return kSolved;
    case 24: // F, L; given reactances are replaced
    case 25:
    case 26:
    case 27:
        q.xl = q.w * q.l;
        q.xc = q.xl;
        q.c = 1 / (q.w * q.xc);
        return kSolved;
    case 28: // F, L, C
        q.xl = q.w * q.l;
        q.xc = 1 / (q.w * q.c);
        return kSolved;
    case 29: // F, L, C, XC: the given XC stays
        q.xl = q.w * q.l;
        return kSolved;
    case 30: // F, L, C, XL: the given XL stays
        q.xc = 1 / (q.w * q.c);
        return kSolved;
    default: // 31, everything given
        return refused(kTooMuch);
    }
}

// Where one reactance is taken equal to the other, the circuit is assumed to
// be at resonance. In the two cases that announce it, the values are shown
// before the warning, so that a formula that fails ends with the fault
// message alone; the window takes the new values only when the calculation
// has ended anyway.
void CmdCalc_Click(Form& form, CalcEnv& env) {
    Quantities q = readBoxes(form);
    // A given F wins over a given w; w is used only when F is zero.
    if (q.f == 0 && q.w > 0)
        q.f = q.w / (2 * Pi);
    if (q.f > 0)
        q.w = 2 * Pi * q.f;
    // The boxes are normalised even when a message follows.
    show(form, q);

    const int selector = selectorOf(q);
    const Outcome outcome = selector >= 16  ? solveAtFrequency(q, selector)
                            : selector >= 8 ? solveFromInductance(q, selector)
                                            : solveFromCapacitance(q, selector);
    if (!outcome.warning || outcome.showFirst)
        show(form, q);
    if (outcome.warning)
        env.dialogs.say(outcome.warning, outcome.icon);
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form03";
    f.caption = "Inductance - Capacitance - Reactance Calculator";
    f.widthTwips = 5955;
    f.heightTwips = 5985;
    f.left = {
        box(kFreq, "Frequency, (0 to enter Omega), F", "Hz"),
        box(kAngFreq, "Angular Frequency, Omega", "Radians/second"),
        box(kInd, "Inductance", "Henrys"),
        box(kCap, "Capacitance", "Farads"),
        box(kIndRct, "Inductive Reactance", "Ohms"),
        box(kCapRct, "Capacitive Reactance", "Ohms"),
    };
    f.bottom = {HelpBoxSpec{kQuickHelp}};
    f.closeName = "CmdClose2";
    f.hoverHelp = HoverHelp{kQuickHelp, "Frame2", true, {}};
    return f;
}

Calculator makeReactance() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "XlXcFLC.dat";
    // Every box is saved and cleared, in the window's order.
    calc.clearBoxes = {kFreq, kAngFreq, kInd, kCap, kIndRct, kCapRct};
    for (const auto& name : calc.clearBoxes)
        calc.fields.push_back({FieldKind::Eng, name});
    calc.calculate = CmdCalc_Click;
    return calc;
}

} // namespace

const Calculator& reactance() {
    static const Calculator calc = makeReactance();
    return calc;
}

} // namespace ferrovane
