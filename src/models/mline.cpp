// Single microstrip: quasi-static Hammerstad-Jensen model with thickness
// correction and Kirschning-Jansen dispersion (Hammerstad and Jensen, MTT-S
// 1980; Kirschning and Jansen, Electronics Letters 1982), a low-frequency
// formula set after Wheeler's thickness correction with Getsinger-style
// dispersion (Wheeler 1977; Getsinger 1973), and the line model.
#include "models/mline.h"

#include <cfenv>
#include <cmath>
#include <iterator>
#include <limits>
#include <numbers>
#include <tuple>

#include "models/mlineformulas.h"
#include "numeric/checkedmath.h"
#include "numeric/complexmath.h"
#include "numeric/constants.h"
#include "numeric/fpfault.h"
#include "numeric/tpexceptions.h"

using mline::Pow;
using mline::PowN;
using mline::ThicknessIncrement;
using namespace constants;

namespace {

constexpr double kNotComputed = std::numeric_limits<double>::quiet_NaN();

// Replaces a vanishing dimension (IsNegligible) by 1 nm so that no ratio
// divides by zero.  The test written out: it runs a dozen times per answer.
double NonVanishing(double x) {
    return -1e-30 < x && x < 1e-30 ? 1e-9 : x;
}

// (30.666 / x)^0.7528 of the air impedance's width term, as exp(0.7528 ln(..)):
// the formulas take it half a dozen times per answer.
double AirWidthPower(double x) {
    return CheckedPowers(30.666 / x).Pow(0.7528);
}

// Hammerstad-Jensen air impedance of a strip of width ratio x.
double HammerstadJensenZ01(double x) {
    const double g =
        6.0 + 0.28318530717958623 * SafeExp(-AirWidthPower(x)); // 6 + (2 pi - 6)
    return kEta0 * kOneOverTwoPi * CheckedLog(g / x + CheckedSqrt(PowN(2.0 / x, 2) + 1.0));
}

// The static part of the set: its quasi-static values and the air impedance.
MicrostripStaticPart HammerstadJensenStatic(double u, double t, double er) {
    // Thickness correction of the width, in air (u1) and on the substrate (ur).
    const double cothSquared = mline::ThicknessCothSquared(u);
    const double du1 = mline::ThicknessIncrementFromCoth(t, cothSquared);
    const double dur = mline::ThicknessIncrementOnSubstrate(du1, er);
    const double u1 = u + du1;
    const double ur = u + dur;

    const double eeR = mline::HammerstadJensenEffective(ur, er);
    const double z01r = HammerstadJensenZ01(ur);
    const double z00 = z01r / CheckedSqrt(eeR);
    if (!(er > 1.0001)) return {{1.0, z00}, kNotComputed, cothSquared, {}};
    const double z01 = HammerstadJensenZ01(u1); // the air impedance
    const double eps0 = eeR * PowN(z01 / z01r, 2);
    return {{eps0, z00}, z01, cothSquared, {}};
}

// The static values, and with dispersion the dispersed ones from the static
// part (without it they are the static ones again).
// The dispersion's terms of u and Er alone are kept in the part.
MicrostripStaticPair HammerstadJensenSet(MicrostripStaticPart& part, double u, double h,
                                         double er, double fGHz, double f, bool dispersion) {
    const MicrostripStatic& quasiStatic = part.quasiStatic;
    if (!(er > 1.0001) || !dispersion) return {quasiStatic, quasiStatic, part.airImpedance};
    const double eps0 = quasiStatic.eeff;
    const double z00 = quasiStatic.z0;

    // Kirschning-Jansen dispersion, fn in GHz times mm.  Its powers are
    // exp(y ln x) (CheckedPowers): a logarithm and an exponential cost less
    // than the library's pow, within a few ulps of it.
    const double hCm = h * 100.0;
    const double fn = fGHz * 10.0 * hCm;
    if (!part.dispersion) part.dispersion = mline::KirschningJansenStaticTerms<SafeExp>(u, er);
    const CheckedPowers fnTo(fn);
    const mline::DielectricDispersionTerms p =
        mline::KirschningJansenDielectricTerms<SafeExp>(*part.dispersion, u, fnTo);
    const double pp = p.p1 * p.p2 * CheckedPowers((p.p3 * p.p4 + 0.1844) * fn).Pow(1.5763);
    const double eeffF = f >= -1e-20 ? er - (er - eps0) / (1.0 + pp) : er;

    const mline::ImpedanceDispersionTerms r =
        mline::KirschningJansenImpedanceTerms<SafeExp>(*part.dispersion, fnTo);
    const double r13 = 0.9408 * CheckedPowers(eeffF).Pow(r.r8) - 0.9603;
    const double r14 = (0.9408 - r.r9) * CheckedPowers(eps0).Pow(r.r8) - 0.9603;
    return {quasiStatic, {eeffF, z00 * CheckedPowers(r13 / r14).Pow(r.r17)}, part.airImpedance};
}

MicrostripStaticPair HammerstadJensenSet(double u, double t, double h, double er, double fGHz,
                                         double f, bool dispersion) {
    MicrostripStaticPart part = HammerstadJensenStatic(u, t, er);
    return HammerstadJensenSet(part, u, h, er, fGHz, f, dispersion);
}

// The low-frequency set writes its constants to fewer digits.
double LowFrequencyA(double x) {
    const double x4 = PowN(x, 4);
    return 1.0 + 0.0204082 * CheckedLog((x4 + 0.000369823 * PowN(x, 2)) / (x4 + 0.432)) +
           0.053476 * CheckedLog(1.0 + 0.0001686414 * PowN(x, 3));
}

// The low-frequency set's dispersion of the static eeff and z0 with the
// frequency's denominator 1 + a x + b x^2.
MicrostripStatic GetsingerDispersed(double eeff, double er, double z0, double f,
                                    double denominator) {
    const double qf = (eeff - 1.0) / (er - 1.0);
    const double eeffF = f >= -1e-20 ? er - (er - eeff) / denominator : er;
    const double root = CheckedSqrt(PowN(eeffF, 2) - 4.0 * qf * (1.0 - qf) * er);
    return {eeffF, z0 * CheckedSqrt(2.0 * (1.0 - qf) / (eeffF - root))};
}

// `airImpedance`, where given, receives the same strip's impedance in air
// (what the set gives at Er = 1, to the bit).
// `bOfEr`: mline::HammerstadJensenB(er) where at hand (NaN: computed here).
// `widening`, where given: Wheeler's widening of the width ratio by the
// thickness, a term of t alone, read where not NaN and written where computed.
MicrostripStatic LowFrequencySet(double u, double t, double thickness, double hIn, double er,
                                 double fGHz, double f, bool dispersion,
                                 double* airImpedance = nullptr, double bOfEr = kNotComputed,
                                 double* widening = nullptr) {
    const bool dielectric = er > 1.0001;
    double eeff = 1.0;
    if (dielectric) {
        const double b = std::isnan(bOfEr) ? mline::HammerstadJensenB(er) : bOfEr;
        const double q =
            Pow(1.0 + 10.0 / u, -LowFrequencyA(u) * b) - 0.4412712 * t / CheckedSqrt(u);
        eeff = ((er - 1.0) * q + (er + 1.0)) * 0.5;
    }
    // Wheeler's effective width of a strip of finite thickness.
    double ue = u;
    if (thickness * kInchesPerMetre > 1e-9) {
        if (widening == nullptr || std::isnan(*widening)) {
            const double term =
                (t / kPi) * (2.3863 - 0.5 * CheckedLog(PowN(t, 2) + PowN(t / kPi, 2)));
            if (widening != nullptr) *widening = term;
            ue = u + term;
        } else {
            ue = u + *widening;
        }
    }
    const double g = 6.0 + 0.2831853072 * SafeExp500(-AirWidthPower(ue));
    const double z0Air = 60.0 * CheckedLog(g / ue + CheckedSqrt(PowN(2.0 / ue, 2) + 1.0));
    if (airImpedance != nullptr) *airImpedance = z0Air;
    const double z0 = dielectric ? z0Air / CheckedSqrt(eeff) : z0Air; // in air sqrt(1) = 1
    if (!dispersion || !dielectric) return {eeff, z0};
    // At zero frequency x = 0 below and 1 + a x + b x^2 is 1 whatever fp, a
    // and b are: the coupled pair's single strips skip them.
    if (fGHz == 0.0) return GetsingerDispersed(eeff, er, z0, f, 1.0);

    const double fp = 0.015686 * CheckedSqrt(er) * z0 / (CheckedSqrt(eeff) * hIn); // GHz
    const double ln02 = CheckedLog(hIn / (5.0 * hIn));
    double a, b;
    if (u > 0.4) {
        a = 1.06 + 0.3 * ln02;
        b = 0.45;
    } else {
        a = (0.536 * u + 0.156) * ln02 + (1.4 * u + 0.5);
        b = 1.24 - 1.98 * u;
    }
    const double x = fGHz / fp;
    return GetsingerDispersed(eeff, er, z0, f, 1.0 + a * x + b * PowN(x, 2));
}

} // namespace

double mline::ThicknessIncrementOnSubstrate(double du1, double er) {
    // sech from one exponential, not cosh's.
    return 0.5 * (1.0 + SechFromDecay(SafeExp(-CheckedSqrt(er - 1.0)))) * du1;
}


namespace {

MicrostripStatic QuasiStatic(double w, double h, double t, double er, double f, bool dispersion,
                             int selector, double* airImpedance, double bOfEr = kNotComputed,
                             double* widening = nullptr) {
    w = NonVanishing(w);
    h = NonVanishing(h);
    t = NonVanishing(t);
    const double u = w / h;
    const double tr = t / h;
    const double hIn = h * kInchesPerMetre;
    const double fGHz = f * 1e-9;
    if (selector > kLowFrequencySelector)
        return HammerstadJensenSet(u, tr, h, er, fGHz, f, dispersion).dispersed;
    return LowFrequencySet(u, tr, t, hIn, er, fGHz, f, dispersion, airImpedance, bOfEr, widening);
}

} // namespace

MicrostripStatic MicrostripQuasiStatic(double w, double h, double t, double er, double f,
                                       bool dispersion, int selector) {
    return QuasiStatic(w, h, t, er, f, dispersion, selector, nullptr);
}

// Flattened: a coupled pair reads it five times per answer, and the calls
// through the general set cost more than the arguments they pass.
[[gnu::flatten]] MicrostripZeroFrequencyPair
MicrostripZeroFrequency(double w, double h, double t, double er, double bOfEr, double widening) {
    MicrostripZeroFrequencyPair pair{};
    pair.widening = widening;
    pair.substrate = QuasiStatic(w, h, t, er, 0.0, true, kLowFrequencySelector,
                                 &pair.airImpedance, bOfEr, &pair.widening);
    return pair;
}

// Flattened, as the air impedance below: the single strip's answer takes
// them on its way, and the calls to their helpers cost more than the
// helpers' arithmetic.
[[gnu::flatten]] MicrostripStaticPart MicrostripHammerstadJensenStatic(double w, double h,
                                                                       double t, double er) {
    w = NonVanishing(w);
    h = NonVanishing(h);
    t = NonVanishing(t);
    return HammerstadJensenStatic(w / h, t / h, er);
}

MicrostripStaticPair MicrostripHammerstadJensenPair(double w, double h, double er, double f,
                                                    MicrostripStaticPart& part) {
    w = NonVanishing(w);
    h = NonVanishing(h);
    return HammerstadJensenSet(part, w / h, h, er, f * 1e-9, f, true);
}

[[gnu::flatten]] double MicrostripAirImpedance(double w, double h, double t,
                                               double cothSquared) {
    const double u = NonVanishing(w) / NonVanishing(h);
    const double tr = NonVanishing(t) / NonVanishing(h);
    return HammerstadJensenZ01(
        u + (std::isnan(cothSquared) ? ThicknessIncrement(u, tr)
                                     : mline::ThicknessIncrementFromCoth(tr, cothSquared)));
}

namespace {

// The loss split by its first-order parts: R / 2 Zc from the conductor and
// G Zc / 2 from the dielectric, scaled so that the two add up to the loss
// exactly (they differ from it only at second order in the losses).
void SplitLoss(const MicrostripLineConstantsResult& line, MicrostripResult& result) {
    Complex conductor, dielectric;
    RealOverComplex(line.r / 2.0, line.zc, conductor);
    ComplexMul(Complex{line.g / 2.0, 0.0}, line.zc, dielectric);
    const double first = conductor.re + dielectric.re;
    if (!(first > 0.0)) return;
    result.conductorLoss = result.loss * (conductor.re / first);
    result.dielectricLoss = result.loss - result.conductorLoss;
}

// CrossSectionTerms holds the kept terms as: [0..2] Wheeler's derivatives,
// [3] 1 where they are kept, [4] the Er of the static part (NaN: none kept),
// [5..7] its eeff, Z0 and air impedance, [8] 1 where its dispersion terms
// are kept, [9..] those terms in this order.
using DispersionTerms = mline::DispersionStaticTerms;
constexpr double DispersionTerms::*kKeptDispersionTerms[] = {
    &DispersionTerms::p1Fade,    &DispersionTerms::p2,
    &DispersionTerms::p3Factor,  &DispersionTerms::p4,
    &DispersionTerms::r7,        &DispersionTerms::r8Factor,
    &DispersionTerms::r9Fade,    &DispersionTerms::r9Scale,
    &DispersionTerms::r9Divisor, &DispersionTerms::erm1to6,
    &DispersionTerms::erm1to6Divisor, &DispersionTerms::r15Factor,
    &DispersionTerms::r12,       &DispersionTerms::r16Factor,
    &DispersionTerms::r16Fade};
constexpr std::size_t kFirstDispersionTerm = 9;
static_assert(kFirstDispersionTerm + std::size(kKeptDispersionTerms) <=
              std::tuple_size_v<decltype(CrossSectionTerms::values)>);

MicrostripKeptTerms Unpack(const CrossSectionTerms& terms) {
    MicrostripKeptTerms kept;
    if (!terms.ready) return kept;
    const auto& v = terms.values;
    if (v[3] == 1.0) kept.derivatives = MicrostripWheelerDerivatives{v[0], v[1], v[2]};
    if (!std::isnan(v[4])) {
        kept.staticPart = MicrostripStaticPart{{v[5], v[6]}, v[7], kNotComputed, {}};
        if (v[8] == 1.0) {
            DispersionTerms& d = kept.staticPart->dispersion.emplace();
            std::size_t i = kFirstDispersionTerm;
            for (const auto term : kKeptDispersionTerms)
                d.*term = v[i++];
        }
    }
    kept.staticEr = v[4];
    return kept;
}

// Writes the kept terms over `terms`: the flags [3], [4] and [8] say which
// of the other values are read back.
void Pack(const MicrostripKeptTerms& kept, CrossSectionTerms& terms) {
    auto& v = terms.values;
    terms.ready = kept.derivatives.has_value() || kept.staticPart.has_value();
    v[3] = 0.0;
    v[4] = std::numeric_limits<double>::quiet_NaN();
    v[8] = 0.0;
    if (kept.derivatives) {
        v[0] = kept.derivatives->dT;
        v[1] = kept.derivatives->dH;
        v[2] = kept.derivatives->dW;
        v[3] = 1.0;
    }
    if (kept.staticPart) {
        v[4] = kept.staticEr;
        v[5] = kept.staticPart->quasiStatic.eeff;
        v[6] = kept.staticPart->quasiStatic.z0;
        v[7] = kept.staticPart->airImpedance;
        if (const auto& d = kept.staticPart->dispersion) {
            v[8] = 1.0;
            std::size_t i = kFirstDispersionTerm;
            for (const auto term : kKeptDispersionTerms)
                v[i++] = (*d).*term;
        }
    }
}

// The kernel above 0.001 Hz with the cross-section's terms `kept`.
MicrostripResult LineConstantsKernel(double w, double h, double t, double er, double tand,
                                     double rho, double f, MicrostripKeptTerms& kept) {
    const MicrostripLineConstantsResult line =
        MicrostripLineConstants(w, h, t, er, tand, rho, f, &kept);
    const Complex eps = ComplexEffectiveDielectricConstant(f, line.gamma);
    MicrostripResult result{line.gamma.re, line.zc.re, eps.re};
    SplitLoss(line, result);
    result.constants = {line.r, line.l, line.g, line.c, line.internalL};
    return result;
}

MicrostripResult LowFrequencyKernel(double w, double h, double t, double er, double f) {
    const MicrostripStatic s = MicrostripQuasiStatic(w, h, t, er, f, true, kLowFrequencySelector);
    return {0.0, s.z0, s.eeff};
}

LineResult LineResultOf(const MicrostripResult& r) {
    LineResult result;
    static_cast<LineValues&>(result) = {.impedance = r.impedance,
                                        .eeff = r.effDielConst,
                                        .loss = r.loss,
                                        .conductorLoss = r.conductorLoss,
                                        .dielectricLoss = r.dielectricLoss,
                                        .constants = r.constants};
    return result;
}

} // namespace

// Without terms to keep, none are packed.
MicrostripResult MicrostripKernel(double w, double h, double t, double er, double tand, double rho,
                                  double f) {
    if (!(f > 0.001)) return LowFrequencyKernel(w, h, t, er, f);
    MicrostripKeptTerms fresh;
    return LineConstantsKernel(w, h, t, er, tand, rho, f, fresh);
}

MicrostripResult MicrostripKernel(double w, double h, double t, double er, double tand, double rho,
                                  double f, CrossSectionTerms& terms) {
    if (!(f > 0.001)) return LowFrequencyKernel(w, h, t, er, f);
    MicrostripKeptTerms kept = Unpack(terms);
    const MicrostripResult result = LineConstantsKernel(w, h, t, er, tand, rho, f, kept);
    // Kept only from an evaluation that raised no fault: a kept value must
    // not hide a fault it would raise again.
    if (RaisedFloatingPointFaults() == 0) Pack(kept, terms);
    return result;
}

LineResult microstrip::Evaluate(const InputsAtFrequency& in, double w) {
    return LineResultOf(MicrostripKernel(w, in.Row(2), in.Row(3), in.er, in.tand, in.rho, in.f));
}

LineResult microstrip::EvaluateReusing(const InputsAtFrequency& in, double w,
                                       CrossSectionTerms& terms) {
    return LineResultOf(
        MicrostripKernel(w, in.Row(2), in.Row(3), in.er, in.tand, in.rho, in.f, terms));
}

void microstrip::Check(const InputsAtFrequency& in, std::vector<std::string>& warnings) {
    const double w = in.Row(1);
    const double h = in.Row(2);
    const double t = in.Row(3);
    const double er = in.er;
    const double rho = in.rho;
    // Rho 410 is a conductivity just below 1e5 S/m.
    if (rho > 410.0) throw TP_Exceptions("Conductivity must be >= 1E5 S/m");
    if (!(h > 1e-40)) throw TP_Exceptions("H must be > 0");
    if (w / h < 0.005) throw TP_Exceptions("(W/H) must be >= .005");
    if (er < 0.9999) throw TP_Exceptions("Er must be >= 1");

    if (w / h < 0.05) warnings.push_back("(W/H) Recommended >= .05");
    if (w / h > 20.0) warnings.push_back("(W/H) Recommended <= 20");
    if (t / w > 0.5) warnings.push_back("(T/W) Recommended <= 1/2");
    if (t / h > 0.5) warnings.push_back("(T/H) Recommended <= 1/2");
    if (er > 16.0) warnings.push_back("Er Recommended <= 16");
    if (rho > 100.0) warnings.push_back("Rho Recommended <= 100");
}
