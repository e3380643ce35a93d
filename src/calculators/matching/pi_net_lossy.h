#pragma once

#include <array>
#include <optional>
#include <string>

#include "calculators/matching/lossy_mesh.h"
#include "shell/calculator.h"

namespace ferrovane {

// A built pi matching network whose coil has a series loss resistance, solved
// as three loop equations: the loop currents, the input impedance in series
// and parallel form, the loaded Q, the voltage transfer ratio and the ratio
// a lossless network would give. It starts from the pi-network design.
const Calculator& piNetLossy();

// The network's negated loop equations, driven by 1 volt across C1.
lossy::MeshEquations piNetLossyMesh(const lossy::Network& n);

// The impedance the network presents to the source, from the loop currents.
std::string piNetLossyInputImpedance(const std::array<std::string, 3>& currents);

// The network with its coil resistance and the 1-volt source, at F.
std::optional<Netlist> piNetLossyNetlist(const Form& form);

} // namespace ferrovane
