#pragma once

#include <string>

#include "shell/calculator.h"

// The high side of the three matching designs (L, capacitive divider, Pi):
// R1 is either typed as a resistance or comes from the amplifier's plate or
// collector voltage and current, chosen by two options.
namespace ferrovane::highside {

inline constexpr const char* kModeGroup = "Frame1";

// The two mode options in their frame.
GroupSpec modeGroup();

// OpRes shows only R1; OpVandI shows the voltage and current boxes, locks R1
// and shows Vc / Ic in it at once.
void optionSelected(Form& form, CalcEnv& env, const std::string& option);
// While R1 comes from the amplifier, it follows the voltage and current boxes.
void boxChanged(Form& form, CalcEnv& env, const std::string& box);

// R1 for a calculation: the typed resistance, or Vc / Ic (then also written
// into TxtR1 as engineering text), or 0 when neither mode is selected.
double readR1(Form& form);

} // namespace ferrovane::highside
