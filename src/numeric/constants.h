// Physical and mathematical constants of the line formulas, each written once.
// Where published formulas carry a constant to fewer digits (mu0 to 16
// digits, eta0 as 376.7 or 377), that value is kept under its own name: the
// worked values of each formula were computed with exactly these numbers.
#pragma once

namespace constants {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;
inline constexpr double kHalfPi = 1.5707963267948966;
inline constexpr double kOneOverPi = 0.3183098861837907;
inline constexpr double kOneOverTwoPi = 0.15915494309189535;
inline constexpr double kTwoOverPi = 0.6366197723675814;

// Speed of light as every formula here uses it, m/s, and its inverse.
inline constexpr double kSpeedOfLight = 2.997925e8;
inline constexpr double kInverseSpeedOfLight = 3.3356404846685622e-9; // 1 / 2.997925e8 s/m
// 1 / c^2 for the same c, s^2/m^2.
inline constexpr double kInverseSpeedOfLightSquared = 1.1126497019809975e-17;

// Permeability of free space: 4 pi 1e-7 H/m, and the same written to 16
// digits as the microstrip, coupled microstrip and coaxial loss formulas carry it.
inline constexpr double kMu0 = 1.2566370614359173e-6;
inline constexpr double kMu0SixteenDigits = 1.256637061435917e-6;
// Permittivity of free space, F/m, to the seven digits of the coupled
// microstrip capacitances.
inline constexpr double kEpsilon0 = 8.854185e-12;

// Wave impedance of free space in its forms, ohms:
// sqrt(mu0 / eps0) = sqrt(141925.7742452769) (Hammerstad-Jensen microstrip);
inline constexpr double kEta0 = 376.7303734042119;
// 120 pi (Cohn's coupled stripline, the coupled microstrip loss);
inline constexpr double kEta0OneTwentyPi = 376.99111843077515;
// 376.7 (Pozar's coaxial line);
inline constexpr double kEta0Coax = 376.7;
// 377 / 4 pi as Wheeler's thick stripline writes it, and 30 pi = 120 pi / 4
// for Cohn's zero-thickness stripline;
inline constexpr double kEta377OverFourPi = 30.00070677282227;
inline constexpr double kThirtyPi = 94.24777960769379;
// 1 / 377 (Kirschning-Jansen coupled microstrip statics).
inline constexpr double kOneOver377 = 0.002652519893899204;

// ln(DBL_MIN), the smallest argument whose exponential is a normal double.
inline constexpr double kLogMinNormal = -708.3964185322641;

inline constexpr double kInchesPerMetre = 39.37008;
// Resistivity of gold, ohm metre: Rho = 1 / (sigma * 2.44e-8).
inline constexpr double kGoldResistivity = 2.44e-8;
// 20 / ln 10, decibels per neper to the digits the loss display uses, and
// ln 10 / 20.
inline constexpr double kNepersToDecibels = 8.685889638;
inline constexpr double kDecibelsToNepers = 0.11512925465056431;

} // namespace constants
