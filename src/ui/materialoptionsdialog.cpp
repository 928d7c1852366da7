#include "ui/materialoptionsdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <optional>

#include "core/materialmodels.h"
#include "quantities/numberformat.h"
#include "ui/tform1.h"

namespace {

void Fill(QComboBox* box, const UnitTable& table, int index) {
    for (const std::string& name : table.Names())
        box->addItem(QString::fromStdString(name));
    box->setCurrentIndex(table.ValidIndex(index));
}

// A model table's names, the current model chosen.
template <class Model>
void FillModels(QComboBox* box, const std::vector<Model>& models, const Model* current) {
    for (const Model& model : models) {
        box->addItem(QString::fromUtf8(model.name));
        if (&model == current) box->setCurrentIndex(box->count() - 1);
    }
}

template <class Model>
const Model* ChosenModel(const QComboBox* box, const std::vector<Model>& models) {
    const int index = box->currentIndex();
    return index >= 0 && index < static_cast<int>(models.size())
               ? &models[static_cast<std::size_t>(index)]
               : &models.front();
}

QWidget* Beside(QWidget* edit, QWidget* unit) {
    auto* pair = new QWidget;
    auto* row = new QHBoxLayout(pair);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(edit, 1);
    row->addWidget(unit);
    return pair;
}

} // namespace

MaterialOptionsDialog::MaterialOptionsDialog(TForm1& window)
    : QDialog(&window), window_(window), frequencyUnit_(window.FrequencyUnitIndex()),
      shown_(window.MaterialOptionsValue()) {
    setWindowTitle(tr("Materials and conductor options"));
    const UnitTables& units = window.Units();

    roughnessEdit = new QLineEdit;
    roughnessUnitBox = new QComboBox;
    Fill(roughnessUnitBox, units.length, window.RoughnessUnit());
    roughnessUnit_ = roughnessUnitBox->currentIndex();
    roughnessModelBox = new QComboBox;
    FillModels(roughnessModelBox, RoughnessModels(), shown_.roughModel);
    dielectricModelBox = new QComboBox;
    FillModels(dielectricModelBox, DielectricModels(), shown_.dkModel);
    referenceEdit = new QLineEdit;
    lowPoleEdit = new QLineEdit;
    highPoleEdit = new QLineEdit;
    frequencyUnitBox = new QComboBox;
    Fill(frequencyUnitBox, units.frequency, frequencyUnit_);
    problemLabel = new QLabel;
    problemLabel->setStyleSheet(QStringLiteral("color: #b00000"));
    problemLabel->setWordWrap(true);

    const double roughFactor = units.length.Factor(roughnessUnitBox->currentIndex());
    roughnessEdit->setText(QString::fromStdString(FormatG(shown_.rough * roughFactor)));

    auto* form = new QFormLayout;
    form->addRow(tr("Surface roughness (RMS)"), Beside(roughnessEdit, roughnessUnitBox));
    form->addRow(tr("Roughness model"), roughnessModelBox);
    form->addRow(tr("Dielectric model"), dielectricModelBox);
    form->addRow(tr("Er and tan d given at"), Beside(referenceEdit, frequencyUnitBox));
    lowPoleLabel_ = new QLabel;
    highPoleLabel_ = new QLabel;
    form->addRow(lowPoleLabel_, lowPoleEdit);
    form->addRow(highPoleLabel_, highPoleEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(problemLabel);
    layout->addWidget(buttons);

    ShowFrequencies();

    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Apply()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(frequencyUnitBox, &QComboBox::currentIndexChanged, this,
            [this] { FrequencyUnitChange(); });
    connect(roughnessUnitBox, &QComboBox::currentIndexChanged, this,
            [this] { RoughnessUnitChange(); });
    connect(dielectricModelBox, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabled(); });
    UpdateEnabled();
}

void MaterialOptionsDialog::ShowFrequencies() {
    const double factor = window_.Units().frequency.Factor(frequencyUnit_);
    const QString unit = QString::fromStdString(window_.Units().frequency.Name(frequencyUnit_));
    lowPoleLabel_->setText(tr("Lowest pole (%1)").arg(unit));
    highPoleLabel_->setText(tr("Highest pole (%1)").arg(unit));
    referenceEdit->setText(QString::fromStdString(FormatG(shown_.fRef * factor)));
    lowPoleEdit->setText(QString::fromStdString(FormatG(shown_.fPoleLow * factor)));
    highPoleEdit->setText(QString::fromStdString(FormatG(shown_.fPoleHigh * factor)));
}

void MaterialOptionsDialog::FrequencyUnitChange() {
    // The numbers follow the unit when they can be read; otherwise they stay.
    const double factor = window_.Units().frequency.Factor(frequencyUnit_);
    try {
        shown_.fRef = window_.ReadNumber(referenceEdit) / factor;
        shown_.fPoleLow = window_.ReadNumber(lowPoleEdit) / factor;
        shown_.fPoleHigh = window_.ReadNumber(highPoleEdit) / factor;
    } catch (const std::exception&) {
    }
    frequencyUnit_ = frequencyUnitBox->currentIndex();
    ShowFrequencies();
}

void MaterialOptionsDialog::RoughnessUnitChange() {
    // The roughness follows the unit when it can be read; otherwise it stays.
    const UnitTable& length = window_.Units().length;
    try {
        const double metres = window_.ReadNumber(roughnessEdit) / length.Factor(roughnessUnit_);
        roughnessEdit->setText(QString::fromStdString(
            FormatG(metres * length.Factor(roughnessUnitBox->currentIndex()))));
    } catch (const std::exception&) {
    }
    roughnessUnit_ = roughnessUnitBox->currentIndex();
}

void MaterialOptionsDialog::UpdateEnabled() {
    const bool wideband =
        ChosenModel(dielectricModelBox, DielectricModels())->VariesWithFrequency();
    for (QWidget* w : {static_cast<QWidget*>(referenceEdit), static_cast<QWidget*>(lowPoleEdit),
                       static_cast<QWidget*>(highPoleEdit)})
        w->setEnabled(wideband);
}

bool MaterialOptionsDialog::Apply() {
    const UnitTables& units = window_.Units();
    MaterialOptions options;
    const auto read = [&](QLineEdit* edit, double factor, const QString& name) {
        double value = 0.0;
        try {
            value = window_.ReadNumber(edit) / factor;
        } catch (const std::exception&) {
            problemLabel->setText(name + tr(" is not a valid number."));
            edit->setFocus();
            return std::optional<double>();
        }
        return std::optional<double>(value);
    };
    const int roughUnit = roughnessUnitBox->currentIndex();
    const double frequencyFactor = units.frequency.Factor(frequencyUnit_);
    const auto rough = read(roughnessEdit, units.length.Factor(roughUnit), tr("The roughness"));
    const auto reference = read(referenceEdit, frequencyFactor, tr("The reference frequency"));
    const auto low = read(lowPoleEdit, frequencyFactor, tr("The lowest pole"));
    const auto high = read(highPoleEdit, frequencyFactor, tr("The highest pole"));
    if (!rough || !reference || !low || !high) return false;
    if (!(*rough >= 0.0)) {
        problemLabel->setText(tr("The roughness must be >= 0."));
        return false;
    }
    if (!(*reference > 0.0) || !(*low > 0.0) || !(*high > *low)) {
        problemLabel->setText(
            tr("The frequencies must be above 0 and the highest pole above the lowest."));
        return false;
    }
    options.rough = *rough;
    options.roughModel = ChosenModel(roughnessModelBox, RoughnessModels());
    options.dkModel = ChosenModel(dielectricModelBox, DielectricModels());
    options.fRef = *reference;
    options.fPoleLow = *low;
    options.fPoleHigh = *high;
    window_.SetMaterialOptions(options, roughUnit);
    problemLabel->clear();
    return true;
}

void EditMaterialOptions(TForm1& window) {
    MaterialOptionsDialog dialog(window);
    dialog.exec();
}
