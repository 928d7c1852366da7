// Slotline: a slot of width W in a metal layer on one face of a dielectric
// substrate of height H, the other face bare.  No loss is computed.
#pragma once

#include "core/linecal.h"

struct SlotlineResult {
    double impedance;       // ohms
    double effDielConst;    // (lambda0 / lambda_s)^2
    double cutoffThickness; // H / lambda0 of the first surface-wave mode, 0.25 / sqrt(Er - 1)
};

// Closed-form slotline fits; W and H in metres, f in hertz.  Bad inputs raise
// PlainTextError ("W/H must > 0", "Freq must > 0", "H must > 0", "W must > 0"),
// a narrow slot below Er = 2.06 std::domain_error, a fit outside its range the
// checked functions' TP_Exceptions.
SlotlineResult SlotlineKernel(double frequency, double gap, double height, double er);

class SlotlineModel : public LineModel {
  public:
    explicit SlotlineModel(WindowServices& window) : LineModel(window, 2) {}

    double Objective(double x) override;
    void LoadAndSetup() override;
    void SaveSettings() override;
    void Synthesize() override;
    void Analyze() override;
    void CheckParameters() override;
};
