#pragma once

#include <array>
#include <optional>
#include <string>

#include "calculators/matching/lossy_mesh.h"
#include "shell/calculator.h"

namespace ferrovane {

// A built capacitive-divider matching network whose coil has a series loss
// resistance, solved as three loop equations: the loop currents, the input
// impedance in series and parallel form, the loaded Q and the voltage
// transfer ratio to the load. It starts from the capacitive divider design.
const Calculator& capDivLossy();

// The network's negated loop equations, driven by 1 volt behind R1.
lossy::MeshEquations capDivLossyMesh(const lossy::Network& n);

// The impedance the network presents to the source and R1, from the loop
// currents I1, I2, I3.
std::string capDivLossyInputImpedance(const lossy::Network& n,
                                      const std::array<std::string, 3>& currents);

// The network with its coil resistance, the 1-volt source and R1, at F.
std::optional<Netlist> capDivLossyNetlist(const Form& form);

} // namespace ferrovane
