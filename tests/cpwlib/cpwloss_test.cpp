// Dielectric and conductor loss in nepers per metre, through the library's C
// entry point.
#include <gtest/gtest.h>

#include <cmath>

#include "cpwcall.h"

namespace {

// The alumina line at 60 GHz, dispersed.
CpwInputs Line(int ground) { return Alumina(60e9, 1, ground); }

CpwInputs DielectricOnly(CpwInputs in) {
    in.resistivity = 0.0;
    return in;
}

CpwInputs ConductorOnly(CpwInputs in) {
    in.lossTangent = 0.0;
    return in;
}

TEST(CpwLoss, MatchesHighPrecisionEvaluation) {
    // alpha_d (filling factor) and alpha_c (Owyang & Wu) at 30 digits, with
    // eeff at the frequency (reference_values.py).
    struct Case {
        CpwInputs in;
        double dielectric, conductor;
    };
    CpwInputs statics = Line(0);
    statics.frequency = 5e9;
    statics.dispersion = 0;
    const Case cases[] = {
        {statics, 0.050979973004734095, 0.75467786909734625},
        {Line(0), 0.69130438922475723, 2.8410278164782976},
        {Line(1), 0.7126110094026365, 2.9027421541473222},
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
    CpwInputs in = ConductorOnly(Line(0));
    in.dispersion = 0;
    in.frequency = 1e9;
    const double low = CallCpw(in).loss;
    in.frequency = 4e9;
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
    // slot scale; the loss must stay a loss.
    CpwInputs in = ConductorOnly(Line(0));
    in.width = 1e-6;
    in.gap = 50e-6;
    for (double t : {1e-6, 100e-6, 1e-3}) {
        in.thickness = t;
        const CpwOutputs out = CallCpw(in);
        ASSERT_EQ(out.status, QRX_CPW_OK) << t;
        EXPECT_GE(out.loss, 0.0) << t;
    }
}

} // namespace
