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

// exp and log of the argument at run time: the inline table method
// (fastexplog.h) where its result is surely normal and finite, within an ulp
// of the library's and equal to it for almost every argument; the library
// itself everywhere else, with its results and status flags.  No errors
// raised: the Checked functions below add them.
inline double ExpFast(double x) {
    const double v = Opaque(x);
    return std::fabs(v) < fastexplog::kExpCoreLimit ? fastexplog::ExpCore(v) : std::exp(v);
}
inline double LogFast(double x) {
    const double v = Opaque(x);
    return fastexplog::LogCoreTakes(v) ? fastexplog::LogCore(v) : std::log(v);
}

inline double CheckedSqrt(double x) {
    if (!(x >= 0.0)) [[unlikely]]
        RaiseMathError(static_cast<int>(MathErrorKind::Domain), "sqrt", x);
    return std::sqrt(x);
}

inline double CheckedLog(double x) {
    if (!(x >= 0.0)) [[unlikely]]
        RaiseMathError(static_cast<int>(MathErrorKind::Domain), "log", x);
    if (x == 0.0) [[unlikely]]
        RaiseMathError(static_cast<int>(MathErrorKind::Singularity), "log", x);
    return LogFast(x);
}

inline double CheckedExp(double x) {
    if (std::isnan(x)) [[unlikely]]
        RaiseMathError(static_cast<int>(MathErrorKind::Domain), "exp", x);
    if (x > kLogMaxDouble) [[unlikely]]
        RaiseMathError(static_cast<int>(MathErrorKind::Overflow), "exp", x);
    return ExpFast(x); // an underflowing result is zero or subnormal, not an error
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
        : x_(x), log_(x > 0.0 && std::isfinite(x) ? LogFast(x) : std::nan("")) {}
    double Pow(double y) const {
        if (std::isnan(log_) || std::isnan(y)) [[unlikely]]
            return CheckedPow(x_, y);
        const double result = ExpFast(y * log_);
        if (std::isinf(result)) [[unlikely]]
            RaiseMathError(static_cast<int>(MathErrorKind::Overflow), "pow", x_, y);
        return result;
    }
    double Base() const { return x_; }
    // CheckedLog(x), the shared logarithm where it is at hand.
    double Log() const { return std::isnan(log_) ? CheckedLog(x_) : log_; }

  private:
    double x_, log_;
};

double CheckedLog10(double x);
double CheckedSin(double x);
double CheckedCos(double x);
double CheckedTan(double x);
double CheckedSinh(double x);
double CheckedCosh(double x);
double CheckedAtan2(double y, double x);
