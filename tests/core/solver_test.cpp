#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include <functional>
#include <new>

#include "core/linecal.h"
#include "core/solver.h"
#include "numeric/checkedmath.h"
#include "numeric/fpfault.h"

namespace {

// An objective that counts its evaluations.
struct Counted {
    std::function<double(double)> f;
    int evaluations = 0;
    double operator()(double x) {
        ++evaluations;
        return f(x);
    }
};

LineResult DividesByZero(const InputsAtFrequency&, double x) {
    LineResult r;
    r.impedance = 1.0 / (x - x);
    return r;
}

} // namespace

TEST(Solver, BrentFindsALinearRootWellInsideTheIterationLimit) {
    Counted model{[](double x) { return x - 0.3; }};
    const double root = SolveBrent(model, 0.0, 1.0, 1e-10);
    EXPECT_NEAR(root, 0.3, 1e-10);
    EXPECT_LT(model.evaluations, 20);
}

TEST(Solver, ScanRefinesTheFirstSubintervalWithASignChange) {
    // Steps of 0.01 over [0, 1]: the sign changes between the 37th and 38th points.
    const double root = 0.375;
    Counted model{[&](double x) { return std::tanh(50 * (x - root)); }};
    EXPECT_NEAR(FindRoot(model, 0.0, 1.0, 1e-12, 100), root, 1e-12);
    // A second root further on is never reached.
    Counted twoRoots{[](double x) { return (x - 0.2) * (x - 0.7); }};
    EXPECT_NEAR(FindRoot(twoRoots, 0.0, 1.0, 1e-12, 100), 0.2, 1e-12);
}

TEST(Solver, ExactZeroAtTheFirstEndSkipsBrent) {
    Counted model{[](double x) { return x - 0.5; }};
    EXPECT_EQ(FindRoot(model, 0.5, 1.0, 1e-10, 10), 0.5);
    Counted atScanPoint{[](double x) { return x - 0.25; }};
    EXPECT_EQ(FindRoot(atScanPoint, 0.0, 1.0, 1e-10, 4), 0.25);
}

TEST(Solver, ReversedIntervalFindsTheSameRoot) {
    Counted model{[](double x) { return 1.0 / x - 4.0; }};
    const double forward = FindRoot(model, 0.01, 1.0, 1e-12, 1000);
    const double backward = FindRoot(model, 1.0, 0.01, 1e-12, -1000);
    EXPECT_NEAR(forward, 0.25, 1e-12);
    EXPECT_NEAR(backward, 0.25, 1e-12);
}

TEST(Solver, NoSignChangeCarriesTheValueAtTheFirstEnd) {
    Counted above{[](double x) { return 2.0 + x; }};
    try {
        FindRoot(above, 0.0, 1.0, 1e-10, 10);
        FAIL();
    } catch (const TP_Exceptions& e) {
        EXPECT_EQ(e.code(), 10001);
        EXPECT_TRUE(e.hasCode());
        EXPECT_EQ(e.value(), 2.0);
        EXPECT_STREQ(e.text(), "Can't find any solution in this range");
    }
    Counted below{[](double x) { return -1.0 - x; }};
    try {
        FindRoot(below, 0.0, 1.0, 1e-10, 10);
        FAIL();
    } catch (const TP_Exceptions& e) {
        EXPECT_LT(e.value(), 0.0);
    }
}

TEST(Solver, EndsMoveInwardPastPointsThatCannotBeEvaluated) {
    // ln fails below 0.1; the first end steps inward until it can be evaluated.
    Counted model{[](double x) { return CheckedLog(x - 0.1) + 1.0; }};
    EXPECT_NEAR(FindRoot(model, 0.0, 1.0, 1e-12, 100), 0.1 + std::exp(-1.0), 1e-12);
}

TEST(Solver, ObjectiveFailingEverywhereEndsWithAMessage) {
    Counted model{[](double x) { return CheckedSqrt(-1.0 - x); }};
    try {
        FindRoot(model, 1.0, 2.0, 1e-10, 1000);
        FAIL();
    } catch (const TP_Exceptions& e) {
        EXPECT_FALSE(e.hasCode());
        EXPECT_STREQ(e.text(), "Can't find any solution in this range");
    }
    Counted nan{[](double) { return std::nan(""); }};
    EXPECT_THROW(FindRoot(nan, 1.0, 2.0, 1e-10, 1000), TP_Exceptions);
}

TEST(Solver, FailureInsideTheScanEndsTheSearch) {
    Counted model{[](double x) {
        if (x > 0.45 && x < 0.55) throw std::runtime_error("hole");
        return x - 0.8;
    }};
    EXPECT_THROW(FindRoot(model, 0.0, 1.0, 1e-10, 10), std::runtime_error);
}

TEST(Solver, UnbracketedBrentAcceptsAnEndCloseToItsRoot) {
    // Root at 1e-9 below the first end: within 100 * tol of it.
    Counted nearFirst{[](double x) { return x - 0.5 + 1e-9; }};
    EXPECT_EQ(SolveBrent(nearFirst, 0.5, 1.0, 1e-10), 0.5);
    Counted nearSecond{[](double x) { return x - 1.0 - 1e-9; }};
    EXPECT_EQ(SolveBrent(nearSecond, 0.5, 1.0, 1e-10), 1.0);

    Counted positive{[](double x) { return x + 5.0; }};
    try {
        SolveBrent(positive, 0.0, 1.0, 1e-10);
        FAIL();
    } catch (const TP_Exceptions& e) {
        EXPECT_STREQ(e.text(), "Root must be bracketed (both positive)");
        EXPECT_FALSE(e.hasCode());
    }
    Counted negative{[](double x) { return -x - 5.0; }};
    try {
        SolveBrent(negative, 1.0, 0.0, 1e-10); // b < a: no extrapolation
        FAIL();
    } catch (const TP_Exceptions& e) {
        EXPECT_STREQ(e.text(), "Root must be bracketed (both negative)");
    }
}

TEST(Solver, FloatingPointFaultsInTheObjectiveAbort) {
    LineDescriptor line{};
    line.evaluate = &DividesByZero;
    const InputsAtFrequency in;
    EXPECT_THROW(ObjectiveChecked(line, in, 1.0), FloatingPointFault);
    EXPECT_THROW(EvaluateChecked(line, in, 1.0), FloatingPointFault);
    EXPECT_FALSE(TryObjective([&](double x) { return ObjectiveChecked(line, in, x); }, 1.0));
    // Out of memory is no answer about x: it passes on.
    EXPECT_THROW(TryObjective([](double) -> double { throw std::bad_alloc(); }, 1.0),
                 std::bad_alloc);
}

TEST(Solver, SubnormalIntervalCannotStallTheInwardSteps) {
    // A step of 4.9e-324 / 1000 is zero: the ends cannot move, the search must still end.
    Counted model{[](double x) { return CheckedLog(x); }};
    EXPECT_THROW(FindRoot(model, 0.0, 4.9406564584124654e-324, 1e-10, 1000), TP_Exceptions);
}

TEST(Solver, IntervalBeyondTheLargestDoubleHasNoSolution) {
    Counted model{[](double x) { return 1.0 - x; }};
    EXPECT_THROW(FindRoot(model, 1.0, 100.0 * 1.7976931348623157e308, 1e-10, 1000), TP_Exceptions);
    EXPECT_THROW(FindRoot(model, -1.7e308, 1.7e308, 1e-10, 1000), TP_Exceptions);
}
