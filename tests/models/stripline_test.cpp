#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "exactelliptic.h"
#include "modelfixture.h"
#include "core/worksheet.h"
#include "models/linetypes.h"
#include "models/striplinecalc.h"
#include "numeric/fpfault.h"

namespace {

constexpr double kPi = 3.141592653589793;
// Conductivity of a conductor whose resistivity equals gold's: Rho = 1.
// A power of two as ground-plane spacing (122 um), so that ratios such as
// T/B = 0.33 are exact in binary.
constexpr double kB = 0.0001220703125;

// Cohn's zero-thickness stripline, Z0 = 30 pi K'(k)/K(k) / sqrt(Er),
// k = tanh(pi W / 2B), evaluated exactly.
double ExactThinStripImpedance(double w, double b, double er) {
    return 30.0 * kPi * ExactEllipticRatio(std::tanh(kPi * w / (2.0 * b))) / std::sqrt(er);
}

// Conductivity giving the relative resistivity rho exactly as the window computes it.
double ConductivityFor(double rho) { return 1.0 / (rho * 2.44e-8); }

using Stripline = ModelFixture<StriplineModel>;

}  // namespace

TEST_F(Stripline, SetupShowsRowsTitleAndDefaults) {
    Worksheet fresh;
    StriplineModel m(fresh);
    m.LoadAndSetup();
    EXPECT_EQ(fresh.caption, "TAVREL 2003 - Stripline");
    EXPECT_EQ(fresh.rowCount, 3);
    EXPECT_EQ(fresh.rowLabels[0], "Width (W)");
    EXPECT_EQ(fresh.rowLabels[1], "Height (B)");
    EXPECT_EQ(fresh.rowLabels[2], "Thickness (T)");
    EXPECT_EQ(fresh.rowValues[0], 5e-5);
    EXPECT_EQ(fresh.rowValues[1], 1e-4);
    EXPECT_EQ(fresh.rowValues[2], 1e-6);
    EXPECT_EQ(fresh.modeIndex, -1);
    // The defaults (W/B = 0.5, T/B = 0.01) on the window's first-start inputs:
    // a result and no warning.
    m.Analyze();
    EXPECT_TRUE(fresh.errors.empty());
    EXPECT_TRUE(fresh.warnings.empty());
    EXPECT_FALSE(fresh.warningsVisible);
}

TEST(StriplineFormulas, HilbergRatioAgreesWithExactEllipticIntegrals) {
    // Hilberg's approximation is good to a few parts per million, worst at
    // k = 1/sqrt(2) where its two forms meet (2.2e-6 there).
    double worst = 0.0;
    for (int i = 1; i < 1000; ++i) {
        const double k = i / 1000.0;
        worst = std::max(worst, std::fabs(StriplineKPrimeOverK(k) / ExactEllipticRatio(k) - 1.0));
    }
    EXPECT_LT(worst, 3e-6);
    EXPECT_GT(worst, 1e-6);  // it is an approximation, not the exact ratio
    // K'/K = 1 at k = 1/sqrt(2); both forms meet there.
    // K'/K = 1 at k = 1/sqrt(2), where the two forms meet with opposite errors.
    EXPECT_NEAR(StriplineKPrimeOverK(0.70710678118655), 1.0, 3e-6);
    EXPECT_NEAR(StriplineKPrimeOverK(0.7071067811865), StriplineKPrimeOverK(0.7071067811866), 5e-6);
}

TEST(StriplineFormulas, KPrimeOverKClampsTheModulus) {
    const double low = StriplineKPrimeOverK(1e-6);
    EXPECT_EQ(StriplineKPrimeOverK(0.0), low);
    EXPECT_EQ(StriplineKPrimeOverK(-0.5), low);
    EXPECT_EQ(StriplineKPrimeOverK(std::nan("")), low);
    const double high = StriplineKPrimeOverK(1.0 - 1e-6);
    EXPECT_EQ(StriplineKPrimeOverK(1.0), high);
    EXPECT_EQ(StriplineKPrimeOverK(0.9999999), high);
    EXPECT_EQ(StriplineKPrimeOverK(2.0), high);
    EXPECT_NE(StriplineKPrimeOverK(0.9999989), high);
    EXPECT_NEAR(high / ExactEllipticRatio(1.0 - 1e-6), 1.0, 1e-10);
}

TEST(StriplineFormulas, ThinStripAgreesWithCohnsExactImpedance) {
    for (double wb : {0.05, 0.1, 0.25, 0.5, 1.0, 2.0, 4.0}) {
        for (double er : {1.0, 9.8}) {
            const StriplineImpedanceResult r = StriplineImpedance(wb * 1e-4, 1e-4, 0.0, er);
            EXPECT_NEAR(r.z0 / ExactThinStripImpedance(wb * 1e-4, 1e-4, er), 1.0, 3e-6) << wb;
            EXPECT_FALSE(r.outOfRange) << wb;
        }
    }
    // Worked values: W/B = 0.5 in air, 100.502 ohms; W/B = 1, 65.3989 ohms.
    EXPECT_NEAR(StriplineImpedance(0.5, 1.0, 0.0, 1.0).z0, 100.502, 5e-4);
    EXPECT_NEAR(StriplineImpedance(1.0, 1.0, 0.0, 1.0).z0, 65.3989, 5e-4);
}

TEST(StriplineFormulas, VeryWideThinStripIsHeldAtTheClampedModulus) {
    // pi W / 2B above 100 is evaluated at 100, and tanh(100) is cut to 0.999999,
    // so every strip wider than about 4.6 B gets the same impedance ...
    const double clamped = 94.24777960769379 * StriplineKPrimeOverK(1.0 - 1e-6);
    EXPECT_NEAR(clamped, 18.6278, 5e-4);
    for (double wb : {4.7, 9.0, 70.0, 1000.0}) {
        const StriplineImpedanceResult r = StriplineImpedance(wb, 1.0, 0.0, 1.0);
        EXPECT_EQ(r.z0, clamped) << wb;
        // ... which is flagged: the exact value keeps falling (9.98 ohms at 9).
        EXPECT_TRUE(r.outOfRange) << wb;
    }
    EXPECT_FALSE(StriplineImpedance(4.6, 1.0, 0.0, 1.0).outOfRange);
    EXPECT_NEAR(StriplineImpedance(4.6, 1.0, 0.0, 1.0).z0, ExactThinStripImpedance(4.6, 1.0, 1.0), 1e-6);
}

TEST(StriplineFormulas, ThickStripSwitchAndWheelersAccuracy) {
    // B = 1 m makes T/B equal to T exactly.
    const double thin = StriplineImpedance(0.5, 1.0, 0.0, 1.0).z0;
    EXPECT_EQ(StriplineImpedance(0.5, 1.0, 0.99e-9, 1.0).z0, thin);  // T/B below 1e-9: Cohn
    const double wheeler = StriplineImpedance(0.5, 1.0, 1e-9, 1.0).z0;  // T/B = 1e-9: Wheeler
    EXPECT_NE(wheeler, thin);
    // Wheeler's formula tends to the zero-thickness line within its stated
    // 0.5 % for W/(B - T) below 10.
    for (double wb : {0.1, 0.25, 0.5, 1.0, 2.0, 4.0, 9.0}) {
        const double z = StriplineImpedance(wb, 1.0, 1e-9, 1.0).z0;
        const double exact = 30.0 * kPi * ExactEllipticRatio(std::tanh(kPi * wb / 2.0));
        EXPECT_NEAR(z / exact, 1.0, 5e-3) << wb;
    }
    // A thicker strip has more fringing capacitance: the impedance falls.
    double previous = thin;
    for (double t : {0.001, 0.01, 0.05, 0.1, 0.2, 0.3}) {
        const double z = StriplineImpedance(0.5, 1.0, t, 1.0).z0;
        EXPECT_LT(z, previous) << t;
        previous = z;
    }
    // Scaling: Z0 goes as 1/sqrt(Er) and depends on ratios only.
    EXPECT_NEAR(StriplineImpedance(50e-6, 100e-6, 1e-6, 4.0).z0,
                StriplineImpedance(0.5, 1.0, 0.01, 1.0).z0 / 2.0, 1e-10);
}

TEST(StriplineFormulas, WideningTermsServeOnlyTheirOwnStrip) {
    // The first thick section fills the strip's Wheeler terms in; every later
    // section reading them gives the impedance it computes alone, to the bit,
    // and a section of another W or T computes its own.  A thin strip forms
    // no W/T: it fills nothing in and raises no fault.
    StripWidening slot;
    ClearFloatingPointFaults();
    EXPECT_EQ(StriplineImpedanceInAir(0.5, 1.0, 0.0, &slot).z0, StriplineImpedanceInAir(0.5, 1.0, 0.0).z0);
    EXPECT_EQ(RaisedFloatingPointFaults(), 0);
    EXPECT_FALSE(slot.base);
    const struct {
        double w, b, t;
    } sections[] = {{0.5, 1.0, 0.01}, {0.5, 1.3, 0.01}, {0.4, 1.0, 0.01}, {0.5, 1.0, 0.02}, {0.5, 0.7, 0.01}};
    for (const auto& x : sections)
        EXPECT_EQ(StriplineImpedanceInAir(x.w, x.b, x.t, &slot).z0, StriplineImpedanceInAir(x.w, x.b, x.t).z0)
            << x.w << " " << x.b << " " << x.t;
    EXPECT_EQ(slot.w, 0.5);
    EXPECT_EQ(slot.t, 0.01);
}

TEST(StriplineFormulas, OutOfRangeFlagAtTenTimesTheFreeHeight) {
    // (W + dW) / g with g = (B - T)/2 reaches 20 between W = 9.9 and 10 (B = 1,
    // T = 0.01): the impedance is returned all the same.
    const StriplineImpedanceResult inside = StriplineImpedance(9.8, 1.0, 0.01, 1.0);
    const StriplineImpedanceResult outside = StriplineImpedance(10.0, 1.0, 0.01, 1.0);
    EXPECT_FALSE(inside.outOfRange);
    EXPECT_TRUE(outside.outOfRange);
    EXPECT_LT(outside.z0, inside.z0);
    EXPECT_GT(outside.z0, 0.0);
    // The range test alone, which the checks use, says the same on both sides
    // of both limits, thick and thin, and for narrow strips, which it tells
    // without Wheeler's power.
    for (double t : {0.0, 0.01, 0.2})
        for (double w : {0.3, 0.62, 0.97, 1.5, 4.6, 4.7, 9.8, 9.9, 10.0, 12.0})
            EXPECT_EQ(StriplineOutOfRange(w, 1.0, t), StriplineImpedance(w, 1.0, t, 1.0).outOfRange)
                << w << " " << t;
}

TEST(StriplineFormulas, LossFormulas) {
    // Pozar, "Microwave Engineering", example 3.5: B = 3.2 mm, Er = 2.2,
    // tan d = 0.001, 10 GHz: alpha_d = k tan d / 2 = 0.155 Np/m.
    EXPECT_NEAR(StriplineDielectricLoss(10e9, 2.2, 0.001), 0.15540, 5e-5);
    // The same line in copper (5.813e7 S/m), W = 2.66 mm, T = 0.01 mm: Pozar's
    // closed form gives alpha_c = 0.122 Np/m; Wheeler's rule agrees within 3 %.
    const double z0 = StriplineImpedance(2.66e-3, 3.2e-3, 1e-5, 2.2).z0;
    EXPECT_NEAR(z0, 50.0, 1.0);
    const double alphaC = StriplineConductorLoss(z0, 10e9, 2.66e-3, 3.2e-3, 1e-5, 2.2, 5.813e7);
    EXPECT_NEAR(alphaC, 0.122, 0.122 * 0.03);
    // Skin effect: four times the frequency, twice the loss (skin depth well
    // below the thickness; the walls' finite recession keeps it 0.13 % short).
    const double alphaC4 = StriplineConductorLoss(z0, 40e9, 2.66e-3, 3.2e-3, 1e-5, 2.2, 5.813e7);
    EXPECT_NEAR(alphaC4 / alphaC, 2.0, 3e-3);
    // Zero thickness has no finite resistance: the conductor loss is left out.
    const double thin = StriplineImpedance(2.66e-3, 3.2e-3, 0.0, 2.2).z0;
    EXPECT_EQ(StriplineConductorLoss(thin, 10e9, 2.66e-3, 3.2e-3, 0.0, 2.2, 5.813e7), 0.0);
    // Below 1 Hz the loss is the one at 1 Hz.
    EXPECT_EQ(StriplineConductorLoss(z0, 0.25, 2.66e-3, 3.2e-3, 1e-5, 2.2, 5.813e7),
              StriplineConductorLoss(z0, 1.0, 2.66e-3, 3.2e-3, 1e-5, 2.2, 5.813e7));
}

// Thin metal: W = 0.78 mm, B = 1 mm, Er = 2.2, copper (5.8e7 S/m).  The strip's
// DC resistance 1 / (sigma W T) alone loses R / 2 Z0; the loss may not fall
// below it, nor step, as the thickness or the frequency falls.
TEST(StriplineFormulas, ConductorLossNeverBelowTheStripsDcResistance) {
    const double w = 0.78e-3, b = 1e-3, er = 2.2, sigma = 5.8e7;
    auto loss = [&](double t, double f) {
        return StriplineConductorLoss(StriplineImpedance(w, b, t, er).z0, f, w, b, t, er, sigma);
    };
    auto dc = [&](double t) {
        return 1.0 / (sigma * w * t) / (2.0 * StriplineImpedance(w, b, t, er).z0);
    };
    // T = 1 um at 1 GHz (skin depth 2.1 um): 1.853 dB/m from the DC resistance
    // alone, 2.28 dB/m with the current crowded towards the edges and the
    // ground planes' loss.
    EXPECT_NEAR(dc(1e-6) * 8.685889638, 1.8533, 5e-4);
    EXPECT_GT(loss(1e-6, 1e9), 1.15 * dc(1e-6));
    EXPECT_LT(loss(1e-6, 1e9), 1.35 * dc(1e-6));
    // The thinnest strip Wheeler's formula takes, T/B = 1e-9: the DC value.
    EXPECT_NEAR(loss(1e-9 * b, 1e9) / dc(1e-9 * b), 1.0, 1e-3);

    // Thickness sweep from T/B = 1e-9 to 0.25 in 0.5 % steps at 1 GHz: never
    // below DC; while the strip is thinner than the skin depth, thinner means
    // more loss; nowhere a step (a 0.5 % thinner strip loses at most 0.6 % more).
    double previous = 0.0;
    for (double t = 0.25 * b; t >= 1e-9 * b; t /= 1.005) {
        const double a = loss(t, 1e9);
        ASSERT_GE(a, dc(t)) << t;
        if (previous > 0.0) {
            ASSERT_LT(std::fabs(a / previous - 1.0), 6e-3) << t;
            if (t < 2e-6) {
                ASSERT_GT(a, previous) << t;
            }
        }
        previous = a;
    }
    // Frequency sweep for T = 1 um, 1 Hz to 100 GHz in 1 % steps: rising with
    // the frequency from the DC value, smoothly (never faster than f^0.7, a
    // little above the skin effect's f^0.5 while the metal's thickness
    // ceases to matter).
    previous = loss(1e-6, 1.0);
    EXPECT_NEAR(previous / dc(1e-6), 1.0, 1e-5);
    for (double f = 1.01; f < 1e11; f *= 1.01) {
        const double a = loss(1e-6, f);
        ASSERT_GE(a, previous) << f;
        ASSERT_LT(a / previous - 1.0, 7e-3) << f;
        previous = a;
    }
}

TEST(StriplineFormulas, ConductivityFromRelativeResistivity) {
    EXPECT_EQ(StriplineConductivity(1.0), 1.0 / 2.44e-8);
    EXPECT_NEAR(StriplineConductivity(1.0 / (5.8e7 * 2.44e-8)), 5.8e7, 1e-6);
    EXPECT_EQ(StriplineConductivity(1e-9), 0.0);  // perfect conductor
    EXPECT_EQ(StriplineConductivity(0.0), 0.0);
    EXPECT_EQ(StriplineConductivity(-3.0), 0.0);
    EXPECT_GT(StriplineConductivity(1.1e-9), 0.0);
}

TEST(StriplineFormulas, TeCutoff) {
    // Half a wavelength across W + (2 ln2 / pi) B: 50 um and 100 um in
    // Er = 4 cut off at 1.5e8 / (2 * 94.127 um) = 796.80 GHz.
    const double fc = 1.5e8 / (2.0 * (50e-6 + 100e-6 * 2.0 * std::log(2.0) / kPi));
    EXPECT_NEAR(fc, 796.80e9, 0.01e9);
    EXPECT_TRUE(StriplineBelowTeCutoff(fc * (1.0 - 1e-12), 50e-6, 100e-6, 4.0));
    EXPECT_FALSE(StriplineBelowTeCutoff(fc * (1.0 + 1e-12), 50e-6, 100e-6, 4.0));
}

TEST_F(Stripline, AnalyzeShowsImpedanceLossAndPhase) {
    // Pozar's example 3.5 line, in copper.
    Rows(2.66e-3, 3.2e-3, 1e-5);
    sheet.frequency = 10e9;
    sheet.dielConstant = 2.2;
    sheet.lossTangent = 0.001;
    sheet.conductivity = 5.813e7;
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    const double z0 = StriplineImpedance(2.66e-3, 3.2e-3, 1e-5, 2.2).z0;
    EXPECT_EQ(sheet.impedance, z0);
    EXPECT_EQ(sheet.effDielConst, 2.2);
    // The conductor loss uses the conductivity entered, 1 / (Rho 2.44e-8),
    // not 5.88e7 / Rho (which would be 17 % lower here).
    const double alpha = StriplineDielectricLoss(10e9, 2.2, 0.001) +
                         StriplineConductorLoss(z0, 10e9, 2.66e-3, 3.2e-3, 1e-5, 2.2, 5.813e7);
    EXPECT_NEAR(model.Loss(), alpha, alpha * 1e-12);
    EXPECT_NEAR(model.Loss(), 0.155 + 0.122, 0.005);
    EXPECT_NEAR(sheet.lossDecibels, model.Loss() * 8.685889638, 1e-12);
    EXPECT_NEAR(sheet.phaseConstant, 360e10 * std::sqrt(2.2) / 2.997925e8, 1e-8);
    EXPECT_NEAR(sheet.electricalLength, 0.01 * sheet.phaseConstant, 1e-9);
}

TEST_F(Stripline, LosslessConductorAndLowFrequency) {
    Rows(50e-6, 100e-6, 5e-6);
    sheet.lossTangent = 0.002;
    const double dielectric = StriplineDielectricLoss(1e9, 1.0, 0.002);
    for (double sigma : {1e17, -5.8e7}) {  // Rho = 4.1e-10, Rho < 0: perfect conductors
        sheet.conductivity = sigma;
        model.Analyze();
        EXPECT_EQ(model.Loss(), dielectric) << sigma;
    }
    sheet.conductivity = 5.8e7;
    model.Analyze();
    EXPECT_GT(model.Loss(), dielectric);
    // Zero thickness: no conductor loss, the dielectric loss alone.
    Rows(50e-6, 100e-6, 0.0);
    model.Analyze();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_EQ(model.Loss(), dielectric);
    EXPECT_NEAR(sheet.impedance, ExactThinStripImpedance(50e-6, 100e-6, 1.0), 1e-3);
    // Below 1 Hz the line is an RC line: lineconstants_test.cpp.
    EXPECT_TRUE(sheet.errors.empty());
}

TEST_F(Stripline, FatalChecksInOrderWithTheirTexts) {
    Rows(9e-6, 100e-6, 1e-6);
    model.Analyze();
    const double z = sheet.impedance;
    const auto warningsBefore = sheet.warnings;
    ASSERT_EQ(warningsBefore.size(), 2u);  // W/B below 0.1, outside the verified range

    sheet.conductivity = ConductivityFor(411.0);
    sheet.SetRowValue(2, 0.0);  // both wrong: the conductivity is tested first
    EXPECT_EQ(AnalyzeError(), "Conductivity must be >= 1E5 S/m");
    sheet.conductivity = kGoldConductivity;
    EXPECT_EQ(AnalyzeError(), "H must be > 0");
    sheet.SetRowValue(2, 1e-40);
    EXPECT_EQ(AnalyzeError(), "H must be > 0");

    Rows(0.0, 100e-6, 1e-6);
    EXPECT_EQ(AnalyzeError(), "W must be > 0");
    Rows(-50e-6, 100e-6, 1e-6);
    EXPECT_EQ(AnalyzeError(), "W must be > 0");
    Rows(50e-6, 100e-6, -1e-6);
    EXPECT_EQ(AnalyzeError(), "T must be >= 0");

    Rows(50e-6, 100e-6, 40e-6);  // T/B and T/W both wrong: T/B first
    sheet.SetRowValue(1, 30e-6);
    EXPECT_EQ(AnalyzeError(), "(T/H) must be < 0.33");
    Rows(20e-6, 100e-6, 25e-6);
    EXPECT_EQ(AnalyzeError(), "(T/W) must be < 1.00");
    Rows(50e-6, 100e-6, 1e-6);
    sheet.dielConstant = 0.99989;
    EXPECT_EQ(AnalyzeError(), "Er must be >= 1");

    // Nothing was computed or written after a fatal check.
    EXPECT_EQ(sheet.impedance, z);
    EXPECT_EQ(sheet.warnings, warningsBefore);
}

TEST_F(Stripline, BoundaryValuesPassTheChecks) {
    sheet.frequency = 1e6;
    Rows(0.5 * kB, kB, 0.33 * kB);  // T/B = 0.33 exactly
    EXPECT_EQ(AnalyzeError(), "");
    Rows(0.25 * kB, kB, 0.25 * 1.001 * kB);  // T/W = 1.001
    EXPECT_EQ(AnalyzeError(), "");
    Rows(0.5 * kB, kB, 0.0);
    sheet.dielConstant = 0.9999;
    EXPECT_EQ(AnalyzeError(), "");
    sheet.dielConstant = 1.0;
    sheet.conductivity = ConductivityFor(409.99);
    EXPECT_EQ(AnalyzeError(), "");
    sheet.conductivity = ConductivityFor(410.01);
    EXPECT_EQ(AnalyzeError(), "Conductivity must be >= 1E5 S/m");
}

TEST_F(Stripline, WarningsInOrder) {
    // T/B = 0.3, Rho = 200, above the TE cut-off of 79.7 GHz.  Above the
    // cut-off W or B is always longer than a quarter wavelength (0.75 mm
    // here), and those lines come first.
    sheet.frequency = 100e9;
    sheet.conductivity = ConductivityFor(200.0);
    sheet.physicalLength = 1e-3;
    Rows(1e-3, 2e-3, 0.6e-3);
    EXPECT_EQ(AnalyzeError(), "");
    EXPECT_EQ(sheet.warnings, (std::vector<std::string>{
                                  "Warning #1 -> Width (W) is GREATER than quarter-wavelength",
                                  "Warning #2 -> Height (B) is GREATER than quarter-wavelength",
                                  "Warning #3 -> (T/B) Recommended < 0.25",
                                  "Warning #4 -> Rho Recommended <= 100",
                                  "Warning #5 -> Above Cutoff Frequency of Lowest TE Mode",
                                  "Warning #6 -> Closed form not verified here: check with the field solver (F7)",
                              }));
    EXPECT_TRUE(sheet.warningsVisible);

    // A narrow strip, and a wide one beyond Wheeler's range.
    sheet.frequency = 1e9;
    sheet.conductivity = kGoldConductivity;
    Rows(9e-6, 100e-6, 0.0);
    EXPECT_EQ(AnalyzeError(), "");
    EXPECT_EQ(sheet.warnings, (std::vector<std::string>{"Warning #1 -> W/B Recomended >= .1",
                                                        "Warning #2 -> T = 0: conductor loss not included",
                                                        "Warning #3 -> Closed form not verified here: check with the field solver (F7)"}));
    Rows(1e-3, 100e-6, 1e-6);
    EXPECT_EQ(AnalyzeError(), "");
    EXPECT_EQ(sheet.warnings,
              (std::vector<std::string>{"Warning #1 -> Stripline Parameters Out-of-Range: Try reducing W/H",
                                        "Warning #2 -> Closed form not verified here: check with the field solver (F7)"}));
    EXPECT_GT(sheet.impedance, 0.0);
}

TEST_F(Stripline, BoundaryValuesGiveNoWarning) {
    // Rho 100 on strips this small makes an RC line: only the corner's note.
    const std::vector<std::string> corner{"Warning #1 -> below the R = ωL corner: eeff reflects the conductor's internal inductance and resistance"};
    sheet.conductivity = ConductivityFor(99.99);
    Rows(0.1 * kB, kB, 0.025 * kB);  // W/B = 0.1 exactly, T/W = 0.25
    EXPECT_EQ(AnalyzeError(), "");
    EXPECT_EQ(sheet.warnings, corner);
    Rows(0.5 * kB, kB, 0.25 * kB);  // T/B = 0.25 exactly
    EXPECT_EQ(AnalyzeError(), "");
    EXPECT_EQ(sheet.warnings, corner);
    sheet.conductivity = ConductivityFor(100.01);
    EXPECT_EQ(AnalyzeError(), "");
    EXPECT_EQ(sheet.warnings, (std::vector<std::string>{"Warning #1 -> Rho Recommended <= 100", "Warning #2 -> below the R = ωL corner: eeff reflects the conductor's internal inductance and resistance"}));
    EXPECT_TRUE(sheet.warningsVisible);
}

// The round trip of every line is in roundtrip_test.cpp.
TEST_F(Stripline, SynthesisOfAZeroThicknessStripIsCohnsExactOne) {
    sheet.dielConstant = 4.4;
    sheet.conductivity = 5.8e7;
    sheet.lossTangent = 0.02;
    // The zero-thickness strip found for 50 ohms is Cohn's exact one.
    Rows(1e-3, 1.6e-3, 0.0);
    sheet.impedance = 50.0;
    model.Synthesize();
    ASSERT_TRUE(sheet.errors.empty());
    EXPECT_NEAR(ExactThinStripImpedance(sheet.rowValues[0], 1.6e-3, 4.4), 50.0, 50.0 * 3e-6);
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Stripline, SynthesisFailureTexts) {
    Rows(50e-6, 100e-6, 1e-6);
    const double w = sheet.rowValues[0];
    sheet.impedance = 1000.0;  // above the 580 ohms of the narrowest strip
    model.Synthesize();
    ASSERT_EQ(sheet.errors.size(), 1u);
    EXPECT_EQ(sheet.errors[0],
              "No solution for these parameters!\r\rPlease try increase H,decrease Zo,or decrease Er");
    sheet.impedance = 0.5;  // below the 0.94 ohms of the widest strip
    model.Synthesize();
    ASSERT_EQ(sheet.errors.size(), 2u);
    EXPECT_EQ(sheet.errors[1],
              "No solution for these parameters!\r\rPlease try decrease H,increase Zo,or increase Er");
    EXPECT_EQ(sheet.rowValues[0], w);  // the solver wrote nothing

    // The final check still runs: a negative thickness is reported after the solve.
    Rows(50e-6, 100e-6, -1e-6);
    sheet.impedance = 50.0;
    model.Synthesize();
    ASSERT_EQ(sheet.errors.size(), 3u);
    EXPECT_EQ(sheet.errors[2], "T must be >= 0");

    // Every trial fails (square root of a negative Er): a message, no hang.
    Rows(50e-6, 100e-6, 1e-6);
    sheet.dielConstant = -2.0;
    model.Synthesize();
    ASSERT_EQ(sheet.errors.size(), 4u);
    EXPECT_EQ(sheet.errors[3], "Can't find any solution in this range");
    EXPECT_EQ(sheet.busyDepth, 0);
}

TEST_F(Stripline, SettingsSectionRoundTrip) {
    Rows(20e-6, 200e-6, 2e-6);
    sheet.SetRowUnit(3, 4);
    sheet.SelectPhysicalLengthUnit(1);
    sheet.physicalLength = 0.02;
    model.SaveSettings();
    std::vector<std::string> keys;
    for (const auto& e : sheet.settings.Sections().at("Strip Line")) keys.push_back(e.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"Phys Length Unit", "Length", "Width", "Width Unit", "Height",
                                              "Height Unit", "Thickness", "Thickness Unit"}));
    Worksheet other;
    other.settings = sheet.settings;
    StriplineModel restored(other);
    restored.LoadAndSetup();
    EXPECT_EQ(other.rowValues[0], 20e-6);
    EXPECT_EQ(other.rowValues[1], 200e-6);
    EXPECT_EQ(other.rowValues[2], 2e-6);
    EXPECT_EQ(other.rowUnits[2], 4);
    EXPECT_EQ(other.physicalLengthUnit, 1);
    EXPECT_EQ(other.physicalLength, 0.02);
}
