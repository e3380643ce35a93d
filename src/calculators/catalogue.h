#pragma once

#include <string>
#include <vector>

#include "shell/calculator.h"

namespace ferrovane {

// One button of the main window and the calculator it opens.
struct CatalogueEntry {
    std::string button;                          // control name, "CmdVoltDiv"
    int row = 0;                                 // 1..5
    int column = 0;                              // 1..4
    std::string caption;                         // as stored: "&&" shows one ampersand
    std::string description;                     // shown while the mouse is over the button
    const Calculator& (*calculator)() = nullptr; // nullptr: not available yet
};

// The twenty calculators in the main window's grid.
const std::vector<CatalogueEntry>& catalogue();

// The main window's own buttons.
inline constexpr const char* kResetDescription =
    "Pressing this button will reset all calculators to the 'New Program' state.  WARNING!!!!!  "
    "THIS WILL OVERWRITE ALL WORK IN PROGRESS IN ALL CALCULATORS.";
inline constexpr const char* kEndDescription = "End this program.";

} // namespace ferrovane
