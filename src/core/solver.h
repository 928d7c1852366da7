// Synthesis solver: an equal-step scan of [first, second] for a sign change
// of the objective, then Brent refinement.  The objective is any callable
// double(double); the solver returns the root and leaves nothing behind.
#pragma once

#include "numeric/functionref.h"

// True when the objective can be evaluated at x (it raised no calculation
// error or floating-point fault there).
bool TryObjective(ObjectiveRef objective, double x);
double FindRoot(ObjectiveRef objective, double first, double second, double tolerance, int steps);
double SolveBrent(ObjectiveRef objective, double a, double b, double tolerance);
