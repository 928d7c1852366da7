// Quasi-static impedance and effective dielectric constant of coplanar lines
// by conformal mapping, the metal plane splitting space into the air above
// and the substrate below (partial capacitances):
//   CPW on a substrate of height H: G. Ghione and C. Naldi, Electronics
//     Letters 20(4), 1984 (after Veyres & Fouad Hanna 1980);
//   conductor-backed CPW: G. Ghione and C. Naldi, IEEE Trans. MTT 35(3), 1987;
//   metal thickness: K. C. Gupta, R. Garg, I. Bahl, P. Bhartia, "Microstrip
//     Lines and Slotlines", 2nd ed., 1996, chapter 7.
#include <algorithm>
#include <cmath>

#include "cpwlib/cpwline.h"

namespace cpwlib {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double k30Pi = 94.2477796076937971538;  // 30 pi = eta0 / 4
constexpr double k60Pi = 188.495559215387594308;  // 60 pi = eta0 / 2
constexpr double kLn4Pi = 2.53102424696929079962; // ln(4 pi)

// Gupta et al.: the strip grows and each gap shrinks by
//   delta = (1.25 T / pi) (1 + ln(4 pi W / T)).
// The fit turns negative for metal some 35 times thicker than the strip,
// where it no longer applies; thickness never narrows the strip, so it is
// floored at zero there.
double ThicknessDelta(double width, double thickness) {
    if (!(thickness > 0.0)) return 0.0;
    const double delta =
        1.25 * thickness / kPi * (1.0 + kLn4Pi + std::log(width) - std::log(thickness));
    return std::max(delta, 0.0);
}

// Gupta et al.: eeff_t = eeff - 0.7 (eeff - 1)(T/G) / (K(k0)/K(k0') + 0.7 T/G),
// written as 1 + (eeff - 1) r0 / (r0 + 0.7 T/G) so that it stays >= 1.
double ThickEeff(double eeff, double r0, const CpwLine& line) {
    if (!(line.thickness > 0.0)) return eeff;
    const double q = 0.7 * line.thickness / line.gap;
    return 1.0 + (eeff - 1.0) * (r0 / (r0 + q));
}

} // namespace

std::optional<LineValues> QuasiStatic(const CpwLine& line) {
    const double w = line.width, g = line.gap, h = line.height;
    const double delta = ThicknessDelta(w, line.thickness);
    if (!(delta < g)) return std::nullopt; // the metal closes the slots
    // The strip and gaps the metal acts as (Gupta et al.): they set the
    // capacitance of the air-filled line, which gives Z0; eeff keeps the
    // zero-thickness maps and takes the thickness through ThickEeff.
    const double we = w + delta, ge = g - delta;

    const double r0 = EllipticRatio(CentreStripModulus(w, g));
    const double re = delta > 0.0 ? EllipticRatio(CentreStripModulus(we, ge)) : r0;

    if (!line.conductorBacked) {
        // eeff = 1 + (er - 1)/2 * [K(k1)/K(k1')] / [K(k0)/K(k0')]
        // Z0   = 30 pi / sqrt(eeff) * K(k0')/K(k0)
        const double r1 = EllipticRatio(SubstrateModulus(w, g, h));
        const double eeff = ThickEeff(1.0 + 0.5 * (line.er - 1.0) * (r1 / r0), r0, line);
        return LineValues{k30Pi / (std::sqrt(eeff) * re), eeff};
    }
    // eeff = [K(k0)/K(k0') + er K(k3)/K(k3')] / [K(k0)/K(k0') + K(k3)/K(k3')]
    // Z0   = 60 pi / sqrt(eeff) / [K(k0)/K(k0') + K(k3)/K(k3')]
    // With thickness, the effective strip and gaps enter the map below the
    // strip (k3) as well as the one above (k0 -> ke), just as the CPW formula
    // takes ke for both half-spaces.  Thickening only k0 would leave the
    // backed line above the CPW one for thick substrates (3.7 % at W = 0.5,
    // G = 0.3, T = 0.017, H = 1000, in mm), where a ground plane far below
    // can only lower the impedance towards the CPW value.
    const double r3 = EllipticRatio(BackedSubstrateModulus(w, g, h));
    const double r3e = delta > 0.0 ? EllipticRatio(BackedSubstrateModulus(we, ge, h)) : r3;
    const double eeff = ThickEeff((r0 + line.er * r3) / (r0 + r3), r0, line);
    return LineValues{k60Pi / (std::sqrt(eeff) * (re + r3e)), eeff};
}

} // namespace cpwlib
