// Edge-coupled stripline: Cohn's even- and odd-mode normalized capacitances
// ("Shielded coupled-strip transmission line", IRE MTT-3, 1955): the exact
// zero-thickness form with K(k)/K'(k), fringing corrections for thick strips,
// and for the odd mode a blend of the wide-gap fringing form with a
// narrow-gap form whose gap capacitance is a fitted polynomial.  Conductor
// loss by Wheeler's incremental-inductance rule per mode, with the strips'
// finite thickness (conductorlossfloor.h).
#include <cmath>

#include "models/conductorlossfloor.h"
#include "models/striplinecalc.h"
#include "numeric/checkedmath.h"
#include "numeric/constants.h"
#include "numeric/tpexceptions.h"

using namespace constants;

namespace {

constexpr double kEta = kEta0OneTwentyPi;
constexpr double kZeroThicknessFringe = kTwoOverPi * 0.6931471805599453; // C0 = (2/pi) ln 2
constexpr double kMinimumCapacitance = 1e-6;

// tanh is 1 to the last bit long before 100.
double Capped(double x) {
    return x > 100.0 ? 100.0 : x;
}

double ImpedanceFromCapacitance(double c, double er) {
    if (c < kMinimumCapacitance) c = kMinimumCapacitance;
    return kEta / (CheckedSqrt(er) * c);
}

// tanh of the half-widths pi W / 2(B - t) and pi (W + S) / 2(B - t).
struct EdgeTanh {
    double inner;
    double outer;
};

EdgeTanh EdgeTanhs(double w, double s, double freeHeight) {
    return {std::tanh(Capped(kHalfPi * w / freeHeight)),
            std::tanh(Capped(kHalfPi * (w + s) / freeHeight))};
}

// Both strips of zero thickness between the planes: 4 K(k) / K'(k).
double ZeroThicknessCapacitance(double k) {
    return 4.0 / StriplineKPrimeOverK(k);
}

// The outer edge of a thick strip: its thickness limited to B/4 (beyond that
// the fringing formula is not meant to be used) and its fringing capacitance.
struct ThickEdge {
    double t;
    double cf;
};

double LimitedThickness(double b, double t) {
    return t / b > 0.25 ? b * 0.25 : t;
}

ThickEdge ThickStripEdge(double b, double t) {
    const double limited = LimitedThickness(b, t);
    const double r = 1.0 - limited / b;
    const double cf = kOneOverPi * ((2.0 / r) * CheckedLog(1.0 / r + 1.0) -
                                    (1.0 / r - 1.0) * CheckedLog(1.0 / (r * r) - 1.0));
    return {limited, cf};
}

// Parallel-plate capacitance of the gap between the thick strip edges, tau =
// t/S, with a fitted correction for the fringing at its mouths.
double GapCapacitance(double tau) {
    if (tau < 0.001) return tau;
    if (tau > 2.0) return tau + 0.0415639;
    static constexpr double kFit[] = {-3.181773436522398,      0.005531244295421012,
                                      -0.01443679409662848,    0.03261858817681661,
                                      -0.01726471967309804,    -0.01641285721015607,
                                      -0.005210439793229452,   -0.0008513693397431293,
                                      -0.00007205972608018528, -2.507130735579296e-6};
    const double l = CheckedLog(tau);
    double p = 0.0;
    for (int i = 9; i >= 0; --i)
        p = p * l + kFit[i];
    return tau + CheckedExp(p);
}

} // namespace

double CoupledStriplineEvenImpedance(double w, double s, double b, double t, double er) {
    double c = 0.0;
    if (t / b < 1e-9) {
        const EdgeTanh th = EdgeTanhs(w, s, b - t);
        c = ZeroThicknessCapacitance(th.inner * th.outer);
    } else {
        const ThickEdge edge = ThickStripEdge(b, t);
        const double freeHeight = b - edge.t;
        const double cfe =
            kTwoOverPi * CheckedLog(1.0 + std::tanh(Capped(kHalfPi * s / freeHeight)));
        const EdgeTanh th = EdgeTanhs(w, s, freeHeight);
        const double k = ZeroThicknessCapacitance(th.inner * th.outer);
        const double c0 = kZeroThicknessFringe;
        c = k - 2.0 * c0 + 2.0 * edge.cf - 2.0 * cfe + 2.0 * edge.cf * cfe / c0;
    }
    return ImpedanceFromCapacitance(c, er);
}

double CoupledStriplineOddImpedance(double w, double s, double b, double t, double er) {
    // The odd mode's thin form is chosen by the thickness itself.
    double c = 0.0;
    if (t < 1e-9) {
        const EdgeTanh th = EdgeTanhs(w, s, b - t);
        const double outer = th.outer < 1e-6 ? 1e-6 : th.outer;
        c = ZeroThicknessCapacitance(th.inner / outer);
    } else {
        const ThickEdge edge = ThickStripEdge(b, t);
        const double freeHeight = b - edge.t;
        double gapTanh = std::tanh(Capped(kHalfPi * s / freeHeight));
        if (gapTanh < 1e-9) gapTanh = 1e-9;
        const double cfo = kTwoOverPi * CheckedLog(1.0 / gapTanh + 1.0);
        const double g = GapCapacitance(edge.t / s);
        const EdgeTanh th = EdgeTanhs(w, s, freeHeight);
        const double outer = th.outer < 1e-6 ? 1e-6 : th.outer;
        const double k = ZeroThicknessCapacitance(th.inner / outer);
        const double c0 = kZeroThicknessFringe;
        const double wideGap = k - 2.0 * c0 + 2.0 * edge.cf - 2.0 * cfo + 2.0 * edge.cf * cfo / c0;
        const double narrowGap = k - 2.0 * c0 + 2.0 * edge.cf + 2.0 * g;
        // Narrow-gap form for S/W <= 0.35 and S/B <= 0.15, wide-gap form for
        // S/W >= 0.65 or S/B >= 0.35, linear in each ratio in between.
        auto unitInterval = [](double x) { return x > 1.0 ? 1.0 : (x >= 0.0 ? x : 0.0); };
        const double w1 = unitInterval(1.0 - (s / w - 0.35) * 3.3333333333333335);
        const double w2 = unitInterval(1.0 - (s / b - 0.15) * 5.0);
        const double u = w1 * w2;
        c = wideGap * (1.0 - u) + narrowGap * u;
    }
    return ImpedanceFromCapacitance(c, er);
}

bool CoupledStriplineOutOfRange(CoupledMode mode, double w, double s, double b, double t) {
    const EdgeTanh th = EdgeTanhs(w, s, b - LimitedThickness(b, t));
    const double k = mode == CoupledMode::Even ? th.inner * th.outer
                                               : th.inner / (th.outer < 1e-6 ? 1e-6 : th.outer);
    return k > kLargestModulus;
}

double CoupledStriplineConductorLoss(CoupledMode mode, double z, double f, double w, double s, double b,
                                     double t, double er, double sigma) {
    const bool even = mode == CoupledMode::Even;
    const auto impedance = even ? &CoupledStriplineEvenImpedance : &CoupledStriplineOddImpedance;
    // The even mode's thin form is chosen by T/B, the odd mode's by T itself.
    const bool thick = even ? t / b >= 1e-9 : t >= 1e-9;
    const double r = FiniteThicknessResistance(
        z * CheckedSqrt(er), f, w, t, sigma, [&](double strip, double ground) {
            const double planes = b + ground;
            const double limit = even ? 1e-9 * planes : 1e-9;
            return impedance(w - strip, s + strip, planes, RecededThickness(t, strip, thick, limit),
                             1.0);
        });
    return r / (2.0 * z);
}

namespace {

LineValues CoupledStriplineMode(CoupledMode mode, const LineInputs& in, double w) {
    const double s = in.Row(2);
    const double b = in.Row(3);
    const double t = in.Row(4);
    const double er = in.er;
    const double sigma = StriplineConductivity(in.rho);
    LineValues v;
    v.eeff = er; // homogeneous dielectric
    v.impedance = mode == CoupledMode::Even ? CoupledStriplineEvenImpedance(w, s, b, t, er)
                                            : CoupledStriplineOddImpedance(w, s, b, t, er);
    v.dielectricLoss = StriplineDielectricLoss(in.f, er, in.tand);
    v.conductorLoss =
        sigma > 0.0 ? CoupledStriplineConductorLoss(mode, v.impedance, in.f, w, s, b, t, er, sigma)
                    : 0.0;
    v.loss = v.dielectricLoss;
    if (sigma > 0.0) v.loss += v.conductorLoss;
    return v;
}

} // namespace

LineResult coupledstripline::Evaluate(const InputsAtFrequency& in, double w) {
    LineResult result;
    result.even = CoupledStriplineMode(CoupledMode::Even, in, w);
    result.odd = CoupledStriplineMode(CoupledMode::Odd, in, w);
    static_cast<LineValues&>(result) = in.mode == 0 ? result.even : result.odd;
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
    if (CoupledStriplineOutOfRange(CoupledMode::Even, w, s, b, t) ||
        CoupledStriplineOutOfRange(CoupledMode::Odd, w, s, b, t))
        warnings.push_back("Stripline Parameters Out-of-Range: Try reducing W/H");
}
