// The sweep window's one contact with the main window: the active line, its
// inputs read once and the units they are shown in.
#include "ui/sweepwindow.h"
#include "ui/tform1.h"

SweepWindow* OpenSweepWindow(TForm1& form) {
    LineModel* model = form.ModelOfTab(form.CurrentTab());
    if (model == nullptr) return nullptr;
    const UnitTables& units = form.Units();
    SweepSetup setup;
    setup.line = &model->Line();
    setup.inputs = model->ReadInputs();
    setup.inputs.length = model->GetPhysicalLength();
    const auto entry = [](const UnitTable& table, int index) {
        return UnitEntry{table.Name(index), table.Factor(index)};
    };
    setup.frequencyUnit = entry(units.frequency, form.FrequencyUnitIndex());
    setup.conductivityUnit = entry(units.conductivity, form.ConductivityUnitIndex());
    setup.lossUnit = entry(units.loss, form.LossUnitIndex());
    for (int row = 1; row <= setup.line->RowCount(); ++row)
        setup.rowUnits.push_back(entry(units.length, form.RowUnitIndex(row)));
    auto* window = new SweepWindow(setup, &form);
    window->show();
    return window;
}
