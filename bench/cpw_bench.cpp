#include "benchsupport.h"

namespace {

// A 50-ohm line on 0.635 mm alumina at 10 GHz, 2 um gold metal.
void CpwInputs(Worksheet& sheet) {
    sheet.frequency = 10e9;
    sheet.dielConstant = 9.8;
    sheet.lossTangent = 0.0002;
    sheet.conductivity = 4.1e7;
    sheet.SetRowValue(1, 0.3e-3);
    sheet.SetRowValue(2, 0.15e-3);
    sheet.SetRowValue(3, 0.635e-3);
    sheet.SetRowValue(4, 2e-6);
    sheet.impedance = 50.0;
}

void BM_CpwAnalyze(benchmark::State& state) {
    RunLineBenchmark(state, "cpw", Operation::Analyze, CpwInputs);
}
void BM_CpwSynthesize(benchmark::State& state) {
    RunLineBenchmark(state, "cpw", Operation::Synthesize, CpwInputs);
}
void BM_GroundedCpwAnalyze(benchmark::State& state) {
    RunLineBenchmark(state, "cpw-ground", Operation::Analyze, CpwInputs);
}
void BM_GroundedCpwSynthesize(benchmark::State& state) {
    RunLineBenchmark(state, "cpw-ground", Operation::Synthesize, CpwInputs);
}

} // namespace

BENCHMARK(BM_CpwAnalyze);
BENCHMARK(BM_CpwSynthesize)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GroundedCpwAnalyze);
BENCHMARK(BM_GroundedCpwSynthesize)->Unit(benchmark::kMicrosecond);
