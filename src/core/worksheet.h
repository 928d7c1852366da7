// A window without a toolkit: holds every quantity a line model reads or shows
// as an SI double, records warnings, the caption, the mode and every error box.
// The command line and the tests drive the line models through it.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "core/windowservices.h"

// Settings kept in memory, section by section (names matched exactly).
class MemorySettings : public SettingsStore {
  public:
    void SelectSection(const std::string& section) override { section_ = section; }
    bool ReadInteger(const std::string& key, int& out) override;
    bool ReadDouble(const std::string& key, double& out) override;
    bool WriteInteger(const std::string& key, int value) override;
    bool WriteDouble(const std::string& key, double value) override;

    // Every key written so far, section by section, in first-write order.
    struct Entry {
        std::string key;
        double value;
    };
    const std::map<std::string, std::vector<Entry>>& Sections() const { return sections_; }
    void Set(const std::string& section, const std::string& key, double value);

  private:
    const Entry* Find(const std::string& key) const;

    std::string section_;
    std::map<std::string, std::vector<Entry>> sections_;
};

// The material options (rough, fRef, ...) and the coating (tm, hc, ...) are
// its own fields as well.
class Worksheet : public WindowServices, public MaterialOptions, public Coating {
  public:
    static constexpr int kRows = 6;

    // Starts with the values the window shows on a first start.
    Worksheet();

    // WindowServices
    double RowValue(int row) override;
    void SetRowValue(int row, double metres) override;
    int RowUnit(int row) override;
    void SetRowUnit(int row, int unitIndex) override;
    std::string RowLabel(int row) override;
    void SetRowLabel(const std::string& text, int row) override;
    void SetRowCount(int count) override;
    double FrequencyValue() override { return frequency; }
    double PhysicalLengthValue() override { return physicalLength; }
    void SetPhysicalLengthValue(double metres) override { physicalLength = metres; }
    int PhysicalLengthUnit() override { return physicalLengthUnit; }
    void SelectPhysicalLengthUnit(int unitIndex) override;
    double ElectricalLengthValue() override { return electricalLength; }
    void SetElectricalLengthValue(double degrees) override { electricalLength = degrees; }
    double ImpedanceValue() override { return impedance; }
    void SetImpedanceValue(double ohms) override { impedance = ohms; }
    void SetEffDielConstValue(double value) override { effDielConst = value; }
    void SetLossValue(double decibelsPerMetre) override;
    void BlankLoss() override;
    void SetPhaseConstantValue(double degreesPerMetre) override { phaseConstant = degreesPerMetre; }
    double DielConstantValue() override { return dielConstant; }
    double LossTangentValue() override { return lossTangent; }
    double ConductivityValue() override { return conductivity; }
    MaterialOptions MaterialOptionsValue() override { return *this; }
    Coating CoatingValue() override { return *this; }
    int ModeIndex() override { return modeIndex; }
    void SetModeIndex(int mode) override { modeIndex = mode; }
    void SetCaption(const std::string& text) override { caption = text; }
    void ClearWarningTree() override { warnings.clear(); }
    void AddWarningLine(const std::string& text) override;
    void UpdateWarningTree() override { warningsVisible = !warnings.empty(); }
    bool ListsNotes() const override { return false; }
    void ReportError(const std::string& text) override { errors.push_back(text); }
    void ShowBusyCursor() override { ++busyDepth; }
    void ShowNormalCursor() override { --busyDepth; }
    void Refresh() override {}
    SettingsStore& Settings() override { return settings; }

    // The quantities, open to the caller (SI units, loss in dB/m).
    double frequency;
    double physicalLength;
    int physicalLengthUnit = 0;
    double electricalLength;
    double impedance;
    double effDielConst;
    double lossDecibels;
    bool lossBlank = false;
    double phaseConstant;
    double dielConstant;
    double lossTangent;
    double conductivity;
    int modeIndex = 1;
    int rowCount = kRows;
    std::array<double, kRows> rowValues{};
    std::array<int, kRows> rowUnits{};
    std::array<std::string, kRows> rowLabels;
    std::string caption = "TAVREL 2001";
    std::vector<std::string> warnings; // lines as the warning list shows them
    bool warningsVisible = false;
    std::vector<std::string> errors; // every error box, oldest first
    int busyDepth = 0;
    MemorySettings settings;
};
