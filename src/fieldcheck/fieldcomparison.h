// A line's closed-form impedance and effective dielectric constant beside the
// quasi-static field solution of the same cross-section, mode by mode.
//
// The field solution is that of perfect conductors in a loss-free dielectric
// at zero frequency, so the closed form it is compared with is evaluated the
// same way: no loss (a model that keeps the series resistance in its
// impedance would otherwise rise far above the static value at low
// frequencies) at kQuasiStaticFrequency, where every kernel's dispersion is
// negligible. The closed form at the line's own frequency and losses is kept
// beside it to show how far dispersion and loss move it there.
#pragma once

#include <string>
#include <vector>

#include "core/linedescriptor.h"
#include "core/lineinputs.h"
#include "fieldsolver/fieldsolver.h"

namespace fieldcheck {

inline constexpr double kQuasiStaticFrequency = 1e6; // hertz

// The inputs of the closed form the field solution compares with: perfect
// conductor, loss-free dielectric, kQuasiStaticFrequency.
LineInputs QuasiStatic(LineInputs in);

struct LineFigures {
    double impedance = 0.0; // ohms
    double eeff = 0.0;
};

struct ModeComparison {
    fieldsolver::Mode mode = fieldsolver::Mode::Single;
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
    fieldsolver::CrossSection section;
    fieldsolver::SolveResult solve;    // status, message, exact, cells, seconds, potentials
    std::vector<ModeComparison> modes; // one, or even then odd; empty unless solved
    double frequency = 0.0;            // the line's own frequency, hertz
    std::vector<std::string> warnings; // the line's soft-limit warnings for these inputs

    bool Solved() const { return solve.status == fieldsolver::SolveStatus::Ok; }
};

// The cross-section of the line's rows and Er. Raises TP_Exceptions for a
// line the field solver does not know.
fieldsolver::CrossSection CrossSectionOf(const LineDescriptor& line, const LineInputs& in);

// Checks the inputs as an analysis does (hard limits raise TP_Exceptions and
// the like before any solve), solves the cross-section and evaluates the
// closed forms. A solve that does not end Ok (slotline, cancelled, failed)
// comes back with its status and message and no modes.
FieldComparison CompareWithFieldSolution(const LineDescriptor& line, const LineInputs& in,
                                         const fieldsolver::SolveOptions& options = {});

} // namespace fieldcheck
