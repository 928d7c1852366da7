// Moduli of the conformal maps of coplanar lines (Wen 1969 for the slots in
// free space; Veyres & Fouad Hanna 1980 and Ghione & Naldi 1984 for the
// substrate of finite height; Ghione & Naldi 1987 for the conductor backing).
//
// a = W/2 and b = W/2 + G.  With x = pi a / 2H, y = pi b / 2H, d = y - x and
// s = y + x the complements follow without cancellation from
//   sinh^2 y - sinh^2 x = sinh d sinh s,
// and every hyperbolic function is written through exp and expm1 of negative
// arguments, so that neither a thin substrate (x, y in the hundreds) nor a
// thick one (x, y tiny) overflows or loses digits.
#include <cmath>

#include "cpwlib/cpwline.h"

namespace cpwlib {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLn2 = 0.693147180559945309417; // ln 2

// Below this y, sinh x / sinh y = (x/y)(1 + (x^2 - y^2)/6 + ...) and the tanh
// ratio equal k0 to double precision: the substrate is thick.
constexpr double kThickSubstrate = 1e-8;

struct MapAngles {
    double x, y, d, s;
};

// Ratios first: pi W / (4H) would overflow for a subnormal H.
MapAngles Angles(double width, double gap, double height) {
    constexpr double kQuarterPi = kPi / 4.0;
    return {kQuarterPi * (width / height), kQuarterPi * ((width + 2.0 * gap) / height),
            2.0 * kQuarterPi * (gap / height), 2.0 * kQuarterPi * ((width + gap) / height)};
}

// 1 - exp(-2z) for z > 0, without cancellation for small z.
double OneMinusExpM2(double z) {
    return -std::expm1(-2.0 * z);
}

} // namespace

Modulus CentreStripModulus(double width, double gap) {
    const double outer = width + 2.0 * gap;
    // 1 - k0^2 = 4 G (W + G) / (W + 2G)^2
    return MakeModulus(width / outer, 2.0 * std::sqrt(gap) * std::sqrt(width + gap) / outer);
}

Modulus SubstrateModulus(double width, double gap, double height) {
    const MapAngles m = Angles(width, gap, height);
    if (m.y < kThickSubstrate) return CentreStripModulus(width, gap);
    // k1 = sinh x / sinh y,  k1' = sqrt(sinh d sinh s) / sinh y
    const double k = std::exp(-m.d) * OneMinusExpM2(m.x) / OneMinusExpM2(m.y);
    const double kp =
        std::sqrt(OneMinusExpM2(m.d)) * std::sqrt(OneMinusExpM2(m.s)) / OneMinusExpM2(m.y);
    return MakeModulus(k, kp);
}

Modulus BackedSubstrateModulus(double width, double gap, double height) {
    const MapAngles m = Angles(width, gap, height);
    if (m.y < kThickSubstrate) return CentreStripModulus(width, gap);
    // k3 = tanh x / tanh y,  k3' = sqrt(sinh d sinh s) / (cosh x sinh y);
    // k3' ~ 2 exp(-x) underflows on a thin substrate, so it is formed by its
    // logarithm.
    const double ex = std::exp(-2.0 * m.x);
    const double oneMinusEy = OneMinusExpM2(m.y); // read twice
    const double k = OneMinusExpM2(m.x) / oneMinusEy * (1.0 + std::exp(-2.0 * m.y)) / (1.0 + ex);
    const double lnkp = kLn2 - m.x +
                        0.5 * (std::log(OneMinusExpM2(m.d)) + std::log(OneMinusExpM2(m.s))) -
                        std::log1p(ex) - std::log(oneMinusEy);
    return {k, std::exp(lnkp), lnkp};
}

} // namespace cpwlib
