// The field solver's physical constants, one consistent set: eps0 follows
// from c and mu0, so a homogeneous line gives exactly eta0 / (the geometry).
#pragma once

#include <numbers>

namespace fieldsolver {

inline constexpr double kSpeedOfLight = 299792458.0;                          // m/s
inline constexpr double kMu0 = 4e-7 * std::numbers::pi;                       // H/m
inline constexpr double kEps0 = 1.0 / (kMu0 * kSpeedOfLight * kSpeedOfLight); // F/m
inline constexpr double kEta0 = kMu0 * kSpeedOfLight; // ohms, the impedance of free space

} // namespace fieldsolver
