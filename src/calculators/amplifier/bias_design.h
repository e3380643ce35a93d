#pragma once

#include <optional>

#include "numeric/eng_text.h"
#include "shell/calculator.h"

namespace ferrovane {

// What the boxes ask for: the supply, Ic as typed (milliamperes), the gain,
// Ve as typed and the stability factor Rb / Re.
struct BiasWanted {
    double vcc, icTyped, beta, veTyped, s;
};
BiasWanted biasWanted(const Form& form);

// A design in standard values, with the operating point they give.
struct BiasDesign {
    StandardValue re, r1, r2, rc;
    double rb = 0, vbb = 0, ic = 0, ve = 0; // ic in amperes, rounded as it is shown
    double stability = 0;                   // Rb / Re to hundredths
};

// The design, or nothing when standard values cannot realise it. Throws
// NumericFault for inputs that divide by zero.
std::optional<BiasDesign> designBias(const BiasWanted& w);

// The power in each resistor and in the transistor, in watts, at the
// design's operating point; `follower` is the transistor's with Rc = 0.
struct BiasPowers {
    double r1, r2, rc, re, transistor, follower;
};
BiasPowers biasPowers(double vcc, const BiasDesign& d);

// Constant-voltage transistor bias design: standard 5% values for the base
// divider, emitter and collector resistors of a stage, its real operating
// point and every dissipation. A finished design is saved in "CVBOutPut.dat".
const Calculator& biasDesign();

// The designed stage on its supply, with the transistor as the design
// models it, checked at its operating point.
std::optional<Netlist> biasDesignNetlist(const Form& form);

} // namespace ferrovane
