// Every registered line model's Analyze and Synthesize with inputs the fuzzer
// chooses, NaN, infinities, subnormals and huge values included: each call
// ends in finite results or a message, restores the cursor and never hangs.
#include "fuzzvalues.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "core/worksheet.h"
#include "models/linetypes.h"

namespace {

[[noreturn]] void Fail(const char* what, const char* line) {
    FuzzFail("models_fuzz", what, line);
}

double Value(FuzzedDataProvider& fdp) {
    return FuzzValue(fdp);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider fdp(data, size);
    const auto& types = LineTypes();
    const LineType& type = types[fdp.ConsumeIntegralInRange<std::size_t>(0, types.size() - 1)];
    const bool synthesize = fdp.ConsumeBool();

    Worksheet sheet;
    std::unique_ptr<LineModel> model;
    try {
        model = CreateLineModel(type, sheet);
    } catch (const std::exception&) {
        return 0;  // coplanar library not beside the fuzzer
    }
    model->LoadAndSetup();
    for (int row = 1; row <= sheet.rowCount; ++row)
        if (fdp.ConsumeBool()) sheet.SetRowValue(row, Value(fdp));
    if (fdp.ConsumeBool()) sheet.dielConstant = Value(fdp);
    if (fdp.ConsumeBool()) sheet.lossTangent = Value(fdp);
    if (fdp.ConsumeBool()) sheet.conductivity = Value(fdp);
    if (fdp.ConsumeBool()) sheet.frequency = Value(fdp);
    if (fdp.ConsumeBool()) sheet.physicalLength = Value(fdp);
    if (fdp.ConsumeBool()) sheet.electricalLength = Value(fdp);
    if (fdp.ConsumeBool()) sheet.impedance = Value(fdp);
    sheet.modeIndex = fdp.ConsumeIntegralInRange<int>(-1, 2);

    const std::size_t errorsBefore = sheet.errors.size();
    bool escaped = false;
    try {
        synthesize ? model->Synthesize() : model->Analyze();
    } catch (const std::exception& e) {
        escaped = true;
        if (e.what()[0] == '\0') Fail("empty error", type.cliName);
    }
    if (sheet.busyDepth != 0) Fail("busy cursor left on", type.cliName);
    if (!escaped && sheet.errors.size() == errorsBefore) {
        if (!std::isfinite(sheet.impedance) || !std::isfinite(sheet.effDielConst) ||
            (!sheet.lossBlank && !std::isfinite(sheet.lossDecibels)) || !std::isfinite(sheet.phaseConstant) ||
            !std::isfinite(sheet.electricalLength) || !std::isfinite(sheet.physicalLength) ||
            (synthesize && !type.coupled && !std::isfinite(sheet.rowValues[0])))
            Fail("non-finite result shown", type.cliName);
    }
    return 0;
}
