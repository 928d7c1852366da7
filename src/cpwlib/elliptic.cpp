// Complete elliptic integrals by Gauss's arithmetic-geometric mean
// (Abramowitz & Stegun 17.6): K(k) = pi / (2 AGM(1, k')).  The AGM converges
// quadratically, so a handful of iterations reach full double precision; for
// a modulus within 1e-20 of 0 or 1 the first term of the logarithmic
// asymptote K(k) = ln(4/k') (A&S 17.3.26) is exact to double precision and is
// used instead, so that k' may be subnormal or known only by its logarithm.
#include "cpwlib/elliptic.h"

#include <cmath>
#include <limits>

namespace cpwlib {
namespace {

constexpr double kHalfPi = 1.57079632679489661923;        // pi / 2
constexpr double kTwoOverPi = 0.636619772367581343076;    // 2 / pi
constexpr double kLn4 = 1.38629436111989061883;           // ln 4
constexpr double kAsymptotic = 1e-20;                     // next term is O(k'^2) smaller
constexpr double kLnAsymptotic = -46.0517018598809136804; // ln 1e-20
constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

Modulus MakeModulus(double k, double kp) {
    return {k, kp, kp > 0.0 ? std::log(kp) : -kInfinity};
}

double ArithmeticGeometricMean(double a, double b) {
    if (!(b > 0.0)) return 0.0;
    // Each step about square-roots the ratio a/b, so even b = 5e-324 against
    // a = 1 converges in some fifteen steps; the bound only guards against a
    // two-ulp cycle.
    for (int i = 0; i < 64 && a - b > 4e-16 * a; ++i) {
        const double mean = 0.5 * (a + b);
        b = std::sqrt(a) * std::sqrt(b); // a * b would underflow for subnormal b
        a = mean;
    }
    return 0.5 * (a + b);
}

double EllipticK(const Modulus& m) {
    if (m.lnkp < kLnAsymptotic) return kLn4 - m.lnkp;
    return kHalfPi / ArithmeticGeometricMean(1.0, m.kp);
}

double EllipticKComplement(const Modulus& m) {
    return EllipticK(MakeModulus(m.kp, m.k));
}

double EllipticRatio(const Modulus& m) {
    if (!(m.k > 0.0)) return 0.0;
    if (m.lnkp < kLnAsymptotic) return kTwoOverPi * (kLn4 - m.lnkp); // k near 1
    if (m.k < kAsymptotic) return kHalfPi / (kLn4 - std::log(m.k));  // k near 0
    return ArithmeticGeometricMean(1.0, m.k) / ArithmeticGeometricMean(1.0, m.kp);
}

} // namespace cpwlib
