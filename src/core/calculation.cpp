#include "core/calculation.h"

#include <algorithm>
#include <cmath>

#include "core/linecal.h"
#include "core/lineconstants.h"
#include "core/lossparts.h"
#include "core/widebanddielectric.h"
#include "numeric/checkedmath.h"
#include "numeric/constants.h"
#include "numeric/fpfault.h"
#include "numeric/tpexceptions.h"

namespace {

const char* const kNoValidResult = "No valid result: the formulas are outside their range here";
const char* const kConductorLossLeftOut = "T = 0: conductor loss not included";
const char* const kEeffAboveEr = "eeff above Er: the formulas are outside their range here";

// No wave guided by a dielectric of Er (at f) and air sees more than Er; a
// formula that says so has left its range.  Lines filled with the dielectric
// give eeff = Er, which rounding may lift by an ulp or two; a line with a
// second dielectric may reach the higher of the two.  Near and below the
// R = omega L corner the conductor's internal inductance and resistance lift
// eeff further: that is physics, so the formulas' own eeff is tested.
bool EeffAboveEr(const LineDescriptor& line, const LineInputs& in, const LineResult& r) {
    const double highest =
        line.secondErRow > 0 ? std::max(in.er, in.Row(line.secondErRow)) : in.er;
    constexpr double kRounding = 1.0 + 1e-9; // folded, not summed per answer
    const double limit = highest * kRounding;
    const auto above = [limit](const LineValues& v) {
        return (std::isnan(v.formulaEeff) ? v.eeff : v.formulaEeff) > limit;
    };
    return above(r) || (line.coupled && (above(r.even) || above(r.odd)));
}

bool BelowCorner(const LineDescriptor& line, const LineResult& r) {
    return r.belowCorner || (line.coupled && (r.even.belowCorner || r.odd.belowCorner));
}

// "Width (W) is GREATER than quarter-wavelength" for each row longer than a
// quarter wavelength; nothing where the quarter wavelength is unbounded.
void AddQuarterWaveWarnings(const LineDescriptor& line, const LineInputs& in, double beta,
                            std::vector<std::string>& warnings) {
    // A guide's cross-section is comparable to the wavelength by design.
    if (line.modes != nullptr || !(beta > 0.0) || !std::isfinite(beta)) return;
    const auto compute = [&] { return 90.0 / beta; };
    // Only a beta below 90 / DBL_MAX overflows: above 1e-300 no flag needs
    // reading.
    const double quarter = FaultTrapped(beta >= 1e-300, compute);
    if (!std::isfinite(quarter)) return;
    // The rows' lengths first: nearly every answer has none this long, and
    // then neither a row's unit nor a list of texts is looked at.
    const int count = line.RowCount();
    auto longer = warnings.begin();
    for (int i = 1; i <= count; ++i)
        if (in.Row(i) > quarter && line.FixedRowUnit(i) == nullptr)
            longer = warnings.insert(longer, line.rowLabels[static_cast<std::size_t>(i - 1)] +
                                                 " is GREATER than quarter-wavelength") +
                     1;
}

// The inputs at their frequency, or the default ones with the failure kept.
InputsAtFrequency AtFrequencyKeepingFailure(const LineInputs& in, std::exception_ptr& failure) {
    try {
        return AtFrequency(in);
    } catch (...) {
        failure = std::current_exception();
        return {};
    }
}

// Steps 2 to 4 on an answer begun from the inputs at their frequency (step
// 1), unless that step failed (`modelsFailure`): row 1 as the check sees it
// is `checkedRow1`, the kernel runs at x; a failure is kept in the answer.
void RunStep(const LineDescriptor& line, const std::exception_ptr& modelsFailure, double x,
             double checkedRow1, CrossSectionTerms* terms, LineAnswer& answer) {
    if (modelsFailure) {
        answer.failure = modelsFailure;
        return;
    }
    answer.inputs.rows[0] = checkedRow1;
    const InputsAtFrequency& in = answer.inputs;
    try {
        line.check(in, answer.warnings); // hard limits raise before any value
        if (line.lossShown && in.rho > 0.0 && line.LeavesOutConductorLoss(in))
            answer.warnings.push_back(kConductorLossLeftOut);

        answer.result = EvaluateWithLossParts(line, in, x, terms);
        const LineResult& r = answer.result;
        const bool aboveEr = EeffAboveEr(line, in, r);
        // Both modes of a pair are reported (pair figures, sweep columns):
        // neither may be a result no line can have.
        if (line.impossible != nullptr &&
            (line.impossible(in, r) ||
             (line.coupled && (line.impossible(in, r.even) || line.impossible(in, r.odd))))) {
            if (aboveEr) answer.warnings.push_back(kEeffAboveEr); // says why
            throw TP_Exceptions(kNoValidResult);
        }
        // What showing the values checks: eeff and its root for the phase
        // constant, the loss in dB/m.
        RequireFinite(r.eeff);
        const double beta = PhaseConstantOf(in.f, r.eeff);
        answer.phaseConstant = beta;
        if (line.lossShown) RequireFinite(r.loss * constants::kNepersToDecibels);
        AddQuarterWaveWarnings(line, in, beta, answer.warnings);
        if (aboveEr) answer.warnings.push_back(kEeffAboveEr);
        if (BelowCorner(line, r)) answer.warnings.push_back(kBelowCornerNote);
        if (line.verified) AddVerifiedRangeWarning(*line.verified, in, answer.warnings);
    } catch (...) {
        answer.failure = std::current_exception();
    }
}

} // namespace

double PhaseConstantOf(double f, double eeff) {
    const double root = CheckedSqrt(eeff);
    const auto compute = [&] { return (f * 2.0 * 180.0) / (constants::kSpeedOfLight / root); };
    // Within these bounds nothing divides by zero or overflows: the value
    // needs no fault check (reading the flags is slow).
    return FaultTrappedFinite(root > 0.0 && root <= 1e100 && std::fabs(f) <= 1e100, compute);
}

std::string LineAnswer::ErrorText() const {
    if (Ok()) return {};
    try {
        std::rethrow_exception(failure);
    } catch (...) {
        return CurrentErrorText("Unknown calculation error");
    }
}

LineAnswer::LineAnswer(const LineInputs& in, std::exception_ptr& failure)
    : inputs(AtFrequencyKeepingFailure(in, failure)) {}

double LineAnswer::PhaseConstant() const {
    return PhaseConstantOf(inputs.f, result.eeff);
}

// at_ is built in place: the inputs are copied once, not default-built and
// then assigned.
LineCalculation::LineCalculation(const LineDescriptor& line, const LineInputs& in)
    : line_(line), at_(AtFrequencyKeepingFailure(in, failure_)) {}

const InputsAtFrequency& LineCalculation::Inputs() const {
    if (failure_) std::rethrow_exception(failure_);
    return at_;
}

LineResult LineCalculation::Values(double x) const {
    return EvaluateWithLossParts(line_, Inputs(), x);
}

double LineCalculation::Objective(double x) const {
    return ObjectiveChecked(line_, Inputs(), x);
}

LineAnswer LineCalculation::Answer(double x) const {
    return Answer(x, x);
}

LineAnswer LineCalculation::Answer(double x, double checkedRow1) const {
    // at_ holds the default inputs where the material models failed: what
    // the answer then carries, with that failure.
    LineAnswer answer(at_);
    RunStep(line_, failure_, x, checkedRow1, nullptr, answer);
    return answer;
}

// The answer is built straight from the inputs at their frequency: one copy
// of them, not one into a LineCalculation and more into the answer.
LineAnswer CalculateLine(const LineDescriptor& line, const LineInputs& in, double x,
                         CrossSectionTerms* terms) {
    std::exception_ptr failure;
    LineAnswer answer(in, failure);
    RunStep(line, failure, x, x, terms, answer);
    return answer;
}
