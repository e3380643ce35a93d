#include "calculators/amplifier/feedback.h"

#include <cmath>
#include <optional>
#include <string>

#include "numeric/eng_text.h"

namespace ferrovane {
namespace feedbackloop {

double fractionOfResistors(double r1, double r2, bool inverting) {
    return inverting ? r1 / r2 : r1 / (r2 + r1);
}

double closedLoopGain(double a, double b, bool slope) {
    return slope ? a / std::sqrt((b * a) * (b * a) + 1) : a / (a * b + 1);
}

double loopOfClosedGain(double ac, double b, bool slope) {
    return slope ? (b * ac) * (b * ac) : b * ac;
}

double openLoopGain(double ac, double b, bool slope) {
    const double loop = loopOfClosedGain(ac, b, slope);
    return slope ? ac / std::sqrt(1 - loop) : ac / (1 - loop);
}

double fractionOfGains(double a, double ac, bool slope) {
    return slope ? std::sqrt(a * a - ac * ac) / (a * ac) : (a - ac) / (a * ac);
}

} // namespace feedbackloop

namespace {

using namespace feedbackloop;

// TxtData(0..9): the gain section, the error section and the dB figure.
constexpr int kA = 0;
constexpr int kAc = 1;
constexpr int kB = 2;
constexpr int kR1 = 3;
constexpr int kR2 = 4;
constexpr int kErrA = 5;
constexpr int kE = 6;
constexpr int kErrAc = 7;
constexpr int kEc = 8;
constexpr int kDb = 9;
std::string data(int i) {
    return indexed("TxtData", i);
}
std::string label(int i) {
    return indexed("TxtLabl", i);
}

constexpr const char* kModeGroup = "Frame2";
constexpr const char* kSlopeGroup = "Frame1";
constexpr const char* kPicture = "Image1";
constexpr const char* kOpFlat = "OpFlat";
constexpr const char* kOpSlope = "OpSlope";
constexpr const char* kOpBeta = "OpBeta";
constexpr const char* kOpNonInv = "OpNonInv";
constexpr const char* kOpInv = "OpInv";
constexpr const char* kCalcGain = "CmdCalcA";
constexpr const char* kCalcError = "CmdCalcE";

constexpr const char* kNegativeA = "Enter Open-Loop Gani as a positive number.";
constexpr const char* kNoSlope = "Select the radio button indicating the point on the frequency\r\n"
                                 "response curve where the calculation is taking place.";
constexpr const char* kNoMode = "Select the radio button indicating how you want to enter the\r\n"
                                "Feedback Fraction.  Just B, R1 and R2 of a Noninverting\r\n"
                                "Amplifier, or R1 and R2 of an Inverting Amplifier";
constexpr const char* kMoreData = "I need more data please.";
constexpr const char* kTooMuch =
    "Too much data.  Enter 0 or blank\r\nfor what you want me to calculate.";
constexpr const char* kGainOrder = "Open-Loop Ganin MUST be greater\r\nthan Closed-Loop Gain.";
constexpr const char* kNegativeOpenLoop =
    "These values yield an infinite or\r\nnegative value for Open-Loop Gain.";
constexpr const char* kImaginaryOpenLoop =
    "These values yield an infinite or\r\nimaginary value for Open-Loop Gain.";

// The number the window keeps: which of A', A and B the last Calculate Gain
// worked out (0 before one completed), so that its circuit can be told from
// the boxes afterwards.
constexpr const char* kSolved = "GainSolved";

void put(Form& form, int box, double x) {
    form.setText(data(box), TrimBlanks(engText(x)));
}

// 20 log10(A / A'), to two decimals.
void putDecibels(Form& form, double a, double ac) {
    const double db = std::floor(2000 * std::log(a / ac) / std::log(10.0) + 0.5) / 100;
    form.setText(data(kDb), PlainNumber(db));
}

// On the flat part of the response the loop gain is in phase:
// A' = A / (1 + AB). On a slope of -1 or +1 the open-loop gain is 90 degrees
// round: A' = A / sqrt(1 + (AB)^2).
void CmdCalcA_Click(Form& form, CalcEnv& env) {
    const double a = form.number(data(kA));
    const double ac = form.number(data(kAc));
    double b = form.number(data(kB));
    const double r1 = form.number(data(kR1));
    const double r2 = form.number(data(kR2));
    form.setText(data(kErrA), form.text(data(kA)));
    form.setText(data(kErrAc), form.text(data(kAc)));
    if (a < 0) {
        env.dialogs.say(kNegativeA);
        return;
    }
    if (form.option(kSlopeGroup) == 0) {
        env.dialogs.say(kNoSlope);
        return;
    }
    if (form.option(kModeGroup) == 0) {
        env.dialogs.say(kNoMode);
        return;
    }
    if (r1 != 0 && r2 != 0 && !form.selected(kOpBeta)) {
        b = fractionOfResistors(r1, r2, form.selected(kOpInv));
        put(form, kB, b);
    }

    const bool slope = form.selected(kOpSlope);
    const int code = (a > 0 ? 1 : 0) + (ac > 0 ? 2 : 0) + (b > 0 ? 4 : 0) + (slope ? 8 : 0);
    switch (code) {
    case 3:
    case 11:
        if (ac >= a) {
            env.dialogs.say(kGainOrder);
            return;
        }
        put(form, kB, fractionOfGains(a, ac, slope));
        putDecibels(form, a, ac);
        form.setValue(kSolved, SolvedB);
        return;
    case 5:
    case 13: {
        const double closed = closedLoopGain(a, b, slope);
        put(form, kAc, closed);
        put(form, kErrAc, closed);
        putDecibels(form, a, closed);
        form.setValue(kSolved, SolvedClosedLoop);
        return;
    }
    case 6:
    case 14: {
        if (loopOfClosedGain(ac, b, slope) >= 1) {
            env.dialogs.say(slope ? kImaginaryOpenLoop : kNegativeOpenLoop);
            return;
        }
        const double open = openLoopGain(ac, b, slope);
        put(form, kA, open);
        put(form, kErrA, open);
        putDecibels(form, open, ac);
        form.setValue(kSolved, SolvedOpenLoop);
        return;
    }
    case 7:
    case 15:
        env.dialogs.say(kTooMuch);
        return;
    default:
        env.dialogs.say(kMoreData);
        return;
    }
}

// The gain error falls as the gain does: E' / A' = E / A.
void CmdCalcE_Click(Form& form, CalcEnv& env) {
    const double a = form.number(data(kErrA));
    const double e = form.number(data(kE));
    const double ac = form.number(data(kErrAc));
    const double ec = form.number(data(kEc));
    if (a < 0) {
        env.dialogs.say(kNegativeA);
        return;
    }
    const int code = (a > 0 ? 1 : 0) + (e > 0 ? 2 : 0) + (ac > 0 ? 4 : 0) + (ec > 0 ? 8 : 0);
    switch (code) {
    case 7:
        put(form, kEc, e * ac / a);
        break;
    case 11:
        put(form, kErrAc, ec * a / e);
        break;
    case 13:
        put(form, kE, ec * a / ac);
        break;
    case 14:
        put(form, kErrA, e * ac / ec);
        break;
    case 15:
        env.dialogs.say(kTooMuch);
        break;
    default:
        env.dialogs.say(kMoreData);
        break;
    }
}

// The resistors and their picture show only when the feedback is given by them.
void showResistors(Form& form, bool on) {
    for (int i : {kR1, kR2}) {
        form.setVisible(data(i), on);
        form.setVisible(label(i), on);
    }
    form.setVisible(kPicture, on);
}

void fractionSelected(Form& form, CalcEnv&) {
    showResistors(form, false);
}

void nonInvertingSelected(Form& form, CalcEnv&) {
    showResistors(form, true);
    form.setText(kPicture, "NonInv.GIF");
}

void invertingSelected(Form& form, CalcEnv&) {
    showResistors(form, true);
    form.setText(kPicture, "Inv.GIF");
}

// Close writes every box as trimmed engineering text, and the dB figure as
// zero: it belongs to the last calculation, not to the data.
void beforeSave(Form& form, CalcEnv&) {
    for (int i = 0; i < kDb; ++i)
        form.setText(data(i), TrimBlanks(FormatEng(form.number(data(i)))));
    form.setText(data(kDb), "0.000");
}

// This window keeps "Load Last Run" even while its file holds the example.
void setUp(Form& form, CalcEnv&, bool) {
    form.setText("CmdLoadData", "Load Last Run");
}

BoxSpec dataBox(int i, const std::string& text, const std::string& section) {
    BoxSpec b = box(data(i), text, "", {}, label(i));
    b.accessibleName = text + ", " + section;
    // The labels are shown in a fixed-pitch font, as users know the window.
    b.fixedPitchLabel = true;
    return b;
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form14";
    f.caption = "Negative Feedback Gain and Gain-Error solution";
    f.widthTwips = 9960;
    f.heightTwips = 6420;
    const std::string gain = "gain";
    const std::string error = "error";
    f.left = {
        frame("Frame3", "", Direction::Vertical,
              {dataBox(kA, "Open-Loop Gain, A", gain), dataBox(kAc, "Closed-Loop Gain, A'", gain),
               dataBox(kB, "Feedback Fraction, B", gain), dataBox(kR1, "R1", gain),
               dataBox(kR2, "R2", gain), dataBox(kDb, "dB of Feedback", gain)}),
        GroupSpec{kSlopeGroup,
                  "Open-Loop Frequency Slope",
                  {{kOpFlat, "Slope = 0, Flat Response"}, {kOpSlope, "Slope = -1 or +1"}}},
        GroupSpec{kModeGroup,
                  "State the amount of feedback by giving",
                  {{kOpBeta, "Feedback Fraction, B"},
                   {kOpNonInv, "R1 and R2 for a Noninverting Amplifier"},
                   {kOpInv, "R1 and R2 for an Inverting Amplifier"}}},
    };
    f.right = {
        frame("Frame4", "", Direction::Vertical,
              {dataBox(kErrA, "Open-Loop Gain, A", error),
               dataBox(kE, "Open-Loop Gain Error, E", error),
               dataBox(kErrAc, "Closed-Loop Gain, A'", error),
               dataBox(kEc, "Closed-Loop Gain Error, E'", error)}),
        PictureSpec{kPicture, "NonInv.GIF", "Amplifier with feedback resistors R1 and R2"},
    };
    f.buttons = {{kCalcGain, "Calculate Gain"},
                 {kCalcError, "Calculate Error"},
                 {"CmdLoadData", "Load Last Run"},
                 {"CmdClose", "Close"}};
    return f;
}

Calculator makeFeedback() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "Feedback.dat";
    for (int i = 0; i <= kDb; ++i)
        calc.fields.push_back({FieldKind::Typed, data(i)});
    calc.fields.push_back({FieldKind::Option, kModeGroup});
    calc.fields.push_back({FieldKind::Option, kSlopeGroup});
    calc.buttons = {{kCalcGain, CmdCalcA_Click}, {kCalcError, CmdCalcE_Click}};
    calc.options = {{kOpBeta, fractionSelected},
                    {kOpNonInv, nonInvertingSelected},
                    {kOpInv, invertingSelected}};
    calc.beforeSave = beforeSave;
    calc.setUp = setUp;
    calc.values = {kSolved};
    calc.netlist = feedbackNetlist;
    return calc;
}

} // namespace

namespace feedbackloop {

// The unknown is the one the last Calculate Gain worked out; before one, the
// one of the three left at zero, as Calculate Gain would take it.
std::optional<Loop> gainLoop(const Form& form) {
    Loop l;
    l.a = form.number(data(kA));
    l.ac = form.number(data(kAc));
    l.b = form.number(data(kB));
    l.r1 = form.number(data(kR1));
    l.r2 = form.number(data(kR2));
    l.slope = form.selected(kOpSlope);
    l.inverting = form.selected(kOpInv);
    l.byResistors =
        l.r1 != 0 && l.r2 != 0 && form.option(kModeGroup) != 0 && !form.selected(kOpBeta);
    if (form.option(kSlopeGroup) == 0 || form.option(kModeGroup) == 0)
        return std::nullopt;
    if (l.byResistors)
        l.b = fractionOfResistors(l.r1, l.r2, l.inverting);
    int unknown = static_cast<int>(form.value(kSolved));
    if (unknown == None) {
        const int given = (l.a > 0 ? 1 : 0) + (l.ac > 0 ? 1 : 0) + (l.b > 0 ? 1 : 0);
        if (given != 2)
            return std::nullopt;
        unknown = !(l.ac > 0) ? SolvedClosedLoop : !(l.a > 0) ? SolvedOpenLoop : SolvedB;
    }
    if (unknown == SolvedClosedLoop && l.a > 0 && l.b > 0)
        l.ac = closedLoopGain(l.a, l.b, l.slope);
    else if (unknown == SolvedOpenLoop && l.ac > 0 && l.b > 0 &&
             loopOfClosedGain(l.ac, l.b, l.slope) < 1)
        l.a = openLoopGain(l.ac, l.b, l.slope);
    else if (unknown == SolvedB && l.ac > 0 && l.a > l.ac)
        l.b = fractionOfGains(l.a, l.ac, l.slope);
    else
        return std::nullopt;
    l.solved = static_cast<Solved>(unknown);
    // B worked out from the gains belongs to no resistors.
    if (l.solved == SolvedB)
        l.byResistors = false;
    return l;
}

} // namespace feedbackloop

const Calculator& feedback() {
    static const Calculator calc = makeFeedback();
    return calc;
}

} // namespace ferrovane
