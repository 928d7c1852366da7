// Stripline and edge-coupled stripline: strips of width W and thickness T
// centred between two ground planes B apart in a homogeneous dielectric.
// All lengths in metres, frequencies in hertz, conductivities in S/m, losses
// in nepers per metre.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/lineinputs.h"

struct StriplineImpedanceResult {
    double z0; // ohms
    // Beyond the formula's range: a thick strip with (W + dW) / (B - T) >= 10
    // (Wheeler's fit), or a thin strip so wide (W/B above about 4.6) that the
    // elliptic modulus is clamped.
    bool outOfRange;
};

// Wheeler 1978 for a strip of finite thickness (T/B >= 1e-9), Cohn 1954
// (exact elliptic-integral ratio) for a strip of zero thickness.
StriplineImpedanceResult StriplineImpedance(double w, double b, double t, double er);

// K'(k)/K(k), complete elliptic integrals of the first kind, by Hilberg's
// approximation (numeric/hilberg.h) with k clamped to [1e-6, 1 - 1e-6].
double StriplineKPrimeOverK(double k);

// Dielectric loss of a TEM line filled with the dielectric.
double StriplineDielectricLoss(double f, double er, double lossTangent);

// Wheeler's incremental-inductance conductor loss; z0 is the impedance at
// (W, B, T).
double StriplineConductorLoss(double z0, double f, double w, double b, double t, double er,
                              double sigma);

// True while f does not exceed the cut-off of the lowest TE mode.
bool StriplineBelowTeCutoff(double f, double w, double b, double er);

// The conductor's conductivity from its resistivity relative to gold,
// 1 / (Rho * 2.44e-8); 0 for Rho not above 1e-9, a perfect conductor whose
// conductor loss is left out.
double StriplineConductivity(double rho);

// Wheeler's incremental-inductance rule, shared by the single and the coupled
// strip: every conductor wall recedes by the skin depth (at least 1 Hz, at most
// half the thickness T), `recededImpedance(delta)` gives the impedance of the
// receded geometry, and the loss is omega (Z1 - Z) / (2 Z1 v).
double IncrementalInductanceLoss(double z, double f, double t, double er, double sigma,
                                 const std::function<double(double delta)>& recededImpedance);

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

double CoupledStriplineConductorLoss(CoupledMode mode, double z, double f, double w, double s,
                                     double b, double t, double er, double sigma);

// The line kernels: W is row 1 (the trial value x), B row 2, T row 3.  The
// impedance alone serves the synthesis scan; Evaluate adds the loss.
namespace stripline {
LineResult Evaluate(const LineInputs& in, double w);
double Impedance(const LineInputs& in, double w);
void Check(const LineInputs& in, std::vector<std::string>& warnings);
} // namespace stripline

// The line kernels: W is row 1 (the trial value x), S row 2, B row 3, T row 4;
// both modes are computed, the result's own values are those of in.mode.
namespace coupledstripline {
LineResult Evaluate(const LineInputs& in, double w);
void Check(const LineInputs& in, std::vector<std::string>& warnings);
} // namespace coupledstripline
