#include "ui/fieldcheckdialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "quantities/numberformat.h"
#include "ui/fieldpicture.h"

namespace {

QString ModeName(fieldcheck::Mode mode) {
    switch (mode) {
    case fieldcheck::Mode::Even:
        return QDialog::tr("Even mode");
    case fieldcheck::Mode::Odd:
        return QDialog::tr("Odd mode");
    default:
        return QString();
    }
}

// Two significant digits: the digits that matter of a small difference,
// and no "-0.00" for one that rounds to nothing.
QString Percent(double value, bool signed_) {
    QString text = QString::fromStdString(FormatSignificant(value, 2));
    if (signed_ && !text.startsWith('-') && text != QLatin1String("0")) text.prepend('+');
    return text + QStringLiteral(" %");
}

QString Hertz(double f) {
    if (f >= 1e9) return QString::asprintf("%g GHz", f / 1e9);
    if (f >= 1e6) return QString::asprintf("%g MHz", f / 1e6);
    return QString::asprintf("%g Hz", f);
}

} // namespace

FieldCheckDialog::FieldCheckDialog(const LineDescriptor& line,
                                   fieldcheck::FieldComparison comparison, QWidget* parent)
    : QDialog(parent), comparison_(std::move(comparison)) {
    setWindowTitle(tr("%1: check with field solver").arg(QString::fromUtf8(line.tabName)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeTable());
    auto* notes = new QLabel(Notes(), this);
    notes->setObjectName("notes");
    notes->setWordWrap(true);
    notes->setTextFormat(Qt::PlainText);
    layout->addWidget(notes);
    if (QWidget* pictures = MakePictures())
        layout->addWidget(pictures, 1);
    else
        layout->addStretch(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* synthesize =
        buttons->addButton(tr("Synthesize with the field solver"), QDialogButtonBox::ActionRole);
    synthesize->setObjectName("synthesize");
    connect(synthesize, &QPushButton::clicked, this, [this] {
        close();
        emit synthesizeRequested();
    });
    layout->addWidget(buttons);
}

QWidget* FieldCheckDialog::MakeTable() {
    const auto& modes = comparison_.modes;
    table_ = new QTableWidget(static_cast<int>(2 * modes.size()), 4, this);
    table_->setObjectName("comparison");
    table_->setHorizontalHeaderLabels({tr("Closed form"),
                                       comparison_.solve.exact ? tr("Exact") : tr("Field solution"),
                                       tr("Difference"), tr("Estimated error")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setFocusPolicy(Qt::NoFocus);
    // Each column as wide as its header and cells at any scale; the table
    // (and so the dialog) as wide as its columns.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    QStringList rows;
    int row = 0;
    auto put = [&](const QString& name, double closed, double field, double difference,
                   double error, int digits) {
        rows << name;
        const bool compared = comparison_.HasClosedForm();
        const QString none = QStringLiteral("—");
        const QStringList cells{compared ? QString::number(closed, 'f', digits) : none,
                                QString::number(field, 'f', digits),
                                compared ? Percent(difference, true) : none,
                                comparison_.solve.exact ? tr("exact")
                                                        : QString("±") + Percent(error, false)};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, column, item);
        }
        ++row;
    };
    for (const fieldcheck::ModeComparison& m : modes) {
        const QString prefix = ModeName(m.mode);
        const QString space = prefix.isEmpty() ? QString() : prefix + "  ";
        put(space + tr("Z0 (Ω)"), m.closedForm.impedance, m.field.impedance,
            m.ImpedanceDifferencePct(), m.impedanceErrorPct, 2);
        put(space + tr("eeff"), m.closedForm.eeff, m.field.eeff, m.EeffDifferencePct(),
            m.eeffErrorPct, 3);
    }
    table_->setVerticalHeaderLabels(rows);
    table_->resizeRowsToContents();
    table_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    table_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return table_;
}

QString FieldCheckDialog::Notes() const {
    const auto& solve = comparison_.solve;
    QStringList notes;
    if (!comparison_.Reliable())
        notes << tr("The field solution is unreliable: %1.")
                     .arg(QString::fromStdString(solve.unreliable));
    if (solve.exact) {
        notes << tr("The coaxial field is known exactly: no mesh is needed.");
    } else {
        notes << tr("Field solution: %1 mesh cells (finer of two meshes, Richardson "
                    "extrapolation), %2 s.")
                     .arg(solve.mesh_cells)
                     .arg(solve.seconds, 0, 'f', 2);
    }
    if (!comparison_.HasClosedForm()) {
        notes << tr("The closed form has no answer here: %1")
                     .arg(QString::fromStdString(comparison_.closedFormError));
        return notes.join(' ');
    }
    notes << tr("Closed form at %1, its quasi-static limit; difference = closed form minus "
                "field value.")
                 .arg(Hertz(fieldcheck::kQuasiStaticFrequency));
    QStringList atFrequency;
    for (const fieldcheck::ModeComparison& m : comparison_.modes) {
        const QString prefix = ModeName(m.mode);
        atFrequency << (prefix.isEmpty() ? QString() : prefix.toLower() + " ") +
                           tr("Z0 = %1 Ω, eeff = %2")
                               .arg(m.closedFormAtFrequency.impedance, 0, 'f', 2)
                               .arg(m.closedFormAtFrequency.eeff, 0, 'f', 3);
    }
    notes << tr("At the line's %1 the closed form gives %2; the field solution is "
                "quasi-static and holds no dispersion.")
                 .arg(Hertz(comparison_.frequency), atFrequency.join("; "));
    return notes.join(' ');
}

QWidget* FieldCheckDialog::MakePictures() {
    const auto& modes = comparison_.solve.modes;
    if (comparison_.solve.exact || modes.empty() || modes.front().potential.values.empty())
        return nullptr;
    if (modes.size() == 1) return new FieldPicture(fieldcheck::PictureOf(comparison_, 0), this);
    auto* tabs = new QTabWidget(this);
    for (std::size_t m = 0; m < modes.size(); ++m)
        tabs->addTab(new FieldPicture(fieldcheck::PictureOf(comparison_, m), tabs),
                     ModeName(modes[m].mode));
    return tabs;
}
