#include "core/verifiedrange.h"

#include <algorithm>

namespace {

const char* const kNotVerified = "Closed form not verified here: check with the field solver (F7)";

// The box's own edges are inside, whatever the rounding of a ratio.  The
// scales are constants, not sums at every test: the build keeps arithmetic
// on constants at run time (-frounding-math) unless it must fold it.
constexpr double kEdge = 1e-9;
constexpr double kBelowEdge = 1 - kEdge;
constexpr double kAboveEdge = 1 + kEdge;

bool Within(double value, double low, double high) {
    return value >= low * kBelowEdge && value <= high * kAboveEdge;
}

} // namespace

bool VerifiedRange::Contains(const LineInputs& in) const {
    for (const VerifiedRatio& ratio : ratios)
        if (!Within(in.Row(ratio.row) / in.Row(ratio.referenceRow), ratio.low, ratio.high))
            return false;
    const double er2 = secondErRow > 0 ? in.Row(secondErRow) : 0.0;
    if (er2 > 0.0 && !Within(std::max(er2 / in.er, in.er / er2), 1.0, contrastHigh)) return false;
    return Within(in.er, erLow, erHigh);
}

void AddVerifiedRangeWarning(const VerifiedRange& range, const LineInputs& in,
                             std::vector<std::string>& warnings) {
    if (!range.Contains(in))
        warnings.push_back(kNotVerified);
}

bool IsVerifiedRangeWarning(const std::string& warning) {
    return warning == kNotVerified;
}
