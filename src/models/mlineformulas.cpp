// Hammerstad-Jensen static terms and Kirschning-Jansen dispersion terms,
// written once for the single and the coupled microstrip.
#include "models/mlineformulas.h"

#include "numeric/complexmath.h"

namespace mline {

double HammerstadJensenA(double x) {
    const double x4 = PowN(x, 4);
    const double over52 = x * 0.01923076923076923077;  // x / 52
    const double over18 = x * 0.055248618784530382404; // x / 18.1
    return 1.0 + 0.02040816326530612 * CheckedLog((x4 + PowN(over52, 2)) / (x4 + 0.432)) // 1/49
           + 0.053475935828877004 * CheckedLog(1.0 + PowN(over18, 3));                   // 1/18.7
}

// The powers here are exp(y ln x) (CheckedPowers), cheaper than pow.
double HammerstadJensenB(double er) {
    return 0.564 * CheckedPowers((er - 0.9) / (er + 3.0)).Pow(0.053);
}

double HammerstadJensenEffective(double x, double er) {
    return HammerstadJensenEffective(x, er, HammerstadJensenA(x));
}

double HammerstadJensenEffective(double x, double er, double a) {
    return HammerstadJensenEffective(x, er, a, HammerstadJensenB(er));
}

double HammerstadJensenEffective(double x, double er, double a, double b) {
    const double exponent = -a * b;
    return ((er + 1.0) + (er - 1.0) * CheckedPowers(1.0 + 10.0 / x).Pow(exponent)) * 0.5;
}

template <ExpFunction exp>
DispersionStaticTerms KirschningJansenStaticTerms(const CheckedPowers& uTo,
                                                  const CheckedPowers& erTo) {
    const double u = uTo.Base(), er = erTo.Base();
    DispersionStaticTerms s;
    s.p1Fade = exp(-8.7513 * u);
    s.p2 = 0.33622 * (1.0 - exp(-0.03442 * er));
    s.p3Factor = 0.0363 * exp(-4.6 * u);
    s.p4 = 1.0 + 2.751 * (1.0 - exp(-PowN(er * 0.06282985674792661327, 8))); // Er / 15.916

    const double r1 = 0.03891 * erTo.Pow(1.4);
    const double r2 = 0.267 * PowN(u, 7);
    const double r3 = 4.766 * exp(-3.228 * uTo.Pow(0.641));
    const double r4 = 0.016 + erTo.Pow(4.524) * 1.4736595074451515e-06; // (0.0514 Er)^4.524
    const double r6 = 22.2 * uTo.Pow(1.92);
    s.r7 = 1.206 - 0.3144 * exp(-r1) * (1.0 - exp(-r2));
    s.r8Factor = -0.004625 * r3 * erTo.Pow(1.674);
    s.r9Fade = exp(-r6);
    s.r9Scale = 5.086 * r4;
    s.r9Divisor = 0.386 * r4 + 0.3838;
    s.erm1to6 = PowN(er - 1.0, 6);
    s.erm1to6Divisor = 1.0 + 10.0 * s.erm1to6;
    const double r10 = 0.00044 * erTo.Pow(2.136) + 0.0184;
    s.r15Factor = 0.707 * r10;
    s.r12 = 1.0 / (1.0 + 0.00245 * PowN(u, 2));
    s.r16Factor = 0.0503 * PowN(er, 2);
    s.r16Fade = 1.0 - exp(-PowN(u * 0.06666666666666666667, 6)); // u / 15
    return s;
}

template <ExpFunction exp>
DielectricDispersionTerms KirschningJansenDielectricTerms(const DispersionStaticTerms& s,
                                                          double u, const CheckedPowers& fnTo) {
    const double fn = fnTo.Base();
    DielectricDispersionTerms p;
    p.p1 = (0.525 / PowN(1.0 + 0.0157 * fn, 20) + 0.6315) * u + 0.27488 - 0.065683 * s.p1Fade;
    p.p2 = s.p2;
    p.p3 = s.p3Factor * (1.0 - exp(-(fnTo.Pow(4.97) * 1.2855130916641590e-08))); // fn / 38.7
    p.p4 = s.p4;
    return p;
}

template <ExpFunction exp>
ImpedanceDispersionTerms KirschningJansenImpedanceTerms(const DispersionStaticTerms& s,
                                                        const CheckedPowers& fnTo) {
    const double fn = fnTo.Base();
    const double r5 = PowN(fn * 0.03467045730333183098, 12); // fn / 28.843
    const double r8 =
        1.0 + 1.275 * (1.0 - exp(s.r8Factor * (fnTo.Pow(2.745) *
                                                 0.0003391133520649517))); // (1 / 18.365)^2.745
    const double r9 = s.r9Fade / (1.0 + 1.2992 * r5) * (s.r9Scale * r5 / s.r9Divisor) *
                      s.erm1to6 / s.erm1to6Divisor;
    const double f1947 = PowN(fn * 0.051361068310220855593, 6); // (fn / 19.47)^6
    const double r11 = f1947 / (1.0 + 0.0962 * f1947);
    const double r15 = s.r15Factor * (fnTo.Pow(1.097) * 0.06373442803946153); // (1 / 12.3)^1.097
    const double r16 = 1.0 + s.r16Factor * r11 * s.r16Fade;
    const double r17 =
        s.r7 * (1.0 - 1.1241 * (s.r12 / r16) * exp(-0.026 * fnTo.Pow(1.15656) - r15));
    return {r8, r9, r17};
}

// The two formula sets' exponentials.
template DispersionStaticTerms KirschningJansenStaticTerms<SafeExp>(const CheckedPowers&,
                                                                    const CheckedPowers&);
template DispersionStaticTerms KirschningJansenStaticTerms<SafeExp500>(const CheckedPowers&,
                                                                       const CheckedPowers&);
template DielectricDispersionTerms
KirschningJansenDielectricTerms<SafeExp>(const DispersionStaticTerms&, double, const CheckedPowers&);
template DielectricDispersionTerms
KirschningJansenDielectricTerms<SafeExp500>(const DispersionStaticTerms&, double,
                                            const CheckedPowers&);
template ImpedanceDispersionTerms
KirschningJansenImpedanceTerms<SafeExp>(const DispersionStaticTerms&, const CheckedPowers&);
template ImpedanceDispersionTerms
KirschningJansenImpedanceTerms<SafeExp500>(const DispersionStaticTerms&, const CheckedPowers&);

} // namespace mline
