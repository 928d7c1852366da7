// "Solder mask and cover...": the coating of a microstrip line (mask
// thickness, permittivity and loss tangent, cover height), edited beside the
// main window's fixed layout.  Thickness and height are shown in the unit of
// the line's first row; 0 is no mask, no cover.
#pragma once

#include <QDialog>

#include "core/lineinputs.h"

class QLabel;
class QLineEdit;
class TForm1;

class CoatingDialog : public QDialog {
    Q_OBJECT

  public:
    explicit CoatingDialog(TForm1& window);

    // Reads the edits against the input rules; on success hands the coating
    // to the window and returns true, otherwise names the faulty field and
    // returns false (the window keeps its coating).
    bool Apply();

    QLineEdit* thicknessEdit;
    QLineEdit* maskErEdit;
    QLineEdit* maskTandEdit;
    QLineEdit* coverEdit;
    QLabel* problemLabel;

  private:
    TForm1& window_;
    double lengthFactor_; // metres to the shown unit
};

// Runs the dialog modally for the window; a line without a coating says so.
void EditCoating(TForm1& window);
