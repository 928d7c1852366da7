// Metal thickness and dispersion, through the library's C entry point.
#include <gtest/gtest.h>

#include <cmath>

#include "cpwcall.h"

namespace {

TEST(CpwThickness, MatchesHighPrecisionEvaluation) {
    // Gupta et al. thickness correction at 30 digits (reference_values.py,
    // "cpw static thick metal", "cpw window defaults", "cpw-ground window defaults").
    const CpwOutputs cpw = CallCpw(Alumina(5e9, 0, 0));
    EXPECT_NEAR(cpw.impedance, 47.8410560452552, 1e-9 * 47.8);
    EXPECT_NEAR(cpw.eeff, 4.8470206132416595, 1e-9 * 4.8);

    CpwInputs defaults; // the window's first-start rows, GaAs, 10 GHz
    defaults.width = 50e-6;
    defaults.gap = 10e-6;
    defaults.height = 100e-6;
    defaults.thickness = 1e-6;
    defaults.er = 12.9;
    defaults.lossTangent = 0.001;
    defaults.frequency = 10e9;
    const CpwOutputs small = CallCpw(defaults);
    EXPECT_NEAR(small.impedance, 33.082894450792549, 1e-9 * 33.1);
    EXPECT_NEAR(small.eeff, 6.4435285704454126, 1e-9 * 6.4);
    const CpwOutputs backed = CallCpw(Grounded(defaults));
    EXPECT_NEAR(backed.impedance, 31.831506407659046, 1e-9 * 31.8);
    EXPECT_NEAR(backed.eeff, 6.6867150625913997, 1e-9 * 6.7);
}

TEST(CpwThickness, ThickerMetalLowersImpedanceAndEeff) {
    for (int ground : {0, 1}) {
        CpwInputs in = Alumina(1e6, 1, ground);
        in.thickness = 0.0;
        double z0 = INFINITY, eeff = INFINITY;
        for (double t : {0.0, 1e-9, 1e-6, 10e-6, 30e-6}) {
            in.thickness = t;
            const CpwOutputs out = CallCpw(in);
            ASSERT_EQ(out.status, QRX_CPW_OK) << t;
            EXPECT_LT(out.impedance, z0) << "T " << t;
            EXPECT_LT(out.eeff, eeff) << "T " << t;
            z0 = out.impedance;
            eeff = out.eeff;
        }
    }
}

TEST(CpwThickness, VanishingThicknessJoinsTheThinLine) {
    // The correction grows like T ln(1/T): T = 1e-15 m is the T = 0 line.
    for (int ground : {0, 1}) {
        CpwInputs in = Alumina(1e6, 0, ground);
        in.thickness = 0.0;
        const CpwOutputs thin = CallCpw(in);
        in.thickness = 1e-15;
        const CpwOutputs almost = CallCpw(in);
        EXPECT_NEAR(almost.impedance, thin.impedance, 1e-9 * thin.impedance);
        EXPECT_NEAR(almost.eeff, thin.eeff, 1e-9 * thin.eeff);
    }
}

TEST(CpwDispersion, MatchesHighPrecisionEvaluation) {
    // Frankel et al. at 60 GHz, 30 digits (reference_values.py,
    // "cpw 60 GHz dispersed", "cpw-ground 60 GHz dispersed").
    const CpwOutputs cpw = CallCpw(Alumina(60e9, 1, 0));
    EXPECT_NEAR(cpw.impedance, 44.022784554711163, 1e-9 * 44.0);
    EXPECT_NEAR(cpw.eeff, 5.7242865187394352, 1e-9 * 5.7);
    const CpwOutputs backed = CallCpw(Alumina(60e9, 1, 1));
    EXPECT_NEAR(backed.impedance, 41.666987371511953, 1e-9 * 41.7);
    EXPECT_NEAR(backed.eeff, 5.9756797051985905, 1e-9 * 5.98);
}

TEST(CpwDispersion, EeffRisesFromStaticValueTowardsEr) {
    for (int ground : {0, 1}) {
        const CpwOutputs statics = CallCpw(Alumina(1e9, 0, ground));
        double previous = statics.eeff;
        // fTE = c / (4 H sqrt(er - 1)) = 39.9 GHz for this substrate
        for (double f : {1e3, 1e9, 10e9, 40e9, 100e9, 1e12, 1e15}) {
            const CpwOutputs out = CallCpw(Alumina(f, 1, ground));
            ASSERT_EQ(out.status, QRX_CPW_OK) << f;
            EXPECT_GE(out.eeff, previous) << "f " << f;
            EXPECT_LT(out.eeff, 9.8) << "f " << f;
            // Z0 sqrt(eeff) (the inverse of the capacitance) does not disperse
            EXPECT_NEAR(out.impedance * std::sqrt(out.eeff),
                        statics.impedance * std::sqrt(statics.eeff), 1e-12 * 200.0);
            previous = out.eeff;
        }
        EXPECT_NEAR(previous, 9.8, 1e-6) << "far above fTE";
        EXPECT_NEAR(CallCpw(Alumina(1e3, 1, ground)).eeff, statics.eeff, 1e-12);
    }
}

TEST(CpwDispersion, StaticCallIgnoresFrequency) {
    for (int ground : {0, 1}) {
        const CpwOutputs low = CallCpw(Alumina(1e6, 0, ground));
        const CpwOutputs high = CallCpw(Alumina(100e9, 0, ground));
        EXPECT_EQ(low.impedance, high.impedance);
        EXPECT_EQ(low.eeff, high.eeff);
    }
}

TEST(CpwDispersion, NoneForAirOrWithoutFrequency) {
    // Er = 1 has no TE cut-off (sqrt(er - 1) = 0); f <= 0 has no dispersion.
    CpwInputs air = Alumina(100e9, 1, 0);
    air.er = 1.0;
    EXPECT_EQ(CallCpw(air).eeff, 1.0);
    for (double f : {0.0, -5e9}) {
        const CpwOutputs out = CallCpw(Alumina(f, 1, 0));
        ASSERT_EQ(out.status, QRX_CPW_OK);
        EXPECT_EQ(out.eeff, CallCpw(Alumina(1e9, 0, 0)).eeff);
        EXPECT_EQ(out.loss, 0.0);
    }
}

} // namespace
