// Stripline: Wheeler's thick-strip impedance ("Transmission-line properties of
// a stripline between parallel planes", IEEE MTT-26, 1978), Cohn's exact
// zero-thickness impedance (IRE MTT-2, 1954) with Hilberg's approximation of
// K'(k)/K(k) (IEEE MTT-17, 1969), and Wheeler's incremental-inductance rule
// for the conductor loss (Proc. IRE 30, 1942).
#include "models/striplinecalc.h"

#include <cmath>

#include "models/conductorlossfloor.h"
#include "numeric/checkedmath.h"
#include "numeric/constants.h"
#include "numeric/fpfault.h"
#include "numeric/hilberg.h"
#include "numeric/tpexceptions.h"

using namespace constants;

namespace {

constexpr double kThinStripLimit = 1e-9; // T/B below this: zero-thickness strip

// Wheeler: the thick strip as a thin one widened by dW, between the planes it
// leaves free, g = (B - T) / 2 on each side.  The formulas below are
// templates over the number type: double, or Lanes for two plane spacings.
template <class T> struct WheelerStrip {
    T u; // (W + dW) / g
};
// The power's base 1 / 4 pi (W/T + 1.1), with its logarithm: as exp(y ln x),
// cheaper than pow and within a few ulps of it.
CheckedPowers WideningBase(double w, double t) {
    return CheckedPowers(0.07957747154595 / (w / t + 1.1));
}
// `base`: WideningBase(w, t).
template <class T> WheelerStrip<T> WheelerWidened(double w, T b, T t, const CheckedPowers& base) {
    const T g = (b - t) * 0.5;
    const T p = 1.0 / (4.0 * g / t + 1.0); // T / (2B - T)
    const T q = Pow(base, 6.0 / (t / g + 3.0));
    const T dw = (1.0 - 0.5 * CheckedLog(q + p * p)) * t * kOneOverPi;
    return {(w + dw) / g};
}
template <class T> WheelerStrip<T> WheelerWidened(double w, T b, T t) {
    return WheelerWidened(w, b, t, WideningBase(w, Same(t)));
}
// The fit is stated for (W + dW) / (B - T) < 10.
template <class T> auto BeyondWheelerFit(const WheelerStrip<T>& strip) {
    return strip.u >= 20.0;
}

// Cohn's modulus k = tanh(pi W / 2B); tanh is 1 to the last bit long before
// x = 100.
template <class T> T CohnHalfWidth(double w, T b) {
    return 1.5707963267949 * w / b;
}
template <class T> T CohnModulus(double w, T b) {
    T x = CohnHalfWidth(w, b);
    x = Where(x > 100.0, T(100.0), x);
    return PerLane([](double lane) { return std::tanh(lane); }, x);
}
// Beyond W/B of about 4.6 the ratio is held at its value for the clamped
// modulus while the true impedance keeps falling (at W/B = 9 it is half the
// value returned): flagged like the thick strip's limit.
template <class T> auto BeyondCohnClamp(T k) {
    return k > kLargestModulus;
}

template <class T> auto IsThickStrip(T b, T t) {
    return t / b >= kThinStripLimit;
}

// The impedance in air and its range flag, of either number type.
template <class T>
StriplineImpedanceOf<T> StriplineImpedanceInAirOf(double w, T b, T t, StripWidening* widening) {
    if (Decide(IsThickStrip(b, t))) {
        WheelerStrip<T> strip;
        if (widening == nullptr) {
            strip = WheelerWidened(w, b, t);
        } else if (!widening->base) { // the first thick section: fill it in
            widening->w = w;
            widening->t = Same(t);
            widening->base = WideningBase(w, widening->t);
            strip = WheelerWidened(w, b, t, *widening->base);
        } else if (SameBits(widening->w, w) && SameBits(widening->t, Same(t))) {
            strip = WheelerWidened(w, b, t, *widening->base);
        } else { // another strip's
            strip = WheelerWidened(w, b, t);
        }
        const T r = 5.09295817894065 / strip.u; // 16 / pi
        return {CheckedLog(1.0 + (r * 0.5) * (r + CheckedSqrt(r * r + 6.27))) * kEta377OverFourPi,
                BeyondWheelerFit(strip)};
    }
    // Cohn: Z0 = 30 pi K'(k) / K(k) / sqrt(Er).
    const T k = CohnModulus(w, b);
    return {kThirtyPi * StriplineKPrimeOverK(k), BeyondCohnClamp(k)};
}

} // namespace

StriplineImpedanceResult StriplineImpedance(double w, double b, double t, double er) {
    return StriplineImpedance(w, b, t, er, nullptr);
}

StriplineImpedanceResult StriplineImpedance(double w, double b, double t, double er,
                                            StripWidening* widening) {
    const double s = CheckedSqrt(er);
    StriplineImpedanceResult result = StriplineImpedanceInAir(w, b, t, widening);
    result.z0 /= s;
    return result;
}

StriplineImpedanceResult StriplineImpedanceInAir(double w, double b, double t,
                                                 StripWidening* widening) {
    return StriplineImpedanceInAirOf(w, b, t, widening);
}

StriplineImpedanceOf<Lanes> StriplineImpedanceInAir(double w, Lanes b, Lanes t,
                                                    StripWidening* widening) {
    return StriplineImpedanceInAirOf(w, b, t, widening);
}

namespace {

// A strip certainly within Wheeler's fit, told without its power and
// logarithm.  The power q is at least its base squared (base below 1,
// exponent below 2) and ln y <= y - 1, so dW <= 4 (W + 1.1 T) and
// u <= (5 W + 4.4 T) / g: below half the limit rounding cannot matter.
bool SurelyWithinWheelerFit(double w, double b, double t) {
    const double g = (b - t) * 0.5;
    return w > 0.0 && t > 0.0 && g > 0.0 && 5.0 * w + 4.4 * t < 10.0 * g;
}

} // namespace

bool StriplineOutOfRange(double w, double b, double t) {
    if (!IsThickStrip(b, t)) {
        if (TanhSurelyBelowClamp(CohnHalfWidth(w, b))) return false;
        return BeyondCohnClamp(CohnModulus(w, b));
    }
    if (SurelyWithinWheelerFit(w, b, t)) return false;
    const auto strip = WheelerWidened(w, b, t);
    // The impedance's logarithm can fail only where the ratio is not positive
    // (a strip as thick as the spacing): there it raises its own error, as
    // the whole evaluation would.
    if (!(strip.u > 0.0)) return StriplineImpedanceInAir(w, b, t).outOfRange;
    return BeyondWheelerFit(strip);
}

double StriplineDielectricLoss(double f, double er, double lossTangent) {
    return CheckedSqrt(er) * (f * kPi * lossTangent) * kInverseSpeedOfLight;
}

double StriplineConductorLoss(double z0, double f, double w, double b, double t, double er,
                              double sigma) {
    return StriplineConductorLoss(z0, StripSkinOf(f, t, sigma), w, b, t, er, sigma);
}

namespace {

template <class T>
T ConductorLossOf(T z0, const StripSkin& skin, double w, T b, double t, double er, double sigma,
                  StripWidenings* widenings) {
    const T zAir = z0 * CheckedSqrt(er);
    T r = 0.0; // T = 0 has no finite resistance: left out
    if (t > 0.0) {
        const bool thick = Decide(IsThickStrip(b, T(t)));
        // The strip in air with its walls receded by `strip`, the planes by `ground`.
        const auto receded = [&](double strip, double ground, StripWidening* widening) {
            const T planes = b + ground;
            const T thickness =
                PerLane([&](double limit) { return RecededThickness(t, strip, thick, limit); },
                        kThinStripLimit * planes);
            return StriplineImpedanceInAir(w - strip, planes, thickness, widening).z0;
        };
        const T groundReceded = receded(0.0, skin.delta, widenings ? &widenings->drawn : nullptr);
        const T stripReceded =
            receded(StripRecession(skin, w, t), 0.0, widenings ? &widenings->receded : nullptr);
        r = PerLane(
            [&](double air, double ground, double stripWalls) {
                return FiniteThicknessResistance(air, skin, w, t, sigma, ground, stripWalls);
            },
            zAir, groundReceded, stripReceded);
    }
    return r / (2.0 * z0);
}

} // namespace

double StriplineConductorLoss(double z0, const StripSkin& skin, double w, double b, double t,
                              double er, double sigma, StripWidenings* widenings) {
    return ConductorLossOf(z0, skin, w, b, t, er, sigma, widenings);
}

Lanes StriplineConductorLoss(Lanes z0, const StripSkin& skin, double w, Lanes b, double t,
                             double er, double sigma, StripWidenings* widenings) {
    return ConductorLossOf(z0, skin, w, b, t, er, sigma, widenings);
}

bool StriplineBelowTeCutoff(double f, double w, double b, double er) {
    // The lowest TE mode is half a wavelength across the strip widened by its
    // fringing fields, 2 ln2 / pi of B in all.
    const double fc = 1.5e8 / (CheckedSqrt(er) * (b * 0.4412712003053 + w));
    return fc >= f;
}

double StriplineConductivity(double rho) {
    if (!(rho > 1e-9)) return 0.0;
    return 1.0 / (rho * kGoldResistivity);
}

void RequireGroundPlaneSpacing(double b) {
    if (!(b > 1e-40)) throw TP_Exceptions("H must be > 0");
}

void RequireStripDimensions(double w, double t) {
    if (!(w > 0.0)) throw TP_Exceptions("W must be > 0");
    if (!(t >= 0.0)) throw TP_Exceptions("T must be >= 0");
}

double stripline::Impedance(const InputsAtFrequency& in, double w) {
    return StriplineImpedance(w, in.Row(2), in.Row(3), in.er).z0;
}

LineResult stripline::Evaluate(const InputsAtFrequency& in, double w) {
    const double b = in.Row(2);
    const double t = in.Row(3);
    LineResult result;
    result.eeff = in.er; // homogeneous dielectric
    // The strip's Wheeler terms, which the planes receded read again.
    StripWidenings widenings;
    result.impedance = StriplineImpedance(w, b, t, in.er, &widenings.drawn).z0;
    result.dielectricLoss = StriplineDielectricLoss(in.f, in.er, in.tand);
    const double sigma = StriplineConductivity(in.rho);
    result.conductorLoss =
        sigma > 0.0 ? StriplineConductorLoss(result.impedance, StripSkinOf(in.f, t, sigma), w, b, t,
                                             in.er, sigma, &widenings)
                    : 0.0;
    result.loss = result.dielectricLoss;
    if (sigma > 0.0) result.loss += result.conductorLoss;
    RequireFinite(result.loss);
    return result;
}

void stripline::Check(const InputsAtFrequency& in, std::vector<std::string>& warnings) {
    const double f = in.f;
    const double w = in.Row(1);
    const double b = in.Row(2);
    const double t = in.Row(3);
    const double er = in.er;
    const double rho = in.rho;
    if (rho > 410.0) throw TP_Exceptions("Conductivity must be >= 1E5 S/m");
    RequireGroundPlaneSpacing(b);
    // A strip without width, or of negative thickness, would divide by zero
    // below and in Wheeler's formula; T = 0 is the zero-thickness strip.
    RequireStripDimensions(w, t);
    if (t / b > 0.33) throw TP_Exceptions("(T/H) must be < 0.33");
    if (t / w > 1.001) throw TP_Exceptions("(T/W) must be < 1.00");
    if (er < 0.9999) throw TP_Exceptions("Er must be >= 1");

    if (t / b > 0.25) warnings.push_back("(T/B) Recommended < 0.25");
    if (rho > 100.0) warnings.push_back("Rho Recommended <= 100");
    if (!(w / b >= 0.1)) warnings.push_back("W/B Recomended >= .1");
    if (!StriplineBelowTeCutoff(f, w, b, er))
        warnings.push_back("Above Cutoff Frequency of Lowest TE Mode");
    if (StriplineOutOfRange(w, b, t))
        warnings.push_back("Stripline Parameters Out-of-Range: Try reducing W/H");
}
