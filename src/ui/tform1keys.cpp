// The window's keyboard beyond focus moves (Enter analyses, Ctrl+C copies the
// results), the results as text, and the loss field's tooltip with the loss
// split into its conductor and dielectric parts.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <cmath>

#include "core/lossparts.h"
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
    Guarded([&] { passed = ValidateOnExit(edit, exitRules_.value(edit, ExitRule::Unchecked)); });
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

QString TForm1::ResultsText() const {
    QStringList lines;
    lines << tr("Line: %1").arg(TabControl1->tabText(CurrentTab()));
    if (EvenMode->isVisibleTo(this))
        lines << tr("Mode: %1").arg(OddMode->isChecked() ? tr("odd") : tr("even"));
    lines << Line(tr("Impedance"), ImpedanceEdit, ImpedanceUnitBox)
          << Line(tr("Frequency"), FrequencyEdit, FrequencyUnitBox)
          << Line(tr("Electrical length"), ElectricalLengthEdit, ElectricalLengthUnitBox)
          << Line(tr("Phase constant"), PropConstantEdit, PropConstantUnitBox)
          << Line(tr("Effective dielectric constant"), EffDielConstEdit);
    if (LossEdit->isEnabled()) lines << Line(tr("Loss"), LossEdit, LossUnitBox);
    lines << Line(tr("Physical length"), PhysicalLengthEdit, PhysicalLengthUnitBox);
    for (std::size_t row = 0; row < kRows; ++row)
        if (ParameterEdits[row]->isVisibleTo(this))
            lines << Line(Plain(ParameterLabels[row]), ParameterEdits[row], ParameterBoxes[row]);
    lines << Line(tr("Er"), DielConstantEdit) << Line(tr("Loss tangent"), LossTangentEdit)
          << Line(tr("Conductivity"), ConductivityEdit, ConductivityUnitBox);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void TForm1::CopyResults() {
    QApplication::clipboard()->setText(ResultsText());
}

void TForm1::ShowLossParts(bool valid) {
    lossPartsShown_ = false;
    LossEdit->setToolTip(QString());
    LineModel* model = ModelOfTab(CurrentTab());
    if (!valid || model == nullptr || !model->Line().lossShown || !LossEdit->isEnabled()) return;
    const LineResult& result = model->LastResult();
    const double factor = units_.loss.Factor(lossUnit) * LineModel::kNepersToDecibels;
    const QString unit = QString::fromStdString(units_.loss.Name(lossUnit));
    QStringList lines;
    const auto part = [&](const QString& label, double nepers) {
        if (std::isfinite(nepers))
            lines << label + QStringLiteral(": ") +
                         QString::fromStdString(FormatG(nepers * factor)) + QLatin1Char(' ') + unit;
    };
    part(tr("Conductor loss"), result.conductorLoss);
    part(tr("Dielectric loss"), result.dielectricLoss);
    const LineInputs inputs = model->ReadInputs();
    const double depth = SkinDepth(inputs);
    if (std::isfinite(depth)) {
        // Micrometres up to a millimetre, millimetres beyond.
        const int index = depth < 1e-3 ? 0 : 1;
        lines << tr("Skin depth: %1 %2")
                     .arg(QString::fromStdString(FormatG(depth * units_.length.Factor(index))),
                          QString::fromStdString(units_.length.Name(index)));
    }
    // Roughness in effect, when the conductor is not smooth.
    if (const std::string note = RoughnessNote(inputs); !note.empty())
        lines << QString::fromStdString(note);
    LossEdit->setToolTip(lines.join(QLatin1Char('\n')));
    lossPartsShown_ = true;
}
