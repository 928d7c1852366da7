// Answers of the one calculation step built from what a consumer holds
// today (a model's last result and inputs, a sweep point), so that the
// reports read every value from a LineAnswer.  Where a consumer gets its
// answer from LineCalculation itself, its function here goes.
#pragma once

#include "core/calculation.h"
#include "core/sweep.h"

// The answer an action gave: its result and the inputs it read (the
// material models applied here; a failure to apply them is the answer's).
LineAnswer AnswerOf(const LineResult& result, const LineInputs& read);

// A sweep point's answer: its values, warnings and error (no inputs).
LineAnswer AnswerOf(const SweepPoint& point);
