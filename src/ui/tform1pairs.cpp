// The window's coupled-synthesis tool: the dialog over the active coupled
// line, and the solved W and S written into its rows.
#include "ui/messagebox.h"
#include "ui/pairsynthesisdialog.h"
#include "ui/tform1.h"

void TForm1::OpenPairSynthesis() {
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
    if (dialog.exec() != QDialog::Accepted || !dialog.Solved()) return;
    model->SetParameter(dialog.Solved()->w, 1);
    model->SetParameter(dialog.Solved()->s, 2);
    AnalyzeButtonClick();
}
