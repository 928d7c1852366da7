// Rectangular waveguide: inner width a (row 1) and height b (row 2), filled
// with the dielectric, run in its dominant TE10 mode.  Not a TEM line: the
// impedance is the TE10 wave impedance, eeff is (beta / k0)^2, and below the
// TE10 cut-off there is no answer at all.
#pragma once

#include <string>
#include <vector>

#include "core/linedescriptor.h"

// Cut-off of the TE or TM mode (m, n), hertz.
double WaveguideCutoff(int m, int n, double a, double b, double er);

namespace waveguide {
// a is the trial value x, b row 2.  The TE10 impedance does not depend on b:
// a synthesis of a scales b with it (b/a held).
LineResult Evaluate(const InputsAtFrequency& in, double a);
double Impedance(const InputsAtFrequency& in, double a);
void Check(const InputsAtFrequency& in, std::vector<std::string>& warnings);
// The six modes of lowest cut-off, lowest first.
std::vector<GuideMode> Modes(const InputsAtFrequency& in);
} // namespace waveguide
