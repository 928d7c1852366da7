// Round coaxial line: inner conductor of diameter Di centred in an outer
// conductor of inner diameter Do, the space filled with the dielectric.
#pragma once

#include "core/linecal.h"

struct CoaxResult {
    double impedance;  // ohms
    double loss;       // nepers per metre, conductor plus dielectric
};

// TEM line kernel; diameters in metres, Rho relative to gold, f in hertz.
CoaxResult CoaxLineKernel(double outerDiameter, double innerDiameter, double er, double rho,
                          double lossTangent, double frequency);

// Cut-off of the first higher-order mode, TE11, in hertz: its wavelength in
// the dielectric is about the mean circumference, pi (Di + Do) / 2.  Above it
// the line is multimode.
double CoaxTe11Cutoff(double outerDiameter, double innerDiameter, double er);

class CoaxModel : public LineModel {
public:
    explicit CoaxModel(WindowServices& window) : LineModel(window, 2) {}

    double Objective(double x) override;
    void LoadAndSetup() override;
    void SaveSettings() override;
    void Synthesize() override;
    void Analyze() override;
    void CheckParameters() override;
};
