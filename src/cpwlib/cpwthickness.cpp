// Metal of thickness T in the gaps of a coplanar line, as partial capacitances
// added to the zero-thickness conformal maps (in the manner of W. Heinrich,
// "Quasi-TEM description of MMIC coplanar lines including conductor-loss
// effects", IEEE Trans. MTT 41(1), 1993, pp. 45-52):
//   - the gap walls, facing each other across G over the height T, form two
//     parallel-plate capacitors in air, 2 eps0 T / G for the line;
//   - the four corners of each gap fringe into the half-spaces above and
//     below the metal; that field is carried by maps whose strip is wider and
//     whose gaps are narrower by
//         delta = (T / pi) ln(1 + c G / T),
//         c     = (0.25 + 0.145 G / (W + 0.4 G)) / (1 + 0.32 T / G),
//     a logarithmic thick-edge width of the kind H. A. Wheeler introduced for
//     strips ("Transmission-line properties of a strip on a dielectric sheet
//     on a plane", IEEE Trans. MTT 25(8), 1977), here with the gap as its
//     length scale.  The constants of c are fitted to our finite-difference
//     field solutions of thick CPW in air (W/G 0.1 to 15, T/G 0.05 to 0.6),
//     which the model then follows within 0.1 % in capacitance (0.35 % at
//     W/G = 0.05, and 0.15 % up to T/G = 0.95, outside the fit); the narrow
//     strip's corners fringe more, hence the W dependence.  delta stays below
//     G / 4 for every T < G, so the maps never close the gap.
// The walls' field is in air; the substrate's map takes a part of delta
// (cpwquasistatic.cpp).
#include <cmath>

#include "cpwlib/cpwline.h"

namespace cpwlib {
namespace {

constexpr double kPi = 3.14159265358979323846;
// The fitted constants of c.
constexpr double kFringeWide = 0.25;
constexpr double kFringeNarrow = 0.145;
constexpr double kFringeNarrowWidth = 0.4;
constexpr double kFringeThick = 0.32;
// T/G up to which the model is checked against field solutions (within
// 0.5 % in Z0 and 0.8 % in eeff; in air within 0.15 % up to T/G = 0.95).
constexpr double kVerifiedThickness = 0.9;

} // namespace

double CornerFringeWidth(double width, double gap, double thickness) {
    if (!(thickness > 0.0)) return 0.0;
    const double c = (kFringeWide + kFringeNarrow / (width / gap + kFringeNarrowWidth)) /
                     (1.0 + kFringeThick * (thickness / gap));
    const double scaled = c * (gap / thickness);
    // Far beyond 1e15, ln(1 + x) = ln x to double precision, and the logarithms
    // keep a subnormal T from overflowing the ratio.
    const double lnArgument =
        scaled < 1e15 ? std::log1p(scaled) : std::log(c) + std::log(gap) - std::log(thickness);
    return thickness / kPi * lnArgument;
}

bool ThicknessBeyondVerifiedRange(double gap, double thickness) {
    return thickness > kVerifiedThickness * gap && thickness < gap;
}

double GapWallCapacitance(double gap, double thickness) {
    return 2.0 * (thickness / gap);
}

} // namespace cpwlib
