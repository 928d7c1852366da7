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
// forms take the ratio three times per cross-section.  Templates over the
// number type: double, or Lanes for two moduli at once (numeric/lanes.h).
#pragma once

#include <cmath>

#include "numeric/checkedmath.h" // LogFast
#include "numeric/lanes.h"

// L(x), for 0 <= x < 1.
template <class T> inline T HilbergLogarithm(T x) {
    return LogFast(2.0 * (1.0 + x) / (1.0 - x));
}
// L's argument above the branch point, sqrt k ...
template <class T> inline T HilbergAbove(T k) {
    return Sqrt(k);
}
// ... and below it, sqrt k' from 1 - k^2 as the caller forms it.
template <class T> inline T HilbergBelow(T kPrimeSquared) {
    return Sqrt(Sqrt(kPrimeSquared));
}
