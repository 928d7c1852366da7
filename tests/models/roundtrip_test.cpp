// Every line type that synthesizes: synthesize a target impedance, analyze
// the dimension found, and require the impedance to come back (the round trip
// of KiCad's transmission-line tests, one row per line type).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/worksheet.h"
#include "models/linetypes.h"

namespace {

struct RoundTrip {
    const char* line;
    std::vector<double> rows; // metres, row 1 (the solved one) only a start
    double er;
    double frequency;
    std::vector<double> targets; // ohms
    // Relative: Brent stops within 1e-10 m of the root (the coplanar lines
    // within 1e-6 H, hence their wider bound).
    double tolerance;
};

std::string Name(const ::testing::TestParamInfo<RoundTrip>& info) {
    std::string name = info.param.line;
    for (char& c : name)
        if (c == '-') c = '_';
    return name;
}

class SynthesisRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(SynthesisRoundTrip, AnalysisOfTheSynthesizedLineGivesTheTarget) {
    const RoundTrip& c = GetParam();
    const LineType* type = FindLineType(c.line);
    ASSERT_NE(type, nullptr);
    Worksheet sheet;
    const auto model = CreateLineModel(*type, sheet);
    model->LoadAndSetup();
    for (std::size_t i = 0; i < c.rows.size(); ++i)
        sheet.SetRowValue(static_cast<int>(i) + 1, c.rows[i]);
    sheet.dielConstant = c.er;
    sheet.frequency = c.frequency;
    sheet.conductivity = 5.8e7; // copper
    sheet.lossTangent = 1e-4;
    for (double target : c.targets) {
        sheet.impedance = target;
        model->Synthesize();
        ASSERT_TRUE(sheet.errors.empty()) << target << ": " << sheet.errors.front();
        const double found = sheet.rowValues[0];
        EXPECT_NEAR(sheet.impedance, target, c.tolerance * target);
        EXPECT_NEAR(sheet.physicalLength, sheet.electricalLength / sheet.phaseConstant, 1e-15);
        const std::vector<int>& scaled = type->synthesis->scaledRows;
        for (std::size_t i = 1; i < c.rows.size(); ++i)
            if (std::find(scaled.begin(), scaled.end(), int(i) + 1) == scaled.end())
                EXPECT_EQ(sheet.rowValues[i], c.rows[i]);
            else // held in its ratio to row 1
                EXPECT_NEAR(sheet.rowValues[i] / found, c.rows[i] / c.rows[0], 1e-12);

        const double loss = model->Loss();
        sheet.impedance = 0.0; // the analysis must find it again
        model->Analyze();
        ASSERT_TRUE(sheet.errors.empty()) << target << ": " << sheet.errors.front();
        EXPECT_EQ(sheet.rowValues[0], found);
        EXPECT_NEAR(sheet.impedance, target, c.tolerance * target) << "at " << found << " m";
        EXPECT_EQ(model->Loss(), loss);
    }
    EXPECT_EQ(sheet.busyDepth, 0);
}

// Substrates the worked examples use: alumina for microstrip, FR-4 for
// stripline, the first-start GaAs for the coplanar lines, PTFE in a 0.5 mm
// coaxial line, Er 6 under a slot.
INSTANTIATE_TEST_SUITE_P(
    EveryLineThatSynthesizes, SynthesisRoundTrip,
    ::testing::Values(
        RoundTrip{"microstrip", {0.6e-3, 0.635e-3, 5e-6}, 9.8, 10e9, {20, 50, 75, 100}, 1e-6},
        RoundTrip{"stripline", {1e-3, 1.6e-3, 35e-6}, 4.4, 1e9, {20, 50, 75, 100}, 1e-6},
        RoundTrip{"cpw", {50e-6, 10e-6, 100e-6, 1e-6}, 12.9, 10e9, {20, 35, 50, 75, 90}, 1e-5},
        RoundTrip{"cpw-ground", {50e-6, 10e-6, 100e-6, 1e-6}, 12.9, 10e9, {20, 35, 50, 75}, 1e-5},
        RoundTrip{"coax", {0.1e-3, 0.5e-3}, 2.1, 1e9, {20, 50, 75, 100}, 1e-6},
        RoundTrip{"slotline", {0.2e-3, 0.635e-3}, 6.0, 1e9, {62, 70, 79}, 1e-6},
        // WR-90 in air at 10 GHz (b/a held), a PTFE-insulated pair, an
        // offset strip on FR-4.
        RoundTrip{"waveguide", {22.86e-3, 10.16e-3}, 1.0, 10e9, {400, 498.97, 700}, 1e-6},
        RoundTrip{"twisted-pair", {1e-3, 0.5e-3, 40, 1.0}, 2.1, 1e8, {50, 100, 150}, 1e-6},
        RoundTrip{"offset-stripline", {0.2e-3, 0.2e-3, 0.4e-3, 35e-6, 0.0}, 4.4, 1e9,
                  {30, 50, 75}, 1e-6}),
    Name);

TEST(SynthesisRoundTrip, EveryLineThatSynthesizesHasARow) {
    std::vector<std::string> synthesizing;
    for (const LineType& type : LineTypes())
        if (type.synthesis) synthesizing.push_back(type.cliName);
    EXPECT_EQ(synthesizing,
              (std::vector<std::string>{"microstrip", "stripline", "cpw", "cpw-ground", "coax",
                                        "slotline", "waveguide", "twisted-pair",
                                        "offset-stripline"}));
}

} // namespace
