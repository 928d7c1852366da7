#include "quantities/units.h"

namespace {

// A length unit's reciprocal, computed in double precision, gives the factor
// of the "per length" units (conductivity, loss).
UnitTable PerLengthUnits(const std::string& prefix) {
    const UnitTable lengths = LengthUnits();
    std::vector<UnitEntry> entries;
    for (const UnitEntry& length : lengths.Entries())
        entries.push_back({prefix + length.name, 1.0 / length.factor});
    return UnitTable(std::move(entries));
}

} // namespace

std::vector<std::string> UnitTable::Names() const {
    std::vector<std::string> names;
    for (const UnitEntry& entry : entries_)
        names.push_back(entry.name);
    return names;
}

UnitTable LengthUnits() {
    return UnitTable({{"um", 1000000.0},
                      {"mm", 1000.0},
                      {"cm", 100.0},
                      {"m", 1.0},
                      {"mil", 39370.07874015748},    // 1 / 0.0000254
                      {"inch", 39.37007874015748}}); // 1 / 0.0254
}

UnitTable FrequencyUnits() {
    // The kilohertz unit is spelled with a capital K throughout the window.
    return UnitTable({{"Hz", 1.0}, {"KHz", 0.001}, {"MHz", 0.000001}, {"GHz", 0.000000001}});
}

UnitTable AngleUnits() {
    return UnitTable({{"deg", 1.0}, {"rad", 0.017453292519943295}}); // pi / 180
}

UnitTable ConductivityUnits() {
    return PerLengthUnits("S/");
}

UnitTable LossUnits() {
    return PerLengthUnits("dB/");
}

UnitTable PhaseConstantUnits() {
    const UnitTable lengths = LengthUnits();
    std::vector<UnitEntry> entries;
    const UnitTable angles = AngleUnits();
    for (const UnitEntry& angle : angles.Entries())
        for (const UnitEntry& length : lengths.Entries())
            entries.push_back({angle.name + "/" + length.name, angle.factor / length.factor});
    return UnitTable(std::move(entries));
}

UnitTable ImpedanceUnits() {
    return UnitTable({{"Ohms", 1.0}});
}
