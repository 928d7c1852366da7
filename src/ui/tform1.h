// The calculator's one window.  It owns the line models (one per tab),
// every input and output control, the unit state and the warning tree, and it
// is the WindowServices through which the models read their inputs and show
// their results.  Handlers keep the names the form gives them; each reads
// inputs, calls one model operation and marks labels, and ends in the one
// catch-all that shows an escaped error in the general error box.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <QList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/inputrules.h"
#include "core/linecal.h"
#include "core/outputs.h"
#include "core/windowservices.h"
#include "models/linetypes.h"
#include "quantities/materials.h"
#include "quantities/units.h"
#include "ui/linepicturelabels.h"
#include "ui/settingsfile.h"

class QAction;
class QComboBox;
class QKeyEvent;
class QKeySequence;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTreeWidget;
class QUrl;

class HelpBrowser;

class TForm1 : public QWidget, public WindowServices {
    Q_OBJECT

  public:
    static constexpr int kClientWidth = 649;
    static constexpr int kClientHeight = 419;
    static constexpr int kRows = 6;

    struct Options {
        QString settingsPath; // empty: beside the executable, or the user's configuration folder
    };

    explicit TForm1(const Options& options = Options());
    ~TForm1() override;

    // Opens the documentation; tests replace it to see the address.
    static std::function<bool(const QUrl&)>& UrlOpener();
    // The help page (installed, beside the executable or in the source
    // tree); empty when there is none.
    static QString DocumentationFile();

    // --- Menu bar (tform1menus.cpp) -------------------------------------------
    // The menu's height: the window is the designed layout plus this.
    int MenuHeight() const;
    QMenuBar* MenuBar() const { return menuBar_; }
    // Help, Contents (F1): the help page in the program's own browser.
    HelpBrowser* OpenHelp();
    // File, Export sweep...: the sweep window's exports.
    void ExportSweep();

    // --- WindowServices --------------------------------------------------
    double RowValue(int row) override;
    void SetRowValue(int row, double metres) override;
    int RowUnit(int row) override;
    void SetRowUnit(int row, int unitIndex) override;
    std::string RowLabel(int row) override;
    void SetRowLabel(const std::string& text, int row) override;
    void SetRowCount(int count) override;
    double FrequencyValue() override;
    double PhysicalLengthValue() override;
    void SetPhysicalLengthValue(double metres) override;
    int PhysicalLengthUnit() override { return physicalLengthUnit; }
    void SelectPhysicalLengthUnit(int unitIndex) override;
    double ElectricalLengthValue() override;
    void SetElectricalLengthValue(double degrees) override;
    double ImpedanceValue() override;
    void SetImpedanceValue(double ohms) override;
    void SetEffDielConstValue(double value) override;
    void SetLossValue(double decibelsPerMetre) override;
    void BlankLoss() override;
    void SetPhaseConstantValue(double degreesPerMetre) override;
    double DielConstantValue() override;
    double LossTangentValue() override;
    double ConductivityValue() override;
    MaterialOptions MaterialOptionsValue() override { return materialOptions_; }
    Coating CoatingValue() override { return coating_; }
    int ModeIndex() override { return modeIndex; }
    void SetModeIndex(int mode) override;
    void SetCaption(const std::string& caption) override;
    void ClearWarningTree() override;
    void AddWarningLine(const std::string& text) override;
    void AddNoteLine(const std::string& text) override;
    void UpdateWarningTree() override;
    void ReportError(const std::string& text) override;
    void ShowBusyCursor() override;
    void ShowNormalCursor() override;
    void Refresh() override;
    SettingsStore& Settings() override { return settings_; }

    // --- Number format and units -------------------------------------------
    // Whole-text "." conversion first, the user's locale second; raises
    // ConversionError when neither reads the text.  Empty text is 0.
    double ReadNumber(const QLineEdit* control) const;
    void WriteNumber(QLineEdit* control, double x);
    double ReadScaled(const QLineEdit* control, int unitIndex, const UnitTable& table) const;
    void WriteScaled(QLineEdit* control, int unitIndex, const UnitTable& table, double x);
    void ApplyUnitChange(QLineEdit* control, int& unitIndexField, QComboBox* list,
                         const UnitTable& table, double x);
    void SetFrequencyValue(double hertz);
    void SetDielConstantValue(double value);
    void SetConductivityValue(double siemensPerMetre);
    void SetLossTangentValue(double value);
    double PhaseConstantValue();
    double LossValue();
    void SetRowUnits(int count, int unitIndex);
    void InitRows(int count, int unitIndex, double metres);

    void ShowLineImage(int index);
    int CurrentTab() const;
    LineModel* ModelOfTab(int index) const;

    // --- Tools beside the fixed layout --------------------------------------
    // Each tool is an entry of the window's context menu and a shortcut of the
    // window; `run` goes through the window's one catch-all.  The tools are
    // listed once, in InstallTools (tform1tools.cpp); `inToolsMenu` false
    // keeps one out of Tools() and the menu bar.
    QAction* AddTool(const QString& text, const QKeySequence& shortcut,
                     std::function<void()> run, bool inToolsMenu = true);
    const QList<QAction*>& Tools() const { return tools_; }
    // The units the window shows its quantities in, for the tools.
    const UnitTables& Units() const { return units_; }
    int FrequencyUnitIndex() const { return frequencyUnit; }
    int ConductivityUnitIndex() const { return conductivityUnit; }
    int LossUnitIndex() const { return lossUnit; }
    int RowUnitIndex(int row) const { return rowUnit[static_cast<std::size_t>(row - 1)]; }

    // --- Results current or not (tform1stale.cpp) ----------------------------
    // Draws the results of the last Analyze or Synthesize as current, or
    // dimmed with a tooltip (all but `typedInto`, which is an input now).
    void ShowResultsCurrent(bool current, const QLineEdit* typedInto = nullptr);
    bool ResultsCurrent() const { return resultsCurrent_; }
    QList<QLineEdit*> ResultEdits() const;

    // --- Lines under the results (tform1infolines.cpp) ------------------------
    // The material models in effect as the status line says them; empty for none.
    QString MaterialModelsShown() const;

    // --- Keyboard, results as text, loss parts (tform1keys.cpp) -------------
    // Every result the window shows with its unit, one "label: value unit"
    // per line; what Ctrl+C copies.
    QString ResultsText() const;
    void CopyResults();

    // --- Material options and lists (tform1materials.cpp) -------------------
    int RoughnessUnit() const { return roughnessUnit_; }
    // Takes new options (roughness shown in `roughnessUnit`) and stores them
    // in their settings section.
    void SetMaterialOptions(const MaterialOptions& options, int roughnessUnit);
    // Takes a new solder mask and cover for the microstrip lines (F9).
    void SetCoating(const Coating& coating);
    // The lists as offered: the built-in entries, then the materials file's.
    const std::vector<Dielectric>& Dielectrics() const { return dielectrics_; }
    const std::vector<Conductor>& Conductors() const { return conductors_; }

    // --- Handlers ----------------------------------------------------------
    void FormCreate();
    void TabControl1Changing(int leftIndex);
    void TabControl1Change(int newIndex);
    void AnalyzeButtonClick();
    void SynthesizeButtonClick();
    void QRXButtonClick();
    void DielectricsComboBoxChange();
    void ConductorsComboBoxChange();
    void ModeButtonClick(int mode); // 0 EvenMode, 1 OddMode
    void ValueEditExit(QObject* sender);
    void PhysicalLengthUnitBoxChange();
    void FrequencyUnitBoxChange();
    void ElectricalLengthUnitBoxChange();
    void ConductivityUnitBoxChange();
    void LossUnitBoxChange();
    void PropConstantUnitBoxChange();
    void ParameterBoxChange(int row);

    // --- Controls, named as the form names them ----------------------------
    QTabBar* TabControl1;
    QFrame* Panel1;
    QGroupBox* GroupBox3;
    QComboBox* DielectricsComboBox;
    QComboBox* ConductorsComboBox;
    QLineEdit* DielConstantEdit;
    QLineEdit* ConductivityEdit;
    QComboBox* ConductivityUnitBox;
    QLineEdit* LossTangentEdit;
    QPushButton* QRXButton;
    QFrame* Panel2;
    LinePictureLabels LineImages; // Image_Microstrip .. , one per line type in tab order
    QGroupBox* GroupBox1;
    QLabel* ImpedanceLabel;
    QLineEdit* ImpedanceEdit;
    QComboBox* ImpedanceUnitBox;
    QLineEdit* FrequencyEdit;
    QComboBox* FrequencyUnitBox;
    QLabel* ElectricalLengthLabel;
    QLineEdit* ElectricalLengthEdit;
    QComboBox* ElectricalLengthUnitBox;
    QLineEdit* PropConstantEdit;
    QComboBox* PropConstantUnitBox;
    QLineEdit* EffDielConstEdit;
    QLineEdit* LossEdit;
    QComboBox* LossUnitBox;
    QRadioButton* EvenMode;
    QRadioButton* OddMode;
    QPushButton* AnalyzeButton;
    QPushButton* SynthesizeButton;
    QGroupBox* GroupBox2;
    QLabel* PhysLengthLabel;
    QLineEdit* PhysicalLengthEdit;
    QComboBox* PhysicalLengthUnitBox;
    std::array<QLabel*, kRows> ParameterLabels;
    std::array<QLineEdit*, kRows> ParameterEdits;
    std::array<QComboBox*, kRows> ParameterBoxes;
    QTreeWidget* TreeView1;
    QLabel* PairLine;   // a coupled line's Zdiff, Zcomm and coupling
    QLabel* ModelsLine; // the material models in effect, when any is on

  protected:
    void closeEvent(QCloseEvent* event) override; // FormClose
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The input rule (core/inputrules.h) an edit's value must pass when the
    // focus leaves it; nullopt for an edit without one.
    std::optional<InputRule> ExitRuleOf(const QObject* edit) const;

    void InstallTools();
    void InstallMenuBar();
    void InstallStaleMarks();
    void InstallKeys();
    bool HandleKey(QObject* watched, QKeyEvent* event);
    void ShowLossParts(bool valid);
    void CreateInfoLines();
    // Places the lines shown under the panel, the warning tree below them,
    // and sets the window's height to fit.
    void FitHeight();
    void ShowPairLine(bool coupled);
    // The pair figures of the last action (nothing for an action that failed).
    void ShowPairFigures(bool valid);
    void ShowMaterialModels();
    // A reported quantity's value as the window shows it, with its unit
    // (losses in the loss field's unit); empty for none.
    QString ValueText(const OutputQuantity& output, const OutputSource& source) const;
    // A field of the window that shows a result (or the frequency), by the
    // key of its output row (or input), for the results text.
    struct ResultField {
        const char* key;
        const QLineEdit* edit;
        const QComboBox* unit;
    };
    // The reported quantities with a clipboard label but no field, from the
    // model's last answer.
    QStringList UnfieldedResults(LineModel& model, const std::vector<ResultField>& fields) const;
    // The fields that show results, in layout order.
    std::vector<ResultField> ResultFields() const;
    void OpenPairSynthesis(int engine = 0); // PairSynthesisDialog::Engine
    // Row 1 (W and S of a pair) for the target by the field solver.
    void SynthesizeWithFieldSolver();
    void CreateControls();
    void SetFocusOrder();
    void CreateLineModels();
    void FormClose();
    void ReadMaterialSection();
    void WriteMaterialSection();
    void LoadMaterialLists();
    void ReadMaterialOptionsSection();
    void WriteMaterialOptionsSection();
    void ReadCoatingSection();
    void WriteCoatingSection();
    void MarkLabels(bool afterAnalyze);
    bool ValidateOnExit(QLineEdit* edit); // true: the value passes its rule
    // A number read from the settings file is held to the rule of the edit
    // it goes into; one that fails is reported and the default kept.
    bool StoredNumberPasses(const std::string& section, const std::string& key,
                            const std::string& text, double value);
    void DropPressInDelivery();
    void StopDroppingPress();
    bool ValidRow(int row) const { return row >= 1 && row <= kRows; }

    // Runs a handler's body; any error that escapes it is shown in the
    // general error box, after the busy cursor has come back.
    template <class Body> void Guarded(Body&& body) noexcept;
    void ShowGeneralError(const QString& message) noexcept;
    void RestoreCursor(int depth) noexcept;
    void ShowErrorBox(const QString& text);

    // Lists
    void FillList(QComboBox* list, const UnitTable& table, int index);
    void FillLengthUnits(QComboBox* list, int index) { FillList(list, units_.length, index); }
    // Row `row`'s units on the current tab: the lengths, or a number row's one unit.
    UnitTable RowUnitsOfLine(int row) const;
    void MatchRowUnitsToLine(int count);
    void FillFrequencyUnits(QComboBox* list, int index) { FillList(list, units_.frequency, index); }
    void FillLossUnits(QComboBox* list, int index) { FillList(list, units_.loss, index); }
    void FillConductivityUnits(QComboBox* list, int index) {
        FillList(list, units_.conductivity, index);
    }
    void FillImpedanceUnits(QComboBox* list, int index) { FillList(list, units_.impedance, index); }
    void FillAngleUnits(QComboBox* list, int index) { FillList(list, units_.angle, index); }
    void FillPhaseConstantUnits(QComboBox* list, int index) {
        FillList(list, units_.phaseConstant, index);
    }

    Options options_;
    SettingsFile settings_; // every settings read and write of the run
    std::vector<std::unique_ptr<LineModel>> LineModelTable; // owned, by tab
    int activeTab_ = 0;

    UnitTables units_;
    int frequencyUnit = 3;
    int physicalLengthUnit = 0;
    int conductivityUnit = 3;
    int electricalLengthUnit = 0;
    int phaseConstantUnit = 3;
    int lossUnit = 3;
    std::array<int, kRows> rowUnit{};
    std::array<UnitTable, kRows> rowFactors; // each row's own copy of the length units
    std::array<bool, kRows> rowHandlersAttached{};

    int modeIndex = -1;
    int warningCount = 0;
    bool layoutPending = true;
    int fullHeight = kClientHeight;
    int shortHeight = kClientHeight;

    // Edits whose focus loss runs ValueEditExit, with their input rule's key
    // (nullptr: a parameter row, whose rule is the line's).
    QHash<const QObject*, const char*> exitKeys_;
    bool validating_ = false;                           // a validation box is up
    Qt::FocusReason exitReason_ = Qt::OtherFocusReason; // of the exit being checked
    bool droppingPress_ = false; // the press that moved the focus is to be dropped
    int busyDepth_ = 0;
    QList<QAction*> tools_;
    QMenuBar* menuBar_ = nullptr;
    QWidget* body_ = nullptr; // the designed layout, below the menu bar
    bool resultsCurrent_ = true;
    int errorBoxes_ = 0;          // error boxes of the line models so far
    bool lossPartsShown_ = false; // the loss field's tooltip holds the last action's parts
    bool answerShown_ = false;    // the fields hold the last action's answer

    MaterialOptions materialOptions_;
    Coating coating_; // none until the F9 tool or the settings file sets one
    int roughnessUnit_ = 0;
    bool materialOptionsStored_ = false; // the settings file holds their section
    bool coatingStored_ = false;         // ... and the coating's
    std::vector<Dielectric> dielectrics_;
    std::vector<Conductor> conductors_;
};

// The message of the exception being handled, whatever its type.
QString CurrentExceptionMessage() noexcept;

template <class Body> void TForm1::Guarded(Body&& body) noexcept {
    const int depth = busyDepth_;
    bool failed = false;
    QString message;
    try {
        body();
    } catch (...) {
        failed = true;
        message = CurrentExceptionMessage();
    }
    RestoreCursor(depth);
    if (failed) ShowGeneralError(message);
}
