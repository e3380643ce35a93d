#include "calculators/amplifier/tube_gain.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"
#include "shell/window_cycle.h"

namespace ferrovane {
namespace tube {

// The grid resistor of the next stage from the drop-down text: the number up
// to the first blank, then "k" or "Meg".
double gridResistor(const std::string& text) {
    std::size_t cut = text.find(' ');
    if (cut == std::string::npos)
        cut = text.empty() ? 0 : text.size() - 1;
    const double value = ReadNumber(std::string_view(text).substr(0, cut + 1));
    const std::string suffix = text.size() > cut + 1 ? text.substr(cut + 1) : std::string();
    if (suffix == "k")
        return value * 1000;
    if (suffix == "Meg")
        return value * 1000000;
    return value;
}

double stageGain(double mu, double rp, double rb, double rcf, double rk, bool bypassed) {
    if (rcf + rb == 0)
        throw NumericFault("Rcf + Rb is 0 ohms");
    const double rl = rcf * rb / (rcf + rb);
    const double denominator = bypassed ? rp + rl : (mu + 1) * rk + (rp + rl);
    if (denominator == 0)
        throw NumericFault("the gain's denominator is 0");
    return checkFinite(mu * rl / denominator);
}

} // namespace tube

namespace {

using tube::gridResistor;

constexpr const char* kRp = "Text2";
constexpr const char* kMu = "Text3";
constexpr const char* kGm = "Text4";
constexpr const char* kRcf = "Combo1";
constexpr const char* kRb = "Text5";
constexpr const char* kRk = "Text6";
constexpr const char* kRbValue = "Text5g";
constexpr const char* kRkValue = "Text6g";
constexpr const char* kTubeType = "Text7";
constexpr const char* kList = "List1";
constexpr const char* kPicture = "Image1";
constexpr const char* kTubeGroup = "Frame3";
constexpr const char* kBypassGroup = "Frame4";
constexpr const char* kTriode = "Option1";
constexpr const char* kPentode = "Option2";
constexpr const char* kBypassed = "Option3";
constexpr const char* kNotBypassed = "Option4";
constexpr const char* kCode = "OptionCode";
constexpr const char* kSelect = "Select";

// The option code of the data file: one bit for each option button.
constexpr int kTriodeBit = 1;
constexpr int kPentodeBit = 2;
constexpr int kBypassedBit = 4;
constexpr int kNotBypassedBit = 8;

// Transconductance is typed in micromhos.
constexpr double kMicro = 0.000001;

void setStandard(Form& form, const char* box, const char* companion, double ohms) {
    const StandardValue v = NearestStandardValue(ohms);
    form.setText(box, v.text);
    form.setText(companion, PlainNumber(v.value));
}

// A resistor box takes "k", "M" and "Meg" after its number and shows the
// nearest standard value; its hidden companion keeps that value in ohms.
void standardResistor(Form& form, const char* box, const char* companion) {
    setStandard(form, box, companion, readSuffixedOhms(form.text(box)).ohms);
}

// Each pair of options has its own circuit picture.
void optionClicked(Form& form, CalcEnv&, const std::string&) {
    const bool triode = form.selected(kTriode);
    if (triode || form.selected(kPentode)) {
        form.setEnabled(kMu, triode);
        form.setEnabled(kGm, !triode);
    }
    form.setVisible(kPicture, true);
    const int bypass = form.option(kBypassGroup);
    if (form.option(kTubeGroup) != 0 && bypass != 0)
        form.setText(kPicture, std::string("VT-") + (triode ? "T" : "P") +
                                   (bypass == 1 ? "-BYP.GIF" : "-UBY.GIF"));
}

void CmdCalc_Click(Form& form, CalcEnv& env) {
    const double rp = form.number(kRp);
    double mu = form.number(kMu);
    double gm = form.number(kGm);
    const double rb = form.number(kRbValue);
    const double rk = form.number(kRkValue);
    if (rp == 0 || mu == 0 || gm == 0 || rb == 0 || rk == 0) {
        env.dialogs.say("All data must be entered.");
        return;
    }
    if (form.option(kTubeGroup) == 0) {
        env.dialogs.say("Select Triode or Pentode amplifier.");
        return;
    }
    if (form.option(kBypassGroup) == 0) {
        env.dialogs.say("Select cathode bypass condition.");
        return;
    }
    const double rcf = gridResistor(form.text(kRcf));
    if (rcf == 0) {
        env.dialogs.say("Please select a value for the 'Following Stage Grid Resistor' from "
                        "the dropdown list.");
        return;
    }
    // A triode is given by its amplification factor, a pentode by its
    // transconductance; gm = mu / rp gives the other.
    const bool triode = form.selected(kTriode);
    form.setEnabled(kMu, triode);
    form.setEnabled(kGm, !triode);
    if (triode) {
        gm = mu * 1000000 / rp;
        form.setText(kGm, PlainNumber(gm));
    } else {
        mu = gm * kMicro * rp;
        form.setText(kMu, PlainNumber(mu));
    }

    const double gain = tube::stageGain(mu, rp, rb, rcf, rk, form.selected(kBypassed));
    if (!(gain > 0))
        throw NumericFault("the gain is not positive, so it has no value in dB");
    const double db = std::floor(20 * std::log(gain) / std::log(10.0) * 10 + 0.5) / 10;
    form.list(kList) = {"      Gain =" + engText(gain), "Gain in dB = " + PlainNumber(db)};
}

// The option code: Triode 1, Pentode 2, bypassed 4, NOT bypassed 8.
int optionCode(const Form& form) {
    return (form.selected(kTriode) ? kTriodeBit : 0) + (form.selected(kPentode) ? kPentodeBit : 0) +
           (form.selected(kBypassed) ? kBypassedBit : 0) +
           (form.selected(kNotBypassed) ? kNotBypassedBit : 0);
}

void LoadFile(Form& form, CalcEnv& env, const DataFields& fields) {
    if (!fields)
        return;
    const auto& f = *fields;
    const char* typed[] = {kRp, kMu, kGm, kRcf};
    for (std::size_t i = 0; i < 4 && i + 1 < f.size(); ++i)
        form.setText(typed[i], f[i + 1]);
    if (f.size() > 5)
        setStandard(form, kRb, kRbValue, ReadNumber(f[5]));
    if (f.size() > 6)
        setStandard(form, kRk, kRkValue, ReadNumber(f[6]));
    if (f.size() > 7) {
        const double code = std::nearbyint(ReadNumber(f[7]));
        const long long bits = code >= 0 && code < 1e15 ? static_cast<long long>(code) : 0;
        const std::pair<int, const char*> options[] = {{kTriodeBit, kTriode},
                                                       {kPentodeBit, kPentode},
                                                       {kBypassedBit, kBypassed},
                                                       {kNotBypassedBit, kNotBypassed}};
        for (const auto& [bit, option] : options)
            if ((bits & bit) != 0)
                selectOption(tubeGain(), form, env, option);
    }
    if (f.size() > 8)
        form.setText(kTubeType, f[8]);
}

// A resistor box left: its text becomes the nearest standard value.
void plateResistorLeft(Form& form, CalcEnv&) {
    standardResistor(form, kRb, kRbValue);
}

void cathodeResistorLeft(Form& form, CalcEnv&) {
    standardResistor(form, kRk, kRkValue);
}

// Close writes the options as their code.
void beforeSave(Form& form, CalcEnv&) {
    form.setValue(kCode, optionCode(form));
}

// The picture shows once an option is chosen.
void setUp(Form& form, CalcEnv&, bool) {
    if (form.option(kTubeGroup) == 0 && form.option(kBypassGroup) == 0)
        form.setVisible(kPicture, false);
}

void CmdClr_Click(Form& form, CalcEnv&) {
    for (const char* box : {kRp, kMu, kGm, kRb, kRk, kTubeType, kRbValue, kRkValue})
        form.setText(box, "");
    form.setText(kRcf, kSelect);
    form.list(kList).clear();
    form.clearOption(kTubeGroup);
    form.clearOption(kBypassGroup);
    form.setVisible(kPicture, false);
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form15";
    f.caption = "Small Signal Vacuum Tube Gain";
    f.widthTwips = 9600;
    f.heightTwips = 6840;
    // The resistor boxes take "k", "M" and "Meg" and snap to a standard value
    // when left; the tube type is a name.
    BoxSpec rb = box(kRb, "Plate Resistor, Rb", "Ohms");
    rb.reading = BoxReading::SuffixedOhms;
    BoxSpec rk = box(kRk, "Cathode Resistor, Rk", "Ohms");
    rk.reading = BoxReading::SuffixedOhms;
    BoxSpec tubeType = box(kTubeType, "Tube Type, Optional", "");
    tubeType.reading = BoxReading::FreeText;
    BoxSpec rbValue = box(kRbValue, "Plate Resistor, Rb, in ohms", "Ohms");
    rbValue.visible = false;
    BoxSpec rkValue = box(kRkValue, "Cathode Resistor, Rk, in ohms", "Ohms");
    rkValue.visible = false;
    // A frame caption is one line: the two lines of each caption run on.
    f.left = {
        frame("Frame1", "Tube Parameters, look them up in a tube manual.", Direction::Vertical,
              {box(kRp, "Plate Resistance, not a resistor.", "Ohms"),
               box(kMu, "Amplification Factoe,\nfor Triodes", "Volts/Volt"),
               box(kGm, "Transconductance,\nfor Pentodes", "Micromhos")}),
        frame(
            "Frame2", "Circuit Parameters, real resistors", Direction::Vertical,
            {ComboSpec{kRcf,
                       "Following Stage\nGrid Resistor, Rcf",
                       {kSelect, "100 k", "220 k", "270 k", "470 k", "1 Meg", "3.3 Meg", "10 Meg"},
                       kSelect,
                       false,
                       "Ohms"},
             rb, rk, rbValue, rkValue}),
        LabelSpec{"Label1",
                  "Resistors you enter will be converted \nto the nearest 5% standard value."},
        tubeType,
    };
    f.right = {
        GroupSpec{kTubeGroup, "", {{kTriode, "Triode"}, {kPentode, "Pentode"}}},
        GroupSpec{kBypassGroup,
                  "",
                  {{kBypassed, "Cathode Resistor bypassed"},
                   {kNotBypassed, "Cathode Resistor NOT bypassed"}}},
        PictureSpec{kPicture, "VT-T-BYP.GIF", "Vacuum tube stage with Rb, Rk and Rcf"},
    };
    f.bottom = {ListSpec{kList, "", "", 2}};
    f.buttons = {{"CmdCalc", "Calculate"},         {"CmdClr", "Clear Data"},
                 {"CmdLoadData", "Load Last Run"}, {"CmdClose", "Close"},
                 {"Command1", "Run Test"},         {"Command2", "Close"}};
    return f;
}

Calculator makeTubeGain() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "Tubes.dat";
    calc.fields = {{FieldKind::Typed, kRp},      {FieldKind::Typed, kMu},
                   {FieldKind::Typed, kGm},      {FieldKind::Typed, kRcf},
                   {FieldKind::Typed, kRbValue}, {FieldKind::Typed, kRkValue},
                   {FieldKind::Value, kCode},    {FieldKind::Typed, kTubeType}};
    calc.calculate = CmdCalc_Click;
    calc.clear = CmdClr_Click;
    calc.loadFile = LoadFile;
    calc.optionSelected = optionClicked;
    calc.lostFocus = {{kRb, plateResistorLeft}, {kRk, cathodeResistorLeft}};
    calc.beforeSave = beforeSave;
    calc.setUp = setUp;
    calc.netlist = tubeGainNetlist;
    return calc;
}

} // namespace

namespace tube {

std::optional<Stage> stageOf(const Form& form) {
    Stage s;
    s.rp = form.number(kRp);
    s.rb = form.number(kRbValue);
    s.rk = form.number(kRkValue);
    s.rcf = gridResistor(form.text(kRcf));
    s.triode = form.selected(kTriode);
    s.bypassed = form.selected(kBypassed);
    if (form.option(kTubeGroup) == 0 || form.option(kBypassGroup) == 0)
        return std::nullopt;
    // As Calculate takes them: mu for a triode, gm (micromhos) for a pentode.
    s.mu = s.triode ? form.number(kMu) : form.number(kGm) * kMicro * s.rp;
    if (!(s.rp > 0) || !(s.mu > 0) || !(s.rb > 0) || !(s.rk > 0) || !(s.rcf > 0))
        return std::nullopt;
    s.gain = stageGain(s.mu, s.rp, s.rb, s.rcf, s.rk, s.bypassed);
    return s;
}

} // namespace tube

const Calculator& tubeGain() {
    static const Calculator calc = makeTubeGain();
    return calc;
}

} // namespace ferrovane
