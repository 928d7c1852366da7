// Until the one calculation step (core/calculation.h) is built, these call
// what it will call; then MaterialsApplied becomes
// LineCalculation(line, in).Inputs() and ClosedForm CalculateLine(line, in,
// in.Row(1)) with its result and ErrorText().
#include "fieldcheck/closedform.h"

#include "core/linecal.h"
#include "core/widebanddielectric.h"
#include "numeric/tpexceptions.h"

namespace fieldcheck {

InputsAtFrequency MaterialsApplied(const LineInputs& in) {
    return AtFrequency(in);
}

ClosedFormAnswer ClosedForm(const LineDescriptor& line, const LineInputs& in) {
    ClosedFormAnswer answer;
    try {
        // No model need have been built before a field check (the coplanar
        // kernels are bound to their library when one is).
        if (line.prepare != nullptr) line.prepare();
        const InputsAtFrequency at = AtFrequency(in);
        answer.result = EvaluateChecked(line, at, at.Row(1));
    } catch (...) {
        answer.error = CurrentErrorText("Unknown calculation error");
    }
    return answer;
}

} // namespace fieldcheck
