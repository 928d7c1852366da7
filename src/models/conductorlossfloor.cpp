// Conductor loss of a strip of finite thickness between thick ground planes.
//
// Method: Wheeler's incremental-inductance rule (H. A. Wheeler, "Formulas for
// the skin effect", Proc. IRE 30, 1942), R = (Rs / mu0) dL/dn summed over the
// conductor walls, taken separately for the ground planes (thick: Rs = 1 /
// (sigma delta)) and for the strip, whose faces see the surface resistance of
// a conductor of finite thickness carrying equal currents on both faces,
// Re{Zs coth((1 + j) T / 2 delta)}: the internal impedance of a slab of half
// the strip's thickness backed by the strip's mid-plane, where by symmetry the
// magnetic field vanishes.  Wheeler's rule assumes the current crowded
// towards the strip's edges as the skin effect leaves it; as the strip
// becomes thin against the skin depth the current spreads evenly over the
// width, and the strip's geometric factor passes to that of a uniform current,
// 1 / 2W per face, with the weight sech(T / delta) that the microstrip line
// constants use for the same passage.  With both faces at 2 / (sigma T) the
// uniform current gives exactly the strip's DC resistance 1 / (sigma W T),
// which also bounds the result from below.
#include "models/conductorlossfloor.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/linecal.h"
#include "numeric/checkedmath.h"
#include "numeric/complexmath.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kMu0 = 1.2566370614359173e-6; // 4 pi 1e-7 H/m
constexpr double kNotComputed = std::numeric_limits<double>::quiet_NaN();

// Re{(1 + j) coth((1 + j) u / 2)}: 2 / u for small u, 1 for large u.
// `decay`: e^-u, which the uniform current's weight reads as well.
double FiniteThicknessFactor(double u, double decay) {
    // Series below 0.01, where cosh u - cos u loses its digits; coth is 1 to
    // the last bit long before u = 40.
    if (u < 0.01) return (2.0 / u) * (1.0 + u * u * u * u / 180.0);
    if (u > 40.0) return 1.0;
    if (u < 1.0) return (std::sinh(u) + std::sin(u)) / (std::cosh(u) - std::cos(u));
    // sinh and cosh from e^-u, within a few ulps of the library's where e^-u
    // is below half of e^u.
    const double grow = 1.0 / decay;
    return (0.5 * (grow - decay) + std::sin(u)) / (0.5 * (grow + decay) - std::cos(u));
}

double SkinDepth(double f, double sigma) {
    return CheckedSqrt(2.0 / (kTwoPi * f * kMu0 * sigma));
}

} // namespace

StripSkin StripSkinOf(double f, double t, double sigma) {
    if (f < 1.0) f = 1.0;
    if (!(t > 0.0)) return {f, kNotComputed, kNotComputed, kNotComputed}; // no resistance to read
    const double delta = SkinDepth(f, sigma);
    const double decay = ExpFast(-(t / delta));
    const double faceResistance = FiniteThicknessFactor(t / delta, decay) / (sigma * delta);
    return {f, delta, faceResistance, SechFromDecay(decay)};
}

double FiniteThicknessResistance(double zAir, const StripSkin& skin, double w, double t,
                                 double sigma, double groundReceded, double stripReceded) {
    if (!(t > 0.0)) return 0.0;
    const double omega = kTwoPi * skin.f;
    // The external inductance per metre is Z_air / c.
    const double c = LineModel::kSpeedOfLight;

    // Ground planes: recede by the skin depth, R = omega dL.
    const double ground = std::max(0.0, omega * (groundReceded - zAir) / c);

    // Strip: the derivative over a recession of at most half the thickness
    // (or width).  Each wall moves by half the step, hence dL/dn summed over
    // the walls is 2 dL / step; divided by mu0 it is the strip's geometric
    // factor.
    const double step = StripRecession(skin, w, t);
    const double crowded = 2.0 * (stripReceded - zAir) / (step * c * kMu0);
    const double uniform = 0.5 / w;
    const double weight = skin.weight;
    const double strip = skin.faceResistance * ((1.0 - weight) * crowded + weight * uniform);
    return ground + std::max(strip, 1.0 / (sigma * w * t));
}
