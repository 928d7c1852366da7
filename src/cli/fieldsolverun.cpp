// tavrel-calc fieldsolve: the quasi-static field solution of a line's
// cross-section beside the line's closed-form answer, as JSON. Keys, units and
// first-start values are those of analyze.
#include <exception>
#include <memory>
#include <ostream>

#include <nlohmann/json.hpp>

#include "cli/calcrun.h"
#include "cli/jsontext.h"
#include "core/worksheet.h"
#include "fieldcheck/fieldcomparison.h"

namespace {

using fieldcheck::FieldComparison;
using fieldcheck::LineFigures;
using fieldcheck::ModeComparison;
using nlohmann::ordered_json;

// The request as analyze would parse it: the same keys, units and rules.
CliRequest ParseFieldSolve(const std::vector<std::string>& args) {
    std::vector<std::string> asAnalyze = args;
    asAnalyze[0] = "analyze";
    return ParseCommandLine(asAnalyze);
}

ordered_json Figures(const LineFigures& figures) {
    return {{"impedance_ohm", figures.impedance}, {"eeff", figures.eeff}};
}

ordered_json FieldMode(const ModeComparison& mode) {
    ordered_json json = Figures(mode.field);
    json["estimated_error_pct"] = {{"impedance_ohm", mode.impedanceErrorPct},
                                   {"eeff", mode.eeffErrorPct}};
    return json;
}

ordered_json ClosedFormMode(const ModeComparison& mode) {
    ordered_json json = Figures(mode.closedForm);
    json["difference_pct"] = {{"impedance_ohm", mode.ImpedanceDifferencePct()},
                              {"eeff", mode.EeffDifferencePct()}};
    return json;
}

// One mode's object in place, or "even" and "odd" objects on a coupled line.
void PutModes(ordered_json& json, const std::vector<ModeComparison>& modes,
              ordered_json (*make)(const ModeComparison&)) {
    if (modes.size() == 1) {
        json.update(make(modes.front()));
        return;
    }
    json["even"] = make(modes[0]);
    json["odd"] = make(modes[1]);
}

ordered_json ClosedForm(const FieldComparison& c) {
    ordered_json closed;
    closed["frequency_hz"] = fieldcheck::kQuasiStaticFrequency;
    if (!c.HasClosedForm()) { // the field solution stands on its own
        closed["error"] = c.closedFormError;
        return closed;
    }
    PutModes(closed, c.modes, ClosedFormMode);
    ordered_json atFrequency;
    atFrequency["frequency_hz"] = c.frequency;
    PutModes(atFrequency, c.modes,
             [](const ModeComparison& mode) { return Figures(mode.closedFormAtFrequency); });
    closed["at_line_frequency"] = atFrequency;
    return closed;
}

ordered_json Answer(const LineType& line, const Worksheet& sheet, const LineInputs& in,
                    const FieldComparison& c) {
    ordered_json result;
    // An unreliable solution is never a plain result: it leads with why.
    if (!c.Reliable()) result["error"] = "The field solution is unreliable: " + c.solve.unreliable;
    result["line"] = line.cliName;
    result["operation"] = "fieldsolve";
    ordered_json inputs = ordered_json::object();
    for (int row = 1; row <= line.RowCount(); ++row)
        inputs[line.dimensionKeys[static_cast<std::size_t>(row - 1)]] = in.Row(row);
    inputs["Er"] = in.er;
    inputs["f"] = c.frequency;
    if (line.coated) PutKeyValues(inputs, sheet, CoatingKeys()); // what the mask and cover were
    result["inputs"] = inputs;
    result["er_at_f"] = c.inputs.er; // what was solved: Er under the material models
    result["method"] = c.solve.exact
                           ? "exact: the coaxial field is known in closed form, no mesh"
                           : "quasi-static finite volumes on two graded meshes, Richardson "
                             "extrapolation; no dispersion";
    PutModes(result, c.modes, FieldMode);
    result["mesh_cells"] = c.solve.mesh_cells;
    result["seconds"] = c.solve.seconds;
    result["closed_form"] = ClosedForm(c);
    result["warnings"] = c.warnings;
    return result;
}

int Fail(std::ostream& out, const std::string& text) {
    out << JsonText({{"error", text}}) << '\n';
    return 1;
}

} // namespace

namespace {

// "--refine=1" or "--refine=2" anywhere after the line: finer meshes (each
// level bisects both), taken out of the keys.
int TakeRefinement(std::vector<std::string>& args) {
    int refinement = 0;
    for (auto arg = args.begin() + 1; arg != args.end(); ++arg) {
        if (arg->rfind("--refine=", 0) != 0) continue;
        const std::string level = arg->substr(9);
        if (level != "1" && level != "2") throw UsageError("--refine must be 1 or 2");
        refinement = level[0] - '0';
        args.erase(arg);
        break;
    }
    return refinement;
}

} // namespace

int RunFieldSolve(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CliRequest request;
    fieldsolver::SolveOptions options;
    try {
        std::vector<std::string> keys = args;
        options.refinement = TakeRefinement(keys);
        request = ParseFieldSolve(keys);
    } catch (const std::runtime_error&) {
        return ReportParseFailure(out, err);
    }
    const LineType& line = *request.line;
    try {
        Worksheet sheet;
        const std::unique_ptr<LineModel> model = PrepareLine(request, sheet);
        const LineInputs in = model->ReadInputs();
        const FieldComparison comparison = fieldcheck::CompareWithFieldSolution(line, in, options);
        if (!comparison.Solved()) return Fail(out, comparison.solve.message);
        ordered_json answer = Answer(line, sheet, in, comparison);
        for (const std::string& warning : request.warnings)
            answer["warnings"].push_back(warning);
        out << JsonText(answer, 2) << '\n';
        return comparison.Reliable() ? 0 : 1;
    } catch (...) {
        return Fail(out, CurrentErrorText("Unknown calculation error"));
    }
}
