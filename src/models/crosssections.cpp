// The cross-sections of the meshed lines: metal of thickness T on the
// substrate (y from H to H + T) or, in stripline, centred between the planes
// at y = 0 and y = B. Coplanar grounds and substrates reach the side wall,
// i.e. they are infinitely wide. The coaxial line's field is known exactly.
#include "models/crosssections.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

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

} // namespace

CrossSection MicrostripCrossSection(const InputsAtFrequency& in) {
    const double w = in.Row(1), h = in.Row(2), t = in.Row(3);
    CrossSection s = Strip(in, 0.0, w / 2, h, t, h);
    s.smallestFeature = std::min(w / 2, h);
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
    s.exact = CrossSection::Exact{2 * std::numbers::pi / std::log(in.Row(2) / in.Row(1)), in.er};
    return s;
}

CrossSection CoupledMicrostripCrossSection(const InputsAtFrequency& in) {
    const double w = in.Row(1), gap = in.Row(2), h = in.Row(3), t = in.Row(4);
    CrossSection s = Strip(in, gap / 2, gap / 2 + w, h, t, h);
    s.pair = true;
    s.smallestFeature = std::min({w, h, gap});
    return s;
}

CrossSection CoupledStriplineCrossSection(const InputsAtFrequency& in) {
    const double w = in.Row(1), gap = in.Row(2), b = in.Row(3), t = in.Row(4);
    CrossSection s = Shielded(in, gap / 2, gap / 2 + w, b, t);
    s.pair = true;
    s.smallestFeature = std::min({w, (b - t) / 2, gap});
    return s;
}
