// The lines under the results, each shown only where it has something to
// say, so that the designed layout stays as it is elsewhere: the pair figures
// of a coupled line (Zdiff, Zcomm and the coupling, whatever mode the fields
// show) and the material models in effect.  The window grows by the lines
// shown, and the warning tree moves down below them.
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include "core/materialmodels.h"
#include "quantities/numberformat.h"
#include "ui/tform1.h"

namespace {

constexpr int kPanelBottom = 353; // Panel1's lower edge in the designed layout
constexpr int kTreeTop = 356;
constexpr int kInfoLineHeight = 16;

QLabel* MakeInfoLine(QWidget* parent, const QString& name) {
    auto* line = new QLabel(parent);
    line->setObjectName(name);
    // Placed from the start (FitHeight moves it), so that showing it does not
    // first lay out its text to size it.
    line->setGeometry(10, kPanelBottom, TForm1::kClientWidth - 20, kInfoLineHeight);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    line->hide();
    return line;
}

} // namespace

void TForm1::CreateInfoLines() {
    PairLine = MakeInfoLine(this, QStringLiteral("PairLine"));
    PairLine->setText(tr("Zdiff, Zcomm and the coupling: press Analyze"));
    ModelsLine = MakeInfoLine(this, QStringLiteral("ModelsLine"));
}

void TForm1::FitHeight() {
    if (layoutPending) return; // the designed heights are measured first
    int top = kPanelBottom;
    for (QLabel* line : {PairLine, ModelsLine}) {
        if (line->isHidden()) continue;
        line->setGeometry(10, top, kClientWidth - 20, kInfoLineHeight);
        top += kInfoLineHeight;
    }
    const int extra = top - kPanelBottom;
    TreeView1->move(0, kTreeTop + extra);
    if (body_ != nullptr) body_->resize(kClientWidth, kClientHeight + extra);
    setFixedHeight((TreeView1->isHidden() ? shortHeight : fullHeight) + extra);
}

void TForm1::ShowPairLine(bool coupled) {
    PairLine->setVisible(coupled);
    FitHeight();
}

void TForm1::ShowPairFigures(bool valid) {
    LineModel* model = ModelOfTab(CurrentTab());
    if (!valid || model == nullptr || !model->Line().coupled) return;
    PairLine->setText(UnfieldedResults(*model, ResultFields()).join(QStringLiteral("      ")));
}

QString TForm1::MaterialModelsShown() const {
    LineInputs in;
    static_cast<MaterialOptions&>(in) = materialOptions_;
    try {
        in.er = ReadNumber(DielConstantEdit);
    } catch (const ConversionError&) {
        return ModelsLine->text(); // Er is being typed: the line stays as it was
    }
    QString text = QString::fromStdString(MaterialModelsText(in));
    const LineModel* model = ModelOfTab(CurrentTab());
    if (model != nullptr && model->Line().coated && coating_.Present()) {
        const UnitEntry unit = units_.length.Entries().at(
            static_cast<std::size_t>(units_.length.ValidIndex(RowUnitIndex(1))));
        const auto length = [&](double metres) {
            return QString::fromStdString(FormatG(metres * unit.factor) + " " + unit.name);
        };
        QStringList parts;
        if (coating_.tm > 0.0)
            parts << tr("Solder mask %1, Er %2, tand %3")
                         .arg(length(coating_.tm), QString::fromStdString(FormatG(coating_.erm)),
                              QString::fromStdString(FormatG(coating_.tandm)));
        if (coating_.hc > 0.0) parts << tr("cover %1 above the substrate").arg(length(coating_.hc));
        text += (text.isEmpty() ? QString() : QStringLiteral("; ")) + parts.join(QStringLiteral("; "));
    }
    return text;
}

void TForm1::ShowMaterialModels() {
    const QString text = MaterialModelsShown();
    ModelsLine->setText(text);
    ModelsLine->setVisible(!text.isEmpty());
    FitHeight();
}
