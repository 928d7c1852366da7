// Marching squares on small grids whose contours are known exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fieldcheck/contourlines.h"

using fieldcheck::ContourSegments;

namespace {

// v(i, j) = i + 2 j on 4 by 3 samples: the contour v = 2.5 is the line
// i = 2.5 - 2 j, crossing rows 0 and 1.
std::vector<double> Ramp() {
    std::vector<double> v;
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i)
            v.push_back(i + 2.0 * j);
    return v;
}

} // namespace

TEST(ContourLines, LinearFieldGivesItsExactLevelLine) {
    const auto segments = ContourSegments(Ramp(), 4, 3, 2.5);
    ASSERT_FALSE(segments.empty());
    for (const auto& s : segments)
        for (const auto& p : {s.a, s.b})
            EXPECT_NEAR(p.i + 2 * p.j, 2.5, 1e-12);
    EXPECT_TRUE(ContourSegments(Ramp(), 4, 3, 99.0).empty());
}

TEST(ContourLines, SaddleFollowsTheCentreAndNaNCellsAreSkipped) {
    // Corners 0 and 2 high, 1 and 3 low; centre mean 0.6 above the level 0.5
    // joins the high corners, so the two lines cut off the low corners 1, 3.
    const std::vector<double> saddle{1.0, 0.0,  // v(0,0), v(1,0)
                                     0.4, 1.0}; // v(0,1), v(1,1)
    const auto segments = ContourSegments(saddle, 2, 2, 0.5);
    ASSERT_EQ(segments.size(), 2u);
    for (const auto& s : segments) {
        // Each line keeps to the triangle of one low corner: (1, 0) or (0, 1).
        const double mi = (s.a.i + s.b.i) / 2, mj = (s.a.j + s.b.j) / 2;
        EXPECT_TRUE((mi > 0.5 && mj < 0.5) || (mi < 0.5 && mj > 0.5)) << mi << " " << mj;
    }
    std::vector<double> hole = Ramp();
    hole[5] = std::numeric_limits<double>::quiet_NaN(); // (1, 1): every cell touches it
    const auto around = ContourSegments(hole, 4, 3, 2.5);
    ASSERT_FALSE(around.empty());
    for (const auto& s : around)
        EXPECT_TRUE(s.a.i >= 2 && s.b.i >= 2);
}
