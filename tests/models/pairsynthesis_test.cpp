// Coupled synthesis: synthesize W, S or both for the pair's targets, analyze
// the line the window would show with them in each mode, and require the
// targets back; an unreachable target names itself and the way out.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/coupledsynthesis.h"
#include "core/worksheet.h"
#include "models/linetypes.h"

namespace {

struct PairCase {
    const char* line;
    PairSolve solve;
    std::vector<PairTarget> targets;
};

// Even and odd impedance of the window's Analyze at W and S.
std::pair<double, double> AnalyzedModes(const LineType& type, const LineInputs& in, double w,
                                        double s) {
    Worksheet sheet;
    const auto model = CreateLineModel(type, sheet);
    model->LoadAndSetup();
    for (int row = 1; row <= type.RowCount(); ++row)
        sheet.SetRowValue(row, in.Row(row));
    sheet.SetRowValue(1, w);
    sheet.SetRowValue(2, s);
    sheet.dielConstant = in.er;
    sheet.lossTangent = in.tand;
    sheet.frequency = in.f;
    double modes[2];
    for (int mode : {0, 1}) {
        sheet.SetModeIndex(mode);
        model->Analyze();
        EXPECT_TRUE(sheet.errors.empty()) << sheet.errors.front();
        modes[mode] = sheet.impedance;
    }
    return {modes[0], modes[1]};
}

LineInputs Inputs(const LineType& type) {
    LineInputs in;
    for (int row = 1; row <= type.RowCount(); ++row)
        in.rows[static_cast<std::size_t>(row - 1)] =
            type.rowDefaults[static_cast<std::size_t>(row - 1)];
    in.er = 4.3;
    in.tand = 0.02;
    in.f = 1e9;
    in.mode = 0;
    return in;
}

} // namespace

TEST(PairSynthesis, RoundTripsThroughAnalyzeForEveryKindAndLine) {
    const std::vector<PairCase> cases{
        {"coupled-microstrip", PairSolve::W, {{PairFigure::Zdiff, 100.0}}},
        {"coupled-microstrip", PairSolve::S, {{PairFigure::Zdiff, 90.0}}},
        {"coupled-microstrip",
         PairSolve::WS,
         {{PairFigure::Zeven, 62.0}, {PairFigure::Zodd, 48.0}}},
        {"coupled-microstrip",
         PairSolve::WS,
         {{PairFigure::Zcomm, 30.0}, {PairFigure::Zdiff, 100.0}}},
        {"coupled-stripline", PairSolve::W, {{PairFigure::Zdiff, 100.0}}},
        {"coupled-stripline", PairSolve::S, {{PairFigure::Zcomm, 28.0}}},
        {"coupled-stripline",
         PairSolve::WS,
         {{PairFigure::Zdiff, 90.0}, {PairFigure::Zcomm, 28.0}}},
    };
    for (const PairCase& c : cases) {
        SCOPED_TRACE(std::string(c.line) + " solve " + std::to_string(static_cast<int>(c.solve)));
        const LineType& type = *FindLineType(c.line);
        const LineInputs in = Inputs(type);
        const auto start = std::chrono::steady_clock::now();
        const PairSynthesis solved = SynthesizePair(type, in, c.targets, c.solve);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        EXPECT_LT(ms, 50.0);
        if (c.solve == PairSolve::W) {
            EXPECT_EQ(solved.s, in.Row(2));
        }
        if (c.solve == PairSolve::S) {
            EXPECT_EQ(solved.w, in.Row(1));
        }
        const auto [even, odd] = AnalyzedModes(type, in, solved.w, solved.s);
        LineResult analyzed;
        analyzed.even.impedance = even;
        analyzed.odd.impedance = odd;
        for (const PairTarget& target : c.targets)
            EXPECT_NEAR(PairFigureValue(target.figure, analyzed), target.ohms, 1e-6 * target.ohms)
                << PairFigureName(target.figure);
    }
}

TEST(PairSynthesis, UnreachableTargetsNameTheTargetAndTheWayOut) {
    const LineType& type = *FindLineType("coupled-microstrip");
    const LineInputs in = Inputs(type);
    const auto message = [&](std::vector<PairTarget> targets, PairSolve solve) {
        try {
            SynthesizePair(type, in, targets, solve);
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
        return std::string("solved");
    };
    const std::string gap = message({{PairFigure::Zdiff, 400.0}}, PairSolve::S);
    EXPECT_EQ(
        gap.rfind("Zdiff 400 ohm cannot be reached: the widest gap (S = 10 H) gives at most ", 0),
        0u)
        << gap;
    EXPECT_NE(gap.find("narrow the strips or thicken the substrate (H)"), std::string::npos);
    const std::string width = message({{PairFigure::Zodd, 5.0}}, PairSolve::W);
    EXPECT_NE(width.find("the widest strips (W = 10 H) give at least"), std::string::npos) << width;
    // Zeven can never fall below Zodd: the widest gap is the limit.
    const std::string both =
        message({{PairFigure::Zodd, 50.0}, {PairFigure::Zeven, 40.0}}, PairSolve::WS);
    EXPECT_EQ(both.rfind("Zeven 40 ohm cannot be reached with Zodd 50 ohm: the widest gap", 0), 0u)
        << both;
    EXPECT_THROW(SynthesizePair(type, in, {{PairFigure::Zdiff, 100.0}, {PairFigure::Zodd, 50.0}},
                                PairSolve::WS),
                 std::invalid_argument);
    EXPECT_THROW(SynthesizePair(type, in, {{PairFigure::Zdiff, -1.0}}, PairSolve::W),
                 std::invalid_argument);
}
