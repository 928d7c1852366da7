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
std::vector<double> GradedAxis(const AxisSpec& spec, int level);

} // namespace fieldsolver
