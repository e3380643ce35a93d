#pragma once

#include <map>
#include <string>

#include "shell/calculator.h"
#include "shell/design_file.h"

// The designs the capacitive-divider and Pi-network windows write for their
// lossy-coil analyses. Each is described once; the fields are named by the
// lossy window's boxes they fill, in file order.
namespace ferrovane::designs {

// F, R1, L, coil loss, C1, C2, RL, Q: the coil before the capacitors, unlike
// the lossy window's own file.
const DesignFile& capDivider();
// F, R1, C1, L, coil loss, C2, RL, Q.
const DesignFile& piNetwork();

// Writes the design and says so when it could not be saved.
void save(const DesignFile& design, const std::map<std::string, std::string>& values, CalcEnv& env);

} // namespace ferrovane::designs
