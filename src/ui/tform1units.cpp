// Units and number format of the window: reading and writing edits, the
// typed getters and setters in SI units, parameter rows, unit lists and the
// unit-change handlers.
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <cmath>
#include <stdexcept>

#include "models/linetypes.h"
#include "quantities/numberformat.h"
#include "ui/tform1.h"

double TForm1::ReadNumber(const QLineEdit* control) const {
    const QString text = control != nullptr ? control->text() : QString();
    if (const auto value = ParseWholeNumber(text.toStdString())) return *value;
    // The user's own decimal separator (and blanks around the number).
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    if (ok && std::isfinite(value)) return value;
    throw ConversionError(text.toStdString());
}

void TForm1::WriteNumber(QLineEdit* control, double x) {
    // Nothing that is not a number may reach the screen.
    if (!std::isfinite(x)) throw std::range_error("The result is not a finite number");
    control->setText(QString::fromStdString(FormatG(x)));
}

double TForm1::ReadScaled(const QLineEdit* control, int unitIndex, const UnitTable& table) const {
    return ReadNumber(control) / table.Factor(unitIndex);
}

void TForm1::WriteScaled(QLineEdit* control, int unitIndex, const UnitTable& table, double x) {
    const double shown = x * table.Factor(unitIndex);
    if (std::isfinite(x) && !std::isfinite(shown))
        throw std::range_error("The value " + FormatG(x) + " is too large to be shown in " +
                               table.Name(unitIndex));
    WriteNumber(control, shown);
}

void TForm1::ApplyUnitChange(QLineEdit* control, int& unitIndexField, QComboBox* list,
                             const UnitTable& table, double x) {
    const int index = table.ValidIndex(list->currentIndex());
    const double shown = x * table.Factor(index);
    // Checked before the index is stored, so a failure changes nothing.
    if (!std::isfinite(shown))
        throw std::range_error("'" + control->text().toStdString() +
                               "' is too large to be shown in " + table.Name(index));
    unitIndexField = index;
    WriteNumber(control, shown);
}

void TForm1::FillList(QComboBox* list, const UnitTable& table, int index) {
    const QSignalBlocker quiet(list);
    list->clear();
    for (const std::string& name : table.Names())
        list->addItem(QString::fromStdString(name));
    list->setCurrentIndex(table.ValidIndex(index));
}

// --- Typed getters and setters ----------------------------------------------

double TForm1::FrequencyValue() {
    return ReadScaled(FrequencyEdit, frequencyUnit, units_.frequency);
}
void TForm1::SetFrequencyValue(double hertz) {
    WriteScaled(FrequencyEdit, frequencyUnit, units_.frequency, hertz);
}

double TForm1::PhysicalLengthValue() {
    return ReadScaled(PhysicalLengthEdit, physicalLengthUnit, units_.length);
}
void TForm1::SetPhysicalLengthValue(double metres) {
    WriteScaled(PhysicalLengthEdit, physicalLengthUnit, units_.length, metres);
}

void TForm1::SelectPhysicalLengthUnit(int unitIndex) {
    physicalLengthUnit = units_.length.ValidIndex(unitIndex);
    FillLengthUnits(PhysicalLengthUnitBox, physicalLengthUnit);
}

double TForm1::DielConstantValue() {
    return ReadNumber(DielConstantEdit);
}
void TForm1::SetDielConstantValue(double value) {
    WriteNumber(DielConstantEdit, value);
}

double TForm1::ConductivityValue() {
    return ReadScaled(ConductivityEdit, conductivityUnit, units_.conductivity);
}
void TForm1::SetConductivityValue(double siemensPerMetre) {
    WriteScaled(ConductivityEdit, conductivityUnit, units_.conductivity, siemensPerMetre);
}

double TForm1::LossTangentValue() {
    return ReadNumber(LossTangentEdit);
}
void TForm1::SetLossTangentValue(double value) {
    WriteNumber(LossTangentEdit, value);
}

double TForm1::ElectricalLengthValue() {
    return ReadScaled(ElectricalLengthEdit, electricalLengthUnit, units_.angle);
}
void TForm1::SetElectricalLengthValue(double degrees) {
    WriteScaled(ElectricalLengthEdit, electricalLengthUnit, units_.angle, degrees);
}

double TForm1::ImpedanceValue() {
    return ReadNumber(ImpedanceEdit);
}
void TForm1::SetImpedanceValue(double ohms) {
    WriteNumber(ImpedanceEdit, ohms);
}

double TForm1::PhaseConstantValue() {
    return ReadScaled(PropConstantEdit, phaseConstantUnit, units_.phaseConstant);
}
void TForm1::SetPhaseConstantValue(double degreesPerMetre) {
    WriteScaled(PropConstantEdit, phaseConstantUnit, units_.phaseConstant, degreesPerMetre);
}

void TForm1::SetEffDielConstValue(double value) {
    WriteNumber(EffDielConstEdit, value);
}

double TForm1::LossValue() {
    return ReadScaled(LossEdit, lossUnit, units_.loss);
}
void TForm1::SetLossValue(double decibelsPerMetre) {
    if (!LossEdit->isEnabled()) {
        LossEdit->setEnabled(true);
        LossUnitBox->setEnabled(true);
    }
    WriteScaled(LossEdit, lossUnit, units_.loss, decibelsPerMetre);
}

void TForm1::BlankLoss() {
    LossEdit->setEnabled(false);
    LossUnitBox->setEnabled(false);
    LossEdit->setText(QString());
}

// --- Parameter rows ----------------------------------------------------------

double TForm1::RowValue(int row) {
    if (!ValidRow(row)) return LineModel::kOutOfRangeParameter;
    const auto k = static_cast<std::size_t>(row - 1);
    return ReadScaled(ParameterEdits[k], rowUnit[k], rowFactors[k]);
}

void TForm1::SetRowValue(int row, double metres) {
    if (!ValidRow(row)) return;
    const auto k = static_cast<std::size_t>(row - 1);
    WriteScaled(ParameterEdits[k], rowUnit[k], rowFactors[k], metres);
}

int TForm1::RowUnit(int row) {
    return ValidRow(row) ? rowUnit[static_cast<std::size_t>(row - 1)] : 0;
}

UnitTable TForm1::RowUnitsOfLine(int row) const {
    const LineType* type = LineTypeForTab(CurrentTab());
    const char* fixed =
        type != nullptr && row <= type->RowCount() ? type->FixedRowUnit(row) : nullptr;
    return fixed != nullptr ? UnitTable({{fixed, 1.0}}) : units_.length;
}

void TForm1::SetRowUnit(int row, int unitIndex) {
    if (!ValidRow(row)) return;
    const auto k = static_cast<std::size_t>(row - 1);
    rowFactors[k] = RowUnitsOfLine(row);
    rowUnit[k] = rowFactors[k].ValidIndex(unitIndex);
    FillList(ParameterBoxes[k], rowFactors[k], rowUnit[k]);
}

void TForm1::MatchRowUnitsToLine(int count) {
    for (int row = 1; row <= count; ++row) {
        const auto k = static_cast<std::size_t>(row - 1);
        // A row that held a number on the last tab takes row 1's length unit.
        if (RowUnitsOfLine(row).Names() != rowFactors[k].Names())
            SetRowUnit(row, row > 1 ? rowUnit[0] : 0);
    }
}

void TForm1::SetRowUnits(int count, int unitIndex) {
    if (count < 1 || count > kRows) return;
    for (int row = 1; row <= count; ++row)
        SetRowUnit(row, unitIndex);
}

void TForm1::InitRows(int count, int unitIndex, double metres) {
    SetRowUnits(count, unitIndex);
    if (count < 1 || count > kRows) return;
    for (int row = 1; row <= count; ++row)
        SetRowValue(row, metres);
}

// --- Unit-change handlers -----------------------------------------------------

namespace {

// A failed unit change puts the list back on the unit the number is in.
template <class Change>
void ChangeOrRestore(QComboBox* list, const int& storedIndex, Change change) {
    try {
        change();
    } catch (...) {
        const QSignalBlocker quiet(list);
        list->setCurrentIndex(storedIndex);
        throw;
    }
}

} // namespace

void TForm1::PhysicalLengthUnitBoxChange() {
    Guarded([this] {
        ChangeOrRestore(PhysicalLengthUnitBox, physicalLengthUnit, [this] {
            ApplyUnitChange(PhysicalLengthEdit, physicalLengthUnit, PhysicalLengthUnitBox,
                            units_.length, PhysicalLengthValue());
        });
    });
}

void TForm1::FrequencyUnitBoxChange() {
    Guarded([this] {
        ChangeOrRestore(FrequencyUnitBox, frequencyUnit, [this] {
            ApplyUnitChange(FrequencyEdit, frequencyUnit, FrequencyUnitBox, units_.frequency,
                            FrequencyValue());
        });
    });
}

void TForm1::ElectricalLengthUnitBoxChange() {
    Guarded([this] {
        ChangeOrRestore(ElectricalLengthUnitBox, electricalLengthUnit, [this] {
            ApplyUnitChange(ElectricalLengthEdit, electricalLengthUnit, ElectricalLengthUnitBox,
                            units_.angle, ElectricalLengthValue());
        });
    });
}

void TForm1::ConductivityUnitBoxChange() {
    Guarded([this] {
        ChangeOrRestore(ConductivityUnitBox, conductivityUnit, [this] {
            ApplyUnitChange(ConductivityEdit, conductivityUnit, ConductivityUnitBox,
                            units_.conductivity, ConductivityValue());
        });
    });
}

void TForm1::LossUnitBoxChange() {
    Guarded([this] {
        ChangeOrRestore(LossUnitBox, lossUnit, [this] {
            ApplyUnitChange(LossEdit, lossUnit, LossUnitBox, units_.loss, LossValue());
        });
        ShowLossParts(lossPartsShown_);
    });
}

void TForm1::PropConstantUnitBoxChange() {
    Guarded([this] {
        ChangeOrRestore(PropConstantUnitBox, phaseConstantUnit, [this] {
            ApplyUnitChange(PropConstantEdit, phaseConstantUnit, PropConstantUnitBox,
                            units_.phaseConstant, PhaseConstantValue());
        });
    });
}

void TForm1::ParameterBoxChange(int row) {
    if (!ValidRow(row)) return;
    const auto k = static_cast<std::size_t>(row - 1);
    QComboBox* list = ParameterBoxes[k];
    Guarded([this, list, row, k] {
        ChangeOrRestore(list, rowUnit[k], [this, list, row, k] {
            ApplyUnitChange(ParameterEdits[k], rowUnit[k], list, rowFactors[k], RowValue(row));
        });
    });
}
