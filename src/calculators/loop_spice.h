#pragma once

#include <string>
#include <vector>

#include "numeric/complex_text.h"
#include "shell/spice.h"

// What the netlists of the loop-equation calculators share (the two
// lossy-coil analyses and the simultaneous equations' ladders): loop currents
// read as complex node voltages, and impedances and ratios formed in .meas
// from measured complex values. ngspice's .meas reads the real and imaginary
// parts of a node voltage but not of a branch current, so a current flows
// through a 0 V source whose current a unity current-controlled voltage
// source repeats as a node voltage.
namespace ferrovane::loopspice {

// Adds the 0 V source `sense` from node `from` to node `to`, and `probe`,
// which makes the current entering `sense` at `from` the voltage of node
// `out`; `what` names the current in their comments.
void addProbe(std::vector<SpiceElement>& elements, const std::string& sense,
              const std::string& from, const std::string& to, const std::string& probe,
              const std::string& out, const std::string& what);

// A resistor, or nothing where its value is 0 (the caller then joins its
// nodes): ngspice refuses a resistor of no resistance.
void addResistor(std::vector<SpiceElement>& elements, const std::string& designator,
                 const std::string& a, const std::string& b, double ohms, const std::string& from);

// The size a part of value c is compared against: its magnitude, or
// `otherwise` where the value is 0.
double partScale(Complex c, double otherwise);

// The real and imaginary parts of a node voltage at "at=F" text `at`, as
// name_re and name_im; with no calculated value they only serve later
// figures. Both parts are compared against `scale`.
void addParts(Netlist& n, const std::string& name, const std::string& label,
              const std::string& unit, const std::string& node, const std::string& at,
              const std::optional<Complex>& calculated, double scale);

// The quotient of two complex values measured before (by their names, as
// addParts made them) as name_re, name_im and its magnitude name_m, compared
// with the calculated quotient when there is one.
void addQuotient(Netlist& n, const std::string& name, const std::string& label,
                 const std::string& unit, const std::string& numerator,
                 const std::string& denominator, const std::optional<Complex>& calculated);

// The loop currents, complex value texts of I1, I2, ..., compared part by
// part with the voltages of nodes i1, i2, ... (their probes); a current of
// zero is compared against the largest one.
void addLoopCurrents(Netlist& n, const std::vector<std::string>& currents, const std::string& at);

// A figure's scale of at least `floor`, for values such as an angle or a
// level in decibels that may lie near zero: 0 (the value itself) otherwise.
double atLeast(double value, double floor);

// A voltage transfer ratio that is the voltage of `node` (the source being
// 1 V at 0 degrees): its magnitude as `name`, its angle in degrees and,
// when asked, its level in decibels.
void addNodeRatio(Netlist& n, const std::string& name, const std::string& label,
                  const std::string& node, const std::string& at, Polar calculated, bool decibels);

} // namespace ferrovane::loopspice
