// A line model on a Worksheet, set up as on a first start, then given the
// inputs many model tests share: 1 GHz, a gold conductor (Rho = 1), air,
// no dielectric loss.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/worksheet.h"

// Conductivity of a conductor whose resistivity equals gold's: Rho = 1.
inline constexpr double kGoldConductivity = 1.0 / 2.44e-8;

template <class Model>
struct ModelFixture : ::testing::Test {
    ModelFixture() {
        model.LoadAndSetup();
        sheet.frequency = 1e9;
        sheet.conductivity = kGoldConductivity;
        sheet.dielConstant = 1.0;
        sheet.lossTangent = 0.0;
    }

    // Row values in metres, row 1 first.
    template <class... Metres>
    void Rows(Metres... values) {
        int row = 1;
        (sheet.SetRowValue(row++, values), ...);
    }

    // Analyze and return its error text, or "" when it showed none.
    std::string AnalyzeError() {
        const std::size_t before = sheet.errors.size();
        model.Analyze();
        EXPECT_EQ(sheet.busyDepth, 0);
        return sheet.errors.size() == before ? "" : sheet.errors.back();
    }

    Worksheet sheet;
    Model model{sheet};
};
