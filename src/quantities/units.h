// Display units of the window.  A unit's factor is the number of display units
// per SI unit: shown value = SI value x factor, SI value = shown value / factor.
// Angles and phase constants use degrees as their base unit, not radians.
#pragma once

#include <string>
#include <vector>

struct UnitEntry {
    std::string name;
    double factor;
};

class UnitTable {
  public:
    UnitTable() = default;
    explicit UnitTable(std::vector<UnitEntry> entries) : entries_(std::move(entries)) {}

    int Size() const { return static_cast<int>(entries_.size()); }
    bool Contains(int index) const { return index >= 0 && index < Size(); }
    // The index itself when it names an entry, else 0: a damaged settings
    // file must never make a conversion use a factor that does not exist.
    int ValidIndex(int index) const { return Contains(index) ? index : 0; }
    const std::string& Name(int index) const {
        return entries_.at(static_cast<std::size_t>(ValidIndex(index))).name;
    }
    double Factor(int index) const {
        return entries_.at(static_cast<std::size_t>(ValidIndex(index))).factor;
    }
    std::vector<std::string> Names() const;
    const std::vector<UnitEntry>& Entries() const { return entries_; }

  private:
    std::vector<UnitEntry> entries_;
};

// um, mm, cm, m, mil, inch (per metre).
UnitTable LengthUnits();
// Hz, KHz, MHz, GHz (per hertz).
UnitTable FrequencyUnits();
// deg, rad (per degree).
UnitTable AngleUnits();
// "S/" + each length unit; factor 1 / length factor (per S/m).
UnitTable ConductivityUnits();
// "dB/" + each length unit; factor 1 / length factor (per dB/m).
UnitTable LossUnits();
// angle-major: deg/um .. deg/inch, rad/um .. rad/inch (per deg/m).
UnitTable PhaseConstantUnits();
// "Ohms", never scaled.
UnitTable ImpedanceUnits();

// Every table the window converts with, built once when the window is created.
struct UnitTables {
    UnitTable length = LengthUnits();
    UnitTable frequency = FrequencyUnits();
    UnitTable angle = AngleUnits();
    UnitTable conductivity = ConductivityUnits();
    UnitTable loss = LossUnits();
    UnitTable phaseConstant = PhaseConstantUnits();
    UnitTable impedance = ImpedanceUnits();
};
