// The closed-form root of a single line's synthesis: row 1 where the line's
// impedance meets the inputs' target, scanned over the interval its
// descriptor's synthesis rule gives.
#pragma once

#include "core/calculation.h"

struct SynthesisInterval {
    double first;  // where the scan starts (metres)
    double second; // where it ends
    double tolerance;
};

// The rule's interval and tolerance for these inputs.
SynthesisInterval IntervalOf(const SynthesisRule& rule, const InputsAtFrequency& in);

// Raises TP_Exceptions as FindRoot does (code 10001 for no sign change).
// The line must have a synthesis rule.
double SynthesisRoot(const LineCalculation& calculation);
