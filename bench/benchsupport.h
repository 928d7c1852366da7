// Runs a line model's Analyze or Synthesize through a Worksheet, with the
// inputs set once, as the benchmarks of every line family do.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <stdexcept>

#include "core/worksheet.h"
#include "models/linetypes.h"

enum class Operation { Analyze, Synthesize };

inline void RunLineBenchmark(benchmark::State& state, const char* line, Operation operation,
                             const std::function<void(Worksheet&)>& setInputs) {
    Worksheet sheet;
    const LineType* type = FindLineType(line);
    if (type == nullptr) throw std::logic_error("line type not registered");
    auto model = CreateLineModel(*type, sheet);
    model->LoadAndSetup();
    for (auto _ : state) {
        setInputs(sheet);  // a synthesis overwrites the target with the impedance it found
        if (operation == Operation::Analyze)
            model->Analyze();
        else
            model->Synthesize();
        benchmark::DoNotOptimize(sheet.impedance);
        if (!sheet.errors.empty()) {
            state.SkipWithError(sheet.errors.front().c_str());
            break;
        }
    }
}
