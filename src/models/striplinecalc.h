// Stripline and edge-coupled stripline: strips of width W and thickness T
// centred between two ground planes B apart in a homogeneous dielectric.
// All lengths in metres, frequencies in hertz, conductivities in S/m, losses
// in nepers per metre.
#pragma once

#include <bit>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/lineinputs.h"
#include "models/conductorlossfloor.h"
#include "numeric/checkedmath.h"
#include "numeric/constants.h"
#include "numeric/hilberg.h"
#include "numeric/lanes.h"

// For double, or for Lanes (two plane spacings at once, the flag per lane).
template <class T = double> struct StriplineImpedanceOf {
    T z0; // ohms
    // Beyond the formula's range: a thick strip with (W + dW) / (B - T) >= 10
    // (Wheeler's fit), or a thin strip so wide (W/B above about 4.6) that the
    // elliptic modulus is clamped.
    decltype(T() > T()) outOfRange;
};
using StriplineImpedanceResult = StriplineImpedanceOf<>;

// Wheeler 1978 for a strip of finite thickness (T/B >= 1e-9), Cohn 1954
// (exact elliptic-integral ratio) for a strip of zero thickness.
StriplineImpedanceResult StriplineImpedance(double w, double b, double t, double er);

// The same double to the bit (0 and -0 told apart): where a term computed
// for one input serves another, only if a formula could not tell them apart.
inline bool SameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}
// The same test for both lanes, which must agree (else LanesDisagree).
inline bool SameBits(Lanes a, Lanes b) {
    const bool lane0 = SameBits(a[0], b[0]);
    if (lane0 != SameBits(a[1], b[1])) throw LanesDisagree{};
    return lane0;
}

// Wheeler's widening raises 1 / 4 pi (W/T + 1.1) to a power set by the
// planes: the base and its logarithm belong to the strip's W and T alone, so
// one strip between other planes (the planes receded by the skin depth, an
// offset strip's two halves) needs them once.  The first thick section of a
// strip fills them in, where the formula would compute them anyway (so no
// other operation, and no other floating-point flag, is added); later
// sections of the same W and T, to the bit, read them; another strip's
// sections compute their own.
struct StripWidening {
    double w = 0.0, t = 0.0;
    std::optional<CheckedPowers> base; // empty until filled in
};
// The terms of a strip drawn and with its walls receded by StripRecession
// (for the conductor loss), each filled in at first need.
struct StripWidenings {
    StripWidening drawn, receded;
};

// StriplineImpedance reading or filling in `widening` (or null).
StriplineImpedanceResult StriplineImpedance(double w, double b, double t, double er,
                                            StripWidening* widening);
// StriplineImpedance in air (Er = 1), the same.
StriplineImpedanceResult StriplineImpedanceInAir(double w, double b, double t,
                                                 StripWidening* widening = nullptr);
// The impedance in air at two plane spacings and strip thicknesses at once
// (Lanes, lane 0 first), bit for bit each lane's; LanesDisagree where the two
// would take different forms, or are thick strips of different thickness.
StriplineImpedanceOf<Lanes> StriplineImpedanceInAir(double w, Lanes b, Lanes t,
                                                    StripWidening* widening);
// Its outOfRange flag alone (which Er does not change), without the impedance.
bool StriplineOutOfRange(double w, double b, double t);

// K'(k)/K(k), complete elliptic integrals of the first kind, by Hilberg's
// approximation (numeric/hilberg.h) with k clamped to [1e-6, kLargestModulus].
// Inline: a coupled cross-section takes it three times.  For double, or for
// Lanes (two moduli at once; where they lie on either side of the branch
// point, each its own).
inline constexpr double kLargestModulus = 1.0 - 1e-6;
template <class T> inline T StriplineKPrimeOverK(T k) {
    // Hilberg's logarithmic forms lose digits at the ends; the clamp keeps
    // 1 - b and the logarithm away from zero.
    k = Where(!(k >= 1e-6), T(1e-6), k);
    k = Where(k > kLargestModulus, T(kLargestModulus), k);
    // pi to 15 digits in the upper branch, as the published values have it.
    // (Each branch its own return: nothing kept across the logarithm.)
    const auto upper = k > 0.70710678118655;
    if (All(upper)) return 3.14159265358979 / HilbergLogarithm(HilbergAbove(k));
    if (!None(upper)) return PerLane([](double lane) { return StriplineKPrimeOverK(lane); }, k);
    return HilbergLogarithm(HilbergBelow(1.0 - k * k)) * constants::kOneOverPi;
}

// tanh x stays below kLargestModulus by far for 0 <= x <= 7 (tanh 7 = 1 - 1.7e-6):
// there a range test needs no tanh.
inline bool TanhSurelyBelowClamp(double x) {
    return x >= 0.0 && x <= 7.0;
}

// Dielectric loss of a TEM line filled with the dielectric.
double StriplineDielectricLoss(double f, double er, double lossTangent);

// Conductor loss of the strip at (W, B, T) whose impedance is z0: Wheeler's
// incremental-inductance rule with the strip's finite thickness, never below
// the loss of the strip's DC resistance (FiniteThicknessResistance).
// T = 0 leaves it out.
double StriplineConductorLoss(double z0, double f, double w, double b, double t, double er,
                              double sigma);
// The same with the strip's skin terms at hand (StripSkinOf(f, t, sigma)),
// and its Wheeler terms where they are (or null).
double StriplineConductorLoss(double z0, const StripSkin& skin, double w, double b, double t,
                              double er, double sigma, StripWidenings* widenings = nullptr);
// The same between two plane spacings at once (Lanes), as the impedance in air.
Lanes StriplineConductorLoss(Lanes z0, const StripSkin& skin, double w, Lanes b, double t,
                             double er, double sigma, StripWidenings* widenings);

// True while f does not exceed the cut-off of the lowest TE mode.
bool StriplineBelowTeCutoff(double f, double w, double b, double er);

// The conductor's conductivity from its resistivity relative to gold,
// 1 / (Rho * 2.44e-8); 0 for Rho not above 1e-9, a perfect conductor whose
// conductor loss is left out.
double StriplineConductivity(double rho);

// The ground planes must be apart ("H must be > 0"); a strip needs a width
// and cannot have a negative thickness.  Each raises TP_Exceptions with a
// message naming the dimension.
void RequireGroundPlaneSpacing(double b);
void RequireStripDimensions(double w, double t);

// Edge-coupled stripline, Cohn 1955: even- and odd-mode impedances from the
// normalized capacitances, gap S between the strip edges.
double CoupledStriplineEvenImpedance(double w, double s, double b, double t, double er);
double CoupledStriplineOddImpedance(double w, double s, double b, double t, double er);

enum class CoupledMode { Even, Odd };

// One quantity of both modes (of two plane spacings at once in Lanes).
template <class T = double> struct ModePair { T even, odd; };

// True where the selected mode's elliptic modulus reaches the clamp of
// StriplineKPrimeOverK (strips wider than about 4.5 B): the impedance returned stays
// at the clamped value while the true one keeps falling, as for the single
// strip's outOfRange flag.
bool CoupledStriplineOutOfRange(CoupledMode mode, double w, double s, double b, double t);
// Either mode's, in the order even, odd, each term computed once.
bool CoupledStriplineEitherModeOutOfRange(double w, double s, double b, double t);

// The selected mode's conductor loss at impedance z, by the single strip's
// rule; each strip carries the mode current.
double CoupledStriplineConductorLoss(CoupledMode mode, double z, double f, double w, double s,
                                     double b, double t, double er, double sigma);
// Both modes' impedances and conductor losses (0 for sigma <= 0), with the
// strips' skin terms at hand (StripSkinOf(f, t, sigma)): each receded
// cross-section computed once for both modes, the strips' receded walls
// reading the drawn section's outer edge.
template <class T = double> struct CoupledStriplineModes { ModePair<T> impedance, conductorLoss; };
CoupledStriplineModes<> CoupledStriplineImpedancesAndLosses(double w, double s, double b, double t,
                                                            double er, const StripSkin& skin,
                                                            double sigma);
// The same with the strips' Wheeler terms at hand.
CoupledStriplineModes<> CoupledStriplineImpedancesAndLosses(double w, double s, double b, double t,
                                                            double er, const StripSkin& skin,
                                                            double sigma, StripWidenings& strips);

// The same between two plane spacings at once (Lanes, lane 0 first), bit for
// bit each spacing's own; LanesDisagree where the two would take different
// forms or leave a checked function's fast path (the caller then evaluates
// each spacing alone, with `strips` emptied).
CoupledStriplineModes<Lanes>
CoupledStriplineImpedancesAndLosses(double w, double s, Lanes b, double t, double er,
                                    const StripSkin& skin, double sigma, StripWidenings& strips);

// The line kernels: W is row 1 (the trial value x), B row 2, T row 3.  The
// impedance alone serves the synthesis scan; Evaluate adds the loss.
namespace stripline {
LineResult Evaluate(const InputsAtFrequency& in, double w);
double Impedance(const InputsAtFrequency& in, double w);
void Check(const InputsAtFrequency& in, std::vector<std::string>& warnings);
} // namespace stripline

// The line kernels: W is row 1 (the trial value x), S row 2, B row 3, T row 4;
// both modes are computed, the result's own values are those of in.mode.
namespace coupledstripline {
LineResult Evaluate(const InputsAtFrequency& in, double w);
void Check(const InputsAtFrequency& in, std::vector<std::string>& warnings);
} // namespace coupledstripline
