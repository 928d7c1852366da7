// Conductor loss of a strip whose thickness may be near, or below, the skin
// depth, between ground planes of ample thickness (stripline and coupled
// stripline).  Lengths in metres, f in hertz, sigma in S/m, loss in nepers
// per metre.
#pragma once

#include <algorithm>

// The skin-effect terms of a strip of thickness t at f (below 1 Hz: at 1 Hz):
// the skin depth; the real part of the surface impedance of one face of a
// strip whose two faces carry equal currents (the symmetric strip between two
// planes), Re{(1 + j) / (sigma delta) coth((1 + j) t / (2 delta))}, which is
// 1 / (sigma delta) for t well above the skin depth delta and 2 / (sigma t),
// each face's half of the DC sheet resistance, for t well below it; and the
// weight of the uniform current, sech(t / delta).  NaN for t <= 0, which has
// no finite resistance.  The walls of both modes of a pair, or of both halves
// of an offset strip, share them.
struct StripSkin {
    double f, delta, faceResistance, weight;
};
StripSkin StripSkinOf(double f, double t, double sigma);

// Series resistance per metre of a line whose strip (of a coupled pair: each
// strip, carrying the mode current) has width w and thickness t > 0, and
// whose impedance in air is zAir: Wheeler's incremental-inductance rule, the
// ground planes with 1 / (sigma delta), the strip's walls with the skin's
// face resistance.  groundReceded is the line's impedance in air with the
// ground planes receded by skin.delta (each by half of it), stripReceded the
// same with the strip's walls receded by StripRecession(skin, w, t) (every
// face and edge by half of it: W and T less the recession, a coupling gap
// more, a substrate under the strip more by half); the caller forms them
// (for several modes at once).  As t / delta falls the strip's part passes
// smoothly, with the weight sech(t / delta) the microstrip line constants
// use, to its DC resistance 1 / (sigma w t), and it is never below that.
// t = 0 has no finite resistance: 0, the conductor loss left out.  The loss
// is R / (2 Z0) with the line's Z0.
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
