#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "numeric/lanes.h"

namespace {

bool Same(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

}  // namespace

// Each lane of the packed arithmetic and of the table functions is the scalar
// result to the bit, over operands from subnormal to huge.
TEST(Lanes, EachLaneIsTheScalarResult) {
    const double values[] = {4.9e-324, 1e-300, 3e-9, 0.1, 0.7071067811865476, 1.0, 2.5, 1e10, 1e300};
    const CheckedPowers base(0.0723);
    for (double a : values) {
        for (double b : values) {
            const Lanes x(a, b), y(b, a);
            const Lanes sum = x + y, difference = x - y, product = x * y, quotient = x / y;
            const Lanes roots = Sqrt(x), exps = ExpFast(-x), logs = LogFast(x);
            for (int lane : {0, 1}) {
                const double p = lane == 0 ? a : b, q = lane == 0 ? b : a;
                EXPECT_TRUE(Same(sum[lane], p + q)) << p << " " << q;
                EXPECT_TRUE(Same(difference[lane], p - q)) << p << " " << q;
                EXPECT_TRUE(Same(product[lane], p * q)) << p << " " << q;
                EXPECT_TRUE(Same(quotient[lane], p / q)) << p << " " << q;
                EXPECT_TRUE(Same(roots[lane], std::sqrt(p))) << p;
                EXPECT_TRUE(Same(exps[lane], ExpFast(-p))) << p;
                EXPECT_TRUE(Same(logs[lane], LogFast(p))) << p;
                EXPECT_TRUE(Same(Where(x < y, x, y)[lane], p < q ? p : q)) << p << " " << q;
            }
            if (std::fabs(a) < 100.0 && std::fabs(b) < 100.0) {
                const Lanes powers = Pow(base, x);
                EXPECT_TRUE(Same(powers[0], base.Pow(a)) && Same(powers[1], base.Pow(b))) << a << " " << b;
            }
        }
    }
}

// Where the lanes would part, or one would leave a checked function's fast
// path (whose errors are the scalar evaluation's to raise), they refuse.
TEST(Lanes, RefuseWhereTheLanesPart) {
    EXPECT_TRUE(Decide(Lanes(1.0, 2.0) > 0.5));
    EXPECT_FALSE(Decide(Lanes(1.0, 2.0) > 5.0));
    EXPECT_THROW(Decide(Lanes(1.0, 2.0) > 1.5), LanesDisagree);
    EXPECT_EQ(Same(Lanes(3.0)), 3.0);
    EXPECT_THROW(Same(Lanes(0.0, -0.0)), LanesDisagree);
    EXPECT_THROW(CheckedSqrt(Lanes(4.0, -1.0)), LanesDisagree);
    EXPECT_THROW(CheckedLog(Lanes(0.0, 1.0)), LanesDisagree);
    EXPECT_THROW(Pow(CheckedPowers(0.5), Lanes(1.0, 2000.0)), LanesDisagree);
    // Per lane, lane 0 first.
    std::vector<double> order;
    PerLane([&](double v) { order.push_back(v); return v; }, Lanes(1.0, 2.0));
    EXPECT_EQ(order, (std::vector<double>{1.0, 2.0}));
}
