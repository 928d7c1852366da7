#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/lossparts.h"
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

// Every place where the kernel changes fit: the published splits (Er 3.8 and
// 9.7, W/lambda0 0.075, W/H 0.2) and the edges of the bands over which one fit
// hands over to the other.  Crossing each in a 1e-6 relative step must move
// Z0 and eeff by no more than the smooth change (about 1e-5): before the
// hand-over bands the steps were -6.6 % (Er 3.8), +18 % (Er 9.7), +17 %
// (W/lambda0 0.075 at Er 6) and +4.7 % (W/H 0.2).  H = 0.635 mm, 10 GHz.
TEST(SlotlineSeams, CrossingAFitBoundaryStepsNeitherZ0NorEeff) {
    constexpr double kH = 0.635 * kMm, kLambda0 = 2.997925e8 / 10e9;
    using Kernel = std::function<SlotlineResult(double)>;
    auto inEr = [](double gap) -> Kernel {
        return [=](double er) { return SlotlineKernel(10e9, gap, kH, er); };
    };
    auto inWidth = [](double er) -> Kernel {
        return [=](double w) { return SlotlineKernel(10e9, w * kLambda0, kH, er); };
    };
    const struct {
        const char* seam;
        Kernel at;
        std::vector<double> crossings;
    } seams[] = {
        {"Er, G 0.2 mm", inEr(0.2 * kMm), {3.7, 3.8, 3.9, 9.7, 9.75, 9.8}},
        {"Er, G 3 mm (wide)", inEr(3.0 * kMm), {3.7, 3.8, 3.9}},
        {"Er, W/H 0.94", inEr(0.6 * kMm), {9.7, 9.75, 9.8}},
        {"W/lambda0, Er 2.22", inWidth(2.22), {0.06, 0.075, 0.08}},
        {"W/lambda0, Er 3.8", inWidth(3.8), {0.06, 0.075, 0.08}},
        {"W/lambda0, Er 6", inWidth(6.0), {0.06, 0.075, 0.08}},
        {"f, Er 6, G 1 mm",
         [](double w) { return SlotlineKernel(w * 2.997925e11, 1e-3, kH, 6.0); },
         {0.06, 0.075, 0.08}},
        {"W/H, Er 10.2",
         [](double u) { return SlotlineKernel(10e9, u * kH, kH, 10.2); },
         {0.19, 0.2, 0.21}},
    };
    for (const auto& seam : seams)
        for (double x : seam.crossings) {
            SCOPED_TRACE(std::string(seam.seam) + " at " + std::to_string(x));
            const SlotlineResult below = seam.at(x * (1 - 1e-6)), on = seam.at(x),
                                 above = seam.at(x * (1 + 1e-6));
            for (const SlotlineResult& next : {on, above}) {
                EXPECT_NEAR(next.impedance / below.impedance, 1.0, 1e-4);
                EXPECT_NEAR(next.effDielConst / below.effDielConst, 1.0, 1e-4);
            }
        }
}

// The impedance rises with the gap across all of a fit's range and through
// the hand-over bands (W/H 5 is W/lambda0 0.106, past the narrow/wide split;
// at Er 2.22 the wide fit starts 2.8 % below the narrow one).  Er 10.2,
// H 0.635 mm at 10 GHz: Garg and Gupta's fit holds to W/H = 1; past W/H 2.6
// it falls (to 25 ohms at 3.1 mm), and there the range warning says so.
TEST_F(Slotline, ImpedanceRisesWithTheGap) {
    for (double er : {2.22, 3.8, 6.0, 9.75, 10.2}) {
        double last = 0.0;
        for (double u = 0.02; u <= (er < 9.7 ? 5.0 : 1.0); u *= 1.01) {
            const double z = SlotlineKernel(10e9, u * 0.635 * kMm, 0.635 * kMm, er).impedance;
            ASSERT_GT(z, last) << "Er " << er << ", W/H " << u;
            last = z;
        }
    }
    sheet.dielConstant = 10.2;
    sheet.SetRowValue(1, 1.64 * kMm);
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_EQ(sheet.warnings, (std::vector<std::string>{"Warning #1 -> W/H must be < 1.0"}));
}

// No loss is computed, yet the tand in effect and the skin depth shown are
// those of the materials entered (they read 0 and gold's whatever was entered).
TEST_F(Slotline, ShowsTheTandAndSkinDepthEntered) {
    sheet.lossTangent = 0.01;
    sheet.conductivity = 1e6;
    const LineInputs in = model.ReadInputs();
    EXPECT_EQ(in.tand, 0.01);
    EXPECT_NEAR(SkinDepth(in),
                1.0 / std::sqrt(3.141592653589793 * 10e9 * 4e-7 * 3.141592653589793 * 1e6), 1e-12);
    sheet.conductivity = 0.0; // unused: no failure, no conduction
    EXPECT_TRUE(std::isinf(SkinDepth(model.ReadInputs())));
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
    sheet.dielConstant = 1.0; // no substrate: the message says what to change
    model.Analyze();
    ASSERT_EQ(sheet.errors.size(), 2u);
    EXPECT_EQ(sheet.errors[1], "Increase Er: Er = 1 leaves the slot in free space, and the "
                               "slotline fits need a substrate of Er 2.22 to 20");
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
