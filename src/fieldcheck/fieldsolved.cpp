#include "fieldcheck/fieldsolved.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <stdexcept>

#include "core/synthesisroot.h"
#include "fieldcheck/fieldcomparison.h"
#include "fieldsolver/fieldsolver.h"
#include "numeric/tpexceptions.h"

namespace fieldcheck {
namespace {

constexpr int kMaxRefinement = 2;
constexpr int kMaxNewtonSteps = 16;
constexpr int kStepHalvings = 4;      // of a step whose cross-section does not solve
constexpr double kLargestStep = 0.5;  // in the logarithm of a dimension
constexpr double kClosedFormStep = 1e-3;
// Field Jacobians difference over a wider step than the mesh's own jitter.
constexpr double kFieldStep = 2e-2;

// Impedance and eeff of each mode of one field solution.
struct Field {
    LineResult values;
    double errorPct = 0.0;
};

std::string Percent(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2g %%", value);
    return text;
}

// The line's cross-section solved at trial rows, counting solves and time.
class FieldLine {
  public:
    FieldLine(const LineDescriptor& line, const LineInputs& in) : line_(line) {
        if (line.crossSection == nullptr)
            throw TP_Exceptions(NotQuasiTemText(line));
        // The coplanar kernels are bound to their library when a model is built.
        if (line.prepare != nullptr) line.prepare();
        at_ = LineCalculation(line, in).Inputs();
    }

    Field At(const LineInputs& trial) {
        InputsAtFrequency at = at_;
        at.rows = trial.rows;
        fieldsolver::SolveOptions options;
        options.refinement = refinement;
        const fieldsolver::SolveResult solve = fieldsolver::Solve(line_.crossSection(at), options);
        ++solves;
        seconds += solve.seconds;
        if (solve.status != fieldsolver::SolveStatus::Ok) throw TP_Exceptions(solve.message);
        if (!solve.unreliable.empty())
            throw TP_Exceptions("The field solution is unreliable: " + solve.unreliable);
        Field field;
        for (std::size_t i = 0; i < solve.modes.size(); ++i) {
            const fieldsolver::ModeResult& mode = solve.modes[i];
            LineValues& values = solve.modes.size() == 1 ? field.values
                                 : i == 0               ? field.values.even
                                                        : field.values.odd;
            values.impedance = mode.impedance_ohm;
            values.eeff = mode.eeff;
            field.errorPct = std::max({field.errorPct, std::fabs(mode.impedance_error_pct),
                                       std::fabs(mode.eeff_error_pct)});
        }
        if (line_.coupled) {
            const LineValues& shown = at_.mode == 1 ? field.values.odd : field.values.even;
            field.values.impedance = shown.impedance;
            field.values.eeff = shown.eeff;
        }
        return field;
    }

    // The answer of the one step at trial rows with the field's figures in.
    FieldSolved Answer(const LineInputs& trial, const Field& field) const {
        FieldSolved solved;
        solved.answer = CalculateLine(line_, trial, trial.Row(1));
        LineAnswer& answer = solved.answer;
        std::erase_if(answer.warnings, IsVerifiedRangeWarning); // the field answered
        if (!answer.Ok()) {
            answer.warnings.push_back("Loss not computed: the closed form has no answer here (" +
                                      answer.ErrorText() + ")");
            answer.failure = nullptr;
            answer.inputs = at_;
            answer.inputs.rows = trial.rows;
            for (LineValues* values : {static_cast<LineValues*>(&answer.result),
                                       &answer.result.even, &answer.result.odd})
                *values = {0.0, 0.0, kNotSeparated, kNotSeparated, kNotSeparated};
        }
        const auto take = [](LineValues& into, const LineValues& from) {
            into.impedance = from.impedance;
            into.eeff = from.eeff;
        };
        take(answer.result, field.values);
        take(answer.result.even, field.values.even);
        take(answer.result.odd, field.values.odd);
        solved.errorPct = field.errorPct;
        solved.refinement = refinement;
        solved.solves = solves;
        solved.seconds = seconds;
        return solved;
    }

    const LineDescriptor& Line() const { return line_; }

    int refinement = 0;
    int solves = 0;
    double seconds = 0.0;

  private:
    const LineDescriptor& line_;
    InputsAtFrequency at_;
};

// A finer mesh where the estimated error exceeds the budget; a finer mesh
// that cannot be had leaves the coarser answer, said so.
bool NeedsFinerMesh(const FieldLine& field, const Field& answer) {
    return answer.errorPct > kFieldErrorBudgetPct && field.refinement < kMaxRefinement;
}

void WarnOverBudget(FieldSolved& solved, const std::string& why) {
    if (solved.errorPct > kFieldErrorBudgetPct)
        solved.answer.warnings.push_back("Field solution's estimated error " +
                                         Percent(solved.errorPct) + " exceeds " +
                                         Percent(kFieldErrorBudgetPct) + why);
}

// The figures a synthesis meets, relative to their targets: figure / target - 1.
using Residuals = std::function<std::vector<double>(const LineResult&)>;

// Newton-Broyden in u = ln(row) of the solved rows (indices into rows), on
// meshes refined until the estimated error fits the budget.
class RowSolver {
  public:
    RowSolver(FieldLine& field, std::vector<std::size_t> solved, Residuals residuals)
        : field_(field), solved_(std::move(solved)), residuals_(std::move(residuals)),
          n_(solved_.size()) {}

    FieldSolved Solve(LineInputs rows) {
        Jacobian(rows);
        Field at = field_.At(rows);
        std::vector<double> r = residuals_(at.values);
        std::string unmetWhy;
        for (;;) {
            Converge(rows, at, r);
            if (!NeedsFinerMesh(field_, at)) break;
            const LineInputs coarse = rows;
            const Field coarseAt = at;
            try {
                ++field_.refinement;
                at = field_.At(rows);
                r = residuals_(at.values);
            } catch (const TP_Exceptions& e) {
                --field_.refinement;
                FieldSolved solved = field_.Answer(coarse, coarseAt);
                WarnOverBudget(solved, ": a finer mesh failed (" + std::string(e.what()) + ")");
                return solved;
            }
        }
        FieldSolved solved = field_.Answer(rows, at);
        WarnOverBudget(solved, " on the finest mesh");
        return solved;
    }

  private:
    double U(const LineInputs& rows, std::size_t j) const { return std::log(rows.rows[solved_[j]]); }
    void Move(LineInputs& rows, const std::array<double, 2>& du) const {
        for (std::size_t j = 0; j < n_; ++j)
            rows.rows[solved_[j]] = std::exp(U(rows, j) + du[j]);
    }

    // The first Jacobian: from the closed form where it answers, else from
    // the field.
    void Jacobian(const LineInputs& rows) {
        if (n_ == 0) return;
        const LineDescriptor& line = field_.Line();
        const auto closedForm = [&](const LineInputs& in) {
            return LineCalculation(line, in).Values(in.Row(1));
        };
        const auto fieldValues = [&](const LineInputs& in) { return field_.At(in).values; };
        try {
            Differences(rows, closedForm, kClosedFormStep);
        } catch (const std::runtime_error&) {
            Differences(rows, fieldValues, kFieldStep);
        }
    }

    template <class Evaluate> void Differences(const LineInputs& rows, Evaluate evaluate, double h) {
        const std::vector<double> r0 = residuals_(evaluate(rows));
        for (std::size_t k = 0; k < n_; ++k) {
            LineInputs moved = rows;
            std::array<double, 2> du{};
            du[k] = h;
            Move(moved, du);
            const std::vector<double> r1 = residuals_(evaluate(moved));
            for (std::size_t j = 0; j < n_; ++j)
                j_[j][k] = (r1[j] - r0[j]) / h;
        }
    }

    std::array<double, 2> NewtonStep(const std::vector<double>& r) const {
        std::array<double, 2> du{};
        if (n_ == 1) {
            du[0] = -r[0] / j_[0][0];
        } else {
            const double det = j_[0][0] * j_[1][1] - j_[0][1] * j_[1][0];
            du[0] = -(j_[1][1] * r[0] - j_[0][1] * r[1]) / det;
            du[1] = -(-j_[1][0] * r[0] + j_[0][0] * r[1]) / det;
        }
        double largest = 0.0;
        for (std::size_t j = 0; j < n_; ++j)
            largest = std::max(largest, std::fabs(du[j]));
        if (!std::isfinite(largest))
            throw TP_Exceptions("Field synthesis failed: the targets do not move with the dimensions");
        if (largest > kLargestStep)
            for (double& d : du)
                d *= kLargestStep / largest;
        return du;
    }

    static double Largest(const std::vector<double>& r) {
        double largest = 0.0;
        for (double v : r)
            largest = std::max(largest, std::fabs(v));
        return largest;
    }

    void Converge(LineInputs& rows, Field& at, std::vector<double>& r) {
        for (int step = 0; Largest(r) > kFieldTargetMatch; ++step) {
            if (step == kMaxNewtonSteps)
                throw TP_Exceptions("Field synthesis did not converge: the nearest solution misses "
                                    "its target by " + Percent(100.0 * Largest(r)));
            std::array<double, 2> du = NewtonStep(r);
            for (int halving = 0;; ++halving) {
                LineInputs trial = rows;
                Move(trial, du);
                try {
                    const Field next = field_.At(trial);
                    const std::vector<double> rNext = residuals_(next.values);
                    Broyden(du, r, rNext);
                    rows = trial;
                    at = next;
                    r = rNext;
                    break;
                } catch (const TP_Exceptions&) {
                    if (halving == kStepHalvings) throw;
                    for (double& d : du)
                        d /= 2;
                }
            }
        }
    }

    // J += ((dr - J du) du^T) / (du . du)
    void Broyden(const std::array<double, 2>& du, const std::vector<double>& r,
                 const std::vector<double>& rNext) {
        double norm = 0.0;
        for (std::size_t k = 0; k < n_; ++k)
            norm += du[k] * du[k];
        if (!(norm > 0.0)) return;
        for (std::size_t j = 0; j < n_; ++j) {
            double predicted = 0.0;
            for (std::size_t k = 0; k < n_; ++k)
                predicted += j_[j][k] * du[k];
            const double miss = (rNext[j] - r[j]) - predicted;
            for (std::size_t k = 0; k < n_; ++k)
                j_[j][k] += miss * du[k] / norm;
        }
    }

    FieldLine& field_;
    std::vector<std::size_t> solved_;
    Residuals residuals_;
    std::size_t n_;
    std::array<std::array<double, 2>, 2> j_{};
};

} // namespace

FieldSolved FieldAnalyze(const LineDescriptor& line, const LineInputs& in) {
    FieldLine field(line, in);
    // Nothing solved: the solver only refines the meshes.
    RowSolver solver(field, {}, [](const LineResult&) { return std::vector<double>{}; });
    return solver.Solve(in);
}

FieldLineSynthesis FieldSynthesize(const LineDescriptor& line, const LineInputs& in) {
    if (!line.synthesis) throw std::invalid_argument("the line has no single-line synthesis");
    const double target = in.targetImpedance;
    if (!(target > 0.0) || !std::isfinite(target))
        throw TP_Exceptions("The target impedance must be greater than zero");
    FieldLine field(line, in);
    LineInputs start = in;
    try {
        start.rows[0] = SynthesisRoot(LineCalculation(line, in));
    } catch (const std::runtime_error&) {
        // No closed-form root: the field starts from the given row 1.
    }
    RowSolver solver(field, {0},
                     [target](const LineResult& v) { return std::vector{v.impedance / target - 1.0}; });
    FieldLineSynthesis synthesis;
    synthesis.solved = solver.Solve(start);
    synthesis.x = synthesis.solved.answer.inputs.Row(1);
    return synthesis;
}

FieldPairSynthesis FieldSynthesizePair(const LineDescriptor& line, const LineInputs& in,
                                       const std::vector<PairTarget>& targets, PairSolve solve) {
    FieldLine field(line, in);
    LineInputs start = in;
    try {
        const PairSynthesis closed = SynthesizePair(line, in, targets, solve);
        start.rows[0] = closed.w;
        start.rows[1] = closed.s;
    } catch (const std::runtime_error&) {
        // No closed-form answer: the field starts from the given W and S.
    }
    std::vector<std::size_t> solved;
    if (solve != PairSolve::S) solved.push_back(0);
    if (solve != PairSolve::W) solved.push_back(1);
    RowSolver solver(field, solved, [targets](const LineResult& v) {
        std::vector<double> r;
        for (const PairTarget& target : targets)
            r.push_back(PairFigureValue(target.figure, v) / target.ohms - 1.0);
        return r;
    });
    FieldPairSynthesis synthesis;
    synthesis.solved = solver.Solve(start);
    synthesis.w = synthesis.solved.answer.inputs.Row(1);
    synthesis.s = synthesis.solved.answer.inputs.Row(2);
    return synthesis;
}

} // namespace fieldcheck
