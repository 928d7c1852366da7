#include "core/widebanddielectric.h"

#include <algorithm>
#include <cmath>

#include "core/materialmodels.h"
#include "numeric/tpexceptions.h"

DjordjevicSarkar::DjordjevicSarkar(double er, double tand, double fRef, double fLow, double fHigh)
    : fLow_(fLow), fHigh_(fHigh) {
    if (!(fRef > 0.0) || !std::isfinite(fRef))
        throw TP_Exceptions("Wideband dielectric: the reference frequency must be above 0");
    if (!(fLow > 0.0) || !(fHigh > fLow) || !std::isfinite(fHigh))
        throw TP_Exceptions(
            "Wideband dielectric: the pole range must run from above 0 to a higher frequency");
    if (!(er > 0.0)) throw TP_Exceptions("Wideband dielectric: Er must be above 0");
    // eps(fRef) = er (1 - j tand) = eps_inf + delta_eps (a + j b), b < 0.
    const std::complex<double> s = Spread(fRef);
    deltaEps_ = -er * tand / s.imag();
    epsInf_ = er - deltaEps_ * s.real();
}

std::complex<double> DjordjevicSarkar::Spread(double f) const {
    // The 2 pi of each omega cancels in the ratio and in m2 - m1.
    const std::complex<double> ratio{fHigh_, f};
    const std::complex<double> below{fLow_, f};
    return std::log10(ratio / below) / std::log10(fHigh_ / fLow_);
}

std::complex<double> DjordjevicSarkar::Permittivity(double f) const {
    return epsInf_ + deltaEps_ * Spread(f);
}

InputsAtFrequency AtFrequency(const LineInputs& in) {
    InputsAtFrequency out(in);
    if (!in.dkModel->VariesWithFrequency()) return out;
    const std::complex<double> eps = in.dkModel->permittivity(in);
    // A loss tangent far above any laminate's spreads the poles so wide that
    // eps' would fall below that of vacuum: no line formula holds there.
    if (!(eps.real() >= 1.0))
        throw TP_Exceptions("Wideband dielectric: Er falls below 1 at this frequency (is tand "
                            "that of a laminate?)");
    out.er = eps.real();
    out.tand = -eps.imag() / eps.real();
    out.dkModel = ConstantDielectric();
    return out;
}
