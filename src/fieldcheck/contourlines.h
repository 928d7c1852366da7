// Contour lines of a sampled field by marching squares: W. E. Lorensen and
// H. E. Cline, "Marching cubes: a high resolution 3D surface construction
// algorithm", Computer Graphics 21(4), 1987, in its two-dimensional form.
#pragma once

#include <vector>

namespace fieldcheck {

struct GridPoint {
    double i = 0.0, j = 0.0; // fractional sample indices: column, row
};

struct ContourSegment {
    GridPoint a, b;
};

// The pieces of the contour `level` through `values` (nx by ny samples,
// row-major, row 0 first). Cells with a NaN corner are skipped; a saddle cell
// is split by the mean of its corners.
std::vector<ContourSegment> ContourSegments(const std::vector<double>& values, int nx, int ny,
                                            double level);

} // namespace fieldcheck
