// The solve of a cross-section: the checks, the exact coax, and the meshed
// modes, each solved on its own thread (even and odd run side by side) while
// the calling thread reports progress every few tens of milliseconds and can
// return at once when the caller cancels.
#include "fieldsolver/fieldsolver.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <numbers>
#include <system_error>
#include <thread>

#include "fieldsolver/crosssection.h"
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

// Exact: Z0 = eta0 / (2 pi sqrt(Er)) ln(Do / Di), eeff = Er.
SolveResult Coax(const CrossSection& section) {
    SolveResult result;
    result.exact = true;
    ModeResult r;
    r.eeff = section.er;
    r.impedance_ohm = kEta0 / (2 * std::numbers::pi * std::sqrt(section.er)) *
                      std::log(section.rows[1] / section.rows[0]);
    result.modes.push_back(r);
    return result;
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
    if (section.kind == LineKind::Slotline)
        return Failed(SolveStatus::NotSupported,
                      "Slotline is not a quasi-TEM line: the quasi-static field solver does not "
                      "apply to it");
    if (section.kind == LineKind::Coax) return Coax(section);

    auto report = [&](double fraction) { return !options.progress || options.progress(fraction); };
    if (!report(0.0)) return Failed(SolveStatus::Cancelled, "Cancelled");

    auto shared = std::make_shared<SharedSolve>();
    shared->level = std::clamp(options.refinement, 0, kMaxRefinement);
    const std::vector<Mode> modes =
        IsCoupled(section.kind) ? std::vector{Mode::Even, Mode::Odd} : std::vector{Mode::Single};
    for (Mode mode : modes) {
        auto job = std::make_unique<ModeJob>();
        job->problem = BuildProblem(section, mode, options.fullDomain);
        job->mode = mode;
        job->mirrorSign = options.fullDomain ? 0.0 : (mode == Mode::Odd ? -1.0 : 1.0);
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
    report(1.0);
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return result;
}

} // namespace fieldsolver
