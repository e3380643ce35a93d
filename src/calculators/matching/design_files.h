#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "shell/calculator.h"
#include "shell/design_file.h"

// The designs the capacitive-divider and Pi-network windows write for their
// lossy-coil analyses. Each is described once; the fields are named by the
// lossy window's boxes they fill, in file order.
namespace ferrovane::designs {

// The lossy windows' boxes, which the design fields are named after.
inline constexpr const char* kF = "TxtF";
inline constexpr const char* kR1 = "TxtR1";
inline constexpr const char* kL = "TxtL";
inline constexpr const char* kRc = "TxtRc"; // the coil's loss resistance
inline constexpr const char* kC1 = "TxtC1";
inline constexpr const char* kC2 = "TxtC2";
inline constexpr const char* kRL = "TxtRL";
inline constexpr const char* kQ = "TxtQ";

// F, R1, L, coil loss, C1, C2, RL, Q: the coil before the capacitors, unlike
// the lossy window's own file.
const DesignFile& capDivider();
// F, R1, C1, L, coil loss, C2, RL, Q.
const DesignFile& piNetwork();

// Writes the design and says so when it could not be saved.
void save(const DesignFile& design, const std::map<std::string, std::string>& values, CalcEnv& env);

// Lists a lossless design in `list`, a line for each value in the order
// given (each named by the box it fills: F, R1, L, C1, C2, Q or RL), and
// writes it to its design file with `losslessCoil` as the coil's loss. Every
// text is made before the list is filled and the file written: a value that
// is not finite ends the run there, the window cycle drops it and the design
// file stays as it was.
void listAndSave(Form& form, CalcEnv& env, const std::string& list, const DesignFile& design,
                 const std::vector<std::pair<std::string, double>>& values,
                 const std::string& losslessCoil);

} // namespace ferrovane::designs
