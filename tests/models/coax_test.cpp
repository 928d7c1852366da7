#include <gtest/gtest.h>

#include <cmath>

#include "core/worksheet.h"
#include "modelfixture.h"
#include "models/linetypes.h"
#include "models/coaxlinecalc.h"

namespace {

// Do = 0.5 mm, Di = 0.1 mm, f = 1 GHz, Rho = 1, air.
struct Coax : ModelFixture<CoaxModel> {
    Coax() { Rows(0.1e-3, 0.5e-3); }
};

}  // namespace

TEST_F(Coax, SetupShowsRowsTitleAndDefaults) {
    Worksheet fresh;
    CoaxModel m(fresh);
    m.LoadAndSetup();
    EXPECT_EQ(fresh.caption, "TAVREL 2003 - Round Coaxial");
    EXPECT_EQ(fresh.rowCount, 2);
    EXPECT_EQ(fresh.rowLabels[0], "Inner diameter (Di)");
    EXPECT_EQ(fresh.rowLabels[1], "Outer diameter (Do)");
    EXPECT_EQ(fresh.rowValues[0], 0.0001);
    EXPECT_EQ(fresh.rowValues[1], 0.0005);
    EXPECT_EQ(fresh.modeIndex, -1);
}

TEST_F(Coax, WorkedValuesWithGoldResistivity) {
    // Do = 0.5 mm, Di = 0.1 mm, f = 1 GHz, Rho = 1 (resistivity 2.44e-8 ohm m).
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_NEAR(sheet.impedance, 96.4917, 5e-5);
    EXPECT_NEAR(model.Loss(), 0.194261, 5e-7);
    EXPECT_EQ(sheet.effDielConst, 1.0);

    sheet.dielConstant = 2.1;
    sheet.lossTangent = 0.001;
    model.Analyze();
    EXPECT_NEAR(sheet.impedance, 66.5856, 5e-5);
    EXPECT_NEAR(model.Loss(), 0.296697, 5e-7);
    EXPECT_NEAR(sheet.lossDecibels, 2.57708, 5e-6);
    EXPECT_EQ(sheet.effDielConst, 2.1);
    // Phase constant from eeff = Er: 360 f sqrt(2.1) / c.
    EXPECT_NEAR(sheet.phaseConstant, 360e9 * std::sqrt(2.1) / 2.997925e8, 1e-9);
    EXPECT_NEAR(sheet.electricalLength, 0.01 * sheet.phaseConstant, 1e-9);
}

TEST_F(Coax, ConductorLossGrowsWithTheSquareRootOfFrequency) {
    model.Analyze();
    const double z = sheet.impedance, alpha = model.Loss();
    sheet.frequency = 4e9;
    model.Analyze();
    EXPECT_EQ(sheet.impedance, z);
    EXPECT_NEAR(model.Loss(), 2.0 * alpha, 1e-12);
}

// The round trip of every line is in roundtrip_test.cpp.
TEST_F(Coax, SynthesisOfFiftyOhmsFindsTheClosedFormDiameter) {
    sheet.impedance = 50.0;
    model.Synthesize();
    ASSERT_TRUE(sheet.errors.empty());
    const double expected = 0.5e-3 / std::exp(50.0 * 2.0 * M_PI / 376.7);  // 0.217159 mm
    EXPECT_NEAR(sheet.rowValues[0], expected, 1e-10);
    EXPECT_NEAR(sheet.rowValues[0] * 1e3, 0.217159, 5e-7);
}

TEST_F(Coax, NoSolutionTextsFollowTheSideOfTheTarget) {
    sheet.impedance = 500.0;  // even Di = 0.001 Do gives only 414.15 ohms
    model.Synthesize();
    ASSERT_EQ(sheet.errors.size(), 1u);
    EXPECT_EQ(sheet.errors[0],
              "No solution for these parameters!\r\rPlease try increase Do,decrease Zo,or decrease Er");
    sheet.impedance = 0.5;  // below the 0.603 ohms at Di = 0.99 Do
    model.Synthesize();
    ASSERT_EQ(sheet.errors.size(), 2u);
    EXPECT_EQ(sheet.errors[1],
              "No solution for these parameters!\r\rPlease try decrease Do,increase Zo,or increase Er");
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Coax, DiameterChecks) {
    model.Analyze();
    const double z = sheet.impedance;
    sheet.SetRowValue(1, 0.50001e-3);
    model.Analyze();
    ASSERT_EQ(sheet.errors.size(), 1u);
    EXPECT_EQ(sheet.errors[0], "Di must be less than than Do");
    EXPECT_EQ(sheet.impedance, z);  // results keep their previous values

    sheet.SetRowValue(1, 0.5e-3);  // equal diameters: no line, a clear message
    model.Analyze();
    ASSERT_EQ(sheet.errors.size(), 2u);
    EXPECT_NE(sheet.errors[1].find("Di must be less than Do"), std::string::npos);

    sheet.SetRowValue(1, 0.0);
    model.Analyze();
    ASSERT_EQ(sheet.errors.size(), 3u);
    EXPECT_EQ(sheet.errors[2], "Di and Do must be greater than zero");
    sheet.SetRowValue(1, -0.1e-3);
    sheet.SetRowValue(2, -0.05e-3);
    model.Analyze();
    EXPECT_EQ(sheet.errors.size(), 4u);
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Coax, SubUnityPermittivityEndsWithAMessage) {
    sheet.dielConstant = -2.0;  // sqrt of a negative Er
    model.Analyze();
    ASSERT_EQ(sheet.errors.size(), 1u);
    EXPECT_EQ(sheet.errors[0].rfind("Math Library Error", 0), 0u);
    sheet.dielConstant = -2.0;
    model.Synthesize();  // every point fails: the ends cross, a message, no hang
    ASSERT_EQ(sheet.errors.size(), 2u);
}

TEST_F(Coax, QuarterWaveAndMultimodeWarnings) {
    sheet.SetRowValue(2, 0.2);  // 20 cm outer diameter at 1 GHz: multimode too
    sheet.SetRowValue(1, 0.05);
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    ASSERT_EQ(sheet.warnings.size(), 2u);
    EXPECT_EQ(sheet.warnings[0], "Warning #1 -> Outer diameter (Do) is GREATER than quarter-wavelength");
    EXPECT_EQ(sheet.warnings[1],
              "Warning #2 -> Above the TE11 cutoff (0.785 GHz): the line is multimode");
    EXPECT_TRUE(sheet.warningsVisible);
}

TEST_F(Coax, SettingsSectionRoundTrip) {
    sheet.SetRowUnit(1, 1);
    sheet.SetRowValue(1, 0.2e-3);
    sheet.SelectPhysicalLengthUnit(2);
    sheet.physicalLength = 0.03;
    model.SaveSettings();
    const auto& entries = sheet.settings.Sections().at("Coax Line");
    std::vector<std::string> keys;
    for (const auto& e : entries) keys.push_back(e.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"Phys Length Unit", "Length", "Inner diameter ",
                                              "Inner diameter Unit", "Outer diameter", "Outer diameter Unit"}));
    Worksheet other;
    other.settings = sheet.settings;
    CoaxModel restored(other);
    restored.LoadAndSetup();
    EXPECT_EQ(other.rowValues[0], 0.2e-3);
    EXPECT_EQ(other.rowUnits[0], 1);
    EXPECT_EQ(other.physicalLengthUnit, 2);
    EXPECT_EQ(other.physicalLength, 0.03);
}

// First roots x = kc a of J1'(x) Y1'(cx) - J1'(cx) Y1'(x) = 0, computed
// with mpmath at 30 digits (its own Bessel functions and root finder).  The
// two ends check themselves against textbook limits: 2/(1 + c) for a thin
// gap, 1.8412/b (the circular guide's p'11, Pozar table 3.3) for a thin
// inner conductor.
TEST(CoaxTe11, RootOfTheBesselCrossProduct) {
    const struct {
        double c, root;
    } cases[] = {{1.5, 0.805091559973},  {2.0, 0.677336005137},   {4.0, 0.411126344312},
                 {10.0, 0.180347008481}, {50.0, 0.0367928152107}, {1000.0, 0.00184117992453}};
    for (const auto& row : cases)
        EXPECT_NEAR(CoaxTe11Root(row.c) / row.root, 1.0, 1e-9) << row.c;
    EXPECT_NEAR(CoaxTe11Root(1.0005) * 2.0005 / 2.0, 1.0, 1e-7);
    for (double c : {1e5, 1e200}) // far past where Y1' would overflow
        EXPECT_NEAR(CoaxTe11Root(c) * c, 1.8412, 1e-4) << c;
}

// 0.91/2.98 mm in PTFE (Er 2.1): TE11 cuts off at 34.812 GHz, where the
// approximation c / (pi sqrt(Er) (Di + Do)/2) said 33.86 GHz.  Do/Di = 50 in
// air, Di = 0.2 mm: 17.555 GHz, 6.6 % below the approximation's 18.711 GHz.
// Do is longer than a quarter wavelength near either cut-off: one warning
// below it, two above.
TEST_F(Coax, Te11WarningAboveTheExactCutoffOnly) {
    const struct {
        double di, dO, er, cutoff;
    } lines[] = {{0.91e-3, 2.98e-3, 2.1, 34.8121e9}, {0.2e-3, 10e-3, 1.0, 17.5551e9}};
    for (const auto& line : lines) {
        EXPECT_NEAR(CoaxTe11Cutoff(line.dO, line.di, line.er), line.cutoff, 0.0001e9);
        Rows(line.di, line.dO);
        sheet.dielConstant = line.er;
        for (const auto& [f, warned] :
             {std::pair{0.999 * line.cutoff, false}, std::pair{1.001 * line.cutoff, true}}) {
            sheet.frequency = f;
            model.Analyze();
            ASSERT_TRUE(sheet.errors.empty());
            EXPECT_EQ(sheet.warnings.size(), warned ? 2u : 1u) << f;
        }
    }
    EXPECT_EQ(sheet.warnings.back(),
              "Warning #2 -> Above the TE11 cutoff (17.6 GHz): the line is multimode");
}
