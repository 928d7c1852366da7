// Exact ratios of complete elliptic integrals for the tests, from the
// arithmetic-geometric mean: K(k) = pi / (2 AGM(1, k')), k' = sqrt(1 - k^2).
#pragma once

#include <cmath>

inline double Agm(double a, double b) {
    for (int i = 0; i < 40; ++i) {
        const double m = 0.5 * (a + b);
        b = std::sqrt(a * b);
        a = m;
    }
    return a;
}

// K'(k)/K(k) = AGM(1, k') / AGM(1, k).
inline double ExactEllipticRatio(double k) { return Agm(1.0, std::sqrt(1.0 - k * k)) / Agm(1.0, k); }

// K(k)/K'(k), the reciprocal.
inline double ExactKOverKPrime(double k) { return 1.0 / ExactEllipticRatio(k); }
