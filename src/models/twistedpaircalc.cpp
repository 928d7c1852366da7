// Twisted pair: P. Lefferson, "Twisted magnet wire transmission line", IEEE
// Trans. Parts, Hybrids and Packaging PHP-7(4), 1971: the two-wire impedance
// Z0 = eta0 / (pi sqrt(eeff)) acosh(D / d) with the effective permittivity
// eeff = Er_env + q (Er - Er_env), q = 0.25 + 0.0004 theta^2, theta the twist
// angle atan(pi D twists) in degrees.  Conductor loss of two round wires with
// the proximity factor of the pair (S. Ramo, J. R. Whinnery, T. Van Duzer,
// "Fields and Waves in Communication Electronics", 3rd ed., 1994, table 5.11):
// R = 2 Rs / (pi d) (D/d) / sqrt((D/d)^2 - 1); dielectric loss of the filled
// share q of the insulation.
#include "models/twistedpaircalc.h"

#include <cmath>

#include "numeric/checkedmath.h"
#include "numeric/constants.h"
#include "numeric/tpexceptions.h"

using namespace constants;

namespace {

double Diameter(const InputsAtFrequency& in) {
    return in.Row(2);
}
double Twists(const InputsAtFrequency& in) {
    return in.Row(3);
}
double EnvironmentEr(const InputsAtFrequency& in) {
    return in.Row(4);
}

// Lefferson's filling factor: the share of the field in the insulation.
double FillingFactor(double spacing, double twistsPerMetre) {
    const double theta = std::atan(kPi * spacing * twistsPerMetre) * (180.0 / kPi);
    return 0.25 + 0.0004 * theta * theta;
}

} // namespace

double TwistedPairEeff(double spacing, double twistsPerMetre, double er, double erEnv) {
    return erEnv + FillingFactor(spacing, twistsPerMetre) * (er - erEnv);
}

double twistedpair::Impedance(const InputsAtFrequency& in, double spacing) {
    const double eeff = TwistedPairEeff(spacing, Twists(in), in.er, EnvironmentEr(in));
    return kEta0 / (kPi * CheckedSqrt(eeff)) * std::acosh(spacing / Diameter(in));
}

LineResult twistedpair::Evaluate(const InputsAtFrequency& in, double spacing) {
    const double d = Diameter(in);
    const double q = FillingFactor(spacing, Twists(in));
    LineResult r;
    r.eeff = EnvironmentEr(in) + q * (in.er - EnvironmentEr(in));
    r.impedance = kEta0 / (kPi * CheckedSqrt(r.eeff)) * std::acosh(spacing / d);
    // G / (omega C) of the mixture: only the insulation's share q loses.
    const double tandEff = q * in.er * in.tand / r.eeff;
    r.dielectricLoss = kPi * in.f * CheckedSqrt(r.eeff) * tandEff * kInverseSpeedOfLight;
    r.conductorLoss = 0.0;
    if (in.rho > 1e-9) {
        const double sigma = 1.0 / (in.rho * kGoldResistivity);
        const double rs = CheckedSqrt(kPi * in.f * kMu0 / sigma);
        const double ratio = spacing / d;
        const double proximity = ratio / CheckedSqrt(ratio * ratio - 1.0);
        const double resistance = 2.0 * rs / (kPi * d) * proximity; // both wires, ohm/m
        r.conductorLoss = resistance / (2.0 * r.impedance);
    }
    r.loss = r.conductorLoss + r.dielectricLoss;
    return r;
}

void twistedpair::Check(const InputsAtFrequency& in, std::vector<std::string>& warnings) {
    const double spacing = in.Row(1);
    const double d = Diameter(in);
    if (!(d > 0.0)) throw TP_Exceptions("d must be > 0");
    if (!(spacing > d)) throw TP_Exceptions("D must be > d: the wires would touch");
    if (!(Twists(in) >= 0.0)) throw TP_Exceptions("twists must be >= 0");
    if (!(EnvironmentEr(in) >= 1.0)) throw TP_Exceptions("Er_env must be >= 1");
    if (in.er < 0.9999) throw TP_Exceptions("Er must be >= 1");
    // Lefferson's fit was made for twist angles up to about 45 degrees.
    if (kPi * spacing * Twists(in) > 1.0) warnings.push_back("Twist angle Recommended <= 45 deg");
    // The skin-effect and proximity formulas assume a skin depth well below d.
    if (in.rho > 0.0 && in.f > 0.0 &&
        std::sqrt(in.rho * kGoldResistivity / (kPi * in.f * kMu0)) > d / 4.0)
        warnings.push_back("Skin depth Recommended < d/4: conductor loss underestimated");
    if (in.rho > 100.0) warnings.push_back("Rho Recommended <= 100");
}
