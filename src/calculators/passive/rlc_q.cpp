#include "calculators/passive/rlc_q.h"

#include <cmath>

#include "numeric/constants.h"

namespace ferrovane {
namespace {

constexpr const char* kF = "TxtF";
constexpr const char* kBW = "TxtBW";
constexpr const char* kC = "TxtC";
constexpr const char* kL = "TxtL";
constexpr const char* kR = "TxtR";
constexpr const char* kQ = "TxtQ";

constexpr const char* kInsufficientData = "Insufficient data, please enter more.";

// Each quantity typed greater than zero adds its weight to the selector, so
// the selector names the combination of known quantities.
constexpr int kGivenC = 32;
constexpr int kGivenL = 16;
constexpr int kGivenF = 8;
constexpr int kGivenR = 4;
constexpr int kGivenQ = 2;
constexpr int kGivenBW = 1;

// The six quantities as the boxes give them.
struct Given {
    double c, l, r, q, f, bw;
};

// Each quantity typed greater than zero adds its weight.
int selectorOf(const Given& g) {
    int selector = 0;
    if (g.c > 0)
        selector += kGivenC;
    if (g.l > 0)
        selector += kGivenL;
    if (g.f > 0)
        selector += kGivenF;
    if (g.r > 0)
        selector += kGivenR;
    if (g.q > 0)
        selector += kGivenQ;
    if (g.bw > 0)
        selector += kGivenBW;
    return selector;
}

// F with L or C given: the other component resonates at F, and Q comes from
// the bandwidth, or Q and R from each other.
void solveAtFrequency(Form& form, const Given& g, int selector) {
    const double w = checkFinite(2 * Pi * g.f, "the angular frequency is out of range");
    switch (selector) {
    case 25: { // L, F, BW
        const double qNew = g.f / g.bw;
        form.setEng(kC, 1 / (w * w * g.l));
        form.setEng(kR, w * g.l / qNew);
        form.setEng(kQ, qNew);
        return;
    }
    case 26: // L, F, Q; a bandwidth typed as well is ignored
    case 27:
        form.setEng(kC, 1 / (w * w * g.l));
        form.setEng(kR, w * g.l / g.q);
        form.setEng(kBW, g.f / g.q);
        return;
    case 28: // L, F, R; R decides Q, a typed Q or bandwidth is ignored
    case 29:
    case 30:
    case 31: {
        const double qNew = w * g.l / g.r;
        form.setEng(kC, 1 / (w * w * g.l));
        form.setEng(kQ, qNew);
        form.setEng(kBW, g.f / qNew);
        return;
    }
    case 41: { // C, F, BW
        const double lNew = 1 / (w * w * g.c);
        const double qNew = g.f / g.bw;
        form.setEng(kL, lNew);
        form.setEng(kR, w * lNew / qNew);
        form.setEng(kQ, qNew);
        return;
    }
    }
}

// L and C given: they fix the resonance, so a typed F is replaced, and Q
// comes from the bandwidth, or Q and R from each other.
void solveAtResonance(Form& form, const Given& g, int selector) {
    const double w =
        checkFinite(1 / std::sqrt(g.l * g.c), "the resonant frequency is out of range");
    const double fNew = w / (2 * Pi);
    switch (selector) {
    case 49: // C, L, BW
    case 57: {
        const double qNew = fNew / g.bw;
        form.setEng(kF, fNew);
        form.setEng(kQ, qNew);
        form.setEng(kR, w * g.l / qNew);
        return;
    }
    case 50: // C, L, Q; a typed bandwidth is ignored
    case 51:
    case 58:
    case 59:
        form.setEng(kF, fNew);
        form.setEng(kBW, fNew / g.q);
        form.setEng(kR, w * g.l / g.q);
        return;
    case 52: // C, L, R; a typed Q or bandwidth is ignored
    case 53:
    case 54:
    case 55:
    case 60:
    case 61:
    case 62:
    case 63: {
        const double qNew = w * g.l / g.r;
        const double bwNew = fNew / qNew;
        form.setEng(kF, fNew);
        if (selector < 60) {
            form.setEng(kQ, qNew);
            form.setEng(kBW, bwNew);
        } else {
            form.setEng(kBW, bwNew);
            form.setEng(kQ, qNew);
        }
        return;
    }
    }
}

// Only the quantities a combination computes are written back, in the order
// given here; every other box keeps what the user typed, used or not.
// For a series circuit: w = 2 pi F, XL = wL = 1/(wC) at resonance,
// Q = XL / R = F / BW.
void CmdCalc_Click(Form& form, CalcEnv& env) {
    const Given g{form.number(kC), form.number(kL), form.number(kR),
                  form.number(kQ), form.number(kF), form.number(kBW)};
    const int selector = selectorOf(g);
    switch (selector) {
    case 25: // L, F with BW, Q or R
    case 26:
    case 27:
    case 28:
    case 29:
    case 30:
    case 31:
    case 41: // C, F, BW
        solveAtFrequency(form, g, selector);
        break;
    case 49: // C, L with BW, Q or R
    case 50:
    case 51:
    case 52:
    case 53:
    case 54:
    case 55:
    case 57:
    case 58:
    case 59:
    case 60:
    case 61:
    case 62:
    case 63:
        solveAtResonance(form, g, selector);
        break;
    default:
        // Too little to go on, e.g. L and F alone, or C and F with Q or R.
        env.dialogs.say(kInsufficientData);
        break;
    }
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form04";
    f.caption = "Series R-L-C Circuit Q Calcullator";
    f.widthTwips = 6000;
    f.heightTwips = 6000;
    f.left = {
        box(kF, "Frequency", "Hertz"),    box(kBW, "Bandwidth", "Hertz"),
        box(kC, "Capacitance", "Farads"), box(kL, "Inductance", "Henrys"),
        box(kR, "Resistance", "Ohms"),    box(kQ, "Q", ""),
    };
    return f;
}

Calculator makeRlcQ() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "RLCQ.dat";
    // Every box is saved and cleared, in the window's order.
    calc.clearBoxes = {kF, kBW, kC, kL, kR, kQ};
    for (const auto& name : calc.clearBoxes)
        calc.fields.push_back({FieldKind::Eng, name});
    calc.calculate = CmdCalc_Click;
    return calc;
}

} // namespace

const Calculator& rlcQ() {
    static const Calculator calc = makeRlcQ();
    return calc;
}

} // namespace ferrovane
