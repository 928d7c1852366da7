// The one calculation path: every slot of every line type, run from the
// line's descriptor and its pure kernels.  An action reads its inputs once,
// computes with the kernels and shows the results once.
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/calculation.h"
#include "core/linecal.h"
#include "core/lineconstants.h"
#include "core/materialmodels.h"
#include "core/solver.h"
#include "core/synthesisroot.h"
#include "numeric/constants.h"
#include "numeric/fpfault.h"
#include "quantities/numberformat.h"

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

// "TE10: f_c = 6.55722 GHz, propagates", a line of a waveguide's mode list.
std::string ModeLine(const GuideMode& mode) {
    std::string line = mode.name;
    line += ": f_c = ";
    line += FormatG(mode.cutoff * 1e-9);
    line += mode.propagates ? " GHz, propagates" : " GHz, cut off";
    return line;
}

bool Contains(const std::vector<int>& codes, int code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

} // namespace

double ObjectiveChecked(const LineDescriptor& line, const InputsAtFrequency& in, double x) {
    ClearFloatingPointFaults();
    double z;
    if (line.impedance != nullptr) {
        z = line.impedance(in, x);
    } else { // the impedance as shown, from the line constants
        LineResult r = line.evaluate(in, x);
        ApplyLineConstants(line, in, x, r);
        z = r.impedance;
    }
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
    // Rows 1..rowCount are within the window's limit (the constructor's
    // check): read without GetParameter's range test.
    for (int i = 1; i <= rowCount; ++i)
        in.rows[static_cast<std::size_t>(i - 1)] = window.RowValue(i);
    in.er = GetDielectricConstant();
    // A line without loss computes nothing from them, yet shows the tand in
    // effect and the metal's skin depth; an unused conductivity of 0 must not
    // stop its calculation (no conduction: an unbounded skin depth).
    in.tand = GetLossTangent();
    if (line_.readsLossInputs) {
        in.rho = GetRelativeResistivity();
    } else {
        const double sigma = window.ConductivityValue();
        in.rho = sigma > 0.0 ? 1.0 / (sigma * constants::kGoldResistivity)
                             : std::numeric_limits<double>::infinity();
    }
    in.f = GetFrequency();
    in.targetImpedance = GetTargetImpedance();
    if (line_.coupled) in.mode = GetCoupledMode();
    if (line_.coated) in.coating = window.CoatingValue();
    return in;
}

void LineModel::LoadAndSetup() {
    ShowParameterRows();
    SetTitle(line_.title);
    ShowCaption();
    for (int i = 1; i <= rowCount; ++i)
        SetParameterLabel(line_.rowLabels[static_cast<std::size_t>(i - 1)], i);
    for (int i = 1; i <= rowCount; ++i)
        SetParameter(line_.rowDefaults[static_cast<std::size_t>(i - 1)], i);
    // The tab's own layout before any stored value: one the window cannot
    // show raises, and must not leave the last tab's buttons behind.
    SetCoupledMode(line_.coupled ? 0 : -1);
    LoadSettingsSection();
    RefreshWindow();
}

void LineModel::SaveSettings() {
    SaveSettingsSection();
}

void LineModel::CheckParameters() {
    const LineInputs in = ReadInputs();
    const LineAnswer answer = CalculateLine(line_, in, in.Row(1));
    ListWarningsRaisingFailure(answer);
    ShowWarnings();
}

void LineModel::ListWarningsRaisingFailure(const LineAnswer& answer) {
    // A hard limit met before any warning leaves the list as it was; one met
    // after some (the slotline's Er limit) leaves those listed, not shown.
    if (answer.Ok() || !answer.warnings.empty()) {
        ClearWarnings();
        for (const std::string& text : answer.warnings)
            AddWarning(text);
        if (answer.Ok() && line_.modes != nullptr && window.ListsNotes())
            for (const GuideMode& mode : line_.modes(answer.inputs))
                window.AddNoteLine(ModeLine(mode));
    }
    if (!answer.Ok()) std::rethrow_exception(answer.failure);
}

void LineModel::ShowResults(const LineAnswer& answer) {
    ShowImpedance();
    ShowEffectiveDielectricConstant();
    if (line_.lossShown)
        ShowLoss();
    else
        HideLoss();
    // The step's phase constant of this eeff at the inputs' frequency, not
    // computed a second time.
    ShowPhaseConstantValue(answer.phaseConstant);
}

void LineModel::Analyze() {
    BusyScope busy(*this);
    try {
        const LineInputs in = ReadInputs();
        const LineAnswer answer = CalculateLine(line_, in, in.Row(1));
        ListWarningsRaisingFailure(answer);
        KeepResult(answer.result);
        ShowResults(answer);
        ShowElectricalLength();
        ShowWarnings();
    } catch (...) {
        ReportAnalyzeError();
    }
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
        const LineCalculation calculation(line_, ReadInputs());
        const InputsAtFrequency& in = calculation.Inputs();
        if (!rule.stopCodes.empty()) {
            try {
                calculation.Objective(IntervalOf(rule, in).first);
            } catch (const TP_Exceptions& e) {
                if (e.hasCode() && Contains(rule.stopCodes, e.code())) {
                    ReportError(e.text());
                    return;
                }
            } catch (const std::runtime_error&) {
                // Left to the scan, which steps inward past it.
            }
        }
        const double root = SynthesisRoot(calculation);
        // A root of the objective, not a pole the scan bracketed.
        const double miss = calculation.Objective(root);
        if (!(std::fabs(miss) <= kSynthesisMatch * std::fabs(in.targetImpedance))) {
            ReportError(miss > 0.0 ? rule.aboveTarget : rule.belowTarget);
            return;
        }
        // The values at the root; the check sees row 1 as the window shows it.
        SetParameter(root, 1);
        for (int row : rule.scaledRows)
            SetParameter(in.Row(row) * (root / in.Row(1)), row);
        const LineAnswer answer =
            rule.scaledRows.empty()
                ? calculation.Answer(root, GetParameter(1))
                : LineCalculation(line_, ReadInputs()).Answer(root, GetParameter(1));
        ListWarningsRaisingFailure(answer);
        KeepResult(answer.result);
        ShowResults(answer);
        ShowPhysicalLength();
        ShowWarnings();
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
    // A value the window cannot show keeps its default and costs only its
    // own key, as in a save; the first error is raised once all are read.
    SectionWriter load;
    if (settings.ReadInteger("Phys Length Unit", unit)) SetPhysicalLengthUnit(unit);
    if (settings.ReadDouble("Length", value)) load([&] { SetPhysicalLength(value); });
    int row = 1;
    for (const char* key : line_.settings.rowKeys) {
        if (settings.ReadInteger(UnitKey(key), unit)) SetParameterUnit(row, unit);
        if (settings.ReadDouble(key, value)) load([&] { SetParameter(value, row); });
        ++row;
    }
    load.Finish();
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
