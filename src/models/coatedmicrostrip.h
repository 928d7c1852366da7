// Solder mask and metal cover over the single and the edge-coupled
// microstrip: the line kernels and checks of the two descriptor entries.
// Without a coating (Tm = 0, no cover) they are the uncoated lines' own
// kernels and checks, to the last digit; with one, the uncoated answer is
// corrected (coatingmodel.h says how).  All quantities SI.
#pragma once

#include <string>
#include <vector>

#include "core/lineinputs.h"

namespace coatedmicrostrip {
LineResult Evaluate(const InputsAtFrequency& in, double w);
LineResult EvaluateReusing(const InputsAtFrequency& in, double w, CrossSectionTerms& terms);
void Check(const InputsAtFrequency& in, std::vector<std::string>& warnings);
} // namespace coatedmicrostrip

namespace coatedcoupledmicrostrip {
LineResult Evaluate(const InputsAtFrequency& in, double w);
void Check(const InputsAtFrequency& in, std::vector<std::string>& warnings);
} // namespace coatedcoupledmicrostrip
