// The sweep engine's own behaviour: error points, cancelling, ranges.  That
// each point is the window's Analyze is the consistency table's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/sweep.h"
#include "core/sweeptable.h"
#include "core/worksheet.h"
#include "models/linetypes.h"

namespace {

TEST(Sweep, ErrorPointsKeepTheirMessageAndTheRestGoOn) {
    const LineType& coax = *FindLineType("coax");
    Worksheet sheet;
    const auto model = CreateLineModel(coax, sheet);
    model->LoadAndSetup();
    LineInputs in = model->ReadInputs();
    in.rows[1] = 1e-3; // Do: Di from 0 to 2 mm crosses it
    const auto points = RunSweep(coax, in, {SweepVariable::Kind::Row, 1}, {0.0, 2e-3, 9, false});
    ASSERT_EQ(points.size(), 9u);
    const auto failed =
        std::count_if(points.begin(), points.end(), [](const SweepPoint& p) { return !p.Ok(); });
    EXPECT_EQ(failed, 6); // Di = 0 and Di >= Do
    EXPECT_EQ(points[8].error, "Di must be less than than Do");
    EXPECT_TRUE(points[2].Ok());
    EXPECT_TRUE(std::isfinite(points[2].values.impedance));

    // A conductivity of zero fails alone, as the window's conversion does.
    const auto sigma =
        RunSweep(coax, model->ReadInputs(), {SweepVariable::Kind::Conductivity}, {0.0, 1e7, 2});
    EXPECT_EQ(sigma[0].error, "Floating point division by zero");
    EXPECT_TRUE(sigma[1].Ok());
}

TEST(Sweep, CancelStopsAfterTheBlockAndKeepsItsPoints) {
    const LineType& line = *FindLineType("stripline");
    Worksheet sheet;
    const auto model = CreateLineModel(line, sheet);
    model->LoadAndSetup();
    int calls = 0;
    const auto points =
        RunSweep(line, model->ReadInputs(), {}, {1e9, 2e9, 1000, false}, [&](int done, int total) {
            EXPECT_EQ(total, 1000);
            EXPECT_GT(done, 0);
            return ++calls < 2;
        });
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(points.size(), 128u);
    EXPECT_TRUE(points.back().Ok());
}

TEST(Sweep, RangesEndExactlyAndRefuseWhatCannotBeSwept) {
    const auto log = SweepValues({1e9, 2e10, 201, true});
    EXPECT_EQ(log.front(), 1e9);
    EXPECT_EQ(log.back(), 2e10);
    EXPECT_NEAR(log[100], std::sqrt(1e9 * 2e10), 1e-3);
    // Decade points exact, also from an end a unit conversion left a hair
    // off (1 / 1e-9 is 999999999.9999999).
    const auto decades = SweepValues({1.0 / 1e-9, 1e11, 9, true});
    EXPECT_EQ(decades[0], 1e9);
    EXPECT_EQ(decades[4], 1e10);
    EXPECT_EQ(decades[8], 1e11);
    // Every point is its 15-digit text read back, to the bit, over ranges
    // from the smallest to the largest magnitudes swept.
    for (const SweepRange& range :
         {SweepRange{1e9, 2e10, 20001, true}, SweepRange{1e-7, 3e-2, 20001, true},
          SweepRange{-2.5, 7.0, 20001, false}, SweepRange{1e-12, 1e18, 20001, true}}) {
        const std::vector<double> values = SweepValues(range);
        for (std::size_t i = 0; i + 1 < values.size(); ++i) {
            const int last = range.points - 1;
            const double t = static_cast<double>(i) / last;
            const double raw = range.logarithmic
                                   ? range.start * std::exp(std::log(range.stop / range.start) * t)
                                   : range.start + (range.stop - range.start) * t;
            char text[32];
            std::snprintf(text, sizeof text, "%.15g", raw);
            ASSERT_EQ(values[i], std::strtod(text, nullptr)) << text;
        }
    }
    EXPECT_EQ(SweepValues({3.0, 1.0, 5, false})[2], 2.0); // downwards is fine
    EXPECT_EQ(SweepValues({3.0, 1.0, 1, false}), std::vector<double>{3.0});
    EXPECT_TRUE(SweepRangeProblem({1.0, 2.0, 1, true}).empty());
    for (const SweepRange& bad :
         {SweepRange{1, 2, 0, false}, SweepRange{0, 2, 5, true}, SweepRange{-1, 2, 5, true},
          SweepRange{1, 2, 2000000, false}, SweepRange{1, NAN, 5, false}})
        EXPECT_FALSE(SweepRangeProblem(bad).empty()) << bad.start << " " << bad.points;
}

} // namespace
