// Differential pairs: a W-and-S coupled synthesis (target: under 50 ms) and
// a tavrel-calc batch of 1000 analyses (target: under 100 ms for the process).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/calcrun.h"
#include "core/coupledsynthesis.h"
#include "models/linetypes.h"

namespace {

void BM_PairSynthesisWS(benchmark::State& state, const char* line) {
    const LineType& type = *FindLineType(line);
    LineInputs in;
    for (int row = 1; row <= type.RowCount(); ++row)
        in.rows[static_cast<std::size_t>(row - 1)] =
            type.rowDefaults[static_cast<std::size_t>(row - 1)];
    in.er = 4.3;
    in.tand = 0.02;
    in.f = 1e9;
    in.mode = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(SynthesizePair(
            type, in, {{PairFigure::Zdiff, 100.0}, {PairFigure::Zcomm, 30.0}}, PairSolve::WS));
}

void BM_Batch1000(benchmark::State& state) {
    const std::string path = "tavrel-bench-batch.txt";
    {
        std::ofstream file(path);
        for (int i = 0; i < 1000; ++i)
            file << "analyze microstrip W=" << 0.1 + 0.001 * i
                 << "mm H=0.635mm Er=9.8 f=" << 1 + i % 10 << "GHz\n";
    }
    for (auto _ : state) {
        std::ostringstream out, err;
        benchmark::DoNotOptimize(RunCommandLine({"batch", path}, out, err));
    }
    std::remove(path.c_str());
}

} // namespace

BENCHMARK_CAPTURE(BM_PairSynthesisWS, coupled_microstrip, "coupled-microstrip")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PairSynthesisWS, coupled_stripline, "coupled-stripline")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Batch1000)->Unit(benchmark::kMillisecond);
