// The elliptic-integral helpers behind every coplanar formula.
#include <gtest/gtest.h>

#include <cmath>

#include "cpwlib/elliptic.h"

namespace {

using cpwlib::EllipticK;
using cpwlib::EllipticKComplement;
using cpwlib::EllipticRatio;
using cpwlib::MakeModulus;

cpwlib::Modulus FromK(double k) {
    return MakeModulus(k, std::sqrt((1.0 - k) * (1.0 + k)));
}

TEST(Elliptic, MatchesHighPrecisionValues) {
    // mpmath ellipk at 30 digits, k the nearest double (reference_values.py)
    struct Case {
        double k, K, ratio;
    };
    const Case cases[] = {
        {0.1, 1.57474556151735595, 0.426109330230210272},
        {0.5, 1.68575035481259604, 0.781700961348055753},
        {0.9, 2.28054913842277030, 1.37829455195653139},
        {0.999999, 7.94747977354796703, 5.05952023457036523},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(EllipticK(FromK(c.k)), c.K, 4e-16 * c.K) << "k = " << c.k;
        EXPECT_NEAR(EllipticRatio(FromK(c.k)), c.ratio, 4e-16 * c.ratio) << "k = " << c.k;
    }
}

TEST(Elliptic, SelfComplementaryModulus) {
    // K(1/sqrt 2) = Gamma(1/4)^2 / (4 sqrt(pi)) = 1.854074677301372...
    const cpwlib::Modulus m = MakeModulus(M_SQRT1_2, M_SQRT1_2);
    EXPECT_NEAR(EllipticK(m), 1.854074677301371918, 3e-16);
    EXPECT_DOUBLE_EQ(EllipticKComplement(m), EllipticK(m));
    EXPECT_DOUBLE_EQ(EllipticRatio(m), 1.0);
}

TEST(Elliptic, RatioOfComplementIsReciprocal) {
    for (double k : {1e-30, 1e-12, 0.01, 0.3, 0.7, 0.99, 0.999999999}) {
        const double kp = std::sqrt((1.0 - k) * (1.0 + k));
        EXPECT_NEAR(EllipticRatio(MakeModulus(k, kp)) * EllipticRatio(MakeModulus(kp, k)), 1.0,
                    1e-15)
            << "k = " << k;
    }
}

TEST(Elliptic, ExtremeModuliStayFiniteAndFollowTheAsymptote) {
    // k' = 1e-300 (and smaller, known only by its logarithm): K(k)/K(k') =
    // (2/pi) ln(4/k'), exact to double precision this close to k = 1.
    const double lnkp = std::log(1e-300);
    EXPECT_NEAR(EllipticRatio({1.0, 1e-300, lnkp}), 2.0 / M_PI * (std::log(4.0) - lnkp), 1e-13);
    const double ratio = EllipticRatio({1.0, 0.0, -2000.0});
    EXPECT_NEAR(ratio, 2.0 / M_PI * (std::log(4.0) + 2000.0), 1e-12);
    // Smallest subnormal modulus: AGM still converges, ratio (pi/2)/ln(4/k).
    const double tiny = 4.9406564584124654e-324;
    EXPECT_NEAR(EllipticRatio(MakeModulus(tiny, 1.0)),
                M_PI / 2.0 / (std::log(4.0) - std::log(tiny)), 1e-15);
    // The ends themselves.
    EXPECT_EQ(EllipticRatio(MakeModulus(0.0, 1.0)), 0.0);
    EXPECT_EQ(EllipticRatio(MakeModulus(1.0, 0.0)), INFINITY);
    EXPECT_EQ(EllipticK(MakeModulus(1.0, 0.0)), INFINITY);
    EXPECT_DOUBLE_EQ(EllipticK(MakeModulus(0.0, 1.0)), M_PI / 2.0);
}

TEST(Elliptic, AsymptoteJoinsTheMeanSmoothly) {
    // Either side of k' = 1e-20, where the code changes method.
    const double below = EllipticRatio(MakeModulus(1.0, 0.99e-20));
    const double above = EllipticRatio(MakeModulus(1.0, 1.01e-20));
    EXPECT_NEAR(below - above, 2.0 / M_PI * std::log(1.01 / 0.99), 1e-14);
}

} // namespace
