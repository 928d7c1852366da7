// The operations through which a line model reads its inputs from a window and
// shows its results, warnings and errors.  All values are SI: metres, hertz,
// ohms, siemens per metre, degrees, degrees per metre, decibels per metre.
// The Qt window implements it, and so does the headless Worksheet.
#pragma once

#include <string>

#include "core/lineinputs.h"
#include "core/settingsstore.h"

class WindowServices {
  public:
    virtual ~WindowServices() = default;

    // Parameter rows, 1-based.  Rows outside 1..ParameterRowLimit(): RowValue
    // returns 123456789, RowUnit 0, RowLabel "Out of Range", writes do nothing.
    virtual int ParameterRowLimit() const { return 6; }
    virtual double RowValue(int row) = 0;
    virtual void SetRowValue(int row, double metres) = 0;
    virtual int RowUnit(int row) = 0;
    virtual void SetRowUnit(int row, int unitIndex) = 0; // index outside 0..5 becomes 0
    virtual std::string RowLabel(int row) = 0;
    virtual void SetRowLabel(const std::string& text, int row) = 0;
    virtual void SetRowCount(int count) = 0; // shows rows 1..count, hides the others

    virtual double FrequencyValue() = 0;
    virtual double PhysicalLengthValue() = 0;
    virtual void SetPhysicalLengthValue(double metres) = 0;
    virtual int PhysicalLengthUnit() = 0;
    virtual void SelectPhysicalLengthUnit(int unitIndex) = 0; // index outside 0..5 becomes 0
    virtual double ElectricalLengthValue() = 0;               // degrees
    virtual void SetElectricalLengthValue(double degrees) = 0;
    virtual double ImpedanceValue() = 0; // the synthesis target
    virtual void SetImpedanceValue(double ohms) = 0;
    virtual void SetEffDielConstValue(double value) = 0;
    virtual void SetLossValue(double decibelsPerMetre) = 0; // re-enables a blanked loss
    virtual void BlankLoss() = 0;
    virtual void SetPhaseConstantValue(double degreesPerMetre) = 0;
    virtual double DielConstantValue() = 0;
    virtual double LossTangentValue() = 0;
    virtual double ConductivityValue() = 0; // S/m
    // Conductor roughness and the dielectric's frequency model; a window
    // without them offers a smooth conductor and a constant dielectric.
    virtual MaterialOptions MaterialOptionsValue() { return {}; }
    // Solder mask and cover of a line that takes them; a window without them
    // offers neither.
    virtual Coating CoatingValue() { return {}; }

    virtual int ModeIndex() = 0;
    virtual void SetModeIndex(int mode) = 0; // 0 even, 1 odd, anything else: no modes

    virtual void SetCaption(const std::string& caption) = 0;

    // Warning list: AddWarningLine numbers the lines "Warning #n -> text".
    virtual void ClearWarningTree() = 0;
    virtual void AddWarningLine(const std::string& text) = 0;
    virtual void UpdateWarningTree() = 0;
    // A line listed after the warnings, unnumbered (a waveguide's modes); a
    // window without a list ignores it, and says so with ListsNotes (its
    // notes are then not even written).
    virtual void AddNoteLine(const std::string& /*text*/) {}
    virtual bool ListsNotes() const { return true; }

    virtual void ReportError(const std::string& text) = 0;
    virtual void ShowBusyCursor() = 0;
    virtual void ShowNormalCursor() = 0;
    virtual void Refresh() = 0;

    virtual SettingsStore& Settings() = 0;
};

// "Warning #" + n + " -> " + text, the form of every warning line.
std::string WarningLine(int number, const std::string& text);
