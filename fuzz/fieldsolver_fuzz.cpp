// The field solver's input path with inputs the fuzzer chooses (NaN,
// infinities, subnormals and huge values included): the line's limits, the
// material models at frequency, its cross-section builder, the solver's
// checks and mesh budget, and the closed form beside it. Every cross-section
// is refused with a message or accepted; an accepted one's meshes are built
// (not solved: a solve takes a tenth of a second) and must be finite, strictly
// increasing and within the budget.
#include "fuzzvalues.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>

#include "fieldcheck/closedform.h"
#include "fieldcheck/fieldcomparison.h"
#include "fieldsolver/crosssection.h"
#include "models/linetypes.h"

namespace {

[[noreturn]] void Fail(const char* what, const char* line) {
    FuzzFail("fieldsolver_fuzz", what, line);
}

double Value(FuzzedDataProvider& fdp) {
    return FuzzValue(fdp);
}

// The meshes of an accepted cross-section: finite, strictly increasing
// nodes, as many as counted, within the budget. A failure prints the rows.
void CheckMeshes(const CrossSection& section, const LineInputs& in, const char* line) {
    double cells = 0.0;
    for (fieldsolver::Mode mode : fieldsolver::ModesOf(section)) {
        const fieldsolver::Problem p = fieldsolver::BuildProblem(section, mode, false);
        double modeCells = 1.0;
        for (const fieldsolver::AxisSpec* axis : {&p.xAxis, &p.yAxis}) {
            const std::vector<double> nodes = fieldsolver::GradedAxis(*axis, 1);
            if (nodes.size() < 2 ||
                std::adjacent_find(nodes.begin(), nodes.end(), std::greater_equal<>()) !=
                    nodes.end() ||
                !std::all_of(nodes.begin(), nodes.end(), [](double v) { return std::isfinite(v); }))
            {
                for (int row = 1; row <= 4; ++row)
                    std::fprintf(stderr, "row %d = %.17g\n", row, in.Row(row));
                Fail("mesh nodes not finite and strictly increasing", line);
            }
            if (static_cast<double>(nodes.size() - 1) != fieldsolver::AxisCellCount(*axis, 1))
                Fail("mesh not as counted", line);
            modeCells *= static_cast<double>(nodes.size() - 1);
        }
        cells += modeCells;
    }
    if (cells > static_cast<double>(fieldsolver::kMaxMeshCells)) Fail("mesh over budget", line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider fdp(data, size);
    const auto& types = LineTypes();
    const LineType& line = types[fdp.ConsumeIntegralInRange<std::size_t>(0, types.size() - 1)];

    LineInputs in;
    for (int row = 0; row < line.RowCount(); ++row)
        in.rows[static_cast<std::size_t>(row)] =
            fdp.ConsumeBool() ? Value(fdp) : line.rowDefaults[static_cast<std::size_t>(row)];
    in.er = fdp.ConsumeBool() ? Value(fdp) : 4.4;
    in.tand = fdp.ConsumeBool() ? Value(fdp) : 0.02;
    in.rho = fdp.ConsumeBool() ? Value(fdp) : 1.0;
    in.f = fdp.ConsumeBool() ? Value(fdp) : 1e9;
    if (fdp.ConsumeBool()) {
        in.dkModel = DielectricModel::DjordjevicSarkar;
        in.fRef = Value(fdp);
    }
    in.mode = fdp.ConsumeIntegralInRange<int>(-1, 1);

    fieldcheck::SolveOptions stopBeforeMeshing;
    stopBeforeMeshing.progress = [](double) { return false; };
    fieldcheck::FieldComparison c;
    try {
        c = fieldcheck::CompareWithFieldSolution(line, in, stopBeforeMeshing);
    } catch (const std::exception& e) {
        if (e.what()[0] == '\0') Fail("empty error", line.cliName);
        return 0; // the line's own limits
    }
    switch (c.solve.status) {
    case fieldcheck::SolveStatus::Cancelled:
        CheckMeshes(c.section, in, line.cliName);
        break;
    case fieldcheck::SolveStatus::Ok:
        if (!c.solve.exact) Fail("solved without a mesh", line.cliName);
        break;
    default:
        if (c.solve.message.empty()) Fail("refused without a message", line.cliName);
    }
    const fieldcheck::ClosedFormAnswer closed =
        fieldcheck::ClosedForm(line, fieldcheck::QuasiStatic(c.inputs));
    if (closed.error.empty() && !std::isfinite(closed.result.impedance))
        Fail("non-finite closed form", line.cliName);
    return 0;
}
