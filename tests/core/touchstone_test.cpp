// S-parameters of a line section and the Touchstone file around them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "core/touchstone.h"

namespace {

void ExpectNear(const Complex& actual, const Complex& expected, double tolerance,
                const char* what) {
    EXPECT_LT(std::abs(actual - expected), tolerance)
        << what << ": " << actual << " against " << expected;
}

TEST(SectionS, MatchesTheChainMatrixOfTheSectionAndIsExpOfGammaLWhenMatched) {
    const LineMode mode{{37.0, -0.4}, {0.8, 61.0}};
    const double length = 0.021, zRef = 50.0;
    // Independent route: ABCD = [cosh, Zc sinh; sinh / Zc, cosh] of gamma L.
    const Complex gl = mode.gamma * length;
    const Complex a = std::cosh(gl), b = mode.zc * std::sinh(gl), c = std::sinh(gl) / mode.zc;
    const Complex denominator = a + b / zRef + c * zRef + a;
    const TwoPortS s = SectionS(mode, length, zRef);
    ExpectNear(s.s11, (b / zRef - c * zRef) / denominator, 1e-14, "S11");
    ExpectNear(s.s21, 2.0 / denominator, 1e-14, "S21");

    const TwoPortS matched = SectionS({{50.0, 0.0}, mode.gamma}, length, zRef);
    EXPECT_EQ(matched.s11, Complex(0.0, 0.0));
    ExpectNear(matched.s21, std::exp(-gl), 1e-15, "matched S21");
    // Hundreds of nepers: exp-small, not the NaN of cosh / cosh.
    const TwoPortS lossy = SectionS({{30.0, 0.0}, {2e4, 1e5}}, 0.05, zRef);
    EXPECT_TRUE(std::isfinite(lossy.s21.real()) && std::abs(lossy.s21) < 1e-300);
    ExpectNear(lossy.s11, (30.0 - 50.0) / (30.0 + 50.0), 1e-15, "lossy S11");
}

TEST(PairS, AQuarterWaveCouplerAtItsCentreFrequencyCouplesToPortThreeOnly) {
    // Ze = 69.5, Zo = 36: coupling k = (Ze - Zo) / (Ze + Zo) at z0 = sqrt(Ze Zo),
    // a quarter wave long, both modes at the same speed and lossless.
    const double ze = 69.5, zo = 36.0, z0 = std::sqrt(ze * zo), k = (ze - zo) / (ze + zo);
    const Complex gamma{0.0, 100.0};
    const double length = 3.141592653589793 / 2 / 100.0;
    const FourPortS s = PairS({ze, gamma}, {zo, gamma}, length, z0);
    ExpectNear(s[0][0], 0.0, 1e-12, "S11");
    ExpectNear(s[3][0], 0.0, 1e-12, "S41");
    EXPECT_NEAR(std::abs(s[2][0]), k, 1e-12);                  // S31, near end
    EXPECT_NEAR(std::abs(s[1][0]), std::sqrt(1 - k * k), 1e-12); // S21, through
    EXPECT_NEAR(std::abs(std::arg(s[1][0] / s[2][0])), 3.141592653589793 / 2, 1e-12);
    for (std::size_t i = 0; i < 4; ++i)
        for (std::size_t j = 0; j < 4; ++j)
            EXPECT_EQ(s[i][j], s[j][i]) << i << ',' << j;
}

TEST(WriteTouchstone, WritesCommentsTheOptionLineAndTwoPortRowsInS11S21S12S22Order) {
    const LineMode mode{{25.0, 0.0}, {0.5, 40.0}};
    TouchstoneSection section{false, 0.1, 50.0, {"Tavrel: a test line"}};
    std::ostringstream out;
    WriteTouchstone(out, section, {{1e9, mode, {}}, {2e9, mode, {}}});
    std::istringstream in(out.str());
    std::string comment, option, first;
    std::getline(in, comment);
    std::getline(in, option);
    std::getline(in, first);
    EXPECT_EQ(comment, "! Tavrel: a test line");
    EXPECT_EQ(option, "# HZ S RI R 50");
    std::istringstream row(first);
    double f = 0, v[8] = {};
    row >> f;
    for (double& x : v)
        row >> x;
    const TwoPortS s = SectionS(mode, 0.1, 50.0);
    EXPECT_EQ(f, 1e9);
    EXPECT_EQ(Complex(v[0], v[1]), s.s11);
    EXPECT_EQ(Complex(v[2], v[3]), s.s21);
    EXPECT_EQ(Complex(v[6], v[7]), s.s11);

    // Four ports: four lines of four pairs per frequency.
    section.coupled = true;
    std::ostringstream pair;
    WriteTouchstone(pair, section, {{1e9, mode, {{40.0, 0.0}, {0.5, 41.0}}}});
    const std::string text = pair.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + 4);
}

TEST(WriteTouchstone, RefusesWhatNoFileCanHoldAndWritesNothing) {
    const LineMode mode{{50.0, 0.0}, {0.0, 10.0}};
    const std::vector<TouchstoneRow> rising{{1e9, mode, {}}, {2e9, mode, {}}};
    const std::vector<std::pair<TouchstoneSection, std::vector<TouchstoneRow>>> bad{
        {{false, 0.0, 50.0, {}}, rising},
        {{false, 0.1, 0.0, {}}, rising},
        {{false, NAN, 50.0, {}}, rising},
        {{false, 0.1, 50.0, {}}, {}},
        {{false, 0.1, 50.0, {}}, {{1e9, mode, {}}, {1e9, mode, {}}}},
        {{false, 0.1, 50.0, {}}, {{2e9, mode, {}}, {1e9, mode, {}}}},
    };
    for (const auto& [section, rows] : bad) {
        std::ostringstream out;
        EXPECT_THROW(WriteTouchstone(out, section, rows), std::invalid_argument);
        EXPECT_TRUE(out.str().empty());
    }
}

} // namespace
