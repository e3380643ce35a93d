#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "numeric/determinant.h"

// The loop equations of the simultaneous-equations window and their solution
// by Cramer's rule, on complex value texts, with no window in them: the
// window builds the equations from whichever input method is chosen.
namespace ferrovane::loops {

inline constexpr int kMaxLoops = 6;

// Plain number text without a leading blank, as the matrix texts carry it.
std::string text(double x);

// The loop equations M I = B, with B the negated constants, and what the
// result lines need besides the currents.
struct System {
    int n = 0;
    ComplexMatrix m;
    std::array<std::string, kMaxLoops + 1> b; // 1..n
    std::string e0;                           // the first constant or source as entered
    double loadR = 0;                         // resistance of the last shunt branch
    bool ladder = false;
};

// The solution, complex value texts: the loop currents I1..In by Cramer's
// rule (Ik = Dk / D with Dk the determinant whose column k is the right-hand
// side), the input impedance E0 / I1 and, for a ladder with a load, the
// voltage transfer ratio R In / E0, R the load's resistance. Nothing when the
// determinant is zero or rounding left over from zero.
struct Solution {
    std::vector<std::string> currents; // I1..In
    std::string zin;
    std::optional<std::string> vtr;
};
std::optional<Solution> solve(System s);

// The lines of the solution: every loop current, the input impedance and,
// for a ladder with a load, its voltage transfer ratio.
std::optional<std::vector<std::string>> solutionLines(const System& s);

} // namespace ferrovane::loops
