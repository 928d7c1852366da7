// Analyze of the rectangular waveguide, the twisted pair and the offset and
// broadside stripline family, each at a typical line.
#include <initializer_list>

#include "benchsupport.h"

namespace {

// Copper, the rows in order from row 1.
void SetLine(Worksheet& sheet, double f, double er, double tand, std::initializer_list<double> rows) {
    sheet.frequency = f;
    sheet.dielConstant = er;
    sheet.lossTangent = tand;
    sheet.conductivity = 5.8e7;
    int row = 1;
    for (double value : rows)
        sheet.SetRowValue(row++, value);
    sheet.impedance = 50.0;
}

void BM_WaveguideAnalyze(benchmark::State& state) {
    // WR-90, air-filled, 10 GHz.
    RunLineBenchmark(state, "waveguide", Operation::Analyze, [](Worksheet& sheet) {
        SetLine(sheet, 10e9, 1.0, 0.0, {22.86e-3, 10.16e-3});
    });
}
void BM_TwistedPairAnalyze(benchmark::State& state) {
    // 0.5 mm wires 0.8 mm apart in PTFE-like insulation, 40 twists per metre.
    RunLineBenchmark(state, "twisted-pair", Operation::Analyze, [](Worksheet& sheet) {
        SetLine(sheet, 100e6, 2.1, 2e-4, {0.8e-3, 0.5e-3, 40.0, 1.0});
    });
}
void BM_OffsetStriplineAnalyze(benchmark::State& state) {
    // FR-4, 1 GHz: W 0.3 mm, 0.2 mm below and 0.4 mm above, 35 um copper.
    RunLineBenchmark(state, "offset-stripline", Operation::Analyze, [](Worksheet& sheet) {
        SetLine(sheet, 1e9, 4.4, 0.02, {0.3e-3, 0.2e-3, 0.4e-3, 35e-6, 0.0});
    });
}
void BM_OffsetCoupledStriplineAnalyze(benchmark::State& state) {
    RunLineBenchmark(state, "offset-coupled-stripline", Operation::Analyze, [](Worksheet& sheet) {
        SetLine(sheet, 1e9, 4.4, 0.02, {0.2e-3, 0.2e-3, 0.2e-3, 0.4e-3, 35e-6, 0.0});
    });
}
void BM_BroadsideCoupledStriplineAnalyze(benchmark::State& state) {
    RunLineBenchmark(state, "broadside-coupled-stripline", Operation::Analyze, [](Worksheet& sheet) {
        SetLine(sheet, 1e9, 4.4, 0.02, {0.3e-3, 0.2e-3, 1.0e-3, 35e-6});
    });
}

} // namespace

BENCHMARK(BM_WaveguideAnalyze);
BENCHMARK(BM_TwistedPairAnalyze);
BENCHMARK(BM_OffsetStriplineAnalyze);
BENCHMARK(BM_OffsetCoupledStriplineAnalyze);
BENCHMARK(BM_BroadsideCoupledStriplineAnalyze);
