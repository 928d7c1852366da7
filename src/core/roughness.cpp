#include "core/roughness.h"

#include <cmath>

#include "core/lossparts.h"
#include "numeric/constants.h"
#include "numeric/tpexceptions.h"
#include "quantities/numberformat.h"

double RoughnessFactor(RoughnessModel model, double rough, double skinDepth) {
    if (!(rough >= 0.0)) throw TP_Exceptions("Surface roughness must be >= 0");
    if (rough == 0.0 || std::isinf(skinDepth)) return 1.0;
    if (!(skinDepth > 0.0)) return 2.0;
    const double ratio = rough / skinDepth;
    switch (model) {
    case RoughnessModel::Groiss:
        // Beyond delta / (2 Delta) = 1e3 the exponential is far below one ulp
        // of 1; stopping there keeps the power from overflowing.
        if (ratio < 5e-4) return 1.0;
        return 1.0 + std::exp(-std::pow(1.0 / (2.0 * ratio), 1.6));
    case RoughnessModel::HammerstadJensen:
    default:
        if (ratio > 1e100) return 2.0; // atan has reached pi/2; the square would overflow
        return 1.0 + (2.0 / constants::kPi) * std::atan(1.4 * ratio * ratio);
    }
}

double RoughnessFactor(const LineInputs& in) {
    return RoughnessFactor(in.roughModel, in.rough, SkinDepth(in));
}

std::string RoughnessNote(const LineInputs& in) {
    if (!(in.rough > 0.0)) return {};
    // FormatG, not printf: the process locale may use a decimal comma.
    return "Surface roughness " + FormatG(in.rough * 1e6) + " um RMS (" +
           RoughnessModelName(in.roughModel) + "): conductor loss x " +
           FormatG(RoughnessFactor(in));
}

const char* RoughnessModelName(RoughnessModel model) {
    return model == RoughnessModel::Groiss ? "Groiss" : "Hammerstad-Jensen";
}
