#include "core/linecal.h"

#include <cmath>
#include <stdexcept>

#include "numeric/checkedmath.h"
#include "numeric/fpfault.h"

std::string WarningLine(int number, const std::string& text) {
    return "Warning #" + std::to_string(number) + " -> " + text;
}

namespace {

// Runs one base-operation computation as if the three faults trapped; a value
// that is not finite (from an input that already was not) is a fault as well,
// so that no window field ever shows one.
template <class F>
double FaultChecked(F compute) {
    FloatingPointScope scope;
    double value = compute();
    ForceEvaluation(value);
    RaiseFloatingPointFaults();
    RequireFinite(value);
    return value;
}

std::string UnitKey(const char* valueKey) {
    std::string key = valueKey;
    while (!key.empty() && key.back() == ' ') key.pop_back();
    return key + " Unit";
}

}  // namespace

LineModel::LineModel(WindowServices& windowServices, int rows) : window(windowServices), rowCount(rows) {
    if (rows < 1 || rows > GetMaxParameterRows())
        throw TP_Exceptions("Line model needs 1 to 6 parameter rows");
    for (int k = 0; k < rows; ++k) labels.push_back("Label " + std::to_string(k));
}

double LineModel::EvaluateObjective(double x) {
    ClearFloatingPointFaults();
    double value = Objective(x);
    ForceEvaluation(value);
    RaiseFloatingPointFaults();
    // Effective dielectric constant and loss are checked when shown: some
    // objectives leave them to be computed after the solver has finished.
    RequireFinite(value);
    RequireFinite(impedance);
    return value;
}

int LineModel::GetMaxParameterRows() const { return window.ParameterRowLimit(); }

double LineModel::GetParameter(int i) {
    if (i < 1 || i > GetMaxParameterRows()) return kOutOfRangeParameter;
    return window.RowValue(i);
}

void LineModel::SetParameter(double x, int i) {
    if (i < 1 || i > GetMaxParameterRows()) return;
    window.SetRowValue(i, x);
}

int LineModel::GetParameterUnit(int i) {
    if (i < 1 || i > GetMaxParameterRows()) return 0;
    return window.RowUnit(i);
}

void LineModel::SetParameterUnit(int i, int unit) {
    if (i < 1 || i > GetMaxParameterRows()) return;
    window.SetRowUnit(i, unit);
}

void LineModel::SetParameterLabel(const std::string& text, int i) {
    if (i < 1 || i > rowCount) return;
    labels[i - 1] = text;
    window.SetRowLabel(text, i);
}

void LineModel::ShowParameterRows() { window.SetRowCount(rowCount); }

double LineModel::GetFrequency() { return window.FrequencyValue(); }
double LineModel::GetPhysicalLength() { return window.PhysicalLengthValue(); }
void LineModel::SetPhysicalLength(double x) { window.SetPhysicalLengthValue(x); }
int LineModel::GetPhysicalLengthUnit() { return window.PhysicalLengthUnit(); }
void LineModel::SetPhysicalLengthUnit(int unit) { window.SelectPhysicalLengthUnit(unit); }
double LineModel::GetTargetImpedance() { return window.ImpedanceValue(); }
double LineModel::GetDielectricConstant() { return window.DielConstantValue(); }
double LineModel::GetLossTangent() { return window.LossTangentValue(); }

double LineModel::GetRelativeResistivity() {
    const double sigma = window.ConductivityValue();
    return FaultChecked([&] { return 1.0 / (sigma * kGoldResistivity); });
}

int LineModel::GetCoupledMode() {
    coupledMode = window.ModeIndex();
    return coupledMode;
}

void LineModel::SetCoupledMode(int mode) { window.SetModeIndex(mode); }

void LineModel::ShowImpedance() { window.SetImpedanceValue(impedance); }
void LineModel::ShowEffectiveDielectricConstant() {
    RequireFinite(effDielConst);
    window.SetEffDielConstValue(effDielConst);
}
void LineModel::ShowLoss() {
    window.SetLossValue(FaultChecked([&] { return loss * kNepersToDecibels; }));
}
void LineModel::HideLoss() { window.BlankLoss(); }

void LineModel::ShowPhaseConstant() {
    const double f = GetFrequency();
    const double root = CheckedSqrt(effDielConst);
    phaseConstant = FaultChecked([&] { return (f * 2.0 * 180.0) / (kSpeedOfLight / root); });
    window.SetPhaseConstantValue(phaseConstant);
}

void LineModel::ShowElectricalLength() {
    const double length = GetPhysicalLength();
    window.SetElectricalLengthValue(FaultChecked([&] { return length * phaseConstant; }));
}

void LineModel::ShowPhysicalLength() {
    const double degrees = window.ElectricalLengthValue();
    window.SetPhysicalLengthValue(FaultChecked([&] { return degrees / phaseConstant; }));
}

double LineModel::QuarterWavelength() {
    return FaultChecked([&] { return 90.0 / phaseConstant; });
}

void LineModel::CheckQuarterWave() {
    // Before the first phase constant exists (0), or after one so small that a
    // quarter wavelength overflows, the quarter wavelength is unbounded: no
    // row can exceed it, and a stale value never breaks the next calculation.
    if (!(phaseConstant > 0.0) || !std::isfinite(phaseConstant)) return;
    double quarter = 0.0;
    {
        FloatingPointScope scope;
        quarter = 90.0 / phaseConstant;
        ForceEvaluation(quarter);
    }
    if (!std::isfinite(quarter)) return;
    for (int i = 1; i <= rowCount; ++i) {
        if (GetParameter(i) > quarter)
            AddWarning(window.RowLabel(i) + " is GREATER than quarter-wavelength");
    }
}

void LineModel::SetTitle(const std::string& text) { title = text; }
void LineModel::ShowCaption() { window.SetCaption("TAVREL 2003 - " + title); }
void LineModel::ClearWarnings() { window.ClearWarningTree(); }
void LineModel::AddWarning(const std::string& text) { window.AddWarningLine(text); }
void LineModel::ShowWarnings() { window.UpdateWarningTree(); }
void LineModel::ReportError(const std::string& text) { window.ReportError(text); }
void LineModel::BeginBusy() { window.ShowBusyCursor(); }
void LineModel::EndBusy() { window.ShowNormalCursor(); }
void LineModel::RefreshWindow() { window.Refresh(); }

void LineModel::LoadSettingsSection(const SettingsSection& section) {
    SettingsStore& settings = window.Settings();
    settings.SelectSection(section.name);
    int unit = 0;
    double value = 0.0;
    if (settings.ReadInteger("Phys Length Unit", unit)) SetPhysicalLengthUnit(unit);
    if (settings.ReadDouble("Length", value)) SetPhysicalLength(value);
    int row = 1;
    for (const char* key : section.rowKeys) {
        if (settings.ReadInteger(UnitKey(key), unit)) SetParameterUnit(row, unit);
        if (settings.ReadDouble(key, value)) SetParameter(value, row);
        ++row;
    }
}

void LineModel::SaveSettingsSection(const SettingsSection& section) {
    SettingsStore& settings = window.Settings();
    settings.SelectSection(section.name);
    settings.WriteInteger("Phys Length Unit", GetPhysicalLengthUnit());
    settings.WriteDouble("Length", GetPhysicalLength());
    int row = 1;
    for (const char* key : section.rowKeys) {
        settings.WriteDouble(key, GetParameter(row));
        settings.WriteInteger(UnitKey(key), GetParameterUnit(row));
        ++row;
    }
}

void LineModel::ShowResults(LossOutput lossOutput) {
    ShowImpedance();
    ShowEffectiveDielectricConstant();
    if (lossOutput == LossOutput::Show)
        ShowLoss();
    else
        HideLoss();
    ShowPhaseConstant();
}

void LineModel::AnalyzeRow1(LossOutput lossOutput, ReportedErrors reported) {
    BusyScope busy(*this);
    try {
        const double x = GetParameter(1);
        CheckParameters();
        EvaluateObjective(x);
        ShowResults(lossOutput);
        ShowElectricalLength();
        CheckParameters();
    } catch (const TP_Exceptions& e) {
        ReportError(e.text());
    } catch (const PlainTextError& e) {
        ReportError(e.text);
    } catch (const std::domain_error& e) {
        if (reported == ReportedErrors::CalculationOnly) throw;
        ReportError(e.what());
    }
}

void LineModel::SynthesizeRow1(double first, double second, double tolerance, int steps,
                               const std::string& aboveTarget, const std::string& belowTarget,
                               LossOutput lossOutput) {
    BusyScope busy(*this);
    try {
        const double root = FindRoot(*this, first, second, tolerance, steps);
        SetParameter(root, 1);
        EvaluateObjective(root);
        ShowResults(lossOutput);
        ShowPhysicalLength();
        CheckParameters();
    } catch (const TP_Exceptions& e) {
        ReportSynthesisError(e, aboveTarget, belowTarget);
    }
}

void LineModel::ReportSynthesisError(const TP_Exceptions& e, const std::string& aboveTarget,
                                     const std::string& belowTarget) {
    if (e.code() == TP_Exceptions::kNoSolutionCode && e.hasCode())
        ReportError(e.value() >= 0.0 ? aboveTarget : belowTarget);
    else
        ReportError(e.text());
}
