// The graded axis is the image of a uniform parameter xi under the mapping
// dxi/dx = 1/h(x), h(x) = h0 + g * u with u the distance to the nearest
// singular point: cells are h0 at conductor edges and grow geometrically by
// about (1 + g) per cell away from them; beyond the near field the slope is the
// far-field growth, which keeps the far boundary cheap (a decade of distance
// costs about ln(10)/ln(1 + growth) cells). Both the parameter length and its
// inverse are exact on every piece where h is linear in u.
#include "fieldsolver/gradedaxis.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace fieldsolver {
namespace {

// A piece [x0, x1] of one key interval, on which h = c + k u, u = |x - s|.
struct Piece {
    double x0, x1, s;
    double c, k;
    double xi0, xi1; // parameter at the ends, from the start of the key interval
};

double NearestSingular(const std::vector<double>& singular, double x) {
    double best = singular.front();
    for (double s : singular)
        if (std::abs(x - s) < std::abs(x - best)) best = s;
    return best;
}

// Parameter length of the piece: the integral of dx / (c + k u).
double PieceLength(const Piece& p) {
    const double u0 = std::abs(p.x0 - p.s), u1 = std::abs(p.x1 - p.s);
    return std::abs(std::log((p.c + p.k * u1) / (p.c + p.k * u0))) / p.k;
}

// The x at parameter distance t from x0 inside a piece.
double PieceInverse(const Piece& p, double t) {
    const double u0 = std::abs(p.x0 - p.s), u1 = std::abs(p.x1 - p.s);
    const double direction = u1 >= u0 ? 1.0 : -1.0; // moving away from s or towards it
    const double u = ((p.c + p.k * u0) * std::exp(direction * p.k * t) - p.c) / p.k;
    return std::min(p.x1, p.x0 + std::abs(u - u0));
}

std::vector<Piece> SplitInterval(double a, double b, const std::vector<double>& singular,
                                 const AxisSpec& spec) {
    const double h0 = spec.smallestCell, g = spec.growth, near = spec.nearField;
    std::vector<double> cuts{a, b};
    for (std::size_t i = 0; i + 1 < singular.size(); ++i) {
        const double mid = 0.5 * (singular[i] + singular[i + 1]);
        if (mid > a && mid < b) cuts.push_back(mid);
    }
    for (double s : singular)
        for (double cut : {s, s - near, s + near})
            if (cut > a && cut < b) cuts.push_back(cut);
    std::sort(cuts.begin(), cuts.end());
    std::vector<Piece> pieces;
    double xi = 0.0;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const double x0 = cuts[i], x1 = cuts[i + 1];
        if (x1 <= x0) continue;
        const double s = NearestSingular(singular, 0.5 * (x0 + x1));
        Piece piece{x0, x1, s, h0, g, xi, xi};
        if (near > 0.0 && std::abs(0.5 * (x0 + x1) - s) > near) // same h at u = near
            piece = {x0, x1, s, h0 + (g - spec.farGrowth) * near, spec.farGrowth, xi, xi};
        piece.xi1 = xi + PieceLength(piece);
        xi = piece.xi1;
        pieces.push_back(piece);
    }
    return pieces;
}

void RequireSizes(const AxisSpec& spec) {
    if (spec.keys.size() < 2 || spec.singular.empty() || !(spec.smallestCell > 0.0) ||
        !(spec.growth > 0.0) || !(spec.farGrowth > 0.0))
        throw std::invalid_argument("graded axis needs two keys, a singular point and sizes > 0");
}

std::vector<double> Sorted(std::vector<double> v, bool unique) {
    std::sort(v.begin(), v.end());
    if (unique) v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}

// Coarse cells of a key interval of parameter length `total`: a double, so
// that a length no int can hold is counted, not converted.
double IntervalCells(double total) {
    return std::max(1.0, std::ceil(total - 1e-9));
}

} // namespace

double AxisCellCount(const AxisSpec& spec, int level) {
    RequireSizes(spec);
    const std::vector<double> keys = Sorted(spec.keys, true);
    const std::vector<double> singular = Sorted(spec.singular, false);
    double cells = 0.0;
    for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
        const auto pieces = SplitInterval(keys[k], keys[k + 1], singular, spec);
        if (pieces.empty()) continue;
        const double total = pieces.back().xi1;
        if (!std::isfinite(total)) return std::numeric_limits<double>::infinity();
        cells += IntervalCells(total);
    }
    return std::ldexp(cells, level);
}

std::vector<double> GradedAxis(const AxisSpec& spec, int level) {
    if (!(AxisCellCount(spec, level) <= kMaxAxisCells))
        throw std::invalid_argument("graded axis of too many cells");
    const std::vector<double> keys = Sorted(spec.keys, true);
    const std::vector<double> singular = Sorted(spec.singular, false);

    const int scale = 1 << level;
    std::vector<double> nodes{keys.front()};
    for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
        const auto pieces = SplitInterval(keys[k], keys[k + 1], singular, spec);
        if (pieces.empty()) continue;
        const double total = pieces.back().xi1;
        const int cells = scale * static_cast<int>(IntervalCells(total));
        std::size_t p = 0;
        for (int c = 1; c < cells; ++c) {
            const double xi = total * c / cells;
            while (p + 1 < pieces.size() && xi > pieces[p].xi1)
                ++p;
            nodes.push_back(PieceInverse(pieces[p], xi - pieces[p].xi0));
        }
        nodes.push_back(keys[k + 1]);
    }
    return nodes;
}

} // namespace fieldsolver
