// The sweep window's one contact with the main window: the active line, its
// inputs read once and the units they are shown in, handed to the sweep
// library, which is loaded the first time it is needed.
#include "ui/sweeptool.h"

#include <QWidget>
#include <stdexcept>
#include <string>

#include "models/sharedlibrary.h"
#include "ui/tform1.h"

namespace {

// Loaded once, kept until the process ends.
NewSweepWindowFunction SweepLibrary() {
    static const NewSweepWindowFunction create = [] {
        void* library = LoadSharedLibrary(SharedLibraryFileName(kSweepLibraryName));
        return library == nullptr ? nullptr
                                  : reinterpret_cast<NewSweepWindowFunction>(
                                        FindSharedLibraryExport(library, kNewSweepWindowExport));
    }();
    if (create == nullptr)
        throw std::runtime_error("The sweep window cannot open: its library " +
                                 SharedLibraryFileName(kSweepLibraryName) +
                                 " is missing beside the program or damaged.");
    return create;
}

} // namespace

QWidget* OpenSweepWindow(TForm1& form) {
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
    QWidget* window = SweepLibrary()(&setup, &form);
    window->show();
    return window;
}
