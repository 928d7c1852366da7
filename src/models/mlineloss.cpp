// Microstrip line constants R, L, G, C with conductor and dielectric loss.
// C and L from the dispersive Hammerstad-Jensen/Kirschning-Jansen model; G with
// the dielectric filling factor; R and the internal inductance from Wheeler's
// incremental-inductance rule (Wheeler, "Formulas for the skin effect", Proc.
// IRE 1942) applied to the surface impedance of conductors of finite
// thickness (coth and csch of (1 + j) T / skin depth).
#include <algorithm>
#include <cmath>
#include <limits>

#include "models/mline.h"
#include "numeric/checkedmath.h"
#include "numeric/constants.h"

using namespace constants;

namespace {

constexpr double kPerturbation = 1.01; // derivative step: 1 % of the dimension
constexpr double kNotComputed = std::numeric_limits<double>::quiet_NaN();

// For z = (1 + j) a: coth z + x csch z = (cosh z + x) / sinh z, and sech a,
// from one exponential, sine and cosine of a.  Outside 0.001 <= a <= 30
// (near the pole at 0, or where cosh a nears overflow) the guarded complex
// functions, and sech a is left to the caller (NaN).
struct DiagonalHyperbolic {
    Complex cothPlusCsch;
    double sechA;
};
DiagonalHyperbolic OfDiagonal(double a, double x) {
    // Beyond a = 200 ComplexCoth takes tanh z as 1 and gives 1 / 1 = {1, -0}:
    // the usual strip width, hundreds of skin depths, without its calls.
    if (a > 200.0 && x == 0.0) return {{1.0, -0.0}, kNotComputed};
    const Complex z{a, a};
    if (!(a >= 1e-3 && a <= 30.0)) {
        Complex coth, csch;
        ComplexCoth(z, coth);
        if (x == 0.0) return {coth, kNotComputed};
        ComplexCsch(z, csch);
        return {{coth.re + x * csch.re, coth.im + x * csch.im}, kNotComputed};
    }
    const double e = ExpFast(a);
    const double inv = 1.0 / e;
    const double sinhA = 0.5 * (e - inv), coshA = 0.5 * (e + inv);
    const double sinA = std::sin(a), cosA = std::cos(a);
    const Complex sinhZ{sinhA * cosA, coshA * sinA};
    const Complex coshZPlusX{coshA * cosA + x, sinhA * sinA};
    Complex ratio;
    return {ComplexDiv(coshZPlusX, sinhZ, ratio), 1.0 / coshA};
}

} // namespace

MicrostripWheelerDerivatives MicrostripDerivatives(double w, double h, double t,
                                                   double airImpedance, double cothSquared) {
    const double za = std::isnan(airImpedance) ? MicrostripAirImpedance(w, h, t) : airImpedance;
    // A thicker strip of the same width ratio: the same coth^2.
    return {(MicrostripAirImpedance(w, h, t * kPerturbation, cothSquared) - za) / kEta0 /
                (0.01 * t),
            (MicrostripAirImpedance(w, h * kPerturbation, t) - za) / kEta0 / (0.01 * h),
            (MicrostripAirImpedance(w * kPerturbation, h, t) - za) / kEta0 / (0.01 * w)};
}

MicrostripConductorTerms MicrostripConductorImpedance(double w, double h, double t, double er,
                                                      double rho, double f) {
    return MicrostripConductorImpedance(
        w, t, rho, f, MicrostripQuasiStatic(w, h, t, er, f, false, kHammerstadJensenSelector),
        MicrostripDerivatives(w, h, t));
}

MicrostripConductorTerms MicrostripConductorImpedance(double w, double t, double rho, double f,
                                                      const MicrostripStatic& s,
                                                      const MicrostripWheelerDerivatives& d) {
    const double omega = kTwoPi * f; // only called above 0.001 Hz
    const double rs = CheckedSqrt(f * kPi * kMu0SixteenDigits * rho * kGoldResistivity);
    const Complex zs{rs, rs}; // Rs (1 + j)
    const double dT = d.dT;
    const double dH = d.dH;
    const double dW = d.dW;

    const double x = -dT / (dH - dT);
    const double bigX = 2.0 * CheckedSqrt(x) / (x + 1.0);

    // Finite-thickness surface impedance: coth and csch of (1 + j) T / delta.
    const double delta = 1.0 / CheckedSqrt(f * kPi * kMu0SixteenDigits / (rho * kGoldResistivity));
    const DiagonalHyperbolic thickness = OfDiagonal(t / delta, bigX);
    const Complex c1 = thickness.cothPlusCsch;
    const Complex c2 = OfDiagonal(w / (2.0 * delta), 0.0).cothPlusCsch; // coth

    const double s0 = 1.0 / (w * (dH - 2.0 * dT) * (bigX + 1.0) + 2.0 * t * (-2.0 * dW));
    const double sech = t <= w && !std::isnan(thickness.sechA) ? thickness.sechA
                                                               : Sech(std::min(w, t) / delta);
    const double sFactor = sech * (s0 - 1.0) + 1.0;
    const double a = dH - 2.0 * dT;
    const double b = -2.0 * dW;
    const Complex factor{dH + sFactor * (a * c1.re + b * c2.re), sFactor * (a * c1.im + b * c2.im)};
    Complex zcond;
    ComplexMul(zs, factor, zcond);

    // Inductance of the static line loaded by zcond, against the lossless one.
    const double rootS = CheckedSqrt(s.eeff);
    const double cs = rootS / s.z0 * kInverseSpeedOfLight;
    const double ls = rootS * s.z0 * kInverseSpeedOfLight;
    const double beta0 = omega * CheckedSqrt(cs * ls);
    // gamma = j beta0 sqrt(1 - j zcond / (beta0 Z0)): its square, whose real
    // part gives the inductance, needs no root.
    const double scale = beta0 * s.z0;
    const double vRe = 1.0 + zcond.im / scale; // Re(1 - j zcond / scale)
    const double lTotal = beta0 * beta0 * vRe / (omega * omega * cs);
    return {dT, dH, dW, x, bigX, delta, zcond.re, lTotal - ls};
}

namespace {

MicrostripLineConstantsResult KeepingTerms(double w, double h, double t, double er, double tand,
                                           double rho, double f, MicrostripKeptTerms& terms) {
    // One static part serves the dispersed line and the conductor terms.
    if (!terms.staticPart || !(terms.staticEr == er)) {
        terms.staticPart = MicrostripHammerstadJensenStatic(w, h, t, er);
        terms.staticEr = er;
    }
    const MicrostripStaticPair pair =
        MicrostripHammerstadJensenPair(w, h, er, f, *terms.staticPart);
    const MicrostripStatic& d = pair.dispersed;
    const double omega = f > 0.001 ? kTwoPi * f : 0.0;
    const double rootD = CheckedSqrt(d.eeff);
    const double c = rootD / d.z0 * kInverseSpeedOfLight;
    double l = rootD * d.z0 * kInverseSpeedOfLight;
    double g = 0.0;
    double r = 0.0;
    MicrostripLineConstantsResult result;
    // Dielectric loss with the filling factor Er (eeff - 1) / (eeff (Er - 1)).
    if (tand > 0.0 && f > 0.001 && er > 1.0)
        g = er * tand * (d.eeff - 1.0) / (er - 1.0) * omega / (l * kSpeedOfLight * kSpeedOfLight);
    if (rho > 1e-6 && t > kThinnestConductor && f > 0.001) {
        if (!terms.derivatives)
            terms.derivatives =
                MicrostripDerivatives(w, h, t, pair.airImpedance, terms.staticPart->cothSquared);
        const MicrostripConductorTerms conductor =
            MicrostripConductorImpedance(w, t, rho, f, pair.quasiStatic, *terms.derivatives);
        r = conductor.r;
        l = l + conductor.deltaL;
        result.internalL = conductor.deltaL;
    }
    result.r = r;
    result.g = g;
    result.l = l;
    result.c = c;
    if (f > 0.001) {
        const Complex z{r, omega * l};
        const Complex y{g, omega * c};
        // gamma = sqrt(Z Y) = Zc Y: Z and Y lie in the first quadrant, so the
        // principal roots agree, and one root serves both.
        Complex ratio;
        ComplexSqrt(ComplexDiv(z, y, ratio), result.zc);
        ComplexMul(result.zc, y, result.gamma);
    } else {
        result.zc = {d.z0, 0.0};
        result.gamma = {0.0, 0.0};
    }
    return result;
}

} // namespace

MicrostripLineConstantsResult MicrostripLineConstants(double w, double h, double t, double er,
                                                      double tand, double rho, double f,
                                                      MicrostripKeptTerms* kept) {
    if (kept != nullptr) return KeepingTerms(w, h, t, er, tand, rho, f, *kept);
    MicrostripKeptTerms fresh;
    return KeepingTerms(w, h, t, er, tand, rho, f, fresh);
}

Complex ComplexEffectiveDielectricConstant(double f, const Complex& gamma) {
    const double k0 = std::max(f, 0.001) * kTwoPi * kInverseSpeedOfLight;
    const Complex v{gamma.im / k0, -gamma.re / k0}; // gamma / (j k0)
    Complex result;
    return ComplexMul(v, v, result);
}
