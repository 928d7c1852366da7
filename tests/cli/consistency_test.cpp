// The same line through every entry point: the window's Analyze, a 1-point
// sweep of each kind of input, a tavrel-calc (batch) call, the closed form
// beside the field solution, a synthesis round trip and a pair synthesis,
// each under the constant and the wideband dielectric and each roughness
// model.  Every entry point must give the same numbers, to the last bit, and
// the same warnings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>

#include <nlohmann/json.hpp>

#include "cli/calcrun.h"
#include "core/calculation.h"
#include "core/materialmodels.h"
#include "core/coupledsynthesis.h"
#include "core/sweep.h"
#include "core/sweeptable.h"
#include "core/worksheet.h"
#include "fieldcheck/fieldcomparison.h"
#include "numeric/constants.h"

namespace {

enum class Roughness { None, Hammerstad, Groiss };

using Case = std::tuple<const LineType*, bool /*wideband*/, Roughness>;

// "Warning #2 -> text" -> "text"
std::vector<std::string> Unnumbered(const std::vector<std::string>& lines) {
    std::vector<std::string> texts;
    for (const std::string& line : lines)
        texts.push_back(line.substr(line.find(" -> ") + 4));
    return texts;
}

void ExpectSameValues(const LineValues& a, const LineValues& b, const std::string& where) {
    EXPECT_EQ(a.impedance, b.impedance) << where;
    EXPECT_EQ(a.eeff, b.eeff) << where;
    EXPECT_EQ(a.loss, b.loss) << where;
    EXPECT_EQ(std::isnan(a.conductorLoss), std::isnan(b.conductorLoss)) << where;
    if (!std::isnan(a.conductorLoss)) {
        EXPECT_EQ(a.conductorLoss, b.conductorLoss) << where;
        EXPECT_EQ(a.dielectricLoss, b.dielectricLoss) << where;
    }
}

void ExpectSameResult(const LineResult& a, const LineResult& b, const std::string& where) {
    ExpectSameValues(a, b, where);
    ExpectSameValues(a.even, b.even, where + " (even)");
    ExpectSameValues(a.odd, b.odd, where + " (odd)");
}

class EveryEntryPoint : public ::testing::TestWithParam<Case> {
  protected:
    void SetUp() override {
        const auto& [line, wideband, roughness] = GetParam();
        line_ = line;
        model_ = CreateLineModel(*line, sheet_);
        model_->LoadAndSetup();
        sheet_.lossTangent = 0.02;
        sheet_.conductivity = 5.8e7;
        sheet_.frequency = 20e9;
        sheet_.dielConstant = 4.04;
        sheet_.physicalLength = 0.01;
        if (wideband) {
            sheet_.dkModel = FindDielectricModel("djsarkar");
            sheet_.fRef = 2e9;
        }
        if (roughness != Roughness::None) {
            sheet_.rough = 1e-6;
            sheet_.roughModel = FindRoughnessModel(roughness == Roughness::Groiss ? "groiss"
                                                                                  : "hammerstad");
        }
    }

    // The same inputs as a tavrel-calc command line.
    std::vector<std::string> CommandLine(const char* operation) const {
        std::vector<std::string> args{operation, line_->cliName};
        for (int row = 1; row <= line_->RowCount(); ++row)
            args.push_back(line_->dimensionKeys[static_cast<std::size_t>(row - 1)] + "=" +
                           FormatExact(sheet_.rowValues[static_cast<std::size_t>(row - 1)]));
        for (const auto& [key, value] : {std::pair{"Er", sheet_.dielConstant},
                                         {"tand", sheet_.lossTangent},
                                         {"sigma", sheet_.conductivity},
                                         {"f", sheet_.frequency},
                                         {"L", sheet_.physicalLength},
                                         {"rough", sheet_.rough},
                                         {"f_ref", sheet_.fRef}})
            args.push_back(std::string(key) + "=" + FormatExact(value));
        args.push_back(std::string("dk_model=") + sheet_.dkModel->keyword);
        args.push_back(std::string("rough_model=") + sheet_.roughModel->keyword);
        if (line_->coupled) args.push_back(sheet_.modeIndex == 0 ? "mode=even" : "mode=odd");
        return args;
    }

    const LineType* line_ = nullptr;
    Worksheet sheet_;
    std::unique_ptr<LineModel> model_;
};

TEST_P(EveryEntryPoint, GivesTheSameNumbersAndWarnings) {
    const LineType& line = *line_;
    model_->Analyze();
    ASSERT_TRUE(sheet_.errors.empty()) << sheet_.errors.front();
    const LineResult analyzed = model_->LastResult();
    const std::vector<std::string> warnings = Unnumbered(sheet_.warnings);
    const LineInputs in = model_->ReadInputs();

    // The step itself.
    const LineAnswer answer = CalculateLine(line, in, in.Row(1));
    ASSERT_TRUE(answer.Ok()) << answer.ErrorText();
    ExpectSameResult(answer.result, analyzed, "step");
    EXPECT_EQ(answer.warnings, warnings);
    EXPECT_EQ(answer.PhaseConstant(), sheet_.phaseConstant);

    // A 1-point sweep of each kind of input, at its own value.
    const std::pair<SweepVariable, double> swept[] = {
        {{SweepVariable::Kind::Frequency}, in.f},
        {{SweepVariable::Kind::Row, 1}, in.Row(1)},
        {{SweepVariable::Kind::Er}, in.er},
        {{SweepVariable::Kind::Tand}, in.tand},
        {{SweepVariable::Kind::Conductivity}, sheet_.conductivity},
        {{SweepVariable::Kind::Roughness}, in.rough},
    };
    for (const auto& [variable, value] : swept) {
        const auto points = RunSweep(line, in, variable, {value, value, 1, false});
        ASSERT_EQ(points.size(), 1u);
        const std::string where = "sweep of " + SweptColumnName(line, variable);
        ASSERT_TRUE(points[0].Ok()) << where << ": " << points[0].error;
        ExpectSameResult(points[0].values, analyzed, where);
        EXPECT_EQ(points[0].warnings, warnings) << where;
    }

    // tavrel-calc, as a batch line runs it.
    nlohmann::ordered_json json;
    ASSERT_EQ(Calculate(ParseCommandLine(CommandLine("analyze")), json), 0) << json.dump();
    EXPECT_EQ(json["impedance_ohm"].get<double>(), analyzed.impedance);
    EXPECT_EQ(json["eeff"].get<double>(), analyzed.eeff);
    if (line.lossShown) {
        EXPECT_EQ(json["loss_db_per_m"].get<double>(),
                  analyzed.loss * constants::kNepersToDecibels);
    }
    EXPECT_EQ(Unnumbered(json["warnings"].get<std::vector<std::string>>()), warnings);

    // The closed form beside the field solution, at the line's frequency.
    if (line.crossSection != nullptr) {
        const fieldcheck::FieldComparison field = fieldcheck::CompareWithFieldSolution(line, in);
        ASSERT_TRUE(field.Solved()) << field.solve.message;
        const LineValues& shown = line.coupled ? analyzed.even : analyzed;
        EXPECT_EQ(field.modes.front().closedFormAtFrequency.impedance, shown.impedance);
        EXPECT_EQ(field.modes.front().closedFormAtFrequency.eeff, shown.eeff);
    }
}

// Synthesis lands on a width whose values are the step's at that width.
TEST_P(EveryEntryPoint, SynthesisRoundTripsThroughTheSameStep) {
    const LineType& line = *line_;
    model_->Analyze();
    ASSERT_TRUE(sheet_.errors.empty()) << sheet_.errors.front();
    const LineResult analyzed = model_->LastResult();
    const double width = sheet_.rowValues[0];
    if (line.coupled) {
        const LineInputs in = model_->ReadInputs();
        const PairSynthesis pair = SynthesizePair(
            line, in, {{PairFigure::Zdiff, 2.0 * analyzed.odd.impedance}}, PairSolve::W);
        EXPECT_NEAR(pair.w, width, 1e-6 * width);
        LineInputs solved = in;
        solved.rows[0] = pair.w;
        ExpectSameResult(pair.result, CalculateLine(line, solved, pair.w).result, "pair");
        return;
    }
    sheet_.impedance = analyzed.impedance;
    sheet_.SetRowValue(1, 0.7 * width);
    model_->Synthesize();
    ASSERT_TRUE(sheet_.errors.empty()) << sheet_.errors.front();
    const double root = sheet_.rowValues[0];
    EXPECT_NEAR(root, width, 1e-3 * width);
    const LineAnswer atRoot = CalculateLine(line, model_->ReadInputs(), root);
    ExpectSameResult(model_->LastResult(), atRoot.result, "synthesis");
    EXPECT_EQ(Unnumbered(sheet_.warnings), atRoot.warnings);
}

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (const LineType& line : LineTypes())
        for (bool wideband : {false, true})
            for (Roughness r : {Roughness::None, Roughness::Hammerstad, Roughness::Groiss})
                cases.emplace_back(&line, wideband, r);
    return cases;
}

std::string Name(const ::testing::TestParamInfo<Case>& info) {
    const auto& [line, wideband, roughness] = info.param;
    std::string name = line->cliName;
    std::replace(name.begin(), name.end(), '-', '_');
    name += wideband ? "_wideband" : "_constant";
    name += roughness == Roughness::None         ? "_smooth"
            : roughness == Roughness::Hammerstad ? "_hammerstad"
                                                 : "_groiss";
    return name;
}

INSTANTIATE_TEST_SUITE_P(Lines, EveryEntryPoint, ::testing::ValuesIn(Cases()), Name);

} // namespace
