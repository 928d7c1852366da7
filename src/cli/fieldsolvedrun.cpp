// tavrel-calc analyze|synthesize ... solver=field: the field solver's
// impedance and eeff at the request's dimensions, or the dimensions where
// they meet the targets, reported in analyze's keys.
#include <nlohmann/json.hpp>

#include "cli/calcrun.h"
#include "core/linecal.h"
#include "core/windowservices.h"
#include "core/worksheet.h"
#include "fieldcheck/fieldsolved.h"

using fieldcheck::FieldSolved;
using nlohmann::ordered_json;

namespace {

// The answer with one mode's values in the shown place.
LineAnswer ModeAnswer(LineAnswer answer, int mode) {
    static_cast<LineValues&>(answer.result) = mode == 0 ? answer.result.even : answer.result.odd;
    return answer;
}

ordered_json FieldSolution(const FieldSolved& solved) {
    return {{"method", "quasi-static finite volumes, Richardson extrapolation; impedance and eeff "
                       "from the field, loss from the closed form"},
            {"estimated_error_pct", solved.errorPct},
            {"mesh_refinement", solved.refinement},
            {"field_solves", solved.solves},
            {"seconds", solved.seconds}};
}

} // namespace

int PutFieldSolved(const CliRequest& request, Worksheet& sheet, LineModel& model,
                   ordered_json& result) {
    const LineType& line = *request.line;
    const bool synthesize = request.operation == CliRequest::Operation::Synthesize;
    const bool pair = line.coupled && (request.bothModes || synthesize);
    const LineInputs in = model.ReadInputs();
    FieldSolved solved;
    if (synthesize && line.coupled) {
        const PairSolve solve = PutPairRequest(request, result);
        const auto synthesis = fieldcheck::FieldSynthesizePair(line, in, request.pairTargets, solve);
        sheet.SetRowValue(1, synthesis.w);
        sheet.SetRowValue(2, synthesis.s);
        solved = synthesis.solved;
    } else if (synthesize) {
        const auto synthesis = fieldcheck::FieldSynthesize(line, in);
        sheet.SetRowValue(1, synthesis.x);
        solved = synthesis.solved;
    } else {
        solved = fieldcheck::FieldAnalyze(line, in);
    }
    result["dimensions"] = Dimensions(sheet, line);
    result["field_solution"] = FieldSolution(solved);
    const LineAnswer& answer = solved.answer;
    if (pair) {
        for (int mode : {0, 1}) {
            const LineAnswer shown = ModeAnswer(answer, mode);
            sheet.electricalLength = shown.PhaseConstant() * sheet.physicalLength;
            ordered_json values;
            PutOutputs(values, kModeJson, sheet, line, shown);
            result[mode == 0 ? "even" : "odd"] = values;
        }
        PutOutputs(result, kPairJson, sheet, line, answer);
    } else {
        // Synthesis keeps the electrical length, analysis the physical one.
        if (synthesize)
            sheet.physicalLength = sheet.electricalLength / answer.PhaseConstant();
        else
            sheet.electricalLength = answer.PhaseConstant() * sheet.physicalLength;
        PutOutputs(result, kLineJson, sheet, line, answer);
    }
    std::vector<std::string> warnings;
    for (const std::string& text : answer.warnings)
        warnings.push_back(WarningLine(static_cast<int>(warnings.size()) + 1, text));
    result["warnings"] = warnings;
    return 0;
}
