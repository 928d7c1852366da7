// Slotline by closed-form curve fits of the slot wavelength and impedance:
// Janaswamy and Schaubert, "Characteristic impedance of a wide slotline on
// low-permittivity substrates", IEEE Trans. MTT-34(8), 1986, for 2.22 <= Er <=
// 9.8; Garg and Gupta, "Expressions for wavelength and impedance of a
// slotline", IEEE Trans. MTT-24(8), 1976, for 9.7 <= Er <= 20 (both as
// collected in Gupta, Garg, Bahl and Bhartia, "Microstrip Lines and
// Slotlines").  Each fit holds for one band of Er and of slot width.  Where
// two fits meet they disagree by up to 18 %; rather than step there, the
// result moves from one to the other across a narrow seam band (see Seam).
#include "models/slotlinecalc.h"

#include <algorithm>
#include <cmath>

#include "numeric/checkedmath.h"
#include "numeric/constants.h"
#include "numeric/smoothstep.h"
#include "numeric/tpexceptions.h"

using namespace constants;

namespace {

constexpr double kOneOver236 = 0.42372881355932207; // 1 / 2.36

// A seam between two fits: below `from` the lower fit alone, above `to` the
// upper one, in between a smooth mix (SmoothStep, so that neither value nor
// slope steps).  Each band straddles the published split.  At Er 9.7 to 9.8
// both fits hold by their authors' ranges.  The slot-width band reaches
// further down than up: the narrow-slot wavelength fit has a pole at
// W/lambda0 = 0.0906, and at Er 2.22 the wide fit starts 2.8 % below the
// narrow one, which a narrower band would turn into a dip in Z0 against W.
struct Seam {
    double from, to;
};
constexpr Seam kLowMiddleSeam{3.7, 3.9};           // Er, Janaswamy-Schaubert low/middle
constexpr Seam kMiddleHighSeam{9.7, 9.8};          // Er, Janaswamy-Schaubert/Garg-Gupta
constexpr Seam kNarrowWideWavelengths{0.06, 0.08}; // W / lambda0, Janaswamy-Schaubert
constexpr Seam kNarrowWideRatio{0.19, 0.21};       // W / H, Garg-Gupta

// The normalised quantities every fit and every range check works with.
struct SlotQuantities {
    double u;       // W / H
    double lambda0; // free-space wavelength, metres
    double h;       // H / lambda0
    double w;       // W / lambda0
    double hc;      // cutoff thickness, as H / lambda0
};

// A height or frequency of exactly zero would divide by zero here; it gets the
// same message as the kernel's check of a height or frequency below zero.
SlotQuantities Normalise(double frequency, double gap, double height, double er) {
    if (height == 0.0) throw TP_Exceptions("H must > 0");
    const double u = gap / height;
    if (frequency == 0.0) throw TP_Exceptions("Freq must > 0");
    const double lambda0 = kSpeedOfLight / frequency;
    // Er < 1 fails in the root; Er = 1 is a slot in free space, which no
    // fit describes.
    const double root = CheckedSqrt(er - 1.0);
    if (root == 0.0)
        throw TP_Exceptions::Domain("Increase Er: Er = 1 leaves the slot in free space, and the "
                                    "slotline fits need a substrate of Er 2.22 to 20");
    return {u, lambda0, height / lambda0, gap / lambda0, 0.25 / root};
}

// The radicand of the low band's narrow-slot impedance; below Er = 2.06 it
// turns negative for narrow enough slots.
double LowBandNarrowRadicand(double er, double u) {
    const double t = (er - 2.06) + 0.85 * u * u;
    if (t < 0.0) throw TP_Exceptions::Domain("Increase Er to at least 2.06");
    return t;
}

struct Fit {
    double p;  // lambda_s / lambda0
    double z0; // ohms
};

// Janaswamy-Schaubert, 2.22 <= Er <= 3.8, 0.0015 <= W/lambda0 <= 0.075.
Fit LowBandNarrow(const SlotQuantities& q, double er) {
    const double t = LowBandNarrowRadicand(er, q.u);
    const double lnEr = CheckedLog(er);
    const double lnH = CheckedLog(q.h);
    const double p = (1.045 - 0.365 * lnEr) +
                     6.3 * CheckedPow(er, 0.945) * q.u / (100.0 * q.u + 238.64) -
                     lnH * (0.148 - 8.81 * (er + 0.95) / (100.0 * er));
    const double z0 = 60.0 + 3.69 * CheckedSin((er - 2.22) * kPi * kOneOver236) +
                      133.5 * CheckedLog(10.0 * er) * CheckedSqrt(q.w) +
                      2.81 * (1.0 - 0.011 * er * (lnEr + 4.48)) * q.u * CheckedLog(100.0 * q.h) +
                      131.1 * (1.028 - lnEr) * CheckedSqrt(q.h) +
                      12.48 * (1.0 + 0.18 * lnEr) * q.u / CheckedSqrt(t);
    return {p, z0};
}

// Janaswamy-Schaubert, 2.22 <= Er <= 3.8, 0.075 <= W/lambda0 <= 1.  The
// radicand turns negative below the fit's range of H/lambda0, and the checked
// root then reports it.
Fit LowBandWide(const SlotQuantities& q, double er) {
    const double p = (1.194 - 0.24 * CheckedLog(er)) -
                     0.621 * CheckedPow(er, 0.835) * CheckedPow(q.w, 0.48) / (1.344 + q.u) -
                     0.0617 * (1.91 - (er + 2.0) / er) * CheckedLog(q.h);
    const double hundredH = 100.0 * q.h;
    const double erW = (er - 1.722) * q.w;
    const double z0 = 133.0 + 10.34 * (er - 1.8) * (er - 1.8) +
                      2.87 * (2.96 + (er - 1.582) * (er - 1.582)) *
                          CheckedSqrt((q.u + 2.32 * er - 0.56) *
                                      ((32.5 - 6.67 * er) * hundredH * hundredH - 1.0)) -
                      684.45 * q.h * (er + 1.35) * (er + 1.35) + 13.23 * erW * erW;
    return {p, z0};
}

// Janaswamy-Schaubert, 3.8 <= Er <= 9.8, 0.0015 <= W/lambda0 <= 0.075.
Fit MiddleBandNarrow(const SlotQuantities& q, double er) {
    const double sqrtW = CheckedSqrt(q.w);
    const double p =
        0.9217 - 0.277 * CheckedLog(er) + 0.0322 * q.u * CheckedSqrt(er / (q.u + 0.435)) -
        0.01 * CheckedLog(q.h) * (4.6 - 3.65 / (er * er * sqrtW * (9.06 - 100.0 * q.w)));
    const double z0 =
        73.6 - 2.15 * er + (638.9 - 31.37 * er) * CheckedPow(q.w, 0.6) +
        (36.23 * CheckedSqrt(er * er + 41.0) - 255.0) * q.u / (q.u + 0.876 * er - 2.0) +
        0.51 * (er + 2.12) * q.u * CheckedLog(100.0 * q.h) - 0.753 * er * q.w / sqrtW;
    return {p, z0};
}

// Janaswamy-Schaubert, 3.8 <= Er <= 9.8, 0.075 <= W/lambda0 <= 1.
Fit MiddleBandWide(const SlotQuantities& q, double er) {
    const double p = 1.05 - 0.04 * er +
                     0.01411 * (er - 1.421) * CheckedLog(q.u - 2.012 * (1.0 - 0.146 * er)) +
                     0.111 * (1.0 - 0.366 * er) * CheckedSqrt(q.w) +
                     0.139 * (1.0 + 0.52 * er * CheckedLog(14.7 - er)) * q.h * CheckedLog(q.h);
    const double hundredH = 100.0 * q.h;
    const double e = 1.11 + 0.132 * (er - 27.7) / (hundredH + 5.0);
    const double z0 = 120.75 - 3.74 * er +
                      50.0 * (std::atan(2.0 * er) - 0.8) * CheckedPow(q.u, e) *
                          CheckedLog(hundredH + CheckedSqrt(hundredH * hundredH + 1.0)) +
                      14.21 * (1.0 - 0.458 * er) * (hundredH + 5.1 * CheckedLog(er) - 13.1) *
                          (q.w + 0.33) * (q.w + 0.33);
    return {p, z0};
}

// Garg-Gupta, 9.7 <= Er <= 20, 0.02 <= W/H <= 0.2.
Fit HighBandNarrow(const SlotQuantities& q, double er) {
    const double lgEr = CheckedLog10(er);
    const double p =
        0.923 - 0.448 * lgEr + 0.2 * q.u - (0.29 * q.u + 0.047) * CheckedLog10(100.0 * q.h);
    const double d = 11.4 - 6.07 * lgEr - 100.0 * q.h;
    const double z0 = 72.62 - 35.19 * lgEr + 50.0 * (q.u - 0.02) * (q.u - 0.1) / q.u +
                      (44.28 - 19.58 * lgEr) * CheckedLog10(100.0 * q.u) -
                      (0.32 * lgEr - 0.11 + q.u * (1.07 * lgEr + 1.44)) * d * d;
    return {p, z0};
}

// Garg-Gupta, 9.7 <= Er <= 20, 0.2 <= W/H <= 1.
Fit HighBandWide(const SlotQuantities& q, double er) {
    const double lgEr = CheckedLog10(er);
    const double p = 0.987 - 0.483 * lgEr + q.u * (0.111 - 0.0022 * er) -
                     (0.121 + 0.094 * q.u - 0.0032 * er) * CheckedLog10(100.0 * q.h);
    const double m = 10.25 - 5.0 * lgEr + q.u * (2.1 - 1.42 * CheckedLog(er)) - 100.0 * q.h;
    const double z0 = 113.19 - 53.55 * lgEr + 1.25 * q.u * (114.59 - 51.88 * lgEr) +
                      20.0 * (q.u - 0.2) * (1.0 - q.u) -
                      (0.15 + 0.23 * lgEr + q.u * (2.07 * lgEr - 0.79)) * m * m;
    return {p, z0};
}

// The W/lambda0 and H/lambda0 ranges of the Janaswamy-Schaubert fits.
void AddJanaswamyRangeWarnings(std::vector<std::string>& warnings, const SlotQuantities& q) {
    if (q.w < 0.0015) warnings.push_back("W/Lambda_0 must be > .0015");
    if (q.w > 1.0) warnings.push_back("W/Lambda_0 must be < 1.0");
    if (q.h < 0.006) warnings.push_back("H/Lambda_0 must be > .006");
    if (q.h > 0.06) warnings.push_back("H/Lambda_0 must be < .06");
}

// Garg-Gupta's ranges, 0.02 <= W/H <= 1 above all: past W/H = 1 the wide-slot
// fit's quadratic terms take over and the impedance falls as the slot widens
// (Er 10.2, H/lambda0 0.021: from 185 ohms at W/H 2.6 to 25 ohms at 4.9).
// The W/lambda0 limits are kept as the band has always shown them; the upper
// one is Janaswamy and Schaubert's too, listed once where both fits count.
void AddGargGuptaRangeWarnings(std::vector<std::string>& warnings, const SlotQuantities& q,
                               double er) {
    const char* const wideLimit = "W/Lambda_0 must be < 1.0";
    if (er > 20.0) warnings.push_back("Er must < 20");
    if (q.w < 0.02) warnings.push_back("W/Lambda_0 must be > .02");
    if (q.w > 1.0 && std::find(warnings.begin(), warnings.end(), wideLimit) == warnings.end())
        warnings.push_back(wideLimit);
    if (q.u < 0.02) warnings.push_back("W/H must be > .02");
    if (q.u > 1.0) warnings.push_back("W/H must be < 1.0");
    if (q.h < 0.01) warnings.push_back("H/Lambda_0 must be > .01");
    if (q.h > q.hc) warnings.push_back("H/Lambda_0 must be < Cutoff Thickness");
}

double SeamWeight(double x, Seam seam) {
    return SmoothStep(x, seam.from, seam.to);
}

// The fit below the seam, the one above it, or the mix of the two inside it;
// each fit is evaluated only where it counts.
template <class Lower, class Upper> Fit Blended(double x, Seam seam, Lower lower, Upper upper) {
    const double t = SeamWeight(x, seam);
    if (t == 0.0) return lower();
    if (t == 1.0) return upper();
    const Fit a = lower(), b = upper();
    return {a.p + t * (b.p - a.p), a.z0 + t * (b.z0 - a.z0)};
}

Fit JanaswamyFit(const SlotQuantities& q, double er, Fit (*narrow)(const SlotQuantities&, double),
                 Fit (*wide)(const SlotQuantities&, double)) {
    return Blended(
        q.w, kNarrowWideWavelengths, [&] { return narrow(q, er); }, [&] { return wide(q, er); });
}

Fit LowBand(const SlotQuantities& q, double er) {
    return JanaswamyFit(q, er, LowBandNarrow, LowBandWide);
}
Fit MiddleBand(const SlotQuantities& q, double er) {
    return JanaswamyFit(q, er, MiddleBandNarrow, MiddleBandWide);
}
Fit HighBand(const SlotQuantities& q, double er) {
    return Blended(
        q.u, kNarrowWideRatio, [&] { return HighBandNarrow(q, er); },
        [&] { return HighBandWide(q, er); });
}

Fit BandFit(const SlotQuantities& q, double er) {
    if (er > kLowMiddleSeam.to)
        return Blended(
            er, kMiddleHighSeam, [&] { return MiddleBand(q, er); },
            [&] { return HighBand(q, er); });
    return Blended(
        er, kLowMiddleSeam, [&] { return LowBand(q, er); }, [&] { return MiddleBand(q, er); });
}

} // namespace

SlotlineResult SlotlineKernel(double frequency, double gap, double height, double er) {
    const SlotQuantities q = Normalise(frequency, gap, height, er);
    if (!(q.u > 0.0)) throw TP_Exceptions("W/H must > 0");
    if (!(q.lambda0 > 0.0)) throw TP_Exceptions("Freq must > 0");
    if (!(q.h > 0.0)) throw TP_Exceptions("H must > 0");
    if (!(q.w > 0.0)) throw TP_Exceptions("W must > 0");
    const Fit fit = BandFit(q, er);
    return {fit.z0, (1.0 / fit.p) * (1.0 / fit.p), q.hc};
}

double slotline::Impedance(const InputsAtFrequency& in, double gap) {
    return SlotlineKernel(in.f, gap, in.Row(2), in.er).impedance;
}

LineResult slotline::Evaluate(const InputsAtFrequency& in, double gap) {
    const SlotlineResult r = SlotlineKernel(in.f, gap, in.Row(2), in.er);
    LineResult result;
    result.impedance = r.impedance;
    result.eeff = r.effDielConst;
    return result;
}

// Soft limits of the fits that take part; each text states the condition
// the fit needs and appears when it fails.
void slotline::Check(const InputsAtFrequency& in, std::vector<std::string>& warnings) {
    const double er = in.er;
    const SlotQuantities q = Normalise(in.f, in.Row(1), in.Row(2), er);
    if (SeamWeight(er, kLowMiddleSeam) < 1.0) {
        if (er < 2.22) warnings.push_back("Er must > 2.22");
        if (SeamWeight(q.w, kNarrowWideWavelengths) < 1.0) LowBandNarrowRadicand(er, q.u);
    }
    if (SeamWeight(er, kMiddleHighSeam) < 1.0) AddJanaswamyRangeWarnings(warnings, q);
    if (SeamWeight(er, kMiddleHighSeam) > 0.0) AddGargGuptaRangeWarnings(warnings, q, er);
}
