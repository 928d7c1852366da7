#include "core/roughness.h"

#include <cmath>

#include "core/lossparts.h"
#include "core/materialmodels.h"
#include "numeric/tpexceptions.h"
#include "quantities/numberformat.h"

double RoughnessFactor(const RoughnessModel& model, double rough, double skinDepth) {
    if (!(rough >= 0.0)) throw TP_Exceptions("Surface roughness must be >= 0");
    if (rough == 0.0 || std::isinf(skinDepth)) return 1.0;
    if (!(skinDepth > 0.0)) return 2.0;
    return model.factor(rough / skinDepth);
}

double RoughnessFactor(const LineInputs& in) {
    // A smooth conductor needs no skin depth (the common case, every answer).
    if (in.rough == 0.0) return 1.0;
    return RoughnessFactor(*in.roughModel, in.rough, SkinDepth(in));
}

std::string RoughnessNote(const LineInputs& in) {
    if (!(in.rough > 0.0)) return {};
    // FormatG, not printf: the process locale may use a decimal comma.
    return "Surface roughness " + FormatG(in.rough * 1e6) + " um RMS (" +
           in.roughModel->name + "): conductor loss x " +
           FormatG(RoughnessFactor(in));
}
