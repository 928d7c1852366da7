#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "numeric/tpexceptions.h"
#include "numeric/checkedmath.h"
#include "numeric/fpfault.h"

namespace {

TP_Exceptions Catch(double (*f)(double), double x) {
    try {
        f(x);
    } catch (const TP_Exceptions& e) {
        return e;
    }
    return TP_Exceptions("no error");
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

TEST(CheckedMath, SquareRootOfMinusFourIsADomainError) {
    const TP_Exceptions e = Catch(CheckedSqrt, -4.0);
    EXPECT_EQ(std::string(e.text()),
              "Math Library Error\r\rFunction:  sqrt( )\rArgument 1 = -4 \rArgument 2 = 0\r"
              "Not in domain of the function");
    EXPECT_EQ(e.code(), 110);
    EXPECT_TRUE(e.hasCode());
    EXPECT_TRUE(e.isMathError());
    EXPECT_EQ(e.value(), -4.0);
    EXPECT_EQ(e.value2(), 0.0);
}

TEST(CheckedMath, KindsAndCodes) {
    EXPECT_EQ(Catch(CheckedLog, 0.0).code(), 120);
    EXPECT_EQ(Catch(CheckedLog, -1.0).code(), 110);
    EXPECT_EQ(Catch(CheckedLog10, 0.0).code(), 120);
    EXPECT_EQ(Catch(CheckedExp, 710.0).code(), 130);
    EXPECT_EQ(Catch(CheckedCosh, -711.0).code(), 130);
    EXPECT_EQ(Catch(CheckedSinh, 711.0).code(), 130);
    EXPECT_EQ(Catch(CheckedSin, std::numeric_limits<double>::infinity()).code(), 110);
    EXPECT_EQ(Catch(CheckedSqrt, std::nan("")).code(), 110);
    EXPECT_TRUE(EndsWith(Catch(CheckedExp, 710.0).text(), "result > DBL_MAX"));
    EXPECT_TRUE(EndsWith(Catch(CheckedLog, 0.0).text(), "Singularity Error"));

    EXPECT_EQ(MathErrorCode(4), 140);
    EXPECT_EQ(MathErrorCode(7), 170);
    EXPECT_EQ(MathErrorCode(9), 9);
    EXPECT_TRUE(EndsWith(MathErrorText(5, "tan", 1e30, 0), "Total loss of significant digits"));
    EXPECT_TRUE(EndsWith(MathErrorText(9, "tan", 1, 0), "_matherr"));
}

TEST(CheckedMath, TwoArgumentFunctionsReportBothArguments) {
    try {
        CheckedPow(-8.0, 0.5);
        FAIL();
    } catch (const TP_Exceptions& e) {
        EXPECT_EQ(e.code(), 110);
        EXPECT_EQ(e.value(), -8.0);
        EXPECT_EQ(e.value2(), 0.5);
        EXPECT_NE(std::string(e.text()).find("pow( )\rArgument 1 = -8 \rArgument 2 = 0.5\r"), std::string::npos);
    }
    EXPECT_THROW(CheckedPow(0.0, -1.0), TP_Exceptions);
    EXPECT_THROW(CheckedPow(10.0, 400.0), TP_Exceptions);
    EXPECT_THROW(CheckedAtan2(0.0, 0.0), TP_Exceptions);
    EXPECT_DOUBLE_EQ(CheckedPow(-8.0, 3.0), -512.0);
    EXPECT_DOUBLE_EQ(CheckedPow(10.0, -400.0), 0.0);  // underflow is not an error
}

TEST(CheckedMath, ValidArgumentsGiveTheLibraryValue) {
    EXPECT_EQ(CheckedSqrt(2.0), std::sqrt(2.0));
    EXPECT_EQ(CheckedLog(3.0), std::log(3.0));
    EXPECT_EQ(CheckedLog10(1000.0), 3.0);
    EXPECT_EQ(CheckedExp(-745.0), std::exp(-745.0));
    EXPECT_EQ(CheckedCosh(710.0), std::cosh(710.0));
    EXPECT_EQ(CheckedAtan2(1.0, -1.0), std::atan2(1.0, -1.0));
}

// The cheaper powers: within a few ulps of pow, and pow's errors with its
// code and arguments where pow would raise.
TEST(CheckedMath, WholeAndSharedPowersAgreeWithPow) {
    const auto code = [](auto power) { // the error's code and text
        try {
            power();
        } catch (const TP_Exceptions& e) {
            return std::to_string(e.code()) + e.text();
        }
        return std::string();
    };
    for (double x : {0.0, -2.5, 0.37, 1.0, 7.9, 1e3}) {
        for (int n : {1, 2, 3, 6, 10, 20})
            EXPECT_NEAR(CheckedPowN(x, n), std::pow(x, n), 1e-15 * std::fabs(std::pow(x, n)));
        const CheckedPowers powers(x);
        for (double y : {0.0, 0.194, -0.387, 2.5, 4.9})
            if (x > 0.0) {
                EXPECT_NEAR(powers.Pow(y), std::pow(x, y), 1e-14 * std::pow(x, y));
            }
    }
    const double nan = std::nan("");
    EXPECT_EQ(code([&] { CheckedPowN(nan, 2); }), code([&] { CheckedPow(nan, 2.0); }));
    EXPECT_EQ(code([] { CheckedPowN(1e300, 2); }), code([] { CheckedPow(1e300, 2.0); }));
    EXPECT_EQ(code([] { CheckedPowers(1e300).Pow(2.0); }), code([] { CheckedPow(1e300, 2.0); }));
    EXPECT_EQ(code([] { CheckedPowers(-8.0).Pow(0.5); }), code([] { CheckedPow(-8.0, 0.5); }));
    EXPECT_EQ(code([] { CheckedPowers(0.0).Pow(-1.0); }), code([] { CheckedPow(0.0, -1.0); }));
    EXPECT_EQ(CheckedPowers(0.0).Pow(1.5), 0.0);
    EXPECT_EQ(CheckedPowers(2.0).Log(), std::log(2.0));
}

// The table-driven exp and log under the checked functions: within an ulp of
// the library's at the table and range edges and at random arguments, no
// fault flag on the way, the library's own results outside the fast range.
TEST(CheckedMath, TableExpAndLogWithinAnUlpOfTheLibrary) {
    const auto ulps = [](double a, double b) {
        if (std::isnan(a) && std::isnan(b)) return std::uint64_t{0};
        const auto ia = std::bit_cast<std::uint64_t>(a), ib = std::bit_cast<std::uint64_t>(b);
        return ia > ib ? ia - ib : ib - ia;
    };
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const double ln2 = 0.6931471805599453, tiny = std::numeric_limits<double>::denorm_min();
    const double belowLimit = std::nextafter(700.0, 0.0), minNormal = 0x1p-1022;
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> wide(-700.0, 700.0), octave(0.5, 2.0);
    ClearFloatingPointFaults();
    for (int i = 0; i < 3000; ++i) {
        const double x = wide(random), y = octave(random);
        const double z = std::bit_cast<double>(random() >> 1); // any positive double
        EXPECT_LE(ulps(ExpFast(x), std::exp(x)), 1u) << x;
        EXPECT_LE(ulps(LogFast(y), std::log(y)), 1u) << y;
        EXPECT_LE(ulps(LogFast(z), std::log(z)), 1u) << z;
    }
    EXPECT_EQ(RaisedFloatingPointFaults(), 0);
    for (double x :
         {0.0,    -0.0,  tiny,     -tiny,       1e-17,     -1e-17,     1.0,         -1.0,
          ln2,    -ln2,  10 * ln2, -1000 * ln2, ln2 / 256, belowLimit, -belowLimit, 700.0,
          -700.0, 709.7, -745.0,   inf,         -inf,      nan})
        EXPECT_LE(ulps(ExpFast(x), std::exp(x)), 1u) << x;
    for (double x : {1.0,
                     std::nextafter(1.0, 0.0),
                     std::nextafter(1.0, 2.0),
                     1 - 0x1p-30,
                     1 + 0x1p-30,
                     1 - 0x1p-9,
                     1 + 0x1p-8,
                     0.5,
                     2.0,
                     1024.0,
                     0x1p-1000,
                     minNormal,
                     std::nextafter(minNormal, 0.0),
                     std::numeric_limits<double>::max(),
                     2.718281828459045,
                     tiny,
                     0.0,
                     -1.0,
                     inf,
                     nan})
        EXPECT_LE(ulps(LogFast(x), std::log(x)), 1u) << x;
    EXPECT_EQ(Catch(CheckedExp, nan).code(), 110);
}

TEST(TPExceptions, ConstructorsAndTextLimit) {
    const TP_Exceptions plain("Synthesis failed to converge");
    EXPECT_FALSE(plain.hasCode());
    EXPECT_EQ(plain.code(), 0);
    EXPECT_EQ(plain.value(), 0.0);
    const TP_Exceptions coded(10001, "Can't find any solution in this range", -3.5);
    EXPECT_TRUE(coded.hasCode());
    EXPECT_FALSE(coded.isMathError());
    EXPECT_EQ(coded.value(), -3.5);
    const std::string text199(199, 'x');
    EXPECT_EQ(std::string(TP_Exceptions(text199).text()), text199);
    EXPECT_EQ(std::string(TP_Exceptions(std::string(500, 'y')).text()).size(), 199u);
    const TP_Exceptions copy = coded;
    EXPECT_EQ(copy.code(), 10001);
    EXPECT_EQ(std::string(copy.text()), "Can't find any solution in this range");
}
