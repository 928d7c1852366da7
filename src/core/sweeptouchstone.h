// A frequency sweep as a Touchstone file of the line section as analysed:
// per point Zc = the line's impedance and gamma = alpha + j 2 pi f
// sqrt(eeff) / c, over the section's physical length; a coupled line from
// both its modes.  The comments name the line, its inputs and the material
// models, and for a pair the port order.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/sweep.h"

// ".s4p" for a coupled line, ".s2p" for the others.
std::string TouchstoneExtension(const LineDescriptor& line);

// Raises std::invalid_argument (nothing written) for a sweep whose variable
// is not the frequency, a point without a result (named with its frequency),
// repeated frequencies, or a length or zRef that is not above zero.  A sweep
// run downwards is written upwards.
void WriteSweepTouchstone(std::ostream& out, const LineDescriptor& line, const LineInputs& inputs,
                          const SweepVariable& variable, const std::vector<SweepPoint>& points,
                          double zRef);
