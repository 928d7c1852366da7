#include "benchsupport.h"

namespace {

// Er = 6 on H = 0.635 mm at 10 GHz; 89.164 ohms is the impedance of a 0.2 mm
// gap, so the synthesis scans about two thirds of its 10000 steps first.
void SlotlineInputs(Worksheet& sheet) {
    sheet.frequency = 10e9;
    sheet.dielConstant = 6.0;
    sheet.lossTangent = 0.0005;
    sheet.SetRowValue(1, 0.2e-3);
    sheet.SetRowValue(2, 0.635e-3);
    sheet.impedance = 89.164;
}

void BM_SlotlineAnalyze(benchmark::State& state) {
    RunLineBenchmark(state, "slotline", Operation::Analyze, SlotlineInputs);
}
void BM_SlotlineSynthesize(benchmark::State& state) {
    RunLineBenchmark(state, "slotline", Operation::Synthesize, SlotlineInputs);
}

} // namespace

BENCHMARK(BM_SlotlineAnalyze);
BENCHMARK(BM_SlotlineSynthesize)->Unit(benchmark::kMicrosecond);
