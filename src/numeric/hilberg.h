// Hilberg's approximation of the ratio of complete elliptic integrals of the
// first kind (W. Hilberg, "From approximations to exact relations for
// characteristic impedances", IEEE Trans. MTT-17, 1969):
//
//   K'(k) / K(k) = L(sqrt k') / pi   for k up to the branch point,
//   K'(k) / K(k) = pi / L(sqrt k)    above it,
//   L(x) = ln(2 (1 + x) / (1 - x)),  k' = sqrt(1 - k^2).
//
// The branch point is 1/sqrt(2), where both forms agree; callers pass the
// point their published values were computed with (0.7 for the coupled
// microstrip, 0.70710678118655 for the stripline), and form the ratio they
// need from the logarithm and the branch with their own digits of pi.
#pragma once

#include <cmath>

#include "numeric/checkedmath.h" // Opaque

struct HilbergTerm {
    double logarithm; // L(sqrt k') below the branch point, L(sqrt k) above it
    bool aboveBranch;
};

// `kPrimeSquared` is 1 - k^2 as the caller forms it.  k must lie strictly
// between 0 and 1 (the callers clamp it): there every square root and the
// logarithm have their value, and the checked functions' tests are left out
// (the same results, to the bit).  Inline: the stripline forms call it three
// times per cross-section.
inline HilbergTerm Hilberg(double k, double kPrimeSquared, double branchPoint) {
    const bool above = k > branchPoint;
    const double x = above ? std::sqrt(k) : std::sqrt(std::sqrt(kPrimeSquared));
    return {std::log(Opaque(2.0 * (1.0 + x) / (1.0 - x))), above};
}
