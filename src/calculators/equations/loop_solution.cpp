#include "calculators/equations/loop_solution.h"

#include <cmath>

#include "numeric/complex_text.h"
#include "numeric/constants.h"
#include "numeric/eng_text.h"
#include "shell/form.h"

namespace ferrovane::loops {
namespace {

constexpr const char* kDegree = "\u00B0";

// A determinant this small beside the product of the row lengths (its
// largest possible size) is rounding left over from a singular system; a
// solution from it would carry no correct digit.
constexpr double kSingularRatio = 1e-13;

// Whether the determinant is zero, or rounding left over from zero.
bool singular(const System& s, const std::string& d) {
    const Complex det = ReadComplex(d);
    const double size = std::hypot(det.re, det.im);
    if (size == 0)
        return true;
    // Compared as logarithms, so that large coefficients cannot overflow.
    double logBound = 0;
    for (int r = 1; r <= s.n; ++r) {
        double row = 0;
        for (int c = 1; c <= s.n; ++c) {
            if (s.m(r, c).empty()) // off the ladder's three diagonals
                continue;
            const Complex a = ReadComplex(s.m(r, c));
            row = std::hypot(row, std::hypot(a.re, a.im));
        }
        logBound += std::log(row);
    }
    return std::log(size) <= std::log(kSingularRatio) + logBound;
}

// An angle in radians as degrees rounded to hundredths, plain number text.
std::string degrees(double radians) {
    return text(std::floor(checkFinite(radians * 18000 / Pi + 0.5)) / 100);
}

Polar polar(const std::string& value) {
    const auto p = CplxToPolar(value);
    return p ? *p : Polar{};
}

// "Ik = " real, "+j " or "-j ", |imaginary| without its sign position, " = ",
// magnitude, "/_", angle: the engineering texts keep their fixed width.
std::string currentLine(int k, const std::string& current) {
    const Complex c = ReadComplex(current);
    const Polar p = polar(current);
    return "I" + std::to_string(k) + " = " + engText(c.re) + (c.im < 0 ? "-j " : "+j ") +
           engText(std::abs(c.im)).substr(1) + " = " + engText(p.magnitude) + "/_" +
           degrees(p.angle) + kDegree;
}

std::string trimmed(double x) {
    return TrimBlanks(engText(x));
}

// The trimmed lines: caption, real, sign, |imaginary|, unit, magnitude.
std::string trimmedLine(const std::string& caption, const std::string& value, const char* plus,
                        const char* minus, const std::string& unit) {
    const Complex c = ReadComplex(value);
    const Polar p = polar(value);
    return caption + trimmed(c.re) + (c.im < 0 ? minus : plus) + trimmed(std::abs(c.im)) + unit +
           " = " + trimmed(p.magnitude) + unit + " /_" + degrees(p.angle) + kDegree;
}

} // namespace

std::string text(double x) {
    return PlainNumber(x == 0 ? 0.0 : x);
}

std::optional<Solution> solve(System s) {
    const std::string d = Determinant(s.m, s.n);
    if (d.empty() || singular(s, d))
        return std::nullopt;
    Solution solution;
    for (int k = 1; k <= s.n; ++k) {
        std::array<std::string, kMaxLoops + 1> column;
        for (int r = 1; r <= s.n; ++r) {
            column[r] = s.m(r, k);
            s.m(r, k) = s.b[r];
        }
        solution.currents.push_back(CplxDiv(Determinant(s.m, s.n), d));
        for (int r = 1; r <= s.n; ++r)
            s.m(r, k) = column[r];
    }
    solution.zin = CplxDiv(s.e0, solution.currents.front());
    if (s.ladder && s.loadR != 0) {
        const std::string vout = CplxMul(text(s.loadR) + " + j 0", solution.currents.back());
        solution.vtr = CplxDiv(vout, s.e0);
    }
    return solution;
}

std::optional<std::vector<std::string>> solutionLines(const System& s) {
    const std::optional<Solution> solution = solve(s);
    if (!solution)
        return std::nullopt;
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < solution->currents.size(); ++k)
        lines.push_back(currentLine(static_cast<int>(k) + 1, solution->currents[k]));
    lines.push_back(trimmedLine("Zin = ", solution->zin, " +j ", " -j ", " Ohms"));
    if (const auto& vtr = solution->vtr) {
        lines.push_back(trimmedLine("VTR = ", *vtr, " +J ", " -J ", ""));
        const double dB =
            std::floor(checkFinite(200 * std::log(polar(*vtr).magnitude) / std::log(10.0) + 0.5)) /
            10;
        lines.push_back("VTR = " + text(dB) + " dB");
    }
    return lines;
}

} // namespace ferrovane::loops
