#include "calculators/loop_spice.h"

#include <algorithm>
#include <cmath>

#include "numeric/constants.h"

namespace ferrovane::loopspice {

void addProbe(std::vector<SpiceElement>& elements, const std::string& sense,
              const std::string& from, const std::string& to, const std::string& probe,
              const std::string& out, const std::string& what) {
    elements.push_back({spiceElement(sense, {from, to}, "0"), "Senses " + what});
    elements.push_back({spiceElement(probe, {out, "0", sense}, "1"), "V(" + out + ") is " + what});
}

void addResistor(std::vector<SpiceElement>& elements, const std::string& designator,
                 const std::string& a, const std::string& b, double ohms, const std::string& from) {
    if (ohms != 0)
        elements.push_back({spiceElement(designator, {a, b}, spiceNumber(ohms)), from});
}

double partScale(Complex c, double otherwise) {
    const double size = std::hypot(c.re, c.im);
    return size > 0 ? size : otherwise;
}

void addParts(Netlist& n, const std::string& name, const std::string& label,
              const std::string& unit, const std::string& node, const std::string& at,
              const std::optional<Complex>& calculated, double scale) {
    const auto re = calculated ? std::optional<double>(calculated->re) : std::nullopt;
    const auto im = calculated ? std::optional<double>(calculated->im) : std::nullopt;
    const std::string prefix = label.empty() ? "" : label + ", ";
    n.figures.push_back({"ac", name + "_re", calculated ? prefix + "real part" : "", unit,
                         "find vr(" + node + ") " + at, re, 0.1, scale});
    n.figures.push_back({"ac", name + "_im", calculated ? prefix + "imaginary part" : "", unit,
                         "find vi(" + node + ") " + at, im, 0.1, scale});
}

void addQuotient(Netlist& n, const std::string& name, const std::string& label,
                 const std::string& unit, const std::string& numerator,
                 const std::string& denominator, const std::optional<Complex>& calculated) {
    // (a + jb) / (c + jd) = ((ac + bd) + j(bc - ad)) / (c^2 + d^2)
    const std::string a = numerator + "_re", b = numerator + "_im";
    const std::string c = denominator + "_re", d = denominator + "_im";
    const std::string den = "(" + c + "*" + c + "+" + d + "*" + d + ")";
    const std::string re = "param='(" + a + "*" + c + "+" + b + "*" + d + ")/" + den + "'";
    const std::string im = "param='(" + b + "*" + c + "-" + a + "*" + d + ")/" + den + "'";
    const std::string m =
        "param='sqrt(" + name + "_re*" + name + "_re+" + name + "_im*" + name + "_im)'";
    const double scale = calculated ? partScale(*calculated, 1) : 0;
    const auto part = [&](double Complex::*p) {
        return calculated ? std::optional<double>((*calculated).*p) : std::nullopt;
    };
    const auto size = calculated ? std::optional<double>(scale) : std::nullopt;
    n.figures.push_back(
        {"ac", name + "_re", label + ", real part", unit, re, part(&Complex::re), 0.1, scale});
    n.figures.push_back(
        {"ac", name + "_im", label + ", imaginary part", unit, im, part(&Complex::im), 0.1, scale});
    n.figures.push_back({"ac", name + "_m", label + ", magnitude", unit, m, size, 0.1, scale});
}

void addLoopCurrents(Netlist& n, const std::vector<std::string>& currents, const std::string& at) {
    double largest = 0;
    for (const std::string& i : currents)
        largest = std::max(largest, partScale(ReadComplex(i), 0));
    for (std::size_t k = 0; k < currents.size(); ++k) {
        const std::string name = "i" + std::to_string(k + 1);
        const Complex i = ReadComplex(currents[k]);
        addParts(n, name, "I" + std::to_string(k + 1), "A", name, at, i, partScale(i, largest));
    }
}

double atLeast(double value, double floor) {
    return std::fabs(value) < floor ? floor : 0;
}

void addNodeRatio(Netlist& n, const std::string& name, const std::string& label,
                  const std::string& node, const std::string& at, Polar calculated, bool decibels) {
    const double degrees = calculated.angle * 180 / Pi;
    n.figures.push_back(
        {"ac", name, label, "", "find vm(" + node + ") " + at, calculated.magnitude, 0.1});
    n.figures.push_back({"ac", name + "_rad", "", "", "find vp(" + node + ") " + at});
    n.figures.push_back({"ac", name + "_deg", label + ", angle", "degrees",
                         "param='" + name + "_rad*" + spiceNumber(180 / Pi) + "'", degrees, 0.1,
                         atLeast(degrees, 1)});
    if (!decibels)
        return;
    const double dB = 20 * std::log10(calculated.magnitude);
    n.figures.push_back({"ac", name + "_db", label + " in dB", "dB",
                         "param='20*log10(" + name + ")'", dB, 0.1, atLeast(dB, 1)});
}

} // namespace ferrovane::loopspice
