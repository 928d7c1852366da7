#include "models/resultvalidity.h"

#include <cmath>


bool IsImpossibleResult(double z0, double eeff, double loss) {
    const bool finite = std::isfinite(z0) && std::isfinite(eeff) && std::isfinite(loss);
    return !finite || !(z0 > 0.0) || !(eeff > 0.0) || !(loss >= 0.0);
}

bool IsImpossibleSlotlineResult(double z0, double eeff, double er) {
    return IsImpossibleResult(z0, eeff, 0.0) || !(eeff >= 1.0) || !(eeff <= er);
}

bool ImpossibleLineValues(const LineInputs&, const LineValues& shown) {
    return IsImpossibleResult(shown.impedance, shown.eeff, shown.loss);
}

bool ImpossibleSlotlineValues(const LineInputs& in, const LineValues& shown) {
    return IsImpossibleSlotlineResult(shown.impedance, shown.eeff, in.er);
}
