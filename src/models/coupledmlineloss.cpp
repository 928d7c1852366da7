// Conductor loss of the two modes of an edge-coupled microstrip pair by
// Wheeler's incremental-inductance rule (H. A. Wheeler, "Formulas for the skin
// effect", Proc. IRE 30, 1942) applied to the even- and odd-mode impedances in
// air of the Kirschning-Jansen model the pair's impedances come from,
//   alpha_mode = R_mode / (2 Z_mode),  R_mode = (Rs / eta0) sum over the walls of dZ_mode,air / dn,
// with the strips' finite thickness and DC floor of FiniteThicknessResistance.
// The derivative of one smooth closed-form model has no branch, so the loss
// has no step in W/H, and it follows the single strip's loss as the strips
// move apart.
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
    // both modes' impedances: each is evaluated once, in the order the even
    // mode reads them, and the odd mode reads them again.
    const StripSkin skin = StripSkinOf(f, t, sigma); // both modes' walls
    const CoupledMicrostripModes drawn = asDrawnInAir != nullptr
                                             ? *asDrawnInAir
                                             : CoupledMicrostripModeValuesInAir(w, s, h, t);
    // One ground plane: it recedes by the skin depth / 2, the strips'
    // undersides by the strips' recession / 2.
    const CoupledMicrostripModes groundReceded =
        CoupledMicrostripModeValuesInAir(w, s, h + 0.5 * skin.delta, t);
    const double strip = StripRecession(skin, w, t);
    const CoupledMicrostripModes stripReceded =
        CoupledMicrostripModeValuesInAir(w - strip, s + strip, h + 0.5 * strip, t - strip);
    const double even = FiniteThicknessResistance(drawn.ze, skin, w, t, sigma, groundReceded.ze,
                                                  stripReceded.ze);
    const double odd = FiniteThicknessResistance(drawn.zo, skin, w, t, sigma, groundReceded.zo,
                                                 stripReceded.zo);
    return {even / (2.0 * ze), odd / (2.0 * zo)};
}
