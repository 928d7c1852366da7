// Round coaxial line, closed-form TEM formulas: Z0 = eta ln(b/a) / 2 pi and
// the surface-resistance conductor loss plus the dielectric loss (Pozar,
// "Microwave Engineering", section 2.7).
#include "models/coaxlinecalc.h"

#include <charconv>

#include "numeric/checkedmath.h"
#include "numeric/constants.h"
#include "numeric/tpexceptions.h"

using namespace constants;

namespace {

// Three significant digits, "." as the decimal point whatever the locale.
std::string ThreeDigits(double x) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 3);
    return std::string(buffer, end.ptr);
}

} // namespace

CoaxResult CoaxLineKernel(double outerDiameter, double innerDiameter, double er, double rho,
                          double lossTangent, double frequency) {
    const double b = outerDiameter * 0.5;
    const double a = innerDiameter * 0.5;
    const double omega = kTwoPi * frequency;
    const double k0 = omega * kInverseSpeedOfLight;
    const double n = CheckedSqrt(er);
    const double eta = kEta0Coax / n;
    const double logRatio = CheckedLog(b / a);
    // Surface resistance of a conductor of resistivity Rho times gold's.
    const double rs = CheckedSqrt(0.5 * omega * kMu0SixteenDigits * rho * kGoldResistivity);
    const double conductor = rs * 0.5 * (a + b) / (eta * logRatio * b * a);
    const double dielectric = 0.5 * k0 * lossTangent * n;
    return {eta * logRatio * kOneOverTwoPi, conductor + dielectric, conductor, dielectric};
}

double coax::Impedance(const InputsAtFrequency& in, double innerDiameter) {
    return CoaxLineKernel(in.Row(2), innerDiameter, in.er, in.rho, in.tand, in.f).impedance;
}

LineResult coax::Evaluate(const InputsAtFrequency& in, double innerDiameter) {
    const CoaxResult r = CoaxLineKernel(in.Row(2), innerDiameter, in.er, in.rho, in.tand, in.f);
    LineResult result;
    result.impedance = r.impedance;
    result.eeff = in.er;
    result.loss = r.loss;
    result.conductorLoss = r.conductorLoss;
    result.dielectricLoss = r.dielectricLoss;
    return result;
}

void coax::Check(const InputsAtFrequency& in, std::vector<std::string>& warnings) {
    const double inner = in.Row(1);
    const double outer = in.Row(2);
    if (inner > outer) throw TP_Exceptions::Domain("Di must be less than than Do");
    // Equal diameters leave no dielectric (zero impedance, a conductor loss
    // divided by ln 1 = 0); a diameter that is not positive has no line at all.
    if (inner == outer)
        throw TP_Exceptions::Domain("Di must be less than Do: equal diameters leave no line");
    if (!(inner > 0.0) || !(outer > 0.0))
        throw TP_Exceptions::Domain("Di and Do must be greater than zero");
    // Well below the estimate the exact cut-off (at least 0.92 of it) cannot
    // be reached, and the Bessel root solve, costly in a sweep, is spared.
    if (in.f < 0.9 * CoaxTe11ThinGapCutoff(outer, inner, in.er)) return;
    const double cutoff = CoaxTe11Cutoff(outer, inner, in.er);
    if (in.f > cutoff)
        warnings.push_back("Above the TE11 cutoff (" + ThreeDigits(cutoff * 1e-9) +
                           " GHz): the line is multimode");
}
