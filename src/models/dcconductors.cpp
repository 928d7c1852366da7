#include "models/dcconductors.h"

#include "numeric/constants.h"

using namespace constants;

namespace {

double Conductivity(const InputsAtFrequency& in) {
    return in.rho > 0.0 ? 1.0 / (in.rho * kGoldResistivity) : 0.0;
}

// A round wire of diameter d: resistance and mu0 / 8 pi.
DcConductor Wire(double sigma, double d) {
    if (!(sigma > 0.0) || !(d > 0.0)) return {};
    return {4.0 / (sigma * kPi * d * d), kMu0 / (8.0 * kPi)};
}

} // namespace

template <int ThicknessRow, bool OneSided>
DcConductor StripAtDc(const InputsAtFrequency& in, double w) {
    const double sigma = Conductivity(in);
    const double t = in.Row(ThicknessRow);
    if (!(sigma > 0.0) || !(t > 0.0) || !(w > 0.0)) return {};
    return {1.0 / (sigma * w * t), kMu0 * t / ((OneSided ? 3.0 : 12.0) * w)};
}

template DcConductor StripAtDc<3, true>(const InputsAtFrequency&, double);
template DcConductor StripAtDc<4, true>(const InputsAtFrequency&, double);
template DcConductor StripAtDc<3, false>(const InputsAtFrequency&, double);
template DcConductor StripAtDc<4, false>(const InputsAtFrequency&, double);
template DcConductor StripAtDc<5, false>(const InputsAtFrequency&, double);

DcConductor CoaxAtDc(const InputsAtFrequency& in, double innerDiameter) {
    return Wire(Conductivity(in), innerDiameter);
}

DcConductor TwistedPairAtDc(const InputsAtFrequency& in, double) {
    const DcConductor one = Wire(Conductivity(in), in.Row(2));
    return {2.0 * one.resistance, 2.0 * one.inductance};
}
