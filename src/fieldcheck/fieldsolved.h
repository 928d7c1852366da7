// Analysis and synthesis with the field solver answering instead of the
// closed form (solver=field): the same inputs, material models applied at the
// line's frequency, the line's cross-section solved quasi-statically.  The
// field gives each mode's impedance and effective dielectric constant; the
// loss, the warnings and everything else come from the one calculation step
// at the same dimensions, where the closed form has an answer there.
//
// Synthesis starts from the closed form's answer (or the given dimensions
// where it has none) and corrects it by Newton steps in the logarithm of the
// solved dimensions: the first Jacobian from the closed form, Broyden updates
// after each field solve.  It runs on the solver's default meshes and moves
// to finer ones only where the estimated error at the answer exceeds
// kFieldErrorBudgetPct, starting there from the coarser answer.
#pragma once

#include <string>
#include <vector>

#include "core/calculation.h"
#include "core/coupledsynthesis.h"

namespace fieldcheck {

// The largest estimated error of an answer, per cent of Z0 and eeff.
inline constexpr double kFieldErrorBudgetPct = 0.3;
// A synthesized figure within this share of its target is met.
inline constexpr double kFieldTargetMatch = 2e-4;

struct FieldSolved {
    // The step's answer with every mode's impedance and eeff from the field
    // (loss NaN where the closed form has none: a warning says why).
    LineAnswer answer;
    double errorPct = 0.0; // the solution's estimated error, largest over modes
    int refinement = 0;    // of the meshes that answered
    int solves = 0;        // field solves spent
    double seconds = 0.0;
};

// The line at its rows.  Raises TP_Exceptions where the field solver cannot
// answer (not quasi-TEM, too large, unreliable).
FieldSolved FieldAnalyze(const LineDescriptor& line, const LineInputs& in);

// Row 1 of a single line for in.targetImpedance.
struct FieldLineSynthesis {
    double x = 0.0;
    FieldSolved solved;
};
FieldLineSynthesis FieldSynthesize(const LineDescriptor& line, const LineInputs& in);

// W, S or both of a coupled line for the targets (as SynthesizePair).
struct FieldPairSynthesis {
    double w = 0.0;
    double s = 0.0;
    FieldSolved solved;
};
FieldPairSynthesis FieldSynthesizePair(const LineDescriptor& line, const LineInputs& in,
                                       const std::vector<PairTarget>& targets, PairSolve solve);

} // namespace fieldcheck
