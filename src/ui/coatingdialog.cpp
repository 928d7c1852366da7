#include "ui/coatingdialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/inputrules.h"
#include "quantities/numberformat.h"
#include "ui/messagebox.h"
#include "ui/tform1.h"

namespace {

QLineEdit* EditShowing(double value) {
    auto* edit = new QLineEdit(QString::fromStdString(FormatG(value)));
    return edit;
}

} // namespace

CoatingDialog::CoatingDialog(TForm1& window)
    : QDialog(&window), window_(window),
      lengthFactor_(window.Units().length.Factor(window.RowUnit(1))) {
    setWindowTitle(tr("Solder mask and cover"));
    const Coating c = window.CoatingValue();
    const QString unit = QString::fromStdString(window.Units().length.Name(window.RowUnit(1)));
    thicknessEdit = EditShowing(c.tm * lengthFactor_);
    maskErEdit = EditShowing(c.erm);
    maskTandEdit = EditShowing(c.tandm);
    coverEdit = EditShowing(c.hc * lengthFactor_);
    problemLabel = new QLabel;
    problemLabel->setStyleSheet(QStringLiteral("color: #b00000"));

    auto* form = new QFormLayout;
    form->addRow(tr("Mask thickness Tm (%1, 0: none)").arg(unit), thicknessEdit);
    form->addRow(tr("Mask Er"), maskErEdit);
    form->addRow(tr("Mask loss tangent"), maskTandEdit);
    form->addRow(tr("Cover height above the substrate Hc (%1, 0: none)").arg(unit), coverEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(problemLabel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Apply()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool CoatingDialog::Apply() {
    // The edits in the order of the input rules' table.
    const QLineEdit* edits[] = {thicknessEdit, maskErEdit, maskTandEdit, coverEdit};
    const double factors[] = {lengthFactor_, 1.0, 1.0, lengthFactor_};
    double values[4] = {};
    const std::vector<InputRule>& rules = CoatingInputRules();
    for (std::size_t i = 0; i < rules.size(); ++i) {
        try {
            values[i] = window_.ReadNumber(edits[i]) / factors[i];
        } catch (const std::exception&) {
            problemLabel->setText(tr("%1 is not a valid number.").arg(rules[i].key));
            return false;
        }
        if (!Passes(rules[i].window, values[i])) {
            problemLabel->setText(QString::fromStdString(
                InputRuleMessage(rules[i], rules[i].key + std::string("=") +
                                               edits[i]->text().toStdString())));
            return false;
        }
    }
    window_.SetCoating({values[0], values[1], values[2], values[3]});
    problemLabel->clear();
    return true;
}

void EditCoating(TForm1& window) {
    const LineModel* model = window.ModelOfTab(window.CurrentTab());
    if (model == nullptr || !model->Line().coated) {
        ShowMessageBox(&window, BoxKind::Information, QObject::tr("Solder mask and cover"),
                       QObject::tr("Only the microstrip lines take a solder mask and a cover."));
        return;
    }
    CoatingDialog dialog(window);
    dialog.exec();
}
