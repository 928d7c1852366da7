#include "benchsupport.h"

namespace {

void CoaxInputs(Worksheet& sheet) {
    sheet.frequency = 1e9;
    sheet.dielConstant = 2.1;
    sheet.lossTangent = 0.001;
    sheet.conductivity = 5.8e7;
    sheet.SetRowValue(1, 0.1e-3);
    sheet.SetRowValue(2, 0.5e-3);
    sheet.impedance = 50.0;
}

void BM_CoaxAnalyze(benchmark::State& state) { RunLineBenchmark(state, "coax", Operation::Analyze, CoaxInputs); }
void BM_CoaxSynthesize(benchmark::State& state) {
    RunLineBenchmark(state, "coax", Operation::Synthesize, CoaxInputs);
}

}  // namespace

BENCHMARK(BM_CoaxAnalyze);
BENCHMARK(BM_CoaxSynthesize)->Unit(benchmark::kMicrosecond);
