// From a line's rows to the electrostatic problem of one mode.
#pragma once

#include <optional>
#include <string>

#include "fieldsolver/fieldsolver.h"
#include "fieldsolver/problem.h"

namespace fieldsolver {

// Why the rows or Er cannot describe a cross-section of this line, if so.
std::optional<std::string> CheckCrossSection(const CrossSection& section);

// The problem of one mode (Single for single lines, Even or Odd for coupled
// ones) of a checked, meshable cross-section: half of it behind a magnetic
// (single, even) or electric (odd) wall on the symmetry plane x = 0, or all of it.
Problem BuildProblem(const CrossSection& section, Mode mode, bool fullDomain);

} // namespace fieldsolver
