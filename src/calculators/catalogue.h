#pragma once

#include <string>
#include <vector>

#include "shell/calculator.h"

namespace ferrovane {

// One button of the main window and the calculator it opens.
struct CatalogueEntry {
    std::string button;                          // control name, "CmdVoltDiv"
    std::string id;                              // short name for files and the command line
    int row = 0;                                 // 1..5
    int column = 0;                              // 1..4
    std::string caption;                         // as stored: "&&" shows one ampersand
    std::string description;                     // shown while the mouse is over the button
    const Calculator& (*calculator)() = nullptr; // nullptr: not available yet
};

// The twenty calculators in the main window's grid.
const std::vector<CatalogueEntry>& catalogue();

// The entry whose id ("l-network") or button name ("CmdLNet", in any letter
// case) is given; nullptr when there is none.
const CatalogueEntry* findCalculator(const std::string& idOrButton);

// The entry whose window is this calculator; nullptr when none opens it.
const CatalogueEntry* entryOf(const Calculator& calc);

// The main window's own buttons.
inline constexpr const char* kResetDescription =
    "Pressing this button will reset all calculators to the 'New Program' state.  WARNING!!!!!  "
    "THIS WILL OVERWRITE ALL WORK IN PROGRESS IN ALL CALCULATORS.";
inline constexpr const char* kEndDescription = "End this program.";

} // namespace ferrovane
