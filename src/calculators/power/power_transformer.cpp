#include "calculators/power/power_transformer.h"

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"
#include "shell/box_reading.h"
#include "shell/window_cycle.h"

namespace ferrovane {
namespace {

constexpr int kRows = 6;

constexpr const char* kPriV = "TxtPriV";
constexpr const char* kPriR = "TxtPriR";
constexpr const char* kNoSec = "TxtNoSec";
constexpr const char* kSecV = "TxtSec1V";
constexpr const char* kSecI = "TxtSec1I";
constexpr const char* kSecR = "TxtSec1R";
constexpr const char* kTypeGroup = "FrameType";
constexpr const char* kMil = "OpMil";
constexpr std::array<const char*, 3> kOpenTypes = {"OpType1", "OpType2", "OpType3"};
// The outline's dimensions: X, Y, Z of the box, A, B, C of the open core.
constexpr const char* kX = "TxtX";
constexpr const char* kY = "TxtY";
constexpr const char* kZ = "TxtZ";
constexpr const char* kA = "TxtA";
constexpr const char* kB = "TxtB";
constexpr const char* kC = "TxtC";
constexpr std::array<const char*, 6> kDimensions = {kX, kY, kZ, kA, kB, kC};
constexpr const char* kLoading = "ChkLoading";
constexpr const char* kImage = "Image1";
constexpr const char* kList = "ListOut";
constexpr const char* kHelpBox = "Txt2QuickHelp";

// The percent dissipation limits read from "CONSTANT.DAT", in file order.
constexpr const char* kConstantsFile = "CONSTANT.DAT";
constexpr std::array<const char*, 4> kLimits = {"KPlate", "KFil", "KPlatePotted", "KFilPotted"};

constexpr const char* kWhatKind = "What kind of transformer do you have?\r\n"
                                  "A, B, C and D MUST all be zero or\r\n"
                                  "MUST ALL have nonzero values.";
constexpr const char* kSecondaryCount = "Enter a number of secondaries from 1 to 6.";

// Windings above 30 V feed plates; 30 V and below, filaments.
constexpr double kFilamentVolts = 30;
constexpr double kPlateStart = 0.001;  // amperes
constexpr double kFilamentStart = 0.1; // amperes
constexpr double kSearchStep = 0.01;   // 1 % more current each step
// 1.01^20000 is about 1e86: a winding that has not reached its limit by then
// never will (a negative or infinite voltage, say).
constexpr int kMaxSearchSteps = 20000;

// Radiation from the transformer's surface: emissivity factor and the
// Stefan-Boltzmann constant in W/(m^2 K^4).
constexpr double kEmissivity = 0.075;
constexpr double kStefanBoltzmann = 5.67e-8;
constexpr double kCelsiusZero = 273;

const std::string& pictureOf(int type) {
    static const std::array<std::string, 4> files = {"Transformer-1.jpg", "Transformer-2.jpg",
                                                     "Transformer-3.jpg", "Transformer-4.jpg"};
    return files.at(static_cast<std::size_t>(type - 1));
}

// A box read as a whole number, halves to even, clamped far enough out that
// the conversion is always defined.
int wholeNumber(const Form& form, const std::string& box) {
    const double n = std::nearbyint(form.number(box));
    if (!(n > -1000) || !(n < 1000))
        return n > 0 ? 1000 : 0;
    return static_cast<int>(n);
}

// TxtNoSec_Change: rows 0 to n - 1 with their captions shown, the rest hidden.
void TxtNoSec_Change(Form& form, CalcEnv&) {
    const int n = wholeNumber(form, kNoSec);
    for (int i = 0; i < kRows; ++i) {
        const bool on = i < n;
        form.setVisible(indexed("FrameSec", i), on);
        for (const char* array : {kSecV, kSecI, kSecR, "LblSec1V", "LblSec1I", "LblSec1R",
                                  "LblSec1VUnit", "LblSec1IUnit", "LblSec1RUnit"})
            form.setVisible(indexed(array, i), on);
    }
}

// A type chosen: the open types have core dimensions A, B, C; the potted
// one is a closed box. The picture shows the type chosen.
void showType(Form& form, int type) {
    for (const char* box : {kA, kB, kC})
        form.setVisible(box, type != 4);
    form.setText(kImage, pictureOf(type));
    form.setVisible(kImage, true);
}

void OpType1_Click(Form& form, CalcEnv&) {
    showType(form, 1);
}

void OpType2_Click(Form& form, CalcEnv&) {
    showType(form, 2);
}

void OpType3_Click(Form& form, CalcEnv&) {
    showType(form, 3);
}

void OpMil_Click(Form& form, CalcEnv&) {
    showType(form, 4);
}

struct Winding {
    double vs = 0, is = 0, rs = 0; // as entered, is possibly found
    double vl = 0;                 // loaded voltage
    double pcu = 0, pout = 0, pct = 0;
};

double percentLoss(double pcu, double pout) {
    return checkFinite(100 * pcu / (pcu + pout), "a winding's copper loss plus its power is zero");
}

// The first current, in steps of 1 %, whose copper loss reaches the limit,
// raised by one more step. Pout uses the entered voltage.
double searchCurrent(const Winding& w, double limit, int n) {
    double current = w.vs > kFilamentVolts ? kPlateStart : kFilamentStart;
    for (int step = 0; step < kMaxSearchSteps; ++step) {
        const double pcu = current * current * w.rs;
        const double pout = current * w.vs;
        const double pct = 100 * pcu / (pcu + pout);
        current += kSearchStep * current;
        if (!(pct < limit))
            return current;
    }
    throw NumericFault("no current of secondary " + std::to_string(n) +
                       " reaches its dissipation limit");
}

std::string line(const std::string& label, double value, const char* unit) {
    return label + engText(value) + unit;
}

using Windings = std::array<Winding, kRows>;

// Rows 0 to n - 1 of the secondaries; the box of the first voltage or
// resistance that is zero (Calculate then does nothing), or none.
std::optional<std::string> readWindings(const Form& form, int n, Windings& w) {
    for (int i = 0; i < n; ++i) {
        w[i].vs = form.number(indexed(kSecV, i));
        if (w[i].vs == 0)
            return indexed(kSecV, i);
        w[i].is = form.number(indexed(kSecI, i));
        w[i].rs = form.number(indexed(kSecR, i));
        if (w[i].rs == 0)
            return indexed(kSecR, i);
    }
    return std::nullopt;
}

// A zero ends Calculate without a word. When the box held no number at all,
// the focus goes to it, whose mark tells how it was read.
void stopAt(Form& form, const std::string& box) {
    if (holdsNoNumber(BoxReading::Number, form.text(box)))
        form.setFocus(box);
}

// Surface in square centimetres: a closed box when potted; otherwise the
// core's faces and the four sides of the winding that stand out of it.
// Nothing after a message when the dimensions fit neither.
std::optional<double> surfaceArea(const Form& form, CalcEnv& env) {
    const double a = form.number(kA), b = form.number(kB), c = form.number(kC);
    const double x = form.number(kX), y = form.number(kY), z = form.number(kZ);
    if (form.selected(kMil))
        return 2 * x * y + 2 * x * z + 2 * y * z;
    if (b != 0 && c != 0) {
        const double wing = (z - a) / 2;
        return 2 * x * y + 2 * a * x + 4 * wing * b + 4 * wing * c;
    }
    env.dialogs.say(kWhatKind);
    return std::nullopt;
}

// A winding given without a current gets the one at its dissipation limit.
// Only the open-core limits apply; the potted ones are kept for the user.
// False after a message.
bool findCurrents(const Form& form, CalcEnv& env, int n, Windings& w) {
    const double kPlate = form.value(kLimits[0]);
    const double kFil = form.value(kLimits[1]);
    for (int i = 0; i < n; ++i) {
        if (w[i].is != 0)
            continue;
        const double limit = w[i].vs > kFilamentVolts ? kPlate : kFil;
        if (limit >= 100) {
            env.dialogs.say("The percent dissipation limits in \"" + std::string(kConstantsFile) +
                                "\" must be below 100.",
                            MessageIcon::Exclamation);
            return false;
        }
        w[i].is = searchCurrent(w[i], limit, i + 1);
    }
    return true;
}

// The primary and the whole transformer, from its windings.
struct Totals {
    double ip = 0, psum = 0, ppri = 0, pctP = 0, ptot = 0, pctT = 0, density = 0, fahrenheit = 0;
};

// Each winding's loaded voltage and powers, then the primary's and the
// totals. With open-circuit voltages, each winding drops its own resistance
// and the primary's, reflected through the square of the turns ratio.
Totals loadWindings(double vp, double rp, bool loaded, double area, int n, Windings& w) {
    Totals t;
    double pcuSum = 0;
    for (int i = 0; i < n; ++i) {
        const double ratio = w[i].vs / vp;
        w[i].vl = loaded ? w[i].vs - w[i].is * (w[i].rs + rp * ratio * ratio) : w[i].vs;
        w[i].pcu = w[i].is * w[i].is * w[i].rs;
        w[i].pout = w[i].is * w[i].vl;
        w[i].pct = percentLoss(w[i].pcu, w[i].pout);
        t.psum += w[i].pout + w[i].pcu;
        pcuSum += w[i].pcu;
    }
    t.ip = t.psum / vp;
    t.ppri = t.ip * t.ip * rp;
    t.pctP = checkFinite(100 * t.ppri / (t.ppri + t.psum), "the primary power is zero");
    t.ptot = t.ppri + pcuSum;
    t.density = checkFinite(10000 * t.ptot / area, "the surface area is zero");
    t.pctT = 100 * t.ptot / (t.ppri + t.psum);
    const double kelvin = std::pow(t.density / (kEmissivity * kStefanBoltzmann), 0.25);
    t.fahrenheit =
        checkFinite((kelvin - kCelsiusZero) * 9 / 5 + 32, "the temperature cannot be estimated");
    return t;
}

std::vector<std::string> resultLines(double vp, const Totals& t, int n, const Windings& w) {
    std::vector<std::string> out = {
        line("        Primary Voltage =", vp, "Volts"),
        line("        Primary Current =", t.ip, "Amps"),
        line("          Primary Power =", t.psum, "Watts"),
        line("    Primary Dissipation =", t.ppri, "Watts"),
        line("  Primary % Dissipation =", t.pctP, "%"),
    };
    for (int i = 0; i < n; ++i) {
        const std::string k = std::to_string(i + 1);
        out.push_back(line("Secondayr " + k + "     Voltage =", w[i].vl, "Volts"));
        out.push_back(line("Secondary " + k + "     Current =", w[i].is, "Amps"));
        out.push_back(line("Secondary " + k + "       Power =", w[i].pout, "Watts"));
        out.push_back(line("Secondary " + k + " Dissipation =", w[i].pcu, "Watts"));
        out.push_back(line("Secondary " + k + " Percent Dis =", w[i].pct, "%"));
    }
    out.emplace_back(58, '-');
    out.push_back(line("      Total Dissipation =", t.ptot, "Watts"));
    out.push_back(line("    Total % Dissipation =", t.pctT, "%"));
    out.push_back(line("          Power Dendity =", t.density, "W/Sq Meter"));
    out.push_back(line("  Operating Temperature =", t.fahrenheit, "\u00B0 F"));
    return out;
}

// A box left at zero (the primary, a winding's voltage or resistance) ends
// Calculate without a word.
void CmdCalc_Click(Form& form, CalcEnv& env) {
    const double vp = form.number(kPriV);
    if (vp == 0)
        return stopAt(form, kPriV);
    const double rp = form.number(kPriR);
    if (rp == 0)
        return stopAt(form, kPriR);
    const int n = wholeNumber(form, kNoSec);
    if (n < 1 || n > kRows) {
        env.dialogs.say(kSecondaryCount, MessageIcon::Exclamation);
        return;
    }
    Windings w{};
    if (const std::optional<std::string> zero = readWindings(form, n, w))
        return stopAt(form, *zero);
    const std::optional<double> area = surfaceArea(form, env);
    if (!area || !findCurrents(form, env, n, w))
        return;
    const Totals t = loadWindings(vp, rp, form.checked(kLoading), *area, n, w);
    form.list(kList) = resultLines(vp, t, n, w);
}

void CmdClr_Click(Form& form, CalcEnv& env) {
    form.setText(kPriV, "117.0");
    form.setText(kPriR, "");
    form.setText(kNoSec, "6");
    TxtNoSec_Change(form, env);
    for (int i = 0; i < kRows; ++i)
        for (const char* array : {kSecV, kSecI, kSecR})
            form.setText(indexed(array, i), "");
    for (const char* box : kDimensions)
        form.setText(box, "");
    form.clearOption(kTypeGroup);
    form.list(kList).clear();
    form.setVisible(kImage, false);
}

// The boxes from the fields a load read ("PowerXfm.DAT" or a design), then
// the limits from "CONSTANT.DAT": a description line before each number.
// Limits not read keep their value.
void LoadFile(Form& form, CalcEnv& env, const DataFields& fields) {
    StandardLoadFile(powerTransformer(), form, env, fields);
    TxtNoSec_Change(form, env);
    const auto lines = env.files.readLines(kConstantsFile, 2 * kLimits.size());
    if (!lines)
        return;
    for (std::size_t k = 0; k < kLimits.size() && 2 * k + 1 < lines->size(); ++k)
        form.setValue(kLimits[k], ReadNumber((*lines)[2 * k + 1]));
}

// No picture until a type is chosen.
void setUp(Form& form, CalcEnv&, bool) {
    form.setVisible(kImage, form.option(kTypeGroup) != 0);
}

ControlSpec secondaryRow(int i) {
    const std::string n = std::to_string(i + 1);
    auto cell = [&](const char* array, const std::string& what, const char* unit) {
        return ControlSpec(box(indexed(array, i), "Secondary " + n + " " + what, unit, {},
                               indexed(std::string(array).replace(0, 3, "Lbl"), i),
                               indexed(std::string(array).replace(0, 3, "Lbl") + "Unit", i)));
    };
    return frame(indexed("FrameSec", i), "", Direction::Horizontal,
                 {cell(kSecV, "Voltage", "Volts"), cell(kSecI, "Current", "Amps"),
                  cell(kSecR, "Resistance", "Ohms")});
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "FrmPowerXfm";
    f.caption = "Power Transformer Analysis Calculator";
    f.widthTwips = 11820;
    f.heightTwips = 8325;
    f.left = {box(kPriV, "Primary voltage", "Volts"), box(kPriR, "Primary Resistance", "Ohms"),
              box(kNoSec, "Number of Secondayies", "")};
    for (int i = 0; i < kRows; ++i)
        f.left.push_back(secondaryRow(i));
    f.left.push_back(CheckSpec{kLoading, "Voltages Measured Open Circuit, Correct for Loading."});
    // The list scrolls through the longer results (up to 40 lines), so the
    // window fits a laptop's screen.
    f.left.push_back(ListSpec{kList, {}, {}, 16});
    // The outside dimensions beside the core's, so the column is no taller
    // than the picture needs.
    f.right = {
        frame("FrameDimensions", "", Direction::Horizontal,
              {frame("FrameOutside", "", Direction::Vertical,
                     {box(kX, "X", "cm"), box(kY, "Y", "cm"), box(kZ, "Z", "cm")}),
               frame("FrameCore", "", Direction::Vertical,
                     {box(kA, "A", "cm"), box(kB, "B", "cm"), box(kC, "C", "cm")})}),
        GroupSpec{kTypeGroup,
                  "Trensformer Type",
                  {{kOpenTypes[0], "Unshieleded"},
                   {kOpenTypes[1], "Shielded Top Mount"},
                   {kOpenTypes[2], "Shielded Sub Mount"},
                   {kMil, "Military, Potted"}}},
        PictureSpec{kImage, pictureOf(1), "Transformer outline with dimensions X, Y, Z, A, B, C"},
    };
    f.bottom = {HelpBoxSpec{kHelpBox}};
    f.hoverHelp = HoverHelp{kHelpBox, "Frame1", true, {}};
    return f;
}

Calculator makePowerTransformer() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "PowerXfm.DAT";
    calc.fields = {
        {FieldKind::Typed, kPriV}, {FieldKind::Typed, kPriR}, {FieldKind::Typed, kNoSec}};
    for (int i = 0; i < kRows; ++i)
        for (const char* array : {kSecV, kSecR, kSecI})
            calc.fields.push_back({FieldKind::Typed, indexed(array, i)});
    calc.fields.push_back({FieldKind::Option, kTypeGroup});
    for (const char* box : kDimensions)
        calc.fields.push_back({FieldKind::Typed, box});
    calc.fields.push_back({FieldKind::Check, kLoading});
    calc.values.assign(kLimits.begin(), kLimits.end());

    calc.calculate = CmdCalc_Click;
    calc.clear = CmdClr_Click;
    calc.boxes[kNoSec] = TxtNoSec_Change;
    calc.options = {{kOpenTypes[0], OpType1_Click},
                    {kOpenTypes[1], OpType2_Click},
                    {kOpenTypes[2], OpType3_Click},
                    {kMil, OpMil_Click}};
    calc.loadFile = LoadFile;
    calc.setUp = setUp;
    return calc;
}

} // namespace

const Calculator& powerTransformer() {
    static const Calculator calc = makePowerTransformer();
    return calc;
}

} // namespace ferrovane
