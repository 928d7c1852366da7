// Sampling of a solved potential for contour pictures.
#include <algorithm>
#include <cmath>
#include <limits>

#include "fieldsolver/fieldsolver.h"

namespace fieldsolver {
namespace {

// Index i with axis[i] <= v <= axis[i + 1], or -1 outside the axis.
std::ptrdiff_t Bracket(const std::vector<double>& axis, double v) {
    if (axis.size() < 2 || v < axis.front() || v > axis.back()) return -1;
    const auto above = std::upper_bound(axis.begin(), axis.end(), v);
    const auto i = std::distance(axis.begin(), above) - 1;
    return std::min<std::ptrdiff_t>(i, static_cast<std::ptrdiff_t>(axis.size()) - 2);
}

double Interpolate(const PotentialMap& map, double x, double y) {
    double sign = 1.0;
    if (x < map.x.front() && map.mirrorSign != 0.0) {
        x = -x;
        sign = map.mirrorSign;
    }
    const auto i = Bracket(map.x, x), j = Bracket(map.y, y);
    if (i < 0 || j < 0) return std::numeric_limits<double>::quiet_NaN();
    const std::size_t nx = map.x.size(), ui = static_cast<std::size_t>(i),
                      uj = static_cast<std::size_t>(j);
    const double tx = (x - map.x[ui]) / (map.x[ui + 1] - map.x[ui]);
    const double ty = (y - map.y[uj]) / (map.y[uj + 1] - map.y[uj]);
    auto at = [&](std::size_t a, std::size_t b) { return map.values[b * nx + a]; };
    const double bottom = (1 - tx) * at(ui, uj) + tx * at(ui + 1, uj);
    const double top = (1 - tx) * at(ui, uj + 1) + tx * at(ui + 1, uj + 1);
    return sign * ((1 - ty) * bottom + ty * top);
}

} // namespace

std::vector<double> SamplePotential(const PotentialMap& map, double x0, double x1, double y0,
                                    double y1, int nx, int ny) {
    std::vector<double> out;
    if (nx < 1 || ny < 1 || map.values.empty()) return out;
    out.reserve(static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny));
    for (int j = 0; j < ny; ++j) {
        const double y = ny == 1 ? y0 : y0 + (y1 - y0) * j / (ny - 1);
        for (int i = 0; i < nx; ++i) {
            const double x = nx == 1 ? x0 : x0 + (x1 - x0) * i / (nx - 1);
            out.push_back(Interpolate(map, x, y));
        }
    }
    return out;
}

} // namespace fieldsolver
