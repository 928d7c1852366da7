// The window's synthesis tools beside its Synthesize button: the coupled
// synthesis dialog over the active coupled line, and synthesis by the field
// solver; the solved dimensions are written into the rows.
#include <QComboBox>

#include "fieldcheck/fieldsolved.h"
#include "quantities/numberformat.h"
#include "ui/messagebox.h"
#include "ui/pairsynthesisdialog.h"
#include "ui/tform1.h"

void TForm1::OpenPairSynthesis(int engine) {
    LineModel* model = ModelOfTab(CurrentTab());
    if (model == nullptr) return;
    if (!model->Line().coupled) {
        ShowMessageBox(this, BoxKind::Information, tr("Coupled synthesis"),
                       tr("Coupled synthesis solves the coupled lines: choose the Coupled "
                          "MSLine or the Coupled Stripline tab first."));
        return;
    }
    const LineInputs inputs = model->ReadInputs();
    const UnitEntry& unit =
        units_.length.Entries().at(static_cast<std::size_t>(units_.length.ValidIndex(RowUnit(1))));
    PairSynthesisDialog dialog(model->Line(), inputs, unit, this);
    dialog.engineBox->setCurrentIndex(engine);
    if (dialog.exec() != QDialog::Accepted || !dialog.Solved()) return;
    model->SetParameter(dialog.Solved()->w, 1);
    model->SetParameter(dialog.Solved()->s, 2);
    AnalyzeButtonClick();
}

void TForm1::SynthesizeWithFieldSolver() {
    LineModel* model = ModelOfTab(CurrentTab());
    if (model == nullptr) return;
    if (model->Line().coupled) {
        OpenPairSynthesis(PairSynthesisDialog::FieldSolver);
        return;
    }
    fieldcheck::FieldLineSynthesis solved;
    {
        const BusyScope busy(*model);
        solved = fieldcheck::FieldSynthesize(model->Line(), model->ReadInputs());
    }
    model->SetParameter(solved.x, 1);
    AnalyzeButtonClick();
    const fieldcheck::FieldSolved& field = solved.solved;
    const auto number = [](double x) { return QString::fromStdString(FormatG(x)); };
    ShowMessageBox(
        this, BoxKind::Information, tr("Synthesize with the field solver"),
        tr("%1 written to the window.\nThe field solver gives Z0 = %2 Ohms, eeff = %3 "
           "(estimated error %4 %, %5 solves, %6 s); the window shows the closed form there.")
            .arg(QString::fromStdString(model->Line().rowLabels.front()),
                 number(field.answer.result.impedance), number(field.answer.result.eeff),
                 number(field.errorPct), QString::number(field.solves), number(field.seconds)));
}
