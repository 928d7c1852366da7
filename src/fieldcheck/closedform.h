// The closed form beside a field solution, through the one calculation step.
#pragma once

#include <string>
#include <vector>

#include "core/linedescriptor.h"
#include "core/lineinputs.h"

namespace fieldcheck {

struct ClosedFormAnswer {
    LineResult result;
    std::string error; // empty when the result holds
};

// The line's inputs with the material models applied at their frequency;
// raises an invalid model's error.
InputsAtFrequency MaterialsApplied(const LineDescriptor& line, const LineInputs& in);

// The line at its row 1, as an analysis computes it (its check, loss parts
// and plausibility rule included). Never raises.
ClosedFormAnswer ClosedForm(const LineDescriptor& line, const LineInputs& in);

} // namespace fieldcheck
