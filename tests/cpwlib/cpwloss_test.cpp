// Dielectric and conductor loss in nepers per metre, through the library's C
// entry point.
#include <gtest/gtest.h>

#include <cmath>

#include "cpwcall.h"

namespace {

// The alumina line at 60 GHz, dispersed.
CpwInputs Line(int ground) {
    return Alumina(60e9, 1, ground);
}

CpwInputs DielectricOnly(CpwInputs in) {
    in.resistivity = 0.0;
    return in;
}

CpwInputs ConductorOnly(CpwInputs in) {
    in.lossTangent = 0.0;
    return in;
}

TEST(CpwLoss, MatchesHighPrecisionEvaluation) {
    // alpha_d (filling factor) and alpha_c (Owyang & Wu joined to the DC loss)
    // at 30 digits, with
    // eeff at the frequency (reference_values.py).
    struct Case {
        CpwInputs in;
        double dielectric, conductor;
    };
    CpwInputs statics = Line(0);
    statics.frequency = 5e9;
    statics.dispersion = 0;
    const Case cases[] = {
        {statics, 0.051281609701852116, 0.75761771383144802},
        {Line(0), 0.69410525020055163, 2.8491182385927141},
        {Line(1), 0.71620178613416207, 2.9131805402830499},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(CallCpw(DielectricOnly(c.in)).loss, c.dielectric, 1e-9 * c.dielectric);
        EXPECT_NEAR(CallCpw(ConductorOnly(c.in)).loss, c.conductor, 1e-9 * c.conductor);
        EXPECT_NEAR(CallCpw(c.in).loss, c.dielectric + c.conductor, 1e-9 * c.conductor);
    }
}

TEST(CpwLoss, DoublingConductivityLowersConductorLossBySqrtTwo) {
    for (int ground : {0, 1}) {
        const CpwInputs in = ConductorOnly(Line(ground));
        CpwInputs better = in;
        better.resistivity = in.resistivity / 2.0;
        EXPECT_NEAR(CallCpw(in).loss / CallCpw(better).loss, M_SQRT2, 1e-12);
    }
}

TEST(CpwLoss, DielectricLossIsProportionalToLossTangent) {
    for (int ground : {0, 1}) {
        const CpwInputs in = DielectricOnly(Line(ground));
        for (double factor : {0.1, 2.0, 30.0}) {
            CpwInputs scaled = in;
            scaled.lossTangent = in.lossTangent * factor;
            EXPECT_NEAR(CallCpw(scaled).loss / CallCpw(in).loss, factor, 1e-12 * factor);
        }
    }
}

TEST(CpwLoss, ConductorLossGrowsWithRootFrequencyWithoutDispersion) {
    // From 4 GHz up the skin-effect loss is 20 times the DC loss, whose share
    // (2 exp(-40)) is below double precision.
    CpwInputs in = ConductorOnly(Line(0));
    in.dispersion = 0;
    in.frequency = 4e9;
    const double low = CallCpw(in).loss;
    in.frequency = 16e9;
    EXPECT_NEAR(CallCpw(in).loss / low, 2.0, 1e-12);
}

TEST(CpwLoss, AbsentWhereTheTermHasNoCause) {
    // Each case removes the cause of one term or of both.
    struct Case {
        const char* what;
        double thickness, er, lossTangent, resistivity, frequency;
        bool dielectric, conductor;
    };
    const Case cases[] = {
        {"thin metal", 0.0, 9.8, 5e-4, 0.7, 60e9, true, false},
        {"perfect conductor", 17e-6, 9.8, 5e-4, 0.0, 60e9, true, false},
        {"negative resistivity", 17e-6, 9.8, 5e-4, -1.0, 60e9, true, false},
        {"lossless dielectric", 17e-6, 9.8, 0.0, 0.7, 60e9, false, true},
        {"negative loss tangent", 17e-6, 9.8, -0.01, 0.7, 60e9, false, true},
        {"air", 17e-6, 1.0, 5e-4, 0.7, 60e9, false, true},
        {"direct current", 17e-6, 9.8, 5e-4, 0.7, 0.0, false, false},
    };
    for (const Case& c : cases) {
        CpwInputs in = Line(0);
        in.thickness = c.thickness;
        in.er = c.er;
        in.lossTangent = c.lossTangent;
        in.resistivity = c.resistivity;
        in.frequency = c.frequency;
        const CpwOutputs out = CallCpw(in);
        ASSERT_EQ(out.status, QRX_CPW_OK) << c.what;
        CpwInputs dielectric = in, conductor = in;
        dielectric.resistivity = 0.0;
        conductor.lossTangent = 0.0;
        EXPECT_EQ(CallCpw(dielectric).loss > 0.0, c.dielectric) << c.what;
        EXPECT_EQ(CallCpw(conductor).loss > 0.0, c.conductor) << c.what;
        EXPECT_GE(out.loss, 0.0) << c.what;
    }
}

TEST(CpwLoss, ThickMetalNeverGivesNegativeConductorLoss) {
    // Owyang & Wu's edge terms turn negative when T is hundreds of times the
    // strip (here 10 nm wide); the loss must stay a loss.
    CpwInputs in = ConductorOnly(Line(0));
    in.width = 10e-9;
    in.gap = 50e-6;
    for (double t : {1e-6, 20e-6, 49e-6}) {
        in.thickness = t;
        const CpwOutputs out = CallCpw(in);
        ASSERT_EQ(out.status, QRX_CPW_OK) << t;
        EXPECT_GE(out.loss, 0.0) << t;
    }
}

// Thin gold metal on the window's first-start GaAs line (W 50, G 10,
// H 100 um, Er 12.9), conductor loss alone.
CpwInputs ThinGold(double thickness, double frequency, int ground) {
    CpwInputs in;
    in.width = 50e-6;
    in.gap = 10e-6;
    in.height = 100e-6;
    in.thickness = thickness;
    in.er = 12.9;
    in.frequency = frequency;
    in.groundPlane = ground;
    return in;
}

TEST(CpwLoss, ConductorLossFallsSmoothlyToTheDcLoss) {
    // Sweeps in steps of 5 % in T and 10 % in f, through the crossing of the
    // DC loss rho / (W T) / (2 Z0) and the skin-effect loss (near 1.8 GHz at
    // T = 1 um, 1.3 um at 1 GHz; Owyang & Wu alone fell to 0.72 of the DC
    // loss at 1 GHz and to 0 at low frequency): the loss moves monotonically,
    // by no more than the DC loss itself would (5 %) or the skin effect's
    // root f (4.9 %), plus 1 % for Z0, and never below the DC loss.  At
    // 1 kHz the skin-effect loss is 1e-3 of the DC loss, and the join adds
    // (1e-3)^2 / 3 to it.
    for (int ground : {0, 1}) {
        for (bool overFrequency : {false, true}) {
            double previous = 0.0;
            for (double v = overFrequency ? 1e3 : 10e-9; v <= (overFrequency ? 200e9 : 9.9e-6);
                 v *= overFrequency ? 1.1 : 1.05) {
                const CpwInputs in =
                    overFrequency ? ThinGold(1e-6, v, ground) : ThinGold(v, 1e9, ground);
                const CpwOutputs out = CallCpw(in);
                ASSERT_EQ(out.status, QRX_CPW_OK) << v;
                const double dc = 2.44e-8 / (in.width * in.thickness) / (2.0 * out.impedance);
                EXPECT_GE(out.loss, dc) << v;
                if (previous == 0.0 && overFrequency) {
                    EXPECT_NEAR(out.loss, dc, 1e-6 * dc) << "1 kHz";
                }
                if (previous > 0.0) {
                    const double change = overFrequency ? out.loss / previous : previous / out.loss;
                    EXPECT_GT(change, 1.0) << v;
                    EXPECT_LT(change, 1.06) << v;
                }
                previous = out.loss;
            }
        }
    }
}

} // namespace
