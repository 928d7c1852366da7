// Both go through the one calculation step (core/calculation.h).
#include "fieldcheck/closedform.h"

#include "core/calculation.h"
#include "numeric/tpexceptions.h"

namespace fieldcheck {

InputsAtFrequency MaterialsApplied(const LineDescriptor& line, const LineInputs& in) {
    return LineCalculation(line, in).Inputs();
}

ClosedFormAnswer ClosedForm(const LineDescriptor& line, const LineInputs& in) {
    ClosedFormAnswer closed;
    try {
        // No model need have been built before a field check (the coplanar
        // kernels are bound to their library when one is).
        if (line.prepare != nullptr) line.prepare();
    } catch (...) {
        closed.error = CurrentErrorText("Unknown calculation error");
        return closed;
    }
    const LineAnswer answer = CalculateLine(line, in, in.Row(1));
    if (answer.Ok())
        closed.result = answer.result;
    else
        closed.error = answer.ErrorText();
    return closed;
}

} // namespace fieldcheck
