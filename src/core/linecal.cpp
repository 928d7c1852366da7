// The base operations of LineModel: each forwards to the window service of
// the same name, converting and fault-checking where it divides or takes a
// root.
#include "core/linecal.h"

#include <charconv>
#include <cmath>

#include "core/calculation.h"
#include "numeric/fpfault.h"

std::string WarningLine(int number, const std::string& text) {
    char digits[16];
    const char* end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    std::string line; // built in place: one allocation, not one per part
    line.reserve(16 + text.size());
    line += "Warning #";
    line.append(digits, static_cast<std::size_t>(end - digits));
    line += " -> ";
    line += text;
    return line;
}

namespace {

// A factor whose product with another such one is finite and raises no
// fault.
bool Moderate(double x) {
    return std::fabs(x) <= 1e150;
}

} // namespace

LineModel::LineModel(WindowServices& windowServices, const LineDescriptor& line)
    : line_(line), window(windowServices), rowCount(line.RowCount()) {
    if (rowCount < 1 || rowCount > GetMaxParameterRows())
        throw TP_Exceptions("Line model needs 1 to 6 parameter rows");
    for (int k = 0; k < rowCount; ++k)
        labels.push_back("Label " + std::to_string(k));
    if (line.prepare != nullptr) line.prepare();
}

void LineModel::KeepResult(const LineResult& result) {
    lastResult_ = result;
    impedance = result.impedance;
    effDielConst = result.eeff;
    loss = result.loss;
}

int LineModel::GetMaxParameterRows() const {
    return window.ParameterRowLimit();
}

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
    labels[static_cast<std::size_t>(i - 1)] = text;
    window.SetRowLabel(text, i);
}

void LineModel::ShowParameterRows() {
    window.SetRowCount(rowCount);
}

void LineModel::SetPhysicalLength(double x) {
    window.SetPhysicalLengthValue(x);
}
int LineModel::GetPhysicalLengthUnit() {
    return window.PhysicalLengthUnit();
}
void LineModel::SetPhysicalLengthUnit(int unit) {
    window.SelectPhysicalLengthUnit(unit);
}
double LineModel::GetRelativeResistivity() {
    const double sigma = window.ConductivityValue();
    // Gold's resistivity is a few 1e-8: a sigma within [1e-140, 1e140]
    // keeps the divisor moderate.
    const bool moderate = std::fabs(sigma) >= 1e-140 && std::fabs(sigma) <= 1e140;
    return FaultTrappedFinite(moderate, [&] { return 1.0 / (sigma * kGoldResistivity); });
}

void LineModel::SetCoupledMode(int mode) {
    window.SetModeIndex(mode);
}

void LineModel::ShowEffectiveDielectricConstant() {
    RequireFinite(effDielConst);
    window.SetEffDielConstValue(effDielConst);
}
void LineModel::ShowLoss() {
    window.SetLossValue(
        FaultTrappedFinite(Moderate(loss), [&] { return loss * kNepersToDecibels; }));
}

void LineModel::ShowPhaseConstant() {
    ShowPhaseConstantValue(PhaseConstantOf(GetFrequency(), effDielConst));
}

void LineModel::ShowPhaseConstantValue(double degreesPerMetre) {
    phaseConstant = degreesPerMetre;
    window.SetPhaseConstantValue(phaseConstant);
}

void LineModel::ShowElectricalLength() {
    const double length = GetPhysicalLength();
    window.SetElectricalLengthValue(FaultTrappedFinite(Moderate(length) && Moderate(phaseConstant),
                                                       [&] { return length * phaseConstant; }));
}

void LineModel::ShowPhysicalLength() {
    const double degrees = window.ElectricalLengthValue();
    window.SetPhysicalLengthValue(FaultTrappedFinite([&] { return degrees / phaseConstant; }));
}

void LineModel::SetTitle(const std::string& text) {
    title = text;
}
void LineModel::ShowCaption() {
    window.SetCaption("TAVREL 2003 - " + title);
}
void LineModel::ReportError(const std::string& text) {
    window.ReportError(text);
}
void LineModel::RefreshWindow() {
    window.Refresh();
}
