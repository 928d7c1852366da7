// A line's loss split into its conductor and dielectric parts, and the skin
// depth of its conductor: what the loss field's tooltip, tavrel-calc and a
// sweep show beside the total.
#pragma once

#include "core/linedescriptor.h"

// The line at x (EvaluateChecked) with both loss parts filled in.  Where the
// kernel does not separate them, each part is the loss of one more
// evaluation: the conductor part with a loss-free dielectric (tand = 0), the
// dielectric part with a perfect conductor (Rho = 0).  For a line whose
// propagation constant mixes the two (the microstrip's complex line
// constants) the parts then add up to the total only to second order in the
// losses: within 1e-3 of the total for lines whose loss per radian is small
// (alpha / beta below 0.01), which is every line the formulas are meant for.
// A line that shows no loss keeps both parts at 0.
// A rough conductor (in.rough > 0) multiplies the conductor part by the
// roughness factor K of roughness.h, the total growing by the same amount;
// with rough = 0 the kernel's numbers are returned untouched.
LineResult EvaluateWithLossParts(const LineDescriptor& line, const InputsAtFrequency& in, double x);

// Skin depth of the conductor at the inputs' frequency, metres: sqrt(rho /
// (pi f mu0)) with rho the resistivity (Rho times gold's).  Infinite for a
// frequency of zero or below; zero for a perfect conductor (Rho = 0).
double SkinDepth(const LineInputs& in);
