#pragma once

namespace ferrovane {

// The circle constant every reactance, resonance and angle rule uses:
// 4 arctan(1) to double precision.
inline constexpr double Pi = 3.14159265358979323846;

} // namespace ferrovane
