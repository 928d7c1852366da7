// Cross-sections of the six meshed line types. Every line is symmetric about
// x = 0; metal of thickness T sits on the substrate (y from H to H + T) or, in
// stripline, centred between the planes at y = 0 and y = B. Coplanar ground
// planes and substrates reach the side wall, i.e. they are infinitely wide.
#include "fieldsolver/crosssection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace fieldsolver {
namespace {

// Coarse-mesh sizes. The edge of a strip of zero thickness costs energy error
// in proportion to its cell (the field grows as r^-1/2), so that cell is tiny;
// a right-angled corner of thick metal (r^-1/3) is resolved by a cell of a
// fiftieth of the thickness. Sizes and growth were chosen by measuring against
// the exact stripline and the finest meshes: the extrapolated impedances lie
// within 0.05 % (mostly 0.01 %) of them.
constexpr double kThinEdgeCell = 5e-4;     // times the smallest feature
constexpr double kCornerCell = 0.02;       // times the metal thickness (or the smallest feature)
constexpr double kGrowth = 0.3;            // cells grow by 30 % of their distance from an edge,
constexpr double kFarGrowth = 0.6;         // and by 60 % farther out than the cross-section's size
constexpr double kShieldedSideWall = 20.0; // stripline side wall: 20 B beside the strips

struct NamedKind {
    LineKind kind;
    std::string_view name;
    std::array<std::string_view, 4> rows; // symbols of the rows, empty when absent
};

constexpr std::array<NamedKind, 8> kKinds{{
    {LineKind::Microstrip, "microstrip", {"W", "H", "T", ""}},
    {LineKind::Stripline, "stripline", {"W", "B", "T", ""}},
    {LineKind::Cpw, "cpw", {"W", "G", "H", "T"}},
    {LineKind::CpwGround, "cpw-ground", {"W", "G", "H", "T"}},
    {LineKind::CoupledMicrostrip, "coupled-microstrip", {"W", "S", "H", "T"}},
    {LineKind::CoupledStripline, "coupled-stripline", {"W", "S", "B", "T"}},
    {LineKind::Coax, "coax", {"Di", "Do", "", ""}},
    {LineKind::Slotline, "slotline", {"G", "H", "", ""}},
}};

const NamedKind& Named(LineKind kind) {
    return *std::find_if(kKinds.begin(), kKinds.end(),
                         [kind](const NamedKind& k) { return k.kind == kind; });
}

std::size_t RowCount(LineKind kind) {
    const auto& rows = Named(kind).rows;
    return static_cast<std::size_t>(
        std::count_if(rows.begin(), rows.end(), [](std::string_view r) { return !r.empty(); }));
}

// The dimensions of a meshed line, zero where the line has none.
struct Dimensions {
    double w = 0, s = 0, g = 0, h = 0, b = 0, t = 0;
};

Dimensions Unpack(const CrossSection& section) {
    const auto& r = section.rows;
    switch (section.kind) {
    case LineKind::Microstrip:
        return {r[0], 0, 0, r[1], 0, r[2]};
    case LineKind::Stripline:
        return {r[0], 0, 0, 0, r[1], r[2]};
    case LineKind::Cpw:
    case LineKind::CpwGround:
        return {r[0], 0, r[1], r[2], 0, r[3]};
    case LineKind::CoupledMicrostrip:
        return {r[0], r[1], 0, r[2], 0, r[3]};
    case LineKind::CoupledStripline:
        return {r[0], r[1], 0, 0, r[2], r[3]};
    default:
        return {};
    }
}

void AddConductor(Problem& p, double x0, double x1, double y0, double y1, double potential) {
    x0 = std::max(x0, p.xmin);
    x1 = std::min(x1, p.xmax);
    p.conductors.push_back({x0, x1, y0, y1, potential});
    for (double x : {x0, x1}) {
        p.xAxis.keys.push_back(x);
        if (x > p.xmin && x < p.xmax) p.xAxis.singular.push_back(x);
    }
    for (double y : {y0, y1}) {
        p.yAxis.keys.push_back(y);
        if (y > p.ymin && y < p.ymax) p.yAxis.singular.push_back(y);
    }
}

} // namespace

std::optional<LineKind> ParseLineKind(std::string_view name) {
    for (const auto& k : kKinds)
        if (k.name == name) return k.kind;
    return std::nullopt;
}

std::string_view LineKindName(LineKind kind) {
    return Named(kind).name;
}

bool IsCoupled(LineKind kind) {
    return kind == LineKind::CoupledMicrostrip || kind == LineKind::CoupledStripline;
}

std::optional<std::string> CheckCrossSection(const CrossSection& section) {
    const auto& named = Named(section.kind);
    const std::size_t count = RowCount(section.kind);
    if (section.rows.size() != count)
        return std::string(named.name) + " needs " + std::to_string(count) + " dimensions";
    for (std::size_t i = 0; i < count; ++i) {
        const double v = section.rows[i];
        const bool thickness = named.rows[i] == "T";
        if (!std::isfinite(v) || v < 0.0 || (v == 0.0 && !thickness))
            return std::string(named.rows[i]) + (thickness ? " must be >= 0" : " must be > 0");
    }
    if (!std::isfinite(section.er) || section.er < 1.0) return std::string("Er must be >= 1");
    if (section.kind == LineKind::Coax && section.rows[0] >= section.rows[1])
        return std::string("Di must be smaller than Do");
    const Dimensions d = Unpack(section);
    if (d.b > 0.0 && d.t >= d.b) return std::string("T must be smaller than B");
    return std::nullopt;
}

Problem BuildProblem(const CrossSection& section, Mode mode, bool fullDomain) {
    const Dimensions d = Unpack(section);
    const LineKind kind = section.kind;
    const bool coupled = IsCoupled(kind);
    const bool shielded = kind == LineKind::Stripline || kind == LineKind::CoupledStripline;
    const bool coplanar = kind == LineKind::Cpw || kind == LineKind::CpwGround;

    // The strip right of the symmetry plane, and how far the metal reaches.
    const double stripLeft = coupled ? d.s / 2 : (fullDomain ? -d.w / 2 : 0.0);
    const double stripRight = coupled ? d.s / 2 + d.w : d.w / 2;
    const double reach = coplanar ? d.w / 2 + d.g : stripRight;
    const double metalBottom = shielded ? (d.b - d.t) / 2 : d.h;
    const double metalTop = metalBottom + d.t;

    Problem p;
    const double size = std::max({2 * reach, d.h, d.b}); // of the whole cross-section
    const double far = kFarBoundaryFactor * size;
    p.xmax = reach + (shielded ? kShieldedSideWall * d.b : far);
    p.xmin = fullDomain ? -p.xmax : 0.0;
    p.ymin = kind == LineKind::Cpw ? -far : 0.0;
    p.ymax = shielded ? d.b : metalTop + far;
    p.left = fullDomain || mode == Mode::Odd ? Wall::Electric : Wall::Magnetic;
    p.right = p.bottom = p.top = Wall::Electric;
    p.slabs.push_back({0.0, shielded ? d.b : d.h, section.er});
    p.xAxis.keys = {p.xmin, p.xmax};
    p.yAxis.keys = {p.ymin, p.ymax, 0.0, shielded ? d.b : d.h};

    AddConductor(p, stripLeft, stripRight, metalBottom, metalTop, 1.0);
    if (coupled && fullDomain)
        AddConductor(p, -stripRight, -stripLeft, metalBottom, metalTop,
                     mode == Mode::Odd ? -1.0 : 1.0);
    if (coplanar) {
        AddConductor(p, reach, p.xmax, metalBottom, metalTop, 0.0);
        if (fullDomain) AddConductor(p, p.xmin, -reach, metalBottom, metalTop, 0.0);
    }
    // Field energy of the meshed domain -> capacitance of one line (or one
    // strip in its mode) at 1 V.
    const double drivenStrips = coupled ? 2.0 : 1.0;
    p.energyToCapacitance = (fullDomain ? 1.0 : 2.0) / drivenStrips;

    std::vector<double> features{coupled ? d.w : d.w / 2, shielded ? metalBottom : d.h};
    if (coupled) features.push_back(d.s);
    if (coplanar) features.push_back(d.g);
    const double smallest = *std::min_element(features.begin(), features.end());
    const double thinEdge = kThinEdgeCell * smallest;
    const double h0 =
        d.t > 0.0 ? std::max(thinEdge, kCornerCell * std::min(smallest, d.t)) : thinEdge;
    for (AxisSpec* axis : {&p.xAxis, &p.yAxis}) {
        axis->smallestCell = h0;
        axis->growth = kGrowth;
        axis->nearField = size;
        axis->farGrowth = kFarGrowth;
    }
    return p;
}

} // namespace fieldsolver
