// Quasi-static impedance and effective dielectric constant of coplanar lines
// by conformal mapping, the metal plane splitting space into the air above
// and the substrate below (partial capacitances):
//   CPW on a substrate of height H: G. Ghione and C. Naldi, Electronics
//     Letters 20(4), 1984 (after Veyres & Fouad Hanna 1980);
//   conductor-backed CPW: G. Ghione and C. Naldi, IEEE Trans. MTT 35(3), 1987;
//   metal thickness: gap walls and corner fringing (cpwthickness.cpp).
// Capacitances are per unit length and in units of eps0; with Ca that of the
// line in air and Cs the substrate's share per unit of (er - 1),
//   eeff = 1 + (er - 1) Cs / Ca,   Z0 = eta0 / (Ca sqrt(eeff)),
// which for T = 0 are the published closed forms, e.g. for CPW
// Ca = 4 K(k0)/K(k0'), Cs = 2 K(k1)/K(k1'), Z0 = 30 pi / sqrt(eeff) K(k0')/K(k0).
#include <cmath>

#include "cpwlib/cpwline.h"

namespace cpwlib {
namespace {

constexpr double k120Pi = 376.991118430775188203; // 120 pi = eta0

// Conductor-backed CPW: the partial capacitances split the field at the
// metal plane as if the slots were magnetic walls.  Once the slots are no
// longer narrow against the substrate, field lines from the strip's upper
// side pass through them to the ground plane below, and the line
// approaches a microstrip; the split misses that capacitance, so Z0 comes
// out high (+1.4 % at W 1, G 0.3, H 0.2 mm; +3 % at G = 3 H; +18 % at
// G = 15 H).  The missing part, in units of eps0, as a function of
// u = W/H and g = G/H:
//     dC = A g^2 u^p / (1 + B g u^r + D g^2),
// fitted to our field solutions of the zero-thickness line in air (u 0.2 to
// 10, g 0.1 to 15, within 0.4 % of the capacitance); it vanishes as H grows
// (the CPW limit).  Its field runs mostly in the air above the slots: a
// share kSlotSubstrateShare (fitted at Er 4.3) crosses the substrate.
constexpr double kSlotA = 0.04862;
constexpr double kSlotP = 0.41067;
constexpr double kSlotB = 0.23477;
constexpr double kSlotR = 0.13175;
constexpr double kSlotD = 0.08913;
constexpr double kSlotSubstrateShare = 0.1;
// Beyond this u or g the correction is a vanishing part of the line's
// capacitance (the parallel plate alone is 2 u); the clamp keeps the powers
// finite at extreme ratios.
constexpr double kSlotLargest = 1e6;

double BackedSlotCapacitance(double width, double gap, double height) {
    const double u = std::fmin(width / height, kSlotLargest);
    const double g = std::fmin(gap / height, kSlotLargest);
    return kSlotA * g * g * std::pow(u, kSlotP) /
           (1.0 + kSlotB * g * std::pow(u, kSlotR) + kSlotD * g * g);
}

} // namespace

std::optional<LineValues> QuasiStatic(const CpwLine& line) {
    const double w = line.width, g = line.gap, h = line.height, t = line.thickness;
    if (!(t < g)) return std::nullopt; // the metal fills the slots
    // The maps of the half-spaces take the corner fringing as a wider strip
    // and narrower gaps; the walls add their parallel plates in air.
    const double delta = CornerFringeWidth(w, g, t);
    const double we = w + delta, ge = g - delta;
    const double walls = GapWallCapacitance(g, t);
    const double above = 2.0 * EllipticRatio(CentreStripModulus(we, ge));
    // The substrate's share of that fringing falls as er rises: the denser
    // medium draws the field of the bottom corners back towards its
    // zero-thickness form.  A share of 1/er (fitted) matches our field
    // solutions (er 2.2 to 12.9, T/G up to 0.9) mostly within 0.2 % in eeff,
    // at worst 0.8 %; the whole delta, as in the air maps, overstates the
    // substrate's part by up to 10 %.
    const double ds = delta / line.er;
    const double ws = w + ds, gs = g - ds;

    double below = 0.0, substrate = 0.0;
    if (!line.conductorBacked) {
        // Air below the metal plane, the substrate a slab of height H in it.
        below = above;
        substrate = 2.0 * EllipticRatio(SubstrateModulus(ws, gs, h));
    } else {
        // The ground plane bounds the region below, in air and in the
        // substrate, so that the line tends to the CPW one as H grows.
        const double slots = BackedSlotCapacitance(w, g, h);
        below = 2.0 * EllipticRatio(BackedSubstrateModulus(we, ge, h)) + slots;
        substrate =
            2.0 * EllipticRatio(BackedSubstrateModulus(ws, gs, h)) + kSlotSubstrateShare * slots;
    }
    const double air = above + below + walls;
    const double eeff = 1.0 + (line.er - 1.0) * (substrate / air);
    return LineValues{k120Pi / (air * std::sqrt(eeff)), eeff};
}

} // namespace cpwlib
