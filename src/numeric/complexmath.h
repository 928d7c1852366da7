// Complex record and the complex and guarded hyperbolic functions under the
// microstrip formulas, guarded exponentials and a near-zero test.
//
// A guarded function has a primary evaluation and, should that fail (a
// floating-point fault or a math-library error), one defined second
// evaluation; an error inside the second evaluation reaches the caller.
#pragma once

#include "numeric/checkedmath.h"
#include "numeric/constants.h"

struct Complex {
    double re = 0.0;
    double im = 0.0;
};

inline constexpr double ArgumentClamp = 100.0; // |Re z| beyond which the second evaluation clamps
inline constexpr double ZeroNudge = 1e-12;     // step off a zero of sinh or cosh

// Every operation reads all inputs before it writes `result`, so the result
// may alias an operand; each also returns it.
Complex& ComplexMul(const Complex& a, const Complex& b, Complex& result);
Complex& ComplexDiv(const Complex& a, const Complex& b, Complex& result);
Complex& RealOverComplex(double x, const Complex& b, Complex& result);
double ComplexAbs(const Complex& z);
double ComplexArg(const Complex& z);
Complex& ComplexSqrt(const Complex& z, Complex& result);
Complex& ComplexSinh(const Complex& z, Complex& result);
Complex& ComplexCosh(const Complex& z, Complex& result);
Complex& ComplexTanh(const Complex& z, Complex& result);
Complex& ComplexCsch(const Complex& z, Complex& result);
Complex& ComplexSech(const Complex& z, Complex& result);
Complex& ComplexCoth(const Complex& z, Complex& result);

// Value-returning conveniences over the operations above.
inline Complex operator*(const Complex& a, const Complex& b) {
    Complex r;
    return ComplexMul(a, b, r);
}
inline Complex operator/(const Complex& a, const Complex& b) {
    Complex r;
    return ComplexDiv(a, b, r);
}
inline Complex operator+(const Complex& a, const Complex& b) {
    return {a.re + b.re, a.im + b.im};
}
inline Complex operator-(const Complex& a, const Complex& b) {
    return {a.re - b.re, a.im - b.im};
}

double Sign(double x);
double Csch(double x);
double Sech(double x);
// sech x from e = exp(-x), x >= 0, where the caller has e or one exponential
// costs less than cosh: 2 e / (1 + e^2), within a few ulps of 1 / cosh x.
inline double SechFromDecay(double e) {
    return 2.0 * e / (1.0 + e * e);
}
double Coth(double x);
double GuardedTanh(double x);
// exp(x), 0 below the smallest normal result (SafeExp) or below -500
// (SafeExp500).  Inline: the line formulas call them dozens of times.
inline double SafeExp(double x) {
    return x >= constants::kLogMinNormal ? CheckedExp(x) : 0.0;
}
inline double SafeExp500(double x) {
    // One test where the table exp takes x (x >= -500 already bounds it below).
    if (x >= -500.0 && x < fastexplog::kExpCoreLimit) [[likely]]
        return fastexplog::ExpCore(x);
    return x >= -500.0 ? CheckedExpOutsideCore(x) : 0.0;
}
bool IsNegligible(double x);
