#include "ui/pairsynthesisdialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

#include "fieldcheck/fieldsolved.h"
#include "quantities/numberformat.h"

namespace {

constexpr PairFigure kFigures[] = {PairFigure::Zdiff, PairFigure::Zcomm, PairFigure::Zeven,
                                   PairFigure::Zodd};

QComboBox* FigureBox(int index) {
    auto* box = new QComboBox;
    for (PairFigure figure : kFigures)
        box->addItem(QString::fromLatin1(PairFigureName(figure)));
    box->setCurrentIndex(index);
    return box;
}

// "." first, then the user's locale, as the main window reads numbers.
std::optional<double> ReadOhms(const QLineEdit* edit) {
    if (auto value = ParseWholeNumber(edit->text().trimmed().toStdString())) return value;
    bool ok = false;
    const double value = QLocale().toDouble(edit->text().trimmed(), &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

QString Number(double x) {
    return QString::fromStdString(FormatG(x));
}

} // namespace

PairSynthesisDialog::PairSynthesisDialog(const LineDescriptor& line, const LineInputs& inputs,
                                         const UnitEntry& lengthUnit, QWidget* parent)
    : QDialog(parent), line_(line), inputs_(inputs), lengthUnit_(lengthUnit) {
    setWindowTitle(tr("Coupled synthesis - %1").arg(QString::fromLatin1(line.tabName)));
    engineBox = new QComboBox;
    engineBox->addItems({tr("Closed form"), tr("Field solver (slower, for where the closed form "
                                               "runs out)")});
    solveBox = new QComboBox;
    solveBox->addItems({tr("W and S for both targets"),
                        tr("W at S = %1 for the first target").arg(Length(inputs.Row(2))),
                        tr("S at W = %1 for the first target").arg(Length(inputs.Row(1)))});
    firstFigure = FigureBox(0);
    firstValue = new QLineEdit(QStringLiteral("100"));
    secondFigure = FigureBox(1);
    secondValue = new QLineEdit(QStringLiteral("30"));
    solveButton = new QPushButton(tr("Solve"));
    solveButton->setDefault(true); // Enter in a target solves
    resultLabel = new QLabel;
    resultLabel->setWordWrap(true);
    resultLabel->setMinimumWidth(440);
    // Room for the solution's three lines or a long message from the start.
    resultLabel->setMinimumHeight(4 * resultLabel->fontMetrics().lineSpacing());
    resultLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    resultLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Write W and S to the window"));

    const auto targetRow = [](QComboBox* figure, QLineEdit* value) {
        auto* row = new QHBoxLayout;
        row->addWidget(figure);
        row->addWidget(value);
        row->addWidget(new QLabel(QStringLiteral("Ohms")));
        return row;
    };
    auto* form = new QFormLayout;
    form->addRow(tr("Engine"), engineBox);
    form->addRow(tr("Solve"), solveBox);
    form->addRow(tr("First target"), targetRow(firstFigure, firstValue));
    form->addRow(tr("Second target"), targetRow(secondFigure, secondValue));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(solveButton, 0, Qt::AlignLeft);
    layout->addWidget(resultLabel);
    layout->addWidget(buttons);

    connect(solveButton, &QPushButton::clicked, this, [this] { Solve(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(solveBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        secondFigure->setEnabled(index == 0);
        secondValue->setEnabled(index == 0);
        Forget();
    });
    for (QComboBox* box : {engineBox, firstFigure, secondFigure})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { Forget(); });
    for (QLineEdit* edit : {firstValue, secondValue})
        connect(edit, &QLineEdit::textEdited, this, [this] { Forget(); });
    Forget();
}

void PairSynthesisDialog::Forget() {
    solved_.reset();
    buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
}

QString PairSynthesisDialog::Length(double metres) const {
    return Number(metres * lengthUnit_.factor) + QLatin1Char(' ') +
           QString::fromStdString(lengthUnit_.name);
}

void PairSynthesisDialog::Solve() {
    Forget();
    const PairSolve solve = solveBox->currentIndex() == 0   ? PairSolve::WS
                            : solveBox->currentIndex() == 1 ? PairSolve::W
                                                            : PairSolve::S;
    std::vector<PairTarget> targets;
    for (const auto& [figure, value] :
         {std::pair{firstFigure, firstValue}, std::pair{secondFigure, secondValue}}) {
        if (targets.size() == 1 && solve != PairSolve::WS) break;
        const std::optional<double> ohms = ReadOhms(value);
        if (!ohms) {
            resultLabel->setText(tr("'%1' is not a number.").arg(value->text()));
            return;
        }
        targets.push_back({kFigures[figure->currentIndex()], *ohms});
    }
    try {
        QString engine;
        PairSynthesis solved;
        if (engineBox->currentIndex() == FieldSolver) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            struct Restore {
                ~Restore() { QApplication::restoreOverrideCursor(); }
            } restore;
            const auto field = fieldcheck::FieldSynthesizePair(line_, inputs_, targets, solve);
            solved = {field.w, field.s, field.solved.answer.result};
            engine = tr("\nField solver: estimated error %1 %, %2 solves, %3 s")
                         .arg(Number(field.solved.errorPct), QString::number(field.solved.solves),
                              Number(field.solved.seconds));
        } else {
            solved = SynthesizePair(line_, inputs_, targets, solve);
        }
        const DifferentialFigures figures = PairFigures(solved.result);
        QString coupling = tr("none");
        if (figures.couplingDb) coupling = Number(*figures.couplingDb) + QStringLiteral(" dB");
        resultLabel->setText(
            tr("W = %1, S = %2\nZdiff %3 Ohms, Zcomm %4 Ohms, Zeven %5 Ohms, Zodd %6 Ohms\n"
               "Coupling %7%8")
                .arg(Length(solved.w), Length(solved.s), Number(figures.zdiff),
                     Number(figures.zcomm), Number(solved.result.even.impedance),
                     Number(solved.result.odd.impedance), coupling, engine));
        solved_ = solved;
        buttons->button(QDialogButtonBox::Ok)->setEnabled(true);
    } catch (const std::exception& e) {
        resultLabel->setText(QString::fromStdString(e.what()));
    }
}
