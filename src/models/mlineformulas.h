// Terms shared by the single and the coupled microstrip: the Hammerstad-Jensen
// static effective dielectric constant (Hammerstad and Jensen, "Accurate
// models for microstrip computer-aided design", MTT-S 1980) and the
// Kirschning-Jansen dispersion terms (Kirschning and Jansen, "Accurate model
// for effective dielectric constant of microstrip with validity up to
// millimetre-wave frequencies", Electronics Letters 1982; Kirschning, Jansen
// and Koster, "Measurement and computer-aided modeling of microstrip
// discontinuities", MTT-S 1983).  Internal to the microstrip family.
#pragma once

#include <numbers>

#include "numeric/checkedmath.h"
#include "numeric/complexmath.h"
#include "numeric/constants.h"

namespace mline {

// Every power of the formulas is the checked one.
inline double Pow(double x, double y) {
    return CheckedPow(x, y);
}
inline double PowN(double x, int n) {
    return CheckedPowN(x, n);
}

// The guarded exponential a formula set uses, SafeExp or SafeExp500: a
// template argument, so that the terms call it directly (instantiated for
// those two).
using ExpFunction = double (*)(double);

// Hammerstad-Jensen a(u) for width ratio x.
double HammerstadJensenA(double x);
// Hammerstad-Jensen b(Er).
double HammerstadJensenB(double er);
// ((Er + 1) + (Er - 1) (1 + 10/x)^(-a(x) b(Er))) / 2.
double HammerstadJensenEffective(double x, double er);
// The same with a(x), and b(Er), at hand.
double HammerstadJensenEffective(double x, double er, double a);
double HammerstadJensenEffective(double x, double er, double a, double b);

// coth^2 sqrt(6.517 u), the thickness increment's term of the width alone,
// and the increment with it at hand.  Inline, as the increment below: a
// coupled pair takes them in each of its three cross-sections.
inline double ThicknessCothSquared(double u) {
    const double x = CheckedSqrt(6.517 * u);
    // coth x = (1 + e) / (1 - e), e = exp(-2 x): one exponential where 1 - e
    // keeps its digits (u above 0.04), the guarded 1 / tanh x below.
    if (!(x >= 0.5)) return PowN(Coth(x), 2);
    const double e = SafeExp(-2.0 * x);
    return PowN((1.0 + e) / (1.0 - e), 2);
}
inline double ThicknessIncrementFromCoth(double t, double cothSquared) {
    return (t * constants::kOneOverPi) *
           CheckedLog(1.0 + 4.0 * std::numbers::e / (t * cothSquared));
}
// Hammerstad-Jensen increment of the width ratio u for a strip of thickness
// ratio t, in air.
inline double ThicknessIncrement(double u, double t) {
    return ThicknessIncrementFromCoth(t, ThicknessCothSquared(u));
}
// The same on a substrate of Er from the one in air du1:
// du1 (1 + sech sqrt(Er - 1)) / 2.
double ThicknessIncrementOnSubstrate(double du1, double er);

// The Kirschning-Jansen dispersion terms of the width ratio u and Er alone
// (their other factor is the frequency): a sweep of the frequency computes
// them once.
struct DispersionStaticTerms {
    // exp(-8.7513 u) of P1, P2, 0.0363 exp(-4.6 u) of P3, P4.
    double p1Fade, p2, p3Factor, p4;
    // R7; -0.004625 R3 Er^1.674 of R8; of R9 exp(-R6), 5.086 R4, 0.386 R4 +
    // 0.3838, (Er - 1)^6 and 1 + 10 (Er - 1)^6; 0.707 R10 of R15; R12;
    // 0.0503 Er^2 and 1 - exp(-(u/15)^6) of R16.
    double r7, r8Factor, r9Fade, r9Scale, r9Divisor, erm1to6, erm1to6Divisor, r15Factor, r12,
        r16Factor, r16Fade;
};
// uTo, erTo: the powers of u and Er, which a pair's dispersion reads too.
template <ExpFunction exp>
DispersionStaticTerms KirschningJansenStaticTerms(const CheckedPowers& uTo,
                                                  const CheckedPowers& erTo);
template <ExpFunction exp>
inline DispersionStaticTerms KirschningJansenStaticTerms(double u, double er) {
    return KirschningJansenStaticTerms<exp>(CheckedPowers(u), CheckedPowers(er));
}

// Kirschning-Jansen P1 to P4 of the effective dielectric constant's
// dispersion; fn is frequency in GHz times height in mm (fnTo: its powers,
// whose logarithm the impedance's dispersion shares).
struct DielectricDispersionTerms {
    double p1, p2, p3, p4;
};
template <ExpFunction exp>
DielectricDispersionTerms KirschningJansenDielectricTerms(const DispersionStaticTerms& s,
                                                          double u, const CheckedPowers& fnTo);

// Kirschning-Jansen R8, R9 and R17 of the impedance's dispersion (fnTo: the
// powers of fn).
struct ImpedanceDispersionTerms {
    double r8, r9, r17;
};
template <ExpFunction exp>
ImpedanceDispersionTerms KirschningJansenImpedanceTerms(const DispersionStaticTerms& s,
                                                        const CheckedPowers& fnTo);
template <ExpFunction exp>
inline ImpedanceDispersionTerms KirschningJansenImpedanceTerms(const DispersionStaticTerms& s,
                                                               double fn) {
    return KirschningJansenImpedanceTerms<exp>(s, CheckedPowers(fn));
}

} // namespace mline
