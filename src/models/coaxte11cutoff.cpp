// TE11 cut-off of the round coaxial line, exact: with a = Di/2, b = Do/2 and
// c = b/a, the cut-off wavenumber kc = x/a where x is the first root of the
// cross-product of Bessel-function derivatives
//     J1'(x) Y1'(c x) - J1'(c x) Y1'(x) = 0
// (N. Marcuvitz, "Waveguide Handbook", MIT Rad. Lab. Series vol. 10, 1951,
// section 2.4; Pozar, "Microwave Engineering", section 3.5).  The usual
// kc = 2/(a + b) is its thin-gap limit; over every ratio c the root lies
// between 0.92 and 1.03 times that value (toward 1.8412/b, the circular
// guide's TE11, as c grows), so a bracket of 0.9 to 1.05 times it holds the
// first root and no other.  The root is refined by regula falsi with the
// Illinois modification to 1e-12 relative, far below the 1e-6 asked of it.
#include <cmath>
#include <string>

#include "models/coaxlinecalc.h"
#include "numeric/checkedmath.h"
#include "numeric/constants.h"
#include "numeric/tpexceptions.h"

using namespace constants;

namespace {

// d/dx J1(x) = J0(x) - J1(x)/x, and the same for Y1.
double J1Prime(double x) {
    return std::cyl_bessel_j(0.0, x) - std::cyl_bessel_j(1.0, x) / x;
}
double Y1Prime(double x) {
    return std::cyl_neumann(0.0, x) - std::cyl_neumann(1.0, x) / x;
}

double CrossProduct(double x, double c) {
    return J1Prime(x) * Y1Prime(c * x) - J1Prime(c * x) * Y1Prime(x);
}

// Below this c - 1 the thin-gap limit 2/(1 + c) is within 5e-8 of the root,
// and the cross-product, a difference of nearly equal terms, is no better.
constexpr double kThinGap = 1e-3;
constexpr double kRelativeTolerance = 1e-12;
// Above this c the inner conductor no longer counts: the root is within 2e-12
// of the circular guide's p'11 / c, and far above it Y1'(x) ~ 2/(pi x^2)
// overflows.
constexpr double kThinInner = 1e6;
constexpr double kCircularGuideTe11 = 1.8411837813406593; // first zero of J1'

} // namespace

double CoaxTe11Root(double diameterRatio) {
    const double c = diameterRatio;
    const double thinGap = 2.0 / (1.0 + c);
    if (!(c - 1.0 >= kThinGap)) return thinGap;
    if (c > kThinInner) return kCircularGuideTe11 / c;
    double lo = 0.9 * thinGap, hi = 1.05 * thinGap;
    double fLo = CrossProduct(lo, c), fHi = CrossProduct(hi, c);
    if (!(fLo * fHi < 0.0))
        throw TP_Exceptions::Domain("No TE11 cut-off found for Do/Di = " + std::to_string(c));
    // Illinois: the false-position step, halving the weight of an end that
    // stays put twice running so that neither end sticks.
    int kept = 0; // -1: lo stayed put last time, +1: hi did
    for (int i = 0; i < 100 && hi - lo > kRelativeTolerance * lo; ++i) {
        const double x = (lo * fHi - hi * fLo) / (fHi - fLo);
        const double fx = CrossProduct(x, c);
        if (fx == 0.0) return x;
        if (fx * fHi > 0.0) {
            hi = x;
            fHi = fx;
            if (kept == -1) fLo *= 0.5;
            kept = -1;
        } else {
            lo = x;
            fLo = fx;
            if (kept == 1) fHi *= 0.5;
            kept = 1;
        }
    }
    return 0.5 * (lo + hi);
}

double CoaxTe11ThinGapCutoff(double outerDiameter, double innerDiameter, double er) {
    const double a = 0.5 * innerDiameter, b = 0.5 * outerDiameter;
    return kSpeedOfLight * (2.0 / (a + b)) / (kTwoPi * CheckedSqrt(er));
}

double CoaxTe11Cutoff(double outerDiameter, double innerDiameter, double er) {
    const double a = 0.5 * innerDiameter;
    const double x = CoaxTe11Root(outerDiameter / innerDiameter);
    return kSpeedOfLight * x / (kTwoPi * a * CheckedSqrt(er));
}
