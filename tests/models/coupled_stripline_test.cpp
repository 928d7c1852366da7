#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "exactelliptic.h"
#include "modelfixture.h"
#include "core/worksheet.h"
#include "models/linetypes.h"
#include "models/striplinecalc.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kEta = 376.99111843077515;  // 120 pi

// Cohn 1955, strips of zero thickness: Z = 30 pi K'(k)/K(k) / sqrt(Er) with
// ke = tanh(pi W / 2B) tanh(pi (W + S) / 2B) and ko = tanh(pi W / 2B) / tanh(pi (W + S) / 2B).
double ExactThinEven(double w, double s, double b, double er) {
    const double k = std::tanh(kPi * w / (2.0 * b)) * std::tanh(kPi * (w + s) / (2.0 * b));
    return 30.0 * kPi * ExactEllipticRatio(k) / std::sqrt(er);
}
double ExactThinOdd(double w, double s, double b, double er) {
    const double k = std::tanh(kPi * w / (2.0 * b)) / std::tanh(kPi * (w + s) / (2.0 * b));
    return 30.0 * kPi * ExactEllipticRatio(k) / std::sqrt(er);
}

// Normalized odd-mode capacitance C = eta / (sqrt(Er) Z), in air.
double OddCapacitance(double w, double s, double b, double t) {
    return kEta / CoupledStriplineOddImpedance(w, s, b, t, 1.0);
}

double ConductivityFor(double rho) { return 1.0 / (rho * 2.44e-8); }

using CoupledStripline = ModelFixture<CoupledStriplineModel>;

}  // namespace

TEST_F(CoupledStripline, SetupShowsRowsTitleAndEvenMode) {
    Worksheet fresh;
    CoupledStriplineModel m(fresh);
    m.LoadAndSetup();
    EXPECT_EQ(fresh.caption, "TAVREL 2003 - Strip Coupled Line");
    EXPECT_EQ(fresh.rowCount, 4);
    EXPECT_EQ(fresh.rowLabels[0], "Width (W)");
    EXPECT_EQ(fresh.rowLabels[1], "Gap (S)");
    EXPECT_EQ(fresh.rowLabels[2], "Height (B)");
    EXPECT_EQ(fresh.rowLabels[3], "Thickness (T)");
    EXPECT_EQ(fresh.rowValues[0], 5e-5);
    EXPECT_EQ(fresh.rowValues[1], 5e-5);
    EXPECT_EQ(fresh.rowValues[2], 1e-4);
    EXPECT_EQ(fresh.rowValues[3], 1e-6);
    EXPECT_EQ(fresh.modeIndex, 0);
    // No synthesis: the button does nothing at all.
    m.Synthesize();
    EXPECT_TRUE(fresh.errors.empty());
    EXPECT_EQ(fresh.rowValues[0], 5e-5);
    EXPECT_EQ(fresh.impedance, 50.0);
}

TEST(CoupledStriplineFormulas, ThinStripsAgreeWithCohnsExactFormulas) {
    for (double wb : {0.1, 0.35, 0.5, 1.0, 2.0}) {
        for (double sb : {0.05, 0.2, 0.5, 1.0}) {
            const double w = wb * 1e-4, s = sb * 1e-4;
            EXPECT_NEAR(CoupledStriplineEvenImpedance(w, s, 1e-4, 0.0, 2.2) / ExactThinEven(w, s, 1e-4, 2.2), 1.0,
                        3e-6)
                << wb << " " << sb;
            EXPECT_NEAR(CoupledStriplineOddImpedance(w, s, 1e-4, 0.0, 2.2) / ExactThinOdd(w, s, 1e-4, 2.2), 1.0, 3e-6)
                << wb << " " << sb;
        }
    }
}

TEST(CoupledStriplineFormulas, ModesBracketTheSingleStripAndConvergeToIt) {
    // Zero thickness: both modes tend to Cohn's single strip.
    const double single = StriplineImpedance(0.5, 1.0, 0.0, 1.0).z0;
    double spread = 1e9;
    for (double s : {0.05, 0.1, 0.2, 0.5, 1.0, 2.0}) {
        const double even = CoupledStriplineEvenImpedance(0.5, s, 1.0, 0.0, 1.0);
        const double odd = CoupledStriplineOddImpedance(0.5, s, 1.0, 0.0, 1.0);
        EXPECT_LT(odd, single) << s;
        EXPECT_GT(even, single) << s;
        EXPECT_LT(even - odd, spread) << s;
        spread = even - odd;
    }
    EXPECT_NEAR(CoupledStriplineEvenImpedance(0.5, 3.0, 1.0, 0.0, 1.0) / single, 1.0, 3e-5);
    EXPECT_NEAR(CoupledStriplineOddImpedance(0.5, 3.0, 1.0, 0.0, 1.0) / single, 1.0, 3e-5);
    EXPECT_NEAR(CoupledStriplineEvenImpedance(0.5, 6.0, 1.0, 0.0, 1.0) / single, 1.0, 1e-7);
    EXPECT_NEAR(CoupledStriplineOddImpedance(0.5, 6.0, 1.0, 0.0, 1.0) / single, 1.0, 1e-7);

    // Thick strips (T/B = 0.01): Cohn's fringing forms against Wheeler's single
    // strip, two independent fits that agree within 1 % where both hold (W/B >= 0.35).
    for (double w : {0.35, 0.5, 1.0, 2.0}) {
        const double wheeler = StriplineImpedance(w, 1.0, 0.01, 1.0).z0;
        for (double s : {0.1, 0.3}) {
            EXPECT_LT(CoupledStriplineOddImpedance(w, s, 1.0, 0.01, 1.0), wheeler) << w << " " << s;
            EXPECT_GT(CoupledStriplineEvenImpedance(w, s, 1.0, 0.01, 1.0), wheeler) << w << " " << s;
        }
        EXPECT_NEAR(CoupledStriplineEvenImpedance(w, 5.0, 1.0, 0.01, 1.0) / wheeler, 1.0, 0.01) << w;
        EXPECT_NEAR(CoupledStriplineOddImpedance(w, 5.0, 1.0, 0.01, 1.0) / wheeler, 1.0, 0.01) << w;
    }
}

TEST(CoupledStriplineFormulas, ThinAndThickSwitches) {
    // Even mode switches on T/B < 1e-9, odd mode on T < 1e-9 m.  With B = 10 nm
    // a thickness of 0.5 nm is thick for the even and thin for the odd mode.
    const double w = 5e-9, s = 5e-9, b = 1e-8, t = 5e-10;
    EXPECT_NEAR(CoupledStriplineOddImpedance(w, s, b, t, 1.0) / ExactThinOdd(w, s, b - t, 1.0), 1.0, 3e-6);
    const double thinEven = ExactThinEven(w, s, b - t, 1.0);
    EXPECT_LT(CoupledStriplineEvenImpedance(w, s, b, t, 1.0), thinEven * 0.97);  // thick: more fringing
    // At 1 nm the odd mode is thick as well.
    EXPECT_LT(CoupledStriplineOddImpedance(w, s, b, 1e-9, 1.0), 0.97 * ExactThinOdd(w, s, b - 1e-9, 1.0));
    // T/B = 1e-9 exactly is thick for the even mode (B = 1 m).
    EXPECT_NE(CoupledStriplineEvenImpedance(0.5, 0.5, 1.0, 1e-9, 1.0),
              CoupledStriplineEvenImpedance(0.5, 0.5, 1.0, 0.99e-9, 1.0));
    EXPECT_NEAR(CoupledStriplineEvenImpedance(0.5, 0.5, 1.0, 0.99e-9, 1.0) / ExactThinEven(0.5, 0.5, 1.0, 1.0), 1.0,
                3e-6);
}

// Thick strips against the field solver, 1 % in both modes inside the stated
// range (W/B >= 0.35, T/B <= 0.1).  Source of each row (lengths in mm):
// tavrel-calc fieldsolve coupled-stripline W=.. S=.. B=.. T=.. Er=..
TEST(CoupledStriplineFormulas, ThickStripsAgainstTheFieldSolver) {
    struct Row {
        double w, s, b, t, er, ze, zo;
    };
    const Row rows[] = {
        {0.35, 0.3, 1.0, 0.1, 1.0, 114.87, 77.47}, {0.5, 0.1, 1.0, 0.05, 1.0, 112.62, 56.29},
        {1.0, 0.5, 1.0, 0.02, 2.2, 44.36, 40.14},  {2.0, 0.05, 1.0, 0.1, 1.0, 37.09, 21.72},
        {0.4, 2.0, 1.0, 0.08, 4.4, 45.50, 45.43},  {3.0, 1.0, 1.0, 0.01, 1.0, 27.08, 26.86},
    };
    for (const Row& r : rows) {
        EXPECT_NEAR(CoupledStriplineEvenImpedance(r.w, r.s, r.b, r.t, r.er) / r.ze, 1.0, 0.01) << r.w << " " << r.s;
        EXPECT_NEAR(CoupledStriplineOddImpedance(r.w, r.s, r.b, r.t, r.er) / r.zo, 1.0, 0.01) << r.w << " " << r.s;
    }
}

TEST(CoupledStriplineFormulas, ThickerStripsKeepLoweringBothModes) {
    // No clamp of the thickness: past T/B = 0.25 both modes keep falling.
    for (double s : {0.05, 0.2, 1.0}) {
        EXPECT_LT(CoupledStriplineEvenImpedance(0.5, s, 1.0, 0.3, 1.0),
                  CoupledStriplineEvenImpedance(0.5, s, 1.0, 0.25, 1.0));
        EXPECT_LT(CoupledStriplineOddImpedance(0.5, s, 1.0, 0.3, 1.0),
                  CoupledStriplineOddImpedance(0.5, s, 1.0, 0.25, 1.0));
        EXPECT_GT(CoupledStriplineEvenImpedance(0.5, s, 1.0, 0.3, 1.0),
                  CoupledStriplineOddImpedance(0.5, s, 1.0, 0.3, 1.0));
    }
}

TEST(CoupledStriplineFormulas, NarrowGapTendsToParallelPlates) {
    // A gap much narrower than the strips are thick is a parallel-plate
    // capacitor on each side: the odd capacitance approaches 2 t/S.
    for (double tau : {50.0, 200.0, 1000.0}) {
        const double c = OddCapacitance(1.0, 0.01 / tau, 1.0, 0.01);
        EXPECT_NEAR(c / (2.0 * tau), 1.0, 10.0 / tau) << tau;
    }
}

TEST(CoupledStriplineFormulas, BlendIsContinuousAtItsBorders) {
    const double b = 1.0, t = 0.01, w = 0.5;
    for (double s : {0.35 * w, 0.65 * w, 0.15 * b, 0.35 * b}) {
        const double left = CoupledStriplineOddImpedance(w, s * (1.0 - 1e-9), b, t, 1.0);
        const double right = CoupledStriplineOddImpedance(w, s * (1.0 + 1e-9), b, t, 1.0);
        EXPECT_NEAR(left / right, 1.0, 1e-7) << s;
    }
}

TEST(CoupledStriplineFormulas, CapacitanceFloorBoundsTheImpedance) {
    // A negative gap drives the thick even-mode capacitance below zero; it is
    // raised to 1e-6, so the impedance stops at eta / (sqrt(Er) 1e-6).
    EXPECT_EQ(CoupledStriplineEvenImpedance(0.01, -1.0, 1.0, 0.25, 1.0), kEta / 1e-6);
    EXPECT_EQ(CoupledStriplineEvenImpedance(0.01, -1.0, 1.0, 0.25, 4.0), kEta / (2.0 * 1e-6));
}

TEST(CoupledStriplineFormulas, ConductorLossPerMode) {
    // W = 50 um, S = 10 um, B = 100 um, 5 um copper, 10 GHz.
    const double w = 50e-6, s = 10e-6, b = 100e-6, t = 5e-6, f = 10e9, sigma = 5.8e7;
    const double even = CoupledStriplineEvenImpedance(w, s, b, t, 1.0);
    const double odd = CoupledStriplineOddImpedance(w, s, b, t, 1.0);
    const double alphaEven = CoupledStriplineConductorLoss(CoupledMode::Even, even, f, w, s, b, t, 1.0, sigma);
    const double alphaOdd = CoupledStriplineConductorLoss(CoupledMode::Odd, odd, f, w, s, b, t, 1.0, sigma);
    // Across a narrow gap the odd mode crowds its current into the facing
    // edges: more than twice the even mode's loss here.
    EXPECT_GT(alphaEven, 0.0);
    EXPECT_GT(alphaOdd, 2.0 * alphaEven);
    // Far apart, each mode loses what a single strip loses (Wheeler's rule on
    // Wheeler's impedance), within the 1 % the two impedance fits differ.
    const double single = StriplineImpedance(w, b, t, 1.0).z0;
    const double alphaSingle = StriplineConductorLoss(single, f, w, b, t, 1.0, sigma);
    for (CoupledMode mode : {CoupledMode::Even, CoupledMode::Odd}) {
        const double z = mode == CoupledMode::Even ? CoupledStriplineEvenImpedance(w, 1e-3, b, t, 1.0)
                                                   : CoupledStriplineOddImpedance(w, 1e-3, b, t, 1.0);
        EXPECT_NEAR(CoupledStriplineConductorLoss(mode, z, f, w, 1e-3, b, t, 1.0, sigma) / alphaSingle, 1.0, 0.05);
    }
    // Zero thickness: no loss; below 1 Hz: the loss at 1 Hz.
    const double thin = CoupledStriplineOddImpedance(w, s, b, 0.0, 1.0);
    EXPECT_EQ(CoupledStriplineConductorLoss(CoupledMode::Odd, thin, f, w, s, b, 0.0, 1.0, sigma), 0.0);
    EXPECT_EQ(CoupledStriplineConductorLoss(CoupledMode::Even, even, 0.3, w, s, b, t, 1.0, sigma),
              CoupledStriplineConductorLoss(CoupledMode::Even, even, 1.0, w, s, b, t, 1.0, sigma));
}

// An offset pair's two halves side by side in lanes give each half's own
// impedances and losses, to the bit (and so do a single strip's), also where the halves part at a branch
// (K'/K's branch point, the library's tanh below an edge's x = 1/4); where
// one half would take the thin forms and the other not, the lanes refuse.
TEST(CoupledStriplineFormulas, TwoSpacingsInLanesAreEachSpacingsOwn) {
    struct Row {
        const char* what;
        double w, s, upper, lower, t, sigma;
    };
    const Row rows[] = {
        {"K'/K's branches part", 0.5e-3, 0.2e-3, 1.6e-3, 0.8e-3, 35e-6, 5.8e7},
        {"one edge below x = 1/4", 0.05e-3, 0.2e-3, 0.2e-3, 2e-3, 17e-6, 5.8e7},
        {"the same planes", 0.1e-3, 0.1e-3, 0.3e-3, 0.3e-3, 5e-6, 4.1e7},
        {"zero thickness", 0.5e-3, 0.2e-3, 1.6e-3, 0.8e-3, 0.0, 5.8e7},
        {"lossless", 0.5e-3, 0.2e-3, 1.6e-3, 0.8e-3, 35e-6, 0.0},
    };
    const auto same = [](double a, double b) { return SameBits(a, b); };
    for (const Row& r : rows) {
        const StripSkin skin = r.sigma > 0.0 ? StripSkinOf(10e9, r.t, r.sigma) : StripSkin{};
        StripWidenings lanesStrips, strips;
        const CoupledStriplineModes<Lanes> both = CoupledStriplineImpedancesAndLosses(
            r.w, r.s, Lanes(r.upper, r.lower), r.t, 1.0, skin, r.sigma, lanesStrips);
        for (int lane : {0, 1}) {
            const CoupledStriplineModes<> one = CoupledStriplineImpedancesAndLosses(
                r.w, r.s, lane == 0 ? r.upper : r.lower, r.t, 1.0, skin, r.sigma, strips);
            EXPECT_PRED2(same, both.impedance.even[lane], one.impedance.even) << r.what << lane;
            EXPECT_PRED2(same, both.impedance.odd[lane], one.impedance.odd) << r.what << lane;
            EXPECT_PRED2(same, both.conductorLoss.even[lane], one.conductorLoss.even) << r.what;
            EXPECT_PRED2(same, both.conductorLoss.odd[lane], one.conductorLoss.odd) << r.what;
        }
        // The single strip between the same planes, as an offset strip's halves.
        StripWidenings lanesStrip, strip;
        const Lanes z = StriplineImpedanceInAir(r.w, Lanes(r.upper, r.lower), r.t, &lanesStrip.drawn).z0;
        const Lanes loss = r.sigma > 0.0 ? StriplineConductorLoss(z, skin, r.w, Lanes(r.upper, r.lower),
                                                                  r.t, 1.0, r.sigma, &lanesStrip)
                                         : Lanes(0.0);
        for (int lane : {0, 1}) {
            const double b = lane == 0 ? r.upper : r.lower;
            const double zOne = StriplineImpedanceInAir(r.w, b, r.t, &strip.drawn).z0;
            EXPECT_PRED2(same, z[lane], zOne) << r.what << lane;
            if (r.sigma > 0.0) {
                EXPECT_PRED2(same, loss[lane],
                             StriplineConductorLoss(zOne, skin, r.w, b, r.t, 1.0, r.sigma, &strip))
                    << r.what << lane;
            }
        }
    }
    // T/B = 5e-9 above, 5e-10 below: thick forms in one half, thin in the other.
    StripWidenings strips;
    EXPECT_THROW(CoupledStriplineImpedancesAndLosses(0.5e-3, 0.2e-3, Lanes(1e-3, 1e-2), 5e-12, 1.0,
                                                     StripSkinOf(1e9, 5e-12, 5.8e7), 5.8e7, strips),
                 LanesDisagree);
}

// Thin metal, W = 50 um, S = 10 um, B = 100 um, copper: each strip carries
// the mode current, so neither mode may lose less than the strip's DC
// resistance 1 / (sigma W T) gives, R / 2 Z_mode, and the loss passes to it
// smoothly as T falls (2 % steps from 5 um down to T/B = 1e-9).
TEST(CoupledStriplineFormulas, ThinStripsLoseAtLeastTheirDcResistance) {
    const double w = 50e-6, s = 10e-6, b = 100e-6, sigma = 5.8e7;
    for (CoupledMode mode : {CoupledMode::Even, CoupledMode::Odd}) {
        auto z = [&](double t) {
            return mode == CoupledMode::Even ? CoupledStriplineEvenImpedance(w, s, b, t, 2.2)
                                             : CoupledStriplineOddImpedance(w, s, b, t, 2.2);
        };
        auto loss = [&](double t, double f) {
            return CoupledStriplineConductorLoss(mode, z(t), f, w, s, b, t, 2.2, sigma);
        };
        double previous = 0.0;
        for (double t = 5e-6; t >= 1e-9 * b; t /= 1.02) {
            const double a = loss(t, 10e9), dc = 1.0 / (sigma * w * t) / (2.0 * z(t));
            ASSERT_GE(a, dc) << t;
            if (previous > 0.0) {
                ASSERT_LT(std::fabs(a / previous - 1.0), 0.03) << t;
            }
            previous = a;
        }
        // At low frequency the current spreads evenly: the DC value itself.
        EXPECT_NEAR(loss(1e-6, 1e3) * 2.0 * z(1e-6) * sigma * w * 1e-6, 1.0, 1e-3);
    }
}

// Strips wider than about 4.5 B reach the clamp of the elliptic modulus: the
// impedance stops changing, and the out-of-range flag says so.
TEST(CoupledStriplineFormulas, OutOfRangeWhereTheModulusClampFreezesTheImpedance) {
    for (CoupledMode mode : {CoupledMode::Even, CoupledMode::Odd}) {
        for (double t : {0.0, 0.01}) {
            auto z = [&](double w) {
                return mode == CoupledMode::Even
                           ? CoupledStriplineEvenImpedance(w, 0.05, 1.0, t, 1.0)
                           : CoupledStriplineOddImpedance(w, 0.05, 1.0, t, 1.0);
            };
            // Thin strips freeze outright; thick ones carry frozen thin parts
            // (the pair's and the single strip's) and are flagged with them.
            for (double w = 2.0; w < 8.0; w += 0.01) {
                const bool frozen = z(w) == z(w + 0.01) ||
                                    (t > 0.0 && (CoupledStriplineOutOfRange(mode, w, 0.05, 1.0, 0.0) ||
                                                 StriplineImpedance(w, 1.0, 0.0, 1.0).outOfRange));
                ASSERT_EQ(CoupledStriplineOutOfRange(mode, w, 0.05, 1.0, t), frozen)
                    << w << " " << t;
            }
        }
    }
}

TEST_F(CoupledStripline, AnalyzeSelectedMode) {
    Rows(50e-6, 10e-6, 100e-6, 5e-6);
    sheet.frequency = 10e9;
    sheet.dielConstant = 2.2;
    sheet.lossTangent = 0.001;
    sheet.conductivity = 5.8e7;
    const double dielectric = StriplineDielectricLoss(10e9, 2.2, 0.001);

    EXPECT_EQ(AnalyzeError(), "");
    const double even = CoupledStriplineEvenImpedance(50e-6, 10e-6, 100e-6, 5e-6, 2.2);
    EXPECT_EQ(sheet.impedance, even);
    EXPECT_EQ(sheet.effDielConst, 2.2);
    // The conductor loss uses the conductivity entered (1 / (Rho 2.44e-8)).
    const double alphaEven = dielectric + CoupledStriplineConductorLoss(CoupledMode::Even, even, 10e9, 50e-6,
                                                                        10e-6, 100e-6, 5e-6, 2.2, 5.8e7);
    EXPECT_NEAR(model.Loss(), alphaEven, alphaEven * 1e-12);
    EXPECT_NEAR(sheet.phaseConstant, 360e10 * std::sqrt(2.2) / 2.997925e8, 1e-8);

    for (int mode : {1, 2}) {  // every mode but 0 is the odd one
        sheet.modeIndex = mode;
        EXPECT_EQ(AnalyzeError(), "");
        EXPECT_EQ(sheet.impedance, CoupledStriplineOddImpedance(50e-6, 10e-6, 100e-6, 5e-6, 2.2));
        EXPECT_GT(model.Loss(), alphaEven);
    }
}

TEST_F(CoupledStripline, LosslessConductorsThinStripsAndLowFrequency) {
    Rows(50e-6, 50e-6, 100e-6, 5e-6);
    sheet.lossTangent = 0.002;
    const double dielectric = StriplineDielectricLoss(1e9, 1.0, 0.002);
    for (double sigma : {1e17, -5.8e7}) {  // Rho below 1e-9, or negative: no conductor loss
        sheet.conductivity = sigma;
        EXPECT_EQ(AnalyzeError(), "");
        EXPECT_EQ(model.Loss(), dielectric) << sigma;
    }
    sheet.conductivity = 5.8e7;
    Rows(50e-6, 50e-6, 100e-6, 0.0);
    for (int mode : {0, 1}) {
        sheet.modeIndex = mode;
        EXPECT_EQ(AnalyzeError(), "");
        EXPECT_EQ(model.Loss(), dielectric) << mode;
    }
    // Below 1 Hz the line is an RC line: lineconstants_test.cpp.
}

TEST_F(CoupledStripline, WarningsInOrder) {
    // T/B = 0.3, W/B = 0.2, Er = 20, Rho = 200: all five, numbered in order.
    Rows(20e-6, 50e-6, 100e-6, 30e-6);
    sheet.dielConstant = 20.0;
    sheet.conductivity = ConductivityFor(200.0);
    EXPECT_EQ(AnalyzeError(), "");
    EXPECT_EQ(sheet.warnings, (std::vector<std::string>{
                                  "Warning #1 -> (T/B) must be <= 0.25",
                                  "Warning #2 -> (T/B) Recommended <= 0.1",
                                  "Warning #3 -> (W/B) Recommended >= 0.35",
                                  "Warning #4 -> Er Recommended <= 16",
                                  "Warning #5 -> Rho Recommended <= 100",
                                  "Warning #6 -> below the R = ωL corner: eeff reflects the conductor's internal inductance and resistance",
                                  "Warning #7 -> Closed form not verified here: check with the field solver (F7)",
                              }));
    EXPECT_TRUE(sheet.warningsVisible);
    // Computed as it is, not frozen at T = B/4.
    const double z = sheet.impedance;
    Rows(20e-6, 50e-6, 100e-6, 25e-6);
    EXPECT_EQ(AnalyzeError(), "");
    EXPECT_GT(sheet.impedance, z);

    // Boundaries: W/B = 0.35, T/B = 0.1, Er = 16, Rho = 99.99 give nothing;
    // T/B = 0.25 only the recommendation.
    constexpr double kB = 0.0001220703125;  // 2^-13 m: exact ratios
    sheet.dielConstant = 16.0;
    sheet.conductivity = ConductivityFor(99.99);
    Rows(0.35 * kB, 0.5 * kB, kB, 0.1 * kB);
    EXPECT_EQ(AnalyzeError(), "");
    // Rho 100 on strips this small makes an RC line: only the corner's note.
    EXPECT_EQ(sheet.warnings, (std::vector<std::string>{"Warning #1 -> below the R = ωL corner: eeff reflects the conductor's internal inductance and resistance"}));
    Rows(0.35 * kB, 0.5 * kB, kB, 0.25 * kB);
    EXPECT_EQ(AnalyzeError(), "");
    EXPECT_EQ(sheet.warnings, (std::vector<std::string>{"Warning #1 -> (T/B) Recommended <= 0.1",
                                                        "Warning #2 -> below the R = ωL corner: eeff reflects the conductor's internal inductance and resistance",
                                                        "Warning #3 -> Closed form not verified here: check with the field solver (F7)"}));
    // Only the odd modulus is clamped at W/B = 4.4, S/B = 0.05: the even mode
    // shown warns all the same, for both are computed and shown together.
    sheet.modeIndex = 0;
    Rows(4.4 * kB, 0.05 * kB, kB, 0.01 * kB);
    ASSERT_FALSE(CoupledStriplineOutOfRange(CoupledMode::Even, 4.4 * kB, 0.05 * kB, kB, 0.01 * kB));
    ASSERT_TRUE(CoupledStriplineOutOfRange(CoupledMode::Odd, 4.4 * kB, 0.05 * kB, kB, 0.01 * kB));
    EXPECT_EQ(AnalyzeError(), "");
    EXPECT_EQ(sheet.warnings,
              (std::vector<std::string>{"Warning #1 -> Stripline Parameters Out-of-Range: Try reducing W/H",
                                        "Warning #2 -> below the R = ωL corner: eeff reflects the conductor's internal inductance and resistance",
                                        "Warning #3 -> Closed form not verified here: check with the field solver (F7)"}));
}

TEST_F(CoupledStripline, GeometryWithoutALineIsAnError) {
    Rows(50e-6, 50e-6, 100e-6, 1e-6);
    EXPECT_EQ(AnalyzeError(), "");
    const double z = sheet.impedance;
    Rows(50e-6, 50e-6, 0.0, 1e-6);
    EXPECT_EQ(AnalyzeError(), "H must be > 0");
    Rows(0.0, 50e-6, 100e-6, 1e-6);
    EXPECT_EQ(AnalyzeError(), "W must be > 0");
    Rows(50e-6, 50e-6, 100e-6, -1e-6);
    EXPECT_EQ(AnalyzeError(), "T must be >= 0");
    for (int mode : {0, 1}) {
        sheet.modeIndex = mode;
        Rows(50e-6, 0.0, 100e-6, 1e-6);
        EXPECT_EQ(AnalyzeError(), "S must be > 0");
    }
    EXPECT_EQ(sheet.impedance, z);
    // A negative Er ends in the math library's text, not a crash.
    Rows(50e-6, 50e-6, 100e-6, 1e-6);
    sheet.dielConstant = -1.0;
    EXPECT_EQ(AnalyzeError().rfind("Math Library Error", 0), 0u);
}

TEST_F(CoupledStripline, SettingsSectionRoundTrip) {
    Rows(20e-6, 30e-6, 200e-6, 2e-6);
    sheet.SetRowUnit(2, 1);
    sheet.SetRowUnit(4, 4);
    sheet.physicalLength = 0.02;
    model.SaveSettings();
    std::vector<std::string> keys;
    for (const auto& e : sheet.settings.Sections().at("Coupled Strip Line")) keys.push_back(e.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"Phys Length Unit", "Length", "Width", "Width Unit", "Gap",
                                              "Gap Unit", "Height", "Height Unit", "Thickness", "Thickness Unit"}));
    Worksheet other;
    other.settings = sheet.settings;
    CoupledStriplineModel restored(other);
    restored.LoadAndSetup();
    EXPECT_EQ(other.rowValues[0], 20e-6);
    EXPECT_EQ(other.rowValues[1], 30e-6);
    EXPECT_EQ(other.rowValues[2], 200e-6);
    EXPECT_EQ(other.rowValues[3], 2e-6);
    EXPECT_EQ(other.rowUnits[1], 1);
    EXPECT_EQ(other.rowUnits[3], 4);
    EXPECT_EQ(other.physicalLength, 0.02);
    EXPECT_EQ(other.modeIndex, 0);
}
