#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calculators/equations/loop_solution.h"
#include "numeric/complex_text.h"
#include "shell/calculator.h"

namespace ferrovane {

// Up to six complex loop equations solved by Cramer's rule, entered in one of
// three ways: the coefficient matrix and constants, a ladder of branch
// impedances, or a ladder of series R-L-C branches at one frequency. Lists
// every loop current, the input impedance and, for the ladders, the voltage
// transfer ratio into the load.
const Calculator& simultaneousEquations();

// One branch of a ladder: its impedance R + jX in ohms and, for the
// component method, the inductance and the capacitance (none for a branch
// whose capacitor box holds a single "*").
struct LadderBranch {
    double r = 0;
    double x = 0;
    double l = 0;
    std::optional<double> c;
};

// A ladder as the window reads it from the boxes of its input method: E0
// drives loop 1, odd branches are series arms of one loop, branch 2m is the
// shunt arm of loops m and m + 1 with the source E(2m) in series with it.
struct Ladder {
    bool components = false; // R, L and C at f; otherwise impedances at no frequency
    int n = 0;               // loops
    double f = 0;
    std::vector<LadderBranch> branches; // 1..2n, 0 unused
    std::vector<Complex> sources;       // E0, E2, ..., E(2n)
};

// The ladder of the form's input method: none for the equations, for no
// method, or where the window would refuse the boxes (then `message` holds
// what it says).
std::optional<Ladder> ladderOf(const Form& form, std::string& message);

// The loop equations the window solves for the form's input method; none
// with `message` set to what the window says instead.
std::optional<loops::System> loopSystem(const Form& form, std::string& message);

// The ladder with its sources and load, checked at its frequency; none for
// the equations method, which has no circuit.
std::optional<Netlist> simultaneousNetlist(const Form& form);

} // namespace ferrovane
