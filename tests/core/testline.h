// A line type without formulas, for exercising the base operations of
// LineModel: `rows` rows and results set by the test.
#pragma once

#include <array>

#include "core/linecal.h"

inline const LineDescriptor& TestLine(int rows) {
    static const std::array<LineDescriptor, 8> lines = [] {
        std::array<LineDescriptor, 8> all{};
        for (int n = 0; n < 8; ++n)
            all[static_cast<std::size_t>(n)].rowLabels.assign(n, "");
        return all;
    }();
    return lines.at(static_cast<std::size_t>(rows));
}

class TestModel : public LineModel {
  public:
    TestModel(WindowServices& window, int rows) : LineModel(window, TestLine(rows)) {}

    void SetResults(double z, double eeff, double alpha) {
        LineResult r;
        r.impedance = z;
        r.eeff = eeff;
        r.loss = alpha;
        KeepResult(r);
    }
};
