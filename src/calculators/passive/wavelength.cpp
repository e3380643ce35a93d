#include "calculators/passive/wavelength.h"

#include <cmath>
#include <string>

#include "numeric/eng_text.h"
#include "shell/window_cycle.h"

namespace ferrovane {
namespace {

constexpr const char* kFreq = "TxtFreq";
constexpr const char* kLength = "TxtFeet"; // the length in any unit, metres too
constexpr const char* kInch = "TxtInch";
constexpr const char* kFraction = "TxtFraction";
constexpr const char* kFactor = "TxtFactor";
constexpr const char* kFreqUnit = "Text5";
constexpr const char* kLengthUnit = "Text3";
constexpr const char* kInchUnit = "Text4";
constexpr const char* kOpCy = "OpCy";
constexpr const char* kOpKc = "Opkc";
constexpr const char* kOpMc = "OpMc";
constexpr const char* kOpMeters = "OpMeters";
constexpr const char* kOpFeet = "OpFeet";
constexpr const char* kOpFeetInch = "OpFeetInch";

constexpr double kSpeedOfLight = 3e8; // m/s, the round value users work with
constexpr double kMetresPerFoot = 0.3048;
constexpr double kInchesPerFoot = 12;

constexpr const char* kDataFile = "Wave.dat";
constexpr const char* kFreqGroup = "FrameFreq";
constexpr const char* kLengthGroup = "FrameLength";

// The window keeps the frequency in hertz and the length in metres; the boxes
// show them in the selected units.
constexpr const char* kFreqHz = "FreqHz";
constexpr const char* kLengthM = "LengthM";
// Set once the opening units have been selected, so that only the first load
// of the window starts from hertz and metres.
constexpr const char* kOpened = "Opened";

// A number from the file or a box that cannot be held (it read as infinite)
// counts as zero, like any other text that is not a number.
double finiteOrZero(double x) {
    return std::isfinite(x) ? x : 0.0;
}

// Whole feet and inches are shown as plain whole numbers ("66", "6").
std::string wholeNumberText(double x) {
    return std::isfinite(x) ? PlainNumber(x) : std::string(kEngOutOfRange);
}

// Hertz per unit of the frequency box.
double hertzPerUnit(const Form& form) {
    if (form.selected(kOpKc))
        return 1000;
    if (form.selected(kOpMc))
        return 1e6;
    return 1;
}

// The stored frequency shown in the selected unit.
void showFrequency(Form& form) {
    const double hz = form.value(kFreqHz);
    if (form.selected(kOpKc))
        form.setText(kFreq, FormatEng(hz * 0.001));
    else if (form.selected(kOpMc))
        form.setText(kFreq, FormatEng(hz * 1e-6));
    else
        form.setText(kFreq, FormatEng(hz));
}

// The stored length shown in the selected unit. In feet and inches the inch
// part is rounded, so a length just short of a whole foot shows 12 inches.
void showLength(Form& form) {
    const double metres = form.value(kLengthM);
    if (form.selected(kOpFeetInch)) {
        const double ft = metres / kMetresPerFoot;
        const double wholeFeet = std::floor(ft);
        form.setText(kLength, wholeNumberText(wholeFeet));
        form.setText(kInch, wholeNumberText(std::floor((ft - wholeFeet) * kInchesPerFoot + 0.5)));
    } else if (form.selected(kOpFeet)) {
        form.setText(kLength, FormatEng(metres / kMetresPerFoot));
    } else {
        form.setText(kLength, FormatEng(metres));
    }
}

// The length the boxes give, in metres, read in the selected unit.
double typedMetres(const Form& form) {
    const double length = form.number(kLength);
    if (form.selected(kOpFeetInch))
        return (length + form.number(kInch) / kInchesPerFoot) * kMetresPerFoot;
    if (form.selected(kOpFeet))
        return length * kMetresPerFoot;
    return length;
}

// Selecting a unit relabels the box and shows the stored value in that unit.
Handler frequencyUnit(const char* unit) {
    return [unit](Form& form, CalcEnv&) {
        form.setText(kFreqUnit, unit);
        showFrequency(form);
    };
}

Handler lengthUnit(const char* unit, bool feetAndInches) {
    return [unit, feetAndInches](Form& form, CalcEnv&) {
        form.setText(kLengthUnit, unit);
        form.setVisible(kInch, feetAndInches);
        form.setVisible(kInchUnit, feetAndInches);
        showLength(form);
    };
}

void selectUnit(Form& form, CalcEnv& env, const std::string& option) {
    selectOption(wavelength(), form, env, option);
}

// A stored unit number selects its option; any other number leaves the group
// as the cycling left it.
void selectStoredUnit(Form& form, CalcEnv& env, const char* group, const std::string& field) {
    const double n = ReadNumber(field);
    const std::vector<std::string> options = form.options(group); // selecting replaces the form
    for (std::size_t k = 0; k < options.size(); ++k)
        if (n == static_cast<double>(k + 1))
            selectUnit(form, env, options[k]);
}

// The file holds the two stored numbers rather than the boxes. After the
// numbers and the typed fraction and factor, every unit of a group is
// selected in turn and then the stored one, so the boxes end up showing the
// stored values in the stored units. A short file stops where it ends.
void LoadFile(Form& form, CalcEnv& env, const DataFields& fields) {
    if (form.value(kOpened) == 0) {
        selectUnit(form, env, kOpMeters);
        selectUnit(form, env, kOpCy);
        form.setValue(kOpened, 1);
    }
    if (!fields)
        return;
    const auto& f = *fields; // f[0] is the example flag, not re-read here
    if (f.size() < 2)
        return;
    form.setValue(kFreqHz, finiteOrZero(ReadNumber(f[1])));
    form.setText(kFreq, PlainNumber(form.value(kFreqHz)));
    if (f.size() < 3)
        return;
    form.setValue(kLengthM, finiteOrZero(ReadNumber(f[2])));
    form.setText(kLength, PlainNumber(form.value(kLengthM)));
    if (f.size() < 4)
        return;
    form.setText(kFraction, f[3]);
    if (f.size() < 5)
        return;
    form.setText(kFactor, f[4]);
    for (const char* option : {kOpCy, kOpKc, kOpMc})
        selectUnit(form, env, option);
    if (f.size() < 6)
        return;
    selectStoredUnit(form, env, kFreqGroup, f[5]);
    for (const char* option : {kOpMeters, kOpFeet, kOpFeetInch})
        selectUnit(form, env, option);
    if (f.size() < 7)
        return;
    selectStoredUnit(form, env, kLengthGroup, f[6]);
}

// length = fraction x factor x c / f, for whichever of length and frequency
// is given. A fraction or factor left at zero means 1.
void CmdCalc_Click(Form& form, CalcEnv& env) {
    const double length = form.number(kLength);
    const double f = form.number(kFreq);
    double fraction = form.number(kFraction);
    double factor = form.number(kFactor);

    if (fraction == 0) {
        fraction = 1;
        form.setText(kFraction, "1.0");
    }
    if (factor == 0) {
        factor = 1;
        form.setText(kFactor, "1.0");
    }
    if (f == 0 && length == 0) {
        env.dialogs.say("Enter a frequency or a length.");
        return;
    }
    if (f == 0) {
        const double metres = checkFinite(typedMetres(form), "the length is out of range");
        form.setValue(kLengthM, metres);
        form.setValue(kFreqHz, checkFinite(fraction * factor * kSpeedOfLight / metres,
                                           "the frequency for this length is out of range"));
        showFrequency(form);
        return;
    }
    if (length == 0) {
        const double hz = checkFinite(f * hertzPerUnit(form), "the frequency is out of range");
        form.setValue(kFreqHz, hz);
        form.setValue(kLengthM, checkFinite(fraction * factor * kSpeedOfLight / hz,
                                            "the length for this frequency is out of range"));
        showLength(form);
    }
    // Both given: there is nothing to solve for.
}

// Close saves what the boxes show. A box that still shows the stored value
// as the unit redisplay wrote it keeps the stored value at full precision
// (switching units and closing loses nothing); a box the user changed gives
// its own value in its unit; a box that reads zero saves zero.
void saveShownValues(Form& form, CalcEnv&) {
    Form redisplayed = form;
    showFrequency(redisplayed);
    showLength(redisplayed);
    const auto unchanged = [&](const char* box) {
        return TrimBlanks(form.text(box)) == TrimBlanks(redisplayed.text(box));
    };

    // A value beyond the engineering range shows as the out-of-range text,
    // which reads as 0; left as shown, it keeps the value it stands for.
    const auto beyondRange = [&](const char* box) {
        const std::string shown = TrimBlanks(form.text(box));
        return unchanged(box) && !shown.empty() &&
               shown.substr(1) == TrimBlanks(kEngOutOfRange).substr(1);
    };

    // A box that reads 0 stores 0; a box the user changed stores what it
    // shows; one left showing the out-of-range text keeps the stored value.
    const auto store = [&form](const char* value, double shown, bool changed, bool beyond) {
        if (beyond)
            return;
        if (shown == 0)
            form.setValue(value, 0);
        else if (changed)
            form.setValue(value, shown);
    };
    store(kFreqHz, finiteOrZero(form.number(kFreq) * hertzPerUnit(form)), !unchanged(kFreq),
          beyondRange(kFreq));
    const bool lengthUnchanged =
        unchanged(kLength) && (!form.selected(kOpFeetInch) || unchanged(kInch));
    store(kLengthM, finiteOrZero(typedMetres(form)), !lengthUnchanged, beyondRange(kLength));
}

// Clear returns to hertz and metres (showing the stored values), then empties
// the boxes; the stored values themselves are kept.
void CmdClr_Click(Form& form, CalcEnv& env) {
    selectUnit(form, env, kOpMeters);
    selectUnit(form, env, kOpCy);
    for (const auto& box : wavelength().clearBoxes)
        form.setText(box, "");
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form02";
    f.caption = "Antenna and Tuned Transmissionline Calculator";
    f.widthTwips = 6500;
    f.heightTwips = 5565;
    f.left = {
        box(kFreq, "", "Hertz", "", "", kFreqUnit),
        box(kLength, "", "Meters", "", "", kLengthUnit),
        box(kInch, "", "Inches", "", "", kInchUnit),
        box(kFraction, "Fraction of Wavelength", ""),
        box(kFactor, "Velocity or End Effect Factor", ""),
    };
    f.right = {
        GroupSpec{kFreqGroup,
                  "Enter Frequency In ...",
                  {{kOpCy, "Hertz"}, {kOpKc, "Kilohertz"}, {kOpMc, "Megahertz"}},
                  1},
        GroupSpec{kLengthGroup,
                  "Enter Length In ...",
                  {{kOpMeters, "Meters"}, {kOpFeet, "Feet"}, {kOpFeetInch, "Feet and Inches"}},
                  1},
    };
    return f;
}

Calculator makeWavelength() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = kDataFile;
    calc.fields = {
        {FieldKind::Value, kFreqHz},           {FieldKind::Value, kLengthM},
        {FieldKind::Typed, kFraction},         {FieldKind::Typed, kFactor},
        {FieldKind::OptionNumber, kFreqGroup}, {FieldKind::OptionNumber, kLengthGroup},
    };
    calc.clearBoxes = {kFreq, kLength, kFraction, kFactor};
    calc.calculate = CmdCalc_Click;
    calc.options = {{kOpCy, frequencyUnit("Hertz")},      {kOpKc, frequencyUnit("kHz")},
                    {kOpMc, frequencyUnit("MHz")},        {kOpMeters, lengthUnit("Meters", false)},
                    {kOpFeet, lengthUnit("Feet", false)}, {kOpFeetInch, lengthUnit("Feet", true)}};
    calc.values = {kFreqHz, kLengthM, kOpened};
    calc.clear = CmdClr_Click;
    calc.loadFile = LoadFile;
    calc.beforeSave = saveShownValues;
    return calc;
}

} // namespace

const Calculator& wavelength() {
    static const Calculator calc = makeWavelength();
    return calc;
}

} // namespace ferrovane
