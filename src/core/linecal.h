// LineModel: the line-model front the window and the Worksheet talk to, with
// the six slots in slot order and the base operations through which a model
// reads its inputs and shows its results.  Every line type is the same class
// over its own LineDescriptor: the slots are one generic driver (linedriver.cpp)
// that reads the inputs once per action, runs the line's pure kernels and
// shows the results.  The base operations reach the window through the
// WindowServices given at construction.
#pragma once

#include <string>
#include <vector>

#include "core/linedescriptor.h"
#include "core/windowservices.h"
#include "numeric/constants.h"
#include "numeric/fpfault.h"
#include "numeric/tpexceptions.h"

struct LineAnswer;

class LineModel {
  public:
    static constexpr double kOutOfRangeParameter = 123456789.0;
    static constexpr double kNepersToDecibels = constants::kNepersToDecibels;
    static constexpr double kSpeedOfLight = constants::kSpeedOfLight;
    static constexpr double kGoldResistivity = constants::kGoldResistivity;

    // Raises TP_Exceptions unless the line has 1 to 6 rows; runs the line's
    // `prepare` (the coplanar lines load their library there).
    LineModel(WindowServices& window, const LineDescriptor& line);
    ~LineModel() = default;
    LineModel(const LineModel&) = delete;
    LineModel& operator=(const LineModel&) = delete;

    // The slots, in slot order.
    void LoadAndSetup();
    void SaveSettings();
    void Synthesize();
    void Analyze();
    void CheckParameters();

    const LineDescriptor& Line() const { return line_; }

    // Every input the line reads, read once from the window (rows, Er, tand,
    // Rho where the line uses it, f, target impedance, mode of a coupled line).
    LineInputs ReadInputs();

    // Base operations; the one-line forwards to the window are inline, as
    // every action calls a dozen of them.
    int GetMaxParameterRows() const;
    double GetParameter(int i);
    void SetParameter(double x, int i);
    int GetParameterUnit(int i);
    void SetParameterUnit(int i, int unit);
    void SetParameterLabel(const std::string& text, int i);
    void ShowParameterRows();
    double GetFrequency() { return window.FrequencyValue(); }
    double GetPhysicalLength() { return window.PhysicalLengthValue(); }
    void SetPhysicalLength(double x);
    int GetPhysicalLengthUnit();
    void SetPhysicalLengthUnit(int unit);
    double GetTargetImpedance() { return window.ImpedanceValue(); }
    double GetDielectricConstant() { return window.DielConstantValue(); }
    double GetLossTangent() { return window.LossTangentValue(); }
    double GetRelativeResistivity();
    int GetCoupledMode() { return window.ModeIndex(); }
    void SetCoupledMode(int mode);
    void ShowImpedance() { window.SetImpedanceValue(impedance); }
    void ShowEffectiveDielectricConstant();
    void ShowLoss();
    void HideLoss() { window.BlankLoss(); }
    void ShowPhaseConstant();
    void ShowElectricalLength();
    void ShowPhysicalLength();
    void SetTitle(const std::string& text);
    void ShowCaption();
    void ClearWarnings() { window.ClearWarningTree(); }
    void AddWarning(const std::string& text) { window.AddWarningLine(text); }
    void ShowWarnings() { window.UpdateWarningTree(); }
    void ReportError(const std::string& text);
    void BeginBusy() { window.ShowBusyCursor(); }
    void EndBusy() { window.ShowNormalCursor(); }
    void RefreshWindow();

    // Results and state, read by tests and the command line.
    int RowCount() const { return rowCount; }
    const std::string& Title() const { return title; }
    const std::vector<std::string>& Labels() const { return labels; }
    double Impedance() const { return impedance; }
    double EffDielConst() const { return effDielConst; }
    double Loss() const { return loss; }
    double PhaseConstant() const { return phaseConstant; }
    const LineResult& LastResult() const { return lastResult_; }

  protected:
    // Keeps a kernel's result as the model's results.
    void KeepResult(const LineResult& result);

  private:
    // The driver's steps (linedriver.cpp).
    // Lists the answer's warnings, then raises its failure if it has one.
    void ListWarningsRaisingFailure(const LineAnswer& answer);
    // Shows the kept result with the answer's phase constant.
    void ShowResults(const LineAnswer& answer);
    void ShowPhaseConstantValue(double degreesPerMetre);
    void ReportAnalyzeError();
    void ReportSynthesisError(const TP_Exceptions& e);
    void LoadSettingsSection();
    void SaveSettingsSection();

    const LineDescriptor& line_;
    LineResult lastResult_;

  protected:
    WindowServices& window;

    int rowCount;
    std::string title;
    std::vector<std::string> labels;
    double phaseConstant = 0.0;
    double loss = 0.0;
    double impedance = 0.0;
    double effDielConst = 0.0;
};

// Busy cursor for a scope, restored on every exit path.
class BusyScope {
  public:
    explicit BusyScope(LineModel& model) : model_(model) { model_.BeginBusy(); }
    ~BusyScope() { model_.EndBusy(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    LineModel& model_;
};

// The line at x with the floating-point fault check around it: a fault, or
// an impedance that is not finite, raises FloatingPointFault.  Inline: it
// wraps every answer's kernel call.
inline LineResult EvaluateChecked(const LineDescriptor& line, const InputsAtFrequency& in, double x,
                                  CrossSectionTerms* terms = nullptr) {
    ClearFloatingPointFaults();
    LineResult result = terms != nullptr && line.evaluateReusing != nullptr
                            ? line.evaluateReusing(in, x, *terms)
                            : line.evaluate(in, x);
    ForceEvaluation(result);
    RaiseFloatingPointFaults();
    // Effective dielectric constant and loss are checked when shown.
    RequireFinite(result.impedance);
    return result;
}

// The synthesis objective at x, impedance minus target, checked the same way.
double ObjectiveChecked(const LineDescriptor& line, const InputsAtFrequency& in, double x);
