// The roughness factor and the wideband dielectric.
#include <gtest/gtest.h>

#include <cmath>

#include "core/lossparts.h"
#include "core/materialmodels.h"
#include "core/roughness.h"
#include "core/widebanddielectric.h"
#include "numeric/tpexceptions.h"

namespace {

TEST(RoughnessFactor, RisesFromOneForSmoothToTwoForVeryRoughCopper) {
    const double delta = 2e-6;
    for (const RoughnessModel& model : RoughnessModels()) {
        const char* name = model.name;
        EXPECT_EQ(RoughnessFactor(model, 0.0, delta), 1.0) << name;
        EXPECT_NEAR(RoughnessFactor(model, 1e-3 * delta, delta), 1.0, 1e-5) << name;
        EXPECT_NEAR(RoughnessFactor(model, 1e3 * delta, delta), 2.0, 1e-5) << name;
        // The edges: f = 0 (infinite skin depth), a perfect conductor, and
        // ratios far past where the formulas' powers would overflow.
        EXPECT_EQ(RoughnessFactor(model, 1e-6, INFINITY), 1.0) << name;
        EXPECT_EQ(RoughnessFactor(model, 1e-6, 0.0), 2.0) << name;
        EXPECT_EQ(RoughnessFactor(model, 1e-300, 1.0), 1.0) << name;
        EXPECT_EQ(RoughnessFactor(model, 1.0, 1e-300), 2.0) << name;
        double previous = 1.0;
        for (double ratio = 0.1; ratio < 20.0; ratio *= 1.5) {
            const double k = RoughnessFactor(model, ratio * delta, delta);
            EXPECT_GT(k, previous) << name << " ratio " << ratio;
            previous = k;
        }
        EXPECT_THROW(RoughnessFactor(model, -1e-6, delta), TP_Exceptions) << name;
        EXPECT_THROW(RoughnessFactor(model, NAN, delta), TP_Exceptions) << name;
    }
    // Delta = delta: 1 + (2/pi) atan(1.4) and 1 + exp(-0.5^1.6), evaluated
    // in double precision with Python's math module.
    EXPECT_NEAR(RoughnessFactor(*FindRoughnessModel("hammerstad"), delta, delta), 1.6051369134225069,
                1e-15);
    EXPECT_NEAR(RoughnessFactor(*FindRoughnessModel("groiss"), delta, delta), 1.7190121825285036, 1e-15);
}

// Settings name a model; older files give its index; anything else is none.
TEST(MaterialModelTables, SettingsReadByNameOrByTheIndexOlderFilesWrote) {
    EXPECT_EQ(RoughnessModelOfSetting("Groiss"), FindRoughnessModel("groiss"));
    EXPECT_EQ(RoughnessModelOfSetting("0"), FindRoughnessModel("hammerstad"));
    EXPECT_EQ(DielectricModelOfSetting("1"), FindDielectricModel("djsarkar"));
    EXPECT_EQ(DielectricModelOfSetting("Constant"), ConstantDielectric());
    for (const char* unknown : {"2", "-1", "1x", "groiss", ""})
        EXPECT_EQ(RoughnessModelOfSetting(unknown), nullptr) << unknown;
    EXPECT_EQ(KeywordList(RoughnessModels(), true), "hammerstad or groiss");
    EXPECT_EQ(KeywordList(DielectricModels(), false), "constant|djsarkar");
}

TEST(RoughnessFactor, NoteNamesTheRoughnessOnlyWhenInEffect) {
    LineInputs in;
    in.f = 1e9;
    in.rho = 1.0;
    EXPECT_EQ(RoughnessNote(in), "");
    in.rough = 1.5e-6;
    in.roughModel = FindRoughnessModel("groiss");
    const std::string note = RoughnessNote(in);
    EXPECT_NE(note.find("1.5 um RMS (Groiss)"), std::string::npos) << note;
}

// The status line, copied text, sweep header and titles all say it this way.
TEST(MaterialModelsText, NamesOnlyTheModelsInEffect) {
    LineInputs in;
    in.er = 4.04;
    EXPECT_EQ(MaterialModelsText(in), "");
    in.dkModel = FindDielectricModel("djsarkar");
    in.fRef = 2e9;
    EXPECT_EQ(MaterialModelsText(in), "Djordjevic-Sarkar wideband, Er 4.04 at 2 GHz");
    in.rough = 1.5e-6;
    in.roughModel = FindRoughnessModel("groiss");
    in.fRef = 500e3;
    EXPECT_EQ(MaterialModelsText(in),
              "Roughness 1.5 \u00b5m (Groiss); Djordjevic-Sarkar wideband, Er 4.04 at 500 KHz");
    in.dkModel = ConstantDielectric();
    in.rough = NAN; // a sweep's
    EXPECT_EQ(MaterialModelsText(in), "Roughness swept (Groiss)");
}

// FR-4 as Er 4.3, tand 0.02 at 1 GHz, poles 1 kHz to 1 THz.  References:
// the model's formula with the full omegas, evaluated with Python's cmath.
TEST(DjordjevicSarkar, HoldsTheGivenValuesAtTheReferenceAndFallsWithFrequency) {
    const DjordjevicSarkar fr4(4.3, 0.02, 1e9, 1e3, 1e12);
    const std::complex<double> atRef = fr4.Permittivity(1e9);
    EXPECT_NEAR(atRef.real(), 4.3, 1e-13);
    EXPECT_NEAR(-atRef.imag() / atRef.real(), 0.02, 1e-15);
    EXPECT_NEAR(fr4.EpsInfinity(), 3.9215640429512675, 1e-12);
    EXPECT_NEAR(fr4.DeltaEps(), 1.1353077889700018, 1e-12);
    const struct {
        double f, er, tand;
    } spots[] = {{1e6, 4.678435874872537, 0.01838221198283348},
                 {1e7, 4.552290592107864, 0.01890231103959611},
                 {1e10, 4.1738574017960275, 0.020486327492413213},
                 {2e10, 4.135892095286114, 0.02054195227958881}};
    double previous = INFINITY;
    for (const auto& s : spots) {
        const std::complex<double> eps = fr4.Permittivity(s.f);
        EXPECT_NEAR(eps.real(), s.er, 1e-12) << s.f;
        EXPECT_NEAR(-eps.imag() / eps.real(), s.tand, 1e-14) << s.f;
        EXPECT_LT(eps.real(), previous);
        previous = eps.real();
    }
    // DC: the static value, no loss.
    EXPECT_NEAR(fr4.Permittivity(0.0).real(), fr4.EpsInfinity() + fr4.DeltaEps(), 1e-12);
    EXPECT_EQ(fr4.Permittivity(0.0).imag(), 0.0);
    // A loss-free dielectric does not disperse.
    EXPECT_NEAR(DjordjevicSarkar(2.2, 0.0, 1e9, 1e3, 1e12).Permittivity(1e11).real(), 2.2, 1e-15);

    EXPECT_THROW(DjordjevicSarkar(4.3, 0.02, 0.0, 1e3, 1e12), TP_Exceptions);
    EXPECT_THROW(DjordjevicSarkar(4.3, 0.02, 1e9, 1e12, 1e3), TP_Exceptions);
    EXPECT_THROW(DjordjevicSarkar(4.3, 0.02, 1e9, 0.0, 1e12), TP_Exceptions);
}

TEST(DjordjevicSarkar, AtFrequencyAppliesTheModelOnceAndOnlyWhenChosen) {
    LineInputs in;
    in.er = 4.3;
    in.tand = 0.02;
    in.f = 1e10;
    const LineInputs constant = AtFrequency(in);
    EXPECT_EQ(constant.er, 4.3);
    EXPECT_EQ(constant.tand, 0.02);
    in.dkModel = FindDielectricModel("djsarkar");
    const LineInputs once = AtFrequency(in);
    EXPECT_NEAR(once.er, 4.1738574017960275, 1e-12);
    const LineInputs twice = AtFrequency(once);
    EXPECT_EQ(twice.er, once.er);
    EXPECT_EQ(twice.tand, once.tand);
    // tand 0.5 given at 1 GHz: eps' would be negative by 1 THz.
    in.tand = 0.5;
    in.f = 1e12;
    EXPECT_THROW(AtFrequency(in), TP_Exceptions);
}

} // namespace
