#include "numeric/complexmath.h"

#include <cfloat>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "numeric/checkedmath.h"
#include "numeric/constants.h"
#include "numeric/fpfault.h"

namespace {

// Runs `primary`; if it raises a calculation error or a floating-point fault,
// runs `second` instead, whose own errors and faults reach the caller.  Other
// failures (out of memory) are no reason for a second evaluation and pass on.
template <class Primary, class Second> auto Guarded(Primary primary, Second second) {
    {
        FloatingPointScope scope;
        try {
            auto value = primary();
            ForceEvaluation(value);
            if (scope.NoneRaised()) return value;
        } catch (const std::runtime_error&) {
            // TP_Exceptions or FloatingPointFault: the second evaluation decides.
        }
    }
    FloatingPointScope scope;
    auto value = second();
    ForceEvaluation(value);
    scope.RaiseFaults();
    return value;
}

// Moves an argument off the nearest zero of a function whose sign is given by
// delta: arg + (Sign(delta) * ZeroNudge - delta).
double NudgeOffZero(double arg, double delta) {
    return arg + (Sign(delta) * ZeroNudge - delta);
}

// Whether the first evaluation of coth or csch at z can raise no fault and
// no error, so that its result is the guarded one without reading the flags
// (reading them is slow): |Re z| at least 1e-3 keeps tanh and sinh away
// from their zeros (|tanh z| >= tanh |Re z|, |sinh z| >= sinh |Re z|), at most
// `largestRe` keeps the exponentials finite, and |Im z| at most 1e6 keeps sin
// and cos exact enough to mean anything.
bool CalmArgument(const Complex& z, double largestRe) {
    const double re = std::fabs(z.re);
    return re >= 1e-3 && re <= largestRe && std::fabs(z.im) <= 1e6;
}

double ClampArgument(double x) {
    if (x > ArgumentClamp) return ArgumentClamp;
    if (x < -ArgumentClamp) return -ArgumentClamp;
    return x;
}

} // namespace

Complex& ComplexMul(const Complex& a, const Complex& b, Complex& result) {
    const double re = a.re * b.re - a.im * b.im;
    const double im = a.im * b.re + a.re * b.im;
    result = {re, im};
    return result;
}

Complex& ComplexDiv(const Complex& a, const Complex& b, Complex& result) {
    double re, im;
    if (std::fabs(b.im) > std::fabs(b.re)) {
        const double r = b.re / b.im;
        const double d = r * b.re + b.im;
        re = (a.re * r + a.im) / d;
        im = (a.im * r - a.re) / d;
    } else {
        const double r = b.im / b.re;
        const double d = r * b.im + b.re;
        re = (a.im * r + a.re) / d;
        im = (a.im - r * a.re) / d;
    }
    result = {re, im};
    return result;
}

Complex& RealOverComplex(double x, const Complex& b, Complex& result) {
    double re, im;
    if (std::fabs(b.im) > std::fabs(b.re)) {
        const double r = b.re / b.im;
        const double d = r * b.re + b.im;
        re = x * r / d;
        im = -x / d;
    } else {
        const double r = b.im / b.re;
        const double d = r * b.im + b.re;
        re = x / d;
        im = -(r * x) / d;
    }
    result = {re, im};
    return result;
}

double ComplexAbs(const Complex& z) {
    const double ar = std::fabs(z.re);
    const double ai = std::fabs(z.im);
    if (ar == 0.0) return ai;
    if (ai == 0.0) return ar;
    if (ar > ai) {
        const double ratio = ai / ar;
        return ar * CheckedSqrt(1.0 + ratio * ratio);
    }
    const double ratio = ar / ai;
    return ai * CheckedSqrt(1.0 + ratio * ratio);
}

double ComplexArg(const Complex& z) {
    if (z.re == 0.0 && z.im == 0.0) return 0.0;
    return CheckedAtan2(z.im, z.re);
}

Complex& ComplexSqrt(const Complex& z, Complex& result) {
    if (z.im == 0.0) {
        result = z.re >= 0.0 ? Complex{CheckedSqrt(z.re), 0.0} : Complex{0.0, CheckedSqrt(-z.re)};
        return result;
    }
    if (std::isnan(z.re) || std::isnan(z.im)) { // the polar form's errors
        const double h = ComplexArg(z) * 0.5;
        const double m = CheckedSqrt(ComplexAbs(z));
        result = {m * CheckedCos(h), m * CheckedSin(h)};
        return result;
    }
    // The principal root without the angle (no atan2, cos, sin): the part
    // of the larger magnitude from (|z| +- Re z) / 2, the other from Im z.
    const double half = ComplexAbs(z) * 0.5;
    if (z.re >= 0.0) {
        const double a = CheckedSqrt(half + z.re * 0.5);
        result = {a, z.im / (2.0 * a)};
    } else {
        const double b = CheckedSqrt(half - z.re * 0.5);
        result = {std::fabs(z.im) / (2.0 * b), std::copysign(b, z.im)};
    }
    return result;
}

Complex& ComplexSinh(const Complex& z, Complex& result) {
    if (z.im == 0.0) {
        result = {CheckedSinh(z.re), 0.0};
    } else if (z.re == 0.0) {
        result = {0.0, CheckedSin(z.im)};
    } else {
        const double e = CheckedExp(z.re);
        const double inv = 1.0 / e;
        result = {(e - inv) * CheckedCos(z.im) * 0.5, (e + inv) * CheckedSin(z.im) * 0.5};
    }
    return result;
}

Complex& ComplexCosh(const Complex& z, Complex& result) {
    if (z.im == 0.0) {
        result = {CheckedCosh(z.re), 0.0};
    } else if (z.re == 0.0) {
        result = {CheckedCos(z.im), 0.0};
    } else {
        const double e = CheckedExp(z.re);
        const double inv = 1.0 / e;
        result = {(e + inv) * CheckedCos(z.im) * 0.5, (e - inv) * CheckedSin(z.im) * 0.5};
    }
    return result;
}

Complex& ComplexTanh(const Complex& z, Complex& result) {
    if (z.re > 30.0) {
        const double t = -2.0 * z.re;
        result = t < -400.0 ? Complex{1.0, 0.0}
                            : Complex{1.0, 2.0 * CheckedSin(2.0 * z.im) * CheckedExp(t)};
    } else if (z.re < -30.0) {
        const double t = 2.0 * z.re;
        result = t < -400.0 ? Complex{-1.0, 0.0}
                            : Complex{-1.0, 2.0 * CheckedSin(2.0 * z.im) * CheckedExp(t)};
    } else if (z.im == 0.0) {
        result = {std::tanh(z.re), 0.0};
    } else if (z.re == 0.0) {
        result = {0.0, CheckedTan(z.im)};
    } else {
        const double s = CheckedSin(z.im);
        const double c = CheckedCos(z.im);
        const double e = CheckedExp(z.re);
        const double inv = 1.0 / e;
        const double d = e - inv;
        const double sum = e + inv;
        const double u = c * sum;
        const double v = s * d;
        const double den = u * u + v * v;
        result = {(d / den) * sum, 4.0 * s * c / den};
    }
    return result;
}

Complex& ComplexCsch(const Complex& z, Complex& result) {
    if (CalmArgument(z, 700.0)) { // sinh and 1/sinh finite
        Complex s;
        return RealOverComplex(1.0, ComplexSinh(z, s), result);
    }
    const Complex zin = z;
    result = Guarded(
        [&] {
            const double mag = ComplexAbs(zin);
            Complex r;
            if (mag < 1e-20) return Complex{1e20, 0.0};
            if (mag < 1e-6) {
                RealOverComplex(1.0, zin, r);
                return Complex{r.re - zin.re / 6.0, r.im - zin.im / 6.0};
            }
            Complex s;
            return RealOverComplex(1.0, ComplexSinh(zin, s), r);
        },
        [&] {
            Complex arg = zin;
            if (zin.re > ArgumentClamp || zin.re < -ArgumentClamp) {
                arg.re = ClampArgument(zin.re);
            } else {
                const double delta = CheckedSin(zin.im) * Sign(CheckedCos(zin.im));
                arg.im = NudgeOffZero(zin.im, delta);
            }
            Complex s, r;
            return RealOverComplex(1.0, ComplexSinh(arg, s), r);
        });
    return result;
}

Complex& ComplexSech(const Complex& z, Complex& result) {
    const Complex zin = z;
    result = Guarded(
        [&] {
            Complex c, r;
            return RealOverComplex(1.0, ComplexCosh(zin, c), r);
        },
        [&] {
            Complex arg = zin;
            if (zin.re > ArgumentClamp || zin.re < -ArgumentClamp) {
                arg.re = ClampArgument(zin.re);
            } else {
                const double delta = CheckedCos(zin.im) * -Sign(CheckedSin(zin.im));
                arg.im = NudgeOffZero(zin.im, delta);
            }
            Complex c, r;
            return RealOverComplex(1.0, ComplexCosh(arg, c), r);
        });
    return result;
}

Complex& ComplexCoth(const Complex& z, Complex& result) {
    if (CalmArgument(z, 1e300)) { // beyond |Re z| = 30 tanh needs no exp(|Re z|)
        Complex t;
        return RealOverComplex(1.0, ComplexTanh(z, t), result);
    }
    const Complex zin = z;
    result = Guarded(
        [&] {
            const double mag = ComplexAbs(zin);
            Complex r;
            if (mag < 1e-20) return Complex{1e20, 0.0};
            if (mag < 1e-6) {
                RealOverComplex(1.0, zin, r);
                return Complex{r.re + zin.re / 3.0, r.im + zin.im / 3.0};
            }
            Complex t;
            return RealOverComplex(1.0, ComplexTanh(zin, t), r);
        },
        [&] {
            Complex csch, sech, r;
            return ComplexDiv(ComplexCsch(zin, csch), ComplexSech(zin, sech), r);
        });
    return result;
}

double Sign(double x) {
    return x >= 0.0 ? 1.0 : -1.0;
}

double Csch(double x) {
    return Guarded([&] { return 1.0 / CheckedSinh(x); },
                   [&] {
                       if (x > ArgumentClamp || x < -ArgumentClamp)
                           return 1.0 / CheckedSinh(ClampArgument(x));
                       const double delta = CheckedSin(x) * Sign(CheckedCos(x));
                       return 1.0 / CheckedSinh(NudgeOffZero(x, delta));
                   });
}

// Sech and Coth test the fault flags only where their first evaluation can
// raise one: elsewhere it is computed as is (reading the flags is slow).
double Sech(double x) {
    if (std::fabs(x) <= 700.0) return 1.0 / std::cosh(x); // cosh far from overflow
    return Guarded([&] { return 1.0 / CheckedCosh(x); },
                   [&] {
                       if (x > ArgumentClamp || x < -ArgumentClamp)
                           return 1.0 / CheckedCosh(ClampArgument(x));
                       const double delta = CheckedCos(x) * -Sign(CheckedSin(x));
                       return 1.0 / CheckedCosh(NudgeOffZero(x, delta));
                   });
}

double GuardedTanh(double x) {
    return Guarded([&] { return std::tanh(x); }, [&] { return Sech(x) / Csch(x); });
}

double Coth(double x) {
    if (std::fabs(x) > 1e-150) return 1.0 / std::tanh(x); // |tanh x| far from 0
    return Guarded([&] { return 1.0 / std::tanh(x); }, [&] { return 1.0 / GuardedTanh(x); });
}

bool IsNegligible(double x) {
    return -1e-30 < x && x < 1e-30;
}
