// LineAnswer's members until the calculation step (calculation.cpp) is
// merged; that file replaces this one.
#include <cmath>

#include "core/calculation.h"
#include "numeric/constants.h"
#include "numeric/tpexceptions.h"

std::string LineAnswer::ErrorText() const {
    if (Ok()) return {};
    try {
        std::rethrow_exception(failure);
    } catch (...) {
        return CurrentErrorText("Unknown calculation error");
    }
}

double LineAnswer::PhaseConstant() const {
    return (inputs.f * 2.0 * 180.0) / (constants::kSpeedOfLight / std::sqrt(result.eeff));
}
