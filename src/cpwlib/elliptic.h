// Complete elliptic integral of the first kind K and the ratio K(k)/K(k')
// that every coplanar formula is built on, computed exactly (to double
// precision) by the arithmetic-geometric mean, not by Hilberg's approximation.
//
// A modulus is passed together with its complement k' = sqrt(1 - k^2), which
// the callers obtain in closed form from the geometry: near k = 1 the
// complement is what carries the information, and 1 - k^2 would cancel.
#pragma once

namespace cpwlib {

struct Modulus {
    double k;    // in [0, 1]
    double kp;   // k' = sqrt(1 - k^2), in [0, 1]
    double lnkp; // ln k', which stays finite where k' itself underflows
};

// A modulus from k and its complement k' (both >= 0).
Modulus MakeModulus(double k, double kp);

// AGM(a, b) for a >= b >= 0; 0 when b is 0.
double ArithmeticGeometricMean(double a, double b);

// K(k) = pi / (2 AGM(1, k')); +infinity for k' = 0.
double EllipticK(const Modulus& m);

// K(k') = pi / (2 AGM(1, k)).
double EllipticKComplement(const Modulus& m);

// K(k) / K(k') = AGM(1, k) / AGM(1, k'): 0 at k = 0, +infinity at k' = 0.
double EllipticRatio(const Modulus& m);

} // namespace cpwlib
