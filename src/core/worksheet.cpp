#include "core/worksheet.h"

#include <cmath>

#include "quantities/firststart.h"

namespace {

bool ValidRow(int row) {
    return row >= 1 && row <= Worksheet::kRows;
}

int LengthUnitOrZero(int index) {
    return index >= 0 && index <= 5 ? index : 0;
}

} // namespace

const MemorySettings::Entry* MemorySettings::Find(const std::string& key) const {
    const auto section = sections_.find(section_);
    if (section == sections_.end()) return nullptr;
    for (const Entry& entry : section->second)
        if (entry.key == key) return &entry;
    return nullptr;
}

bool MemorySettings::ReadInteger(const std::string& key, int& out) {
    const Entry* entry = Find(key);
    if (entry == nullptr || std::trunc(entry->value) != entry->value) return false;
    out = static_cast<int>(entry->value);
    return true;
}

bool MemorySettings::ReadDouble(const std::string& key, double& out) {
    const Entry* entry = Find(key);
    if (entry == nullptr) return false;
    out = entry->value;
    return true;
}

bool MemorySettings::WriteInteger(const std::string& key, int value) {
    Set(section_, key, value);
    return true;
}

bool MemorySettings::WriteDouble(const std::string& key, double value) {
    Set(section_, key, value);
    return true;
}

void MemorySettings::Set(const std::string& section, const std::string& key, double value) {
    auto& entries = sections_[section];
    for (Entry& entry : entries) {
        if (entry.key == key) {
            entry.value = value;
            return;
        }
    }
    entries.push_back({key, value});
}

Worksheet::Worksheet()
    : frequency(FirstStart().frequency), physicalLength(FirstStart().physicalLength),
      electricalLength(FirstStart().electricalLength), impedance(FirstStart().impedance),
      effDielConst(FirstStart().effDielConst), lossDecibels(FirstStart().lossDecibels),
      phaseConstant(FirstStart().phaseConstant), dielConstant(FirstStart().dielConstant),
      lossTangent(FirstStart().lossTangent), conductivity(FirstStart().conductivity) {
    rowValues.fill(FirstStart().rowValue);
    for (int row = 1; row <= kRows; ++row)
        rowLabels[row - 1] = "Parameter " + std::to_string(row) + " (P)";
}

double Worksheet::RowValue(int row) {
    return ValidRow(row) ? rowValues[row - 1] : 123456789.0;
}

void Worksheet::SetRowValue(int row, double metres) {
    if (ValidRow(row)) rowValues[row - 1] = metres;
}

int Worksheet::RowUnit(int row) {
    return ValidRow(row) ? rowUnits[row - 1] : 0;
}

void Worksheet::SetRowUnit(int row, int unitIndex) {
    if (ValidRow(row)) rowUnits[row - 1] = LengthUnitOrZero(unitIndex);
}

std::string Worksheet::RowLabel(int row) {
    return ValidRow(row) ? rowLabels[row - 1] : "Out of Range";
}

void Worksheet::SetRowLabel(const std::string& text, int row) {
    if (ValidRow(row)) rowLabels[row - 1] = text;
}

void Worksheet::SetRowCount(int count) {
    if (count >= 1 && count <= kRows) rowCount = count;
}

void Worksheet::SelectPhysicalLengthUnit(int unitIndex) {
    physicalLengthUnit = LengthUnitOrZero(unitIndex);
}

void Worksheet::SetLossValue(double decibelsPerMetre) {
    lossBlank = false;
    lossDecibels = decibelsPerMetre;
}

void Worksheet::BlankLoss() {
    lossBlank = true;
    lossDecibels = 0.0;
}

void Worksheet::AddWarningLine(const std::string& text) {
    warnings.push_back(WarningLine(static_cast<int>(warnings.size()) + 1, text));
}
