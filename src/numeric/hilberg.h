// Hilberg's approximation of the ratio of complete elliptic integrals of the
// first kind (W. Hilberg, "From approximations to exact relations for
// characteristic impedances", IEEE Trans. MTT-17, 1969):
//
//   K'(k) / K(k) = L(sqrt k') / pi   for k up to the branch point,
//   K'(k) / K(k) = pi / L(sqrt k)    above it,
//   L(x) = ln(2 (1 + x) / (1 - x)),  k' = sqrt(1 - k^2).
//
// The branch point is 1/sqrt(2), where both forms agree; a caller picks the
// branch at the point its published values were computed with and forms the
// ratio with its own digits of pi.
//
// k must lie strictly between 0 and 1 (the callers clamp it): there every
// square root and the logarithm have their value, and the checked functions'
// tests are left out (the same results, to the bit).  Inline: the stripline
// forms take the ratio three times per cross-section.
#pragma once

#include <cmath>

#include "numeric/checkedmath.h" // LogFast

// L(x), for 0 <= x < 1.
inline double HilbergLogarithm(double x) {
    return LogFast(2.0 * (1.0 + x) / (1.0 - x));
}
// L's argument above the branch point, sqrt k ...
inline double HilbergAbove(double k) {
    return std::sqrt(k);
}
// ... and below it, sqrt k' from 1 - k^2 as the caller forms it.
inline double HilbergBelow(double kPrimeSquared) {
    return std::sqrt(std::sqrt(kPrimeSquared));
}
