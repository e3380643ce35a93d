#include "calculators/matching/lossy_mesh.h"

#include <cmath>
#include <stdexcept>

#include "calculators/matching/design_files.h"

#include "numeric/constants.h"
#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

namespace ferrovane::lossy {

namespace {

// Each box with its caption and unit.
struct BoxCaption {
    const char* box;
    const char* label;
    const char* unit;
};
constexpr BoxCaption kBoxCaptions[] = {
    {designs::kF, "Frequency", "Hertz"}, {designs::kR1, "Design Input Resistance", "Ohms"},
    {designs::kL, "L", "Henrys"},        {designs::kRc, "Coil Resistance", "Ohms"},
    {designs::kC1, "C1", "Farads"},      {designs::kC2, "C2", "Farads"},
    {designs::kRL, "RL", "Ohms"},        {designs::kQ, "Design Q", ""},
};

ControlSpec boxRow(const std::string& name) {
    for (const BoxCaption& c : kBoxCaptions)
        if (name == c.box)
            return box(c.box, c.label, c.unit);
    throw std::out_of_range("no lossy-coil box " + name);
}

} // namespace

std::vector<FileField> fileFields() {
    std::vector<FileField> fields;
    for (const char* name : {designs::kF, designs::kR1, designs::kC1, designs::kL, designs::kRc,
                             designs::kC2, designs::kRL, designs::kQ})
        fields.push_back({FieldKind::Eng, name});
    return fields;
}

FormSpec formSpec(std::string name, std::string caption, const std::vector<std::string>& boxes,
                  std::string picture, std::string loadDesignHelp, std::string loadLastRunHelp) {
    FormSpec f;
    f.name = std::move(name);
    f.caption = std::move(caption);
    f.widthTwips = 9555;
    f.heightTwips = 6840;
    for (const std::string& b : boxes)
        f.left.push_back(boxRow(b));
    f.right = {PictureSpec{"Image1", std::move(picture)}, HelpBoxSpec{"QHlp"}};
    f.bottom = {ListSpec{kList, "", "", 8}};
    f.clearCaption = "Load New Design";
    f.closeName = "CmdClose";
    f.hoverHelp = hoverHelp(std::move(loadDesignHelp), std::move(loadLastRunHelp));
    return f;
}

Network readNetwork(const Form& form) {
    requireNonZero(form, {{designs::kF, "Frequency"},
                          {designs::kL, "L"},
                          {designs::kC1, "C1"},
                          {designs::kC2, "C2"}});
    Network n;
    n.f = form.number(designs::kF);
    n.r1 = form.number(designs::kR1);
    n.l = form.number(designs::kL);
    n.rc = form.number(designs::kRc);
    n.c1 = form.number(designs::kC1);
    n.c2 = form.number(designs::kC2);
    n.rl = form.number(designs::kRL);
    const double omega = 2 * Pi * n.f;
    n.xl = omega * n.l;
    n.xc1 = 1 / (omega * n.c1);
    n.xc2 = 1 / (omega * n.c2);
    return n;
}

std::array<std::string, 3> listCurrents(const MeshEquations& equations,
                                        std::vector<std::string>& lines) {
    return step("the loop currents", [&] {
        const auto currents = solveMesh(equations);
        for (int k = 1; k <= 3; ++k)
            lines.push_back(currentLine(k, currents[static_cast<std::size_t>(k - 1)]));
        return currents;
    });
}

std::array<std::string, 3> solveMesh(const MeshEquations& equations) {
    const std::string d = Determinant3(equations.matrix, 3);
    // A zero determinant divided into a zero numerator would give a current
    // of " 0 + j 0" without complaint; the equations have no single solution
    // either way.
    const Complex dv = ReadComplex(d);
    if (dv.re == 0 && dv.im == 0)
        throw NumericFault("the loop equations have no single solution");

    std::array<std::string, 3> currents;
    for (int k = 1; k <= 3; ++k) {
        ComplexMatrix replaced = equations.matrix;
        for (int row = 1; row <= 3; ++row)
            replaced(row, k) = equations.rhs[static_cast<std::size_t>(row - 1)];
        currents[static_cast<std::size_t>(k - 1)] = CplxDiv(Determinant3(replaced, 3), d);
    }
    return currents;
}

SignedImaginary signText(const std::string& b) {
    if (ReadNumber(b) >= 0)
        return {"+ j", b};
    return {"- j", " " + b.substr(1)};
}

std::string angleText(double radians) {
    return PlainNumber(std::floor(radians * 18000 / Pi + 0.5) / 100);
}

Polar polarOf(std::string_view value) {
    const std::optional<Polar> polar = CplxToPolar(value);
    if (!polar)
        throw NumericFault("a complex value is missing");
    return *polar;
}

namespace {

// A complex value as its parts and as magnitude and angle, both with the unit.
std::string rectangularAndPolar(std::string_view head, std::string_view value,
                                std::string_view unit) {
    const EngParts parts = FormatEng(value);
    const SignedImaginary b = signText(parts.imag);
    const Polar polar = polarOf(value);
    std::string line(head);
    line += parts.real + b.sign + b.text;
    line += unit;
    line += " = " + engText(polar.magnitude);
    line += unit;
    line += " /_" + angleText(polar.angle) + kDegree;
    return line;
}

} // namespace

std::string currentLine(int k, std::string_view current) {
    return rectangularAndPolar("I" + std::to_string(k) + " = ", current, "Amps");
}

std::string impedanceLine(std::string_view z) {
    return rectangularAndPolar("Z  = ", z, "Ohms");
}

std::string parallelLine(double f, std::string_view z) {
    const ParallelEquivalent p = SeriesToParallel(f, z);
    const EngParts rx = FormatEng(p.parallel);
    return "Zp = " + rx.real + "P/w" + rx.imag + "Ohms = " + rx.real + "Ohms, P/w " +
           engText(p.capacitance) + "Farads";
}

double loadedQ(std::string_view imaginaryOf, std::string_view realOf) {
    const double im = ReadNumber(FormatEng(imaginaryOf).imag);
    const double re = ReadNumber(FormatEng(realOf).real);
    if (re == 0)
        throw NumericFault("the current it divides by shows a real part of 0.000");
    return std::abs(std::floor(im * 100 / re + 0.5) / 100);
}

std::string qLine(double q) {
    return "Q  =  " + PlainNumber(q);
}

std::string outputVoltage(std::string_view i3, double rl) {
    return CplxMul(i3, PlainNumber(rl, LeadingBlank::Yes) + " + j 0 ");
}

std::string vtrLine(std::string_view caption, double ratio, double angle) {
    return std::string(caption) + engText(ratio) + "/_" + angleText(angle) + kDegree;
}

double decibels(double ratio) {
    if (ratio == 0)
        throw NumericFault("the output voltage is zero, which has no value in decibels");
    return checkFinite(std::floor(std::log(ratio) * 200 / std::log(10.0) + 0.5) / 10);
}

HoverHelp hoverHelp(std::string loadDesignHelp, std::string loadLastRunHelp) {
    return HoverHelp{"QHlp",
                     "Frame3",
                     false,
                     {{"CmdCalc", kCalcHelp},
                      {"CmdClose", kCloseHelp},
                      {"CmdClr", std::move(loadDesignHelp)},
                      {"CmdLoadData", std::move(loadLastRunHelp)}}};
}

void loadDesign(Form& form, CalcEnv& env, const DesignFile& design) {
    if (const auto values = design.read(env.files))
        for (const auto& [box, text] : *values)
            form.setText(box, text);
}

void requireNonZero(const Form& form,
                    const std::vector<std::pair<std::string, std::string>>& boxes) {
    std::vector<std::string> zero;
    for (const auto& [box, name] : boxes)
        if (form.number(box) == 0)
            zero.push_back(name);
    if (zero.empty())
        return;
    std::string names = zero.front();
    for (std::size_t i = 1; i < zero.size(); ++i)
        names += (i + 1 == zero.size() ? " and " : ", ") + zero[i];
    throw NumericFault(names + " must not be zero");
}

std::string faultText(const std::string& reason) {
    return "These values cannot be calculated (" + reason + ").  The result list has been emptied.";
}

void listAnalysis(Form& form, CalcEnv& env, const std::string& list, const Analysis& analysis) {
    form.list(list).clear();
    try {
        form.list(list) = analysis(form);
    } catch (const NumericFault& fault) {
        env.dialogs.show(Message{faultText(fault.what()), kAppTitle, MessageIcon::Exclamation,
                                 MessageButtons::Ok});
    }
}

} // namespace ferrovane::lossy
