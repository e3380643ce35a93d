#pragma once

#include <optional>

#include "shell/calculator.h"

namespace ferrovane {

// VSWR and RX meter: a load given as R + jX, or as the parallel Rp and Cp
// readings of an R-X meter bridge, as a series impedance in rectangular and
// polar form, and its VSWR on a line of impedance Zo.
const Calculator& vswrMeter();

namespace vswr {

// The load as Calculate reads it: the two boxes as typed (R and X, or the
// meter's Rp and Cp in picofarads), F and Zo, the series R + jX, and the
// magnitude of the reflection coefficient and the VSWR it gives.
struct Reading {
    bool meter = false;
    double first = 0, second = 0;
    double f = 0, zo = 0;
    double r = 0, x = 0;
    double g = 0, vswr = 0;
};
// Nothing where Calculate would stop with a message.
std::optional<Reading> readingOf(const Form& form);

} // namespace vswr

// The load on a source of the line's impedance, at F.
std::optional<Netlist> vswrNetlist(const Form& form);

} // namespace ferrovane
