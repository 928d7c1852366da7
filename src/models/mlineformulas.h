// Terms shared by the single and the coupled microstrip: the Hammerstad-Jensen
// static effective dielectric constant (Hammerstad and Jensen, "Accurate
// models for microstrip computer-aided design", MTT-S 1980) and the
// Kirschning-Jansen dispersion terms (Kirschning and Jansen, "Accurate model
// for effective dielectric constant of microstrip with validity up to
// millimetre-wave frequencies", Electronics Letters 1982; Kirschning, Jansen
// and Koster, "Measurement and computer-aided modeling of microstrip
// discontinuities", MTT-S 1983).  Internal to the microstrip family.
#pragma once

#include "numeric/checkedmath.h"

namespace mline {

// Every power of the formulas is the checked one.
inline double Pow(double x, double y) {
    return CheckedPow(x, y);
}

// The guarded exponential a formula set uses (SafeExp or SafeExp500).
using ExpFunction = double (*)(double);

// Hammerstad-Jensen a(u) for width ratio x.
double HammerstadJensenA(double x);
// Hammerstad-Jensen b(Er).
double HammerstadJensenB(double er);
// ((Er + 1) + (Er - 1) (1 + 10/x)^(-a(x) b(Er))) / 2.
double HammerstadJensenEffective(double x, double er);
// The same with a(x) at hand.
double HammerstadJensenEffective(double x, double er, double a);

// Hammerstad-Jensen increment of the width ratio u for a strip of thickness
// ratio t, in air.
double ThicknessIncrement(double u, double t);
// coth^2 sqrt(6.517 u), the increment's term of the width alone, and the
// increment with it at hand.
double ThicknessCothSquared(double u);
double ThicknessIncrement(double u, double t, double cothSquared);

// Kirschning-Jansen P1 to P4 of the effective dielectric constant's
// dispersion; fn is frequency in GHz times height in mm.
struct DielectricDispersionTerms {
    double p1, p2, p3, p4;
};
DielectricDispersionTerms KirschningJansenDielectricTerms(double u, double er, double fn,
                                                          ExpFunction exp);

// Kirschning-Jansen R8, R9 and R17 of the impedance's dispersion.
struct ImpedanceDispersionTerms {
    double r8, r9, r17;
};
ImpedanceDispersionTerms KirschningJansenImpedanceTerms(double u, double er, double fn,
                                                        ExpFunction exp);

} // namespace mline
