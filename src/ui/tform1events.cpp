// Event handlers of the window and the window operations the line models
// use to show warnings, errors, the caption and the busy cursor.
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTreeWidget>
#include <QUrl>
#include <exception>

#include "quantities/materials.h"
#include "quantities/numberformat.h"
#include "ui/messagebox.h"
#include "ui/settingspath.h"
#include "ui/tform1.h"

QString CurrentExceptionMessage() noexcept {
    try {
        return QString::fromStdString(CurrentErrorText("Unknown error"));
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

void TForm1::ShowGeneralError(const QString& message) noexcept {
    try {
        ShowMessageBox(this, BoxKind::Error, QStringLiteral("Error"), message);
    } catch (...) {
        // Nothing is left to report with.
    }
}

void TForm1::ShowErrorBox(const QString& text) {
    ShowMessageBox(this, BoxKind::Error, QStringLiteral("Error"), text);
}

void TForm1::RestoreCursor(int depth) noexcept {
    while (busyDepth_ > depth)
        ShowNormalCursor();
}

// --- Tabs, Analyze, Synthesize -----------------------------------------------

void TForm1::TabControl1Changing(int leftIndex) {
    Guarded([this, leftIndex] {
        if (LineModel* model = ModelOfTab(leftIndex)) model->SaveSettings();
    });
}

void TForm1::TabControl1Change(int newIndex) {
    Guarded([this, newIndex] {
        TabControl1->setFocus();
        ShowLineImage(newIndex);
        if (LineModel* model = ModelOfTab(newIndex)) model->LoadAndSetup();
        ShowLossParts(false);
    });
}

void TForm1::AnalyzeButtonClick() {
    Guarded([this] {
        LineModel* model = ModelOfTab(CurrentTab());
        if (model == nullptr) return;
        const int errors = errorBoxes_;
        model->Analyze();
        MarkLabels(true);
        if (errorBoxes_ == errors) ShowResultsCurrent(true);
        ShowLossParts(errorBoxes_ == errors);
        ShowPairFigures(errorBoxes_ == errors);
    });
}

void TForm1::SynthesizeButtonClick() {
    Guarded([this] {
        LineModel* model = ModelOfTab(CurrentTab());
        if (model == nullptr) return;
        const int errors = errorBoxes_;
        model->Synthesize();
        MarkLabels(false);
        if (errorBoxes_ == errors) ShowResultsCurrent(true);
        ShowLossParts(errorBoxes_ == errors);
        ShowPairFigures(errorBoxes_ == errors);
    });
}

void TForm1::MarkLabels(bool afterAnalyze) {
    const auto mark = [](QLabel* label, bool underlined) {
        QFont font = label->font();
        font.setBold(false);
        font.setItalic(false);
        font.setUnderline(underlined);
        label->setFont(font);
    };
    mark(ImpedanceLabel, afterAnalyze);
    mark(ElectricalLengthLabel, afterAnalyze);
    mark(PhysLengthLabel, !afterAnalyze);
    mark(ParameterLabels[0], !afterAnalyze);
}

void TForm1::ModeButtonClick(int mode) {
    modeIndex = mode;
}

void TForm1::SetModeIndex(int mode) {
    modeIndex = mode;
    const bool coupled = mode == 0 || mode == 1;
    EvenMode->setVisible(coupled);
    OddMode->setVisible(coupled);
    SynthesizeButton->setVisible(!coupled);
    if (mode == 0) EvenMode->setChecked(true);
    if (mode == 1) OddMode->setChecked(true);
    ShowPairLine(coupled);
}

// --- Materials -----------------------------------------------------------------

void TForm1::DielectricsComboBoxChange() {
    Guarded([this] {
        const int i = DielectricsComboBox->currentIndex();
        if (i < 0 || i >= static_cast<int>(dielectrics_.size())) return;
        const Dielectric& dielectric = dielectrics_[static_cast<std::size_t>(i)];
        SetDielConstantValue(dielectric.dielConstant);
        SetLossTangentValue(dielectric.lossTangent);
        // A laminate's values hold at its sheet's frequency: the wideband
        // model starts from there.
        if (dielectric.referenceFrequency > 0.0)
            materialOptions_.fRef = dielectric.referenceFrequency;
        ShowMaterialModels();
    });
}

void TForm1::ConductorsComboBoxChange() {
    Guarded([this] {
        const int i = ConductorsComboBox->currentIndex();
        if (i < 0 || i >= static_cast<int>(conductors_.size())) return;
        SetConductivityValue(conductors_[static_cast<std::size_t>(i)].conductivity);
    });
}

// --- Validation when the focus leaves an edit ------------------------------------

void TForm1::ValueEditExit(QObject* sender) {
    if (!exitKeys_.contains(sender) || validating_) return; // the box itself moves the focus
    auto* edit = static_cast<QLineEdit*>(sender);
    Guarded([this, edit] { ValidateOnExit(edit); });
}

std::optional<InputRule> TForm1::ExitRuleOf(const QObject* edit) const {
    const char* key = exitKeys_.value(edit, "");
    if (key != nullptr) {
        const InputRule* rule = FindCommonInputRule(key);
        return rule != nullptr ? std::optional<InputRule>(*rule) : std::nullopt;
    }
    const LineModel* model = ModelOfTab(CurrentTab());
    for (int row = 1; row <= kRows && model != nullptr; ++row)
        if (ParameterEdits[static_cast<std::size_t>(row - 1)] == edit &&
            row <= model->Line().RowCount())
            return RowInputRule(model->Line(), row);
    return std::nullopt;
}

bool TForm1::ValidateOnExit(QLineEdit* edit) {
    const std::optional<InputRule> rule = ExitRuleOf(edit);
    if (!rule || rule->window == Bound::Any) return true;
    QString message;
    try {
        if (Passes(rule->window, ReadNumber(edit))) return true;
        message = QString::fromStdString(InputRuleMessage(*rule, edit->text().toStdString()));
    } catch (const ConversionError&) {
        message = QStringLiteral("[") + edit->text() +
                  QStringLiteral("] This value is not a valid floating point number.");
    }
    validating_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{validating_};
    const bool byMouse = exitReason_ == Qt::MouseFocusReason;
    edit->setFocus(Qt::OtherFocusReason);
    ShowErrorBox(message);
    edit->setFocus(Qt::OtherFocusReason);
    if (byMouse) DropPressInDelivery();
    return false;
}

// --- The maker's button --------------------------------------------------------------

std::function<bool(const QUrl&)>& TForm1::UrlOpener() {
    static std::function<bool(const QUrl&)> opener = [](const QUrl& url) {
        return QDesktopServices::openUrl(url);
    };
    return opener;
}

// The program's own documentation: installed beside the executable (build
// tree or portable copy), in the system's documentation folder, or the
// source tree's README.
QString TForm1::DocumentationFile() {
    const QString folder = QString::fromStdString(ExecutableFolder());
    const QStringList candidates{folder + QStringLiteral("/docs/tavrel.html"),
                                 folder + QStringLiteral("/../share/doc/tavrel/tavrel.html"),
                                 QStringLiteral(TAVREL_SOURCE_DIR "/docs/tavrel.html"),
                                 QStringLiteral(TAVREL_SOURCE_DIR "/README.md")};
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isFile()) return QFileInfo(candidate).canonicalFilePath();
    return QString();
}

void TForm1::QRXButtonClick() {
    Guarded([this] {
        const QString file = DocumentationFile();
        if (file.isEmpty()) {
            ShowMessageBox(this, BoxKind::Information, QStringLiteral("TAVREL 2003"),
                           QStringLiteral("The documentation of Tavrel is not installed."));
            return;
        }
        // Without a web browser the page opens in the program's own.
        if (!UrlOpener()(QUrl::fromLocalFile(file))) OpenHelp();
    });
}

// --- Window operations for the line models ---------------------------------------------

std::string TForm1::RowLabel(int row) {
    if (!ValidRow(row)) return "Out of Range";
    return ParameterLabels[static_cast<std::size_t>(row - 1)]->text().toStdString();
}

void TForm1::SetRowLabel(const std::string& text, int row) {
    if (ValidRow(row))
        ParameterLabels[static_cast<std::size_t>(row - 1)]->setText(QString::fromStdString(text));
}

void TForm1::SetRowCount(int count) {
    Refresh();
    if (count >= 1 && count <= kRows) {
        for (int row = 1; row <= kRows; ++row) {
            const auto k = static_cast<std::size_t>(row - 1);
            const bool shown = row <= count;
            ParameterLabels[k]->setVisible(shown);
            ParameterEdits[k]->setVisible(shown);
            ParameterBoxes[k]->setVisible(shown);
            if (shown && !rowHandlersAttached[k]) {
                rowHandlersAttached[k] = true;
                exitKeys_.insert(ParameterEdits[k], nullptr);
                ParameterEdits[k]->installEventFilter(this);
                connect(ParameterBoxes[k], &QComboBox::activated, this,
                        [this, row] { ParameterBoxChange(row); });
            }
        }
        MatchRowUnitsToLine(count);
    }
    Refresh();
}

void TForm1::SetCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void TForm1::ClearWarningTree() {
    TreeView1->clear();
    warningCount = 0;
}

void TForm1::AddWarningLine(const std::string& text) {
    ++warningCount;
    new QTreeWidgetItem(TreeView1,
                        QStringList{QString::fromStdString(WarningLine(warningCount, text))});
}

void TForm1::AddNoteLine(const std::string& text) {
    new QTreeWidgetItem(TreeView1, QStringList{QString::fromStdString(text)});
}

void TForm1::UpdateWarningTree() {
    if (layoutPending) {
        // Measured once, from the window as designed.
        fullHeight = height();
        shortHeight = fullHeight - TreeView1->height() - 4;
        layoutPending = false;
    }
    // Warnings, or notes after them.
    TreeView1->setVisible(TreeView1->topLevelItemCount() > 0);
    FitHeight(); // with the lines under the results shown
}

void TForm1::ReportError(const std::string& text) {
    ++errorBoxes_;
    ShowErrorBox(QString::fromStdString(text));
}

void TForm1::ShowBusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++busyDepth_;
}

void TForm1::ShowNormalCursor() {
    if (busyDepth_ == 0) return;
    QApplication::restoreOverrideCursor();
    --busyDepth_;
}

void TForm1::Refresh() {
    if (isVisible()) repaint();
}
