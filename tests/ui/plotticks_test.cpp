// Log-axis ticks: at least three labels on any range, never crowded.
#include <gtest/gtest.h>

#include <cmath>

#include "ui/plotticks.h"

namespace {

TEST(LogTicks, OneTwoFiveStepsFinerOnShortRangesDecadesOnLongOnes) {
    const std::vector<std::pair<std::pair<double, double>, std::vector<double>>> cases{
        {{0.1, 10}, {0.1, 0.2, 0.5, 1, 2, 5, 10}},
        {{1e9, 2e10}, {1e9, 2e9, 5e9, 1e10, 2e10}},
        // Under a decade: 1-2-5 would give one or two labels.
        {{0.58, 4}, {0.6, 0.7, 0.8, 0.9, 1, 2, 3, 4}},
        {{2.5, 4.5}, {2.5, std::sqrt(2.5 * 4.5), 4.5}},
        // Ten decades: each decade; sixteen: every other one.
        {{1e3, 1e12}, {1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12}},
        {{1e-3, 1e12}, {1e-2, 1, 1e2, 1e4, 1e6, 1e8, 1e10, 1e12}},
        {{1, 1}, {}},
        {{0, 1}, {}},
    };
    for (const auto& [range, expected] : cases)
        EXPECT_EQ(LogTicks(range.first, range.second), expected)
            << range.first << " to " << range.second;
}

} // namespace
