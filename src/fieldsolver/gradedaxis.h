// One axis of the tensor-product mesh: nodes graded geometrically towards the
// conductor edges and growing without bound into the far field.
#pragma once

#include <vector>

namespace fieldsolver {

struct AxisSpec {
    std::vector<double> keys;     // coordinates that must be nodes, domain ends included
    std::vector<double> singular; // conductor edges and faces: the cells are smallest here
    double smallestCell = 0.0;    // cell size at a singular coordinate on the coarse mesh
    double growth = 0.3;          // cell size grows by this fraction of the distance
    double nearField = 0.0;       // beyond this distance from every singular point
    double farGrowth = 0.3;       // the cells grow by this fraction instead
};

// Nodes of the axis on refinement level `level` (0 = coarse). Level l+1 bisects
// every cell of level l in the mesh parameter, so the meshes are nested and
// uniformly refined as Richardson extrapolation assumes.
// Throws std::invalid_argument for an axis of more than kMaxAxisCells cells
// (or a non-finite one): check AxisCellCount first.
std::vector<double> GradedAxis(const AxisSpec& spec, int level);

// The number of cells GradedAxis(spec, level) would make, without making
// them; +infinity where it cannot be counted (non-finite sizes).
double AxisCellCount(const AxisSpec& spec, int level);

inline constexpr double kMaxAxisCells = 1e8;

} // namespace fieldsolver
