// Roughness and the wideband dielectric over every line type: a smooth
// conductor leaves the kernels' numbers untouched to the last bit, roughness
// scales the conductor part only, and the wideband model at its reference
// frequency is the constant dielectric.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "core/calculation.h"
#include "core/linecal.h"
#include "core/lineconstants.h"
#include "core/materialmodels.h"
#include "core/widebanddielectric.h"
#include "core/roughness.h"
#include "core/worksheet.h"
#include "models/linetypes.h"

namespace {

class MaterialOptionsOnEveryLine : public ::testing::TestWithParam<const LineType*> {
  protected:
    // The line's first-start rows, a lossy substrate, copper, 10 GHz.
    LineInputs Inputs() {
        const auto model = CreateLineModel(*GetParam(), sheet);
        model->LoadAndSetup();
        sheet.dielConstant = 4.0;
        sheet.lossTangent = 0.01;
        sheet.conductivity = 5.8e7;
        sheet.frequency = 1e10;
        return model->ReadInputs();
    }
    Worksheet sheet;
};

TEST_P(MaterialOptionsOnEveryLine, RoughnessScalesTheConductorPartAndZeroChangesNothing) {
    const LineType& line = *GetParam();
    LineInputs in = Inputs();
    // The kernel's values as its line constants show them (a conductor
    // below its DC resistance raised to it).
    LineResult kernel = EvaluateChecked(line, AtFrequency(in), in.Row(1));
    ApplyLineConstants(line, AtFrequency(in), in.Row(1), kernel);
    in.roughModel = FindRoughnessModel("groiss");
    const LineResult smooth = LineCalculation(line, in).Values(in.Row(1));
    in.rough = 1e-6; // above copper's skin depth at 10 GHz (0.66 um)
    const double k = RoughnessFactor(in);
    ASSERT_GT(k, 1.5);
    const LineResult rough = LineCalculation(line, in).Values(in.Row(1));
    using Values = std::tuple<const LineValues*, const LineValues*, const LineValues*>;
    std::vector<Values> values{{&rough, &smooth, &kernel}};
    if (line.coupled)
        values.insert(values.end(), {{&rough.even, &smooth.even, &kernel.even},
                                     {&rough.odd, &smooth.odd, &kernel.odd}});
    for (const auto& [r, s, bare] : values) {
        EXPECT_EQ(s->loss, bare->loss); // bit for bit
        EXPECT_EQ(s->impedance, bare->impedance);
        EXPECT_EQ(r->impedance, s->impedance);
        EXPECT_EQ(r->dielectricLoss, s->dielectricLoss);
        EXPECT_NEAR(r->loss - s->loss, (k - 1.0) * s->conductorLoss, 1e-12 * r->loss);
        if (line.lossShown) {
            EXPECT_GT(r->loss, s->loss);
        }
    }
}

TEST_P(MaterialOptionsOnEveryLine, WidebandDielectricAtItsReferenceIsTheConstantOne) {
    const LineType& line = *GetParam();
    sheet.dkModel = FindDielectricModel("djsarkar");
    LineInputs in = Inputs(); // a line without loss reads tand for the model too
    LineInputs fixed = in;
    fixed.dkModel = ConstantDielectric();
    const LineResult constant = LineCalculation(line, fixed).Values(in.Row(1));
    in.fRef = in.f;
    const LineResult atRef = LineCalculation(line, in).Values(in.Row(1));
    EXPECT_NEAR(atRef.impedance, constant.impedance, 1e-11 * constant.impedance);
    EXPECT_NEAR(atRef.loss, constant.loss, 1e-9 * constant.loss);
    // Given at 1 GHz, Er has fallen by 10 GHz: a higher impedance, a lower eeff.
    in.fRef = 1e9;
    const LineResult falling = LineCalculation(line, in).Values(in.Row(1));
    EXPECT_GT(falling.impedance, constant.impedance);
    EXPECT_LT(falling.eeff, constant.eeff);
}

std::vector<const LineType*> AllLines() {
    std::vector<const LineType*> lines;
    for (const LineType& type : LineTypes())
        lines.push_back(&type);
    return lines;
}

INSTANTIATE_TEST_SUITE_P(EveryLine, MaterialOptionsOnEveryLine, ::testing::ValuesIn(AllLines()),
                         [](const auto& info) {
                             std::string name = info.param->cliName;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
