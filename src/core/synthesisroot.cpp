#include "core/synthesisroot.h"

#include <algorithm>

#include "core/solver.h"

SynthesisInterval IntervalOf(const SynthesisRule& rule, const InputsAtFrequency& in) {
    const double reference = in.Row(rule.referenceRow);
    return {rule.first * reference, rule.second * reference,
            rule.toleranceScales ? std::min(rule.tolerance, rule.tolerance * reference)
                                 : rule.tolerance};
}

double SynthesisRoot(const LineCalculation& calculation) {
    const SynthesisRule& rule = *calculation.Line().synthesis;
    const SynthesisInterval interval = IntervalOf(rule, calculation.Inputs());
    return FindRoot([&](double x) { return calculation.Objective(x); }, interval.first,
                    interval.second, interval.tolerance, rule.steps);
}
