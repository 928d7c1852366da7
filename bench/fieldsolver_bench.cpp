// Field solves of every tab's default cross-section (all in um, Er 12.9), as
// the window's "check with field solver" runs them.
// Real time is what the user waits; CPU time sums both solving threads.
#include <benchmark/benchmark.h>

#include "core/widebanddielectric.h"
#include "fieldsolver/fieldsolver.h"
#include "models/linetypes.h"

namespace {

// The line's default cross-section (rows in um) as its builder makes it.
CrossSection Section(const char* line, std::vector<double> rowsUm) {
    LineInputs in;
    for (std::size_t i = 0; i < rowsUm.size(); ++i)
        in.rows[i] = rowsUm[i] * 1e-6;
    in.er = 12.9;
    return FindLineType(line)->crossSection(AtFrequency(in));
}

void FieldSolve(benchmark::State& state, const char* line, std::vector<double> rowsUm) {
    const CrossSection section = Section(line, std::move(rowsUm));
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
                  "microstrip", std::vector<double>{50, 100, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(FieldSolve, Stripline,
                  "stripline", std::vector<double>{50, 100, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(FieldSolve, Cpw,
                  "cpw", std::vector<double>{50, 10, 100, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(FieldSolve, GroundedCpw,
                  "cpw-ground", std::vector<double>{50, 10, 100, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(FieldSolve, CoupledMicrostrip,
                  "coupled-microstrip", std::vector<double>{46, 50, 50, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(FieldSolve, CoupledStripline,
                  "coupled-stripline", std::vector<double>{50, 50, 100, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
