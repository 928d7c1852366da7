#include "benchsupport.h"

namespace {

// FR-4 board: B = 1.6 mm, 35 um copper, Er = 4.4, 1 GHz.
void StriplineInputs(Worksheet& sheet) {
    sheet.frequency = 1e9;
    sheet.dielConstant = 4.4;
    sheet.lossTangent = 0.02;
    sheet.conductivity = 5.8e7;
    sheet.SetRowValue(1, 0.5e-3);
    sheet.SetRowValue(2, 1.6e-3);
    sheet.SetRowValue(3, 35e-6);
    sheet.impedance = 50.0;
}

void CoupledStriplineInputs(Worksheet& sheet, int mode) {
    StriplineInputs(sheet);
    sheet.SetRowValue(2, 0.2e-3);
    sheet.SetRowValue(3, 1.6e-3);
    sheet.SetRowValue(4, 35e-6);
    sheet.modeIndex = mode;
}

void BM_StriplineAnalyze(benchmark::State& state) {
    RunLineBenchmark(state, "stripline", Operation::Analyze, StriplineInputs);
}
void BM_StriplineSynthesize(benchmark::State& state) {
    RunLineBenchmark(state, "stripline", Operation::Synthesize, StriplineInputs);
}
// 0.5 ohms lies at W = 89 B: the scan runs through 890 of its 1000 steps.
void BM_StriplineSynthesizeLongScan(benchmark::State& state) {
    RunLineBenchmark(state, "stripline", Operation::Synthesize, [](Worksheet& sheet) {
        StriplineInputs(sheet);
        sheet.impedance = 0.5;
    });
}
void BM_CoupledStriplineAnalyzeEven(benchmark::State& state) {
    RunLineBenchmark(state, "coupled-stripline", Operation::Analyze,
                     [](Worksheet& sheet) { CoupledStriplineInputs(sheet, 0); });
}
void BM_CoupledStriplineAnalyzeOdd(benchmark::State& state) {
    RunLineBenchmark(state, "coupled-stripline", Operation::Analyze,
                     [](Worksheet& sheet) { CoupledStriplineInputs(sheet, 1); });
}

}  // namespace

BENCHMARK(BM_StriplineAnalyze);
BENCHMARK(BM_StriplineSynthesize)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StriplineSynthesizeLongScan)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CoupledStriplineAnalyzeEven);
BENCHMARK(BM_CoupledStriplineAnalyzeOdd);
