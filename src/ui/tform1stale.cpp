// Results that no longer belong to the inputs: after an edit to any input or
// a change of tab, the values Analyze or Synthesize gave are drawn dimmed
// with a tooltip that says so; the values themselves stay.  Analyze or
// Synthesize makes them current again.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>

#include "ui/tform1.h"

void TForm1::InstallStaleMarks() {
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        if (!edit->isReadOnly())
            connect(edit, &QLineEdit::textEdited, this, [this, edit] { ShowResultsCurrent(false, edit); });
    for (QComboBox* list : {DielectricsComboBox, ConductorsComboBox})
        connect(list, &QComboBox::activated, this, [this] { ShowResultsCurrent(false); });
    for (QRadioButton* mode : {EvenMode, OddMode})
        connect(mode, &QRadioButton::clicked, this, [this] { ShowResultsCurrent(false); });
    connect(TabControl1, &QTabBar::currentChanged, this, [this] { ShowResultsCurrent(false); });
}

QList<QLineEdit*> TForm1::ResultEdits() const {
    // The underlined labels name what the last action computed.
    QList<QLineEdit*> results{EffDielConstEdit, PropConstantEdit, LossEdit};
    if (ImpedanceLabel->font().underline()) results << ImpedanceEdit << ElectricalLengthEdit;
    if (PhysLengthLabel->font().underline()) results << PhysicalLengthEdit << ParameterEdits[0];
    return results;
}

void TForm1::ShowResultsCurrent(bool current, const QLineEdit* typedInto) {
    resultsCurrent_ = current;
    const QString note = tr("Not computed for these inputs: press Analyze");
    const auto mark = [&](QWidget* shown, bool dim) {
        QPalette colours = shown->palette();
        const QPalette::ColorGroup group = dim ? QPalette::Disabled : QPalette::Active;
        colours.setColor(QPalette::Text, palette().color(group, QPalette::Text));
        colours.setColor(QPalette::WindowText, palette().color(group, QPalette::WindowText));
        shown->setPalette(colours);
        if (dim)
            shown->setToolTip(note);
        else if (shown->toolTip() == note)
            shown->setToolTip(QString());
    };
    const QList<QLineEdit*> results = ResultEdits();
    // Every field that may hold a result, so that one dimmed before the last
    // action changed what the results are comes back too.
    for (QLineEdit* edit : {EffDielConstEdit, PropConstantEdit, LossEdit, ImpedanceEdit,
                            ElectricalLengthEdit, PhysicalLengthEdit, ParameterEdits[0]})
        // What the user types into is an input now, not a result.
        mark(edit, !current && edit != typedInto && results.contains(edit));
    mark(PairLine, !current);
}
