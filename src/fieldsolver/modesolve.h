// One mode of a cross-section: its capacitances on two nested meshes and
// Richardson's extrapolation of them.
#pragma once

#include <atomic>

#include "fieldsolver/fieldsolver.h"
#include "fieldsolver/problem.h"

namespace fieldsolver {

// Shared between the thread that solves a mode and the caller that watches it.
struct ModeProgress {
    std::atomic<double> fraction{0.0};        // written by the solving thread
    const std::atomic<bool>* abort = nullptr; // checked between steps
};

// Meshes at `level` and `level + 1`; throws SolveCancelled when aborted.
ModeResult SolveMode(const Problem& problem, Mode mode, int level, double mirrorSign,
                     ModeProgress& progress);

} // namespace fieldsolver
