// Microstrip family: the single microstrip (quasi-static Hammerstad-Jensen
// model with Kirschning-Jansen dispersion, incremental-inductance conductor
// loss with finite-thickness skin effect) and the edge-coupled microstrip pair
// (Kirschning-Jansen even and odd modes).  All quantities are SI: metres,
// hertz, ohms; Rho is the conductor's resistivity relative to gold.
#pragma once

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/lineinputs.h"
#include "models/mlineformulas.h"
#include "numeric/complexmath.h"

// ---- Single microstrip -----------------------------------------------------

// Metal this thin (metres) or thinner carries no conductor loss in the
// microstrip family's formulas: a strip of zero thickness has no finite
// resistance.
inline constexpr double kThinnestConductor = 1e-9;

struct MicrostripStatic {
    double eeff; // effective dielectric constant
    double z0;   // characteristic impedance, ohms
};

// Selector above this value picks the Hammerstad-Jensen formula set, at or
// below it the low-frequency set.
inline constexpr int kLowFrequencySelector = 553;     // what the kernel passes
inline constexpr int kHammerstadJensenSelector = 600; // what the line constants pass

MicrostripStatic MicrostripQuasiStatic(double w, double h, double t, double er, double f,
                                       bool dispersion, int selector);

// The zero-frequency values MicrostripKernel(w, h, t, er, 0, 0, 0) gives, and
// the impedance MicrostripKernel(w, h, t, 1, 0, 0, 0) gives, to the bit: the
// strip in air is the same formula's numerator.  `bOfEr`:
// mline::HammerstadJensenB(er) where at hand (a pair reads several strips on
// one substrate; NaN: computed here).  `widening`: the `widening` an earlier
// strip of the same H and T returned (NaN: computed here).
struct MicrostripZeroFrequencyPair {
    MicrostripStatic substrate;
    double airImpedance;
    // Wheeler's widening of the width ratio by the thickness, a term of T/H
    // alone (NaN: the strip too thin for one).
    double widening;
};
MicrostripZeroFrequencyPair
MicrostripZeroFrequency(double w, double h, double t, double er,
                        double bOfEr = std::numeric_limits<double>::quiet_NaN(),
                        double widening = std::numeric_limits<double>::quiet_NaN());

// The Hammerstad-Jensen set's static part: its quasi-static values and, where
// the set computes it on its way (Er above 1.0001), MicrostripAirImpedance of
// the same strip (NaN otherwise).  It depends on the cross-section and Er
// alone, so a sweep of the frequency computes it once.
struct MicrostripStaticPart {
    MicrostripStatic quasiStatic;
    double airImpedance = std::numeric_limits<double>::quiet_NaN();
    // The thickness increment's term of the width, which the derivative by
    // the thickness reads again (NaN: not at hand).
    double cothSquared = std::numeric_limits<double>::quiet_NaN();
    // The dispersion's terms of the width ratio and Er, from the first
    // dispersed evaluation on.
    std::optional<mline::DispersionStaticTerms> dispersion;
};
MicrostripStaticPart MicrostripHammerstadJensenStatic(double w, double h, double t, double er);

// The set's static values and its dispersed ones from its static part: the
// same numbers as MicrostripQuasiStatic without and with dispersion
// (selector kHammerstadJensenSelector).  Fills the part's dispersion terms
// where it has none.
struct MicrostripStaticPair {
    MicrostripStatic quasiStatic;
    MicrostripStatic dispersed;
    double airImpedance = std::numeric_limits<double>::quiet_NaN();
};
MicrostripStaticPair MicrostripHammerstadJensenPair(double w, double h, double er, double f,
                                                    MicrostripStaticPart& part);

// Impedance of the static line in air, Z0 sqrt(eeff) of the
// Hammerstad-Jensen set: the air impedance Z01 at the width ratio the
// thickness correction gives in air (Er drops out).  `cothSquared`:
// mline::ThicknessCothSquared of the width ratio where at hand (NaN:
// computed here).
double MicrostripAirImpedance(double w, double h, double t,
                              double cothSquared = std::numeric_limits<double>::quiet_NaN());

struct MicrostripResult {
    double loss;      // nepers per metre
    double impedance; // ohms
    double effDielConst;
    // The loss's conductor and dielectric parts, nepers per metre: the
    // first-order parts Re(R / 2 Zc) and Re(G Zc / 2) scaled to add up to the
    // loss.
    double conductorLoss = 0.0;
    double dielectricLoss = 0.0;
    LineConstants constants = {}; // R, L, G, C the values come from (r NaN at DC)
};

// Above 0.001 Hz: the complex line constants; at or below: the low-frequency
// set with dispersion and no loss.
MicrostripResult MicrostripKernel(double w, double h, double t, double er, double tand, double rho,
                                  double f);
// The same reusing or filling the cross-section's terms (Wheeler's derivatives).
MicrostripResult MicrostripKernel(double w, double h, double t, double er, double tand, double rho,
                                  double f, CrossSectionTerms& terms);

struct MicrostripLineConstantsResult {
    Complex gamma;  // propagation constant: nepers and radians per metre
    Complex zc;     // characteristic impedance, ohms
    double r = 0.0; // series resistance, ohms per metre
    double g = 0.0; // shunt conductance, siemens per metre
    double l = 0.0; // series inductance, henries per metre, internalL of it internal
    double c = 0.0; // shunt capacitance, farads per metre
    double internalL = 0.0;
};

// Wheeler's incremental-inductance conductor terms: the normalised
// derivatives of the air impedance, the thickness factor, the skin depth, the
// series resistance and the internal-inductance increment (per metre).
struct MicrostripConductorTerms {
    double dT, dH, dW; // per metre
    double x, bigX;
    double skinDepth; // metres
    double r;         // ohms per metre
    double deltaL;    // henries per metre
};

// Wheeler's derivatives of the air impedance by thickness, height and width,
// normalised by eta0 (per metre): they depend on the cross-section alone.
struct MicrostripWheelerDerivatives {
    double dT, dH, dW;
};
// `airImpedance` and `cothSquared`: MicrostripAirImpedance(w, h, t) and the
// thickness increment's term of the width, where already at hand (NaN:
// computed here).
MicrostripWheelerDerivatives
MicrostripDerivatives(double w, double h, double t,
                      double airImpedance = std::numeric_limits<double>::quiet_NaN(),
                      double cothSquared = std::numeric_limits<double>::quiet_NaN());

MicrostripConductorTerms MicrostripConductorImpedance(double w, double h, double t, double er,
                                                      double rho, double f);
// The same with the line's static values `s` and the derivatives at hand
// (which carry the height and the substrate).
MicrostripConductorTerms MicrostripConductorImpedance(double w, double t, double rho, double f,
                                                      const MicrostripStatic& s,
                                                      const MicrostripWheelerDerivatives& d);

// The terms of one cross-section a caller keeps across evaluations: the
// static part for the Er it was computed at, and Wheeler's derivatives.
struct MicrostripKeptTerms {
    std::optional<MicrostripWheelerDerivatives> derivatives;
    std::optional<MicrostripStaticPart> staticPart;
    double staticEr = std::numeric_limits<double>::quiet_NaN();
};

// `kept`: the terms of this cross-section already at hand, used where they
// apply (the static part at the same Er, to the bit); what is computed
// instead is written there.
MicrostripLineConstantsResult MicrostripLineConstants(double w, double h, double t, double er,
                                                      double tand, double rho, double f,
                                                      MicrostripKeptTerms* kept = nullptr);

// (gamma / j k0)^2 with k0 the free-space wavenumber at max(f, 0.001 Hz).
Complex ComplexEffectiveDielectricConstant(double f, const Complex& gamma);

// The line kernels: W is row 1 (the trial value x), H row 2, T row 3.
namespace microstrip {
LineResult Evaluate(const InputsAtFrequency& in, double w);
LineResult EvaluateReusing(const InputsAtFrequency& in, double w, CrossSectionTerms& terms);
void Check(const InputsAtFrequency& in, std::vector<std::string>& warnings);
} // namespace microstrip

// ---- Coupled microstrip ----------------------------------------------------

struct CoupledMicrostripResult {
    double ze, zo; // even- and odd-mode impedance, ohms
    double ee, eo; // even- and odd-mode effective dielectric constant
    double ae, ao; // even- and odd-mode loss, nepers per metre
    // The conductor and dielectric parts of ae and ao, nepers per metre.
    double conductorEven, conductorOdd, dielectricEven, dielectricOdd;
};

// Even and odd mode without the losses: the Kirschning-Jansen static values,
// dispersed when Er >= 1.2 and f >= 1 Hz.  W or S not positive runs the
// coupled formulas with u = g = 0.1 (the single strip keeps W).
struct CoupledMicrostripModes {
    double ze, zo, ee, eo;
};

CoupledMicrostripModes CoupledMicrostripModeValues(double w, double s, double h, double t,
                                                   double er, double f);
// The same in air at zero frequency, CoupledMicrostripModeValues(w, s, h, t,
// 1, 0), to the bit.
CoupledMicrostripModes CoupledMicrostripModeValuesInAir(double w, double s, double h, double t);

CoupledMicrostripResult CoupledMicrostripKernel(double w, double s, double h, double t, double er,
                                                double tand, double f, double rho);

struct CoupledModeLoss {
    double even, odd; // nepers per metre
};

// Conductor loss of both modes, nepers per metre: Wheeler's
// incremental-inductance rule on the Kirschning-Jansen mode impedances in air
// with the strips' finite thickness (FiniteThicknessResistance), for the
// line's mode impedances ze, zo.  No loss without a conductor (sigma = 0) or
// for T not above kThinnestConductor; W, S or H not positive raise
// TP_Exceptions.  `asDrawnInAir`: CoupledMicrostripModeValues(w, s, h, t, 1,
// 0) where the caller has it (null: computed here).
CoupledModeLoss
CoupledMicrostripConductorLoss(double w, double s, double h, double t, double sigma, double f,
                               double ze, double zo,
                               const CoupledMicrostripModes* asDrawnInAir = nullptr);

// The line kernels: W is row 1 (the trial value x), S row 2, H row 3, T row 4;
// both modes are computed, the result's own values are those of in.mode.
namespace coupledmicrostrip {
LineResult Evaluate(const InputsAtFrequency& in, double w);
void Check(const InputsAtFrequency& in, std::vector<std::string>& warnings);
} // namespace coupledmicrostrip
