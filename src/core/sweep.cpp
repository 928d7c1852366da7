#include "core/sweep.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>

#include "core/calculation.h"
#include "numeric/constants.h"
#include "numeric/fpfault.h"
#include "numeric/tpexceptions.h"

namespace {

// Points between two progress reports: often enough for a smooth bar and a
// prompt Cancel, rare enough to cost nothing beside the kernels.
constexpr int kProgressBlock = 64;

// The relative resistivity of a conductivity, faulting as the window's own
// conversion does (a conductivity of 0 divides by zero).
double RelativeResistivity(double sigma) {
    ClearFloatingPointFaults();
    double rho = 1.0 / (sigma * constants::kGoldResistivity);
    ForceEvaluation(rho);
    RaiseFloatingPointFaults();
    return rho;
}

void EvaluatePoint(const LineDescriptor& line, const LineInputs& in, CrossSectionTerms& terms,
                   SweepPoint& point) {
    LineAnswer answer = CalculateLine(line, in, in.Row(1), &terms);
    point.values = answer.result;
    point.warnings = std::move(answer.warnings);
    point.error = answer.ErrorText();
}

// 10^0 to 10^22: every one exact in a double.
constexpr std::array<double, 23> kPowersOfTen{
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Tidy without the text, where that is exact: |value| 10^n is brought to 15
// digits before the point with n from 0 to 22, so that the product's rounding
// error is known exactly (fma), the digits are rounded as the text would
// round them and the quotient by the exact 10^n is the one correctly rounded
// double the text would read back.  Nothing where the digits lie within 1e-9
// of half way or the magnitude is outside 1e-8 to 1e15: the text decides.
std::optional<double> TidyWithoutText(double value) {
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-8 && magnitude < 1e15)) return std::nullopt;
    int n = 14 - static_cast<int>(std::floor(std::log10(magnitude)));
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (n < 0 || n > 22) return std::nullopt;
        const double scale = kPowersOfTen[static_cast<std::size_t>(n)];
        const double scaled = magnitude * scale;
        if (scaled < 1e14) {
            ++n;
            continue;
        }
        if (scaled >= 1e15) {
            --n;
            continue;
        }
        const double error = std::fma(magnitude, scale, -scaled); // exact: scaled + error
        const double whole = std::floor(scaled);
        // scaled - whole is exact; adding the error rounds by 1e-16 at most.
        const double fraction = (scaled - whole) + error;
        double digits;
        if (fraction < 0.5 - 1e-9)
            digits = whole;
        else if (fraction > 0.5 + 1e-9)
            digits = whole + 1.0;
        else
            return std::nullopt;
        return std::copysign(digits / scale, value);
    }
    return std::nullopt;
}

// Rounded to 15 significant digits, which every double holds exactly as a
// decimal: a unit conversion's 999999999.9999999 becomes 1e9 and the decade
// points of a logarithmic sweep come out exact.
double Tidy(double value) {
    if (const std::optional<double> tidy = TidyWithoutText(value)) return *tidy;
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value,
                                       std::chars_format::general, 15);
    double tidy = value;
    if (written.ec == std::errc()) std::from_chars(text, written.ptr, tidy);
    return tidy;
}

} // namespace

void SweepVariable::Set(LineInputs& in, double value) const {
    switch (kind) {
    case Kind::Frequency:
        in.f = value;
        break;
    case Kind::Row:
        in.rows[static_cast<std::size_t>(row - 1)] = value;
        break;
    case Kind::Er:
        in.er = value;
        break;
    case Kind::Tand:
        in.tand = value;
        break;
    case Kind::Conductivity:
        in.rho = RelativeResistivity(value);
        break;
    case Kind::Roughness:
        in.rough = value;
        break;
    case Kind::MaskThickness:
        in.coating.tm = value;
        break;
    case Kind::MaskEr:
        in.coating.erm = value;
        break;
    case Kind::MaskTand:
        in.coating.tandm = value;
        break;
    case Kind::CoverHeight:
        in.coating.hc = value;
        break;
    }
}

double SweepVariable::Value(const LineInputs& in) const {
    switch (kind) {
    case Kind::Frequency:
        return in.f;
    case Kind::Row:
        return in.Row(row);
    case Kind::Er:
        return in.er;
    case Kind::Tand:
        return in.tand;
    case Kind::Conductivity:
        return in.rho > 0.0 ? 1.0 / (in.rho * constants::kGoldResistivity) : 0.0;
    case Kind::Roughness:
        return in.rough;
    case Kind::MaskThickness:
        return in.coating.tm;
    case Kind::MaskEr:
        return in.coating.erm;
    case Kind::MaskTand:
        return in.coating.tandm;
    case Kind::CoverHeight:
        return in.coating.hc;
    }
    return 0.0;
}

std::string SweepRangeProblem(const SweepRange& range) {
    if (range.points < 1) return "a sweep needs at least one point";
    if (range.points > kMaxSweepPoints)
        return "a sweep takes at most " + std::to_string(kMaxSweepPoints) + " points";
    if (!std::isfinite(range.start) || !std::isfinite(range.stop))
        return "start and stop must be finite";
    if (range.logarithmic && !(range.start > 0.0 && range.stop > 0.0))
        return "a logarithmic sweep needs start and stop above zero";
    // Ends far apart can overflow the steps between them (1e-300 to 1e300
    // log, -1e308 to 1e308): every row must carry a value it can show.
    for (double x : SweepValues(range))
        if (!std::isfinite(x) || (range.logarithmic && !(x > 0.0)))
            return "the points between start and stop cannot be represented";
    return {};
}

std::vector<double> SweepValues(const SweepRange& range) {
    std::vector<double> values(static_cast<std::size_t>(range.points));
    const int last = range.points - 1;
    const double ratio = range.logarithmic ? std::log(range.stop / range.start) : 0.0;
    for (int i = 0; i <= last; ++i) {
        const double t = last == 0 ? 0.0 : static_cast<double>(i) / last;
        values[static_cast<std::size_t>(i)] = range.logarithmic
                                                  ? range.start * std::exp(ratio * t)
                                                  : range.start + (range.stop - range.start) * t;
    }
    if (last > 0) values.back() = range.stop; // no rounding at the far end
    for (double& value : values)
        value = Tidy(value);
    return values;
}

std::vector<SweepPoint> RunSweep(const LineDescriptor& line, const LineInputs& base,
                                 const SweepVariable& variable, const SweepRange& range,
                                 const SweepProgress& progress) {
    const std::vector<double> xs = SweepValues(range);
    std::vector<SweepPoint> points(xs.size());
    LineInputs in = base;
    // The cross-section's terms are computed once unless a dimension is swept.
    CrossSectionTerms terms;
    const bool rowsFixed = variable.kind != SweepVariable::Kind::Row &&
                           variable.kind != SweepVariable::Kind::MaskThickness &&
                           variable.kind != SweepVariable::Kind::CoverHeight;
    const int total = static_cast<int>(xs.size());
    for (int i = 0; i < total; ++i) {
        SweepPoint& point = points[static_cast<std::size_t>(i)];
        point.x = xs[static_cast<std::size_t>(i)];
        try {
            variable.Set(in, point.x);
            if (!rowsFixed) terms = {};
            EvaluatePoint(line, in, terms, point);
        } catch (...) {
            point.error = CurrentErrorText("Unknown calculation error");
        }
        const int done = i + 1;
        if (progress && (done % kProgressBlock == 0 || done == total) && !progress(done, total)) {
            points.resize(static_cast<std::size_t>(done));
            break;
        }
    }
    return points;
}
