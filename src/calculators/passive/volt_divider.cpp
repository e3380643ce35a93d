#include "calculators/passive/volt_divider.h"

#include <cmath>
#include <functional>
#include <optional>
#include <string>

#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"
#include "shell/window_cycle.h"

namespace ferrovane {
namespace {

// The controls the rules refer to.
constexpr const char* kAttenuationGroup = "Attenuation";
constexpr const char* kLoadingGroup = "Loading";
constexpr const char* kAr = "TxtAr";
constexpr const char* kDB = "TxtdB";
constexpr const char* kVo = "TxtVo";
constexpr const char* kVin = "TxtVin";
constexpr const char* kIL = "TxtIL";
constexpr const char* kRtMin = "TxtRtMin";
constexpr const char* kRtMax = "TxtRtMax";
constexpr const char* kLoadLabel = "Text5";
constexpr const char* kLoadUnit = "Text14";
constexpr const char* kHeader = "Text16";
constexpr const char* kList = "LstOutput";
constexpr const char* kStandardValues = "Check1";
constexpr const char* kOpAr = "OpAr";
constexpr const char* kOpDB = "OpdB";
constexpr const char* kOpVinVout = "OpVinVout";
constexpr const char* kOpNoLoad = "OpNoLoad";
constexpr const char* kOpILoad = "OpILoad";
constexpr const char* kOpRLoad = "OpRLoad";

constexpr const char* kHeaderDesigned = " R1    R2    Ar  %Error Current  P in R1   P in R2";
constexpr const char* kHeaderLoaded =
    " R1    R2    Ar  %Error  Rin    Ro    Current  P in R1   P in R2";

constexpr const char* kNeedVin = "Need a value for Vin.";
constexpr const char* kNeedVo = "Need a value for Vo.";
constexpr const char* kArAboveOne = "Ar can't be greater than 1.";
constexpr const char* kArIsOne = "Ar = 1 is a trivial case.";
constexpr const char* kArNotPositive = "Ar must be greater than 0.";
constexpr const char* kRtZero = "Rt min and Rt max MUST NOT be zero.";
constexpr const char* kRtNegative = "Rt min and Rt max MUST be greater than zero.";
constexpr const char* kRtOrder = "Rt min MUST be less than Rt max.";
constexpr const char* kZeroLoadCurrent = "FYI, Load current is zero.";
constexpr const char* kNeedLoadResistance = "Need a value for load resistance.";
constexpr const char* kNegativeLoadResistance = "Load resistance MUST be greater than zero.";
constexpr const char* kR1BelowTable = "R1 would be less than 1 ohm, the smallest standard value.";
constexpr const char* kR2BelowTable = "R2 would be less than 1 ohm, the smallest standard value.";

// R1 grows by 10% a line; with standard values that is the next E24 value.
constexpr double kR1Step = 1.1;
// Without standard values a wide Rt range could list thousands of lines.
constexpr int kMaxLines = 500;
constexpr const char* kTooManyLines = "The list stops at 500 lines; narrow the range of Rt.";

// The load has taken so much that no positive R2 is left for this R1, and a
// larger R1 only makes it worse, so the list ends here.
std::string loadResistanceTooSmall(const std::string& r1) {
    return "The load resistance is too small for R1 of " + r1 + " and above: R2 would be negative.";
}
std::string loadCurrentTooLarge(const std::string& r1) {
    return "The load current is too large for R1 of " + r1 + " and above: R2 would be negative.";
}

using namespace voltdivider;

// Every option is selected through the window cycle, so that selecting one
// from code has the same effect as a click.
void select(Form& form, CalcEnv& env, const std::string& option) {
    selectOption(voltDivider(), form, env, option);
}

// Ar or dB typed: the voltages are not used.
void attenuationTyped(Form& form, CalcEnv& env, bool byRatio) {
    form.setEnabled(kAr, byRatio);
    form.setEnabled(kDB, !byRatio);
    for (const char* box : {kVo, kVin}) {
        form.setText(box, "0.00");
        form.setEnabled(box, false);
    }
    // A load current needs the voltages; a load resistance does not.
    if (!form.selected(kOpRLoad))
        select(form, env, kOpNoLoad);
}

void byRatioSelected(Form& form, CalcEnv& env) {
    attenuationTyped(form, env, true);
}

void byDecibelsSelected(Form& form, CalcEnv& env) {
    attenuationTyped(form, env, false);
}

void byVoltagesSelected(Form& form, CalcEnv&) {
    form.setEnabled(kAr, false);
    form.setEnabled(kDB, false);
    for (const char* box : {kVo, kVin, kIL})
        form.setEnabled(box, true);
}

void noLoadSelected(Form& form, CalcEnv&) {
    form.setText(kLoadLabel, "");
    form.setText(kLoadUnit, "");
    form.setEnabled(kIL, false);
}

void currentLoadSelected(Form& form, CalcEnv& env) {
    form.setText(kLoadLabel, "Load Current");
    form.setText(kLoadUnit, "Amps");
    form.setEnabled(kIL, true);
    select(form, env, kOpVinVout);
}

void resistanceLoadSelected(Form& form, CalcEnv&) {
    form.setText(kLoadLabel, "Load Resistance");
    form.setText(kLoadUnit, "Ohms");
    form.setEnabled(kIL, true);
}

// A resistor value and the text it is listed with: snapped to the nearest
// standard value, or as calculated in three significant digits.
struct Resistor {
    double value = 0;
    std::string text;
};

Resistor name(double r, bool standardValues) {
    if (standardValues) {
        StandardValue sv = NearestStandardValue(r);
        return {sv.value, sv.text};
    }
    return {r, FormatOhms(r)};
}

// Appends at least one blank, then more until the line is `column` long.
void padTo(std::string& line, std::size_t column) {
    line += ' ';
    while (line.size() < column)
        line += ' ';
}

// The attenuation really reached, three decimals: " .375".
std::string ratioText(double ar) {
    return PlainNumber(std::floor(1000 * ar + 0.5) / 1000, LeadingBlank::Yes);
}

// The error in percent, two decimals, with a 0 before the point below one:
// " 0.25", "-0.52", " 1.5", and " 0" for no error.
std::string errorText(double percent) {
    const double rounded = std::floor(100 * percent + 0.5) / 100;
    std::string text = PlainNumber(rounded, LeadingBlank::Yes);
    if (std::fabs(rounded) < 1 && text.size() > 1 && text[1] == '.')
        text.insert(1, "0");
    return text;
}

// The attenuation wanted: Ar as typed, from the decibels, or from the two
// voltages (then also written into the Ar and dB boxes). Nothing after a
// message.
std::optional<double> wantedRatio(Form& form, Dialogs& dialogs) {
    double ar = form.number(kAr);
    const double dB = form.number(kDB);
    const double vo = form.number(kVo);
    const double vin = form.number(kVin);
    if (form.selected(kOpVinVout)) {
        if (vin == 0) {
            dialogs.say(kNeedVin);
            return std::nullopt;
        }
        if (vo == 0) {
            dialogs.say(kNeedVo);
            return std::nullopt;
        }
        ar = vo / vin;
        form.setEng(kAr, ar);
        // Voltages of opposite sign have no decibels; the Ar test below says so.
        if (ar > 0)
            form.setEng(kDB, 20 * std::log(ar) / std::log(10.0));
    }
    if (form.selected(kOpDB)) {
        // Attenuation in either sign: 6 dB and -6 dB both mean Ar = 0.501.
        ar = std::pow(10.0, -std::fabs(dB) / 20);
        form.setEng(kAr, ar);
    }

    if (ar > 1) {
        dialogs.say(kArAboveOne);
        return std::nullopt;
    }
    if (ar == 1) {
        dialogs.say(kArIsOne);
        return std::nullopt;
    }
    if (!(ar > 0)) {
        dialogs.say(kArNotPositive);
        return std::nullopt;
    }
    return ar;
}

// The range of the total resistance. False after a message.
bool totalRangeAccepted(CalcEnv& env, double rtMin, double rtMax) {
    if (rtMin == 0 || rtMax == 0) {
        env.dialogs.say(kRtZero);
        return false;
    }
    if (rtMin < 0 || rtMax < 0) {
        env.dialogs.say(kRtNegative);
        return false;
    }
    if (rtMin >= rtMax) {
        env.dialogs.say(kRtOrder);
        return false;
    }
    return true;
}

// What every line of the list is worked from besides its R1.
struct Divider {
    double ar = 0; // wanted
    double vo = 0, vin = 0;
    double il = 0; // the load current, or the load resistance: one box serves both
    int loading = NoLoad;
    bool standardValues = true;
    bool byVoltages = false;
};

// R2 for this R1, by the loading; nothing after a message. A zero load
// current is pointed out once a Calculate.
std::optional<double> wantedR2(const Divider& d, const Resistor& r1, Dialogs& dialogs,
                               bool& toldZeroCurrent) {
    if (d.loading == CurrentLoad) {
        if (d.il == 0 && !toldZeroCurrent) {
            dialogs.say(kZeroLoadCurrent, MessageIcon::Information);
            toldZeroCurrent = true;
        }
        // R2 carries what R1 delivers less the load current, at Vo.
        const double r2 = d.vo / ((d.vin - d.vo) / r1.value - d.il);
        if (!(r2 > 0 && std::isfinite(r2))) {
            dialogs.say(loadCurrentTooLarge(TrimBlanks(r1.text)));
            return std::nullopt;
        }
        return r2;
    }
    if (d.loading == ResistanceLoad) {
        const double rl = d.il;
        if (rl == 0) {
            dialogs.say(kNeedLoadResistance);
            return std::nullopt;
        }
        if (rl < 0) {
            dialogs.say(kNegativeLoadResistance);
            return std::nullopt;
        }
        // R2 in parallel with RL must give k = Ar / (1 - Ar) times R1.
        const double k = d.ar / (1 - d.ar);
        const double r2 = k * rl * r1.value / (rl - k * r1.value);
        if (!(r2 > 0 && std::isfinite(r2))) {
            dialogs.say(loadResistanceTooSmall(TrimBlanks(r1.text)));
            return std::nullopt;
        }
        return r2;
    }
    return checkFinite(r1.value * d.ar / (1 - d.ar), "R2 is too large");
}

// A line of the list: R1, R2, the attenuation they really give and its
// error, the input and output resistance, and with the voltages given the
// current and the power in each resistor.
// The attenuation R1 and R2 really give with the load.
double realRatio(const Divider& d, double r1, double r2) {
    const double rl = d.il;
    if (d.loading == CurrentLoad)
        return ((d.vin - d.il * r1) / (1 + r1 / r2)) / d.vin;
    if (d.loading == ResistanceLoad)
        return rl * r2 / ((rl + r2) * r1 + rl * r2);
    return r2 / (r1 + r2);
}

std::string dividerLine(const Divider& d, const Resistor& r1, const Resistor& r2) {
    const double rl = d.il;
    const double arReal = realRatio(d, r1.value, r2.value);
    const double error = 100 * (arReal - d.ar) / d.ar;

    double rin = 0;
    double ro = 0;
    if (d.loading == ResistanceLoad) {
        rin = r1.value + rl * r2.value / (rl + r2.value);
        ro = 1 / (1 / r2.value + 1 / r1.value + 1 / rl);
    } else {
        rin = r1.value + r2.value;
        ro = r1.value * r2.value / (r1.value + r2.value);
    }

    std::string line = r1.text;
    padTo(line, 7);
    line += r2.text;
    padTo(line, 14);
    line += ratioText(arReal);
    padTo(line, 21);
    line += errorText(error);
    padTo(line, 28);
    line += "  " + FormatOhms(checkFinite(rin, "Rin is too large")) + "  " +
            FormatOhms(checkFinite(ro, "Ro is too large"));
    padTo(line, 42);
    if (d.byVoltages) {
        // From the wanted Vo and the named resistors.
        const double current = (d.vin - d.vo) / r1.value;
        const double p1 = (d.vin - d.vo) * (d.vin - d.vo) / r1.value;
        const double p2 = d.vo * d.vo / r2.value;
        line += engText(current);
        padTo(line, 49);
        line += engText(p1);
        padTo(line, 56);
        line += engText(p2) + " ";
    }
    return line;
}

// Each R1 from its share (1 - Ar) of Rt min up to that of Rt max, R1
// growing by a step each line, with its R2, handed to `line`; a message ends
// the walk.
void walkDividers(Dialogs& dialogs, const Divider& d, double rtMin, double rtMax,
                  const std::function<void(const Resistor&, const Resistor&)>& line) {
    Resistor r1 = name((1 - d.ar) * rtMin, d.standardValues);
    const double r1Limit = (1 - d.ar) * rtMax;
    if (!(r1.value > 0)) {
        // Only a standard value can come out as 0 (for R1 of 0.5 ohm or less);
        // stepping from 0 would never end.
        if (d.standardValues) {
            dialogs.say(kR1BelowTable);
            return;
        }
        throw NumericFault("R1 is zero");
    }

    bool toldZeroCurrent = false;
    for (int lines = 0;; ++lines) {
        if (lines == kMaxLines) {
            dialogs.say(kTooManyLines);
            return;
        }
        const std::optional<double> r2Wanted = wantedR2(d, r1, dialogs, toldZeroCurrent);
        if (!r2Wanted)
            return;
        const Resistor r2 = name(*r2Wanted, d.standardValues);
        if (!(r2.value > 0)) {
            // R2 grows with R1, so this happens only at the start of the range.
            dialogs.say(kR2BelowTable);
            return;
        }
        line(r1, r2);

        const Resistor next =
            name(checkFinite(r1.value * kR1Step, "R1 is too large"), d.standardValues);
        // The standard values end at 10 M: stepping from there stays there.
        if (!(next.value > r1.value))
            break;
        r1 = next;
        if (!(r1.value <= r1Limit))
            break;
    }
}

// The divider the boxes and options ask for, with the wanted ratio ar.
Divider dividerOf(const Form& form, double ar) {
    Divider d;
    d.ar = ar;
    d.vo = form.number(kVo);
    d.vin = form.number(kVin);
    d.il = form.number(kIL);
    d.byVoltages = form.selected(kOpVinVout);
    d.standardValues = form.checked(kStandardValues);
    d.loading = form.option(kLoadingGroup);
    return d;
}

void CmdCalc_Click(Form& form, CalcEnv& env) {
    form.list(kList).clear();
    const double rtMin = form.number(kRtMin);
    const double rtMax = form.number(kRtMax);
    const std::optional<double> ar = wantedRatio(form, env.dialogs);
    if (!ar || !totalRangeAccepted(env, rtMin, rtMax))
        return;
    const Divider d = dividerOf(form, *ar);
    walkDividers(env.dialogs, d, rtMin, rtMax, [&](const Resistor& r1, const Resistor& r2) {
        form.list(kList).push_back(dividerLine(d, r1, r2));
    });
}

// The header names Rin and Ro only when the data file could be read.
void setUp(Form& form, CalcEnv&, bool flagRead) {
    if (flagRead)
        form.setText(kHeader, kHeaderLoaded);
    form.setChecked(kStandardValues, true);
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form01";
    f.caption = "Voltage Divider";
    f.widthTwips = 11910;
    f.heightTwips = 7110;
    f.left = {
        box(kAr, "Attenuation Ratio, Ar", ""),
        box(kDB, "Attenuation in dB", "dB"),
        box(kVo, "Output Voltage, Vo", "Volts"),
        box(kVin, "Input Voltage, Vin", "Volts"),
        box(kIL, "Load Current", "Amps", "", kLoadLabel, kLoadUnit),
        box(kRtMin, "Minimum Total Resistance, Rt min", "Ohms"),
        box(kRtMax, "Maximum Total Resistance, Rt max", "Ohms"),
    };
    // As designed the window asks for the voltages and a load current, which
    // matches the load label "Load Current" / "Amps".
    f.right = {
        GroupSpec{.name = kAttenuationGroup,
                  .caption = "Give Attenuation by entering",
                  .options = {{kOpAr, "Ar, Ratio of output to input, < 1"},
                              {kOpDB, "Attenuation in dB"},
                              {kOpVinVout, "Input and output voltage"}},
                  .initial = 3},
        GroupSpec{.name = kLoadingGroup,
                  .caption = "Loading condition",
                  .options = {{kOpNoLoad, "No Load"},
                              {kOpILoad, "Current Loading"},
                              {kOpRLoad, "Resistance Loading"}},
                  .initial = 2},
        CheckSpec{.name = kStandardValues, .caption = "Use Standard Values.", .checked = true},
    };
    // A line holds R1 and R2 in seven characters each, Ar to column 21 and
    // the error to 28 (both with a sign position), two blanks, Rin, two
    // blanks and Ro in six each, then the current and the two powers as
    // engineering texts of eleven characters, one blank apart. The headings
    // stand over where each column's figures begin.
    f.bottom = {
        ListSpec{.name = kList,
                 .headerName = kHeader,
                 .header = kHeaderDesigned,
                 .headerColumns = {0, 7, 15, 21, 30, 38, 46, 58, 70}},
    };
    return f;
}

Calculator makeVoltDivider() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "VoltDiv.DAT";
    calc.fields = {
        {FieldKind::TypedOrZero, kAr},
        {FieldKind::TypedOrZero, kDB},
        {FieldKind::Eng, kVo},
        {FieldKind::Eng, kVin},
        {FieldKind::Eng, kIL},
        {FieldKind::Eng, kRtMin},
        {FieldKind::Eng, kRtMax},
        {FieldKind::Option, kAttenuationGroup},
        {FieldKind::Option, kLoadingGroup},
    };
    calc.clearBoxes = {kAr, kVo, kVin, kRtMin, kRtMax};

    calc.calculate = CmdCalc_Click;
    calc.options = {{kOpAr, byRatioSelected},         {kOpDB, byDecibelsSelected},
                    {kOpVinVout, byVoltagesSelected}, {kOpNoLoad, noLoadSelected},
                    {kOpILoad, currentLoadSelected},  {kOpRLoad, resistanceLoadSelected}};
    calc.setUp = setUp;
    calc.netlist = voltDividerNetlist;
    return calc;
}

// The messages of a walk that only recounts the combinations.
class Silent : public Dialogs {
public:
    Answer show(const Message&) override { return Answer::Ok; }
};

} // namespace

namespace voltdivider {

std::optional<Listing> listing(const Form& form) {
    Form f = form;
    Silent silent;
    const double rtMin = f.number(kRtMin);
    const double rtMax = f.number(kRtMax);
    const std::optional<double> ar = wantedRatio(f, silent);
    if (!ar || rtMin <= 0 || rtMax <= rtMin)
        return std::nullopt;
    const Divider d = dividerOf(f, *ar);
    Listing out{d.ar, d.vin, d.vo, d.il, d.loading, d.byVoltages, {}};
    if (d.loading < NoLoad || d.loading > ResistanceLoad)
        return std::nullopt;
    walkDividers(silent, d, rtMin, rtMax, [&](const Resistor& r1, const Resistor& r2) {
        out.lines.push_back({r1.value, r2.value, realRatio(d, r1.value, r2.value)});
    });
    return out;
}

} // namespace voltdivider

const Calculator& voltDivider() {
    static const Calculator calc = makeVoltDivider();
    return calc;
}

} // namespace ferrovane
