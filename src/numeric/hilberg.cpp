#include "numeric/hilberg.h"

#include "numeric/checkedmath.h"

HilbergTerm Hilberg(double k, double kPrimeSquared, double branchPoint) {
    const bool above = k > branchPoint;
    const double x = above ? CheckedSqrt(k) : CheckedSqrt(CheckedSqrt(kPrimeSquared));
    return {CheckedLog(2.0 * (1.0 + x) / (1.0 - x)), above};
}
