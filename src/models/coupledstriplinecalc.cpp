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
#include <limits>
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

// The sections' formulas are templates over the number type: double, or
// Lanes for the same pair between two plane spacings at once (an offset
// pair's two halves), bit for bit each spacing's own (numeric/lanes.h).

// tanh is 1 to the last bit long before 100.
template <class T> T Capped(T x) {
    return Where(x > 100.0, T(100.0), x);
}

// `sqrtEr`: CheckedSqrt(Er), which both modes read.
template <class T> T ImpedanceFromCapacitance(T c, double sqrtEr) {
    c = Where(c < kMinimumCapacitance, T(kMinimumCapacitance), c);
    return kEta / (sqrtEr * c);
}

// tanh x as (1 - e^-2x) / (1 + e^-2x), one exponential, at about half the
// library tanh's cost and within a few ulps of it.  Below x = 1/4 the
// difference 1 - e^-2x would lose digits: there the library's.
template <class T> inline T EdgeTanh(T x) {
    const auto library = !(x >= 0.25);
    if (All(library)) return PerLane([](double lane) { return std::tanh(lane); }, x);
    if (Mixed(library)) return PerLane([](double lane) { return EdgeTanh(lane); }, x);
    const T e = ExpFast(-2.0 * x);
    return (1.0 - e) / (1.0 + e);
}

// The tanh of the half-widths pi W / 2B and pi (W + S) / 2B.
template <class T> struct Edges { T inner, outer; };
template <class T> T InnerEdgeTanh(double w, T b) {
    return EdgeTanh(Capped(kHalfPi * w / b));
}
template <class T> T OuterEdgeTanh(double w, double s, T b) {
    return EdgeTanh(Capped(kHalfPi * (w + s) / b));
}
template <class T> inline Edges<T> EdgeTanhs(double w, double s, T b) {
    return {InnerEdgeTanh(w, b), OuterEdgeTanh(w, s, b)};
}

// The outer edge's tanh of a thick-form section between planes B apart,
// which every thick-form section of those planes and that W + S shares: the
// walls of the strips receded by r (W - r, S + r) keep the drawn outer edge.
// Empty until a section has computed it.
template <class T> using SharedOuterEdge = std::optional<T>;

template <class T> Edges<T> ThickEdgeTanhs(double w, double s, T b, SharedOuterEdge<T>* shared) {
    if (shared == nullptr) return EdgeTanhs(w, s, b);
    if (!*shared) *shared = OuterEdgeTanh(w, s, b);
    return {InnerEdgeTanh(w, b), **shared};
}

// Both strips of zero thickness between the planes: 4 K(k) / K'(k).
template <class T> T ZeroThicknessCapacitance(T k) {
    return 4.0 / StriplineKPrimeOverK(k);
}

// The moduli of Cohn's zero-thickness modes.
template <class T> T EvenModulus(const Edges<T>& th) {
    return th.inner * th.outer;
}
template <class T> T OddModulus(const Edges<T>& th) {
    return th.inner / Where(th.outer < 1e-6, T(1e-6), th.outer);
}
template <class T> T Modulus(CoupledMode mode, const Edges<T>& th) {
    return mode == CoupledMode::Even ? EvenModulus(th) : OddModulus(th);
}

// What thickness adds to a single strip's normalized capacitance, in all
// and at its edges alone (less the parallel-plate part 4W/(B - T) - 4W/B).
// The edges' part only where the even mode reads it (a section the odd mode
// reads alone has no use for it, and does not raise its fault flags).
template <class T> struct ThicknessIncrement {
    T all;
    T Edges(double w, T b, T t) const {
        const T edges = all - 4.0 * w * (1.0 / (b - t) - 1.0 / b);
        return Where(edges > 0.0, edges, T(0.0));
    }
};

// `k`: the thin strip's Cohn modulus tanh(pi W / 2B), the pair's inner edge
// tanh at hand; `widening`: the strip's Wheeler terms (or null).
template <class T>
ThicknessIncrement<T> SingleStripIncrement(double w, T b, T t, T k, StripWidening* widening) {
    const T thick = kEta / StriplineImpedanceInAir(w, b, t, widening).z0;
    const T thin = kEta / (kThirtyPi * StriplineKPrimeOverK(k)); // Cohn's, in air
    return {thick - thin};
}

// Fitted over 48 pairs with 0.35 <= W/B <= 4, 0.05 <= S/B <= 4 and
// 0.005 <= T/B <= 0.1 (worst 0.7 %, median 0.2 %): the share of the edges'
// increment the even mode loses across a narrow gap and its fading with S/B;
// the fading with S/B of the odd mode's wall capacitance 2T/S, which across
// a gap much narrower than T is the whole of the parallel plates.
constexpr double kEvenEdgeShare = 0.548, kEvenEdgeFade = 1.643;
constexpr double kOddWallFade = 1.530;

// The even mode's thin form is chosen by T/B, the odd mode's by T itself.
// (Written as the thin forms' own test: a NaN ratio takes the thick forms.)
template <class T> auto ThinForm(CoupledMode mode, T b, T t) {
    return mode == CoupledMode::Even ? t / b < 1e-9 : t < 1e-9;
}
template <class T> auto ThickForm(CoupledMode mode, T b, T t) {
    return mode == CoupledMode::Even ? t / b >= 1e-9 : t >= 1e-9;
}

// The terms of one cross-section a mode reads: the edges' tanh (between
// planes B - T apart for the thin forms, whose strip still narrows the
// spacing) and, for the thick forms, the single strip's increment.  This and
// ModeImpedance are inline: an evaluation runs them six times each.
template <class T> struct Section {
    bool thin;
    Edges<T> edges;
    ThicknessIncrement<T> increment;
};

template <class T>
inline Section<T> SectionOf(bool thin, double w, double s, T b, T t,
                            SharedOuterEdge<T>* shared = nullptr,
                            StripWidening* widening = nullptr) {
    if (thin) return {true, EdgeTanhs(w, s, b - t), {}};
    const Edges<T> edges = ThickEdgeTanhs(w, s, b, shared);
    return {false, edges, SingleStripIncrement(w, b, t, edges.inner, widening)};
}

template <class T>
inline T ModeImpedance(CoupledMode mode, const Section<T>& x, double w, double s, T b, T t,
                       double sqrtEr) {
    const T zeroThickness = ZeroThicknessCapacitance(Modulus(mode, x.edges));
    if (x.thin) return ImpedanceFromCapacitance(zeroThickness, sqrtEr);
    const ThicknessIncrement<T>& d = x.increment;
    if (mode == CoupledMode::Even)
        return ImpedanceFromCapacitance(zeroThickness + d.all -
                                            kEvenEdgeShare * d.Edges(w, b, t) *
                                                ExpFast(-kEvenEdgeFade * s / b),
                                        sqrtEr);
    return ImpedanceFromCapacitance(
        zeroThickness + d.all + 2.0 * t / s * ExpFast(-kOddWallFade * s / b), sqrtEr);
}

double SingleModeImpedance(CoupledMode mode, double w, double s, double b, double t, double er) {
    const Section x = SectionOf(ThinForm(mode, b, t), w, s, b, t);
    return ModeImpedance(mode, x, w, s, b, t, CheckedSqrt(er));
}

// Both modes of a cross-section whose strips are tEven thick for the even
// mode and tOdd for the odd one (the receded walls may differ by mode):
// where both take the same form at the same thickness they read one Section.
// `shared`: the outer edge of the thick forms, read or filled in (or null);
// `widening`: the strip's Wheeler terms, where they are at hand (or null).
template <class T>
ModePair<T> ImpedancesOf(double w, double s, T b, T tEven, T tOdd, double er,
                         SharedOuterEdge<T>* shared, StripWidening* widening) {
    const Section<T> even =
        SectionOf(Decide(ThinForm(CoupledMode::Even, b, tEven)), w, s, b, tEven, shared, widening);
    // After the even section, whose own errors come first.
    const double sqrtEr = CheckedSqrt(er);
    const T zEven = ModeImpedance(CoupledMode::Even, even, w, s, b, tEven, sqrtEr);
    const bool thinOdd = Decide(ThinForm(CoupledMode::Odd, b, tOdd));
    if (thinOdd == even.thin && SameBits(tEven, tOdd))
        return {zEven, ModeImpedance(CoupledMode::Odd, even, w, s, b, tOdd, sqrtEr)};
    const Section<T> odd = SectionOf(thinOdd, w, s, b, tOdd, shared, widening);
    return {zEven, ModeImpedance(CoupledMode::Odd, odd, w, s, b, tOdd, sqrtEr)};
}

} // namespace

double CoupledStriplineEvenImpedance(double w, double s, double b, double t, double er) {
    return SingleModeImpedance(CoupledMode::Even, w, s, b, t, er);
}

double CoupledStriplineOddImpedance(double w, double s, double b, double t, double er) {
    return SingleModeImpedance(CoupledMode::Odd, w, s, b, t, er);
}

namespace {

// The single strip's range, thick and thin, which thick strips take as well.
bool SingleStripsOutOfRange(double w, double b, double t) {
    return StriplineOutOfRange(w, b, t) || StriplineOutOfRange(w, b, 0.0);
}

// Whether the mode's modulus certainly stays below the clamp, told from the
// half-widths alone.  The even modulus is at most tanh(pi W / 2B).  The odd
// one is 1 - (tanh x2 - tanh x1) / tanh x2 at most, and tanh x2 - tanh x1 >=
// (x2 - x1) sech^2 x2, which for x2 <= 4 and x2 - x1 >= 0.002 is above
// 2.6e-6, well clear of the clamp's 1e-6.
bool ModulusSurelyBelowClamp(CoupledMode mode, double w, double s, double b) {
    const double x1 = kHalfPi * w / b;
    if (mode == CoupledMode::Even) return TanhSurelyBelowClamp(x1);
    const double x2 = kHalfPi * (w + s) / b;
    return x1 >= 0.0 && x2 <= 4.0 && x2 - x1 >= 0.002;
}

} // namespace

bool CoupledStriplineOutOfRange(CoupledMode mode, double w, double s, double b, double t) {
    if (!ModulusSurelyBelowClamp(mode, w, s, b) &&
        Modulus(mode, EdgeTanhs(w, s, b)) > kLargestModulus)
        return true;
    return ThickForm(mode, b, t) && SingleStripsOutOfRange(w, b, t);
}

bool CoupledStriplineEitherModeOutOfRange(double w, double s, double b, double t) {
    std::optional<Edges<double>> th; // computed at most once, where a mode first needs them
    std::optional<bool> strips;      // read at most once, where a mode first needs them
    for (CoupledMode mode : {CoupledMode::Even, CoupledMode::Odd}) {
        if (!ModulusSurelyBelowClamp(mode, w, s, b)) {
            if (!th) th = EdgeTanhs(w, s, b);
            if (Modulus(mode, *th) > kLargestModulus) return true;
        }
        if (!ThickForm(mode, b, t)) continue;
        if (!strips) strips = SingleStripsOutOfRange(w, b, t);
        if (*strips) return true;
    }
    return false;
}

namespace {

// Both modes' conductor losses at their impedances z; `drawn`: the drawn
// section's outer edge, which the strip-receded walls share (or null);
// `strips`: the strips' Wheeler terms (or null).
template <class T>
ModePair<T> ConductorLosses(const ModePair<T>& z, const StripSkin& skin, double w, double s, T b,
                            double t, double er, double sigma, SharedOuterEdge<T>* drawn,
                            StripWidenings* strips) {
    if (!(t > 0.0)) return {T(0.0), T(0.0)}; // no finite resistance: left out
    const bool thickEven = Decide(ThickForm(CoupledMode::Even, b, T(t)));
    const bool thickOdd = Decide(ThickForm(CoupledMode::Odd, b, T(t)));
    // Both modes with the strip's walls receded by `strip`, the planes by `ground`.
    // (The planes receded, the outer edge moves: only the strip's walls share it.)
    const auto receded = [&](double strip, double ground, SharedOuterEdge<T>* outer,
                             StripWidening* widening) {
        const T planes = b + ground;
        const T tEven =
            PerLane([&](double limit) { return RecededThickness(t, strip, thickEven, limit); },
                    1e-9 * planes);
        return ImpedancesOf(w - strip, s + strip, planes, tEven,
                            T(RecededThickness(t, strip, thickOdd, 1e-9)), 1.0, outer, widening);
    };
    const ModePair<T> groundReceded =
        receded(0.0, skin.delta, nullptr, strips ? &strips->drawn : nullptr);
    const ModePair<T> stripReceded =
        receded(StripRecession(skin, w, t), 0.0, drawn, strips ? &strips->receded : nullptr);
    const double sqrtEr = CheckedSqrt(er);
    const auto loss = [&](T zMode, T zGround, T zStrip) {
        const T r = PerLane(
            [&](double zAir, double ground, double stripWalls) {
                return FiniteThicknessResistance(zAir, skin, w, t, sigma, ground, stripWalls);
            },
            zMode * sqrtEr, zGround, zStrip);
        return r / (2.0 * zMode);
    };
    return {loss(z.even, groundReceded.even, stripReceded.even),
            loss(z.odd, groundReceded.odd, stripReceded.odd)};
}

// Both modes' impedances and conductor losses, of either number type.
template <class T>
CoupledStriplineModes<T> ImpedancesAndLosses(double w, double s, T b, double t, double er,
                                             const StripSkin& skin, double sigma,
                                             StripWidenings& strips) {
    SharedOuterEdge<T> outer;
    const ModePair<T> z = ImpedancesOf(w, s, b, T(t), T(t), er, &outer, &strips.drawn);
    if (!(sigma > 0.0)) return {z, {T(0.0), T(0.0)}};
    return {z, ConductorLosses(z, skin, w, s, b, t, er, sigma, &outer, &strips)};
}

} // namespace

CoupledStriplineModes<> CoupledStriplineImpedancesAndLosses(double w, double s, double b, double t,
                                                            double er, const StripSkin& skin,
                                                            double sigma) {
    StripWidenings strips;
    return CoupledStriplineImpedancesAndLosses(w, s, b, t, er, skin, sigma, strips);
}

CoupledStriplineModes<> CoupledStriplineImpedancesAndLosses(double w, double s, double b, double t,
                                                            double er, const StripSkin& skin,
                                                            double sigma, StripWidenings& strips) {
    return ImpedancesAndLosses(w, s, b, t, er, skin, sigma, strips);
}

CoupledStriplineModes<Lanes>
CoupledStriplineImpedancesAndLosses(double w, double s, Lanes b, double t, double er,
                                    const StripSkin& skin, double sigma, StripWidenings& strips) {
    return ImpedancesAndLosses(w, s, b, t, er, skin, sigma, strips);
}

double CoupledStriplineConductorLoss(CoupledMode mode, double z, double f, double w, double s,
                                     double b, double t, double er, double sigma) {
    if (!(t > 0.0)) return 0.0;
    const ModePair<> losses = ConductorLosses<double>({z, z}, StripSkinOf(f, t, sigma), w, s, b, t,
                                                      er, sigma, nullptr, nullptr);
    return mode == CoupledMode::Even ? losses.even : losses.odd;
}

namespace {

LineValues CoupledStriplineMode(double z, double conductorLoss, const LineInputs& in, bool lossy) {
    LineValues v;
    v.eeff = in.er; // homogeneous dielectric
    v.impedance = z;
    v.dielectricLoss = StriplineDielectricLoss(in.f, in.er, in.tand);
    v.conductorLoss = conductorLoss;
    v.loss = v.dielectricLoss;
    if (lossy) v.loss += v.conductorLoss;
    return v;
}

} // namespace

LineResult coupledstripline::Evaluate(const InputsAtFrequency& in, double w) {
    const double s = in.Row(2);
    const double b = in.Row(3);
    const double t = in.Row(4);
    const double er = in.er;
    const double sigma = StriplineConductivity(in.rho);
    const StripSkin skin = sigma > 0.0 ? StripSkinOf(in.f, t, sigma) : StripSkin{};
    const auto [z, conductorLoss] =
        CoupledStriplineImpedancesAndLosses(w, s, b, t, er, skin, sigma);
    LineResult result;
    result.even = CoupledStriplineMode(z.even, conductorLoss.even, in, sigma > 0.0);
    result.odd = CoupledStriplineMode(z.odd, conductorLoss.odd, in, sigma > 0.0);
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
