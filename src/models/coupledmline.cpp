// Edge-coupled microstrip pair: Kirschning-Jansen even- and odd-mode static
// and dispersive formulas (Kirschning and Jansen, "Accurate wide-range design
// equations for the frequency-dependent characteristic of parallel coupled
// microstrip lines", MTT-32, 1984, with the 1985 corrections), conductor loss
// by Wheeler's incremental-inductance rule on the same model's impedances in
// air (coupledmlineloss.cpp), dielectric loss with the filling factor.  The
// single-strip values come from the microstrip kernel at zero frequency.
#include <cmath>
#include <limits>
#include <optional>

#include "models/mline.h"
#include "models/mlineformulas.h"
#include "numeric/checkedmath.h"
#include "numeric/complexmath.h"
#include "numeric/constants.h"
#include "numeric/fpfault.h"
#include "numeric/hilberg.h"
#include "numeric/smoothstep.h"

using mline::Pow;
using mline::PowN;
using namespace constants;

namespace {

// Kirschning and Jansen's even-mode impedance dispersion divides differences
// of 0.9408 eeff^Xe and 0.9603: it has no value just above Er = 1 and keeps
// some 6 % of dispersion down to Er 1.05, where a line nearly in air hardly
// disperses.  Below Er 1.2 the static values stand; from there the
// dispersion fades in, fully applied from Er 1.4.  Switched on at once at
// 1.2, it stepped the even-mode impedance by 5.8 % (40 GHz, W = S = H =
// 0.635 mm).
constexpr double kDispersionFrom = 1.2;
constexpr double kDispersionFull = 1.4;

// Every exponential of the coupled formulas.
double Exp(double x) {
    return SafeExp500(x);
}

struct StaticValues {
    double ze0, zo0, ee0, eo0;
};

// Kirschning-Jansen static terms of the gap ratio g alone.  One thick pair
// evaluates three widths at its own gap: each takes them from here.
struct GapTerms {
    double g, logG, g2, expG, q2, q3, q5, q6, q9;
};

GapTerms KirschningJansenGapTerms(double g) {
    const CheckedPowers gTo(g);
    GapTerms t;
    t.g = g;
    t.g2 = PowN(g, 2);
    t.logG = gTo.Log();
    t.expG = Exp(-g);
    t.q2 = 1.0 + 0.7519 * g + 0.189 * gTo.Pow(2.31);
    const double g10 = PowN(g, 10); // in Q3 and Q6
    t.q3 = 0.1975 + Pow(16.6 + PowN(8.4 / g, 6), -0.387) +
           CheckedLog(g10 / (1.0 + PowN(g / 3.4, 10))) / 241.0;
    t.q5 = 1.794 + 1.14 * CheckedLog(1.0 + 0.638 / (g + 0.517 * gTo.Pow(2.43)));
    t.q6 = 0.2305 + CheckedLog(g10 / (1.0 + PowN(g / 5.8, 10))) / 281.3 +
           CheckedLog(1.0 + 0.598 * gTo.Pow(1.154)) / 5.1;
    const double q7 = (10.0 + 190.0 * t.g2) / (1.0 + 82.3 * PowN(g, 3));
    const double q8 = Exp(-6.5 - 0.95 * t.logG - PowN(g / 0.15, 5));
    t.q9 = CheckedLog(q7) * (q8 + 1.0 / 16.5);
    return t;
}

// The terms of the width ratio u at that gap, independent of Er: a thick
// pair reads its width on the substrate with and without the substrate.
struct WidthTerms {
    double ve, aVe; // the even mode's width ratio and its Hammerstad-Jensen a(ve)
    double fadeC, fadeA, gd0, q4, q10;
};

constexpr double kNotComputed = std::numeric_limits<double>::quiet_NaN();

// `dielectric`: with the terms of the modes' effective dielectric constants
// (aVe, fadeC, fadeA, gd0), which a pair in air (Er = 1) does not read.
WidthTerms KirschningJansenWidthTerms(double u, const GapTerms& gap, bool dielectric) {
    const double g = gap.g;
    const CheckedPowers uTo(u);
    WidthTerms w;
    w.ve = u * (20.0 + gap.g2) / (10.0 + gap.g2) + g * gap.expG;
    w.aVe = w.fadeC = w.fadeA = w.gd0 = kNotComputed;
    if (dielectric) {
        w.aVe = mline::HammerstadJensenA(w.ve);
        const double d0 = 0.593 + 0.694 * Exp(-0.562 * u);
        w.fadeC = Exp(-0.414 * u);
        w.fadeA = 1.0 - Exp(-0.179 * u);
        w.gd0 = Exp(d0 * gap.logG); // g^d0
    }
    const double q1 = 0.8695 * uTo.Pow(0.194);
    const double uToQ3 = uTo.Pow(gap.q3); // and u^-q3 its reciprocal
    w.q4 = (2.0 * q1 / gap.q2) / (gap.expG * uToQ3 + (2.0 - gap.expG) / uToQ3);
    w.q10 = (gap.q2 * w.q4 - gap.q5 * Exp(uTo.Log() * gap.q6 * uTo.Pow(-gap.q9))) / gap.q2;
    return w;
}

// Kirschning-Jansen static even- and odd-mode values from the width's terms
// and the single strip's impedance zl and effective dielectric constant es.
// `bOfEr`: mline::HammerstadJensenB(er), which every strip on the substrate
// reads (NaN in air).
StaticValues KirschningJansenStatic(const WidthTerms& w, double er, double bOfEr, double zl,
                                    double es) {
    StaticValues v;
    if (er == 1.0 && es == 1.0) {
        // In air both formulas give 1 to the bit: their substrate terms are
        // multiplied by Er - 1 = 0 and es - (Er + 1) / 2 = 0.  The square
        // roots below are then 1 as well, and a factor 1 changes no bit.
        v.ee0 = v.eo0 = 1.0;
        const double zlOver377 = zl * kOneOver377;
        v.ze0 = zl / (1.0 - zlOver377 * w.q4);
        v.zo0 = zl / (1.0 - zlOver377 * w.q10);
        return v;
    }
    v.ee0 = mline::HammerstadJensenEffective(
        w.ve, er, w.aVe, std::isnan(bOfEr) ? mline::HammerstadJensenB(er) : bOfEr);
    const double b0 = 0.747 * er / (er + 0.15);
    const double c0 = b0 - (b0 - 0.207) * w.fadeC;
    const double a0 = 0.7287 * (es - (er + 1.0) / 2.0) * w.fadeA;
    v.eo0 = es + ((er + 1.0) / 2.0 + a0 - es) * Exp(-c0 * w.gd0);

    const double rootEs = CheckedSqrt(es);
    v.ze0 = zl * CheckedSqrt(es / v.ee0) / (1.0 - rootEs * (zl * kOneOver377) * w.q4);
    v.zo0 = zl * CheckedSqrt(es / v.eo0) / (1.0 - rootEs * (zl * kOneOver377) * w.q10);
    return v;
}

StaticValues KirschningJansenStatic(double u, double g, double er, double bOfEr, double zl,
                                    double es) {
    return KirschningJansenStatic(
        KirschningJansenWidthTerms(u, KirschningJansenGapTerms(g), er != 1.0), er, bOfEr, zl, es);
}

// Zero-thickness static values in air with the single strip taken at the
// pair's own width ratio u.  `widening`: the thin strip's Wheeler widening
// at this H (MicrostripZeroFrequencyPair), where at hand.
StaticValues ThinStaticInAir(double u, const GapTerms& gap, double h, double widening) {
    const MicrostripStatic single =
        MicrostripZeroFrequency(u * h, h, 0.0, 1.0, kNotComputed, widening).substrate;
    return KirschningJansenStatic(KirschningJansenWidthTerms(u, gap, false), 1.0, kNotComputed,
                                  single.z0, single.eeff);
}

// Thick strips, after Jansen's mode-dependent effective widths (R. H. Jansen,
// "High-speed computation of single and coupled microstrip parameters
// including dispersion, high-order modes, loss and finite strip thickness",
// MTT-26, 1978): both modes widen by the single strip's Hammerstad-Jensen
// increment du, less the share of the inner edge that a narrow gap takes,
//     u' = u + du (1 - p exp(-q S/T)),
// on the substrate (du from du1 by (1 + sech sqrt(Er - 1)) / 2) and in air
// (du1 scaled by d), the effective dielectric constant following from the
// impedances in air at the two widths as in Hammerstad and Jensen's single
// strip.  The odd mode adds the capacitance of the two gap walls to its
// electric midplane, a (T/S) / (1 + k S/T) times eps0 (the parallel plates'
// 2 T/S across a narrow gap, fading where the gap is wide against T), with
// and without the substrate (the walls stand in air).  Jansen's fading with
// du/dt, dt = T/(S Er), and his p = 0.5, q = 0.69 left the odd mode 25 % off
// across narrow gaps; p, q, d, a and k are fitted to Tavrel's field solver
// over 72 pairs with 0.1 <= W/H, S/H <= 10, 0.02 <= T/H <= 0.35, T <= W/2
// and 2 <= Er <= 13 (tools/coupled_field_grid.py): worst 0.9 %, median
// 0.3 % in Z and eeff of both modes.
constexpr double kSubstrateP = 0.513, kSubstrateQ = 0.0865;
constexpr double kAirP = 0.512, kAirQ = 0.0943, kAirIncrement = 0.951;
constexpr double kWallWeight = 2.12, kWallFade = 0.0132;

// du1: the single strip's increment mline::ThicknessIncrement(u, t).
double EffectiveWidth(double u, double du1, double g, double t, double er) {
    const bool air = !(er > 1.0);
    const double du = air ? kAirIncrement * du1 : mline::ThicknessIncrementOnSubstrate(du1, er);
    return u + du * (1.0 - (air ? kAirP : kSubstrateP) * Exp(-(air ? kAirQ : kSubstrateQ) * g / t));
}

// Odd-mode capacitances times c0 (with the substrate, in air), walls added.
StaticValues WithGapWalls(StaticValues v, double g, double t) {
    const double rootEo = CheckedSqrt(v.eo0);
    const double wall = kWallWeight * (t / g) / (1.0 + kWallFade * g / t) * kOneOver377;
    const double c = rootEo / v.zo0 + wall, cAir = 1.0 / (v.zo0 * rootEo) + wall;
    v.zo0 = 1.0 / CheckedSqrt(c * cAir);
    v.eo0 = c / cAir;
    return v;
}

// The same strips without a substrate, before their walls are added:
// WithGapWalls(values, g, t) is what ThickStatic gives at Er = 1.
struct UnwalledAir {
    StaticValues values;
    double g, t;
};

// `inAir`, where given, receives the strips' UnwalledAir where they are
// computed on the way (Er of 1 or above).  Flattened: each answer takes it
// three times, and its helpers' calls cost more than their arithmetic.
[[gnu::flatten]] StaticValues ThickStatic(double u, double g, double t, double h, double er,
                                          double bOfEr,
                                          std::optional<UnwalledAir>* inAir = nullptr) {
    const double du1 = mline::ThicknessIncrement(u, t);
    const double onSubstrate = EffectiveWidth(u, du1, g, t, er);
    // The thin strip on the substrate, and in air (its eeff is 1 there).
    const MicrostripZeroFrequencyPair single =
        MicrostripZeroFrequency(onSubstrate * h, h, 0.0, er, bOfEr);
    const GapTerms gap = KirschningJansenGapTerms(g);
    const WidthTerms substrateWidth = KirschningJansenWidthTerms(onSubstrate, gap, er != 1.0);
    StaticValues v = KirschningJansenStatic(substrateWidth, er, bOfEr, single.substrate.z0,
                                            single.substrate.eeff);
    // Without a substrate the two widths are one and the ratios are 1: the
    // air cross-sections of the conductor loss skip the two evaluations.
    if (er > 1.0) {
        const StaticValues airA =
            ThinStaticInAir(EffectiveWidth(u, du1, g, t, 1.0), gap, h, single.widening);
        const StaticValues airR =
            KirschningJansenStatic(substrateWidth, 1.0, kNotComputed, single.airImpedance, 1.0);
        if (inAir != nullptr) *inAir = UnwalledAir{airA, g, t};
        const double even = airA.ze0 / airR.ze0, odd = airA.zo0 / airR.zo0;
        v.ee0 = v.ee0 * even * even;
        v.eo0 = v.eo0 * odd * odd;
    } else if (inAir != nullptr && er == 1.0) {
        *inAir = UnwalledAir{v, g, t};
    }
    return WithGapWalls(v, g, t);
}

// The bases whose powers the dispersion of both modes reads, each with its
// logarithm taken once: the width and gap ratios, the normalised frequency
// fn, Er and Er - 1.  A power of a scaled base, (x / c)^y, is x^y times the
// constant c^-y.
struct DispersionBases {
    CheckedPowers u, g, fn, er, erm;
};

// Kirschning-Jansen dispersion of both modes' effective dielectric constants.
void DisperseDielectric(const mline::DispersionStaticTerms& k, const DispersionBases& b,
                        const StaticValues& s, double& ee, double& eo) {
    const double u = b.u.Base(), er = b.er.Base(), fn = b.fn.Base();
    const mline::DielectricDispersionTerms p =
        mline::KirschningJansenDielectricTerms<SafeExp500>(k, u, b.fn);
    const double p5 = 0.334 * Exp(-3.3 * PowN(er / 15.0, 3)) + 0.746;
    const double p6 = p5 * Exp(-(b.fn.Pow(0.368) * 0.34519120195383346)); // (fn / 18)^0.368
    const double p7 =
        1.0 + 4.069 * p6 * b.g.Pow(0.479) * Exp(-1.347 * b.g.Pow(0.595) - 0.17 * b.g.Pow(2.5));
    const double fe = p.p1 * p.p2 * Pow((p.p3 * p.p4 + 0.1844 * p7) * fn, 1.5763);
    ee = er - (er - s.ee0) / (1.0 + fe);

    const double p8 = 0.7168 * (1.0 + 1.076 / (1.0 + 0.0576 * (er - 1.0)));
    const double p9 = p8 - 0.7913 *
                               (1.0 - Exp(-(b.fn.Pow(1.424) * 0.014038906647298142))) * // fn / 20
                               std::atan(2.481 * (b.er.Pow(0.946) * 0.13985463762946393)); // Er / 8
    const double p10 = 0.242 * b.erm.Pow(0.55);
    const double p11 = 0.6366 * (Exp(-0.3401 * fn) - 1.0) *
                       std::atan(1.263 * (b.u.Pow(1.629) * 0.16702038331412958)); // u / 3
    const double p12 = p9 + (1.0 - p9) / (1.0 + 1.183 * b.u.Pow(1.376));
    const double p13 = 1.695 * p10 / (0.414 + 1.605 * p10);
    const double p14 =
        0.8928 + 0.1072 * (1.0 - Exp(-0.42 * (b.fn.Pow(3.215) * 6.56430216275058e-05))); // fn / 20
    const double p15 =
        std::fabs(1.0 - 0.8928 * (1.0 + p11) * p12 * Exp(-p13 * b.g.Pow(1.092)) / p14);
    const double fo = p.p1 * p.p2 * Pow((p.p3 * p.p4 + 0.1844) * fn * p15, 1.5763);
    eo = er - (er - s.eo0) / (1.0 + fo);
}

// Kirschning-Jansen even-mode impedance dispersion.  `g084`: g^0.84, which
// the odd mode reads too.
double DisperseEvenImpedance(const mline::DispersionStaticTerms& k, const DispersionBases& b,
                             double g084, const StaticValues& s, double ee) {
    const double u = b.u.Base(), g = b.g.Base(), er = b.er.Base(), fn = b.fn.Base();
    const mline::ImpedanceDispersionTerms r = mline::KirschningJansenImpedanceTerms<SafeExp500>(k, b.fn);
    const double f20 = b.fn.Pow(4.91) * 4.092066862675765e-07; // (fn / 20)^4.91
    const double q11 = 0.893 * (1.0 - 0.3 / (1.0 + 0.7 * (er - 1.0)));
    const double q12 = 2.121 * (f20 / (1.0 + q11 * f20)) * Exp(-2.87 * g) * b.g.Pow(0.902);
    const double q13 = 1.0 + 0.038 * (b.er.Pow(5.1) * 2.4787975963019902e-05); // (Er / 8)^5.1
    const double er15 = PowN(er / 15.0, 4);
    const double q14 = 1.0 + 1.203 * er15 / (1.0 + er15);
    const double q15 =
        1.887 * Exp(-1.5 * g084) * b.g.Pow(q14) /
        (1.0 + 0.41 * PowN(fn / 15.0, 3) * b.u.Pow(2.0 / q13) / (0.125 + b.u.Pow(1.626 / q13)));
    const double q16 = q15 * (1.0 + 9.0 / (1.0 + 0.403 * PowN(er - 1.0, 2)));
    const double q17 = 0.394 * (1.0 - Exp(-1.47 * (b.u.Pow(0.672) * 0.2704544409605593))) * // u / 7
                       (1.0 - Exp(-4.25 * (b.fn.Pow(1.87) * 0.0036904039641364413))); // fn / 20
    const double q18 = 0.61 *
                       (1.0 - Exp(-2.13 * (b.u.Pow(1.593) * 0.036423162441704994))) / // u / 8
                       (1.0 + 6.544 * b.g.Pow(4.17));
    const double q19 =
        0.21 * PowN(g, 4) /
        ((1.0 + 0.18 * b.g.Pow(4.9)) * (1.0 + 0.1 * PowN(u, 2)) * (1.0 + PowN(fn / 24.0, 3)));
    const double q20 = q19 * (0.09 + 1.0 / (1.0 + 0.1 * b.erm.Pow(2.7)));
    const double xe = r.r8 - q12 + q16 - q17 + q18 + q20;
    return s.ze0 * Pow(0.9408 * Pow(ee, xe) - 0.9603, r.r17) /
           Pow((0.9408 - r.r9) * Pow(s.ee0, xe) - 0.9603, r.r17);
}

// Kirschning-Jansen odd-mode impedance dispersion; zl is the single strip's
// zero-frequency impedance.  Q26 carries no further term.
double DisperseOddImpedance(const DispersionBases& b, double g084, const StaticValues& s, double eo,
                            double zl) {
    const double u = b.u.Base(), fn = b.fn.Base();
    const double erm = b.erm.Base();
    const double e13 = PowN(erm / 13.0, 12);
    const double q26 = 30.0 - 22.2 * (e13 / (1.0 + 3.0 * e13));
    const double fn1536 = b.fn.Pow(1.536);
    const double q22 = 0.925 * fn1536 * Pow(q26, -1.536) /
                       (1.0 + 0.3 * (fn1536 * 0.005384455012487267)); // (fn / 30)^1.536
    const double erm15 = erm * CheckedSqrt(erm);
    const double q27 = 0.4 * g084 * (1.0 + 2.5 * erm15 / (5.0 + erm15));
    const double q23 =
        1.0 + 0.005 * fn * q27 /
                  ((1.0 + 0.812 * (b.fn.Pow(1.9) * 0.005826752991287779)) * // fn / 15
                   (1.0 + 0.025 * PowN(u, 2)));
    const double erm3 = PowN(erm, 3);
    const double q28 = 0.149 * erm3 / (94.5 + 0.038 * erm3);
    const double u894 = b.u.Pow(0.894);
    const double q24 =
        2.506 * q28 * u894 * Pow((1.0 + 1.3 * u) * fn / 99.25, 4.29) / (3.575 + u894);
    const double fn2 = PowN(fn, 2);
    const double erm2 = PowN(erm, 2);
    const double q25 = (0.3 * fn2 / (10.0 + fn2)) * (1.0 + 2.333 * erm2 / (5.0 + erm2));
    return zl + (s.zo0 * Pow(eo / s.eo0, q22) - zl * q23) /
                    (1.0 + q24 + (b.g.Pow(2.2) * 0.18116205135809363) * q25); // (0.46 g)^2.2
}

// Filling-factor dielectric loss in dB/m.
double DielectricLossDecibels(double er, double eeff, double tand, double lambda0) {
    return 27.3 * er * (eeff - 1.0) * tand / (CheckedSqrt(eeff) * (er - 1.0) * lambda0);
}

// A division whose fault (zero divisor) aborts at once, as a trapping
// floating-point unit would, before its infinity meets a checked function.
// Operands of moderate size (|a| <= 1e100, |b| >= 1e-200, neither NaN) can
// raise no fault, and their flags are not read.
double FaultCheckedRatio(double a, double b) {
    const bool moderate = std::fabs(a) <= 1e100 && std::fabs(b) >= 1e-200;
    return FaultTrapped(moderate, [&] { return a / b; });
}

} // namespace

namespace {

CoupledMicrostripModes ModesOf(const StaticValues& v) {
    return {v.ze0, v.zo0, v.ee0, v.eo0};
}

// `inAir` as for ThickStatic, for strips of some thickness over a ground.
CoupledMicrostripModes ModeValues(double w, double s, double h, double t, double er, double f,
                                  std::optional<UnwalledAir>* inAir) {
    double u = w / h, g = s / h;
    if (!(u > 0.0) || !(g > 0.0)) u = g = 0.1;

    const double weight = SmoothStep(er, kDispersionFrom, kDispersionFull);
    const bool dispersion = weight > 0.0 && f >= 1.0;
    const bool thick = t > 0.0 && h > 0.0;
    // Single strip at zero frequency: the low-frequency set, no loss.  Thick
    // strips read it only for their dispersion.
    // Hammerstad-Jensen b(Er): every strip on the substrate reads it.  (Below
    // Er = 1 each formula computes its own, so that the first fault raised
    // stays the same.)
    const double bOfEr = er > 1.0 ? mline::HammerstadJensenB(er) : kNotComputed;
    MicrostripStatic single{};
    if (!thick || dispersion) single = MicrostripZeroFrequency(w, h, t, er, bOfEr).substrate;
    const double zl = single.z0;
    const StaticValues st = thick ? ThickStatic(u, g, t / h, h, er, bOfEr, inAir)
                                  : KirschningJansenStatic(u, g, er, bOfEr, zl, single.eeff);

    CoupledMicrostripModes m = ModesOf(st);
    if (dispersion) {
        const double fn = f * 1e-9 * h * kInchesPerMetre * 25.4; // GHz times mm
        CoupledMicrostripModes d = m;
        const DispersionBases bases{CheckedPowers(u), CheckedPowers(g), CheckedPowers(fn),
                                    CheckedPowers(er), CheckedPowers(er - 1.0)};
        // The single strip's terms of u and Er serve both modes.
        const mline::DispersionStaticTerms k =
            mline::KirschningJansenStaticTerms<SafeExp500>(bases.u, bases.er);
        DisperseDielectric(k, bases, st, d.ee, d.eo);
        const double g084 = bases.g.Pow(0.84);
        d.ze = DisperseEvenImpedance(k, bases, g084, st, d.ee);
        d.zo = DisperseOddImpedance(bases, g084, st, d.eo, zl);
        if (weight == 1.0) return d;
        m.ze += weight * (d.ze - m.ze);
        m.zo += weight * (d.zo - m.zo);
        m.ee += weight * (d.ee - m.ee);
        m.eo += weight * (d.eo - m.eo);
    }
    return m;
}

} // namespace

CoupledMicrostripModes CoupledMicrostripModeValues(double w, double s, double h, double t, double er,
                                                   double f) {
    return ModeValues(w, s, h, t, er, f, nullptr);
}

// Flattened with Er = 1 and f = 0 written in: the substrate's and the
// dispersion's branches drop out at compile time.
[[gnu::flatten]] CoupledMicrostripModes CoupledMicrostripModeValuesInAir(double w, double s,
                                                                         double h, double t) {
    return ModeValues(w, s, h, t, 1.0, 0.0, nullptr);
}

CoupledMicrostripResult CoupledMicrostripKernel(double w, double s, double h, double t, double er,
                                                double tand, double f, double rho) {
    const double sigma =
        rho > 1e-6 ? (1.0 / (rho * kGoldResistivity * kInchesPerMetre)) * kInchesPerMetre : 0.0;
    // The pair's cross-section without its substrate is the first the
    // conductor loss reads; the pair's own values computed it on the way.
    std::optional<UnwalledAir> inAir;
    const CoupledMicrostripModes m = ModeValues(w, s, h, t, er, f, &inAir);
    CoupledMicrostripResult r{m.ze, m.zo, m.ee, m.eo, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};

    std::optional<CoupledMicrostripModes> asDrawnInAir;
    // (Its walls are added where the loss would read it first.)
    if (inAir && sigma > 0.0 && t > kThinnestConductor && w > 0.0 && s > 0.0 && h > 0.0)
        asDrawnInAir = ModesOf(WithGapWalls(inAir->values, inAir->g, inAir->t));
    const CoupledModeLoss conductor = CoupledMicrostripConductorLoss(
        w, s, h, t, sigma, f, r.ze, r.zo, asDrawnInAir ? &*asDrawnInAir : nullptr);
    if (f > 1e-10 && er > 1.01) {
        // Free-space wavelength; the constant is 1/c^2 for c = 2.997925e8 m/s.
        const double lambda0 = 1.0 / (CheckedSqrt(kInverseSpeedOfLightSquared) * f);
        r.ae = DielectricLossDecibels(er, r.ee, tand, lambda0) * kDecibelsToNepers;
        r.ao = DielectricLossDecibels(er, r.eo, tand, lambda0) * kDecibelsToNepers;
    }
    r.dielectricEven = r.ae;
    r.dielectricOdd = r.ao;
    r.conductorEven = conductor.even;
    r.conductorOdd = conductor.odd;
    r.ae += conductor.even;
    r.ao += conductor.odd;
    return r;
}

LineResult coupledmicrostrip::Evaluate(const InputsAtFrequency& in, double w) {
    const CoupledMicrostripResult r =
        CoupledMicrostripKernel(w, in.Row(2), in.Row(3), in.Row(4), in.er, in.tand, in.f, in.rho);
    LineResult result;
    result.even = {r.ze, r.ee, r.ae, r.conductorEven, r.dielectricEven};
    result.odd = {r.zo, r.eo, r.ao, r.conductorOdd, r.dielectricOdd};
    result.ShowMode(in.mode);
    return result;
}

void coupledmicrostrip::Check(const InputsAtFrequency& in, std::vector<std::string>& warnings) {
    // tand is not tested.
    const double wh = FaultCheckedRatio(in.Row(1), in.Row(3));
    const double sh = FaultCheckedRatio(in.Row(2), in.Row(3));
    if (!(wh > 0.1)) warnings.push_back("Width is too small (W/H < .1)");
    if (wh >= 10.0) warnings.push_back("Width is too large (W/H > 10)");
    if (!(sh > 0.1)) warnings.push_back("Gap is too small (S/H < .1)");
    if (sh >= 10.0) warnings.push_back("Gap is too large (S/H > 10)");
    if (in.er > 16.0) warnings.push_back("Er Recommended <= 16");
    if (in.rho > 100.0) warnings.push_back("Rho Recommended <= 100");
    // The thickness terms' fitted range.
    const double t = in.Row(4);
    if (!(t > 0.0)) return;
    if (FaultCheckedRatio(t, in.Row(3)) > 0.35) warnings.push_back("Strips too thick (T/H > .35)");
    if (t > 0.5 * in.Row(1)) warnings.push_back("Strips too thick for their width (T > W/2)");
}
