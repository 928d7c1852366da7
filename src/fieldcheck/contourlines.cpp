#include "fieldcheck/contourlines.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace fieldcheck {
namespace {

// The point where the level crosses the edge from p (value u) to q (value v).
GridPoint Crossing(GridPoint p, double u, GridPoint q, double v, double level) {
    const double t = (level - u) / (v - u);
    return {p.i + t * (q.i - p.i), p.j + t * (q.j - p.j)};
}

} // namespace

std::vector<ContourSegment> ContourSegments(const std::vector<double>& values, int nx, int ny,
                                            double level) {
    std::vector<ContourSegment> segments;
    if (nx < 2 || ny < 2 || values.size() < static_cast<std::size_t>(nx) * ny) return segments;
    auto at = [&](int i, int j) { return values[static_cast<std::size_t>(j) * nx + i]; };
    for (int j = 0; j + 1 < ny; ++j) {
        for (int i = 0; i + 1 < nx; ++i) {
            // Corners counter-clockwise from the lower left.
            const std::array<GridPoint, 4> p{{{double(i), double(j)},
                                              {double(i + 1), double(j)},
                                              {double(i + 1), double(j + 1)},
                                              {double(i), double(j + 1)}}};
            const std::array<double, 4> v{at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)};
            if (std::isnan(v[0]) || std::isnan(v[1]) || std::isnan(v[2]) || std::isnan(v[3]))
                continue;
            // Crossed edges in corner order; a corner exactly on the level counts as above.
            std::array<GridPoint, 4> cut;
            int count = 0;
            for (int e = 0; e < 4; ++e) {
                const int f = (e + 1) % 4;
                if ((v[e] >= level) != (v[f] >= level))
                    cut[count++] = Crossing(p[e], v[e], p[f], v[f], level);
            }
            if (count == 2) {
                segments.push_back({cut[0], cut[1]});
            } else if (count == 4) {
                // Saddle: corners 0 and 2 lie on one side, 1 and 3 on the
                // other. Where the mean joins 0 and 2 through the centre, the
                // lines cut off corners 1 and 3; otherwise corners 0 and 2.
                const double mean = (v[0] + v[1] + v[2] + v[3]) / 4;
                if ((mean >= level) == (v[0] >= level)) {
                    segments.push_back({cut[0], cut[1]});
                    segments.push_back({cut[2], cut[3]});
                } else {
                    segments.push_back({cut[3], cut[0]});
                    segments.push_back({cut[1], cut[2]});
                }
            }
        }
    }
    return segments;
}

} // namespace fieldcheck
