#include <gtest/gtest.h>

#include <limits>

#include "core/worksheet.h"
#include "numeric/fpfault.h"
#include "testline.h"

TEST(LineModelConstruction, RowCountMustBeOneToSix) {
    Worksheet sheet;
    EXPECT_THROW(TestModel(sheet, 0), TP_Exceptions);
    EXPECT_THROW(TestModel(sheet, 7), TP_Exceptions);
    EXPECT_NO_THROW(TestModel(sheet, 1));
    EXPECT_NO_THROW(TestModel(sheet, 6));
}

TEST(LineModelConstruction, PlaceholderLabelsAndEmptyResults) {
    Worksheet sheet;
    TestModel model(sheet, 3);
    EXPECT_EQ(model.Labels(), (std::vector<std::string>{"Label 0", "Label 1", "Label 2"}));
    EXPECT_EQ(model.Title(), "");
    EXPECT_EQ(model.Impedance(), 0.0);
    EXPECT_EQ(model.PhaseConstant(), 0.0);
    model.SetParameterLabel("Width (W)", 1);
    model.SetParameterLabel("Ignored", 4);
    EXPECT_EQ(model.Labels()[0], "Width (W)");
    EXPECT_EQ(model.Labels().size(), 3u);
    EXPECT_EQ(sheet.rowLabels[0], "Width (W)");
    EXPECT_EQ(sheet.rowLabels[3], "Parameter 4 (P)");
}

TEST(LineModelRows, OutOfRangeRowsNeverFail) {
    Worksheet sheet;
    TestModel model(sheet, 3);
    EXPECT_EQ(model.GetParameter(0), 123456789.0);
    EXPECT_EQ(model.GetParameter(7), 123456789.0);
    EXPECT_EQ(model.GetParameterUnit(7), 0);
    model.SetParameter(1.0, 7);
    model.SetParameterUnit(0, 3);
    model.SetParameter(0.25, 6);
    EXPECT_EQ(model.GetParameter(6), 0.25);
    model.SetParameterUnit(2, 9); // out of the table: unit 0
    EXPECT_EQ(model.GetParameterUnit(2), 0);
    model.SetPhysicalLengthUnit(-1);
    EXPECT_EQ(model.GetPhysicalLengthUnit(), 0);
}

TEST(LineModelResults, PhaseConstantQuarterWaveAndLossConversion) {
    Worksheet sheet;
    TestModel model(sheet, 3);
    sheet.frequency = 1e9;
    model.SetResults(50.0, 4.0, 1.0);
    model.ShowPhaseConstant();
    // 2 * 1e9 * 180 * 2 / 2.997925e8
    EXPECT_NEAR(model.PhaseConstant(), 2401.661149, 1e-6);
    EXPECT_EQ(sheet.phaseConstant, model.PhaseConstant());
    model.ShowLoss();
    EXPECT_DOUBLE_EQ(sheet.lossDecibels, 8.685889638);
    model.HideLoss();
    EXPECT_TRUE(sheet.lossBlank);
    model.ShowLoss();
    EXPECT_FALSE(sheet.lossBlank);

    sheet.physicalLength = 0.01;
    model.ShowElectricalLength();
    EXPECT_NEAR(sheet.electricalLength, 24.01661149, 1e-8);
    sheet.electricalLength = 90.0;
    model.ShowPhysicalLength();
    EXPECT_NEAR(sheet.physicalLength, 0.0374741, 1e-7);
}

TEST(LineModelResults, RelativeResistivityIsAgainstGold) {
    Worksheet sheet;
    TestModel model(sheet, 1);
    sheet.conductivity = 4.1e7;
    EXPECT_NEAR(model.GetRelativeResistivity(), 0.99960, 1e-5);
    sheet.conductivity = 1e5;
    EXPECT_NEAR(model.GetRelativeResistivity(), 409.836, 1e-3);
    sheet.conductivity = 0.0;
    EXPECT_THROW(model.GetRelativeResistivity(), FloatingPointFault);
}

TEST(LineModelWarnings, NumberedLinesAndVisibility) {
    Worksheet sheet;
    TestModel model(sheet, 3);
    model.ClearWarnings();
    model.AddWarning("a");
    model.AddWarning("b");
    model.AddWarning("Er Recommended <= 16");
    EXPECT_EQ(sheet.warnings.back(), "Warning #3 -> Er Recommended <= 16");
    EXPECT_EQ(sheet.warnings.front(), "Warning #1 -> a");
    model.ShowWarnings();
    EXPECT_TRUE(sheet.warningsVisible);
    model.ClearWarnings();
    model.ShowWarnings();
    EXPECT_FALSE(sheet.warningsVisible);
    model.AddWarning("again");
    EXPECT_EQ(sheet.warnings.front(), "Warning #1 -> again");
}

TEST(LineModelMode, CoupledModeIsReadFromTheWindow) {
    Worksheet sheet;
    TestModel model(sheet, 4);
    model.SetCoupledMode(0);
    EXPECT_EQ(model.GetCoupledMode(), 0);
    sheet.modeIndex = 1;
    EXPECT_EQ(model.GetCoupledMode(), 1);
}

TEST(LineModelResults, NonFiniteValuesNeverReachTheWindow) {
    Worksheet sheet;
    TestModel model(sheet, 1);
    model.SetResults(50.0, 4.0, 0.0);
    sheet.frequency = 1e9;
    model.ShowPhaseConstant();
    sheet.physicalLength = std::numeric_limits<double>::infinity();
    EXPECT_THROW(model.ShowElectricalLength(), FloatingPointFault);
    sheet.electricalLength = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(model.ShowPhysicalLength(), FloatingPointFault);
    model.SetResults(50.0, std::numeric_limits<double>::infinity(), 0.0);
    EXPECT_THROW(model.ShowEffectiveDielectricConstant(), FloatingPointFault);
    EXPECT_EQ(sheet.effDielConst, 10.0); // the window keeps what it showed
}

// A scan that brackets a jump of the impedance rather than a root converges
// on the jump; what it finds there misses the target, and is no solution.
TEST(LineModelSynthesis, AJumpBracketedByTheScanIsNoSolution) {
    static const LineDescriptor jumpingLine = [] {
        LineDescriptor line{};
        line.rowLabels = {"Width", "Height"};
        line.synthesis = SynthesisRule{2, 0.01, 0.99, 1e-12, false, 100, "above", "below", {}};
        line.evaluate = [](const InputsAtFrequency&, double x) {
            LineResult r;
            r.impedance = x < 0.5e-3 ? 40.0 : 60.0;
            r.eeff = 1.0;
            return r;
        };
        line.check = [](const InputsAtFrequency&, std::vector<std::string>&) {};
        return line;
    }();
    Worksheet sheet;
    LineModel model(sheet, jumpingLine);
    sheet.SetRowValue(2, 1e-3);
    sheet.impedance = 50.0;
    model.Synthesize();
    ASSERT_EQ(sheet.errors.size(), 1u);
    EXPECT_TRUE(sheet.errors[0] == "above" || sheet.errors[0] == "below") << sheet.errors[0];
}
