// A line's closed-form impedance and effective dielectric constant beside the
// quasi-static field solution of the same cross-section, mode by mode.
//
// The material models are applied at the line's frequency first: the
// cross-section is solved with the Er they give there. The field solution is
// that of perfect conductors in a loss-free dielectric at zero frequency, so
// the closed form it is compared with takes the same at-frequency inputs
// without loss (a model that keeps the series resistance in its impedance
// would otherwise rise far above the static value at low frequencies) at
// kQuasiStaticFrequency, where every kernel's dispersion is negligible. The
// closed form at the line's own frequency and losses is kept beside it to
// show how far dispersion and loss move it there.
#pragma once

#include <string>
#include <vector>

#include "core/crosssection.h"
#include "core/linedescriptor.h"
#include "core/lineinputs.h"
#include "fieldsolver/fieldsolver.h"

namespace fieldcheck {

// The solver's terms the check's callers use.
using fieldsolver::Mode;
using fieldsolver::SolveOptions;
using fieldsolver::SolveStatus;

inline constexpr double kQuasiStaticFrequency = 1e6; // hertz

// "<tab> is not a quasi-TEM line: ...", for a line without a cross-section.
std::string NotQuasiTemText(const LineDescriptor& line);

// The inputs of the closed form the field solution compares with: perfect
// conductor, loss-free dielectric, kQuasiStaticFrequency.
LineInputs QuasiStatic(LineInputs in);

struct LineFigures {
    double impedance = 0.0; // ohms
    double eeff = 0.0;
};

struct ModeComparison {
    Mode mode = Mode::Single;
    LineFigures field;
    double impedanceErrorPct = 0.0; // the field solution's estimated error
    double eeffErrorPct = 0.0;
    LineFigures closedForm;            // of the QuasiStatic inputs
    LineFigures closedFormAtFrequency; // of the line's own inputs: dispersion and loss included

    // Closed form relative to the field solution, in per cent.
    double ImpedanceDifferencePct() const;
    double EeffDifferencePct() const;
};

struct FieldComparison {
    InputsAtFrequency inputs;          // the line's, material models applied: what was solved
    CrossSection section;              // as the line's builder made it
    fieldsolver::SolveResult solve;    // status, message, exact, cells, seconds, potentials
    std::vector<ModeComparison> modes; // one, or even then odd; empty unless solved
    double frequency = 0.0;            // the line's own frequency, hertz
    std::vector<std::string> warnings; // the line's soft-limit warnings for these inputs
    // Why the closed form has no answer here (its figures then are zero and
    // no comparison is made); empty when it has one.
    std::string closedFormError;

    bool Solved() const { return solve.status == SolveStatus::Ok; }
    // Solved, and the solution's error estimate and outer walls are sound.
    bool Reliable() const { return Solved() && solve.unreliable.empty(); }
    bool HasClosedForm() const { return closedFormError.empty(); }
};

// Applies the material models at the line's frequency, checks the inputs as
// an analysis does (hard limits raise TP_Exceptions and the like before any
// solve), solves the line's cross-section and evaluates the closed forms. A
// solve that does not end Ok (not quasi-TEM, too large, cancelled, failed)
// comes back with its status and message and no modes; a closed form that
// fails leaves the field solution standing, with closedFormError.
FieldComparison CompareWithFieldSolution(const LineDescriptor& line, const LineInputs& in,
                                         const SolveOptions& options = {});

} // namespace fieldcheck
