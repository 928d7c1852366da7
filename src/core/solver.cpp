// Synthesis solver: equal-step scan for a sign change, then Brent's method
// (inverse quadratic interpolation safeguarded by bisection, in the classic
// form of Brent, "Algorithms for Minimization without Derivatives", 1973).
#include "core/solver.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "numeric/tpexceptions.h"

namespace {

const char* const kNoSolutionText = "Can't find any solution in this range";

} // namespace

bool TryObjective(ObjectiveRef objective, double x) {
    // Calculation errors and floating-point faults say the line cannot be
    // built at x; anything else (out of memory, a logic error) is no answer
    // about x and passes on.
    try {
        objective(x);
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

double FindRoot(ObjectiveRef objective, double first, double second, double tolerance, int steps) {
    const int n = std::abs(steps);
    // An interval that is not finite (a reference dimension near the largest
    // double) has no point a line can be built at.
    if (n == 0 || !std::isfinite(first) || !std::isfinite(second) || !std::isfinite(second - first))
        throw TP_Exceptions(kNoSolutionText);
    double step = (second - first) / n;

    // Move each end inward until the objective can be evaluated there; give up
    // once the ends meet or cross, or after n steps (a step too small to move
    // an end, as on a subnormal interval, would otherwise never get there).
    const bool ascending = second > first;
    auto crossed = [&] { return ascending ? !(first < second) : !(first > second); };
    for (int moved = 0; !TryObjective(objective, first); ++moved) {
        first += step;
        if (moved >= n || crossed()) throw TP_Exceptions(kNoSolutionText);
    }
    for (int moved = 0; !TryObjective(objective, second); ++moved) {
        second -= step;
        if (moved >= n || crossed()) throw TP_Exceptions(kNoSolutionText);
    }

    step = (second - first) / n;
    double x = first;
    const double f0 = objective(x);
    double h = x;
    double f1 = f0;
    for (int i = 1; i <= n; ++i) {
        h = x + step;
        f1 = objective(h);
        if (f0 * f1 <= 0.0) break;
        x = h;
    }
    if (f0 * f1 < 0.0) return SolveBrent(objective, x, h, tolerance);
    if (f0 == 0.0) return x;
    if (f1 == 0.0) return h;
    throw TP_Exceptions(TP_Exceptions::kNoSolutionCode, kNoSolutionText, f0);
}

double SolveBrent(ObjectiveRef objective, double a, double b, double tol) {
    double fa = objective(a);
    double fb = objective(b);

    if ((fa > 0.0 && fb > 0.0) || (fa < 0.0 && fb < 0.0)) {
        // Not bracketed: accept an end that a straight line through it and a
        // near neighbour puts within 100 tolerances of its root.
        if (b > a) {
            const double h = 0.01 * (std::fabs(a) + std::fabs(b));
            const double fah = objective(a + h);
            double slope = (fah - fa) / h;
            double intercept = ((a + h) * fa - fah * a) / h;
            if (std::fabs(intercept) * 1e-40 < std::fabs(slope) &&
                std::fabs(intercept / slope + a) < 100.0 * tol) {
                return a;
            }
            const double fbh = objective(b - h);
            slope = (fb - fbh) / h;
            intercept = (fbh * b - (b - h) * fb) / h;
            if (std::fabs(intercept) * 1e-40 < std::fabs(slope) &&
                std::fabs(intercept / slope + b) < 100.0 * tol) {
                return b;
            }
        }
        throw TP_Exceptions(fa > 0.0 ? "Root must be bracketed (both positive)"
                                     : "Root must be bracketed (both negative)");
    }

    double c = b, fc = fb;
    double d = 0.0, e = 0.0;
    for (int iteration = 1; iteration <= 100; ++iteration) {
        if ((fb > 0.0 && fc > 0.0) || (fb < 0.0 && fc < 0.0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double tol1 = 1e-15 * std::fabs(b) + 0.5 * tol;
        const double xm = 0.5 * (c - b);
        if (std::fabs(xm) <= tol1 || fb == 0.0) {
            return b;
        }
        if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
            const double s = fb / fa;
            double p, q;
            if (a == c) {
                p = 2.0 * xm * s;
                q = 1.0 - s;
            } else {
                q = fa / fc;
                const double r = fb / fc;
                p = s * (2.0 * xm * q * (q - r) - (b - a) * (r - 1.0));
                q = (q - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0.0) q = -q;
            p = std::fabs(p);
            const double min1 = 3.0 * xm * q - std::fabs(tol1 * q);
            const double min2 = std::fabs(e * q);
            if (2.0 * p < std::min(min1, min2)) {
                e = d;
                d = p / q;
            } else {
                d = xm;
                e = d;
            }
        } else {
            d = xm;
            e = d;
        }
        a = b;
        fa = fb;
        if (std::fabs(d) > tol1)
            b += d;
        else
            b += xm > 0.0 ? std::fabs(tol1) : -std::fabs(tol1);
        fb = objective(b);
    }
    throw TP_Exceptions("Synthesis failed to converge");
}
