// Conductor loss of the two modes of an edge-coupled microstrip pair by
// Wheeler's incremental-inductance rule (H. A. Wheeler, "Formulas for the skin
// effect", Proc. IRE 30, 1942) applied to the even- and odd-mode impedances in
// air of the Kirschning-Jansen model the pair's impedances come from,
//   alpha_mode = R_mode / (2 Z_mode),  R_mode = (Rs / eta0) sum over the walls of dZ_mode,air / dn,
// with the strips' finite thickness and DC floor of FiniteThicknessResistance.
// The derivative of one smooth closed-form model has no branch, so the loss
// has no step in W/H, and it follows the single strip's loss as the strips
// move apart.
#include <array>

#include "numeric/tpexceptions.h"
#include "models/conductorlossfloor.h"
#include "models/mline.h"

CoupledModeLoss CoupledMicrostripConductorLoss(double w, double s, double h, double t, double sigma,
                                               double f, double ze, double zo,
                                               const CoupledMicrostripModes* asDrawnInAir) {
    if (!(sigma > 0.0) || !(t > kThinnestConductor)) return {0.0, 0.0};
    // The closed-form model stands in for a missing strip or gap with u = g =
    // 0.1; a derivative there would describe another line.
    if (!(w > 0.0) || !(s > 0.0) || !(h > 0.0))
        throw TP_Exceptions("Coupled microstrip: W, S and H must be > 0");
    // Both modes read the same three cross-sections in air (as drawn, the
    // ground plane receded, the strips receded), and each evaluation gives
    // both modes' impedances: each is evaluated once, for the even mode, and
    // read again for the odd one.
    struct AirPoint {
        double w, s, h, t;
        CoupledMicrostripModes modes;
    };
    std::array<AirPoint, 3> evaluated{};
    std::size_t count = 0;
    if (asDrawnInAir != nullptr) evaluated[count++] = {w, s, h, t, *asDrawnInAir};
    const auto airModes = [&](double ww, double ss, double hh, double tt) {
        for (std::size_t i = 0; i < count; ++i) {
            const AirPoint& p = evaluated[i];
            if (p.w == ww && p.s == ss && p.h == hh && p.t == tt) return p.modes;
        }
        const CoupledMicrostripModes m = CoupledMicrostripModeValues(ww, ss, hh, tt, 1.0, 0.0);
        if (count < evaluated.size()) evaluated[count++] = {ww, ss, hh, tt, m};
        return m;
    };
    const StripSkin skin = StripSkinOf(f, t, sigma); // both modes' walls
    auto resistance = [&](bool even) {
        const auto air = [&](double ww, double ss, double hh, double tt) {
            const CoupledMicrostripModes m = airModes(ww, ss, hh, tt);
            return even ? m.ze : m.zo;
        };
        // One ground plane: it recedes by ground / 2, the strips' undersides by strip / 2.
        return FiniteThicknessResistance(
            air(w, s, h, t), skin, w, t, sigma, [&](double strip, double ground) {
                return air(w - strip, s + strip, h + 0.5 * (strip + ground), t - strip);
            });
    };
    return {resistance(true) / (2.0 * ze), resistance(false) / (2.0 * zo)};
}
