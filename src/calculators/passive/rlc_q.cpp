#include "calculators/passive/rlc_q.h"

#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

using rlcq::Circuit;

// The number the window keeps: the selector of the last Calculate that
// completed, so that its circuit can be told from the boxes afterwards.
constexpr const char* kGiven = "Given";

// Each quantity typed greater than zero adds its weight.
int selectorOf(const Circuit& g) {
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

// The completed circuit and the boxes a combination writes back, in order.
struct Solution {
    Circuit circuit;
    std::vector<const char*> shown;
};

// F with L or C given: the other component resonates at F, and Q comes from
// the bandwidth, or Q and R from each other.
std::optional<Solution> solveAtFrequency(const Circuit& g, int selector) {
    const double w = checkFinite(2 * Pi * g.f, "the angular frequency is out of range");
    Circuit s = g;
    switch (selector) {
    case 25: // L, F, BW
        s.c = 1 / (w * w * g.l);
        s.q = g.f / g.bw;
        s.r = w * g.l / s.q;
        return Solution{s, {kC, kR, kQ}};
    case 26: // L, F, Q; a bandwidth typed as well is ignored
    case 27:
        s.c = 1 / (w * w * g.l);
        s.r = w * g.l / g.q;
        s.bw = g.f / g.q;
        return Solution{s, {kC, kR, kBW}};
    case 28: // L, F, R; R decides Q, a typed Q or bandwidth is ignored
    case 29:
    case 30:
    case 31:
        s.c = 1 / (w * w * g.l);
        s.q = w * g.l / g.r;
        s.bw = g.f / s.q;
        return Solution{s, {kC, kQ, kBW}};
    case 41: // C, F, BW
        s.l = 1 / (w * w * g.c);
        s.q = g.f / g.bw;
        s.r = w * s.l / s.q;
        return Solution{s, {kL, kR, kQ}};
    }
    return std::nullopt;
}

// L and C given: they fix the resonance, so a typed F is replaced, and Q
// comes from the bandwidth, or Q and R from each other.
std::optional<Solution> solveAtResonance(const Circuit& g, int selector) {
    const double w =
        checkFinite(1 / std::sqrt(g.l * g.c), "the resonant frequency is out of range");
    Circuit s = g;
    s.f = w / (2 * Pi);
    switch (selector) {
    case 49: // C, L, BW
    case 57:
        s.q = s.f / g.bw;
        s.r = w * g.l / s.q;
        return Solution{s, {kF, kQ, kR}};
    case 50: // C, L, Q; a typed bandwidth is ignored
    case 51:
    case 58:
    case 59:
        s.bw = s.f / g.q;
        s.r = w * g.l / g.q;
        return Solution{s, {kF, kBW, kR}};
    case 52: // C, L, R; a typed Q or bandwidth is ignored
    case 53:
    case 54:
    case 55:
        s.q = w * g.l / g.r;
        s.bw = s.f / s.q;
        return Solution{s, {kF, kQ, kBW}};
    case 60:
    case 61:
    case 62:
    case 63:
        s.q = w * g.l / g.r;
        s.bw = s.f / s.q;
        return Solution{s, {kF, kBW, kQ}};
    }
    return std::nullopt;
}

// For a series circuit: w = 2 pi F, XL = wL = 1/(wC) at resonance,
// Q = XL / R = F / BW. L or C with F, or L and C together, and one of BW, Q
// and R suffice.
std::optional<Solution> solveSelector(const Circuit& g, int selector) {
    if ((selector >= 25 && selector <= 31) || selector == 41)
        return solveAtFrequency(g, selector);
    if (selector >= 49 && selector <= 63 && selector != 56)
        return solveAtResonance(g, selector);
    return std::nullopt;
}

double valueOf(const Circuit& s, const std::string& box) {
    const std::pair<const char*, double> values[] = {{kF, s.f}, {kBW, s.bw}, {kC, s.c},
                                                     {kL, s.l}, {kR, s.r},   {kQ, s.q}};
    for (const auto& [name, value] : values)
        if (box == name)
            return value;
    return 0;
}

Circuit boxesOf(const Form& form) {
    return {form.number(kF), form.number(kBW), form.number(kC),
            form.number(kL), form.number(kR),  form.number(kQ)};
}

// Only the quantities a combination computes are written back, in the order
// given here; every other box keeps what the user typed, used or not.
void CmdCalc_Click(Form& form, CalcEnv& env) {
    const Circuit g = boxesOf(form);
    const int selector = selectorOf(g);
    const std::optional<Solution> solved = solveSelector(g, selector);
    if (!solved) {
        // Too little to go on, e.g. L and F alone, or C and F with Q or R.
        env.dialogs.say(kInsufficientData);
        return;
    }
    for (const char* box : solved->shown)
        form.setEng(box, valueOf(solved->circuit, box));
    form.setValue(kGiven, selector);
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
    calc.values = {kGiven};
    calc.netlist = rlcQNetlist;
    return calc;
}

} // namespace

namespace rlcq {

std::optional<Circuit> lastCircuit(const Form& form) {
    const int selector = static_cast<int>(form.value(kGiven));
    // The quantities that press was given; the boxes it wrote are left out.
    Circuit g = boxesOf(form);
    const std::pair<int, double*> given[] = {{kGivenC, &g.c}, {kGivenL, &g.l}, {kGivenF, &g.f},
                                             {kGivenR, &g.r}, {kGivenQ, &g.q}, {kGivenBW, &g.bw}};
    for (const auto& [weight, value] : given)
        if ((selector & weight) == 0)
            *value = 0;
    if (selectorOf(g) != selector)
        return std::nullopt;
    const std::optional<Solution> solved = solveSelector(g, selector);
    if (!solved)
        return std::nullopt;
    return solved->circuit;
}

} // namespace rlcq

const Calculator& rlcQ() {
    static const Calculator calc = makeRlcQ();
    return calc;
}

} // namespace ferrovane
