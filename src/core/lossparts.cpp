#include "core/lossparts.h"

#include <cmath>
#include <limits>

#include "core/linecal.h"
#include "core/lineconstants.h"
#include "core/roughness.h"
#include "core/widebanddielectric.h"
#include "numeric/constants.h"

namespace {

// A rough conductor loses K times the smooth conductor loss; the total grows
// by the difference and keeps its dielectric part.
void Roughen(LineValues& v, double k) {
    if (!(v.conductorLoss > 0.0)) return;
    const double extra = (k - 1.0) * v.conductorLoss;
    v.conductorLoss += extra;
    v.loss += extra;
}

} // namespace

LineResult EvaluateWithLossParts(const LineDescriptor& line, const InputsAtFrequency& in, double x,
                                 CrossSectionTerms* terms) {
    LineResult result = EvaluateChecked(line, in, x, terms);
    if (!line.lossShown) {
        for (LineValues* v : {static_cast<LineValues*>(&result), &result.even, &result.odd})
            v->conductorLoss = v->dielectricLoss = 0.0;
        return result;
    }
    ApplyLineConstants(line, in, x, result);
    // A smooth conductor (nearly every answer, K = 1 without a call): the
    // kernel's numbers untouched.
    if (in.rough == 0.0) return result;
    const double k = RoughnessFactor(in);
    if (k == 1.0) return result;
    if (!line.coupled) {
        Roughen(result, k);
        return result;
    }
    Roughen(result.even, k);
    Roughen(result.odd, k);
    result.ShowMode(in.mode);
    return result;
}

double SkinDepth(const LineInputs& in) {
    if (!(in.f > 0.0)) return std::numeric_limits<double>::infinity();
    if (!(in.rho > 0.0)) return 0.0;
    const double resistivity = in.rho * constants::kGoldResistivity;
    return std::sqrt(resistivity / (constants::kPi * in.f * constants::kMu0));
}
