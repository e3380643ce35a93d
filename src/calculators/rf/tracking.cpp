#include "calculators/rf/tracking.h"

#include <array>

#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "numeric/constants.h"
#include "numeric/eng_text.h"

namespace ferrovane {
namespace tracking {

namespace {

// The padder iterations and the trimmer search stop when the stage's top
// lies within this fraction of the band's top.
constexpr double kTolerance = 0.00001;
// The padder iterations settle in a handful of passes when they settle at all.
constexpr int kMaxPadderPasses = 1000;
// The trimmer search starts at 1 pF and grows by 0.001% a pass; two million
// passes reach some 480 uF, far beyond any tuning capacitor.
constexpr double kTrimmerStart = 1e-12;
constexpr double kTrimmerGrowth = 1.00001;
constexpr int kMaxTrimmerPasses = 2000000;

double resonance(double ce, double l) {
    return 1 / (2 * Pi * std::sqrt(l * ce));
}

} // namespace

double effectiveCapacitance(Mode mode, double c, const Stage& s) {
    switch (mode) {
    case PadderTrimmer1: // trimmer across C, padder in series with the pair
        return (c + s.trimmer) * s.padder / ((c + s.padder) + s.trimmer);
    case PadderTrimmer2: // padder in series with C, trimmer across both
        return c * s.padder / (c + s.padder) + s.trimmer;
    case CoilTrimmer:
        return c + s.trimmer;
    case None:
        break;
    }
    return c;
}

double tuningCapacitance(Mode mode, double f, const Stage& rf) {
    const double w2 = std::pow(2 * Pi * f, 2);
    if (mode == PadderTrimmer1)
        return (rf.padder + rf.trimmer - w2 * rf.coil * rf.trimmer * rf.padder) /
               (w2 * rf.coil * rf.padder - 1);
    if (mode == PadderTrimmer2)
        return (rf.padder - w2 * rf.coil * rf.trimmer * rf.padder) /
               (w2 * rf.coil * (rf.padder + rf.trimmer) - 1);
    return 1 / (w2 * rf.coil) - rf.trimmer;
}

StageResult designStage(Mode mode, double coil, double lower, double upper, double cMin,
                        double cMax) {
    const double wl2 = std::pow(2 * Pi * lower, 2);
    const double wh2 = std::pow(2 * Pi * upper, 2);
    Stage s{.coil = coil};
    auto settled = [&](double ce) {
        return std::abs(resonance(ce, s.coil) - upper) / upper < kTolerance;
    };
    if (mode == CoilTrimmer) {
        // The coil alone with Cmax sets the band's bottom; the trimmer then
        // pulls the top down to the band's top, and the bottom a little too.
        s.coil = 1 / (wl2 * cMax);
        s.trimmer = kTrimmerStart;
        while (s.passes < kMaxTrimmerPasses) {
            const double f = resonance(cMin + s.trimmer, s.coil);
            if (!(f > upper)) {
                // Each pass moves the top by less than the tolerance, so only
                // a top already below the band's at the start misses it.
                if (std::abs(f - upper) / upper < kTolerance)
                    return {s, {}};
                return {std::nullopt, Failure::TrimmerBelowStart};
            }
            s.trimmer *= kTrimmerGrowth;
            ++s.passes;
        }
        return {std::nullopt, Failure::NotSettled};
    }
    // The padder that brings the bottom of the band down with no trimmer;
    // then trimmer (for the top) and padder (for the bottom) in turn.
    s.padder = cMax / (wl2 * coil * cMax - 1);
    while (s.passes < kMaxPadderPasses) {
        ++s.passes;
        if (mode == PadderTrimmer1) {
            s.trimmer =
                (cMin + s.padder - wh2 * coil * s.padder * cMin) / (wh2 * coil * s.padder - 1);
            s.padder = (cMax + s.trimmer) / (wl2 * coil * (cMax + s.trimmer) - 1);
        } else {
            s.trimmer =
                (cMin + s.padder - wh2 * coil * cMin * s.padder) / (wh2 * coil * (cMin + s.padder));
            s.padder =
                (cMax - wl2 * coil * cMax * s.trimmer) / (wl2 * coil * (cMax + s.trimmer) - 1);
        }
        if (settled(effectiveCapacitance(mode, cMin, s)))
            return {s, {}};
    }
    return {std::nullopt, Failure::NotSettled};
}

} // namespace tracking

namespace {

using namespace tracking;

constexpr const char* kFLo = "TxtFLo";
constexpr const char* kFHi = "TxtFHi";
constexpr const char* kCapMax = "TxtCapMax";
constexpr const char* kCapMin = "TxtCapMin";
constexpr const char* kIF = "TxtIF";
constexpr const char* kLRF = "TxtLRF";
constexpr const char* kLOsc = "TxtLOsc";
constexpr const char* kTrkInc = "TxtTrkInc";
constexpr const char* kModeGroup = "FrameAdjust";
constexpr const char* kPicture = "Image1";
constexpr const char* kValues = "LstValues";
constexpr const char* kTracking = "LstTracking";
constexpr const char* kRecL = "CmdRecL";
constexpr const char* kPrint = "CmdPrint";
constexpr const char* kQuickHelp = "Txt2QuickHelp";

// Constant-initialised, so that they are ready whoever asks for the calculator
// first, even a static initialiser of another file.
constexpr std::array<const char*, 8> kBoxes = {kFLo, kFHi, kCapMax, kCapMin,
                                               kIF,  kLRF, kLOsc,   kTrkInc};
constexpr std::array<const char*, 3> kModeOptions = {"OpCandC1", "OpCandC2", "OpLandC"};
constexpr std::array<const char*, 3> kPictures = {"C and C-1.GIF", "C and C-2.GIF", "L and C.GIF"};
// Disabled while a calculation or a recommendation runs.
constexpr std::array<const char*, 4> kWorkButtons = {"CmdCalc", "CmdClr", "CmdLoadData", kRecL};

constexpr const char* kZeroValues = "Zero values ar not allowed.";
constexpr const char* kOscCoilRequired = "A value for the oscillator coil is required.";
constexpr const char* kNegativeValues = "Negative values are not allowed.";
constexpr const char* kBandReversed = "High End of Band MUST\r\nbe higher than Low End.";
constexpr const char* kCapReversed = "Capacitor Maximum MUST be\r\nlarger than Capacitor Minimum.";
constexpr const char* kSuggestion = "Suggestion, click 'Recommend Inductors'";
constexpr const char* kStepNotPositive =
    "The tracking step must be greater than zero.\r\nEnter a value for Tracking Data Every.";
// A table longer than this is no use to read or print, and a step too small
// to move the frequency on would never reach the band's top.
constexpr double kMaxRows = 10000;
constexpr const char* kTooManyRows =
    "The tracking step is too small: the table would have more than 10,000 rows.";

// With exact arithmetic the error at the band's bottom is zero; what is left
// of it in doubles is rounding, and counts as zero. The Max Q shown then
// stands for "no limit".
constexpr double kZeroError = 1e-9;
double zeroErrorQ(Mode mode) {
    return mode == PadderTrimmer1 ? 1e10 : 1e12;
}

constexpr const char* kTrackHeader = "RF Freq.        C       Offset     Max Q";
constexpr const char* kPrintHeader = " RF Freq.       C      Offset     Max Q";

// Printed in 12 point fixed pitch, 500 twips from the left edge and 1500
// from the top, one Courier New line (13.6 points) apart.
constexpr double kPrintLeft = 500;
constexpr double kPrintTop = 1500;
constexpr double kPrintPoints = 12;
constexpr double kPrintLineTwips = 272;

struct Band {
    double fLo, fHi, cMax, cMin, fIf;
};

Band readBand(const Form& form) {
    return {form.number(kFLo) * 1000, form.number(kFHi) * 1000, form.number(kCapMax) * 1e-12,
            form.number(kCapMin) * 1e-12, form.number(kIF) * 1000};
}

// The lowest and highest coil that tune the band with the bare capacitor.
double minimumCoil(double f, double cMax) {
    return 1 / (4 * Pi * Pi * f * f * cMax);
}
double maximumCoil(double f, double cMin) {
    return 1 / (4 * Pi * Pi * f * f * cMin);
}

void say(CalcEnv& env, const std::string& text, const std::string& title = kAppTitle) {
    env.dialogs.show(Message{text, title});
}

// The checks of the band and the capacitor that Calculate and Recommend
// Inductors share, after the zero test. False after a message.
bool bandChecked(const Form& form, CalcEnv& env, const Band& b) {
    if (b.fLo >= b.fHi) {
        say(env, kBandReversed);
        return false;
    }
    if (b.cMin >= b.cMax) {
        say(env, kCapReversed);
        return false;
    }
    if (b.cMax / b.cMin < (b.fHi / b.fLo) * (b.fHi / b.fLo)) {
        // The highest top for the given bottom and the lowest bottom for the
        // given top, in kHz.
        say(env, "The given frequency range is too large\r\nfor the given capacitance "
                 "range.\r\nYou can have " +
                     form.text(kFLo) + " to" + engText(b.fLo * std::sqrt(b.cMax / b.cMin) / 1000) +
                     "or" + engText(b.fHi * std::sqrt(b.cMin / b.cMax) / 1000) + "to " +
                     form.text(kFHi) + " khz");
        return false;
    }
    return true;
}

bool anyNegative(std::initializer_list<double> values) {
    for (double v : values)
        if (v < 0)
            return true;
    return false;
}

std::string pf(double c) {
    return engText(c * 1e12) + "pf";
}

std::string stageFailure(const StageResult& r, const char* stage) {
    if (r.failure == Failure::TrimmerBelowStart)
        return std::string("The ") + stage +
               " stage needs a trimmer smaller than 1 pF: the capacitor's range only just "
               "covers its band.\r\nNarrow the band or use a capacitor with a wider range.";
    return std::string("No padder and trimmer tune the ") + stage +
           " stage to both ends of its band with this coil.\r\n" + kSuggestion;
}

// What Calculate reads: the band and capacitor, the two coils (henries), the
// tracking step (hertz) and the mode.
struct Inputs {
    Band band;
    double rfCoil, oscCoil, step;
    Mode mode;
};

Inputs readInputs(const Form& form) {
    return {readBand(form), form.number(kLRF) * 1e-6, form.number(kLOsc) * 1e-6,
            form.number(kTrkInc) * 1000, static_cast<Mode>(form.option(kModeGroup))};
}

// In the padder modes the typed coils must tune each band with the bare
// capacitor. False after a message.
bool coilsFit(CalcEnv& env, const Inputs& in) {
    const Band& b = in.band;
    const double l = in.rfCoil, lo = in.oscCoil;
    struct CoilTest {
        bool fails;
        const char* title;
        const char* piece;
        double limit;
    };
    const CoilTest tests[] = {
        {resonance(b.cMax, l) > b.fLo, "RF Inductor Too Small", "Minimum RF inductance is ",
         minimumCoil(b.fLo, b.cMax)},
        {resonance(b.cMin, l) < b.fHi, "RF Inductor Too Large", "Maximum RF inductance is ",
         maximumCoil(b.fHi, b.cMin)},
        {resonance(b.cMax, lo) > b.fLo + b.fIf, "Oscillator Inductor Too Small",
         "Minimum Osc inductance is ", minimumCoil(b.fLo + b.fIf, b.cMax)},
        {resonance(b.cMin, lo) < b.fHi + b.fIf, "Oscillator Inductor Too Large",
         "Maximum Osc inductance is ", maximumCoil(b.fHi + b.fIf, b.cMin)},
    };
    for (const CoilTest& t : tests)
        if (t.fails) {
            say(env, t.piece + engText(t.limit) + kSuggestion, t.title);
            return false;
        }
    return true;
}

// The checks of the boxes that come before the mode is looked at. False
// after a message.
bool inputsAccepted(const Form& form, CalcEnv& env, const Inputs& in) {
    const Band& b = in.band;
    const bool padderModes = in.mode != CoilTrimmer;
    if (b.fLo == 0 || b.fHi == 0 || b.cMax == 0 || b.cMin == 0 || b.fIf == 0 || in.rfCoil == 0) {
        say(env, kZeroValues);
        return false;
    }
    if (padderModes && in.oscCoil == 0) {
        say(env, kOscCoilRequired);
        return false;
    }
    // Negative entries would take roots of negative numbers below.
    if (anyNegative({b.fLo, b.fHi, b.cMax, b.cMin, b.fIf, in.rfCoil}) ||
        (padderModes && in.oscCoil < 0)) {
        say(env, kNegativeValues);
        return false;
    }
    if (!bandChecked(form, env, b))
        return false;
    return !padderModes || coilsFit(env, in);
}

// The tracking step must reach the band's top in a table one can read.
// False after a message.
bool stepAccepted(CalcEnv& env, const Inputs& in) {
    if (!(in.step > 0)) {
        say(env, kStepNotPositive);
        return false;
    }
    if (!((in.band.fHi - in.band.fLo) / in.step <= kMaxRows)) {
        say(env, kTooManyRows);
        return false;
    }
    return true;
}

// The lines of a run that reached its end: the components as the list shows
// them and as the printer does (in the padder modes the typed coils come
// first in each stage), and the tracking table.
struct TrackLines {
    std::vector<std::string> values;
    std::vector<std::string> printedValues;
    std::vector<std::string> table;
};

void componentLines(const Form& form, Mode mode, const Stage& rf, const Stage& osc,
                    TrackLines& lines) {
    if (mode != CoilTrimmer) {
        lines.values = {
            "          RF Padder =" + pf(rf.padder), "         RF Trimmer =" + pf(rf.trimmer),
            "  Oscillator Padder =" + pf(osc.padder), " Oscillator Trimmer =" + pf(osc.trimmer)};
        lines.printedValues = {"            RF Coil = " + form.text(kLRF) + " Microhenrys",
                               lines.values[0],
                               lines.values[1],
                               "    Oscillator Coil = " + form.text(kLOsc) + " Microhenrys",
                               lines.values[2],
                               lines.values[3]};
        return;
    }
    lines.values = {"            RF Coil =" + engText(rf.coil * 1e6) + "uH",
                    "         RF Trimmer =" + pf(rf.trimmer),
                    "    Oscillator Coil =" + engText(osc.coil * 1e6) + "uH",
                    " Oscillator Trimmer =" + pf(osc.trimmer)};
    lines.printedValues = lines.values;
}

// From the band's bottom exactly, every step, and the band's top last: the
// tuning capacitance that puts the RF stage on f, where the oscillator then
// stands, and the highest Q whose half bandwidth still takes in the error.
std::vector<std::string> trackingTable(const Inputs& in, const Stage& rf, const Stage& osc) {
    const Band& b = in.band;
    std::vector<std::string> table;
    for (double f = b.fLo;; f += in.step) {
        if (f > b.fHi)
            f = b.fHi;
        const double c = tuningCapacitance(in.mode, f, rf);
        const double fo = resonance(effectiveCapacitance(in.mode, c, osc), osc.coil);
        const double e = (fo - b.fIf) - f;
        const bool zero = std::abs(e) <= kZeroError * f;
        const double offset = zero ? 0 : e / 1000;
        const double maxQ = zero ? zeroErrorQ(in.mode) : std::abs(f / (2 * e));
        table.push_back(engText(f) + engText(c) + engText(offset) + engText(maxQ));
        if (!(f < b.fHi))
            break;
    }
    return table;
}

// How far Calculate got: stopped by a message, checked the boxes with no
// mode chosen (nothing to show), or designed both stages.
struct Tracking {
    bool ranToEnd = false;
    std::optional<TrackLines> lines;
};

// Calculate's work, the same whether its lines go to the lists or to the
// printer. In coil-and-trimmer mode it writes the coils it found into their
// boxes.
Tracking track(Form& form, CalcEnv& env) {
    const Inputs in = readInputs(form);
    if (!inputsAccepted(form, env, in))
        return {};
    if (in.mode == None)
        return {true, std::nullopt};
    if (!stepAccepted(env, in))
        return {};
    const Band& b = in.band;
    const StageResult rf = designStage(in.mode, in.rfCoil, b.fLo, b.fHi, b.cMin, b.cMax);
    if (!rf.stage) {
        say(env, stageFailure(rf, "RF"));
        return {};
    }
    const StageResult osc =
        designStage(in.mode, in.oscCoil, b.fLo + b.fIf, b.fHi + b.fIf, b.cMin, b.cMax);
    if (!osc.stage) {
        say(env, stageFailure(osc, "oscillator"));
        return {};
    }
    TrackLines lines;
    componentLines(form, in.mode, *rf.stage, *osc.stage, lines);
    if (in.mode == CoilTrimmer) {
        form.setEng(kLRF, rf.stage->coil * 1e6);
        form.setEng(kLOsc, osc.stage->coil * 1e6);
    }
    lines.table = trackingTable(in, *rf.stage, *osc.stage);
    return {true, std::move(lines)};
}

void setWorkButtons(Form& form, bool on) {
    for (const auto& name : kWorkButtons)
        form.setEnabled(name, on);
}

void CmdCalc_Click(Form& form, CalcEnv& env) {
    setWorkButtons(form, false);
    const Tracking run = track(form, env);
    if (run.lines) {
        form.list(kValues) = run.lines->values;
        form.list(kTracking) = run.lines->table;
    }
    setWorkButtons(form, true);
    if (run.ranToEnd)
        form.setEnabled(kPrint, true);
}

// The coil lines, the component lines and the table go to the printer; the
// lists keep what they show. A run that ends with a message prints nothing.
void CmdPrint_Click(Form& form, CalcEnv& env) {
    setWorkButtons(form, false);
    const Tracking run = track(form, env);
    setWorkButtons(form, true);
    if (!run.ranToEnd)
        return;
    form.setEnabled(kPrint, true);
    if (!run.lines)
        return;
    PrintWriter writer("Receiver Tracking", Font{kPrintPoints, false, true}, kPrintLeft, kPrintTop,
                       kPrintLineTwips);
    for (const std::string& line : run.lines->printedValues)
        writer.print(line);
    writer.print("");
    writer.print(kPrintHeader);
    for (const std::string& line : run.lines->table)
        writer.print(line);
    env.print(writer.finish());
}

// The coil halfway (geometrically) between the smallest and largest that
// tune each band with the bare capacitor.
void CmdRecL_Click(Form& form, CalcEnv& env) {
    setWorkButtons(form, false);
    const Band b = readBand(form);
    const bool valid = [&] {
        if (b.fLo == 0 || b.fHi == 0 || b.cMax == 0 || b.cMin == 0 || b.fIf == 0) {
            say(env, kZeroValues);
            return false;
        }
        if (anyNegative({b.fLo, b.fHi, b.cMax, b.cMin, b.fIf})) {
            say(env, kNegativeValues);
            return false;
        }
        return bandChecked(form, env, b);
    }();
    if (valid) {
        const double rfMin = minimumCoil(b.fLo, b.cMax), rfMax = maximumCoil(b.fHi, b.cMin);
        const double oscMin = minimumCoil(b.fLo + b.fIf, b.cMax);
        const double oscMax = maximumCoil(b.fHi + b.fIf, b.cMin);
        const double rf = std::sqrt(rfMin * rfMax), osc = std::sqrt(oscMin * oscMax);
        say(env,
            "                                                            Recommended   "
            "Minimum       Maximum\r\nFor the Antenna and RF Stage     " +
                engText(rf) + "         " + engText(rfMin) + "     " + engText(rfMax) +
                "Henrys\r\n     \r\nFor the Oscillator                               " +
                engText(osc) + "         " + engText(oscMin) + "     " + engText(oscMax) + "Henrys",
            "Recommended Inductance Values");
        form.setEng(kLRF, rf * 1e6);
        form.setEng(kLOsc, osc * 1e6);
    }
    setWorkButtons(form, true);
}

// The padder modes use the coils typed; coil-and-trimmer computes them.
void modeSelected(Form& form, CalcEnv&, const std::string& option) {
    const int mode = form.numberOf(option);
    form.setText(kPicture, kPictures.at(mode - 1));
    form.setVisible(kPicture, true);
    for (const char* name : {kLRF, kLOsc, kRecL})
        form.setEnabled(name, mode != CoilTrimmer);
}

void CmdClr_Click(Form& form, CalcEnv&) {
    form.list(kValues).clear();
    form.list(kTracking).clear();
    form.clearOption(kModeGroup);
    for (const auto& box : kBoxes)
        form.setText(box, "");
    form.setVisible(kPicture, false);
}

// Boxes are saved as typed, an empty one as "0.000".
void beforeSave(Form& form, CalcEnv&) {
    for (const auto& box : kBoxes)
        if (form.text(box).empty())
            form.setText(box, "0.000");
}

// Print waits for a Calculate that runs to its end; the picture for a mode.
void setUp(Form& form, CalcEnv&, bool) {
    form.setEnabled(kPrint, false);
    form.setVisible(kPicture, form.option(kModeGroup) != None);
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "FormTrack";
    f.caption = "Receiver Frontend, LO and RF Tracking Calculator";
    f.widthTwips = 11295;
    f.heightTwips = 7785;
    f.left = {
        box(kFLo, "Low End of Band", "khz"),          box(kFHi, "High End of Band", "Khz"),
        box(kCapMax, "Capacitor Maximum", "pf"),      box(kCapMin, "Capacitor Minimum", "pf"),
        box(kIF, "Intermediate Frequency", "khz"),    box(kLRF, "RF Coil", "Microhenrys"),
        box(kLOsc, "Oscillator Coil", "Microhenrys"), box(kTrkInc, "Tracking Data Every", "khz"),
    };
    f.right = {
        GroupSpec{kModeGroup,
                  "Adjustments in Oscillator",
                  {{kModeOptions[0], "Padder and Trimmer 1"},
                   {kModeOptions[1], "Padder and Trimmer 2"},
                   {kModeOptions[2], "Coil and Trimmer"}}},
        PictureSpec{kPicture, kPictures[1], "Circuit of the oscillator and RF stages"},
        ListSpec{.name = kValues, .visibleLines = 4, .accessibleName = "Component values"},
    };
    f.bottom = {
        ListSpec{kTracking, "LblTracking", kTrackHeader, 11},
        HelpBoxSpec{kQuickHelp, 3},
    };
    f.printButton = kPrint;
    f.buttons = {{kRecL, "Recommend Inductors"},   {kPrint, "Print"},
                 {"CmdCalc", "Calculate"},         {"CmdClr", "Clear Data"},
                 {"CmdLoadData", "Load Last Run"}, {"CmdClose", "Close"}};
    f.hoverHelp = HoverHelp{
        kQuickHelp,
        "FrameButtons",
        true,
        {{kRecL, "Recommend the optimum inductor for the capacitance and frequency range you "
                 "have specified."}}};
    return f;
}

Calculator makeReceiverTracking() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "Track.DAT";
    for (const auto& name : kBoxes)
        calc.fields.push_back({FieldKind::Typed, name});
    calc.fields.push_back({FieldKind::OptionIfAny, kModeGroup});
    calc.calculate = CmdCalc_Click;
    calc.clear = CmdClr_Click;
    calc.optionSelected = modeSelected;
    calc.buttons = {{kRecL, CmdRecL_Click}, {kPrint, CmdPrint_Click}};
    calc.beforeSave = beforeSave;
    calc.setUp = setUp;
    calc.netlist = trackingNetlist;
    return calc;
}

} // namespace

namespace tracking {

std::optional<Design> designOf(const Form& form) {
    const Inputs in = readInputs(form);
    const Band& b = in.band;
    if (in.mode == None)
        return std::nullopt;
    const StageResult rf = designStage(in.mode, in.rfCoil, b.fLo, b.fHi, b.cMin, b.cMax);
    const StageResult osc =
        designStage(in.mode, in.oscCoil, b.fLo + b.fIf, b.fHi + b.fIf, b.cMin, b.cMax);
    if (!rf.stage || !osc.stage)
        return std::nullopt;
    return Design{in.mode, b.fLo, b.fHi, b.fIf, *rf.stage, *osc.stage};
}

} // namespace tracking

const Calculator& receiverTracking() {
    static const Calculator calc = makeReceiverTracking();
    return calc;
}

} // namespace ferrovane
