#include "core/lineconstants.h"

#include <cmath>
#include <complex>

#include "numeric/checkedmath.h"
#include "numeric/constants.h"

using namespace constants;

const char* const kBelowCornerNote =
    "below the R = ωL corner: eeff reflects the conductor's internal inductance and resistance";

namespace {

// Where the exact values begin to count, as a share of R / omega L.
//
// The kernels' published values are low-loss forms: Z0 = sqrt(L / C), beta =
// omega sqrt(L C), alpha = R / 2 Z0 + G Z0 / 2 (the microstrip: the exact
// gamma of its own R, L, G, C, with Wheeler's internal inductance).  They
// differ from the exact values by (R / omega L)^2 / 8, and the internal
// inductance R / omega of a skin-effect conductor would move beta by
// R / 2 omega L: at first order.  Those values are the lines' defined
// results above the corner, so the exact values (with only the DC internal
// inductance, which is what the conductor has where the exact values
// matter) enter with a weight that is exactly 0 up to R = 0.3 omega L --
// every result there is the kernel's to the last bit, within 0.3^2 / 8 of
// the exact ones -- and exactly 1 from the corner R = omega L down to DC,
// rising smoothly (in log R / omega L) between.
constexpr double kExactFrom = 0.3;

double ExactShare(double ratio) {
    if (!(ratio > kExactFrom)) return 0.0;
    if (ratio >= 1.0) return 1.0;
    const double t = LogFast(ratio / kExactFrom) / LogFast(1.0 / kExactFrom);
    return t * t * (3.0 - 2.0 * t);
}

struct Shown {
    double impedance, eeff, loss, conductor, dielectric;
};

Shown Current(const LineValues& v) {
    return {v.impedance, v.eeff, v.loss, v.conductorLoss, v.dielectricLoss};
}

// The exact values of k at omega.  `lossInEeff`: eeff as Re{(gamma / j
// k0)^2}, the microstrip's own definition, instead of (beta / k0)^2.
Shown Exact(const LineConstants& k, double omega, bool lossInEeff) {
    const std::complex<double> z{k.r, omega * k.l};
    const std::complex<double> y{k.g, omega * k.c};
    const std::complex<double> zc = std::sqrt(z / y);
    const std::complex<double> gamma = std::sqrt(z * y);
    const double k0 = omega * kInverseSpeedOfLight;
    const double beta = gamma.imag() / k0;
    const double alpha = gamma.real() / k0;
    Shown s{zc.real(), lossInEeff ? beta * beta - alpha * alpha : beta * beta, gamma.real(), 0.0,
            0.0};
    // First-order parts R / 2 Zc and G Zc / 2, scaled to the loss.
    const double conductor = (k.r / 2.0 / zc).real();
    const double dielectric = k.g / 2.0 * zc.real();
    const double first = conductor + dielectric;
    s.conductor = first > 0.0 ? s.loss * (conductor / first) : 0.0;
    s.dielectric = s.loss - s.conductor;
    return s;
}

// The kernel's low-loss values with resistance r.
Shown LowLoss(const LineValues& v, double r) {
    const double conductor = r / (2.0 * v.impedance);
    return {v.impedance, v.eeff, conductor + v.dielectricLoss, conductor, v.dielectricLoss};
}

double Between(double from, double to, double share) {
    return from + share * (to - from);
}

// HasLineConstants and ConstantsOf, inline in every answer's path.
inline bool Has(const LineValues& v, double f) {
    if (!(f > 0.0) || std::isnan(v.conductorLoss) || std::isnan(v.dielectricLoss)) return false;
    if (!std::isnan(v.constants.r)) return v.constants.l > 0.0 && v.constants.c > 0.0;
    return v.impedance > 0.0 && v.eeff > 0.0; // else left to the plausibility rule
}

inline LineConstants Constants(const LineValues& v, const DcConductor& dc) {
    LineConstants k = v.constants;
    if (std::isnan(k.r)) {
        const double root = std::sqrt(v.eeff);
        k = {2.0 * v.impedance * v.conductorLoss, root * v.impedance * kInverseSpeedOfLight,
             2.0 * v.dielectricLoss / v.impedance, root / v.impedance * kInverseSpeedOfLight};
    }
    // A conductor left out (0) stays out; one that is there conducts at
    // least as badly as at DC.
    if (k.r > 0.0 && k.r < dc.resistance) k.r = dc.resistance;
    return k;
}

} // namespace

bool HasLineConstants(const LineValues& v, double f) {
    return Has(v, f);
}

LineConstants ConstantsOf(const LineValues& v, const DcConductor& dc) {
    return Constants(v, dc);
}

void ApplyLineConstants(LineValues& v, const DcConductor& dc, double f) {
    if (!Has(v, f)) return;
    const double omega = kTwoPi * f;
    const bool own = !std::isnan(v.constants.r);
    const LineConstants k = Constants(v, dc);
    const bool floored = k.r != (own ? v.constants.r : 2.0 * v.impedance * v.conductorLoss);
    const double external = k.l - k.internalL;
    const double ratio = k.r / (omega * external);
    v.belowCorner = ratio > 1.0;
    const double share = ExactShare(ratio);
    if (share == 0.0 && !floored) return;

    const Shown above = !floored ? Current(v) : own ? Exact(k, omega, true) : LowLoss(v, k.r);
    Shown shown = above;
    if (share > 0.0) {
        LineConstants atDc = k;
        atDc.l = external + dc.inductance;
        atDc.internalL = dc.inductance;
        const Shown exact = Exact(atDc, omega, false);
        shown = {Between(above.impedance, exact.impedance, share),
                 Between(above.eeff, exact.eeff, share), Between(above.loss, exact.loss, share),
                 Between(above.conductor, exact.conductor, share),
                 Between(above.dielectric, exact.dielectric, share)};
        v.formulaEeff = external * k.c * kSpeedOfLight * kSpeedOfLight;
    }
    v.impedance = shown.impedance;
    v.eeff = shown.eeff;
    v.loss = shown.loss;
    v.conductorLoss = shown.conductor;
    v.dielectricLoss = shown.dielectric;
}

void ApplyLineConstants(const LineDescriptor& line, const InputsAtFrequency& in, double x,
                        LineResult& result) {
    if (line.dcConductor == nullptr) return;
    const DcConductor dc = line.dcConductor(in, x);
    if (!line.coupled) {
        ApplyLineConstants(result, dc, in.f);
        return;
    }
    // The shown values are a copy of one mode: computed once, with it.
    ApplyLineConstants(result.even, dc, in.f);
    ApplyLineConstants(result.odd, dc, in.f);
    result.ShowMode(in.mode);
}
