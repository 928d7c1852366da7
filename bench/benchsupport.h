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
    // An analysis leaves its inputs as they were: they are set once, and the
    // time is the Analyze's alone.  A synthesis overwrites the target with
    // the impedance it found: its inputs are set again before each run.
    setInputs(sheet);
    for (auto _ : state) {
        if (operation == Operation::Analyze) {
            model->Analyze();
        } else {
            setInputs(sheet);
            model->Synthesize();
        }
        benchmark::DoNotOptimize(sheet.impedance);
        if (!sheet.errors.empty()) {
            state.SkipWithError(sheet.errors.front().c_str());
            break;
        }
    }
}
