// Field-solved synthesis: one round trip per line family.  The dimensions a
// field synthesis returns, analysed by the field solver on their own, give
// the targets back within the synthesis's match, at an estimated error
// inside the budget.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fieldcheck/fieldsolved.h"
#include "models/linetypes.h"
#include "numeric/tpexceptions.h"

namespace {

using fieldcheck::FieldAnalyze;
using fieldcheck::kFieldErrorBudgetPct;
using fieldcheck::kFieldTargetMatch;

LineInputs Inputs(const LineType& type, std::vector<double> rows, double er) {
    LineInputs in;
    for (std::size_t i = 0; i < rows.size(); ++i)
        in.rows[i] = rows[i];
    in.er = er;
    in.f = 1e9;
    in.mode = type.coupled ? 0 : -1;
    return in;
}

} // namespace

TEST(FieldSolved, SingleLineSynthesisRoundTripsThroughFieldAnalysis) {
    struct Case {
        const char* line;
        std::vector<double> rows; // row 1 is the start, the rest held
        double er;
        double target;
    };
    const std::vector<Case> cases{
        {"microstrip", {0.2e-3, 0.1e-3, 35e-6}, 4.3, 50.0},
        {"stripline", {0.1e-3, 0.3e-3, 18e-6}, 4.3, 50.0},
        {"cpw-ground", {0.3e-3, 0.2e-3, 0.2e-3, 18e-6}, 4.3, 50.0},
        {"coax", {1e-3, 3e-3}, 2.1, 50.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const LineType& type = *FindLineType(c.line);
        LineInputs in = Inputs(type, c.rows, c.er);
        in.targetImpedance = c.target;
        const auto synthesis = fieldcheck::FieldSynthesize(type, in);
        EXPECT_LT(synthesis.solved.errorPct, kFieldErrorBudgetPct);
        in.rows[0] = synthesis.x;
        const double z = FieldAnalyze(type, in).answer.result.impedance;
        EXPECT_NEAR(z, c.target, kFieldTargetMatch * c.target);
    }
}

TEST(FieldSolved, PairSynthesisRoundTripsThroughFieldAnalysis) {
    struct Case {
        const char* line;
        std::vector<double> rows;
        PairSolve solve;
        std::vector<PairTarget> targets;
    };
    // 1 oz copper on 0.1 mm prepreg.
    const std::vector<Case> cases{
        {"coupled-microstrip",
         {0.1e-3, 0.1e-3, 0.1e-3, 35e-6},
         PairSolve::WS,
         {{PairFigure::Zdiff, 100.0}, {PairFigure::Zcomm, 30.0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const LineType& type = *FindLineType(c.line);
        LineInputs in = Inputs(type, c.rows, 4.3);
        const auto synthesis = fieldcheck::FieldSynthesizePair(type, in, c.targets, c.solve);
        EXPECT_LT(synthesis.solved.errorPct, kFieldErrorBudgetPct);
        in.rows[0] = synthesis.w;
        in.rows[1] = synthesis.s;
        const LineResult analysed = FieldAnalyze(type, in).answer.result;
        for (const PairTarget& target : c.targets)
            EXPECT_NEAR(PairFigureValue(target.figure, analysed), target.ohms,
                        kFieldTargetMatch * target.ohms)
                << PairFigureName(target.figure);
    }
}

TEST(FieldSolved, ALineTheSolverDoesNotApplyToIsRefusedByName) {
    const LineType& slotline = *FindLineType("slotline");
    LineInputs in = Inputs(slotline, {10e-6, 30e-6}, 9.8);
    in.targetImpedance = 80.0;
    try {
        fieldcheck::FieldSynthesize(slotline, in);
        FAIL() << "solved";
    } catch (const TP_Exceptions& e) {
        EXPECT_NE(std::string(e.what()).find("not a quasi-TEM line"), std::string::npos);
    }
}
