#include "core/lossparts.h"

#include <cmath>
#include <limits>

#include "core/linecal.h"
#include "core/roughness.h"
#include "core/widebanddielectric.h"
#include "numeric/constants.h"

namespace {

bool Separated(const LineValues& v) {
    return !std::isnan(v.conductorLoss) && !std::isnan(v.dielectricLoss);
}

// Fills the parts of `target` from the same values of two more evaluations.
void TakeParts(LineValues& target, const LineValues& conductorOnly,
               const LineValues& dielectricOnly) {
    if (!std::isnan(target.conductorLoss) && !std::isnan(target.dielectricLoss)) return;
    target.conductorLoss = conductorOnly.loss;
    target.dielectricLoss = dielectricOnly.loss;
}

// A rough conductor loses K times the smooth conductor loss; the total grows
// by the difference, so that a mixed total (see the header) keeps its own
// dielectric part.
void Roughen(LineValues& v, double k) {
    if (!(v.conductorLoss > 0.0)) return;
    const double extra = (k - 1.0) * v.conductorLoss;
    v.conductorLoss += extra;
    v.loss += extra;
}

LineResult Separate(const LineDescriptor& line, const InputsAtFrequency& in, double x) {
    LineResult result = EvaluateChecked(line, in, x);
    if (!line.lossShown) {
        for (LineValues* v : {static_cast<LineValues*>(&result), &result.even, &result.odd})
            v->conductorLoss = v->dielectricLoss = 0.0;
        return result;
    }
    const bool modes = line.coupled;
    if (Separated(result) && (!modes || (Separated(result.even) && Separated(result.odd))))
        return result;

    InputsAtFrequency lossFreeDielectric = in;
    lossFreeDielectric.tand = 0.0;
    InputsAtFrequency perfectConductor = in;
    perfectConductor.rho = 0.0;
    const LineResult conductorOnly = EvaluateChecked(line, lossFreeDielectric, x);
    const LineResult dielectricOnly = EvaluateChecked(line, perfectConductor, x);
    TakeParts(result, conductorOnly, dielectricOnly);
    if (modes) {
        TakeParts(result.even, conductorOnly.even, dielectricOnly.even);
        TakeParts(result.odd, conductorOnly.odd, dielectricOnly.odd);
    }
    return result;
}

} // namespace

LineResult EvaluateWithLossParts(const LineDescriptor& line, const InputsAtFrequency& in, double x) {
    LineResult result = Separate(line, in, x);
    const double k = line.lossShown ? RoughnessFactor(in) : 1.0;
    if (k == 1.0) return result; // a smooth conductor: the kernel's numbers untouched
    Roughen(result, k);
    if (line.coupled) {
        Roughen(result.even, k);
        Roughen(result.odd, k);
    }
    return result;
}

double SkinDepth(const LineInputs& in) {
    if (!(in.f > 0.0)) return std::numeric_limits<double>::infinity();
    if (!(in.rho > 0.0)) return 0.0;
    const double resistivity = in.rho * constants::kGoldResistivity;
    return std::sqrt(resistivity / (constants::kPi * in.f * constants::kMu0));
}
