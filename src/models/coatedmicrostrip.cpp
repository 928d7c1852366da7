// The coated single and coupled microstrip: the static correction of
// coatingmodel.h applied to the uncoated line's closed form, the uncoated
// line's dispersion and conductor loss carried over, the dielectric loss from
// the substrate's and the mask's shares of the field.
//   eeff(f) = Er - (Er - eeff_c) (Er - eeff_u(f)) / (Er - eeff_u)  (the
//             uncoated Kirschning-Jansen dispersion factor 1 / (1 + P));
//   Z(f)    = Z_c Z_u(f) / Z_u;
//   alpha_c = alpha_c,u Z_u(f) / Z(f)  (the same series resistance);
//   alpha_d = (pi f / c) sqrt(eeff(f)) (s_sub tand + s_mask tandm),
//             s = d ln eeff / d ln Er (the field energy's share).
#include "models/coatedmicrostrip.h"

#include <cmath>

#include "models/coatingmodel.h"
#include "models/mline.h"
#include "numeric/constants.h"
#include "numeric/tpexceptions.h"

namespace {

// The model's measured range (coatingmodel.cpp): thicker masks, other mask
// permittivities and lower covers are calculated but not vouched for.
constexpr double kThickestMaskOverH = 0.2; // 40 um on 0.2 mm
constexpr double kLowestErm = 2.5, kHighestErm = 5.0;
constexpr double kLowestCoverOverH = 2.0;

class SingleUncoated : public UncoatedMode {
  public:
    SingleUncoated(double w, double h, double t) : w_(w), h_(h), t_(t) {}
    ModeStatic At(double er) const override {
        const MicrostripStatic s =
            MicrostripQuasiStatic(w_, h_, t_, er, 0.0, false, kHammerstadJensenSelector);
        return {s.z0, s.eeff};
    }

  private:
    double w_, h_, t_;
};

class PairUncoated : public UncoatedMode {
  public:
    PairUncoated(double w, double s, double h, double t, bool even)
        : w_(w), s_(s), h_(h), t_(t), even_(even) {}
    ModeStatic At(double er) const override {
        const CoupledMicrostripModes m = CoupledMicrostripModeValues(w_, s_, h_, t_, er, 0.0);
        return even_ ? ModeStatic{m.ze, m.ee} : ModeStatic{m.zo, m.eo};
    }

  private:
    double w_, s_, h_, t_;
    bool even_;
};

// One mode at f: `atF` the uncoated line at f without dielectric loss (its
// loss all conductor), `uncoated` its static values.
LineValues Coat(const CoatedGeometry& g, const InputsAtFrequency& in, double h,
                const UncoatedMode& mode, const LineValues& atF) {
    const Coating& c = in.coating;
    const double er = in.er;
    const ModeStatic open = mode.At(er);
    const ModeStatic coated = CoatedModeStatic(g, h, er, c, mode);
    const double spread = er - open.eeff;
    const double dispersion = spread > 1e-12 ? (er - atF.eeff) / spread : 1.0;
    LineValues v;
    v.eeff = er - (er - coated.eeff) * dispersion;
    v.impedance = coated.z0 * atF.impedance / open.z0;
    v.conductorLoss = atF.loss * atF.impedance / v.impedance;
    v.dielectricLoss = 0.0;
    if (in.f > 0.0 && (in.tand > 0.0 || (c.tm > 0.0 && c.tandm > 0.0))) {
        const DielectricShares s = CoatedShares(g, h, er, c, mode);
        v.dielectricLoss = constants::kPi * in.f / constants::kSpeedOfLight *
                           std::sqrt(v.eeff) * (s.substrate * in.tand + s.mask * c.tandm);
    }
    v.loss = v.conductorLoss + v.dielectricLoss;
    return v;
}

// Warnings shared by both lines; the cover must clear the metal and its mask.
void CheckCoating(const InputsAtFrequency& in, double h, double t,
                  std::vector<std::string>& warnings) {
    const Coating& c = in.coating;
    if (c.hc > 0.0 && !(c.hc > t + c.tm))
        throw TP_Exceptions("The cover must clear the strip and its mask (Hc > T + Tm)");
    if (c.tm > kThickestMaskOverH * h) warnings.push_back("Mask thicker than verified (Tm/H > .2)");
    if (c.tm > 0.0 && (c.erm < kLowestErm || c.erm > kHighestErm))
        warnings.push_back("Mask Er outside the verified 2.5 to 5");
    if (c.hc > 0.0 && c.hc < kLowestCoverOverH * h)
        warnings.push_back("Cover lower than verified (Hc < 2 H)");
}

} // namespace

LineResult coatedmicrostrip::Evaluate(const InputsAtFrequency& in, double w) {
    // Nothing to keep: the uncoated kernel fills no terms.
    if (!in.coating.Present()) return microstrip::Evaluate(in, w);
    CrossSectionTerms fresh;
    return EvaluateReusing(in, w, fresh);
}

LineResult coatedmicrostrip::EvaluateReusing(const InputsAtFrequency& in, double w,
                                             CrossSectionTerms& terms) {
    if (!in.coating.Present()) return microstrip::EvaluateReusing(in, w, terms);
    const double h = in.Row(2), t = in.Row(3);
    const MicrostripResult u = MicrostripKernel(w, h, t, in.er, 0.0, in.rho, in.f);
    const LineValues atF{u.impedance, u.effDielConst, u.loss};
    LineResult result;
    static_cast<LineValues&>(result) = Coat({w / h, 0.0, t / h, CoatedGeometry::Mode::Single},
                                            in, h, SingleUncoated(w, h, t), atF);
    return result;
}

void coatedmicrostrip::Check(const InputsAtFrequency& in, std::vector<std::string>& warnings) {
    microstrip::Check(in, warnings);
    CheckCoating(in, in.Row(2), in.Row(3), warnings);
}

LineResult coatedcoupledmicrostrip::Evaluate(const InputsAtFrequency& in, double w) {
    if (!in.coating.Present()) return coupledmicrostrip::Evaluate(in, w);
    const double s = in.Row(2), h = in.Row(3), t = in.Row(4);
    const CoupledMicrostripResult u = CoupledMicrostripKernel(w, s, h, t, in.er, 0.0, in.f, in.rho);
    LineResult result;
    result.even = Coat({w / h, s / h, t / h, CoatedGeometry::Mode::Even}, in, h,
                       PairUncoated(w, s, h, t, true), {u.ze, u.ee, u.ae});
    result.odd = Coat({w / h, s / h, t / h, CoatedGeometry::Mode::Odd}, in, h,
                      PairUncoated(w, s, h, t, false), {u.zo, u.eo, u.ao});
    result.ShowMode(in.mode);
    return result;
}

void coatedcoupledmicrostrip::Check(const InputsAtFrequency& in,
                                    std::vector<std::string>& warnings) {
    coupledmicrostrip::Check(in, warnings);
    CheckCoating(in, in.Row(3), in.Row(4), warnings);
}
