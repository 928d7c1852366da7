#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "core/worksheet.h"
#include "models/linetypes.h"
#include "models/slotlinecalc.h"
#include "numeric/fpfault.h"

namespace {

constexpr double kMm = 1e-3;
// A frequency whose free-space wavelength is exactly 1 m, so W/lambda0 = W.
constexpr double kOneMetreWavelength = 299792500.0;

const char* const kAboveTargetText =
    "No solution for these parameters!\r\rPlease try increase H,decrease Zo,or decrease Er";
const char* const kBelowTargetText =
    "No solution for these parameters!\r\rPlease try decrease H,increase Zo,or increase Er";

struct Slotline : ::testing::Test {
    Slotline() {
        model.LoadAndSetup();
        sheet.frequency = 10e9;
        sheet.dielConstant = 2.22;
        sheet.SetRowValue(1, 0.2 * kMm);
        sheet.SetRowValue(2, 0.635 * kMm);
    }
    std::string OnlyError() const {
        return sheet.errors.size() == 1 ? sheet.errors[0] : "<none or many>";
    }

    Worksheet sheet;
    SlotlineModel model{sheet};
};

struct KernelCase {
    double er, gapMm, heightMm;
    double z0, effDielConst;
};

} // namespace

TEST_F(Slotline, SetupShowsRowsTitleAndDefaults) {
    Worksheet fresh;
    SlotlineModel m(fresh);
    m.LoadAndSetup();
    EXPECT_EQ(fresh.caption, "TAVREL 2003 - Slotline");
    EXPECT_EQ(fresh.rowCount, 2);
    EXPECT_EQ(fresh.rowLabels[0], "Gap (G)");
    EXPECT_EQ(fresh.rowLabels[1], "Height (H)");
    EXPECT_EQ(fresh.rowValues[0], 0.00001);
    EXPECT_EQ(fresh.rowValues[1], 0.00003);
    EXPECT_EQ(fresh.modeIndex, -1);
}

// One geometry per fit at f = 10 GHz: the first five rows are the worked
// values of the low-narrow, middle-narrow, middle-wide, high-narrow and
// high-wide fits (H = 0.635 mm, h = 0.021181; the middle-wide impedance with
// Janaswamy and Schaubert's exponent constant 0.132); the last three are the
// reference values of the Janaswamy-Schaubert wide-slot impedance (low band,
// W/lambda0 > 0.075).
TEST_F(Slotline, KernelMatchesReferenceValuesOfEveryFit) {
    const KernelCase cases[] = {
        {2.22, 0.2, 0.635, 107.874, 1.36766}, {6.0, 0.2, 0.635, 89.164, 2.55443},
        {6.0, 2.5, 0.635, 241.715, 1.69530},  {10.2, 0.1, 0.635, 62.922, 4.48035},
        {10.2, 0.3, 0.635, 92.490, 4.02558},  {2.22, 3.0, 0.635, 211.191, 1.13465},
        {2.22, 5.0, 1.575, 271.073, 1.25954}, {3.0, 4.0, 0.8, 254.361, 1.25801},
    };
    for (const KernelCase& c : cases) {
        SCOPED_TRACE("Er " + std::to_string(c.er) + ", W " + std::to_string(c.gapMm) + " mm");
        const SlotlineResult r = SlotlineKernel(10e9, c.gapMm * kMm, c.heightMm * kMm, c.er);
        EXPECT_NEAR(r.impedance, c.z0, 5e-4);
        EXPECT_NEAR(r.effDielConst, c.effDielConst, 5e-6);
        EXPECT_EQ(r.cutoffThickness, 0.25 / std::sqrt(c.er - 1.0));
    }
    // p = lambda_s / lambda0 of the published table, 0.85509 for the low band.
    EXPECT_NEAR(1.0 / std::sqrt(SlotlineKernel(10e9, 0.2 * kMm, 0.635 * kMm, 2.22).effDielConst),
                0.85509, 5e-6);
}

TEST_F(Slotline, AnalyzeShowsResultsAndBlanksTheLoss) {
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_NEAR(sheet.impedance, 107.874, 5e-4);
    EXPECT_NEAR(sheet.effDielConst, 1.36766, 5e-6);
    EXPECT_TRUE(sheet.lossBlank);
    EXPECT_NEAR(sheet.phaseConstant, 360.0 * 10e9 * std::sqrt(sheet.effDielConst) / 2.997925e8,
                1e-9);
    EXPECT_NEAR(sheet.electricalLength, 0.01 * sheet.phaseConstant, 1e-9);
    EXPECT_TRUE(sheet.warnings.empty());
    EXPECT_EQ(sheet.busyDepth, 0);
}

// The wide-slot fit continues the narrow one at W/lambda0 = 0.075 (Er = 2.22,
// H/lambda0 = 0.006: 175.5 ohms narrow, 175.1 ohms wide).
TEST_F(Slotline, LowBandWideSlotJoinsTheNarrowFit) {
    const double narrow = SlotlineKernel(kOneMetreWavelength, 0.075, 0.006, 2.22).impedance;
    const double wide =
        SlotlineKernel(kOneMetreWavelength, std::nextafter(0.075, 1.0), 0.006, 2.22).impedance;
    EXPECT_NEAR(narrow, 175.52, 0.005);
    EXPECT_NEAR(wide, 175.07, 0.005);
}

// Er = 3.8 belongs to the low band, 3.80001 to the middle band and 9.7 to the
// high band: each band edge shows as a jump between neighbouring Er, while
// inside a band the values move smoothly.
TEST_F(Slotline, BandEdgesInDielectricConstant) {
    auto z = [](double er, double gapMm) {
        return SlotlineKernel(10e9, gapMm * kMm, 0.635 * kMm, er).impedance;
    };
    EXPECT_NEAR(z(3.8, 0.2), z(3.79999, 0.2), 1e-3);
    EXPECT_NEAR(z(3.80001, 0.2), z(3.80002, 0.2), 1e-3);
    EXPECT_GT(z(3.8, 0.2) - z(3.80001, 0.2), 6.0); // 101.098 low, 94.459 middle
    EXPECT_NEAR(z(9.7, 0.1), z(9.70001, 0.1), 1e-3);
    EXPECT_GT(z(9.69999, 0.1) - z(9.7, 0.1), 4.0); // 67.892 middle, 63.796 high
    EXPECT_NEAR(z(9.7, 0.1), 63.7960, 5e-4);
}

TEST_F(Slotline, BandEdgesInSlotWidth) {
    // High band: split at W/H = 0.2, which is still narrow (70.619 ohms against
    // 72.870 just above).  H is a power of two so that W/H is exactly 0.2.
    const double height = std::ldexp(1.0, -10);
    const double atSplit = SlotlineKernel(10e9, 0.2 * height, height, 10.2).impedance;
    const double below = SlotlineKernel(10e9, 0.2 * height * (1 - 1e-9), height, 10.2).impedance;
    const double above = SlotlineKernel(10e9, 0.2 * height * (1 + 1e-9), height, 10.2).impedance;
    EXPECT_NEAR(atSplit, below, 1e-6);
    EXPECT_NEAR(atSplit, 70.6188, 5e-4);
    EXPECT_NEAR(above, 72.8695, 5e-4);
    // Middle band: split at W/lambda0 = 0.075, which is still narrow; the
    // fits' own seam, the wide slot 10 % higher.
    const double narrow = SlotlineKernel(kOneMetreWavelength, 0.075, 0.01, 6.0).impedance;
    const double wide =
        SlotlineKernel(kOneMetreWavelength, std::nextafter(0.075, 1.0), 0.01, 6.0).impedance;
    EXPECT_NEAR(narrow, 198.593, 5e-3);
    EXPECT_NEAR(wide, 218.787, 5e-3);
}

// Er = 6, G = 1 mm, H = 0.635 mm: the slot becomes wide (W/lambda0 = 0.075)
// between 22.484 and 22.485 GHz.  The impedance steps up by the fits' own
// 5 to 17 % there and, on either side, rises with the slot's electrical width.
TEST_F(Slotline, MiddleBandSeamInFrequency) {
    auto z = [](double f) { return SlotlineKernel(f, 1e-3, 0.635e-3, 6.0).impedance; };
    const double narrow = z(22.484e9), wide = z(22.485e9);
    EXPECT_NEAR(narrow, 185.41, 0.01);
    EXPECT_GT(wide / narrow, 1.05);
    EXPECT_LT(wide / narrow, 1.17);
    for (double f = 20e9; f < 22.484e9; f += 0.1e9)
        EXPECT_LT(z(f), z(f + 0.1e9)) << f;
    for (double f = 22.485e9; f < 25e9; f += 0.1e9)
        EXPECT_LT(z(f), z(f + 0.1e9)) << f;
}

TEST_F(Slotline, RangeWarningsByBand) {
    // Er = 2.1, u = 0.3: (2.1 - 2.06) + 0.85 * 0.09 > 0, so only a warning.
    sheet.dielConstant = 2.1;
    sheet.SetRowValue(1, 0.3 * 0.635 * kMm);
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    ASSERT_EQ(sheet.warnings.size(), 1u);
    EXPECT_EQ(sheet.warnings[0], "Warning #1 -> Er must > 2.22");
    EXPECT_TRUE(sheet.warningsVisible);

    // Er = 12: H/lambda0 = 0.009 is below the high band's 0.01 and
    // W/lambda0 = 0.006 below its 0.02.
    sheet.dielConstant = 12.0;
    sheet.SetRowValue(2, 0.009 * 0.02997925);
    sheet.SetRowValue(1, 0.006 * 0.02997925);
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_EQ(sheet.warnings,
              (std::vector<std::string>{"Warning #1 -> W/Lambda_0 must be > .02",
                                        "Warning #2 -> H/Lambda_0 must be > .01"}));

    // Middle band, H/lambda0 = 0.1 > 0.06; high band, H/lambda0 = 0.055 above
    // the cutoff thickness 0.25 / sqrt(24) = 0.051 with Er = 25 > 20.
    sheet.dielConstant = 6.0;
    sheet.SetRowValue(2, 0.1 * 0.02997925);
    sheet.SetRowValue(1, 0.01 * 0.02997925);
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_EQ(sheet.warnings, (std::vector<std::string>{"Warning #1 -> H/Lambda_0 must be < .06"}));
    sheet.dielConstant = 25.0;
    sheet.SetRowValue(2, 0.055 * 0.02997925);
    sheet.SetRowValue(1, 0.05 * 0.02997925);
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_EQ(sheet.warnings,
              (std::vector<std::string>{"Warning #1 -> Er must < 20",
                                        "Warning #2 -> H/Lambda_0 must be < Cutoff Thickness"}));
}

TEST_F(Slotline, NarrowSlotBelowEr206IsADomainError) {
    // Er = 2.0, u = 0.2: (2.0 - 2.06) + 0.85 * 0.04 = -0.026.
    model.Analyze();
    const double z = sheet.impedance;
    sheet.dielConstant = 2.0;
    sheet.SetRowValue(1, 0.2 * 0.635 * kMm);
    model.Analyze();
    EXPECT_EQ(OnlyError(), "Increase Er to at least 2.06");
    EXPECT_EQ(sheet.impedance, z); // no results shown
    // The warning added before the error is never shown.
    ASSERT_EQ(sheet.warnings.size(), 1u);
    EXPECT_FALSE(sheet.warningsVisible);
    try {
        SlotlineKernel(10e9, 0.127 * kMm, 0.635 * kMm, 2.0);
        ADD_FAILURE() << "no domain error";
    } catch (const TP_Exceptions& e) {
        EXPECT_EQ(e.kind(), TP_Exceptions::Kind::Domain);
    }
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Slotline, InputChecksInTheirOrder) {
    auto kernelText = [](double f, double gap, double height, double er) -> std::string {
        try {
            SlotlineKernel(f, gap, height, er);
        } catch (const TP_Exceptions& e) {
            return e.text();
        }
        return "<no error>";
    };
    EXPECT_EQ(kernelText(10e9, 0.0, 1e-3, 6.0), "W/H must > 0");
    EXPECT_EQ(kernelText(-10e9, -1e-3, 1e-3, 6.0), "W/H must > 0"); // W/H first
    EXPECT_EQ(kernelText(-10e9, 1e-3, 1e-3, 6.0), "Freq must > 0");
    EXPECT_EQ(kernelText(10e9, -1e-3, -1e-3, 6.0), "H must > 0");
    // W/lambda0 underflows to zero while W/H stays positive.
    EXPECT_EQ(kernelText(1.0, 4.9e-324, 1e-3, 6.0), "W must > 0");
    // Exactly zero height or frequency: the same texts, not a division by zero.
    EXPECT_EQ(kernelText(10e9, 1e-3, 0.0, 6.0), "H must > 0");
    EXPECT_EQ(kernelText(0.0, 1e-3, 1e-3, 6.0), "Freq must > 0");

    sheet.SetRowValue(2, 0.0);
    model.Analyze();
    EXPECT_EQ(OnlyError(), "H must > 0");
    sheet.errors.clear();
    sheet.SetRowValue(2, 0.635 * kMm);
    sheet.frequency = 0.0;
    model.Analyze();
    EXPECT_EQ(OnlyError(), "Freq must > 0");
    sheet.errors.clear();
    sheet.frequency = 10e9;
    sheet.SetRowValue(1, -0.2 * kMm);
    model.Analyze();
    EXPECT_EQ(OnlyError(), "W/H must > 0");
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Slotline, DielectricConstantAtOrBelowOneFailsFirst) {
    sheet.dielConstant = 0.5;         // the cutoff thickness takes sqrt(Er - 1)
    sheet.SetRowValue(1, -0.2 * kMm); // would be "W/H must > 0" after it
    model.Analyze();
    ASSERT_EQ(sheet.errors.size(), 1u);
    EXPECT_EQ(sheet.errors[0].rfind("Math Library Error\r\rFunction:  sqrt( )", 0), 0u);
    sheet.SetRowValue(1, 0.2 * kMm);
    sheet.dielConstant = 1.0; // 0.25 / 0: a floating-point fault for the window
    EXPECT_THROW(model.Analyze(), FloatingPointFault);
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Slotline, FitsOutsideTheirDomainReportMathErrors) {
    // Low band, wide slot, H/lambda0 = 0.002: the radicand of the
    // Janaswamy-Schaubert impedance is negative.
    sheet.SetRowValue(2, 0.06 * kMm);
    sheet.SetRowValue(1, 3.0 * kMm);
    model.Analyze();
    ASSERT_EQ(sheet.errors.size(), 1u);
    EXPECT_NE(sheet.errors[0].find("sqrt( )"), std::string::npos);
    // Middle band, wide slot: ln(u - 2.012 (1 - 0.146 Er)) needs u > 0.837 at Er = 4.
    sheet.dielConstant = 4.0;
    sheet.SetRowValue(2, 5.0 * kMm);
    model.Analyze();
    ASSERT_EQ(sheet.errors.size(), 2u);
    EXPECT_EQ(sheet.errors[1].rfind("Math Library Error\r\rFunction:  log( )", 0), 0u);
}

// The round trip of every line is in roundtrip_test.cpp.
TEST_F(Slotline, SynthesisFindsTheWorkedGap) {
    // Er = 6, H = 0.635 mm: 89.164 ohms is the worked value at W = 0.2 mm.
    sheet.dielConstant = 6.0;
    sheet.impedance = 89.164;
    sheet.lossBlank = false;
    model.Synthesize();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_NEAR(sheet.rowValues[0] / kMm, 0.2000, 5e-5);
    EXPECT_TRUE(sheet.lossBlank);
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Slotline, SynthesisAcrossTheWideSlotFit) {
    // Er = 2.22 on H = 3.175 mm: at 10 GHz gaps above 2.25 mm use the
    // Janaswamy-Schaubert wide-slot fit, so the scan from 0.99 H crosses from
    // the wide fit into the narrow one; the target lies in the wide part.
    sheet.SetRowValue(2, 3.175 * kMm);
    sheet.SetRowValue(1, 0.95 * 3.175 * kMm);
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_NEAR(sheet.impedance, 224.011, 5e-4); // also the synthesis target: same field
    sheet.SetRowValue(1, 1e-5);
    model.Synthesize();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_NEAR(sheet.rowValues[0] / (3.175 * kMm), 0.95, 1e-6);
}

// The scan starts at the wide slot (0.99 H), so the sign there picks the text;
// the texts read the other way round from the microstrip's.
TEST_F(Slotline, NoSolutionTextsFollowTheSignAtTheWideEnd) {
    sheet.dielConstant = 6.0;
    sheet.impedance = 200.0; // above the 122.1 ohms at 0.99 H
    model.Synthesize();
    EXPECT_EQ(OnlyError(), kBelowTargetText);
    sheet.errors.clear();
    sheet.impedance = 40.0; // below the 61.4 ohms at 0.001 H
    model.Synthesize();
    EXPECT_EQ(OnlyError(), kAboveTargetText);
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Slotline, SynthesisWithoutAHeightEndsWithAMessage) {
    sheet.SetRowValue(2, 0.0); // every point fails: the ends meet at once
    model.Synthesize();
    EXPECT_EQ(OnlyError(), "Can't find any solution in this range");
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Slotline, SettingsSectionRoundTrip) {
    sheet.SetRowUnit(2, 4);
    sheet.SetRowValue(2, 0.508 * kMm);
    sheet.SelectPhysicalLengthUnit(1);
    sheet.physicalLength = 0.025;
    model.SaveSettings();
    std::vector<std::string> keys;
    for (const auto& e : sheet.settings.Sections().at("Slot Line"))
        keys.push_back(e.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"Phys Length Unit", "Length", "Gap", "Gap Unit",
                                              "Height", "Height Unit"}));
    Worksheet other;
    other.settings = sheet.settings;
    SlotlineModel restored(other);
    restored.LoadAndSetup();
    EXPECT_EQ(other.rowValues[0], 0.2 * kMm);
    EXPECT_EQ(other.rowValues[1], 0.508 * kMm);
    EXPECT_EQ(other.rowUnits[1], 4);
    EXPECT_EQ(other.physicalLengthUnit, 1);
    EXPECT_EQ(other.physicalLength, 0.025);
}
