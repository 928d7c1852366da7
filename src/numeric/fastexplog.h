// Table-driven double exp and log for arguments well inside the normal
// range, inline where the line formulas call them: within about 0.505 ulp of
// the true value, so within one ulp of the C library's and equal to it for
// almost every argument.  The checked wrappers (checkedmath.h) send every
// argument outside the ranges below to the library, with its errors.
//
// exp: Tang's method (P. T. P. Tang, "Table-driven implementation of the
// exponential function in IEEE floating-point arithmetic", ACM TOMS 15, 1989):
// x = k ln2/512 + r with a two-part ln2/512, e^x = 2^(k/512) e^r, 2^(j/512)
// from a table as a double plus its relative rounding error, e^r - 1 a
// degree-4 polynomial.
//
// log: Tang's table method (ACM TOMS 16, 1990) with an exact reduction:
// x = 2^k z, z in [0.69, 1.38), the top 8 bits of z choose a c with a 26-bit
// 1/c, and z/c - 1 is formed exactly as the sum of two doubles (z split in
// halves whose products with 1/c are exact).  1 is the centre of its own
// subinterval (c = 1, log c = 0), so near 1 the result is r plus r^2 g(r)
// without cancellation and no separate near-1 polynomial is needed; g is of
// degree 4.
//
// Tables and coefficients: tools/fastexplog_tables.py (fastexplogtables.cpp).
// Pure IEEE double arithmetic in round-to-nearest, no fused operations.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace fastexplog {

inline constexpr int kExpN = 512;
inline constexpr int kLogN = 256;

// Separate arrays rather than records: an index scaled by 8 is an address mode.
extern const std::uint64_t kExpScaleBits[kExpN]; // 2^(j/512)'s pattern minus j << 43
extern const double kExpTail[kExpN];             // (2^(j/512) - that double) / that double
extern const double kLogInvC[kLogN];             // 1/c to 26 bits
extern const double kLogHi[kLogN];               // -log(invC), a multiple of 2^-42
extern const double kLogLo[kLogN];               // -log(invC) - kLogHi
extern const double kExpPoly[3];                 // (e^r - 1 - r) / r^2
extern const double kLogPoly[5];                 // (log1p(r) - r) / r^2
extern const double kExpNOverLn2, kExpLn2NHi, kExpLn2NLo;
extern const double kLogLn2Hi, kLogLn2Lo;

// Largest |x| that ExpCore takes: the result stays normal and finite.
inline constexpr double kExpCoreLimit = 700.0;

// Whether ExpCore takes x: |x| < kExpCoreLimit (false for NaN).
inline bool ExpCoreTakes(double x) {
    return std::fabs(x) < kExpCoreLimit;
}

// e^x for ExpCoreTakes(x).
inline double ExpCore(double x) {
    // Adding 1.5 * 2^52 rounds x 512/ln2 to the integer k in the low bits.
    constexpr double kShift = 0x1.8p52;
    const double shifted = x * kExpNOverLn2 + kShift;
    const std::uint64_t k = std::bit_cast<std::uint64_t>(shifted);
    const double kd = shifted - kShift;
    // k < 2^19 and kExpLn2NHi has 34 bits: kd * hi and x - kd * hi are exact.
    const double r = (x - kd * kExpLn2NHi) - kd * kExpLn2NLo;
    const std::uint64_t j = k % kExpN;
    // 2^(k/512) = 2^(j/512) 2^(k div 512): k's high bits go to the exponent.
    const double scale = std::bit_cast<double>(kExpScaleBits[j] + (k << 43));
    const double r2 = r * r;
    const double g = (kExpPoly[0] + r * kExpPoly[1]) + r2 * kExpPoly[2];
    const double q = kExpTail[j] + (r + r2 * g);
    return scale + scale * q;
}

// Whether LogCore takes x: positive, normal and finite (false for NaN).
inline bool LogCoreTakes(double x) {
    constexpr std::uint64_t kMinNormal = 0x0010000000000000;
    constexpr std::uint64_t kInfinity = 0x7ff0000000000000;
    return std::bit_cast<std::uint64_t>(x) - kMinNormal < kInfinity - kMinNormal;
}

// log x for LogCoreTakes(x).
inline double LogCore(double x) {
    // Subinterval i of z = x 2^-k is [kOffset + i 2^44, kOffset + (i + 1) 2^44)
    // as bit patterns: about [0.69, 1.38) split at every 2^-9 below 1 and
    // 2^-8 above, with 1 in the middle of its subinterval (the tables' generator
    // prints the offset it used).
    constexpr std::uint64_t kOffset = 0x3fe6080000000000;
    const std::uint64_t ix = std::bit_cast<std::uint64_t>(x);
    const std::uint64_t above = ix - kOffset;
    const auto k = static_cast<std::int64_t>(above) >> 52;
    const std::uint64_t i = (above >> 44) % kLogN;
    const double invC = kLogInvC[i];
    const double z = std::bit_cast<double>(ix - (above & 0xfff0000000000000));
    // z = zHi + zLo, 26 and 27 bits, each times the 26-bit invC exact; zHi
    // invC is within 2^-8 of 1, so subtracting 1 is exact too.
    const double zHi =
        std::bit_cast<double>(std::bit_cast<std::uint64_t>(z) & ~std::uint64_t{0x7ffffff});
    const double zLo = z - zHi;
    const double r1 = zHi * invC - 1.0;
    const double r2 = zLo * invC;
    // r = z invC - 1 rounded, exact where c = 1 (r = z - 1), and its rounding
    // error: exact where |r1| >= |r2|, else below 2^-78 (r itself is tiny).
    const double r = r1 + r2;
    const double rErr = (r1 - r) + r2;
    const auto kd = static_cast<double>(k);
    // Exact: both terms are multiples of 2^-42 below 2^10.
    const double w = kd * kLogLn2Hi + kLogHi[i];
    // |w| >= |r| unless w = 0 (the tables' generator checks it): Fast2Sum.
    const double hi = w + r;
    const double lo = (((w - hi) + r) + rErr) + (kd * kLogLn2Lo + kLogLo[i]);
    const double rr = r * r;
    const double g =
        (kLogPoly[0] + r * kLogPoly[1]) + rr * ((kLogPoly[2] + r * kLogPoly[3]) + rr * kLogPoly[4]);
    return hi + (lo + rr * g);
}

} // namespace fastexplog
