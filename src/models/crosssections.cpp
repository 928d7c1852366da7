// The cross-sections of the meshed lines: metal of thickness T on the
// substrate (y from H to H + T) or, in stripline, centred between the planes
// at y = 0 and y = B. Coplanar grounds and substrates reach the side wall,
// i.e. they are infinitely wide. The coaxial line's field is known exactly.
#include "models/crosssections.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "numeric/checkedmath.h"

namespace {

constexpr double kToTheWall = std::numeric_limits<double>::infinity();

// A strip (or the right one of a pair) from x0 to x1, metal from y to y + T,
// on a substrate of height `substrate` and the inputs' Er.
CrossSection Strip(const InputsAtFrequency& in, double x0, double x1, double y, double t,
                   double substrate) {
    CrossSection s;
    s.conductors.push_back({x0, x1, y, y + t, true});
    s.slabs.push_back({0.0, substrate, in.er});
    s.metalThickness = t;
    return s;
}

// Between two planes B apart, the metal centred.
CrossSection Shielded(const InputsAtFrequency& in, double x0, double x1, double b, double t) {
    CrossSection s = Strip(in, x0, x1, (b - t) / 2, t, b);
    s.groundAbove = b;
    return s;
}

CrossSection Coplanar(const InputsAtFrequency& in, bool groundBelow) {
    const double w = in.Row(1), g = in.Row(2), h = in.Row(3), t = in.Row(4);
    CrossSection s = Strip(in, 0.0, w / 2, h, t, h);
    s.conductors.push_back({w / 2 + g, kToTheWall, h, h + t, false});
    s.groundBelow = groundBelow;
    s.smallestFeature = std::min({w / 2, h, g});
    return s;
}

// A solder mask of thickness Tm over the substrate and conformal over the
// strip from x0 to x1 (its top and sides), and a cover Hc above the substrate.
void AddCoating(const InputsAtFrequency& in, double x0, double x1, double h, double t,
                CrossSection& s) {
    const Coating& c = in.coating;
    if (c.tm > 0.0) {
        s.slabs.push_back({h, h + c.tm, c.erm, true});
        s.blocks.push_back({x0 > 0.0 ? x0 - c.tm : 0.0, x1 + c.tm, h, h + t + c.tm, c.erm});
    }
    if (c.hc > 0.0) s.groundAbove = h + c.hc;
}

} // namespace

CrossSection MicrostripCrossSection(const InputsAtFrequency& in) {
    const double w = in.Row(1), h = in.Row(2), t = in.Row(3);
    CrossSection s = Strip(in, 0.0, w / 2, h, t, h);
    s.smallestFeature = std::min(w / 2, h);
    AddCoating(in, 0.0, w / 2, h, t, s);
    return s;
}

CrossSection StriplineCrossSection(const InputsAtFrequency& in) {
    const double w = in.Row(1), b = in.Row(2), t = in.Row(3);
    CrossSection s = Shielded(in, 0.0, w / 2, b, t);
    s.smallestFeature = std::min(w / 2, (b - t) / 2);
    return s;
}

CrossSection CpwCrossSection(const InputsAtFrequency& in) {
    return Coplanar(in, false);
}

CrossSection GroundedCpwCrossSection(const InputsAtFrequency& in) {
    return Coplanar(in, true);
}

// Z0 = eta0 / (2 pi sqrt(Er)) ln(Do / Di), eeff = Er: C_air = 2 pi eps0 / ln(Do / Di).
CrossSection CoaxCrossSection(const InputsAtFrequency& in) {
    CrossSection s;
    s.exact = CrossSection::Exact{2 * std::numbers::pi / LogFast(in.Row(2) / in.Row(1)), in.er};
    return s;
}

CrossSection CoupledMicrostripCrossSection(const InputsAtFrequency& in) {
    const double w = in.Row(1), gap = in.Row(2), h = in.Row(3), t = in.Row(4);
    CrossSection s = Strip(in, gap / 2, gap / 2 + w, h, t, h);
    s.pair = true;
    s.smallestFeature = std::min({w, h, gap});
    AddCoating(in, gap / 2, gap / 2 + w, h, t, s);
    return s;
}

CrossSection CoupledStriplineCrossSection(const InputsAtFrequency& in) {
    const double w = in.Row(1), gap = in.Row(2), b = in.Row(3), t = in.Row(4);
    CrossSection s = Shielded(in, gap / 2, gap / 2 + w, b, t);
    s.pair = true;
    s.smallestFeature = std::min({w, (b - t) / 2, gap});
    return s;
}

namespace {

// Offset stripline: the metal from H1 to H1 + T, the planes H1 + T + H2
// apart; Er below the strip's underside, Er2 (row `er2Row`, 0: Er) above it.
CrossSection Offset(const InputsAtFrequency& in, double x0, double x1, int h1Row, double gap) {
    const double h1 = in.Row(h1Row), h2 = in.Row(h1Row + 1), t = in.Row(h1Row + 2);
    const double er2 = in.Row(h1Row + 3) > 0.0 ? in.Row(h1Row + 3) : in.er;
    const double b = h1 + t + h2;
    CrossSection s;
    s.conductors.push_back({x0, x1, h1, h1 + t, true});
    if (er2 == in.er) {
        s.slabs.push_back({0.0, b, in.er});
    } else {
        s.slabs.push_back({0.0, h1, in.er});
        s.slabs.push_back({h1, b, er2});
    }
    s.groundAbove = b;
    s.metalThickness = t;
    s.smallestFeature = std::min({x1 - x0, h1, h2});
    if (gap > 0.0) s.smallestFeature = std::min(s.smallestFeature, gap);
    return s;
}

} // namespace

CrossSection OffsetStriplineCrossSection(const InputsAtFrequency& in) {
    return Offset(in, 0.0, in.Row(1) / 2, 2, 0.0);
}

CrossSection OffsetCoupledStriplineCrossSection(const InputsAtFrequency& in) {
    const double w = in.Row(1), gap = in.Row(2);
    CrossSection s = Offset(in, gap / 2, gap / 2 + w, 3, gap);
    s.pair = true;
    return s;
}

// Broadside-coupled stripline: the lower strip, its top S/2 below the plane
// between the strips; the upper one is its mirror image about that plane.
CrossSection BroadsideStriplineCrossSection(const InputsAtFrequency& in) {
    const double w = in.Row(1), gap = in.Row(2), b = in.Row(3), t = in.Row(4);
    const double below = (b - gap) / 2 - t;
    CrossSection s = Strip(in, 0.0, w / 2, below, t, b);
    s.groundAbove = b;
    s.pair = true;
    s.stacked = true;
    s.smallestFeature = std::min({w / 2, below, gap / 2});
    return s;
}
