// Terms shared by the single and the coupled microstrip: the Hammerstad-Jensen
// static effective dielectric constant (Hammerstad and Jensen, "Accurate
// models for microstrip computer-aided design", MTT-S 1980) and the
// Kirschning-Jansen dispersion terms (Kirschning and Jansen, "Accurate model
// for effective dielectric constant of microstrip with validity up to
// millimetre-wave frequencies", Electronics Letters 1982; Kirschning, Jansen
// and Koster, "Measurement and computer-aided modeling of microstrip
// discontinuities", MTT-S 1983).  Internal to the microstrip family.
#pragma once

#include <bit>
#include <cfenv>
#include <cstdint>

#include "numeric/checkedmath.h"
#include "numeric/fpfault.h"

namespace mline {

// Every power of the formulas is the checked one.
inline double Pow(double x, double y) {
    return CheckedPow(x, y);
}

// The guarded exponential a formula set uses (SafeExp or SafeExp500).
using ExpFunction = double (*)(double);

// A synthesis scan evaluates the line at a thousand widths with the same Er
// and frequency: the terms that depend on those alone are kept from the last
// evaluation that raised no floating-point fault (a kept value must not hide
// a fault it would raise again).  On a miss every term is computed where the
// formula has it, so errors arise in the order they always did.
template <int N> class KeptTerms {
  public:
    // True when the terms for these arguments are kept; otherwise the next
    // Term calls compute them.
    bool Lookup(double a, double b, ExpFunction exp) {
        const bool hit = valid_ && key_[0] == std::bit_cast<std::uint64_t>(a) &&
                         key_[1] == std::bit_cast<std::uint64_t>(b) && exp_ == exp;
        if (!hit) {
            valid_ = false;
            key_[0] = std::bit_cast<std::uint64_t>(a);
            key_[1] = std::bit_cast<std::uint64_t>(b);
            exp_ = exp;
        }
        hit_ = hit;
        return hit;
    }
    template <class F> double Term(int i, F compute) {
        double& slot = values_[static_cast<std::size_t>(i)];
        if (!hit_) slot = compute();
        return slot;
    }
    // After every term of a miss was computed.
    void Keep() {
        if (!hit_) valid_ = std::fetestexcept(kFloatingPointFaults) == 0;
    }

  private:
    std::uint64_t key_[2] = {};
    ExpFunction exp_ = nullptr;
    bool valid_ = false;
    bool hit_ = false;
    double values_[N] = {};
};

// Hammerstad-Jensen a(u) for width ratio x.
double HammerstadJensenA(double x);
// Hammerstad-Jensen b(Er).
double HammerstadJensenB(double er);
// ((Er + 1) + (Er - 1) (1 + 10/x)^(-a(x) b(Er))) / 2.
double HammerstadJensenEffective(double x, double er);

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
