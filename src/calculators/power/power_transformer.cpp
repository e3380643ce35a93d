#include "calculators/power/power_transformer.h"

#include <array>
#include <cmath>
#include <string>

#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"
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

// A type option clicked: the open types have core dimensions A, B, C; the
// potted one is a closed box. The picture shows the type chosen.
void typeClicked(Form& form, CalcEnv&, const std::string& option) {
    const int type = form.numberOf(option);
    for (const char* box : {"TxtA", "TxtB", "TxtC"})
        form.setVisible(box, option != kMil);
    form.setText(kImage, pictureOf(type));
    form.setVisible(kImage, true);
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

void CmdCalc_Click(Form& form, CalcEnv& env) {
    const double vp = form.number(kPriV);
    if (vp == 0)
        return;
    const double rp = form.number(kPriR);
    if (rp == 0)
        return;
    const int n = wholeNumber(form, kNoSec);
    if (n < 1 || n > kRows) {
        env.dialogs.say(kSecondaryCount, MessageIcon::Exclamation);
        return;
    }
    std::array<Winding, kRows> w{};
    for (int i = 0; i < n; ++i) {
        w[i].vs = form.number(indexed(kSecV, i));
        if (w[i].vs == 0)
            return;
        w[i].is = form.number(indexed(kSecI, i));
        w[i].rs = form.number(indexed(kSecR, i));
        if (w[i].rs == 0)
            return;
    }
    const double a = form.number("TxtA"), b = form.number("TxtB"), c = form.number("TxtC");
    const double x = form.number("TxtX"), y = form.number("TxtY"), z = form.number("TxtZ");

    // Surface in square centimetres: a closed box when potted; otherwise the
    // core's faces and the four sides of the winding that stand out of it.
    double area = 0;
    if (form.selected(kMil)) {
        area = 2 * x * y + 2 * x * z + 2 * y * z;
    } else if (b != 0 && c != 0) {
        const double wing = (z - a) / 2;
        area = 2 * x * y + 2 * a * x + 4 * wing * b + 4 * wing * c;
    } else {
        env.dialogs.say(kWhatKind);
        return;
    }

    // Only the open-core limits apply; the potted ones are kept for the user.
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
            return;
        }
        w[i].is = searchCurrent(w[i], limit, i + 1);
    }

    // With open-circuit voltages, each winding drops its own resistance and
    // the primary's, reflected through the square of the turns ratio.
    const bool loaded = form.checked(kLoading);
    double psum = 0, pcuSum = 0;
    for (int i = 0; i < n; ++i) {
        const double ratio = w[i].vs / vp;
        w[i].vl = loaded ? w[i].vs - w[i].is * (w[i].rs + rp * ratio * ratio) : w[i].vs;
        w[i].pcu = w[i].is * w[i].is * w[i].rs;
        w[i].pout = w[i].is * w[i].vl;
        w[i].pct = percentLoss(w[i].pcu, w[i].pout);
        psum += w[i].pout + w[i].pcu;
        pcuSum += w[i].pcu;
    }
    const double ip = psum / vp;
    const double ppri = ip * ip * rp;
    const double pctP = checkFinite(100 * ppri / (ppri + psum), "the primary power is zero");
    const double ptot = ppri + pcuSum;
    const double density = checkFinite(10000 * ptot / area, "the surface area is zero");
    const double pctT = 100 * ptot / (ppri + psum);
    const double kelvin = std::pow(density / (kEmissivity * kStefanBoltzmann), 0.25);
    const double fahrenheit =
        checkFinite((kelvin - kCelsiusZero) * 9 / 5 + 32, "the temperature cannot be estimated");

    std::vector<std::string> out = {
        line("        Primary Voltage =", vp, "Volts"),
        line("        Primary Current =", ip, "Amps"),
        line("          Primary Power =", psum, "Watts"),
        line("    Primary Dissipation =", ppri, "Watts"),
        line("  Primary % Dissipation =", pctP, "%"),
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
    out.push_back(line("      Total Dissipation =", ptot, "Watts"));
    out.push_back(line("    Total % Dissipation =", pctT, "%"));
    out.push_back(line("          Power Dendity =", density, "W/Sq Meter"));
    out.push_back(line("  Operating Temperature =", fahrenheit, "\u00B0 F"));
    form.list(kList) = std::move(out);
}

void CmdClr_Click(Form& form, CalcEnv& env) {
    form.setText(kPriV, "117.0");
    form.setText(kPriR, "");
    form.setText(kNoSec, "6");
    TxtNoSec_Change(form, env);
    for (int i = 0; i < kRows; ++i)
        for (const char* array : {kSecV, kSecI, kSecR})
            form.setText(indexed(array, i), "");
    for (const char* box : {"TxtX", "TxtY", "TxtZ", "TxtA", "TxtB", "TxtC"})
        form.setText(box, "");
    form.clearOption(kTypeGroup);
    form.list(kList).clear();
    form.setVisible(kImage, false);
}

// The boxes from the fields a load read ("PowerXfm.DAT" or a design), then
// the limits from "CONSTANT.DAT": a description line before each number.
// Limits not read keep their value.
void loadWithLimits(const Calculator& calc, Form& form, CalcEnv& env, const DataFields& fields) {
    StandardLoadFile(calc, form, env, fields);
    TxtNoSec_Change(form, env);
    const auto lines = env.files.readLines(kConstantsFile, 2 * kLimits.size());
    if (!lines)
        return;
    for (std::size_t k = 0; k < kLimits.size() && 2 * k + 1 < lines->size(); ++k)
        form.setValue(kLimits[k], ReadNumber((*lines)[2 * k + 1]));
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

Calculator makePowerTransformer() {
    Calculator calc;
    FormSpec& f = calc.form;
    f.name = "FrmPowerXfm";
    f.caption = "Power Transformer Analysis Calculator";
    f.widthTwips = 11820;
    f.heightTwips = 8325;
    f.left = {box(kPriV, "Primary voltage", "Volts"), box(kPriR, "Primary Resistance", "Ohms"),
              box(kNoSec, "Number of Secondayies", "")};
    for (int i = 0; i < kRows; ++i)
        f.left.push_back(secondaryRow(i));
    f.left.push_back(CheckSpec{kLoading, "Voltages Measured Open Circuit, Correct for Loading."});
    f.left.push_back(ListSpec{kList, {}, {}, 26});
    f.right = {
        box("TxtX", "X", "cm"),
        box("TxtY", "Y", "cm"),
        box("TxtZ", "Z", "cm"),
        box("TxtA", "A", "cm"),
        box("TxtB", "B", "cm"),
        box("TxtC", "C", "cm"),
        GroupSpec{kTypeGroup,
                  "Trensformer Type",
                  {{"OpType1", "Unshieleded"},
                   {"OpType2", "Shielded Top Mount"},
                   {"OpType3", "Shielded Sub Mount"},
                   {kMil, "Military, Potted"}}},
        PictureSpec{kImage, pictureOf(1), "Transformer outline with dimensions X, Y, Z, A, B, C"},
    };
    f.bottom = {HelpBoxSpec{kHelpBox}};
    f.hoverHelp = HoverHelp{kHelpBox, "Frame1", true, {}};

    calc.dataFile = "PowerXfm.DAT";
    calc.fields = {
        {FieldKind::Typed, kPriV}, {FieldKind::Typed, kPriR}, {FieldKind::Typed, kNoSec}};
    for (int i = 0; i < kRows; ++i)
        for (const char* array : {kSecV, kSecR, kSecI})
            calc.fields.push_back({FieldKind::Typed, indexed(array, i)});
    calc.fields.push_back({FieldKind::Option, kTypeGroup});
    for (const char* box : {"TxtX", "TxtY", "TxtZ", "TxtA", "TxtB", "TxtC"})
        calc.fields.push_back({FieldKind::Typed, box});
    calc.fields.push_back({FieldKind::Check, kLoading});
    calc.values.assign(kLimits.begin(), kLimits.end());

    calc.calculate = CmdCalc_Click;
    calc.clear = CmdClr_Click;
    calc.boxes[kNoSec] = TxtNoSec_Change;
    calc.optionSelected = typeClicked;
    calc.loadFile = [](Form& form, CalcEnv& env, const DataFields& fields) {
        loadWithLimits(powerTransformer(), form, env, fields);
    };
    // No picture until a type is chosen.
    calc.setUp = [](Form& form, CalcEnv&, bool) {
        form.setVisible(kImage, form.option(kTypeGroup) != 0);
    };
    return calc;
}

} // namespace

const Calculator& powerTransformer() {
    static const Calculator calc = makePowerTransformer();
    return calc;
}

} // namespace ferrovane
