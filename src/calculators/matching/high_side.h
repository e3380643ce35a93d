#pragma once

#include <string>

#include "shell/calculator.h"

// The high side of the three matching designs (L, capacitive divider, Pi):
// R1 is either typed as a resistance or comes from the amplifier's plate or
// collector voltage and current, chosen by two options.
namespace ferrovane::highside {

inline constexpr const char* kModeGroup = "Frame1";
inline constexpr const char* kR1 = "TxtR1";
inline constexpr const char* kVc = "TxtVc";
inline constexpr const char* kIc = "TxtIc";

// The two mode options in their frame.
GroupSpec modeGroup();

// The amplifier's voltage and current boxes, with the names of the labels
// that the modes show and hide with them.
BoxSpec voltageBox(std::string caption, std::string initial = {});
BoxSpec currentBox(std::string caption, std::string initial = {});

// Registers the mode rules in the calculator: OpRes shows only R1; OpVandI
// shows the voltage and current boxes, locks R1 and shows Vc / Ic in it at
// once, and while it is selected R1 follows the voltage and current boxes.
// Clear turns both modes off; the boxes and labels keep the visibility and
// lock of the last mode.
void addHandlers(Calculator& calc);

// R1 for a calculation: the typed resistance, or Vc / Ic (then also written
// into TxtR1 as engineering text), or 0 when neither mode is selected.
double readR1(Form& form);

} // namespace ferrovane::highside
