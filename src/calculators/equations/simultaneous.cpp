#include "calculators/equations/simultaneous.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "calculators/equations/loop_solution.h"
#include "numeric/complex_text.h"
#include "numeric/constants.h"
#include "numeric/determinant.h"
#include "numeric/eng_text.h"
#include "shell/window_cycle.h"

namespace ferrovane {
namespace {

constexpr const char* kMethod = "FrameMethod";
constexpr const char* kOpEqu = "OpEqu";
constexpr const char* kOpImp = "OpImp";
constexpr const char* kOpCmp = "OpCmp";
constexpr const char* kLoopsCombo = "ComNum"; // ComNum1..3, one for each method
constexpr const char* kList = "List1";
constexpr const char* kFrequency = "Text4";
constexpr const char* kFrequencyLabel = "LblFreq";
constexpr const char* kFrequencyUnit = "LblHertz";
constexpr const char* kVtrCaption = "Text3";
constexpr const char* kFrameEqu = "FrameEqu";
constexpr const char* kFrameImp = "FrameImp";
constexpr const char* kFrameImpSources = "FrameImpE";
constexpr const char* kFrameCmp = "FrameCmp";
constexpr const char* kFrameCmpSources = "FrameCmpE";
constexpr const char* kCalc = "CmdCalc";

constexpr const char* kPlusMinusJ = "\u00B1j";

using loops::kMaxLoops;
using loops::System;
using loops::text;
constexpr int kMinLoops = 2;
constexpr int kBranches = 2 * kMaxLoops;
// TxtK / TxtKX: the constants K1..K6, then the sources E0..E12 of the
// impedance method, then those of the component method.
constexpr int kImpSources = 6;
constexpr int kCmpSources = 13;

constexpr const char* kNoK = "At least one K value MUST be nonzero.";
constexpr const char* kNoE = "At least one E value MUST be nonzero.";
constexpr const char* kNoFrequency = "We need a value for Frequency.";
constexpr const char* kNoCapacitor =
    "If there is no capacitor, enter a single * in the capacitor box.";
constexpr const char* kNoMethod =
    "Choose an input method first: Equations, Impedances or Component Values.";
constexpr const char* kSingular =
    "The equations have no unique solution: their determinant is zero.";

enum Method { None = 0, Equations = 1, Impedances = 2, Components = 3 };

std::string R(int k) {
    return indexed("TxtR", k);
}
std::string X(int k) {
    return indexed("TxtX", k);
}
std::string K(int i) {
    return indexed("TxtK", i);
}
std::string KX(int i) {
    return indexed("TxtKX", i);
}
std::string Z(int i) {
    return indexed("TxtZ", i);
}
std::string RLC(int i) {
    return indexed("TxtRLC", i);
}
// The captions of a coefficient ("I11" and its "±j") and of a source.
std::string coefficientLabel(int k) {
    return indexed("TxtI", k);
}
std::string coefficientJ(int k) {
    return indexed("TxtJ", k);
}
std::string sourceLabel(int i) {
    return indexed("Text2", i);
}
std::string sourceJ(int i) {
    return indexed("TxtKJ", i);
}
std::string combo(int method) {
    return kLoopsCombo + std::to_string(method);
}

// The boxes of branch n of the impedance ladder and of branch b of the
// component ladder.
std::string zReal(int n) {
    return Z(5 * n - 4);
}
std::string zImag(int n) {
    return Z(5 * n - 2);
}
std::string branchR(int b) {
    return RLC(4 * b - 3);
}
std::string branchL(int b) {
    return RLC(4 * b - 2);
}
std::string branchC(int b) {
    return RLC(4 * b - 1);
}

// A coefficient or source as a complex value text, with the "J" the
// equations use or the "j" of a branch impedance.
std::string pairText(double re, double im, const char* j) {
    return text(re) + " + " + j + text(im);
}

// The number of loops in a box: the nearest whole number, 2 to 6.
int loopsIn(const std::string& typed) {
    const double x = std::clamp(ReadNumber(typed), double(kMinLoops), double(kMaxLoops));
    return static_cast<int>(std::nearbyint(x));
}

void setShown(Form& form, const std::vector<std::string>& names, bool on) {
    for (const auto& name : names)
        form.setVisible(name, on);
}

// A source row: its label, the two boxes and the "±j" between them.
std::vector<std::string> sourceRow(int i) {
    return {sourceLabel(i), K(i), sourceJ(i), KX(i)};
}

// Shows the rows and columns of a method's boxes up to n loops.
void showLoops(Form& form, int method, int n) {
    if (method == Equations) {
        for (int k = 0; k < kMaxLoops * kMaxLoops; ++k) {
            const int r = k / kMaxLoops + 1;
            const int c = k % kMaxLoops + 1;
            setShown(form, {R(k), X(k), coefficientJ(k), coefficientLabel(k)}, r <= n && c <= n);
        }
        for (int i = 0; i < kMaxLoops; ++i)
            setShown(form, sourceRow(i), i < n);
        return;
    }
    const int sources = method == Impedances ? kImpSources : kCmpSources;
    for (int b = 1; b <= kBranches; ++b) {
        if (method == Impedances)
            setShown(form, {Z(5 * b - 5), Z(5 * b - 4), Z(5 * b - 3), Z(5 * b - 2), Z(5 * b - 1)},
                     b <= 2 * n);
        else
            setShown(form, {RLC(4 * b), branchR(b), branchL(b), branchC(b)}, b <= 2 * n);
    }
    for (int m = 0; m <= kMaxLoops; ++m)
        setShown(form, sourceRow(sources + m), m <= n);
}

// ComNumN_Change: the count is clamped, written back and applied.
void loopsChanged(Form& form, int method) {
    const int n = loopsIn(form.text(combo(method)));
    form.setText(combo(method), std::to_string(n));
    showLoops(form, method, n);
}

// Each method shows its own frames. The equations' grid lies under the
// ladder frames, so it goes while a ladder is shown; with no method chosen
// the window shows the grid.
void showMethod(Form& form) {
    const int method = form.option(kMethod);
    setShown(form, {kFrameEqu}, method == Equations || method == None);
    setShown(form, {kFrameImp, kFrameImpSources}, method == Impedances);
    setShown(form, {kFrameCmp, kFrameCmpSources, kFrequency, kFrequencyLabel, kFrequencyUnit},
             method == Components);
    setShown(form, {kVtrCaption}, method == Impedances || method == Components);
}

void applyAll(Form& form) {
    showMethod(form);
    for (int method = Equations; method <= Components; ++method)
        loopsChanged(form, method);
}

void OpEqu_Click(Form& form, CalcEnv&) {
    showMethod(form);
}

void OpImp_Click(Form& form, CalcEnv&) {
    showMethod(form);
}

void OpCmp_Click(Form& form, CalcEnv&) {
    showMethod(form);
}

void ComNum1_Change(Form& form, CalcEnv&) {
    loopsChanged(form, Equations);
}

void ComNum2_Change(Form& form, CalcEnv&) {
    loopsChanged(form, Impedances);
}

void ComNum3_Change(Form& form, CalcEnv&) {
    loopsChanged(form, Components);
}

// Setting a loop count from the file has the effect of choosing it.
void LoadFile(Form& form, CalcEnv& env, const DataFields& fields) {
    StandardLoadFile(simultaneousEquations(), form, env, fields);
    applyAll(form);
}

void setUp(Form& form, CalcEnv&, bool) {
    applyAll(form);
}

// ---- Calculate ----------------------------------------------------------

bool isZero(const Form& form, const std::string& re, const std::string& im) {
    return form.number(re) == 0 && form.number(im) == 0;
}

std::string firstConstant(const Form& form, int i) {
    return text(form.number(K(i))) + " + j " + text(form.number(KX(i)));
}

std::optional<System> equationsSystem(const Form& form, std::string& message) {
    System s;
    s.n = loopsIn(form.text(combo(Equations)));
    bool anyK = false;
    for (int r = 1; r <= s.n; ++r) {
        for (int c = 1; c <= s.n; ++c) {
            const int k = (r - 1) * kMaxLoops + c - 1;
            s.m(r, c) = pairText(form.number(R(k)), form.number(X(k)), "J");
        }
        s.b[r] = pairText(-form.number(K(r - 1)), -form.number(KX(r - 1)), "J");
        anyK = anyK || !isZero(form, K(r - 1), KX(r - 1));
    }
    if (!anyK) {
        message = kNoK;
        return std::nullopt;
    }
    s.e0 = firstConstant(form, 0);
    return s;
}

// The branches of the impedance ladder, R + jX as typed.
void readImpedances(const Form& form, Ladder& ladder) {
    for (int b = 1; b <= 2 * ladder.n; ++b)
        ladder.branches[b] = {form.number(zReal(b)), form.number(zImag(b)), 0, std::nullopt};
}

// The branches of the component ladder: X = wL - 1 / wC, or wL alone for a
// single "*" in the capacitor box (the branch has no capacitor).
bool readComponents(const Form& form, Ladder& ladder, std::string& message) {
    if (ladder.f == 0) {
        message = kNoFrequency;
        return false;
    }
    const double omega = checkFinite(2 * Pi * ladder.f);
    for (int b = 1; b <= 2 * ladder.n; ++b) {
        LadderBranch& branch = ladder.branches[b];
        branch.r = form.number(branchR(b));
        branch.l = form.number(branchL(b));
        branch.x = omega * branch.l;
        if (TrimBlanks(form.text(branchC(b))) != "*") {
            branch.c = form.number(branchC(b));
            if (*branch.c == 0) {
                message = kNoCapacitor;
                return false;
            }
            branch.x -= 1 / (omega * *branch.c);
        }
    }
    return true;
}

// The ladder: E0 drives loop 1, odd branches are series arms of one loop,
// branch 2m is the shunt arm shared by loops m and m + 1 with E(2m) in series
// with it. Every term of the loop equations is negated, which leaves the
// currents as they are.
std::optional<System> ladderSystem(const Ladder& ladder, std::string& message) {
    System s;
    s.n = ladder.n;
    s.ladder = true;
    s.loadR = ladder.branches[2 * ladder.n].r;
    std::vector<std::string> branch{std::string(kCplxEmpty)};
    for (int b = 1; b <= 2 * ladder.n; ++b)
        branch.push_back(pairText(ladder.branches[b].r, ladder.branches[b].x, "j"));
    std::vector<std::string> negE;
    bool anyE = false;
    for (const Complex& e : ladder.sources) {
        negE.push_back(pairText(-e.re, -e.im, "J"));
        anyE = anyE || e.re != 0 || e.im != 0;
    }
    for (int m = 1; m <= s.n; ++m) {
        s.m(m, m) = CplxSub(CplxSub(CplxSub(kCplxEmpty, branch[2 * m - 2]), branch[2 * m - 1]),
                            branch[2 * m]);
        if (m >= 2)
            s.m(m, m - 1) = branch[2 * m - 2];
        if (m < s.n)
            s.m(m, m + 1) = branch[2 * m];
        s.b[m] = CplxSub(negE[m - 1], negE[m]);
    }
    if (!anyE) {
        message = kNoE;
        return std::nullopt;
    }
    const Complex e0 = ladder.sources.front();
    s.e0 = text(e0.re) + " + j " + text(e0.im);
    return s;
}

} // namespace

std::optional<Ladder> ladderOf(const Form& form, std::string& message) {
    const int method = form.option(kMethod);
    if (method != Impedances && method != Components)
        return std::nullopt;
    Ladder ladder;
    ladder.components = method == Components;
    ladder.n = loopsIn(form.text(combo(method)));
    ladder.branches.resize(2 * static_cast<std::size_t>(ladder.n) + 1);
    const int sources = ladder.components ? kCmpSources : kImpSources;
    for (int m = 0; m <= ladder.n; ++m)
        ladder.sources.push_back({form.number(K(sources + m)), form.number(KX(sources + m))});
    if (!ladder.components) {
        readImpedances(form, ladder);
        return ladder;
    }
    ladder.f = form.number(kFrequency);
    if (!readComponents(form, ladder, message))
        return std::nullopt;
    return ladder;
}

std::optional<System> loopSystem(const Form& form, std::string& message) {
    switch (form.option(kMethod)) {
    case Equations:
        return equationsSystem(form, message);
    case Impedances:
    case Components:
        if (const std::optional<Ladder> ladder = ladderOf(form, message))
            return ladderSystem(*ladder, message);
        return std::nullopt;
    default:
        message = kNoMethod;
        return std::nullopt;
    }
}

namespace {

void listSolution(Form& form, CalcEnv& env) {
    form.list(kList).clear();
    std::string message;
    const std::optional<System> system = loopSystem(form, message);
    if (!system) {
        env.dialogs.say(message);
        return;
    }
    if (std::optional<std::vector<std::string>> lines = loops::solutionLines(*system))
        form.list(kList) = std::move(*lines);
    else
        env.dialogs.say(kSingular, MessageIcon::Exclamation);
}

// Calculate is disabled while it works and enabled again however it ends.
// The work is synchronous, so the user never sees it disabled; a numeric
// fault drops this copy of the form and leaves the window's button as it was.
void CmdCalc_Click(Form& form, CalcEnv& env) {
    struct Enable {
        Form& form;
        ~Enable() { form.setEnabled(kCalc, true); }
    } enableAgain{form};
    form.setEnabled(kCalc, false);
    listSolution(form, env);
}

// ---- The window ---------------------------------------------------------

// A box of a grid: no label or unit of its own unless given, and a name for
// a screen reader that tells it from its neighbours.
BoxSpec gridBox(std::string name, std::string accessible, std::string label = {},
                std::string labelName = {}, std::string unit = {}, std::string unitName = {}) {
    BoxSpec b = box(std::move(name), std::move(label), std::move(unit), {}, std::move(labelName),
                    std::move(unitName));
    b.accessibleName = std::move(accessible);
    return b;
}

ComboSpec loopsCombo(int method) {
    return ComboSpec{.name = combo(method),
                     .label = "Number of Loops",
                     .items = {"2", "3", "4", "5", "6"},
                     .initial = "2",
                     .editable = true};
}

// A frame that shows and hides with the input method.
ControlSpec methodFrame(std::string name, std::string caption, std::vector<ControlSpec> children) {
    return frame(std::move(name), std::move(caption), Direction::Vertical, std::move(children),
                 {.visible = false});
}

// A row of a source grid: "E0" real "±j" imaginary.
ControlSpec sourceCell(int i, const std::string& label, int column) {
    if (column == 0)
        return gridBox(K(i), label + " real", label, sourceLabel(i), kPlusMinusJ, sourceJ(i));
    return gridBox(KX(i), label + " imaginary");
}

ControlSpec sourceFrame(const char* name, int first) {
    return methodFrame(name, "Sources",
                       {grid(std::string(name) + "Grid", kMaxLoops + 1, 2, [first](int m, int c) {
                           return sourceCell(first + m, "E" + std::to_string(2 * m), c);
                       })});
}

// Equation r, as it reads: Mr1 ... Mr6, then Kr, each a real box with
// "±j" after it and an imaginary box; the tab order runs along the rows.
ControlSpec equationCell(int r, int column) {
    if (column >= 2 * kMaxLoops)
        return sourceCell(r, "K" + std::to_string(r + 1), column - 2 * kMaxLoops);
    const int k = r * kMaxLoops + column / 2;
    const std::string label = "I" + std::to_string(r + 1) + std::to_string(column / 2 + 1);
    if (column % 2 == 0)
        return gridBox(R(k), label + " real", label, coefficientLabel(k), kPlusMinusJ,
                       coefficientJ(k));
    return gridBox(X(k), label + " imaginary");
}

ControlSpec impedanceCell(int row, int column) {
    const int n = row + 1;
    const std::string z = "Z" + std::to_string(n);
    switch (column) {
    case 0:
        return LabelSpec{Z(5 * n - 5), z + " = "};
    case 1:
        return gridBox(zReal(n), z + " real");
    case 2:
        return LabelSpec{Z(5 * n - 3), kPlusMinusJ};
    case 3:
        return gridBox(zImag(n), z + " imaginary");
    default:
        return LabelSpec{Z(5 * n - 1), "Ohms"};
    }
}

ControlSpec componentCell(int row, int column) {
    const int b = row + 1;
    const std::string branch = "Branch " + std::to_string(b);
    switch (column) {
    case 0:
        return LabelSpec{RLC(4 * b), std::to_string(b)};
    case 1:
        return gridBox(branchR(b), branch + " resistor");
    case 2:
        return gridBox(branchL(b), branch + " inductor");
    default: {
        BoxSpec capacitor = gridBox(branchC(b), branch + " capacitor");
        capacitor.reading = BoxReading::NumberOrStar;
        return capacitor;
    }
    }
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form5x5";
    f.caption = "Simultaneous Equations Calculator";
    f.widthTwips = 12000;
    f.heightTwips = 8550;

    BoxSpec frequency = box(kFrequency, "Frequency", "Hertz", {}, kFrequencyLabel, kFrequencyUnit);
    frequency.visible = false;

    // One column: the method, then the boxes of the chosen method (a ladder's
    // rows, its sources and its picture), then the results. The boxes scroll
    // as one when the screen is too small for them.
    f.left = {
        GroupSpec{.name = kMethod,
                  .caption = "Input Method",
                  .options = {{kOpEqu, "Equations"},
                              {kOpImp, "Impedances"},
                              {kOpCmp, "Component Values"}},
                  .horizontal = true},
        frequency,
        frame(
            "FrameInput", "", Direction::Vertical,
            {methodFrame(kFrameEqu, "Equations",
                         {loopsCombo(Equations),
                          grid("GridEqu", kMaxLoops, 2 * kMaxLoops + 2, equationCell)}),
             methodFrame(kFrameImp, "Impedances",
                         {loopsCombo(Impedances), grid("GridZ", kBranches, 5, impedanceCell),
                          sourceFrame(kFrameImpSources, kImpSources),
                          PictureSpec{"Image1", "ImpLadder.svg",
                                      "Impedance ladder: E0, series Z1, Z3, Z5, shunt Z2, Z4, Z6 "
                                      "with sources E2, E4, E6, and the load RL"}}),
             methodFrame(kFrameCmp, "Component Values",
                         {loopsCombo(Components),
                          grid("GridRLC", kBranches, 4, componentCell,
                               {"", "Resistor,\nOhms", "Inductor,\nHenrys", "Capacitor,\nFarads"}),
                          sourceFrame(kFrameCmpSources, kCmpSources),
                          PictureSpec{"Image2", "CmpLadder.svg",
                                      "Component ladder: E0, series R-L-C branches 1 and 3, shunt "
                                      "branch 2 with E2"}})},
            {.scrolls = true}),
        LabelSpec{kVtrCaption, "VTR = Voltage Transfer Ratio"},
        ListSpec{kList, "", "", 8},
    };
    return f;
}

std::vector<FileField> fileFields() {
    std::vector<FileField> fields;
    // Every box is saved as typed: a "*" capacitor must survive, and what the
    // user typed comes back as he typed it.
    auto typed = [&fields](const std::string& name) { fields.push_back({FieldKind::Typed, name}); };
    for (int method = Equations; method <= Components; ++method)
        typed(combo(method));
    for (int k = 0; k < kMaxLoops * kMaxLoops; ++k) {
        typed(R(k));
        typed(X(k));
    }
    for (int i = 0; i < kCmpSources + kMaxLoops + 1; ++i) {
        typed(K(i));
        typed(KX(i));
    }
    for (int n = 1; n <= kBranches; ++n) {
        typed(zReal(n));
        typed(zImag(n));
    }
    for (int b = 1; b <= kBranches; ++b) {
        typed(branchR(b));
        typed(branchL(b));
        typed(branchC(b));
    }
    typed(kFrequency);
    fields.push_back({FieldKind::Option, kMethod});
    return fields;
}

// Every box that Close saves, the loop counts excepted, is an input box.
std::vector<std::string> inputBoxes() {
    std::vector<std::string> boxes;
    for (const FileField& field : fileFields())
        if (field.kind == FieldKind::Typed && field.name.rfind(kLoopsCombo, 0) != 0)
            boxes.push_back(field.name);
    return boxes;
}

Calculator makeSimultaneousEquations() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "Array.DAT";
    calc.fields = fileFields();
    calc.clearBoxes = inputBoxes();
    calc.calculate = CmdCalc_Click;
    calc.options = {{kOpEqu, OpEqu_Click}, {kOpImp, OpImp_Click}, {kOpCmp, OpCmp_Click}};
    calc.combos = {{combo(Equations), ComNum1_Change},
                   {combo(Impedances), ComNum2_Change},
                   {combo(Components), ComNum3_Change}};
    calc.loadFile = LoadFile;
    calc.setUp = setUp;
    calc.netlist = simultaneousNetlist;
    return calc;
}

} // namespace

const Calculator& simultaneousEquations() {
    static const Calculator calc = makeSimultaneousEquations();
    return calc;
}

} // namespace ferrovane
