// Edge-coupled stripline: Cohn's even- and odd-mode normalized capacitances
// ("Shielded coupled-strip transmission line", IRE MTT-3, 1955), exact for
// strips of zero thickness with K(k)/K'(k).  Thick strips add to each mode
// what thickness adds to the single strip (Wheeler's thick-strip impedance
// against Cohn's thin one), less, in the even mode, the part of the inner
// edge's fringing that the magnetic wall between the strips suppresses, and
// plus, in the odd mode, the parallel-plate capacitance of the gap walls to
// the electric wall between them.  The two fading rates and weights are
// fitted to Tavrel's field solver (tools/coupled_field_grid.py).  Conductor
// loss by Wheeler's incremental-inductance rule per mode, with the strips'
// finite thickness (conductorlossfloor.h).
#include <cmath>
#include <optional>

#include "models/conductorlossfloor.h"
#include "models/striplinecalc.h"
#include "numeric/checkedmath.h"
#include "numeric/constants.h"
#include "numeric/tpexceptions.h"

using namespace constants;

namespace {

constexpr double kEta = kEta0OneTwentyPi;
constexpr double kMinimumCapacitance = 1e-6;

// tanh is 1 to the last bit long before 100.
double Capped(double x) {
    return x > 100.0 ? 100.0 : x;
}

double ImpedanceFromCapacitance(double c, double er) {
    if (c < kMinimumCapacitance) c = kMinimumCapacitance;
    return kEta / (CheckedSqrt(er) * c);
}

using Edges = CoupledStriplineTerms::Edges;

// Both strips of zero thickness between the planes: 4 K(k) / K'(k).
double ZeroThicknessCapacitance(double k) {
    return 4.0 / StriplineKPrimeOverK(k);
}

// The moduli of Cohn's zero-thickness modes.
double EvenModulus(const Edges& th) {
    return th.inner * th.outer;
}
double OddModulus(const Edges& th) {
    return th.inner / (th.outer < 1e-6 ? 1e-6 : th.outer);
}
double Modulus(CoupledMode mode, const Edges& th) {
    return mode == CoupledMode::Even ? EvenModulus(th) : OddModulus(th);
}

// What thickness adds to a single strip's normalized capacitance, in all
// and at its edges alone (less the parallel-plate part 4W/(B - T) - 4W/B).
struct ThicknessIncrement {
    double all, edges;
};

ThicknessIncrement SingleStripIncrement(double w, double b, double t, CoupledStriplineTerms& terms) {
    const double thick = kEta / terms.SingleStrip(w, b, t).z0;
    const double thin = kEta / terms.SingleStrip(w, b, 0.0).z0;
    const double all = thick - thin;
    const double edges = all - 4.0 * w * (1.0 / (b - t) - 1.0 / b);
    return {all, edges > 0.0 ? edges : 0.0};
}

// Fitted over 48 pairs with 0.35 <= W/B <= 4, 0.05 <= S/B <= 4 and
// 0.005 <= T/B <= 0.1 (worst 0.7 %, median 0.2 %): the share of the edges'
// increment the even mode loses across a narrow gap and its fading with S/B;
// the fading with S/B of the odd mode's wall capacitance 2T/S, which across
// a gap much narrower than T is the whole of the parallel plates.
constexpr double kEvenEdgeShare = 0.548, kEvenEdgeFade = 1.643;
constexpr double kOddWallFade = 1.530;

// The even mode's thin form is chosen by T/B, the odd mode's by T itself.
bool ThickForm(CoupledMode mode, double b, double t) {
    return mode == CoupledMode::Even ? t / b >= 1e-9 : t >= 1e-9;
}

// The same double, 0 and -0 told apart (a formula may tell them apart).
bool Same(double a, double b) {
    return a == b && std::signbit(a) == std::signbit(b);
}

} // namespace

StriplineImpedanceResult CoupledStriplineTerms::SingleStrip(double w, double b, double t) {
    if (!keep_) return StriplineImpedance(w, b, t, 1.0);
    for (std::size_t i = 0; i < stripCount_; ++i) {
        const Strip& kept = strips_[i];
        if (Same(kept.w, w) && Same(kept.b, b) && Same(kept.t, t)) return kept.value;
    }
    const StriplineImpedanceResult value = StriplineImpedance(w, b, t, 1.0);
    if (stripCount_ < kKept) strips_[stripCount_++] = {w, b, t, value};
    return value;
}

Edges CoupledStriplineTerms::EdgeTanhs(double w, double s, double b) {
    const auto compute = [&] {
        return Edges{std::tanh(Capped(kHalfPi * w / b)), std::tanh(Capped(kHalfPi * (w + s) / b))};
    };
    if (!keep_) return compute();
    for (std::size_t i = 0; i < pairCount_; ++i) {
        const Pair& kept = pairs_[i];
        if (Same(kept.w, w) && Same(kept.s, s) && Same(kept.b, b)) return kept.value;
    }
    const Edges value = compute();
    if (pairCount_ < kKept) pairs_[pairCount_++] = {w, s, b, value};
    return value;
}

StripSkin CoupledStriplineTerms::Skin(double f, double t, double sigma) {
    if (!keep_) return StripSkinOf(f, t, sigma);
    if (!skin_ || !(Same(skinKey_[0], f) && Same(skinKey_[1], t) && Same(skinKey_[2], sigma))) {
        skin_ = StripSkinOf(f, t, sigma);
        skinKey_ = {f, t, sigma};
    }
    return *skin_;
}

// Below the thick forms' threshold the strip's thickness still narrows the
// planes' spacing to B - T.
double CoupledStriplineImpedance(CoupledMode mode, double w, double s, double b, double t, double er,
                                 CoupledStriplineTerms& terms) {
    // (Written as the thin forms' own test: a NaN ratio takes the thick forms.)
    if (mode == CoupledMode::Even ? t / b < 1e-9 : t < 1e-9)
        return ImpedanceFromCapacitance(
            ZeroThicknessCapacitance(Modulus(mode, terms.EdgeTanhs(w, s, b - t))), er);
    const ThicknessIncrement d = SingleStripIncrement(w, b, t, terms);
    const double zeroThickness = ZeroThicknessCapacitance(Modulus(mode, terms.EdgeTanhs(w, s, b)));
    if (mode == CoupledMode::Even)
        return ImpedanceFromCapacitance(
            zeroThickness + d.all - kEvenEdgeShare * d.edges * std::exp(-kEvenEdgeFade * s / b), er);
    return ImpedanceFromCapacitance(
        zeroThickness + d.all + 2.0 * t / s * std::exp(-kOddWallFade * s / b), er);
}

// Each term read once: nothing kept.
double CoupledStriplineEvenImpedance(double w, double s, double b, double t, double er) {
    CoupledStriplineTerms terms(false);
    return CoupledStriplineImpedance(CoupledMode::Even, w, s, b, t, er, terms);
}

double CoupledStriplineOddImpedance(double w, double s, double b, double t, double er) {
    CoupledStriplineTerms terms(false);
    return CoupledStriplineImpedance(CoupledMode::Odd, w, s, b, t, er, terms);
}

namespace {

// The single strip's range, thick and thin, which thick strips take as well.
bool SingleStripsOutOfRange(double w, double b, double t) {
    return StriplineOutOfRange(w, b, t) || StriplineOutOfRange(w, b, 0.0);
}

} // namespace

bool CoupledStriplineOutOfRange(CoupledMode mode, double w, double s, double b, double t) {
    CoupledStriplineTerms once(false);
    if (Modulus(mode, once.EdgeTanhs(w, s, b)) > kLargestModulus) return true;
    return ThickForm(mode, b, t) && SingleStripsOutOfRange(w, b, t);
}

bool CoupledStriplineEitherModeOutOfRange(double w, double s, double b, double t) {
    CoupledStriplineTerms once(false);
    const Edges th = once.EdgeTanhs(w, s, b);
    std::optional<bool> strips; // read at most once, where a mode first needs them
    for (CoupledMode mode : {CoupledMode::Even, CoupledMode::Odd}) {
        if (Modulus(mode, th) > kLargestModulus) return true;
        if (!ThickForm(mode, b, t)) continue;
        if (!strips) strips = SingleStripsOutOfRange(w, b, t);
        if (*strips) return true;
    }
    return false;
}

double CoupledStriplineConductorLoss(CoupledMode mode, double z, double f, double w, double s, double b,
                                     double t, double er, double sigma,
                                     CoupledStriplineTerms& terms) {
    const bool even = mode == CoupledMode::Even;
    const bool thick = ThickForm(mode, b, t);
    if (!(t > 0.0)) return 0.0; // no finite resistance: left out
    const double r = FiniteThicknessResistance(
        z * CheckedSqrt(er), terms.Skin(f, t, sigma), w, t, sigma, [&](double strip, double ground) {
            const double planes = b + ground;
            const double limit = even ? 1e-9 * planes : 1e-9;
            return CoupledStriplineImpedance(mode, w - strip, s + strip, planes,
                                             RecededThickness(t, strip, thick, limit), 1.0, terms);
        });
    return r / (2.0 * z);
}

double CoupledStriplineConductorLoss(CoupledMode mode, double z, double f, double w, double s, double b,
                                     double t, double er, double sigma) {
    CoupledStriplineTerms terms(false);
    return CoupledStriplineConductorLoss(mode, z, f, w, s, b, t, er, sigma, terms);
}

namespace {

LineValues CoupledStriplineMode(CoupledMode mode, const LineInputs& in, double w,
                                CoupledStriplineTerms& terms) {
    const double s = in.Row(2);
    const double b = in.Row(3);
    const double t = in.Row(4);
    const double er = in.er;
    const double sigma = StriplineConductivity(in.rho);
    LineValues v;
    v.eeff = er; // homogeneous dielectric
    v.impedance = CoupledStriplineImpedance(mode, w, s, b, t, er, terms);
    v.dielectricLoss = StriplineDielectricLoss(in.f, er, in.tand);
    v.conductorLoss =
        sigma > 0.0
            ? CoupledStriplineConductorLoss(mode, v.impedance, in.f, w, s, b, t, er, sigma, terms)
            : 0.0;
    v.loss = v.dielectricLoss;
    if (sigma > 0.0) v.loss += v.conductorLoss;
    return v;
}

} // namespace

LineResult coupledstripline::Evaluate(const InputsAtFrequency& in, double w) {
    // Both modes, and both modes' receded walls, read the same cross-sections.
    CoupledStriplineTerms terms;
    LineResult result;
    result.even = CoupledStriplineMode(CoupledMode::Even, in, w, terms);
    result.odd = CoupledStriplineMode(CoupledMode::Odd, in, w, terms);
    result.ShowMode(in.mode);
    return result;
}

void coupledstripline::Check(const InputsAtFrequency& in, std::vector<std::string>& warnings) {
    const double w = in.Row(1);
    const double s = in.Row(2);
    const double b = in.Row(3);
    const double t = in.Row(4);

    // Geometry without a line (planes not apart, no strip, no gap) has no
    // meaningful impedance: the formulas would divide by zero or return a
    // number from a clamped modulus.
    RequireGroundPlaneSpacing(b);
    RequireStripDimensions(w, t);
    if (!(s > 0.0)) throw TP_Exceptions("S must be > 0");

    if (t / b > 0.25) warnings.push_back("(T/B) must be <= 0.25");
    if (t / b > 0.1) warnings.push_back("(T/B) Recommended <= 0.1");
    if (!(w / b >= 0.35)) warnings.push_back("(W/B) Recommended >= 0.35");
    if (in.er > 16.0) warnings.push_back("Er Recommended <= 16");
    if (in.rho > 100.0) warnings.push_back("Rho Recommended <= 100");
    // Beyond the modulus clamp the impedance stays frozen while the true one
    // keeps falling, as for the single strip.  Both modes are computed and
    // reported (the pair's figures, a Touchstone sweep), so a clamp in
    // either warns, whichever mode is shown; the odd mode clamps first.
    if (CoupledStriplineEitherModeOutOfRange(w, s, b, t))
        warnings.push_back("Stripline Parameters Out-of-Range: Try reducing W/H");
}
