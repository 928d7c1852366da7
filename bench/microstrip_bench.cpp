#include "benchsupport.h"

namespace {

// The worked alumina line: W = 0.6 mm, H = 0.635 mm, T = 5 um, copper, 10 GHz.
void MicrostripInputs(Worksheet& sheet) {
    sheet.frequency = 10e9;
    sheet.dielConstant = 9.8;
    sheet.lossTangent = 1e-4;
    sheet.conductivity = 5.8e7;
    sheet.SetRowValue(1, 0.6e-3);
    sheet.SetRowValue(2, 0.635e-3);
    sheet.SetRowValue(3, 5e-6);
    sheet.impedance = 50.0;
}

void CoupledMicrostripInputs(Worksheet& sheet) {
    MicrostripInputs(sheet);
    sheet.SetRowValue(2, 0.635e-3);  // gap
    sheet.SetRowValue(3, 0.635e-3);  // height
    sheet.SetRowValue(4, 5e-6);
}

void BM_MicrostripAnalyze(benchmark::State& state) {
    RunLineBenchmark(state, "microstrip", Operation::Analyze, MicrostripInputs);
}
void BM_MicrostripSynthesize(benchmark::State& state) {
    RunLineBenchmark(state, "microstrip", Operation::Synthesize, MicrostripInputs);
}
// A 1.3 ohm target puts the root at W = 93 H: the scan runs over most of its
// 1000 steps before Brent refines, the worst case short of "No solution".
void BM_MicrostripSynthesizeFullScan(benchmark::State& state) {
    RunLineBenchmark(state, "microstrip", Operation::Synthesize, [](Worksheet& sheet) {
        MicrostripInputs(sheet);
        sheet.impedance = 1.3;
    });
}
void BM_CoupledMicrostripAnalyze(benchmark::State& state) {
    RunLineBenchmark(state, "coupled-microstrip", Operation::Analyze, CoupledMicrostripInputs);
}

}  // namespace

BENCHMARK(BM_MicrostripAnalyze)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MicrostripSynthesize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MicrostripSynthesizeFullScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CoupledMicrostripAnalyze)->Unit(benchmark::kMicrosecond);
