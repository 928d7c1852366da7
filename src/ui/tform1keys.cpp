// The window's keyboard beyond focus moves (Enter analyses, Ctrl+C copies the
// results), the results as text, and the loss field's tooltip with the loss
// split into its conductor and dielectric parts: both list the reported
// quantities of core/outputs.h.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/answerof.h"
#include "core/outputs.h"
#include "core/roughness.h"
#include "quantities/numberformat.h"
#include "ui/tform1.h"

void TForm1::InstallKeys() {
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->installEventFilter(this);
}

bool TForm1::HandleKey(QObject* watched, QKeyEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr || edit->window() != this) return false;
    if (event->matches(QKeySequence::Copy) && !edit->hasSelectedText()) {
        // Copying with nothing selected copies every result instead.
        Guarded([this] { CopyResults(); });
        return true;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
    // Enter leaves the edit as the Tab key would: its value must pass the
    // check first, and only then does it analyse.
    bool passed = false;
    Guarded([&] { passed = ValidateOnExit(edit); });
    if (passed) AnalyzeButtonClick();
    return true;
}

namespace {

QString Line(const QString& label, const QLineEdit* value, const QComboBox* unit = nullptr) {
    QString line = label + QStringLiteral(": ") + value->text();
    if (unit != nullptr) line += QLatin1Char(' ') + unit->currentText();
    return line;
}

QString Plain(const QLabel* label) {
    return label->text().remove(QLatin1Char('&')).trimmed();
}

} // namespace

std::vector<TForm1::ResultField> TForm1::ResultFields() const {
    return {{"impedance_ohm", ImpedanceEdit, ImpedanceUnitBox},
            {"f", FrequencyEdit, FrequencyUnitBox},
            {"electrical_length_deg", ElectricalLengthEdit, ElectricalLengthUnitBox},
            {"phase_constant_deg_per_m", PropConstantEdit, PropConstantUnitBox},
            {"eeff", EffDielConstEdit, nullptr},
            {"loss_db_per_m", LossEdit, LossUnitBox},
            {"physical_length_m", PhysicalLengthEdit, PhysicalLengthUnitBox}};
}

QString TForm1::ResultsText() const {
    // The window's fields in their layout order, labelled by the output
    // table; then any reported quantity with a label that has no field.
    const std::vector<ResultField> fields = ResultFields();
    LineModel* model = ModelOfTab(CurrentTab());
    QStringList lines;
    lines << tr("Line: %1").arg(TabControl1->tabText(CurrentTab()));
    if (EvenMode->isVisibleTo(this))
        lines << tr("Mode: %1").arg(OddMode->isChecked() ? tr("odd") : tr("even"));
    for (const ResultField& field : fields) {
        const OutputQuantity* output = FindOutput(field.key);
        if (output == nullptr) {
            lines << Line(tr("Frequency"), field.edit, field.unit);
        } else if (field.edit->isEnabled()) {
            lines << Line(tr(output->clipboardLabel), field.edit, field.unit);
        }
    }
    if (answerShown_ && model != nullptr) lines << UnfieldedResults(*model, fields);
    for (std::size_t row = 0; row < kRows; ++row)
        if (ParameterEdits[row]->isVisibleTo(this))
            lines << Line(Plain(ParameterLabels[row]), ParameterEdits[row], ParameterBoxes[row]);
    lines << Line(tr("Er"), DielConstantEdit) << Line(tr("Loss tangent"), LossTangentEdit)
          << Line(tr("Conductivity"), ConductivityEdit, ConductivityUnitBox);
    if (const QString models = MaterialModelsShown(); !models.isEmpty())
        lines << tr("Material models: %1").arg(models);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QStringList TForm1::UnfieldedResults(LineModel& model,
                                     const std::vector<ResultField>& fields) const {
    std::vector<const OutputQuantity*> unfielded;
    for (const OutputQuantity& output : OutputQuantities()) {
        const bool hasField = std::any_of(fields.begin(), fields.end(), [&](const ResultField& f) {
            return std::string_view(f.key) == output.jsonKey;
        });
        if (output.clipboardLabel != nullptr && !hasField && output.On(model.Line()))
            unfielded.push_back(&output);
    }
    QStringList lines;
    if (unfielded.empty()) return lines;
    try {
        const LineAnswer answer = AnswerOf(model.LastResult(), model.ReadInputs());
        const OutputSource source{model.Line(), answer};
        for (const OutputQuantity* output : unfielded)
            if (const QString value = ValueText(*output, source); !value.isEmpty())
                lines << tr(output->clipboardLabel) + QStringLiteral(": ") + value;
    } catch (const std::exception&) {
        // An edit changed since the action no longer reads: copying stays quiet.
    }
    return lines;
}

void TForm1::CopyResults() {
    QApplication::clipboard()->setText(ResultsText());
}

QString TForm1::ValueText(const OutputQuantity& output, const OutputSource& source) const {
    const double value = output.value(source);
    if (!std::isfinite(value)) return QString();
    double factor = 1.0;
    std::string unit = output.unit;
    if (output.kind == OutputKind::Loss) {
        factor = units_.loss.Factor(lossUnit) * LineModel::kNepersToDecibels;
        unit = units_.loss.Name(lossUnit);
    } else if (output.kind == OutputKind::Length) {
        // Micrometres up to a millimetre, millimetres beyond.
        const int index = value < 1e-3 ? 0 : 1;
        factor = units_.length.Factor(index);
        unit = units_.length.Name(index);
    }
    QString text = QString::fromStdString(FormatG(value * factor));
    if (!unit.empty()) text += QLatin1Char(' ') + QString::fromStdString(unit);
    return text;
}

void TForm1::ShowLossParts(bool valid) {
    lossPartsShown_ = false;
    LossEdit->setToolTip(QString());
    LineModel* model = ModelOfTab(CurrentTab());
    answerShown_ = valid && model != nullptr;
    if (!valid || model == nullptr || !model->Line().lossShown || !LossEdit->isEnabled()) return;
    const LineInputs inputs = model->ReadInputs();
    const LineAnswer answer = AnswerOf(model->LastResult(), inputs);
    const OutputSource source{model->Line(), answer};
    QStringList lines;
    for (const OutputQuantity& output : OutputQuantities()) {
        if (output.tooltipLabel == nullptr || !output.On(model->Line())) continue;
        if (const QString value = ValueText(output, source); !value.isEmpty())
            lines << tr(output.tooltipLabel) + QStringLiteral(": ") + value;
    }
    // Roughness in effect, when the conductor is not smooth.
    if (const std::string note = RoughnessNote(inputs); !note.empty())
        lines << QString::fromStdString(note);
    LossEdit->setToolTip(lines.join(QLatin1Char('\n')));
    lossPartsShown_ = true;
}
