// Rectangular waveguide, TE10 mode: wave impedance, guide wavelength and the
// losses of D. M. Pozar, "Microwave Engineering", 4th ed., Wiley 2012,
// section 3.3 (conductor loss, eq. 3.96, and dielectric loss, eq. 3.29); the
// same forms are in R. E. Collin, "Foundations for Microwave Engineering",
// 2nd ed., 1992, section 3.12.
#include "models/waveguidecalc.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cmath>

#include "numeric/checkedmath.h"
#include "numeric/constants.h"
#include "numeric/tpexceptions.h"
#include "quantities/numberformat.h"

using namespace constants;

namespace {

// The operating band of a standard guide starts 25 % above the TE10 cut-off:
// nearer to it the loss and the dispersion climb steeply.
constexpr double kBandStart = 1.25;

std::string Gigahertz(double hz) {
    return FormatG(hz * 1e-9) + " GHz";
}

// The TE10 propagation: raises the one message a guide below cut-off shows.
struct Te10 {
    double k;    // wavenumber in the dielectric, rad/m
    double beta; // phase constant, rad/m
    double eta;  // wave impedance of the dielectric, ohms
};

Te10 Propagation(const InputsAtFrequency& in, double a) {
    const double fc = WaveguideCutoff(1, 0, a, 1.0, in.er);
    if (!(in.f > fc))
        throw TP_Exceptions("Below the TE10 cut-off (f_c = " + Gigahertz(fc) +
                            "): the guide does not propagate");
    const double k = kTwoPi * in.f * CheckedSqrt(in.er) * kInverseSpeedOfLight;
    const double kc = kPi / a;
    return {k, CheckedSqrt(k * k - kc * kc), kEta0 / CheckedSqrt(in.er)};
}

// The six lowest modes, lowest first, by their indices alone.
constexpr std::size_t kModesShown = 6;
struct ModeIndex {
    double cutoff;
    int m, n;
    bool tm;
};

// Kept in order as they come: a mode goes behind every kept one of equal
// cut-off, so that ties stay in the order of the indices (TE before TM).
template <std::size_t N>
void KeepIfLower(std::array<ModeIndex, N>& lowest, std::size_t& kept, const ModeIndex& mode) {
    if (kept == N && !(mode.cutoff < lowest[N - 1].cutoff)) return;
    std::size_t at = kept < N ? kept++ : N - 1;
    for (; at > 0 && mode.cutoff < lowest[at - 1].cutoff; --at)
        lowest[at] = lowest[at - 1];
    lowest[at] = mode;
}

// The N lowest modes, lowest first; at equal cut-offs TE before TM, then by
// the indices.  With b <= a, TE10 to TEN0 lie below every mode of m > N, and
// TE10 to TE(N-1)0 with TE01 to TE0(N-1) below every mode of n >= N: those
// indices cover the N lowest (a flat guide's are TE10 to TEN0).
template <std::size_t N> std::array<ModeIndex, N> LowestModes(const InputsAtFrequency& in) {
    const double a = in.Row(1);
    const double b = in.Row(2);
    std::array<ModeIndex, N> lowest{};
    std::size_t kept = 0;
    for (int m = 0; m <= static_cast<int>(N); ++m)
        for (int n = 0; n < static_cast<int>(N); ++n) {
            if (m == 0 && n == 0) continue;
            const double fc = WaveguideCutoff(m, n, a, b, in.er);
            KeepIfLower(lowest, kept, {fc, m, n, false});
            if (m > 0 && n > 0) KeepIfLower(lowest, kept, {fc, m, n, true});
        }
    return lowest;
}

// "TE10": both indices are single digits.
GuideMode Named(const ModeIndex& mode, double f) {
    const char name[] = {'T', mode.tm ? 'M' : 'E', static_cast<char>('0' + mode.m),
                         static_cast<char>('0' + mode.n)};
    return {std::string(name, sizeof name), mode.cutoff, f > mode.cutoff};
}

} // namespace

double WaveguideCutoff(int m, int n, double a, double b, double er) {
    const double p = m / a;
    const double q = n / b;
    return 0.5 * kSpeedOfLight * CheckedSqrt(p * p + q * q) / CheckedSqrt(er);
}

double waveguide::Impedance(const InputsAtFrequency& in, double a) {
    const Te10 te = Propagation(in, a);
    return te.eta * te.k / te.beta;
}

LineResult waveguide::Evaluate(const InputsAtFrequency& in, double a) {
    const double b = in.Row(2);
    const Te10 te = Propagation(in, a);
    const double k0 = te.k / CheckedSqrt(in.er);
    LineResult r;
    r.impedance = te.eta * te.k / te.beta;
    r.eeff = (te.beta / k0) * (te.beta / k0);
    r.dielectricLoss = te.k * te.k * in.tand / (2.0 * te.beta);
    r.conductorLoss = 0.0;
    if (in.rho > 1e-9) {
        const double sigma = 1.0 / (in.rho * kGoldResistivity);
        const double rs = CheckedSqrt(kPi * in.f * kMu0 / sigma); // sqrt(omega mu0 / 2 sigma)
        r.conductorLoss = rs * (2.0 * b * kPi * kPi + a * a * a * te.k * te.k) /
                          (a * a * a * b * te.beta * te.k * te.eta);
    }
    r.loss = r.conductorLoss + r.dielectricLoss;
    return r;
}

void waveguide::Check(const InputsAtFrequency& in, std::vector<std::string>& warnings) {
    const double a = in.Row(1);
    const double b = in.Row(2);
    if (!(a > 0.0)) throw TP_Exceptions("a must be > 0");
    if (!(b > 0.0)) throw TP_Exceptions("b must be > 0");
    if (b > a) throw TP_Exceptions("b must be <= a: the TE10 mode is the dominant one");
    if (in.er < 0.9999) throw TP_Exceptions("Er must be >= 1");
    const double fc = WaveguideCutoff(1, 0, a, b, in.er);
    Propagation(in, a); // below the cut-off: that message and nothing else
    const ModeIndex second = LowestModes<2>(in)[1];
    if (in.f > second.cutoff)
        warnings.push_back("Multimode: the " + Named(second, in.f).name +
                           " mode propagates above " + Gigahertz(second.cutoff));
    else if (in.f < kBandStart * fc)
        warnings.push_back("f Recommended >= 1.25 f_c (" + Gigahertz(kBandStart * fc) + ")");
    if (in.rho > 100.0) warnings.push_back("Rho Recommended <= 100");
}

std::vector<GuideMode> waveguide::Modes(const InputsAtFrequency& in) {
    std::vector<GuideMode> modes;
    modes.reserve(kModesShown);
    for (const ModeIndex& mode : LowestModes<kModesShown>(in))
        modes.push_back(Named(mode, in.f));
    return modes;
}
