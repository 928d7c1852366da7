#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <complex>

#include "numeric/complexmath.h"
#include "numeric/constants.h"
#include "numeric/fpfault.h"
#include "numeric/tpexceptions.h"

namespace {

Complex Sinh(double re, double im) {
    const std::complex<double> s = std::sinh(std::complex<double>(re, im));
    return {s.real(), s.imag()};
}

void ExpectNear(const Complex& actual, const Complex& expected, double relative = 1e-14) {
    EXPECT_NEAR(actual.re, expected.re, relative * std::max(1e-300, std::fabs(expected.re)));
    EXPECT_NEAR(actual.im, expected.im, relative * std::max(1e-300, std::fabs(expected.im)));
}

} // namespace

// The constants written as literals are exactly the values once computed at
// start-up, and the rounded forms are the doubles their formulas define.
TEST(Constants, LiteralsAreTheComputedValues) {
    EXPECT_EQ(constants::kEta0, std::sqrt(141925.7742452769));
    EXPECT_EQ(constants::kLogMinNormal, std::log(DBL_MIN));
    EXPECT_EQ(constants::kEta0OneTwentyPi, 120.0 * constants::kPi);
    EXPECT_EQ(constants::kThirtyPi, 30.0 * constants::kPi);
    EXPECT_EQ(constants::kInverseSpeedOfLight, 1.0 / constants::kSpeedOfLight);
    EXPECT_EQ(constants::kOneOver377, 1.0 / 377.0);
    EXPECT_EQ(constants::kTwoPi, 2.0 * constants::kPi);
    EXPECT_EQ(constants::kHalfPi, constants::kPi / 2.0);
    EXPECT_NE(constants::kMu0, constants::kMu0SixteenDigits); // two published forms
}

TEST(ComplexArithmetic, DivisionTakesTheSecondFormWhenPartsAreEqual) {
    Complex r;
    ComplexDiv({1, 0}, {1, 1}, r);
    EXPECT_DOUBLE_EQ(r.re, 0.5);
    EXPECT_DOUBLE_EQ(r.im, -0.5);
    ComplexDiv({3, 4}, {0, 2}, r); // (3+4j)/2j = 2 - 1.5j
    EXPECT_DOUBLE_EQ(r.re, 2.0);
    EXPECT_DOUBLE_EQ(r.im, -1.5);
}

TEST(ComplexArithmetic, ResultMayAliasAnOperand) {
    Complex a{1, 2};
    ComplexMul(a, a, a); // (1+2j)^2 = -3 + 4j
    EXPECT_DOUBLE_EQ(a.re, -3.0);
    EXPECT_DOUBLE_EQ(a.im, 4.0);
    Complex b{2, 0};
    RealOverComplex(1.0, b, b);
    EXPECT_DOUBLE_EQ(b.re, 0.5);
}

TEST(ComplexArithmetic, DivisionByZeroFails) {
    ClearFloatingPointFaults();
    Complex r;
    ComplexDiv({1, 1}, {0, 0}, r);
    EXPECT_THROW(RaiseFloatingPointFaults(), FloatingPointFault);
    RealOverComplex(1.0, {0, 0}, r);
    EXPECT_THROW(RaiseFloatingPointFaults(), FloatingPointFault);
}

TEST(ComplexArithmetic, AbsArgAndPrincipalSquareRoot) {
    EXPECT_DOUBLE_EQ(ComplexAbs({3, 4}), 5.0);
    EXPECT_DOUBLE_EQ(ComplexAbs({0, -2}), 2.0);
    EXPECT_EQ(ComplexArg({0, 0}), 0.0);
    EXPECT_DOUBLE_EQ(ComplexArg({-1, 0}), M_PI);
    Complex r;
    ComplexSqrt({-4, 0}, r);
    EXPECT_EQ(r.re, 0.0);
    EXPECT_EQ(r.im, 2.0);
    ComplexSqrt({-4, -0.0}, r); // positive imaginary part on the cut, negative zero too
    EXPECT_EQ(r.im, 2.0);
    ComplexSqrt({0, 2}, r);
    EXPECT_NEAR(r.re, 1.0, 1e-15);
    EXPECT_NEAR(r.im, 1.0, 1e-15);
    ComplexSqrt({0, 0}, r);
    EXPECT_EQ(r.re, 0.0);
    EXPECT_EQ(r.im, 0.0);
    // The principal root in every quadrant, and near the cut.
    for (const Complex z : {Complex{3, 4}, Complex{-3, 4}, Complex{-3, -4}, Complex{3, -4},
                            Complex{-1e8, 1e-3}, Complex{1e-9, -2e5}}) {
        const std::complex<double> expected = std::sqrt(std::complex<double>{z.re, z.im});
        ComplexSqrt(z, r);
        EXPECT_NEAR(r.re, expected.real(), 1e-15 * std::abs(expected));
        EXPECT_NEAR(r.im, expected.imag(), 1e-15 * std::abs(expected));
    }
}

TEST(ComplexHyperbolic, SinhCoshMatchTheStandardLibrary) {
    Complex r;
    ExpectNear(ComplexSinh({0.7, -1.3}, r), Sinh(0.7, -1.3), 1e-13);
    const std::complex<double> c = std::cosh(std::complex<double>(-2.5, 0.4));
    ExpectNear(ComplexCosh({-2.5, 0.4}, r), {c.real(), c.imag()}, 1e-13);
    ExpectNear(ComplexSinh({0, 1}, r), {0, std::sin(1.0)});
    ExpectNear(ComplexCosh({0, 1}, r), {std::cos(1.0), 0});
    EXPECT_THROW(ComplexSinh({800, 1}, r), TP_Exceptions); // exp overflows
}

TEST(ComplexHyperbolic, TanhBranches) {
    Complex r;
    ComplexTanh({250, 1}, r);
    EXPECT_EQ(r.re, 1.0);
    EXPECT_EQ(r.im, 0.0);
    ComplexTanh({-250, 1}, r);
    EXPECT_EQ(r.re, -1.0);
    EXPECT_EQ(r.im, 0.0);
    ComplexTanh({31, 1}, r);
    EXPECT_EQ(r.re, 1.0);
    EXPECT_DOUBLE_EQ(r.im, 2.0 * std::sin(2.0) * std::exp(-62.0));
    ComplexTanh({0, 1}, r);
    EXPECT_EQ(r.re, 0.0);
    EXPECT_DOUBLE_EQ(r.im, std::tan(1.0));
    const std::complex<double> t = std::tanh(std::complex<double>(0.3, 0.8));
    ExpectNear(ComplexTanh({0.3, 0.8}, r), {t.real(), t.imag()}, 1e-13);
}

TEST(GuardedComplex, CschAndCothNearZeroUseTheirSeries) {
    Complex r;
    ComplexCsch({0, 0}, r);
    EXPECT_EQ(r.re, 1e20);
    EXPECT_EQ(r.im, 0.0);
    ComplexCoth({0, 0}, r);
    EXPECT_EQ(r.re, 1e20);
    ComplexCsch({1e-7, 0}, r);
    EXPECT_DOUBLE_EQ(r.re, 1.0 / 1e-7 - 1e-7 / 6.0);
    ComplexCoth({1e-7, 0}, r);
    EXPECT_DOUBLE_EQ(r.re, 1.0 / 1e-7 + 1e-7 / 3.0);
}

TEST(GuardedComplex, OverflowClampsTheRealPart) {
    Complex r, expected, s;
    ComplexCsch({800, 1}, r);
    RealOverComplex(1.0, ComplexSinh({100, 1}, s), expected);
    EXPECT_EQ(r.re, expected.re);
    EXPECT_EQ(r.im, expected.im);
    ComplexSech({800, 1}, r);
    RealOverComplex(1.0, ComplexCosh({100, 1}, s), expected);
    EXPECT_EQ(r.re, expected.re);
    EXPECT_EQ(r.im, expected.im);
    ComplexSech({-800, 1}, r);
    RealOverComplex(1.0, ComplexCosh({-100, 1}, s), expected);
    EXPECT_EQ(r.re, expected.re);
}

TEST(GuardedComplex, OrdinaryArgumentsTakeThePrimaryEvaluation) {
    Complex r;
    const Complex s = Sinh(1.2, 0.5);
    Complex expected;
    RealOverComplex(1.0, s, expected);
    ExpectNear(ComplexCsch({1.2, 0.5}, r), expected, 1e-13);
    const std::complex<double> coth = 1.0 / std::tanh(std::complex<double>(0.4, -2.0));
    ExpectNear(ComplexCoth({0.4, -2.0}, r), {coth.real(), coth.imag()}, 1e-12);
    // A guarded evaluation leaves no fault flag behind for the caller.
    ClearFloatingPointFaults();
    ComplexCsch({800, 1}, r);
    EXPECT_NO_THROW(RaiseFloatingPointFaults());
}

TEST(GuardedReal, SecondEvaluations) {
    EXPECT_DOUBLE_EQ(Csch(0.0), 1.0 / std::sinh(1e-12));
    EXPECT_DOUBLE_EQ(Csch(1000.0), 1.0 / std::sinh(100.0));
    EXPECT_DOUBLE_EQ(Sech(-1000.0), 1.0 / std::cosh(-100.0));
    EXPECT_DOUBLE_EQ(Sech(2.0), 1.0 / std::cosh(2.0));
    EXPECT_DOUBLE_EQ(GuardedTanh(0.5), std::tanh(0.5));
    EXPECT_DOUBLE_EQ(Coth(0.5), 1.0 / std::tanh(0.5));
    EXPECT_EQ(Sign(0.0), 1.0);
    EXPECT_EQ(Sign(-1e-300), -1.0);
}

TEST(GuardedReal, CothOfZeroFailsBothWays) {
    ClearFloatingPointFaults();
    EXPECT_THROW(Coth(0.0), FloatingPointFault);
}

TEST(SafeExponentials, Thresholds) {
    EXPECT_EQ(SafeExp(-709.0), 0.0);
    EXPECT_DOUBLE_EQ(SafeExp(-708.0), std::exp(-708.0));
    EXPECT_DOUBLE_EQ(SafeExp500(-500.0), std::exp(-500.0));
    EXPECT_EQ(SafeExp500(-500.0001), 0.0);
    EXPECT_FALSE(IsNegligible(1e-30));
    EXPECT_FALSE(IsNegligible(-1e-30));
    EXPECT_TRUE(IsNegligible(-9.9e-31));
    EXPECT_TRUE(IsNegligible(0.0));
}
