// Abstract base of the eight transmission-line types.  A model reads its inputs
// and shows its results only through the base operations below, which reach
// the window through the WindowServices given at construction.
#pragma once

#include <string>
#include <vector>

#include "core/tpexceptions.h"
#include "core/windowservices.h"

// The settings section of a line type: its name and the value key of each
// parameter row.  A row's unit key is its value key (trailing blanks dropped)
// followed by " Unit".
struct SettingsSection {
    const char* name;
    std::vector<const char*> rowKeys;
};

class LineModel {
public:
    static constexpr double kOutOfRangeParameter = 123456789.0;
    static constexpr double kNepersToDecibels = 8.685889638;
    static constexpr double kSpeedOfLight = 2.997925e8;  // m/s, as the phase constant uses it
    static constexpr double kGoldResistivity = 2.44e-8;  // ohm metre

    LineModel(WindowServices& window, int rowCount);
    virtual ~LineModel() = default;
    LineModel(const LineModel&) = delete;
    LineModel& operator=(const LineModel&) = delete;

    // The six slots, in slot order.
    virtual double Objective(double x) = 0;
    virtual void LoadAndSetup() = 0;
    virtual void SaveSettings() {}
    virtual void Synthesize() = 0;
    virtual void Analyze() = 0;
    virtual void CheckParameters() = 0;

    // Objective with the floating-point fault check around it: a fault, or an
    // objective value or impedance that is not finite, aborts with
    // FloatingPointFault.
    double EvaluateObjective(double x);

    // Base operations.
    int GetMaxParameterRows() const;
    double GetParameter(int i);
    void SetParameter(double x, int i);
    int GetParameterUnit(int i);
    void SetParameterUnit(int i, int unit);
    void SetParameterLabel(const std::string& text, int i);
    void ShowParameterRows();
    double GetFrequency();
    double GetPhysicalLength();
    void SetPhysicalLength(double x);
    int GetPhysicalLengthUnit();
    void SetPhysicalLengthUnit(int unit);
    double GetTargetImpedance();
    double GetDielectricConstant();
    double GetLossTangent();
    double GetRelativeResistivity();
    int GetCoupledMode();
    void SetCoupledMode(int mode);
    void ShowImpedance();
    void ShowEffectiveDielectricConstant();
    void ShowLoss();
    void HideLoss();
    void ShowPhaseConstant();
    void ShowElectricalLength();
    void ShowPhysicalLength();
    double QuarterWavelength();
    void CheckQuarterWave();
    void SetTitle(const std::string& text);
    void ShowCaption();
    void ClearWarnings();
    void AddWarning(const std::string& text);
    void ShowWarnings();
    void ReportError(const std::string& text);
    void BeginBusy();
    void EndBusy();
    void RefreshWindow();

    // Results and state, read by tests and the command line.
    int RowCount() const { return rowCount; }
    const std::string& Title() const { return title; }
    const std::vector<std::string>& Labels() const { return labels; }
    double Impedance() const { return impedance; }
    double EffDielConst() const { return effDielConst; }
    double Loss() const { return loss; }
    double PhaseConstant() const { return phaseConstant; }

protected:
    // Reads the section: physical length unit and length, then each row's
    // unit before its value; keys that are absent or malformed are skipped.
    void LoadSettingsSection(const SettingsSection& section);
    void SaveSettingsSection(const SettingsSection& section);

    enum class LossOutput { Show, Hide };
    enum class ReportedErrors { CalculationOnly, WithDomainErrors };

    // Impedance, effective dielectric constant, loss (or its blank) and phase
    // constant of the last objective, in the order every model shows them.
    void ShowResults(LossOutput lossOutput);

    // The common Analyze: busy cursor; check; objective at row 1; show
    // impedance, effective dielectric constant, loss, phase constant and
    // electrical length; check again.  TP_Exceptions and plain texts (and
    // standard domain errors where asked) are shown with ReportError; other
    // errors pass on to the window.
    void AnalyzeRow1(LossOutput lossOutput, ReportedErrors reported);

    // The common Synthesize: FindRoot over [first, second], the root into row
    // 1, the results shown and checked.  No sign change shows `aboveTarget`
    // when the impedance stays above the target, else `belowTarget`.
    void SynthesizeRow1(double first, double second, double tolerance, int steps,
                        const std::string& aboveTarget, const std::string& belowTarget,
                        LossOutput lossOutput = LossOutput::Show);

    // A synthesis error as the user sees it: no sign change over the scan shows
    // `aboveTarget` when the impedance stays above the target, else
    // `belowTarget`; any other calculation error shows its own text.
    void ReportSynthesisError(const TP_Exceptions& e, const std::string& aboveTarget,
                              const std::string& belowTarget);

    WindowServices& window;

    int rowCount;
    std::string title;
    std::vector<std::string> labels;
    int coupledMode = 0;
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

// Synthesis solver: an equal-step scan of [first, second] for a sign change of
// the model's objective, then Brent refinement.
bool TryObjective(LineModel& model, double x);
double FindRoot(LineModel& model, double first, double second, double tolerance, int steps);
double SolveBrent(LineModel& model, double a, double b, double tolerance);
