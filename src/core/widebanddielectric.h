// Frequency-dependent dielectric: the Djordjevic-Sarkar wideband Debye model,
// a continuum of Debye poles spread evenly over log frequency between omega1
// and omega2:
//   eps(omega) = eps_inf + delta_eps / (m2 - m1) * log10((omega2 + j omega) / (omega1 + j omega))
// with m1 = log10(omega1), m2 = log10(omega2) and eps = eps' - j eps''.  Its
// loss tangent is nearly flat between the poles and eps' falls slowly with
// frequency, as measured on glass-epoxy laminates, and the model is causal.
// eps_inf and delta_eps follow from Er and tand given at one reference
// frequency.  A. R. Djordjevic, R. M. Biljic, V. D. Likar-Smiljanic,
// T. K. Sarkar, "Wideband frequency-domain characterization of FR-4 and
// time-domain causality", IEEE Trans. Electromagnetic Compatibility 43(4),
// 2001, pp. 662-667.
#pragma once

#include <complex>

#include "core/lineinputs.h"

class DjordjevicSarkar {
  public:
    // er and tand hold at fRef; poles from fLow to fHigh (all hertz).  Raises
    // TP_Exceptions for fRef <= 0, fLow <= 0, fHigh <= fLow or er <= 0.
    DjordjevicSarkar(double er, double tand, double fRef, double fLow, double fHigh);

    // eps' - j eps'' at f hertz (f >= 0).
    std::complex<double> Permittivity(double f) const;
    double EpsInfinity() const { return epsInf_; }
    double DeltaEps() const { return deltaEps_; }

  private:
    // log10((omega2 + j omega) / (omega1 + j omega)) / (m2 - m1)
    std::complex<double> Spread(double f) const;

    double fLow_;
    double fHigh_;
    double epsInf_ = 0.0;
    double deltaEps_ = 0.0;
};

// The inputs as a kernel must see them at their frequency in.f: under the
// wideband model, er and tand replaced by Er(f) and tand(f) and the model
// marked as applied (Constant), so that a second call changes nothing;
// otherwise the inputs unchanged.  Any model of core/materialmodels.h whose
// Er and tand vary with frequency is applied the same way.  Raises TP_Exceptions for an invalid
// model (see the constructor) or an Er(f) below 1.  Every evaluation at a frequency goes
// through it (the driver's actions, EvaluateWithLossParts, a sweep point).
InputsAtFrequency AtFrequency(const LineInputs& in);
