#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/worksheet.h"
#include "cpwlib/qrx_cpw.h"
#include "models/linetypes.h"
#include "models/cpwlinecalc.h"
#include "models/sharedlibrary.h"

namespace {

constexpr double kMm = 1e-3;
constexpr double kUm = 1e-6;
constexpr double kCopper = 5.8e7; // S/m

const char* const kAboveTargetText =
    "No solution for these parameters!\r\rPlease try decrease H,increase Zo,or increase Er";
const char* const kBelowTargetText =
    "No solution for these parameters!\r\rPlease try increase H,decrease Zo,or decrease Er";

struct Geometry {
    double w, g, h, t; // metres
};

// One coplanar model on a Worksheet of its own; `grounded` picks the tab.
struct Line {
    explicit Line(bool grounded)
        : model(grounded ? std::unique_ptr<LineModel>(std::make_unique<GroundedCpwModel>(sheet))
                         : std::make_unique<CpwModel>(sheet)) {
        model->LoadAndSetup();
        sheet.frequency = 1e6;
        sheet.dielConstant = 9.8;
        sheet.lossTangent = 0.0;
        sheet.conductivity = kCopper;
    }
    void Set(const Geometry& g) {
        sheet.SetRowValue(1, g.w);
        sheet.SetRowValue(2, g.g);
        sheet.SetRowValue(3, g.h);
        sheet.SetRowValue(4, g.t);
    }
    // Analyze; the error text, or "" when results were shown.
    std::string Analyze() {
        const std::size_t before = sheet.errors.size();
        model->Analyze();
        return sheet.errors.size() == before ? "" : sheet.errors.back();
    }
    std::string Synthesize() {
        const std::size_t before = sheet.errors.size();
        model->Synthesize();
        return sheet.errors.size() == before ? "" : sheet.errors.back();
    }

    Worksheet sheet;
    std::unique_ptr<LineModel> model;
};

// Behaviour both tabs share, run on each.
struct BothLines : ::testing::TestWithParam<bool> {
    Line line{GetParam()};
};

std::string LineName(const ::testing::TestParamInfo<bool>& info) {
    return info.param ? "GroundedCpw" : "Cpw";
}

// Restores the library's file name however a test ends.
struct LibraryNameGuard {
    explicit LibraryNameGuard(const std::string& replacement) : saved(CpwLibraryFileName()) {
        SetCpwLibraryFileName(replacement);
    }
    ~LibraryNameGuard() { SetCpwLibraryFileName(saved); }
    std::string saved;
};

} // namespace

TEST(CpwSetup, BothTabsShowTheCpwCaptionRowsAndDefaults) {
    for (bool grounded : {false, true}) {
        Worksheet fresh;
        std::unique_ptr<LineModel> m;
        if (grounded)
            m = std::make_unique<GroundedCpwModel>(fresh);
        else
            m = std::make_unique<CpwModel>(fresh);
        m->LoadAndSetup();
        EXPECT_EQ(fresh.caption, "TAVREL 2003 - CPW");
        EXPECT_EQ(m->Title(), "CPW");
        EXPECT_EQ(fresh.rowCount, 4);
        EXPECT_EQ(fresh.rowLabels[0], "Width (W)");
        EXPECT_EQ(fresh.rowLabels[1], "Gap (G)");
        EXPECT_EQ(fresh.rowLabels[2], "Height (H)");
        EXPECT_EQ(fresh.rowLabels[3], "Thickness (T)");
        EXPECT_EQ(fresh.rowValues[0], 0.00005);
        EXPECT_EQ(fresh.rowValues[1], 0.00001);
        EXPECT_EQ(fresh.rowValues[2], 0.0001);
        EXPECT_EQ(fresh.rowValues[3], 0.000001);
        EXPECT_EQ(fresh.modeIndex, -1);
    }
}

// Our own graded-mesh finite-difference solution of the two-dimensional
// quasi-static field (zero-thickness metal, wide grounds, estimated error
// about 0.3 %), evaluated here at 1 MHz where dispersion is negligible.
struct FieldSolution {
    bool grounded;
    Geometry geometry;
    double er, z0, eeff;
};

TEST(CpwAccuracy, ImpedanceWithinTwoPercentOfTheFieldSolution) {
    const FieldSolution cases[] = {
        {false, {0.5 * kMm, 0.1 * kMm, 1 * kMm, 0}, 9.8, 40.49, 5.310},
        {false, {0.2 * kMm, 0.3 * kMm, 1 * kMm, 0}, 2.2, 131.06, 1.590},
        {true, {0.5 * kMm, 0.3 * kMm, 1 * kMm, 0}, 9.8, 51.14, 5.603},
        {true, {1.0 * kMm, 0.3 * kMm, 1 * kMm, 0}, 12.9, 34.43, 7.507},
    };
    for (const FieldSolution& c : cases) {
        Line line(c.grounded);
        line.Set(c.geometry);
        line.sheet.dielConstant = c.er;
        ASSERT_EQ(line.Analyze(), "");
        EXPECT_NEAR(line.sheet.impedance, c.z0, 0.02 * c.z0) << "W = " << c.geometry.w;
        EXPECT_NEAR(line.sheet.effDielConst, c.eeff, 0.02 * c.eeff) << "W = " << c.geometry.w;
    }
}

TEST(CpwAccuracy, ConductorBackingLowersTheImpedanceAndFadesWithHeight) {
    for (double wOverH : {0.2, 1.0, 2.0}) {
        for (double gOverH : {0.1, 0.5, 1.0}) {
            for (double er : {2.2, 13.0}) {
                const Geometry g{wOverH * kMm, gOverH * kMm, 1 * kMm, 2 * kUm};
                Line plain(false), grounded(true);
                for (Line* l : {&plain, &grounded}) {
                    l->Set(g);
                    l->sheet.dielConstant = er;
                    ASSERT_EQ(l->Analyze(), "");
                }
                EXPECT_LT(grounded.sheet.impedance, plain.sheet.impedance)
                    << "W/H " << wOverH << " G/H " << gOverH << " Er " << er;
            }
        }
    }
    // A ground plane 200 slot widths below leaves the CPW as it is.
    Line plain(false), grounded(true);
    for (Line* l : {&plain, &grounded}) {
        l->Set({0.5 * kMm, 0.3 * kMm, 220 * kMm, 0});
        ASSERT_EQ(l->Analyze(), "");
    }
    EXPECT_NEAR(grounded.sheet.impedance / plain.sheet.impedance, 1.0, 1e-3);
}

TEST(CpwAccuracy, TabsDifferOnlyInTheGroundPlaneArgument) {
    // The models' results are exactly the library's for the same arguments:
    // G and H given twice, dispersion on, argument 12 zero, the flag 0 or 1.
    void* handle = LoadSharedLibrary(CpwLibraryFileName());
    ASSERT_NE(handle, nullptr);
    const auto entry =
        reinterpret_cast<QRX_CPW1_Function>(FindSharedLibraryExport(handle, "QRX_CPW1"));
    ASSERT_NE(entry, nullptr);
    const Geometry g{0.3 * kMm, 0.15 * kMm, 0.635 * kMm, 3 * kUm};
    for (int flag : {0, 1}) {
        Line line(flag == 1);
        line.Set(g);
        line.sheet.frequency = 20e9;
        line.sheet.lossTangent = 2e-3;
        ASSERT_EQ(line.Analyze(), "");
        double loss = 0, z = 0, eeff = 0;
        const double rho = 1.0 / (kCopper * 2.44e-8);
        ASSERT_EQ(
            entry(g.g, g.g, g.w, g.h, g.h, g.t, 9.8, 2e-3, rho, 20e9, 1, 0, flag, &loss, &z, &eeff),
            QRX_CPW_OK);
        EXPECT_EQ(line.model->Impedance(), z);
        EXPECT_EQ(line.model->EffDielConst(), eeff);
        EXPECT_EQ(line.model->Loss(), loss);
        EXPECT_EQ(line.sheet.impedance, z);
        EXPECT_DOUBLE_EQ(line.sheet.lossDecibels, loss * 8.685889638);
        // Phase constant from eeff, electrical length over the 10 mm line.
        EXPECT_DOUBLE_EQ(line.sheet.phaseConstant, 360.0 * 20e9 * std::sqrt(eeff) / 2.997925e8);
        EXPECT_DOUBLE_EQ(line.sheet.electricalLength, 0.01 * line.sheet.phaseConstant);
    }
}

TEST_P(BothLines, ConductorLossFallsBySquareRootTwoWithDoubledConductivity) {
    // Metal 30 skin depths thick, where the DC loss's share is below double
    // precision and the skin effect's root of the resistivity holds.
    line.Set({50 * kUm, 30 * kUm, 200 * kUm, 10 * kUm});
    line.sheet.frequency = 40e9; // tan delta 0: conductor loss alone
    ASSERT_EQ(line.Analyze(), "");
    const double copper = line.model->Loss();
    const double z = line.sheet.impedance;
    ASSERT_GT(copper, 0.0);
    line.sheet.conductivity = 2.0 * kCopper;
    ASSERT_EQ(line.Analyze(), "");
    EXPECT_NEAR(copper / line.model->Loss(), std::sqrt(2.0), 1e-12);
    EXPECT_EQ(line.sheet.impedance, z); // conductivity leaves the impedance alone
}

TEST_P(BothLines, DielectricLossIsProportionalToLossTangent) {
    // T = 0: no conductor loss, the whole loss is the dielectric's.
    line.Set({50 * kUm, 30 * kUm, 200 * kUm, 0.0});
    line.sheet.frequency = 10e9;
    ASSERT_EQ(line.Analyze(), "");
    EXPECT_EQ(line.model->Loss(), 0.0);
    line.sheet.lossTangent = 1e-3;
    ASSERT_EQ(line.Analyze(), "");
    const double single = line.model->Loss();
    ASSERT_GT(single, 0.0);
    line.sheet.lossTangent = 4e-3;
    ASSERT_EQ(line.Analyze(), "");
    EXPECT_NEAR(line.model->Loss() / single, 4.0, 1e-12);
    // With metal thickness the dielectric share adds to the conductor loss
    // and still scales with tan delta on its own.
    line.sheet.SetRowValue(4, 2 * kUm);
    std::vector<double> losses;
    for (double tand : {0.0, 1e-3, 3e-3}) {
        line.sheet.lossTangent = tand;
        ASSERT_EQ(line.Analyze(), "");
        losses.push_back(line.model->Loss());
    }
    ASSERT_GT(losses[0], 0.0);
    EXPECT_NEAR((losses[2] - losses[0]) / (losses[1] - losses[0]), 3.0, 1e-9);
}

TEST_P(BothLines, NoSolutionTextsFollowTheSideOfTheTarget) {
    // Above the R = omega L corner (at 1 MHz a narrow strip is an RC line
    // whose impedance reaches any target).
    line.sheet.frequency = 10e9;
    line.sheet.impedance = 500.0; // above the impedance of the narrowest strip, 0.005 H
    EXPECT_EQ(line.Synthesize(), kBelowTargetText);
    line.sheet.impedance = 1.0; // below that of the widest, 20 H
    EXPECT_EQ(line.Synthesize(), kAboveTargetText);
    EXPECT_EQ(line.sheet.rowValues[0], 0.00005);
    EXPECT_EQ(line.sheet.busyDepth, 0);
}

TEST_P(BothLines, BadGeometryEndsInAClearMessage) {
    ASSERT_EQ(line.Analyze(), "");
    const double z = line.sheet.impedance, eeff = line.sheet.effDielConst,
                 db = line.sheet.lossDecibels;
    struct Bad {
        Geometry geometry;
        double er;
        const char* text;
    };
    const Bad cases[] = {
        {{0.0, 10 * kUm, 100 * kUm, 1 * kUm}, 12.9, "W, G and H must be > 0"},
        {{-50 * kUm, 10 * kUm, 100 * kUm, 1 * kUm}, 12.9, "W, G and H must be > 0"},
        {{50 * kUm, 0.0, 100 * kUm, 1 * kUm}, 12.9, "W, G and H must be > 0"},
        {{50 * kUm, 10 * kUm, -100 * kUm, 1 * kUm}, 12.9, "W, G and H must be > 0"},
        {{50 * kUm, 10 * kUm, 100 * kUm, -1 * kUm}, 12.9, "T must be >= 0"},
        {{50 * kUm, 10 * kUm, 100 * kUm, 1 * kUm}, 0.99, "Er must be >= 1"},
        // Metal as thick as the gap fills it.
        {{50 * kUm, 10 * kUm, 100 * kUm, 10 * kUm}, 12.9, "Gap too small for the strip thickness"},
        {{50 * kUm, 1 * kUm, 100 * kUm, 5 * kUm}, 12.9, "Gap too small for the strip thickness"},
    };
    for (const Bad& c : cases) {
        line.Set(c.geometry);
        line.sheet.dielConstant = c.er;
        EXPECT_EQ(line.Analyze(), c.text) << "W " << c.geometry.w << " G " << c.geometry.g;
        // Nothing of the failed call reaches the window or stays in the model.
        EXPECT_EQ(line.sheet.impedance, z);
        EXPECT_EQ(line.sheet.effDielConst, eeff);
        EXPECT_EQ(line.sheet.lossDecibels, db);
        EXPECT_TRUE(std::isfinite(line.model->Impedance()));
        EXPECT_TRUE(std::isfinite(line.model->EffDielConst()));
        EXPECT_TRUE(std::isfinite(line.model->Loss()));
        EXPECT_EQ(line.sheet.busyDepth, 0);
    }
    // Just below the gap the line computes, with a warning beyond T/G = 0.9,
    // where the thick-metal model was not checked against field solutions.
    const auto thickMetalWarned = [&] {
        return std::any_of(line.sheet.warnings.begin(), line.sheet.warnings.end(),
                           [](const std::string& w) { return w.ends_with("(T/G) Recommended <= 0.9"); });
    };
    line.Set({50 * kUm, 10 * kUm, 100 * kUm, 9.9 * kUm});
    line.sheet.dielConstant = 12.9;
    EXPECT_EQ(line.Analyze(), "");
    EXPECT_TRUE(thickMetalWarned());
    line.Set({50 * kUm, 10 * kUm, 100 * kUm, 8 * kUm});
    EXPECT_EQ(line.Analyze(), "");
    EXPECT_FALSE(thickMetalWarned());
}

TEST_P(BothLines, SynthesisNamesTheInputNoWidthCanMend) {
    struct Bad {
        Geometry geometry; // row 1 is left to the synthesis
        double er;
        const char* text;
    };
    const Bad cases[] = {
        {{50 * kUm, 0.0, 100 * kUm, 1 * kUm}, 12.9, "W, G and H must be > 0"},
        {{50 * kUm, 10 * kUm, 0.0, 1 * kUm}, 12.9, "W, G and H must be > 0"},
        {{50 * kUm, 10 * kUm, 100 * kUm, -1 * kUm}, 12.9, "T must be >= 0"},
        {{50 * kUm, 10 * kUm, 100 * kUm, 1 * kUm}, 0.5, "Er must be >= 1"},
        // Closed already at the narrowest strip, 0.5 um: closed at every width.
        {{50 * kUm, 1 * kUm, 100 * kUm, 5 * kUm}, 12.9, "Gap too small for the strip thickness"},
    };
    for (const Bad& c : cases) {
        line.Set(c.geometry);
        line.sheet.dielConstant = c.er;
        line.sheet.impedance = 50.0;
        EXPECT_EQ(line.Synthesize(), c.text);
        EXPECT_EQ(line.sheet.errors.size(), static_cast<std::size_t>(&c - cases + 1));
        EXPECT_EQ(line.sheet.rowValues[0], 50 * kUm);
        EXPECT_EQ(line.sheet.busyDepth, 0);
    }
}

TEST_P(BothLines, SynthesisOnMetalAQuarterOfTheGap) {
    // G = 8 um, T = 2 um: metal below the gap computes at every width of the
    // scan, up to its far end (20 H = 2 mm).
    line.Set({2 * kMm, 8 * kUm, 100 * kUm, 2 * kUm});
    line.sheet.dielConstant = 12.9;
    line.sheet.frequency = 10e9; // above the R = omega L corner
    ASSERT_EQ(line.Analyze(), "");
    line.sheet.impedance = 40.0;
    ASSERT_EQ(line.Synthesize(), "");
    EXPECT_NEAR(line.sheet.impedance, 40.0, 1e-4);
    EXPECT_LT(line.sheet.rowValues[0], 1 * kMm);
}

TEST_P(BothLines, ZeroConductivityIsReportedNotThrown) {
    line.sheet.conductivity = 0.0; // an infinite resistivity
    std::string text;
    EXPECT_NO_THROW(text = line.Analyze());
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(line.sheet.busyDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(Tabs, BothLines, ::testing::Bool(), LineName);

TEST(CpwSettings, EachTabKeepsItsOwnSection) {
    Line plain(false), grounded(true);
    plain.sheet.SetRowValue(2, 20 * kUm);
    plain.sheet.SetRowUnit(2, 1);
    plain.model->SaveSettings();
    const auto& entries = plain.sheet.settings.Sections().at("CPW Line");
    std::vector<std::string> keys;
    for (const auto& e : entries)
        keys.push_back(e.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"Phys Length Unit", "Length", "Width", "Width Unit",
                                              "Gap", "Gap Unit", "Height", "Height Unit",
                                              "Thickness", "Thickness Unit"}));
    EXPECT_EQ(plain.sheet.settings.Sections().count("Grounded CPW Line"), 0u);

    // The grounded tab does not read the CPW tab's section ...
    grounded.sheet.settings = plain.sheet.settings;
    grounded.model->LoadAndSetup();
    EXPECT_EQ(grounded.sheet.rowValues[1], 0.00001);
    EXPECT_EQ(grounded.sheet.rowUnits[1], 0);
    // ... but its own, and the CPW tab restores what it wrote.
    grounded.sheet.settings.Set("Grounded CPW Line", "Thickness", 3e-6);
    grounded.sheet.settings.Set("Grounded CPW Line", "Thickness Unit", 1);
    grounded.model->LoadAndSetup();
    EXPECT_EQ(grounded.sheet.rowValues[3], 3e-6);
    EXPECT_EQ(grounded.sheet.rowUnits[3], 1);
    Line restored(false);
    restored.sheet.settings = plain.sheet.settings;
    restored.model->LoadAndSetup();
    EXPECT_EQ(restored.sheet.rowValues[1], 20 * kUm);
    EXPECT_EQ(restored.sheet.rowUnits[1], 1);
}

TEST(CpwLibraryBinding, FileNameIsCpwForTavrelWithThePlatformSuffix) {
    EXPECT_EQ(CpwLibraryFileName(), SharedLibraryFileName("CPW for Tavrel"));
#if defined(__linux__)
    EXPECT_EQ(CpwLibraryFileName(), "CPW for Tavrel.so");
#endif
}

TEST(CpwLibraryBinding, MissingLibraryRaisesTheLoadErrorAndKeepsTheBinding) {
    Line before(false);
    {
        LibraryNameGuard missing("No such library here.so");
        Worksheet sheet;
        for (bool grounded : {false, true}) {
            try {
                if (grounded)
                    GroundedCpwModel m(sheet);
                else
                    CpwModel m(sheet);
                ADD_FAILURE() << "no error without the library";
            } catch (const std::domain_error& e) {
                EXPECT_STREQ(e.what(), "Could not load CPW for Tavrel.dll");
            }
        }
    }
    // The binding made earlier still serves the model built before.
    EXPECT_EQ(before.Analyze(), "");
    EXPECT_GT(before.sheet.impedance, 0.0);
}

#if defined(__linux__)
TEST(CpwLibraryBinding, LibraryWithoutTheEntryPointStopsAtConstruction) {
    // The C library loads, but has no QRX_CPW1.  A bare name is looked for
    // beside the executable only, so it is named by its full path.
    Dl_info libc{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&::getpid), &libc), 0);
    LibraryNameGuard other(libc.dli_fname);
    Worksheet sheet;
    try {
        CpwModel m(sheet);
        ADD_FAILURE() << "no error without the entry point";
    } catch (const std::domain_error& e) {
        EXPECT_STREQ(e.what(), "CPW for Tavrel.dll has no entry point QRX_CPW1");
    }
}
#endif
