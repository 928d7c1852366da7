// The one calculation path: every slot of every line type, run from the
// line's descriptor and its pure kernels.  An action reads its inputs once,
// computes with the kernels and shows the results once.
#include <algorithm>
#include <cmath>

#include "core/linecal.h"
#include "core/lossparts.h"
#include "core/materialmodels.h"
#include "core/solver.h"
#include "core/widebanddielectric.h"
#include "numeric/fpfault.h"

namespace {

std::string UnitKey(const char* valueKey) {
    std::string key = valueKey;
    while (!key.empty() && key.back() == ' ')
        key.pop_back();
    return key + " Unit";
}

// A synthesized line further from its target than this share of it is no
// solution: the scan may have bracketed a jump of a fit rather than a root.
constexpr double kSynthesisMatch = 1e-3;

const char* const kNoValidResult = "No valid result: the formulas are outside their range here";
const char* const kConductorLossLeftOut = "T = 0: conductor loss not included";

bool Contains(const std::vector<int>& codes, int code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

} // namespace

LineResult EvaluateChecked(const LineDescriptor& line, const LineInputs& in, double x) {
    ClearFloatingPointFaults();
    LineResult result = line.evaluate(in, x);
    ForceEvaluation(result);
    RaiseFloatingPointFaults();
    // Effective dielectric constant and loss are checked when shown.
    RequireFinite(result.impedance);
    return result;
}

double ObjectiveChecked(const LineDescriptor& line, const LineInputs& in, double x) {
    ClearFloatingPointFaults();
    const double z =
        line.impedance != nullptr ? line.impedance(in, x) : line.evaluate(in, x).impedance;
    double value = z - in.targetImpedance;
    ForceEvaluation(value);
    RaiseFloatingPointFaults();
    RequireFinite(value);
    RequireFinite(z);
    return value;
}

LineInputs LineModel::ReadInputs() {
    LineInputs in;
    static_cast<MaterialOptions&>(in) = window.MaterialOptionsValue();
    for (int i = 1; i <= rowCount; ++i)
        in.rows[static_cast<std::size_t>(i - 1)] = GetParameter(i);
    in.er = GetDielectricConstant();
    // A line without loss reads neither: an unused conductivity of 0 must
    // not stop its calculation.
    if (line_.readsLossInputs) {
        in.tand = GetLossTangent();
        in.rho = GetRelativeResistivity();
    } else if (in.dkModel->VariesWithFrequency()) {
        in.tand = GetLossTangent(); // the wideband model's Er(f) depends on it
    }
    in.f = GetFrequency();
    in.targetImpedance = GetTargetImpedance();
    if (line_.coupled) in.mode = GetCoupledMode();
    return in;
}

double LineModel::Objective(double x) {
    const LineInputs in = AtFrequency(ReadInputs());
    KeepResult(line_.evaluate(in, x));
    return impedance - in.targetImpedance;
}

void LineModel::LoadAndSetup() {
    ShowParameterRows();
    SetTitle(line_.title);
    ShowCaption();
    for (int i = 1; i <= rowCount; ++i)
        SetParameterLabel(line_.rowLabels[static_cast<std::size_t>(i - 1)], i);
    for (int i = 1; i <= rowCount; ++i)
        SetParameter(line_.rowDefaults[static_cast<std::size_t>(i - 1)], i);
    LoadSettingsSection();
    SetCoupledMode(line_.coupled ? 0 : -1);
    RefreshWindow();
}

void LineModel::SaveSettings() {
    SaveSettingsSection();
}

void LineModel::CheckParameters() {
    Check(AtFrequency(ReadInputs()));
}

void LineModel::Check(const LineInputs& in) {
    std::vector<std::string> warnings;
    const auto list = [&] {
        ClearWarnings();
        CheckQuarterWave(in);
        for (const std::string& text : warnings)
            AddWarning(text);
    };
    try {
        line_.check(in, warnings);
        if (line_.lossShown && in.rho > 0.0 && line_.LeavesOutConductorLoss(in))
            warnings.push_back(kConductorLossLeftOut);
    } catch (...) {
        if (!warnings.empty()) list(); // listed, never shown
        throw;
    }
    list();
    ShowWarnings();
}

void LineModel::ShowResults(double frequency) {
    ShowImpedance();
    ShowEffectiveDielectricConstant();
    if (line_.lossShown)
        ShowLoss();
    else
        HideLoss();
    ShowPhaseConstantAt(frequency);
}

void LineModel::Analyze() {
    BusyScope busy(*this);
    try {
        const LineInputs in = AtFrequency(ReadInputs());
        Check(in);
        const LineResult result = EvaluateWithLossParts(line_, in, in.Row(1));
        RequirePlausible(in, result);
        KeepResult(result);
        ShowResults(in.f);
        ShowElectricalLength();
        Check(in);
    } catch (...) {
        ReportAnalyzeError();
    }
}

void LineModel::RequirePlausible(const LineInputs& in, const LineResult& result) {
    if (line_.impossible == nullptr || !line_.impossible(in, result)) return;
    // The warnings say which formula left its range.
    Check(in);
    throw TP_Exceptions(kNoValidResult);
}

void LineModel::ReportAnalyzeError() {
    try {
        throw;
    } catch (const TP_Exceptions& e) {
        ReportError(e.text());
    } catch (const std::exception& e) {
        if (line_.analyzeShows != AnalyzeShows::EveryError) throw;
        ReportError(e.what());
    }
}

void LineModel::Synthesize() {
    if (!line_.synthesis) return; // coupled lines analyse only
    const SynthesisRule& rule = *line_.synthesis;
    BusyScope busy(*this);
    try {
        LineInputs in = AtFrequency(ReadInputs());
        const double reference = in.Row(rule.referenceRow);
        const double first = rule.first * reference;
        const double second = rule.second * reference;
        const double tolerance = rule.toleranceScales
                                     ? std::min(rule.tolerance, rule.tolerance * reference)
                                     : rule.tolerance;
        if (!rule.stopCodes.empty()) {
            try {
                ObjectiveChecked(line_, in, first);
            } catch (const TP_Exceptions& e) {
                if (e.hasCode() && Contains(rule.stopCodes, e.code())) {
                    ReportError(e.text());
                    return;
                }
            } catch (const std::runtime_error&) {
                // Left to the scan, which steps inward past it.
            }
        }
        const double root = FindRoot([&](double x) { return ObjectiveChecked(line_, in, x); },
                                     first, second, tolerance, rule.steps);
        const LineResult result = EvaluateWithLossParts(line_, in, root);
        const double miss = result.impedance - in.targetImpedance;
        if (!(std::fabs(miss) <= kSynthesisMatch * std::fabs(in.targetImpedance))) {
            ReportError(miss > 0.0 ? rule.aboveTarget : rule.belowTarget);
            return;
        }
        in.rows[0] = root;
        RequirePlausible(in, result);
        SetParameter(root, 1);
        KeepResult(result);
        ShowResults(in.f);
        ShowPhysicalLength();
        // The check sees row 1 as the window now shows it.
        in.rows[0] = GetParameter(1);
        Check(in);
    } catch (const TP_Exceptions& e) {
        if (e.kind() == TP_Exceptions::Kind::Domain) throw;
        ReportSynthesisError(e);
    }
}

void LineModel::ReportSynthesisError(const TP_Exceptions& e) {
    const SynthesisRule& rule = *line_.synthesis;
    if (e.code() == TP_Exceptions::kNoSolutionCode && e.hasCode())
        ReportError(e.value() >= 0.0 ? rule.aboveTarget : rule.belowTarget);
    else
        ReportError(e.text());
}

void LineModel::LoadSettingsSection() {
    SettingsStore& settings = window.Settings();
    settings.SelectSection(line_.settings.name);
    int unit = 0;
    double value = 0.0;
    if (settings.ReadInteger("Phys Length Unit", unit)) SetPhysicalLengthUnit(unit);
    if (settings.ReadDouble("Length", value)) SetPhysicalLength(value);
    int row = 1;
    for (const char* key : line_.settings.rowKeys) {
        if (settings.ReadInteger(UnitKey(key), unit)) SetParameterUnit(row, unit);
        if (settings.ReadDouble(key, value)) SetParameter(value, row);
        ++row;
    }
}

void LineModel::SaveSettingsSection() {
    SettingsStore& settings = window.Settings();
    settings.SelectSection(line_.settings.name);
    SectionWriter write;
    write([&] { settings.WriteInteger("Phys Length Unit", GetPhysicalLengthUnit()); });
    write([&] { settings.WriteDouble("Length", GetPhysicalLength()); });
    int row = 1;
    for (const char* key : line_.settings.rowKeys) {
        write([&] { settings.WriteDouble(key, GetParameter(row)); });
        write([&] { settings.WriteInteger(UnitKey(key), GetParameterUnit(row)); });
        ++row;
    }
    write.Finish();
}
