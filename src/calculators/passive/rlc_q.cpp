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

// Only the quantities a combination computes are written back, in the order
// given here; every other box keeps what the user typed, used or not.
// For a series circuit: w = 2 pi F, XL = wL = 1/(wC) at resonance,
// Q = XL / R = F / BW.
void CmdCalc_Click(Form& form, CalcEnv& env) {
    const double c = form.number(kC);
    const double l = form.number(kL);
    const double r = form.number(kR);
    const double q = form.number(kQ);
    const double f = form.number(kF);
    const double bw = form.number(kBW);

    int selector = 0;
    if (c > 0)
        selector += kGivenC;
    if (l > 0)
        selector += kGivenL;
    if (f > 0)
        selector += kGivenF;
    if (r > 0)
        selector += kGivenR;
    if (q > 0)
        selector += kGivenQ;
    if (bw > 0)
        selector += kGivenBW;

    switch (selector) {
    case 25: { // L, F, BW
        const double w = checkFinite(2 * Pi * f, "the angular frequency is out of range");
        const double cNew = 1 / (w * w * l);
        const double qNew = f / bw;
        const double rNew = w * l / qNew;
        form.setEng(kC, cNew);
        form.setEng(kR, rNew);
        form.setEng(kQ, qNew);
        break;
    }
    case 26: // L, F, Q; a bandwidth typed as well is ignored
    case 27: {
        const double w = checkFinite(2 * Pi * f, "the angular frequency is out of range");
        const double cNew = 1 / (w * w * l);
        const double rNew = w * l / q;
        const double bwNew = f / q;
        form.setEng(kC, cNew);
        form.setEng(kR, rNew);
        form.setEng(kBW, bwNew);
        break;
    }
    case 28: // L, F, R; R decides Q, a typed Q or bandwidth is ignored
    case 29:
    case 30:
    case 31: {
        const double w = checkFinite(2 * Pi * f, "the angular frequency is out of range");
        const double cNew = 1 / (w * w * l);
        const double qNew = w * l / r;
        const double bwNew = f / qNew;
        form.setEng(kC, cNew);
        form.setEng(kQ, qNew);
        form.setEng(kBW, bwNew);
        break;
    }
    case 41: { // C, F, BW
        const double w = checkFinite(2 * Pi * f, "the angular frequency is out of range");
        const double lNew = 1 / (w * w * c);
        const double qNew = f / bw;
        const double rNew = w * lNew / qNew;
        form.setEng(kL, lNew);
        form.setEng(kR, rNew);
        form.setEng(kQ, qNew);
        break;
    }
    case 49: // C, L, BW; L and C fix the resonance, so a typed F is replaced
    case 57: {
        const double w =
            checkFinite(1 / std::sqrt(l * c), "the resonant frequency is out of range");
        const double fNew = w / (2 * Pi);
        const double qNew = fNew / bw;
        const double rNew = w * l / qNew;
        form.setEng(kF, fNew);
        form.setEng(kQ, qNew);
        form.setEng(kR, rNew);
        break;
    }
    case 50: // C, L, Q; a typed F is replaced, a typed bandwidth ignored
    case 51:
    case 58:
    case 59: {
        const double w =
            checkFinite(1 / std::sqrt(l * c), "the resonant frequency is out of range");
        const double fNew = w / (2 * Pi);
        const double rNew = w * l / q;
        const double bwNew = fNew / q;
        form.setEng(kF, fNew);
        form.setEng(kBW, bwNew);
        form.setEng(kR, rNew);
        break;
    }
    case 52: // C, L, R; a typed F is replaced, a typed Q or bandwidth ignored
    case 53:
    case 54:
    case 55:
    case 60:
    case 61:
    case 62:
    case 63: {
        const double w =
            checkFinite(1 / std::sqrt(l * c), "the resonant frequency is out of range");
        const double fNew = w / (2 * Pi);
        const double qNew = w * l / r;
        const double bwNew = fNew / qNew;
        form.setEng(kF, fNew);
        if (selector < 60) {
            form.setEng(kQ, qNew);
            form.setEng(kBW, bwNew);
        } else {
            form.setEng(kBW, bwNew);
            form.setEng(kQ, qNew);
        }
        break;
    }
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
