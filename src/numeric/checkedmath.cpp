#include "numeric/checkedmath.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

#include "numeric/tpexceptions.h"

namespace {

// Largest |x| for which sinh and cosh stay finite: ln(2 * DBL_MAX).
constexpr double kHyperbolicLimit = 710.475860073943863426;

const char* KindDescription(int kind) {
    switch (kind) {
    case 1:
        return "Not in domain of the function";
    case 2:
        return "Singularity Error";
    case 3:
        return "result > DBL_MAX";
    case 4:
        return "result < DBL_MIN";
    case 5:
        return "Total loss of significant digits";
    case 6:
        return "Partial loss of significant digits";
    case 7:
        return "Floating point unit stack overflow";
    default:
        return "_matherr";
    }
}

[[noreturn]] void Raise(MathErrorKind kind, const char* function, double a1, double a2 = 0.0) {
    RaiseMathError(static_cast<int>(kind), function, a1, a2);
}

void RequireArgument(double x, const char* function) {
    if (std::isnan(x)) Raise(MathErrorKind::Domain, function, x);
}

// A trigonometric function of an infinite argument has no value.
double CheckedTrig(double (*f)(double), double x, const char* function) {
    if (!std::isfinite(x)) Raise(MathErrorKind::Domain, function, x);
    return f(x);
}

} // namespace

int MathErrorCode(int kind) {
    return (kind >= 1 && kind <= 7) ? 100 + 10 * kind : kind;
}

std::string MathErrorText(int kind, const char* function, double arg1, double arg2) {
    char arguments[160];
    std::snprintf(arguments, sizeof arguments, "Argument 1 = %G \rArgument 2 = %G\r", arg1, arg2);
    std::string text = "Math Library Error\r\rFunction:  ";
    text += function;
    text += "( )\r";
    text += arguments;
    text += KindDescription(kind);
    return text;
}

void RaiseMathError(int kind, const char* function, double arg1, double arg2) {
    throw TP_Exceptions::MathError(MathErrorCode(kind), MathErrorText(kind, function, arg1, arg2),
                                   arg1, arg2);
}

double LibraryExp(double x) {
    return std::exp(Opaque(x));
}

double LibraryLog(double x) {
    return std::log(Opaque(x));
}

double CheckedExpOutsideCore(double x) {
    if (std::isnan(x)) Raise(MathErrorKind::Domain, "exp", x);
    if (x > kLogMaxDouble) Raise(MathErrorKind::Overflow, "exp", x);
    return LibraryExp(x); // an underflowing result is zero or subnormal, not an error
}

double CheckedLogOutsideCore(double x) {
    if (!(x >= 0.0)) Raise(MathErrorKind::Domain, "log", x);
    if (x == 0.0) Raise(MathErrorKind::Singularity, "log", x);
    return LibraryLog(x);
}

double CheckedPowers::LogOutsideCore(double x) {
    return x > 0.0 && std::isfinite(x) ? LibraryLog(x) : std::nan("");
}

double CheckedPowers::PowOutsideCore(double y) const {
    if (std::isnan(log_) || std::isnan(y)) return CheckedPow(x_, y);
    const double result = LibraryExp(y * log_);
    if (std::isinf(result)) Raise(MathErrorKind::Overflow, "pow", x_, y);
    return result;
}

double CheckedLog10(double x) {
    if (!(x >= 0.0)) Raise(MathErrorKind::Domain, "log10", x);
    if (x == 0.0) Raise(MathErrorKind::Singularity, "log10", x);
    return std::log10(x);
}

double CheckedSin(double x) {
    return CheckedTrig(static_cast<double (*)(double)>(std::sin), x, "sin");
}
double CheckedCos(double x) {
    return CheckedTrig(static_cast<double (*)(double)>(std::cos), x, "cos");
}
double CheckedTan(double x) {
    return CheckedTrig(static_cast<double (*)(double)>(std::tan), x, "tan");
}

double CheckedSinh(double x) {
    RequireArgument(x, "sinh");
    if (std::fabs(x) > kHyperbolicLimit) Raise(MathErrorKind::Overflow, "sinh", x);
    return std::sinh(x);
}

double CheckedCosh(double x) {
    RequireArgument(x, "cosh");
    if (std::fabs(x) > kHyperbolicLimit) Raise(MathErrorKind::Overflow, "cosh", x);
    return std::cosh(x);
}

double CheckedAtan2(double y, double x) {
    if (std::isnan(x) || std::isnan(y)) Raise(MathErrorKind::Domain, "atan2", y, x);
    if (x == 0.0 && y == 0.0) Raise(MathErrorKind::Domain, "atan2", y, x);
    return std::atan2(y, x);
}
