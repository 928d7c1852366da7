// Round coaxial line: inner conductor of diameter Di centred in an outer
// conductor of inner diameter Do, the space filled with the dielectric.
#pragma once

#include <string>
#include <vector>

#include "core/lineinputs.h"

struct CoaxResult {
    double impedance;      // ohms
    double loss;           // nepers per metre, conductor plus dielectric
    double conductorLoss;  // nepers per metre
    double dielectricLoss; // nepers per metre
};

// TEM line kernel; diameters in metres, Rho relative to gold, f in hertz.
CoaxResult CoaxLineKernel(double outerDiameter, double innerDiameter, double er, double rho,
                          double lossTangent, double frequency);

// The line kernels: Di is row 1 (the trial value x), Do row 2.  Diameters
// out of order, equal or not positive are domain errors.
namespace coax {
LineResult Evaluate(const InputsAtFrequency& in, double innerDiameter);
double Impedance(const InputsAtFrequency& in, double innerDiameter); // for the synthesis scan
void Check(const InputsAtFrequency& in, std::vector<std::string>& warnings);
} // namespace coax

// Cut-off of the first higher-order mode, TE11, in hertz, from the exact
// root of the Bessel cross-product (coaxte11cutoff.cpp).  Above it the line
// is multimode.
double CoaxTe11Cutoff(double outerDiameter, double innerDiameter, double er);
// The thin-gap estimate from kc = 2/(a + b), free of Bessel functions; the
// exact cut-off lies between 0.92 and 1.03 times it.
double CoaxTe11ThinGapCutoff(double outerDiameter, double innerDiameter, double er);
// The root x = kc a of that cross-product for the ratio c = Do/Di > 1.
double CoaxTe11Root(double diameterRatio);
