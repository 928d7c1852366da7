// Field solves of every tab's default cross-section (all in um, Er 12.9), as
// the window's "check with field solver" runs them.
// Real time is what the user waits; CPU time sums both solving threads.
#include <benchmark/benchmark.h>

#include "fieldsolver/fieldsolver.h"

namespace {

using fieldsolver::CrossSection;
using fieldsolver::LineKind;

constexpr double um = 1e-6;

void FieldSolve(benchmark::State& state, const CrossSection& section) {
    std::size_t cells = 0;
    for (auto _ : state) {
        const auto result = fieldsolver::Solve(section);
        if (result.status != fieldsolver::SolveStatus::Ok) {
            state.SkipWithError(result.message.c_str());
            break;
        }
        cells = result.mesh_cells;
        benchmark::DoNotOptimize(result.modes.front().impedance_ohm);
    }
    state.counters["cells"] = static_cast<double>(cells);
}

} // namespace

BENCHMARK_CAPTURE(FieldSolve, Microstrip,
                  CrossSection{LineKind::Microstrip, {50 * um, 100 * um, 1 * um}, 12.9})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(FieldSolve, Stripline,
                  CrossSection{LineKind::Stripline, {50 * um, 100 * um, 1 * um}, 12.9})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(FieldSolve, Cpw,
                  CrossSection{LineKind::Cpw, {50 * um, 10 * um, 100 * um, 1 * um}, 12.9})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(FieldSolve, GroundedCpw,
                  CrossSection{LineKind::CpwGround, {50 * um, 10 * um, 100 * um, 1 * um}, 12.9})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(FieldSolve, CoupledMicrostrip,
                  CrossSection{
                      LineKind::CoupledMicrostrip, {46 * um, 50 * um, 50 * um, 1 * um}, 12.9})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(FieldSolve, CoupledStripline,
                  CrossSection{
                      LineKind::CoupledStripline, {50 * um, 50 * um, 100 * um, 1 * um}, 12.9})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
