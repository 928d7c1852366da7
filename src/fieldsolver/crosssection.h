// From a line's cross-section to the electrostatic problem of one mode.
#pragma once

#include <optional>
#include <string>

#include "fieldsolver/fieldsolver.h"
#include "fieldsolver/problem.h"

namespace fieldsolver {

// Why the description is no cross-section (non-finite, overflowing or
// misplaced geometry), if so.
std::optional<std::string> CheckCrossSection(const CrossSection& section);

// The modes a cross-section has: Single, or Even then Odd for a pair.
std::vector<Mode> ModesOf(const CrossSection& section);

// The problem of one mode of a checked cross-section: half of it behind a
// magnetic (single, even) or electric (odd) wall on the symmetry plane x = 0,
// or all of it.
Problem BuildProblem(const CrossSection& section, Mode mode, bool fullDomain);

} // namespace fieldsolver
