#include "cli/calcrun.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <ostream>

#include <nlohmann/json.hpp>

#include "cli/jsontext.h"
#include "cli/subcommands.h"
#include "core/answerof.h"
#include "core/coupledsynthesis.h"
#include "core/materialmodels.h"
#include "core/outputs.h"
#include "core/widebanddielectric.h"
#include "core/worksheet.h"

using nlohmann::ordered_json;

namespace {


ordered_json Inputs(Worksheet& sheet, const LineType& line) {
    ordered_json inputs = Dimensions(sheet, line);
    PutKeyValues(inputs, sheet, LineKeys(line));
    inputs["rough_model"] = sheet.roughModel->keyword;
    inputs["dk_model"] = sheet.dkModel->keyword;
    return inputs;
}


// Analyze in one mode; false (with the error in `error`) on a calculation error.
bool AnalyzeMode(Worksheet& sheet, LineModel& model, int mode, std::string& error) {
    sheet.SetModeIndex(mode);
    model.Analyze();
    if (sheet.errors.empty()) return true;
    error = sheet.errors.front();
    return false;
}

// Both modes of a coupled line and the pair's figures.  Each mode is its own
// Analyze, so each agrees with mode=even and mode=odd to the last bit.
bool PutBothModes(Worksheet& sheet, LineModel& model, ordered_json& result) {
    std::string error;
    result["dimensions"] = Dimensions(sheet, model.Line());
    std::vector<std::string> warnings;
    LineResult modes;
    for (int mode : {0, 1}) {
        if (!AnalyzeMode(sheet, model, mode, error)) {
            result = ordered_json{{"error", error}};
            return false;
        }
        ordered_json values;
        PutOutputs(values, kModeJson, sheet, model.Line(),
                   AnswerOf(model.LastResult(), model.ReadInputs()));
        result[mode == 0 ? "even" : "odd"] = values;
        (mode == 0 ? modes.even : modes.odd) = model.LastResult();
        for (const std::string& line : sheet.warnings)
            if (std::find(warnings.begin(), warnings.end(), line) == warnings.end())
                warnings.push_back(line);
    }
    PutOutputs(result, kPairJson, sheet, model.Line(), AnswerOf(modes, model.ReadInputs()));
    result["warnings"] = warnings;
    return true;
}

// W, S or both for the pair's targets, written into the sheet's rows.
void SolvePair(const CliRequest& request, Worksheet& sheet, LineModel& model,
               ordered_json& result) {
    const PairSolve solve = PutPairRequest(request, result);
    const PairSynthesis solved =
        SynthesizePair(model.Line(), model.ReadInputs(), request.pairTargets, solve);
    sheet.SetRowValue(1, solved.w);
    sheet.SetRowValue(2, solved.s);
}

// A line with several modes (a waveguide): each with its cut-off.
ordered_json Modes(const LineType& line, const LineInputs& in) {
    ordered_json modes = ordered_json::array();
    for (const GuideMode& mode : line.modes(AtFrequency(in)))
        modes.push_back({{"name", mode.name},
                         {"cutoff_hz", mode.cutoff},
                         {"propagates", mode.propagates}});
    return modes;
}

// After the line's own warnings: those of the command line's values.
void AddRequestWarnings(ordered_json& result, const CliRequest& request) {
    for (const std::string& warning : request.warnings)
        result["warnings"].push_back(warning);
}

} // namespace

PairSolve PutPairRequest(const CliRequest& request, ordered_json& result) {
    ordered_json targets;
    for (const PairTarget& target : request.pairTargets)
        targets[PairFigureName(target.figure)] = target.ohms;
    result["targets"] = targets;
    const PairSolve solve =
        request.pairSolve.value_or(DefaultPairSolve(request.pairTargets.size()));
    result["solved"] = solve == PairSolve::WS  ? ordered_json{"W", "S"}
                       : solve == PairSolve::W ? ordered_json{"W"}
                                               : ordered_json{"S"};
    return solve;
}

ordered_json Dimensions(Worksheet& sheet, const LineType& line) {
    ordered_json dims = ordered_json::object();
    for (std::size_t row = 0; row < line.dimensionKeys.size(); ++row)
        dims[line.dimensionKeys[row]] = sheet.RowValue(static_cast<int>(row) + 1);
    return dims;
}

void PutKeyValues(ordered_json& inputs, const Worksheet& sheet, const std::vector<CommonKey>& keys) {
    for (const CommonKey& key : keys)
        inputs[key.key] = sheet.*key.value;
}

void PutOutputs(ordered_json& into, OutputJson place, const Worksheet& sheet,
                const LineDescriptor& line, const LineAnswer& answer) {
    const OutputSource source{line, answer, sheet.electricalLength, sheet.physicalLength};
    for (const OutputQuantity& row : OutputQuantities())
        if ((row.json & place) != 0 && row.On(line))
            into[row.jsonKey] = row.Reported(source); // not finite: null
}

void ApplyInput(Worksheet& sheet, const LineType& line, const std::string& key, double value) {
    for (std::size_t row = 0; row < line.dimensionKeys.size(); ++row) {
        if (key == line.dimensionKeys[row]) {
            sheet.SetRowValue(static_cast<int>(row) + 1, value);
            return;
        }
    }
    for (const CommonKey& common : LineKeys(line))
        if (key == common.key) sheet.*common.value = value;
}

std::unique_ptr<LineModel> PrepareLine(const CliRequest& request, Worksheet& sheet) {
    const LineType& line = *request.line;
    std::unique_ptr<LineModel> model = CreateLineModel(line, sheet);
    model->LoadAndSetup();
    for (const auto& [key, value] : request.values)
        ApplyInput(sheet, line, key, value);
    if (request.mode) sheet.SetModeIndex(*request.mode);
    if (request.roughModel != nullptr) sheet.roughModel = request.roughModel;
    if (request.dkModel != nullptr) sheet.dkModel = request.dkModel;
    return model;
}

int Calculate(const CliRequest& request, ordered_json& result) {
    const LineType& line = *request.line;
    const bool synthesize = request.operation == CliRequest::Operation::Synthesize;
    const bool pair = line.coupled && (request.bothModes || synthesize);
    try {
        Worksheet sheet;
        const std::unique_ptr<LineModel> model = PrepareLine(request, sheet);

        result = ordered_json::object();
        result["line"] = line.cliName;
        result["operation"] = synthesize ? "synthesize" : "analyze";
        if (line.coupled) result["mode"] = pair ? "both" : sheet.ModeIndex() == 1 ? "odd" : "even";
        result["solver"] = request.fieldSolver ? "field" : "closed form";
        result["inputs"] = Inputs(sheet, line);
        if (request.fieldSolver) {
            const int status = PutFieldSolved(request, sheet, *model, result);
            AddRequestWarnings(result, request);
            return status;
        }

        if (pair) {
            if (synthesize) SolvePair(request, sheet, *model, result);
            if (!PutBothModes(sheet, *model, result)) return 1;
            AddRequestWarnings(result, request);
            return 0;
        }
        if (synthesize)
            model->Synthesize();
        else
            model->Analyze();
        if (!sheet.errors.empty()) {
            result = ordered_json{{"error", sheet.errors.front()}};
            return 1;
        }

        result["dimensions"] = Dimensions(sheet, line);
        PutOutputs(result, kLineJson, sheet, model->Line(),
                   AnswerOf(model->LastResult(), model->ReadInputs()));
        if (line.modes != nullptr) result["modes"] = Modes(line, model->ReadInputs());
        result["warnings"] = sheet.warnings;
        AddRequestWarnings(result, request);
        return 0;
    } catch (...) {
        result = ordered_json{{"error", CurrentErrorText("Unknown calculation error")}};
        return 1;
    }
}

int RunCalculation(const CliRequest& request, std::ostream& out) {
    ordered_json result;
    const int status = Calculate(request, result);
    // An error is one compact line, results are indented.
    out << (status == 0 ? JsonText(result, 2) : JsonText(result)) << '\n';
    return status;
}

int FinishOutput(int status, std::ostream& out, std::ostream& err) {
    out.flush();
    if (out) return status;
    err << "tavrel-calc: the output could not be written\n";
    return status == 0 ? 1 : status;
}

int ReportParseFailure(std::ostream& out, std::ostream& err) {
    try {
        throw;
    } catch (const UsageError& e) {
        err << "tavrel-calc: " << e.what() << "\n\n" << UsageText();
        return 2;
    } catch (const InputRuleError& e) {
        out << JsonText({{"error", e.what()}}) << '\n';
        return 1;
    }
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty())
        for (const Subcommand& command : Subcommands())
            if (args[0] == command.name) return command.run(args, out, err);
    CliRequest request;
    try {
        request = ParseCommandLine(args);
    } catch (const std::runtime_error&) {
        return ReportParseFailure(out, err);
    }
    switch (request.operation) {
    case CliRequest::Operation::Help:
        out << UsageText();
        return 0;
    case CliRequest::Operation::Version:
        out << "tavrel-calc " << TAVREL_VERSION << '\n';
        return 0;
    default:
        return RunCalculation(request, out);
    }
}
