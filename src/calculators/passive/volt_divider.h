#pragma once

#include <optional>
#include <vector>

#include "shell/calculator.h"

namespace ferrovane {

// The standard value voltage divider: R1 from the input to the output, R2
// from the output to ground, for a wanted attenuation with no load, a load
// current or a load resistance, listed over a range of total resistance.
const Calculator& voltDivider();

namespace voltdivider {

// The loading options, numbered as the window's buttons.
enum Loading { NoLoad = 1, CurrentLoad = 2, ResistanceLoad = 3 };

// A line of the list at full precision: the two resistors as listed (the
// standard values when those are asked for) and the ratio Vo / Vin they give.
struct Combination {
    double r1 = 0, r2 = 0, ratio = 0;
};

// What a Calculate lists for the form's boxes and options: the wanted ratio,
// the voltages and the load (its current or resistance, by the loading), and
// every combination. Nothing when the boxes give no list.
struct Listing {
    double wanted = 0;
    double vin = 0, vo = 0;
    double load = 0;
    int loading = NoLoad;
    bool byVoltages = false;
    std::vector<Combination> lines;
};
std::optional<Listing> listing(const Form& form);

} // namespace voltdivider

// The divider of the list with the smallest error, with its source and
// load, checked at its operating point.
std::optional<Netlist> voltDividerNetlist(const Form& form);

} // namespace ferrovane
