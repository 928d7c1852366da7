// "Materials and conductor options...": the conductor's surface roughness and
// its model, and the dielectric's frequency model, edited beside the main
// window's fixed layout.  Lengths and frequencies are shown in units of the
// window's tables.
#pragma once

#include <QDialog>

#include "core/lineinputs.h"

class QComboBox;
class QLabel;
class QLineEdit;
class TForm1;

class MaterialOptionsDialog : public QDialog {
    Q_OBJECT

  public:
    // Shows the window's current options.
    explicit MaterialOptionsDialog(TForm1& window);

    // Reads the edits; on success hands the options to the window and
    // returns true, otherwise names the faulty field in the dialog and
    // returns false (the window keeps its options).
    bool Apply();

    QLineEdit* roughnessEdit;
    QComboBox* roughnessUnitBox;
    QComboBox* roughnessModelBox;
    QComboBox* dielectricModelBox;
    QLineEdit* referenceEdit;
    QLineEdit* lowPoleEdit;
    QLineEdit* highPoleEdit;
    QComboBox* frequencyUnitBox;
    QLabel* problemLabel;

  private:
    void ShowFrequencies();
    void FrequencyUnitChange();
    void RoughnessUnitChange();
    void UpdateEnabled();

    QLabel* lowPoleLabel_ = nullptr;
    QLabel* highPoleLabel_ = nullptr;
    TForm1& window_;
    int frequencyUnit_;
    int roughnessUnit_ = 0;
    MaterialOptions shown_; // frequencies as last shown, for a change of unit
};

// Runs the dialog modally for the window (the F8 tool).
void EditMaterialOptions(TForm1& window);
