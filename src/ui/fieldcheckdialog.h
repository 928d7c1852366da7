// The answer of the field-solver check: the closed-form and field values of
// the active line side by side (Z0 and eeff, both modes of a coupled line),
// their differences, the field solution's error estimate, its mesh and time,
// and a picture of the cross-section with its equipotentials.
#pragma once

#include <QDialog>

#include "core/linedescriptor.h"
#include "fieldcheck/fieldcomparison.h"

class QTableWidget;

class FieldCheckDialog : public QDialog {
    Q_OBJECT

  public:
    FieldCheckDialog(const LineDescriptor& line, fieldcheck::FieldComparison comparison,
                     QWidget* parent = nullptr);

    const fieldcheck::FieldComparison& Comparison() const { return comparison_; }
    // Columns of the table, in order.
    enum Column { ClosedForm, Field, Difference, EstimatedError };
    QTableWidget* Table() const { return table_; }

  signals:
    // "Synthesize with the field solver": the dialog closes first.
    void synthesizeRequested();

  private:
    QWidget* MakeTable();
    QWidget* MakePictures();
    QString Notes() const;

    fieldcheck::FieldComparison comparison_;
    QTableWidget* table_ = nullptr;
};
