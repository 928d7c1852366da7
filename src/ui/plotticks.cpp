#include "ui/plotticks.h"

#include <cmath>

namespace {

// The most labels an axis the width of the sweep window holds legibly.
constexpr std::size_t kMostTicks = 12;

std::vector<double> Ticks(double low, double high, const std::vector<int>& mantissas,
                          int decadeStep) {
    std::vector<double> ticks;
    const int first = static_cast<int>(std::floor(std::log10(low)));
    const int last = static_cast<int>(std::ceil(std::log10(high)));
    for (int decade = first; decade <= last; ++decade) {
        if (decade % decadeStep != 0) continue;
        for (int m : mantissas) {
            // One correctly rounded operation on exact powers of ten: 0.2 is
            // the double nearest 0.2, not 2 x 0.1.
            const double value = decade >= 0 ? m * std::pow(10.0, decade)
                                             : m / std::pow(10.0, -decade);
            const double slack = 1e-12 * value;
            if (value >= low - slack && value <= high + slack) ticks.push_back(value);
        }
    }
    return ticks;
}

} // namespace

std::vector<double> LogTicks(double low, double high) {
    if (!(low > 0.0 && high > low && std::isfinite(high))) return {};
    std::vector<double> ticks = Ticks(low, high, {1, 2, 5}, 1);
    if (ticks.size() < 3) ticks = Ticks(low, high, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 1);
    if (ticks.size() < 3) return {low, std::sqrt(low * high), high};
    for (int step = 1; ticks.size() > kMostTicks; step *= 2)
        ticks = Ticks(low, high, {1}, step);
    return ticks;
}
