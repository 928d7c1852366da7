#include "fieldcheck/fieldcomparison.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "fieldcheck/closedform.h"

namespace fieldcheck {
namespace {

constexpr double kExtremeRatio = 1e3;

double DifferencePct(double closedForm, double field) {
    return 100.0 * (closedForm - field) / field;
}

LineFigures Figures(const LineValues& values) {
    return {values.impedance, values.eeff};
}

// The closed form of each solved mode, or its error.
std::vector<LineFigures> ClosedForms(const LineDescriptor& line, const LineInputs& in,
                                     std::size_t modeCount, std::string& error) {
    const ClosedFormAnswer answer = ClosedForm(line, in);
    if (!answer.error.empty()) {
        if (error.empty()) error = answer.error;
        return std::vector<LineFigures>(modeCount);
    }
    if (modeCount == 2) return {Figures(answer.result.even), Figures(answer.result.odd)};
    return {Figures(answer.result)};
}

// The ratio of the line's largest dimension to its smallest, named by their
// keys ("W/H = 1e+300"), where it exceeds kExtremeRatio: what makes a
// cross-section too large to mesh.
std::string ExtremeRatio(const LineDescriptor& line, const LineInputs& in) {
    int large = -1, small = -1;
    for (int row = 0; row < line.RowCount(); ++row) {
        const double v = in.rows[static_cast<std::size_t>(row)];
        if (!(v > 0.0)) continue;
        if (large < 0 || v > in.rows[static_cast<std::size_t>(large)]) large = row;
        if (small < 0 || v < in.rows[static_cast<std::size_t>(small)]) small = row;
    }
    if (large < 0 || !(in.rows[static_cast<std::size_t>(large)] >
                       kExtremeRatio * in.rows[static_cast<std::size_t>(small)]))
        return {};
    const auto key = [&](int row) { return line.dimensionKeys[static_cast<std::size_t>(row)]; };
    const double a = in.rows[static_cast<std::size_t>(large)],
                 b = in.rows[static_cast<std::size_t>(small)];
    char ratio[40];
    if (std::isfinite(a / b))
        std::snprintf(ratio, sizeof ratio, "%.3g", a / b);
    else // beyond doubles: its power of ten
        std::snprintf(ratio, sizeof ratio, "1e+%.0f", std::log10(a) - std::log10(b));
    return key(large) + "/" + key(small) + " = " + ratio;
}

fieldsolver::SolveResult NotQuasiTem(const LineDescriptor& line) {
    fieldsolver::SolveResult r;
    r.status = SolveStatus::NotSupported;
    r.message = NotQuasiTemText(line);
    return r;
}

} // namespace

std::string NotQuasiTemText(const LineDescriptor& line) {
    return std::string(line.tabName) +
           " is not a quasi-TEM line: the quasi-static field solver does not apply to it";
}

LineInputs QuasiStatic(LineInputs in) {
    in.f = kQuasiStaticFrequency;
    in.rho = 0.0;
    in.tand = 0.0;
    return in;
}

double ModeComparison::ImpedanceDifferencePct() const {
    return DifferencePct(closedForm.impedance, field.impedance);
}

double ModeComparison::EeffDifferencePct() const {
    return DifferencePct(closedForm.eeff, field.eeff);
}

FieldComparison CompareWithFieldSolution(const LineDescriptor& line, const LineInputs& in,
                                         const SolveOptions& options) {
    FieldComparison comparison;
    comparison.frequency = in.f;
    // A line out of the solver's reach is said so before its own limits speak.
    if (line.crossSection == nullptr) {
        comparison.solve = NotQuasiTem(line);
        return comparison;
    }
    comparison.inputs = MaterialsApplied(line, in);
    line.check(comparison.inputs, comparison.warnings);
    comparison.section = line.crossSection(comparison.inputs);

    comparison.solve = fieldsolver::Solve(comparison.section, options);
    if (comparison.solve.status == SolveStatus::TooLarge ||
        comparison.solve.status == SolveStatus::InvalidInput) {
        const std::string ratio = ExtremeRatio(line, in);
        if (!ratio.empty()) comparison.solve.message += " The extreme ratio is " + ratio + ".";
    }
    if (!comparison.Solved()) return comparison;

    const std::size_t count = comparison.solve.modes.size();
    const std::vector<LineFigures> quasiStatic =
        ClosedForms(line, QuasiStatic(comparison.inputs), count, comparison.closedFormError);
    const std::vector<LineFigures> dispersive =
        ClosedForms(line, in, count, comparison.closedFormError);
    for (std::size_t i = 0; i < count; ++i) {
        const fieldsolver::ModeResult& solved = comparison.solve.modes[i];
        ModeComparison mode;
        mode.mode = solved.mode;
        mode.field = {solved.impedance_ohm, solved.eeff};
        mode.impedanceErrorPct = solved.impedance_error_pct;
        mode.eeffErrorPct = solved.eeff_error_pct;
        mode.closedForm = quasiStatic[i];
        mode.closedFormAtFrequency = dispersive[i];
        comparison.modes.push_back(mode);
    }
    return comparison;
}

} // namespace fieldcheck
