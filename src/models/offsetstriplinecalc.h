// Offset stripline, single and edge-coupled: strips of width W and thickness
// T between two ground planes, H1 of dielectric Er below the strip and H2
// above it (of Er2 where given: a core below, a prepreg above).
#pragma once

#include <string>
#include <vector>

#include "core/lineinputs.h"

// Rows of the single line: W (row 1, solved for), H1, H2, T, Er2 (0: Er).
namespace offsetstripline {
LineResult Evaluate(const InputsAtFrequency& in, double w);
double Impedance(const InputsAtFrequency& in, double w);
void Check(const InputsAtFrequency& in, std::vector<std::string>& warnings);
} // namespace offsetstripline

// Rows of the pair: W (row 1), S, H1, H2, T, Er2 (0: Er); both modes.
namespace offsetcoupledstripline {
LineResult Evaluate(const InputsAtFrequency& in, double w);
void Check(const InputsAtFrequency& in, std::vector<std::string>& warnings);
} // namespace offsetcoupledstripline

// Broadside-coupled stripline: two strips of width W and thickness T stacked
// with S between them, centred between planes B apart.  Rows W (row 1), S, B,
// T; both modes, the result's own values those of in.mode.
namespace broadsidestripline {
LineResult Evaluate(const InputsAtFrequency& in, double w);
void Check(const InputsAtFrequency& in, std::vector<std::string>& warnings);
} // namespace broadsidestripline
