#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shell/calculator.h"

namespace ferrovane {

// Numbers out of what a run shows: a quantity is a box's number, or the K-th
// number of line L of a list (both from 1). Sweeps, tolerance spreads and
// the simulator comparison all read results this one way.
struct Quantity {
    std::string box;  // a box's name, or
    std::string list; // a list's name with line and k
    int line = 0;
    int k = 0;
    std::string label; // what a person calls it: the box's label, or the line with "#"
    bool operator==(const Quantity&) const = default;
};

// The numbers in a text, in order: "R1 = 1.2e3 Ohms, 5 %" holds 1200 and 5
// (a digit that continues a word, as in "R1", starts no number).
std::vector<double> numbersIn(const std::string& text);
// The text with its numbers each replaced by "#".
std::string numberLabel(const std::string& text);

// "TxtXL" or "LIST:LINE:K" as a quantity of the form; nothing when the text
// names neither a box nor a list.
std::optional<Quantity> parseQuantity(const Calculator& calc, const Form& form,
                                      const std::string& text);

// The quantity's value on a form: a box reads by the leading-number rule; a
// list number that is not there is nothing.
std::optional<double> readQuantity(const Form& form, const Quantity& q);

// Every quantity's value, each list line read once however many numbers of
// it are asked for.
std::vector<std::optional<double>> readQuantities(const Form& form,
                                                  const std::vector<Quantity>& qs);

// What a press computed: every number of every box it changed or that the
// user cannot type in, and of every list line, comparing the form before
// the press with the form after it.
std::vector<Quantity> resultQuantities(const Calculator& calc, const Form& before,
                                       const Form& after);

// The boxes of a window in layout order (name and label).
std::vector<BoxSpec> boxesOf(const Calculator& calc);

} // namespace ferrovane
