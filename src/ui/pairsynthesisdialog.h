// The coupled-synthesis dialog: targets among Zdiff, Zcomm, Zeven and Zodd,
// what to solve (W, S or both), the solved dimensions and the figures they
// achieve.  The window writes the solution into its rows when the user
// accepts.
#pragma once

#include <QDialog>
#include <optional>

#include "core/coupledsynthesis.h"
#include "quantities/units.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

class PairSynthesisDialog : public QDialog {
    Q_OBJECT

  public:
    // `line` is a coupled line and `inputs` the window's inputs (the W or S
    // not solved is kept); lengths are shown in `lengthUnit`.
    PairSynthesisDialog(const LineDescriptor& line, const LineInputs& inputs,
                        const UnitEntry& lengthUnit, QWidget* parent = nullptr);

    // The engine that solves: the closed form, or the field solver.
    enum Engine { ClosedForm, FieldSolver };

    // Solves for the targets entered; shows the solution or why there is none.
    void Solve();
    // The last solution, while the targets are those it was solved for.
    const std::optional<PairSynthesis>& Solved() const { return solved_; }

    QComboBox* engineBox;
    QComboBox* solveBox;
    QComboBox* firstFigure;
    QLineEdit* firstValue;
    QComboBox* secondFigure;
    QLineEdit* secondValue;
    QPushButton* solveButton;
    QLabel* resultLabel;
    QDialogButtonBox* buttons;

  private:
    void Forget();
    QString Length(double metres) const;

    const LineDescriptor& line_;
    LineInputs inputs_;
    UnitEntry lengthUnit_;
    std::optional<PairSynthesis> solved_;
};
