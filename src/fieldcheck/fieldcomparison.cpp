#include "fieldcheck/fieldcomparison.h"

#include <cmath>

#include "core/calculation.h"
#include "core/widebanddielectric.h"
#include "numeric/tpexceptions.h"

namespace fieldcheck {
namespace {

double DifferencePct(double closedForm, double field) {
    return 100.0 * (closedForm - field) / field;
}

LineFigures Figures(const LineValues& values) {
    return {values.impedance, values.eeff};
}

// The closed form of each solved mode: the one calculation step's answer, as
// Analyze gives it.
std::vector<LineFigures> ClosedForms(const LineDescriptor& line, const LineInputs& in,
                                     std::size_t modeCount) {
    const LineAnswer answer = CalculateLine(line, in, in.Row(1));
    if (!answer.Ok()) std::rethrow_exception(answer.failure);
    const LineResult& result = answer.result;
    if (modeCount == 2) return {Figures(result.even), Figures(result.odd)};
    return {Figures(result)};
}

} // namespace

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

fieldsolver::CrossSection CrossSectionOf(const LineDescriptor& line, const LineInputs& in) {
    const auto kind = fieldsolver::ParseLineKind(line.cliName);
    if (!kind)
        throw TP_Exceptions(std::string("The field solver has no cross-section of ") +
                            line.tabName);
    fieldsolver::CrossSection section;
    section.kind = *kind;
    section.rows.assign(in.rows.begin(), in.rows.begin() + line.RowCount());
    section.er = in.er;
    return section;
}

FieldComparison CompareWithFieldSolution(const LineDescriptor& line, const LineInputs& in,
                                         const fieldsolver::SolveOptions& options) {
    FieldComparison comparison;
    comparison.section = CrossSectionOf(line, in);
    comparison.frequency = in.f;
    // A line out of the solver's reach is said so before its own limits speak.
    if (comparison.section.kind != fieldsolver::LineKind::Slotline)
        line.check(AtFrequency(in), comparison.warnings);

    comparison.solve = fieldsolver::Solve(comparison.section, options);
    if (!comparison.Solved()) return comparison;

    const std::size_t count = comparison.solve.modes.size();
    const std::vector<LineFigures> quasiStatic = ClosedForms(line, QuasiStatic(in), count);
    const std::vector<LineFigures> dispersive = ClosedForms(line, in, count);
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
