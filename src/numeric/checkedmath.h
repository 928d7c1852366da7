// Checked standard mathematical functions.  Each classifies its own failure
// the way a math library's error hook would (domain, singularity, overflow)
// and raises the composed "Math Library Error" TP_Exceptions at once; the
// calculation never goes on with a substitute value.
#pragma once

#include <cmath>
#include <string>

#include "numeric/fastexplog.h"

enum class MathErrorKind : int {
    Domain = 1,
    Singularity = 2,
    Overflow = 3,
    Underflow = 4,
    TotalLoss = 5,
    PartialLoss = 6,
    StackOverflow = 7,
};

// The code carried by the raised error: 110 for kind 1 up to 170 for kind 7;
// any other kind number n is carried as n.
int MathErrorCode(int kind);

// "Math Library Error\r\rFunction:  sqrt( )\rArgument 1 = -4 \rArgument 2 = 0\r..."
std::string MathErrorText(int kind, const char* function, double arg1, double arg2);

// Raises the TP_Exceptions for one error report.
[[noreturn]] void RaiseMathError(int kind, const char* function, double arg1, double arg2 = 0.0);

// Largest argument whose exponential is still a finite double: ln(DBL_MAX).
inline constexpr double kLogMaxDouble = 709.782712893383973096;

// The four the line formulas call most are inline: their tests cost less
// than a call, and the error reports stay out of line.

// The argument as the library sees it at run time.  Inline, a call with a
// constant argument could be evaluated by the compiler instead (GCC turns
// pow(x, 2.0) into x * x, which differs from the library's pow in the last
// bit of about one result in a thousand): results must not depend on the
// optimiser.
inline double Opaque(double v) {
    volatile double opaque = v;
    return opaque;
}

// exp and log: the inline table method (fastexplog.h) where its result is
// surely normal and finite, within an ulp of the library's and equal to it
// for almost every argument; the library itself, with its results and status
// flags, everywhere else.  Its tables are out of the compiler's sight and its
// arithmetic is plain IEEE, so no result depends on the optimiser either.
// Unchecked (no errors raised); the Checked functions below add them.
double LibraryExp(double x); // std::exp(Opaque(x)), out of line
double LibraryLog(double x); // std::log(Opaque(x)), out of line
inline double ExpFast(double x) {
    return fastexplog::ExpCoreTakes(x) ? fastexplog::ExpCore(x) : LibraryExp(x);
}
inline double LogFast(double x) {
    return fastexplog::LogCoreTakes(x) ? fastexplog::LogCore(x) : LibraryLog(x);
}
// CheckedExp and CheckedLog outside the table method's ranges: their errors,
// else the library.
double CheckedExpOutsideCore(double x);
double CheckedLogOutsideCore(double x);

inline double CheckedSqrt(double x) {
    if (!(x >= 0.0)) [[unlikely]]
        RaiseMathError(static_cast<int>(MathErrorKind::Domain), "sqrt", x);
    return std::sqrt(x);
}

inline double CheckedLog(double x) {
    if (fastexplog::LogCoreTakes(x)) [[likely]]
        return fastexplog::LogCore(x);
    return CheckedLogOutsideCore(x);
}

inline double CheckedExp(double x) {
    if (fastexplog::ExpCoreTakes(x)) [[likely]]
        return fastexplog::ExpCore(x);
    return CheckedExpOutsideCore(x);
}

inline double CheckedPow(double x, double y) {
    if (std::isnan(x) || std::isnan(y)) [[unlikely]]
        RaiseMathError(static_cast<int>(MathErrorKind::Domain), "pow", x, y);
    if (x < 0.0 && std::isfinite(y) && std::trunc(y) != y) [[unlikely]]
        RaiseMathError(static_cast<int>(MathErrorKind::Domain), "pow", x, y);
    if (x == 0.0 && y < 0.0) [[unlikely]]
        RaiseMathError(static_cast<int>(MathErrorKind::Singularity), "pow", x, y);
    const double r = std::pow(x, Opaque(y));
    if (std::isinf(r) && std::isfinite(x) && std::isfinite(y)) [[unlikely]]
        RaiseMathError(static_cast<int>(MathErrorKind::Overflow), "pow", x, y);
    return r;
}

// CheckedPow(x, n) for a whole exponent n >= 1, by multiplication: the same
// errors, a few ulps from the library's pow for the larger n, at a tenth of
// its cost.  The line formulas raise to whole powers many times per answer.
inline double CheckedPowN(double x, int n) {
    if (std::isnan(x)) [[unlikely]]
        RaiseMathError(static_cast<int>(MathErrorKind::Domain), "pow", x, n);
    double result = 1.0;
    // Unrolled where n is a constant: the loop's tests cost more than its
    // multiplications.
    double base = x;
#pragma GCC unroll 8
    for (int left = n; left > 0; left >>= 1) { // n stays for the error's text
        if (left & 1) result *= base;
        if (left > 1) base *= base;
    }
    if (std::isinf(result) && std::isfinite(x)) [[unlikely]]
        RaiseMathError(static_cast<int>(MathErrorKind::Overflow), "pow", x, n);
    return result;
}

// Several powers of one base sharing its logarithm: exp(y ln x), within a few
// ulps of pow(x, y) and at half its cost.  A base that is not positive and
// finite, or a NaN exponent, takes CheckedPow with its errors.
class CheckedPowers {
  public:
    explicit CheckedPowers(double x)
        : x_(x), log_(fastexplog::LogCoreTakes(x) ? fastexplog::LogCore(x) : LogOutsideCore(x)) {}
    double Pow(double y) const {
        const double exponent = y * log_; // NaN where the base or y is for CheckedPow
        if (fastexplog::ExpCoreTakes(exponent)) [[likely]]
            return fastexplog::ExpCore(exponent);
        return PowOutsideCore(y);
    }
    double Base() const { return x_; }
    // CheckedLog(x), the shared logarithm where it is at hand.
    double Log() const { return std::isnan(log_) ? CheckedLog(x_) : log_; }

  private:
    // Out of line, the cases the table method does not take: the library's
    // log of a subnormal base, NaN for a base that is not positive and finite;
    // CheckedPow's errors, the overflow error, the library's exp.
    static double LogOutsideCore(double x);
    double PowOutsideCore(double y) const;

    double x_, log_;
};

double CheckedLog10(double x);
double CheckedSin(double x);
double CheckedCos(double x);
double CheckedTan(double x);
double CheckedSinh(double x);
double CheckedCosh(double x);
double CheckedAtan2(double y, double x);
