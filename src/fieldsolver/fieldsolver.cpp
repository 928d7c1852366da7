// The solve of a cross-section: per mode, the capacitance with and without the
// dielectric on two nested meshes, Richardson's extrapolation of each, and the
// impedance and effective dielectric constant from them.
#include "fieldsolver/fieldsolver.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>

#include "fieldsolver/crosssection.h"
#include "fieldsolver/laplacefv.h"

namespace fieldsolver {
namespace {

constexpr double kSpeedOfLight = 299792458.0;                     // m/s
constexpr double kEta0 = 4e-7 * std::numbers::pi * kSpeedOfLight; // ohms, mu0 c
constexpr double kRichardsonDivisor = 3.0; // 2^p - 1 for order p = 2 and cell ratio 2

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Shares the fraction 0..1 of the whole solve among its linear solves, each
// weighted by its number of unknowns.
class ProgressShare {
  public:
    ProgressShare(const std::function<bool(double)>& callback, double totalWork)
        : callback_(callback), total_(totalWork) {}

    StepProgress Step(double work) {
        const double start = done_;
        done_ += work;
        return [this, start, work](double fraction) { Report((start + fraction * work) / total_); };
    }
    void Report(double fraction) const {
        if (callback_ && !callback_(std::min(1.0, fraction))) throw SolveCancelled{};
    }

  private:
    const std::function<bool(double)>& callback_;
    double total_;
    double done_ = 0.0;
};

// One permittivity everywhere: the air capacitance is C / Er without a solve.
bool Homogeneous(const Problem& p) {
    const Slab& s = p.slabs.front();
    return p.slabs.size() == 1 && (s.er == 1.0 || (s.y0 <= p.ymin && s.y1 >= p.ymax));
}

struct MeshPair {
    LaplaceSystem coarse, fine;
};

struct Capacitances {
    double withDielectric, air;
};

Capacitances SolveMesh(const Problem& p, LaplaceSystem& system, ProgressShare& share,
                       MeshPotential* potential) {
    const double work = static_cast<double>(system.UnknownCount());
    const double c = system.Capacitance(true, share.Step(work), potential);
    if (Homogeneous(p)) return {c, c / p.slabs[0].er};
    return {c, system.Capacitance(false, share.Step(work))};
}

double Impedance(const Capacitances& c) {
    return 1.0 / (kSpeedOfLight * std::sqrt(c.withDielectric * c.air));
}

double PercentApart(double a, double b) {
    return 100.0 * std::abs(a - b) / std::abs(a);
}

ModeResult SolveMode(const Problem& p, Mode mode, MeshPair& meshes, ProgressShare& share,
                     double mirrorSign) {
    const auto start = Clock::now();
    MeshPotential potential;
    const Capacitances coarse = SolveMesh(p, meshes.coarse, share, nullptr);
    const Capacitances fine = SolveMesh(p, meshes.fine, share, &potential);
    const Capacitances extrapolated{
        fine.withDielectric + (fine.withDielectric - coarse.withDielectric) / kRichardsonDivisor,
        fine.air + (fine.air - coarse.air) / kRichardsonDivisor};

    ModeResult r;
    r.mode = mode;
    r.capacitance_per_m = extrapolated.withDielectric;
    r.capacitance_air_per_m = extrapolated.air;
    r.impedance_ohm = Impedance(extrapolated);
    r.eeff = extrapolated.withDielectric / extrapolated.air;
    // The fine mesh's distance from the extrapolated value: a generous bound
    // of the extrapolated value's own error.
    r.impedance_error_pct = PercentApart(r.impedance_ohm, Impedance(fine));
    r.eeff_error_pct = PercentApart(r.eeff, fine.withDielectric / fine.air);
    r.mesh_cells = meshes.fine.CellCount();
    r.potential = {std::move(potential.x), std::move(potential.y), std::move(potential.values),
                   mirrorSign};
    r.seconds = Seconds(start);
    return r;
}

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

SolveResult Failed(SolveStatus status, std::string message) {
    SolveResult r;
    r.status = status;
    r.message = std::move(message);
    return r;
}

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

    const std::vector<Mode> modes = IsCoupled(section.kind)
                                        ? std::vector<Mode>{Mode::Even, Mode::Odd}
                                        : std::vector<Mode>{Mode::Single};
    std::vector<Problem> problems;
    for (Mode mode : modes)
        problems.push_back(BuildProblem(section, mode, options.fullDomain));

    // Every mode shares the meshes; the geometry does not depend on the mode.
    const int level = std::max(0, options.refinement);
    auto axes = [&](const Problem& p, int l) {
        return std::pair{GradedAxis(p.xAxis, l), GradedAxis(p.yAxis, l)};
    };
    std::vector<MeshPair> meshes;
    double totalWork = 0.0;
    for (const Problem& p : problems) {
        auto [xc, yc] = axes(p, level);
        auto [xf, yf] = axes(p, level + 1);
        meshes.push_back({LaplaceSystem(p, xc, yc), LaplaceSystem(p, xf, yf)});
        const double solves = Homogeneous(p) ? 1.0 : 2.0;
        totalWork += solves * static_cast<double>(meshes.back().coarse.UnknownCount() +
                                                  meshes.back().fine.UnknownCount());
    }

    SolveResult result;
    ProgressShare share(options.progress, totalWork);
    try {
        share.Report(0.0);
        for (std::size_t m = 0; m < modes.size(); ++m) {
            const double mirror = options.fullDomain ? 0.0 : (modes[m] == Mode::Odd ? -1.0 : 1.0);
            result.modes.push_back(SolveMode(problems[m], modes[m], meshes[m], share, mirror));
            result.mesh_cells += result.modes.back().mesh_cells;
        }
    } catch (const SolveCancelled&) {
        return Failed(SolveStatus::Cancelled, "Cancelled");
    }
    result.seconds = Seconds(start);
    return result;
}

} // namespace fieldsolver
