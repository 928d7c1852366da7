// A line's loss split into its conductor and dielectric parts, and the skin
// depth of its conductor: what the loss field's tooltip, tavrel-calc and a
// sweep show beside the total.
#pragma once

#include "core/linedescriptor.h"

// The line at x (EvaluateChecked) with both loss parts filled in: for a
// line with line constants the values and parts come from R, L, G, C of one
// evaluation (lineconstants.h); other lines' kernels give their parts
// themselves.  A line that shows no loss keeps both parts at 0.
// A rough conductor (in.rough > 0) multiplies the conductor part by the
// roughness factor K of roughness.h, the total growing by the same amount;
// with rough = 0 the kernel's numbers are returned untouched.
LineResult EvaluateWithLossParts(const LineDescriptor& line, const InputsAtFrequency& in, double x,
                                 CrossSectionTerms* terms = nullptr);

// Skin depth of the conductor at the inputs' frequency, metres: sqrt(rho /
// (pi f mu0)) with rho the resistivity (Rho times gold's).  Infinite for a
// frequency of zero or below; zero for a perfect conductor (Rho = 0).
double SkinDepth(const LineInputs& in);
