#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/worksheet.h"
#include "models/linetypes.h"
#include "models/mline.h"

namespace {

// The worked strip: alumina, W = 0.6 mm, H = 0.635 mm, T = 5 um, copper.
constexpr double kW = 0.6e-3, kH = 0.635e-3, kT = 5e-6, kEr = 9.8;
constexpr double kCopper = 5.8e7;                     // S/m
constexpr double kCopperRho = 1.0 / (kCopper * 2.44e-8);  // 0.706614 relative to gold
// A conductivity so high that Rho falls below 1e-6: a perfect conductor.
constexpr double kPerfectConductor = 1e15;

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }
bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

struct Microstrip : ::testing::Test {
    Microstrip() {
        model.LoadAndSetup();
        sheet.SetRowValue(1, kW);
        sheet.SetRowValue(2, kH);
        sheet.SetRowValue(3, kT);
        sheet.dielConstant = kEr;
        sheet.lossTangent = 1e-4;
        sheet.conductivity = kCopper;
        sheet.frequency = 10e9;
    }
    Worksheet sheet;
    MicrostripModel model{sheet};
};

}  // namespace

TEST(MicrostripQuasiStatic, HammerstadJensenWorkedValues) {
    // Worked values of the Hammerstad-Jensen set with Kirschning-Jansen dispersion.
    const MicrostripStatic st = MicrostripQuasiStatic(kW, kH, kT, kEr, 10e9, false, 600);
    EXPECT_NEAR(st.eeff, 6.50521, 5e-6);
    EXPECT_NEAR(st.z0, 50.4089, 5e-5);
    const MicrostripStatic dyn = MicrostripQuasiStatic(kW, kH, kT, kEr, 10e9, true, 600);
    EXPECT_NEAR(dyn.eeff, 6.84966, 5e-6);
    EXPECT_NEAR(dyn.z0, 50.8613, 5e-5);
}

TEST(MicrostripQuasiStatic, LowFrequencySetAgainstHammerstadJensen) {
    // Worked values for W = H = 0.1 mm, T = 1 um, Er = 9.8 at f = 0 (the coupled
    // line's single strip): the two sets differ in the fourth digit.
    const MicrostripStatic low = MicrostripQuasiStatic(0.1e-3, 0.1e-3, 1e-6, kEr, 0.0, true, 553);
    EXPECT_NEAR(low.eeff, 6.55961, 5e-6);
    EXPECT_NEAR(low.z0, 48.9121, 5e-5);
    const MicrostripStatic hj = MicrostripQuasiStatic(0.1e-3, 0.1e-3, 1e-6, kEr, 0.0, false, 600);
    EXPECT_NEAR(hj.eeff, 6.52786, 5e-6);
    EXPECT_NEAR(hj.z0, 48.9953, 5e-5);
    // The selector's boundary: 554 is already the Hammerstad-Jensen set.
    EXPECT_EQ(MicrostripQuasiStatic(0.1e-3, 0.1e-3, 1e-6, kEr, 0.0, false, 554).z0, hj.z0);
    // At f = 0 the low-frequency dispersion leaves the static values.
    const MicrostripStatic lowStatic = MicrostripQuasiStatic(0.1e-3, 0.1e-3, 1e-6, kEr, 0.0, false, 553);
    EXPECT_NEAR(low.eeff, lowStatic.eeff, 1e-12);
    EXPECT_NEAR(low.z0, lowStatic.z0, 1e-10);
}

TEST(MicrostripQuasiStatic, VanishingDimensionsAndAirLine) {
    // A zero thickness is computed as 1 nm.
    const MicrostripStatic zero = MicrostripQuasiStatic(kW, kH, 0.0, kEr, 1e9, true, 600);
    const MicrostripStatic nm = MicrostripQuasiStatic(kW, kH, 1e-9, kEr, 1e9, true, 600);
    EXPECT_EQ(zero.eeff, nm.eeff);
    EXPECT_EQ(zero.z0, nm.z0);
    // Er = 1: eeff is exactly 1 and dispersion does not apply; the impedance is
    // the air line's, Z0(Er) sqrt(eeff(Er)) for any Er (Hammerstad-Jensen's Z01).
    const MicrostripStatic air = MicrostripQuasiStatic(kW, kH, kT, 1.0, 10e9, true, 600);
    EXPECT_EQ(air.eeff, 1.0);
    const MicrostripStatic airStatic = MicrostripQuasiStatic(kW, kH, kT, 1.0, 0.0, false, 600);
    EXPECT_EQ(air.z0, airStatic.z0);
    // Wheeler's classic: a 50 ohm alumina line is about 130 ohms in air.
    EXPECT_NEAR(air.z0, 130.0, 5.0);
}

TEST(MicrostripKernel, WorkedValuesWithLosses) {
    // Worked values of the whole kernel, copper (Rho = 0.706614).
    EXPECT_NEAR(kCopperRho, 0.706614, 5e-7);
    const MicrostripResult hot = MicrostripKernel(kW, kH, kT, kEr, 1e-4, kCopperRho, 10e9);
    EXPECT_NEAR(hot.loss, 0.523214, 5e-7);
    EXPECT_NEAR(hot.loss * 8.685889638, 4.54458, 5e-6);
    EXPECT_NEAR(hot.impedance, 50.9074, 5e-5);
    EXPECT_NEAR(hot.effDielConst, 6.86207, 5e-6);

    const MicrostripResult cool = MicrostripKernel(kW, kH, kT, kEr, 0.0, kCopperRho, 1e9);
    EXPECT_NEAR(cool.loss, 0.148464, 5e-7);
    EXPECT_NEAR(cool.impedance, 50.5150, 5e-5);
    EXPECT_NEAR(cool.effDielConst, 6.55034, 5e-6);
}

TEST(MicrostripKernel, IncrementalInductanceIntermediates) {
    // Intermediate values of the 10 GHz worked example.
    const MicrostripConductorTerms c = MicrostripConductorImpedance(kW, kH, kT, kEr, kCopperRho, 10e9);
    EXPECT_NEAR(c.dT, -487.453, 5e-4);
    EXPECT_NEAR(c.dH, 236.256, 5e-4);
    EXPECT_NEAR(c.dW, -245.783, 5e-4);
    EXPECT_NEAR(c.x, 0.673548, 5e-7);
    EXPECT_NEAR(c.bigX, 0.980790, 5e-7);
    EXPECT_NEAR(c.skinDepth * 1e6, 0.660855, 5e-7);
    EXPECT_NEAR(c.r, 50.6129, 5e-5);
    // The skin depth is the textbook one, 1 / sqrt(pi f mu0 sigma).
    EXPECT_NEAR(c.skinDepth, 1.0 / std::sqrt(M_PI * 10e9 * 4e-7 * M_PI * kCopper), 1e-15);
}

TEST(MicrostripKernel, LosslessLineKeepsTheDispersiveValues) {
    // Rho = 0 and tand = 0: gamma purely imaginary, Zc real and equal to the
    // dispersive Hammerstad-Jensen/Kirschning-Jansen values.
    const MicrostripLineConstantsResult line = MicrostripLineConstants(kW, kH, kT, kEr, 0.0, 0.0, 10e9);
    EXPECT_EQ(line.gamma.re, 0.0);
    EXPECT_EQ(line.zc.im, 0.0);
    const MicrostripStatic dyn = MicrostripQuasiStatic(kW, kH, kT, kEr, 10e9, true, 600);
    const MicrostripResult r = MicrostripKernel(kW, kH, kT, kEr, 0.0, 0.0, 10e9);
    EXPECT_EQ(r.loss, 0.0);
    EXPECT_NEAR(r.impedance, dyn.z0, 1e-12 * dyn.z0);
    EXPECT_NEAR(r.effDielConst, dyn.eeff, 1e-12 * dyn.eeff);
}

TEST(MicrostripKernel, DielectricLossIsTheFillingFactorFormula) {
    // With a perfect conductor the loss is the dielectric loss
    // alpha_d = (pi f / c) Er (eeff - 1) tand / (sqrt(eeff) (Er - 1))
    // to first order in tand, so it doubles with tand.
    const double f = 10e9;
    const MicrostripStatic dyn = MicrostripQuasiStatic(kW, kH, kT, kEr, f, true, 600);
    const double expected = M_PI * f / 2.997925e8 * kEr * (dyn.eeff - 1.0) * 1e-4 /
                            (std::sqrt(dyn.eeff) * (kEr - 1.0));
    const double one = MicrostripKernel(kW, kH, kT, kEr, 1e-4, 0.0, f).loss;
    const double two = MicrostripKernel(kW, kH, kT, kEr, 2e-4, 0.0, f).loss;
    EXPECT_NEAR(one, expected, 1e-7 * expected);
    EXPECT_NEAR(two, 2.0 * one, 1e-7 * one);
    // Er = 1 has no dielectric to lose in.
    EXPECT_EQ(MicrostripKernel(kW, kH, kT, 1.0, 1e-2, 0.0, f).loss, 0.0);
}

TEST(MicrostripKernel, VanishingConductorHasNoConductorLoss) {
    // T at or below 1 nm, or Rho at or below 1e-6: no R and no internal inductance.
    const MicrostripResult lossless = MicrostripKernel(kW, kH, kT, kEr, 0.0, 0.0, 1e9);
    const MicrostripResult thin = MicrostripKernel(kW, kH, 1e-9, kEr, 0.0, kCopperRho, 1e9);
    EXPECT_EQ(thin.loss, 0.0);
    EXPECT_EQ(MicrostripKernel(kW, kH, kT, kEr, 0.0, 1e-6, 1e9).loss, 0.0);
    EXPECT_GT(MicrostripKernel(kW, kH, kT, kEr, 0.0, 1.1e-6, 1e9).loss, 0.0);
    // The internal inductance raises impedance and eeff of a lossy line.
    const MicrostripResult lossy = MicrostripKernel(kW, kH, kT, kEr, 0.0, kCopperRho, 1e9);
    EXPECT_GT(lossy.impedance, lossless.impedance);
    EXPECT_GT(lossy.effDielConst, lossless.effDielConst);
}

TEST(MicrostripKernel, SurfaceImpedanceLimits) {
    // Thick strip (T / delta = 7.6): coth and csch of (1 + j) T / delta reach 1
    // and 0, and R becomes Wheeler's Rs (2 dH - 2 dT - 2 dW).
    const MicrostripConductorTerms c = MicrostripConductorImpedance(kW, kH, kT, kEr, kCopperRho, 10e9);
    const double rs = std::sqrt(10e9 * M_PI * 1.256637061435917e-6 * kCopperRho * 2.44e-8);
    EXPECT_NEAR(c.r, rs * (2.0 * c.dH - 2.0 * c.dT - 2.0 * c.dW), 0.002 * c.r);
    // Strip far thinner than the skin depth: a sheet resistance, 1/T.
    const MicrostripConductorTerms thin1 = MicrostripConductorImpedance(kW, kH, 2e-8, kEr, kCopperRho, 1e6);
    const MicrostripConductorTerms thin2 = MicrostripConductorImpedance(kW, kH, 4e-8, kEr, kCopperRho, 1e6);
    EXPECT_NEAR(thin1.r / thin2.r, 2.0, 0.1);
}

// The kernel takes coth and csch of (1 + j) T / delta and coth of the
// thickness increment from one exponential inside a range and from the
// guarded functions outside it: the two forms join without a step.
TEST(MicrostripKernel, OneExponentialFormsJoinTheGuardedFunctions) {
    const auto joins = [](double below, double above, double scale) {
        EXPECT_NEAR(below, above, 1e-8 * scale);
    };
    // T / delta = 0.001 and 30: f where the argument crosses the switch.
    for (const double a : {1e-3, 30.0}) {
        const double f = (a / kT) * (a / kT) * kCopperRho * 2.44e-8 / (M_PI * 1.2566370614359173e-6);
        const MicrostripConductorTerms below =
            MicrostripConductorImpedance(kW, kH, kT, kEr, kCopperRho, f * (1.0 - 1e-12));
        const MicrostripConductorTerms above =
            MicrostripConductorImpedance(kW, kH, kT, kEr, kCopperRho, f * (1.0 + 1e-12));
        joins(below.r, above.r, below.r);
        joins(below.deltaL, above.deltaL, std::fabs(below.deltaL));
    }
    // sqrt(6.517 W / H) = 0.5.
    const double w = 0.25 / 6.517 * kH;
    joins(MicrostripAirImpedance(w * (1.0 - 1e-12), kH, kT),
          MicrostripAirImpedance(w * (1.0 + 1e-12), kH, kT), 100.0);
}

TEST(MicrostripKernel, FrequencyRegimes) {
    // At 0.001 Hz the low-frequency set without loss; above it the line constants.
    const MicrostripResult at = MicrostripKernel(kW, kH, kT, kEr, 1e-4, kCopperRho, 0.001);
    const MicrostripStatic low = MicrostripQuasiStatic(kW, kH, kT, kEr, 0.001, true, 553);
    EXPECT_EQ(at.loss, 0.0);
    EXPECT_EQ(at.impedance, low.z0);
    EXPECT_EQ(at.effDielConst, low.eeff);
    const MicrostripResult above = MicrostripKernel(kW, kH, kT, kEr, 1e-4, kCopperRho, 0.0011);
    EXPECT_GT(above.loss, 0.0);
    EXPECT_NE(above.impedance, low.z0);
    // Loss with dB per metre grows with frequency.
    EXPECT_LT(MicrostripKernel(kW, kH, kT, kEr, 1e-4, kCopperRho, 1e9).loss,
              MicrostripKernel(kW, kH, kT, kEr, 1e-4, kCopperRho, 10e9).loss);
}

// The pair's thin strips read both from one evaluation: the same bits as two.
TEST(MicrostripKernel, ZeroFrequencyPairIsTheKernelOnTheSubstrateAndInAir) {
    for (double w : {1e-5, 0.6e-3, 12e-3})
        for (double t : {0.0, 5e-6})
            for (double er : {1.0, 1.00005, 2.2, 9.8}) {
                const MicrostripZeroFrequencyPair pair = MicrostripZeroFrequency(w, kH, t, er);
                const MicrostripResult substrate = MicrostripKernel(w, kH, t, er, 0, 0, 0);
                EXPECT_EQ(pair.substrate.z0, substrate.impedance);
                EXPECT_EQ(pair.substrate.eeff, substrate.effDielConst);
                EXPECT_EQ(pair.airImpedance, MicrostripKernel(w, kH, t, 1.0, 0, 0, 0).impedance);
            }
}

TEST(MicrostripKernel, ComplexEffectiveDielectricConstant) {
    // (gamma / j k0)^2: real part (beta^2 - alpha^2) / k0^2, imaginary -2 alpha beta / k0^2.
    const double k0 = 1e9 * 6.283185307179586 * 3.3356404846685622e-9;
    const Complex e = ComplexEffectiveDielectricConstant(1e9, Complex{0.5, 3.0 * k0});
    EXPECT_NEAR(e.re, 9.0 - 0.25 / (k0 * k0), 1e-12);
    EXPECT_NEAR(e.im, -2.0 * 0.5 * 3.0 / k0, 1e-12);
    // Below 0.001 Hz the wavenumber is taken at 0.001 Hz.
    const Complex lo = ComplexEffectiveDielectricConstant(0.0, Complex{0.0, 2e-11});
    const double k0min = 0.001 * 6.283185307179586 * 3.3356404846685622e-9;
    EXPECT_NEAR(lo.re, (2e-11 / k0min) * (2e-11 / k0min), 1e-12);
}

TEST_F(Microstrip, SetupShowsRowsTitleAndDefaults) {
    Worksheet fresh;
    MicrostripModel m(fresh);
    m.LoadAndSetup();
    EXPECT_EQ(fresh.caption, "TAVREL 2003 - Microstrip");
    EXPECT_EQ(fresh.rowCount, 3);
    EXPECT_EQ(fresh.rowLabels[0], "Width (W)");
    EXPECT_EQ(fresh.rowLabels[1], "Height (H)");
    EXPECT_EQ(fresh.rowLabels[2], "Thickness (T)");
    EXPECT_EQ(fresh.rowValues[0], 0.00005);
    EXPECT_EQ(fresh.rowValues[1], 0.0001);
    EXPECT_EQ(fresh.rowValues[2], 1e-6);
    EXPECT_EQ(fresh.modeIndex, -1);
}

TEST_F(Microstrip, AnalyzeShowsTheWorkedValues) {
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_NEAR(sheet.impedance, 50.9074, 5e-5);
    EXPECT_NEAR(sheet.effDielConst, 6.86207, 5e-6);
    EXPECT_NEAR(sheet.lossDecibels, 4.54458, 5e-6);
    EXPECT_NEAR(sheet.phaseConstant, 360.0 * 10e9 * std::sqrt(sheet.effDielConst) / 2.997925e8, 1e-8);
    EXPECT_NEAR(sheet.electricalLength, 0.01 * sheet.phaseConstant, 1e-9);
    EXPECT_TRUE(sheet.warnings.empty());
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Microstrip, HardLimitsInOrder) {
    auto analyzeExpecting = [&](const std::string& text) {
        sheet.errors.clear();
        model.Analyze();
        ASSERT_EQ(sheet.errors.size(), 1u) << text;
        EXPECT_EQ(sheet.errors[0], text);
    };
    sheet.conductivity = 9e4;  // Rho 455
    sheet.SetRowValue(2, 0.0);
    analyzeExpecting("Conductivity must be >= 1E5 S/m");
    sheet.conductivity = kCopper;
    analyzeExpecting("H must be > 0");
    sheet.SetRowValue(2, kH);
    sheet.SetRowValue(1, 0.004 * kH);
    sheet.dielConstant = 0.5;
    analyzeExpecting("(W/H) must be >= .005");
    sheet.SetRowValue(1, kW);
    analyzeExpecting("Er must be >= 1");
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Microstrip, SoftLimitsWarnButCompute) {
    sheet.SetRowValue(1, 0.04 * kH);
    sheet.conductivity = 3e5;  // Rho 136.6
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_GT(sheet.impedance, 100.0);
    ASSERT_EQ(sheet.warnings.size(), 3u);
    EXPECT_EQ(sheet.warnings[2], "Warning #3 -> Closed form not verified here: check with the field solver (F7)");
    EXPECT_EQ(sheet.warnings[0], "Warning #1 -> (W/H) Recommended >= .05");
    EXPECT_EQ(sheet.warnings[1], "Warning #2 -> Rho Recommended <= 100");
    EXPECT_TRUE(sheet.warningsVisible);

    sheet.conductivity = kCopper;
    sheet.frequency = 1e9;  // a 13 mm strip stays below a quarter wavelength
    sheet.SetRowValue(1, 21 * kH);
    sheet.SetRowValue(3, 0.6 * kH);
    sheet.dielConstant = 16.5;
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    ASSERT_EQ(sheet.warnings.size(), 4u);
    EXPECT_EQ(sheet.warnings[3], "Warning #4 -> Closed form not verified here: check with the field solver (F7)");
    EXPECT_EQ(sheet.warnings[0], "Warning #1 -> (W/H) Recommended <= 20");
    EXPECT_EQ(sheet.warnings[1], "Warning #2 -> (T/H) Recommended <= 1/2");
    EXPECT_EQ(sheet.warnings[2], "Warning #3 -> Er Recommended <= 16");

    sheet.SetRowValue(1, kW);
    sheet.SetRowValue(3, 0.31e-3);  // T/W above 1/2, T/H below
    sheet.dielConstant = 16.0;
    model.Analyze();
    ASSERT_EQ(sheet.warnings.size(), 2u);
    EXPECT_EQ(sheet.warnings[0], "Warning #1 -> (T/W) Recommended <= 1/2");
    EXPECT_EQ(sheet.warnings[1], "Warning #2 -> Closed form not verified here: check with the field solver (F7)");
}

TEST_F(Microstrip, PermittivityJustBelowOne) {
    // 0.99995 passes the check, then the square root of Er - 1 fails.
    sheet.dielConstant = 0.99995;
    model.Analyze();
    ASSERT_EQ(sheet.errors.size(), 1u);
    EXPECT_TRUE(StartsWith(sheet.errors[0], "Math Library Error"));
    EXPECT_NE(sheet.errors[0].find("sqrt"), std::string::npos);
    EXPECT_TRUE(EndsWith(sheet.errors[0], "Not in domain of the function"));
    // The low-frequency set takes no such root.
    sheet.frequency = 0.001;
    model.Analyze();
    EXPECT_EQ(sheet.errors.size(), 1u);
    EXPECT_EQ(sheet.effDielConst, 1.0);
}

TEST_F(Microstrip, LowFrequencyRegimes) {
    sheet.frequency = 0.001;
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_EQ(sheet.lossDecibels, 0.0);
    // From 0.0011 Hz the line constants apply: a perfect conductor leaves the
    // dielectric loss.
    sheet.conductivity = kPerfectConductor;
    sheet.frequency = 0.0011;
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_GT(sheet.lossDecibels, 0.0);
    EXPECT_NEAR(sheet.effDielConst, MicrostripQuasiStatic(kW, kH, kT, kEr, 0.0011, true, 600).eeff, 1e-9);
    // A real conductor at 1 Hz is an RC line: the real part of (gamma / j
    // k0)^2 is negative, and eeff is (beta / k0)^2, with the corner's note.
    sheet.conductivity = kCopper;
    sheet.frequency = 1.0;
    model.Analyze();
    EXPECT_TRUE(sheet.errors.empty());
    EXPECT_GT(sheet.effDielConst, kEr);
    ASSERT_EQ(sheet.warnings.size(), 1u);
    EXPECT_NE(sheet.warnings[0].find("below the R = "), std::string::npos);
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Microstrip, NoSolutionTextsFollowTheSideOfTheTarget) {
    sheet.impedance = 500.0;  // even W = 0.005 H stays far below
    model.Synthesize();
    ASSERT_EQ(sheet.errors.size(), 1u);
    EXPECT_EQ(sheet.errors[0],
              "No solution for these parameters!\r\rPlease try increase H,decrease Zo,or decrease Er");
    sheet.impedance = 1.0;  // even W = 100 H stays above
    model.Synthesize();
    ASSERT_EQ(sheet.errors.size(), 2u);
    EXPECT_EQ(sheet.errors[1],
              "No solution for these parameters!\r\rPlease try decrease H,increase Zo,or increase Er");
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Microstrip, SynthesisBelowUnityPermittivityEnds) {
    // Every objective evaluation fails: a message, not an endless inward search.
    sheet.dielConstant = 0.5;
    model.Synthesize();
    EXPECT_EQ(sheet.errors.size(), 1u);
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Microstrip, SettingsSectionRoundTrip) {
    sheet.SetRowUnit(1, 4);
    sheet.SetRowValue(1, 0.000127);
    sheet.SelectPhysicalLengthUnit(2);
    sheet.physicalLength = 0.03;
    model.SaveSettings();
    const auto& entries = sheet.settings.Sections().at("Microstrip Line");
    std::vector<std::string> keys;
    for (const auto& e : entries) keys.push_back(e.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"Phys Length Unit", "Length", "Width", "Width Unit", "Height",
                                              "Height Unit", "Thickness", "Thickness Unit"}));
    Worksheet other;
    other.settings = sheet.settings;
    MicrostripModel restored(other);
    restored.LoadAndSetup();
    EXPECT_EQ(other.rowValues[0], 0.000127);
    EXPECT_EQ(other.rowUnits[0], 4);
    EXPECT_EQ(other.rowValues[1], kH);
    EXPECT_EQ(other.rowValues[2], kT);
    EXPECT_EQ(other.physicalLengthUnit, 2);
    EXPECT_EQ(other.physicalLength, 0.03);
}
