// Dispersion of coplanar lines: M. Y. Frankel, S. Gupta, J. A. Valdmanis and
// G. A. Mourou, "Terahertz attenuation and dispersion characteristics of
// coplanar transmission lines", IEEE Trans. MTT 39(6), 1991, in this form
// (natural logarithms):
//   fTE  = c / (4 H sqrt(er - 1))
//   p    = ln(W/H),  u = 0.54 - 0.64 p + 0.015 p^2,  v = 0.43 - 0.86 p + 0.54 p^2
//   A    = exp(u ln(W/G) + v)
//   sqrt(eeff(f)) = sqrt(eeff) + (sqrt(er) - sqrt(eeff)) / (1 + A (f/fTE)^-1.8)
//   Z0(f) = Z0 sqrt(eeff / eeff(f))
// Fitted to CPW; serves the conductor-backed line as an approximation.
#include <cmath>

#include "cpwlib/cpwline.h"

namespace cpwlib {
namespace {

constexpr double kLnQuarterC = 18.1323067655221733; // ln(c / 4), c = 2.997925e8 m/s

// 1 / (1 + exp(z)) without overflow for any finite z.
double Logistic(double z) {
    if (z > 0.0) {
        const double e = std::exp(-z);
        return e / (1.0 + e);
    }
    return 1.0 / (1.0 + std::exp(z));
}

} // namespace

LineValues Disperse(const CpwLine& line, LineValues quasiStatic, double frequency) {
    if (!(line.er > 1.0) || !(frequency > 0.0)) return quasiStatic;
    // Everything in logarithms: (f/fTE)^-1.8 and A overflow for extreme ratios.
    const double lnW = std::log(line.width);
    const double p = lnW - std::log(line.height);
    const double u = 0.54 - 0.64 * p + 0.015 * p * p;
    const double v = 0.43 - 0.86 * p + 0.54 * p * p;
    const double lnA = u * (lnW - std::log(line.gap)) + v;
    const double lnFte = kLnQuarterC - std::log(line.height) - 0.5 * std::log(line.er - 1.0);
    const double weight = Logistic(lnA - 1.8 * (std::log(frequency) - lnFte));

    const double root = std::sqrt(quasiStatic.eeff);
    const double rootAtF = root + (std::sqrt(line.er) - root) * weight;
    return {quasiStatic.impedance * (root / rootAtF), rootAtF * rootAtF};
}

} // namespace cpwlib
