// Slotline: a slot of width W in a metal layer on one face of a dielectric
// substrate of height H, the other face bare.  No loss is computed.
#pragma once

#include <string>
#include <vector>

#include "core/lineinputs.h"

struct SlotlineResult {
    double impedance;       // ohms
    double effDielConst;    // (lambda0 / lambda_s)^2
    double cutoffThickness; // H / lambda0 of the first surface-wave mode, 0.25 / sqrt(Er - 1)
};

// Closed-form slotline fits; W and H in metres, f in hertz.  Bad inputs raise
// TP_Exceptions ("W/H must > 0", "Freq must > 0", "H must > 0", "W must > 0"),
// a narrow slot below Er = 2.06 a domain error ("Increase Er to at least
// 2.06"), a fit outside its range the checked functions' math error.
SlotlineResult SlotlineKernel(double frequency, double gap, double height, double er);

// The line kernels: G is row 1 (the trial value x), H row 2.  No loss is
// computed, so neither tand nor Rho is read.
namespace slotline {
LineResult Evaluate(const InputsAtFrequency& in, double gap);
double Impedance(const InputsAtFrequency& in, double gap); // for the synthesis scan
void Check(const InputsAtFrequency& in, std::vector<std::string>& warnings);
} // namespace slotline
