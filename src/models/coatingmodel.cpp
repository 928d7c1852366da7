// Cover and solder mask as corrections of one mode's quasi-static values.
//
// Cover.  The line's air and dielectric capacitances C0 = 1/(c Z sqrt(eeff))
// and C = eeff C0 are read as potential coefficients 1/C; a ground plane at
// D = H + Hc lowers them by the change of the Green's function of a line
// charge at height h between two planes against one over a single plane,
//   4 pi eps0 dP(x) = ln((x^2 + 4h^2) / x^2)
//                   - ln((cosh(pi x/D) - cos(2 pi h/D)) / (cosh(pi x/D) - 1))
// (the image series of the parallel-plate line; x -> 0 is the charge's own,
// 2 ln((pi h/D) / sin(pi h/D)); cf. the covered-microstrip corrections of
// Bahl and Garg, and of March, MTT-S 1981, which fit the same trend).  The
// strip's charge sits at h = H + a T and is spread over its width: the self
// term is taken at x = b W; a pair adds (even) or subtracts (odd) the mutual
// term at the strips' centre distance S + W.  With the substrate the
// perturbation is weaker by kappa = Er^-p (1 + A ((H + T) / Hc)^q).
//
// Mask.  A layer of Erm and thickness Tm moves eeff from its value without
// the layer towards that of an unbounded overlay of Erm, the filling-factor
// value q Er + (1 - q) Erm with q = (eeff - 1) / (Er - 1) (Bahl and Stuchly,
// "Analysis of a microstrip covered with a lossy dielectric", MTT-28, 1980;
// Svacina, "A simple quasi-static determination of basic parameters of
// multilayer microstrip and coplanar waveguide", MGWL 1992), by the share
//   F = (1 - exp(-a (Tm / L)^p)) (1 + k/Erm) / (1 + k/3) (1 + c (Erm - Er))
//       (1 - kc (H / (H + Hc))^2),
// the field's share within Tm of the metal and the substrate, L the mode's
// length over which the field above the substrate spreads: W + m H + n T for
// the single strip, widened by a close neighbour in the even mode, narrowed
// by the gap in the odd one.  The normal field in the layer counts less
// (the k/Erm term), and a cover pulls the upper field away from the layer.
//
// Every constant below is fitted to in-app field solutions (the finite-volume
// solver of src/fieldsolver with the mask as a conformal layer), over masks
// of 10 to 40 um with Erm 3 and 4, covers at 2 H, 5 H, 20 H and none, on
// FR-4 (Er 4.3, H 0.2 and 1.6 mm) and RO4350B (Er 3.66, H 0.254 and
// 0.508 mm), T = 35 um, W/H 0.3 to 3 (single) and pairs W/H 0.5 to 1.5,
// S/H 0.5 to 2; tools/coating_grid.py measures the result.
#include "models/coatingmodel.h"

#include <cmath>

#include "numeric/checkedmath.h"
#include "numeric/constants.h"

using namespace constants;

namespace {

constexpr double kEps0 = 8.854187817e-12; // F/m

// Cover (all modes).
constexpr double kChargeWidth = 0.4743;  // self term at x = b W
constexpr double kChargeHeight = 0.4063; // h = H + a T
constexpr double kDielectricPower = 1.946;
constexpr double kDielectricNear = 0.9888, kDielectricNearPower = 1.0435;

// Mask: k, a, p, c, kc, then the length L's m, n, the pair's terms, and the
// change of p with the gap (odd mode: the mask filling the gap grows
// nearly linearly with Tm; tools/coating_pair_fit.py).
struct MaskConstants {
    double k, a, p, c, kc, m, n, pair1, pair2, gapPower;
};
constexpr MaskConstants kSingleMask{0.8933, 3.2999, 0.79138, -0.059360, 1.4745,
                                    0.89212, 1.2177, 0.0, 0.0, 0.0};
constexpr MaskConstants kEvenMask{0.97536, 3.6481, 0.75900, -0.058294, 2.2851,
                                  1.1159, 1.2970, 0.82096, 0.0, -0.012460};
constexpr MaskConstants kOddMask{0.045892, 1.7694, 0.91017, -0.058678, 0.23062,
                                 0.22183, 1.5372, 0.73457, 0.018053, 0.17594};

// 4 pi eps0 times the drop of the potential coefficient at lateral distance
// x from a line charge at height h when a plane at D joins the one at 0.
double CoverDrop(double x, double h, double d) {
    if (x < 1e-9 * h) {
        const double y = kPi * h / d;
        return 2.0 * CheckedLog(y / std::sin(y));
    }
    const double open = CheckedLog((x * x + 4.0 * h * h) / (x * x));
    const double ch = std::cosh(kPi * x / d);
    const double covered = CheckedLog((ch - std::cos(2.0 * kPi * h / d)) / (ch - 1.0));
    return open - covered;
}

ModeStatic WithCover(const CoatedGeometry& g, double h, double er, double hc, ModeStatic s) {
    const double w = g.u * h, t = g.t * h;
    const double height = h + kChargeHeight * t, plane = h + hc;
    double drop = CoverDrop(kChargeWidth * w, height, plane);
    if (g.mode != CoatedGeometry::Mode::Single) {
        const double mutual = CoverDrop(g.g * h + w, height, plane);
        drop += g.mode == CoatedGeometry::Mode::Even ? mutual : -mutual;
    }
    const double dp = drop / (4.0 * kPi * kEps0);
    const double kappa = CheckedPow(er, -kDielectricPower) *
                         (1.0 + kDielectricNear * CheckedPow((h + t) / hc, kDielectricNearPower));
    const double cAir = 1.0 / (kSpeedOfLight * s.z0 * CheckedSqrt(s.eeff));
    const double c = s.eeff * cAir;
    const double cAirCovered = 1.0 / (1.0 / cAir - dp);
    const double cCovered = 1.0 / (1.0 / c - kappa * dp);
    const double eeff = cCovered / cAirCovered;
    return {1.0 / (kSpeedOfLight * cAirCovered * CheckedSqrt(eeff)), eeff};
}

// The length over which the mode's field spreads above the substrate.
double SpreadLength(const CoatedGeometry& g, const MaskConstants& m) {
    const double single = g.u + m.m + m.n * g.t; // over H
    switch (g.mode) {
    case CoatedGeometry::Mode::Even:
        return single * (1.0 + m.pair1 * ExpFast(-g.g));
    case CoatedGeometry::Mode::Odd:
        return 1.0 / (1.0 / single + m.pair1 / (g.g + m.pair2 * g.t));
    case CoatedGeometry::Mode::Single:
        break;
    }
    return single;
}

const MaskConstants& MaskOf(CoatedGeometry::Mode mode) {
    return mode == CoatedGeometry::Mode::Even  ? kEvenMask
           : mode == CoatedGeometry::Mode::Odd ? kOddMask
                                                : kSingleMask;
}

ModeStatic WithMask(const CoatedGeometry& g, double h, double er, const Coating& c, double q,
                    ModeStatic s) {
    const MaskConstants& m = MaskOf(g.mode);
    const double overlay = q * er + (1.0 - q) * c.erm;
    const double power = m.p * (1.0 + m.gapPower * ExpFast(-g.g));
    const double spread = CheckedPow(c.tm / (h * SpreadLength(g, m)), power);
    const double r = c.hc > 0.0 ? h / (h + c.hc) : 0.0;
    const double share = (1.0 - ExpFast(-m.a * spread)) * (1.0 + m.k / c.erm) /
                         (1.0 + m.k / 3.0) * (1.0 + m.c * (c.erm - er)) * (1.0 - m.kc * r * r);
    const double eeff = s.eeff + (overlay - s.eeff) * share;
    return {s.z0 * CheckedSqrt(s.eeff / eeff), eeff};
}

// Below this Er - 1 the filling factor is taken at Er = 2: without a
// substrate it is 0/0, and it hardly depends on Er.
constexpr double kFillingFromEr = 1e-3;

} // namespace

ModeStatic CoatedModeStatic(const CoatedGeometry& g, double h, double er, const Coating& c,
                            const UncoatedMode& uncoated) {
    const auto covered = [&](double e) {
        const ModeStatic open = uncoated.At(e);
        return c.hc > 0.0 ? WithCover(g, h, e, c.hc, open) : open;
    };
    ModeStatic s = covered(er);
    if (!(c.tm > 0.0)) return s;
    double q;
    if (er - 1.0 > kFillingFromEr) {
        q = (s.eeff - 1.0) / (er - 1.0);
    } else {
        const ModeStatic two = covered(2.0);
        q = two.eeff - 1.0;
    }
    return WithMask(g, h, er, c, q, s);
}

DielectricShares CoatedShares(const CoatedGeometry& g, double h, double er, const Coating& c,
                              const UncoatedMode& uncoated) {
    // Forward differences: Er = 1 has no value below it.
    constexpr double kStep = 1e-4;
    const double e = CoatedModeStatic(g, h, er, c, uncoated).eeff;
    const double eSub = CoatedModeStatic(g, h, er * (1.0 + kStep), c, uncoated).eeff;
    DielectricShares shares{(eSub - e) / (kStep * e), 0.0};
    if (c.tm > 0.0) {
        Coating more = c;
        more.erm = c.erm * (1.0 + kStep);
        shares.mask = (CoatedModeStatic(g, h, er, more, uncoated).eeff - e) / (kStep * e);
    }
    return shares;
}
