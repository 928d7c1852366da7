// Conductor loss of a strip whose thickness may be near, or below, the skin
// depth, between ground planes of ample thickness (stripline and coupled
// stripline).  Lengths in metres, f in hertz, sigma in S/m, loss in nepers
// per metre.
#pragma once

#include <algorithm>

#include "numeric/functionref.h"

// Real part of the surface impedance of one face of a strip of thickness t
// whose two faces carry equal currents (the symmetric strip between two
// planes): Re{(1 + j) / (sigma delta) coth((1 + j) t / (2 delta))}.  It is
// 1 / (sigma delta) for t well above the skin depth delta and 2 / (sigma t),
// each face's half of the DC sheet resistance, for t well below it.
double StripFaceSurfaceResistance(double sigma, double t, double f);

// The line's impedance in air with the strip's walls receded by `strip`
// (every face and edge by strip / 2: W - strip, T - strip, a coupling gap
// S + strip, a substrate under the strip H + strip / 2) and the ground planes
// by `ground` (each by ground / 2).
using RecededWallImpedance = FunctionRef<double(double strip, double ground)>;

// Series resistance per metre of a line whose strip (of a coupled pair: each
// strip, carrying the mode current) has width w and thickness t > 0, and
// whose impedance in air is zAir: Wheeler's incremental-inductance rule, the
// ground planes with 1 / (sigma delta), the strip's walls with
// StripFaceSurfaceResistance.  As t / delta falls the strip's part passes
// smoothly, with the weight sech(t / delta) the microstrip line constants
// use, to its DC resistance 1 / (sigma w t), and it is never below that.
// Below 1 Hz the value at 1 Hz.  t = 0 has no finite resistance: 0, the
// conductor loss left out.  The loss is R / (2 Z0) with the line's Z0.
double FiniteThicknessResistance(double zAir, double f, double w, double t, double sigma,
                                 RecededWallImpedance recededAir);

// The skin-effect terms of a strip of thickness t at f (below 1 Hz: at 1 Hz):
// the skin depth, StripFaceSurfaceResistance and the weight of the uniform
// current, sech(t / delta); NaN for t <= 0, which has no finite resistance.
// The walls of both modes of a pair, or of both halves of an offset strip,
// share them.
struct StripSkin {
    double f, delta, faceResistance, weight;
};
StripSkin StripSkinOf(double f, double t, double sigma);
// FiniteThicknessResistance with the strip's skin terms at hand.
double FiniteThicknessResistance(double zAir, const StripSkin& skin, double w, double t,
                                 double sigma, RecededWallImpedance recededAir);

// The same with the two receded impedances in air at hand, recededAir(0,
// skin.delta) and recededAir(StripRecession(skin, w, t), 0): for a caller
// that forms them itself (for several modes at once).
double FiniteThicknessResistance(double zAir, const StripSkin& skin, double w, double t,
                                 double sigma, double groundReceded, double stripReceded);
// How far the strip's walls recede for its part of the resistance: the skin
// depth, at most half the thickness and half the width.
inline double StripRecession(const StripSkin& skin, double w, double t) {
    return std::min({skin.delta, 0.5 * t, 0.5 * w});
}

// The receded strip thickness t - recession, held above the thin-strip switch
// `thinLimit` of the impedance formula when the strip itself is on the thick
// side (`thick`), so that a difference quotient never spans two formulas.
inline double RecededThickness(double t, double recession, bool thick, double thinLimit) {
    // A hair above the limit, so that the formula's own test of the ratio
    // cannot round the other way.
    return thick ? std::max(t - recession, thinLimit * (1.0 + 1e-6)) : t - recession;
}
