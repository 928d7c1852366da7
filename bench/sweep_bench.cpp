// A 1000-point frequency sweep of every line type at its first-start inputs
// (1 to 20 GHz, logarithmic): the engine's loop alone, no process start-up.
#include <benchmark/benchmark.h>

#include "core/sweep.h"
#include "core/worksheet.h"
#include "models/linetypes.h"

namespace {

void BM_Sweep1000(benchmark::State& state, const char* cliName) {
    const LineType& line = *FindLineType(cliName);
    Worksheet sheet;
    const auto model = CreateLineModel(line, sheet); // loads the coplanar library
    model->LoadAndSetup();
    sheet.lossTangent = 1e-3;
    const LineInputs inputs = model->ReadInputs();
    for (auto _ : state) {
        const auto points = RunSweep(line, inputs, {}, {1e9, 2e10, 1000, true});
        benchmark::DoNotOptimize(points.back().values.impedance);
        if (!points.back().Ok()) state.SkipWithError(points.back().error.c_str());
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_Sweep1000, microstrip, "microstrip")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sweep1000, stripline, "stripline")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sweep1000, cpw, "cpw")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sweep1000, cpw_ground, "cpw-ground")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sweep1000, coax, "coax")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sweep1000, slotline, "slotline")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sweep1000, coupled_microstrip, "coupled-microstrip")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sweep1000, coupled_stripline, "coupled-stripline")
    ->Unit(benchmark::kMillisecond);
