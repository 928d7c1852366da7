#include "cli/calcrun.h"

#include <cmath>
#include <exception>
#include <memory>
#include <ostream>

#include <nlohmann/json.hpp>

#include "cli/subcommands.h"
#include "core/lossparts.h"
#include "core/widebanddielectric.h"
#include "core/worksheet.h"
#include "numeric/constants.h"

namespace {

using nlohmann::ordered_json;

void Apply(Worksheet& sheet, const LineType& line, const std::string& key, double value) {
    for (std::size_t row = 0; row < line.dimensionKeys.size(); ++row) {
        if (key == line.dimensionKeys[row]) {
            sheet.SetRowValue(static_cast<int>(row) + 1, value);
            return;
        }
    }
    for (const CommonKey& common : CommonKeys())
        if (key == common.key) sheet.*common.value = value;
}

ordered_json Dimensions(Worksheet& sheet, const LineType& line) {
    ordered_json dims = ordered_json::object();
    for (std::size_t row = 0; row < line.dimensionKeys.size(); ++row)
        dims[line.dimensionKeys[row]] = sheet.RowValue(static_cast<int>(row) + 1);
    return dims;
}

ordered_json Inputs(Worksheet& sheet, const LineType& line) {
    ordered_json inputs = Dimensions(sheet, line);
    for (const CommonKey& common : CommonKeys())
        inputs[common.key] = sheet.*common.value;
    inputs["rough_model"] = RoughnessModelKeyword(sheet.roughModel);
    inputs["dk_model"] = DielectricModelKeyword(sheet.dkModel);
    return inputs;
}

int Fail(std::ostream& out, const std::string& text) {
    out << ordered_json{{"error", text}}.dump() << '\n';
    return 1;
}

} // namespace

int RunCalculation(const CliRequest& request, std::ostream& out) {
    const LineType& line = *request.line;
    const bool synthesize = request.operation == CliRequest::Operation::Synthesize;
    try {
        Worksheet sheet;
        const std::unique_ptr<LineModel> model = CreateLineModel(line, sheet);
        model->LoadAndSetup();
        for (const auto& [key, value] : request.values)
            Apply(sheet, line, key, value);
        if (request.mode) sheet.SetModeIndex(*request.mode);
        if (request.roughModel) sheet.roughModel = *request.roughModel;
        if (request.dkModel) sheet.dkModel = *request.dkModel;

        ordered_json result;
        result["line"] = line.cliName;
        result["operation"] = synthesize ? "synthesize" : "analyze";
        if (line.coupled) result["mode"] = sheet.ModeIndex() == 1 ? "odd" : "even";
        result["inputs"] = Inputs(sheet, line);

        if (synthesize)
            model->Synthesize();
        else
            model->Analyze();
        if (!sheet.errors.empty()) return Fail(out, sheet.errors.front());

        result["dimensions"] = Dimensions(sheet, line);
        result["impedance_ohm"] = sheet.impedance;
        result["eeff"] = sheet.effDielConst;
        result["loss_db_per_m"] =
            sheet.lossBlank ? ordered_json(nullptr) : ordered_json(sheet.lossDecibels);
        const LineResult& shown = model->LastResult();
        const auto decibels = [&](double nepers) {
            return sheet.lossBlank ? ordered_json(nullptr)
                                   : ordered_json(nepers * constants::kNepersToDecibels);
        };
        result["loss_conductor_db_per_m"] = decibels(shown.conductorLoss);
        result["loss_dielectric_db_per_m"] = decibels(shown.dielectricLoss);
        const LineInputs read = model->ReadInputs();
        const LineInputs atFrequency = AtFrequency(read);
        result["er_at_f"] = atFrequency.er; // differ from Er, tand under the wideband model
        result["tand_at_f"] = atFrequency.tand;
        const double skinDepth = SkinDepth(read);
        result["skin_depth_m"] =
            std::isfinite(skinDepth) ? ordered_json(skinDepth) : ordered_json(nullptr);
        result["phase_constant_deg_per_m"] = sheet.phaseConstant;
        result["electrical_length_deg"] = sheet.electricalLength;
        result["physical_length_m"] = sheet.physicalLength;
        result["warnings"] = sheet.warnings;
        out << result.dump(2) << '\n';
        return 0;
    } catch (...) {
        return Fail(out, CurrentErrorText("Unknown calculation error"));
    }
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty())
        for (const Subcommand& command : Subcommands())
            if (args[0] == command.name) return command.run(args, out, err);
    CliRequest request;
    try {
        request = ParseCommandLine(args);
    } catch (const UsageError& e) {
        err << "tavrel-calc: " << e.what() << "\n\n" << UsageText();
        return 2;
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
