// The solve of a cross-section: the checks, the exact coax, and the meshed
// modes, each solved on its own thread (even and odd run side by side) while
// the calling thread reports progress every few tens of milliseconds and can
// return at once when the caller cancels.
#include "fieldsolver/fieldsolver.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <limits>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "fieldsolver/crosssection.h"
#include "fieldsolver/gradedaxis.h"
#include "fieldsolver/laplacefv.h"
#include "fieldsolver/modesolve.h"
#include "fieldsolver/physicalconstants.h"

namespace fieldsolver {
namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(20);
constexpr int kMaxRefinement = 2; // beyond, meshes of millions of cells

using Clock = std::chrono::steady_clock;

SolveResult Failed(SolveStatus status, std::string message) {
    SolveResult r;
    r.status = status;
    r.message = std::move(message);
    return r;
}

// A field known in closed form: Z0 = 1 / (c sqrt(C C_air)) = eta0 / (sqrt(Er)
// C_air / eps0), eeff = Er.
SolveResult Exact(const CrossSection::Exact& exact) {
    SolveResult result;
    result.exact = true;
    ModeResult r;
    r.eeff = exact.er;
    r.impedance_ohm = kEta0 / (std::sqrt(exact.er) * exact.airCapacitanceOverEps0);
    result.modes.push_back(r);
    return result;
}

// Relative size, to its coordinate, of the smallest cell below which the
// finite volumes lose the digits they need: measured on CPW (cells of 2e-8 m
// at the metal on a substrate H high), H = 10 m (2e-9) agrees with H = 1 m
// to 1e-6, H = 30 m (7e-10) is 0.07 % off and H = 1000 m (2e-11) 3 % off, with
// estimates of 0.2 % that do not see it.
constexpr double kResolution = 1e-9;
// Below this (subnormal coordinates, or nearly) doubles lose their relative
// precision whatever the coordinate: no cell may be smaller.
constexpr double kSmallestCell = std::numeric_limits<double>::min() / kResolution;

// Why the problems' meshes exceed the budget, if they do: too many cells on
// the default meshes (counted before any is made; each refinement step the
// caller asks for multiplies them by four), or cells too small for their
// coordinates.
std::optional<std::string> OverBudget(const std::vector<Problem>& problems) {
    const std::string unresolved("its smallest cells would be below the resolution of their "
                                 "coordinates");
    auto unresolvable = [](double size, double at) {
        return size < std::max(kResolution * std::abs(at), kSmallestCell);
    };
    double cells = 0.0;
    for (const Problem& p : problems) {
        for (const AxisSpec* axis : {&p.xAxis, &p.yAxis}) {
            for (double s : axis->singular)
                if (unresolvable(axis->smallestCell, s)) return unresolved;
            // A key interval (a metal thickness, a gap) is bisected too.
            std::vector<double> keys = axis->keys;
            std::sort(keys.begin(), keys.end());
            for (std::size_t k = 0; k + 1 < keys.size(); ++k)
                if (keys[k + 1] > keys[k] && unresolvable(keys[k + 1] - keys[k], keys[k + 1]))
                    return unresolved;
        }
        cells += AxisCellCount(p.xAxis, 1) * AxisCellCount(p.yAxis, 1);
    }
    if (cells <= static_cast<double>(kMaxMeshCells)) return std::nullopt;
    char text[160];
    std::snprintf(text, sizeof text, "its mesh would need %.3g cells, more than the %zu allowed",
                  cells, kMaxMeshCells);
    return std::string(text);
}

// Why a solution is not to be trusted, or empty.
std::string Unreliable(const std::vector<ModeResult>& modes) {
    for (const ModeResult& m : modes) {
        if (!std::isfinite(m.impedance_ohm) || !std::isfinite(m.eeff) || m.impedance_ohm <= 0.0 ||
            m.eeff < 1.0)
            return "its values are not physical";
        const double estimate = std::max(m.impedance_error_pct, m.eeff_error_pct);
        char text[200];
        if (!(estimate <= kUnreliableErrorPct)) {
            std::snprintf(text, sizeof text,
                          "its estimated error, %.3g %%, exceeds %g %%", estimate,
                          kUnreliableErrorPct);
            return text;
        }
        if (!(m.outerPotential <= kDecayedPotential)) {
            std::snprintf(text, sizeof text,
                          "the field has not decayed at the mesh's outer walls (%.3g of the "
                          "strip's potential there)",
                          m.outerPotential);
            return text;
        }
    }
    return {};
}

struct ModeJob {
    Problem problem;
    Mode mode = Mode::Single;
    double mirrorSign = 0.0;
    ModeProgress progress;
    ModeResult result;
    std::string error; // why the solve failed, if it did
};

// Owned jointly by the caller and the solving threads: a cancelled caller
// returns at once and the threads end at their next step, dropping it last.
struct SharedSolve {
    std::vector<std::unique_ptr<ModeJob>> jobs;
    int level = 0;
    std::atomic<bool> abort{false};
    std::mutex mutex;
    std::condition_variable finished;
    std::size_t finishedCount = 0;

    double Fraction() const {
        double sum = 0.0;
        for (const auto& job : jobs)
            sum += job->progress.fraction;
        return sum / static_cast<double>(jobs.size());
    }
};

void RunJob(const std::shared_ptr<SharedSolve>& shared, ModeJob& job) {
    try {
        job.result = SolveMode(job.problem, job.mode, shared->level, job.mirrorSign, job.progress);
    } catch (const SolveCancelled&) {
    } catch (const std::exception& e) {
        job.error = e.what();
        shared->abort = true; // the other mode's answer is of no use alone
    } catch (...) {
        job.error = "unexpected error";
        shared->abort = true;
    }
    {
        std::lock_guard lock(shared->mutex);
        ++shared->finishedCount;
    }
    shared->finished.notify_all();
}

// The solving threads of one call. Leaving Solve any other way than after
// joining them (cancelled, a callback that throws) tells them to stop and
// leaves them to end on their own; they own what they use.
class Workers {
  public:
    explicit Workers(std::shared_ptr<SharedSolve> shared) : shared_(std::move(shared)) {
        try {
            for (auto& job : shared_->jobs)
                threads_.emplace_back([shared = shared_, &job = *job] { RunJob(shared, job); });
        } catch (...) { // no thread to be had: stop those started
            Release();
            throw;
        }
    }
    ~Workers() { Release(); }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    // Waits for every thread, calling `report` with the fraction done every
    // progress interval; false when `report` asked to stop first.
    template <class Report> bool Wait(Report&& report) {
        for (;;) {
            std::unique_lock lock(shared_->mutex);
            const bool done = shared_->finished.wait_for(lock, kProgressInterval, [&] {
                return shared_->finishedCount == shared_->jobs.size();
            });
            lock.unlock();
            if (done) break;
            if (!report(shared_->Fraction())) return false;
        }
        for (auto& thread : threads_)
            thread.join();
        return true;
    }

  private:
    void Release() {
        shared_->abort = true;
        for (auto& thread : threads_)
            if (thread.joinable()) thread.detach();
    }

    std::shared_ptr<SharedSolve> shared_;
    std::vector<std::thread> threads_;
};

} // namespace

SolveResult Solve(const CrossSection& section, const SolveOptions& options) {
    const auto start = Clock::now();
    if (auto problem = CheckCrossSection(section))
        return Failed(SolveStatus::InvalidInput, *problem);
    if (section.exact) return Exact(*section.exact);

    const std::vector<Mode> modes = ModesOf(section);
    std::vector<Problem> problems;
    for (Mode mode : modes)
        problems.push_back(BuildProblem(section, mode, options.fullDomain));
    if (auto reason = OverBudget(problems))
        return Failed(SolveStatus::TooLarge, "The field solver cannot mesh this cross-section: " +
                                                 *reason + ".");

    auto report = [&](double fraction) { return !options.progress || options.progress(fraction); };
    if (!report(0.0)) return Failed(SolveStatus::Cancelled, "Cancelled");

    auto shared = std::make_shared<SharedSolve>();
    shared->level = std::clamp(options.refinement, 0, kMaxRefinement);
    for (std::size_t i = 0; i < modes.size(); ++i) {
        auto job = std::make_unique<ModeJob>();
        job->mode = modes[i];
        job->problem = std::move(problems[i]);
        // A stacked pair's half is mirrored in y, which the map does not
        // hold: across x = 0 its field is always even.
        job->mirrorSign = options.fullDomain ? 0.0
                          : section.stacked || job->mode != Mode::Odd ? 1.0
                                                                      : -1.0;
        job->progress.abort = &shared->abort;
        shared->jobs.push_back(std::move(job));
    }
    try {
        Workers workers(shared);
        if (!workers.Wait(report)) return Failed(SolveStatus::Cancelled, "Cancelled");
    } catch (const std::system_error& e) {
        return Failed(SolveStatus::Failed,
                      std::string("The field solve could not start: ") + e.what());
    }

    SolveResult result;
    for (const auto& job : shared->jobs) {
        if (!job->error.empty())
            return Failed(SolveStatus::Failed, "The field solve failed: " + job->error);
        result.modes.push_back(std::move(job->result));
        result.mesh_cells += result.modes.back().mesh_cells;
    }
    result.unreliable = Unreliable(result.modes);
    report(1.0);
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return result;
}

} // namespace fieldsolver
