// The solves that need no mesh, and the cross-sections the solver refuses.
#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include <cmath>
#include <numbers>

#include "fieldsolver/fieldsolver.h"
#include "fieldsolver/linesection.h"

using namespace fieldsolver;

TEST(FieldSolverInputs, CoaxIsExactAndOnlyTheLinesItCannotDescribeHaveNoCrossSection) {
    // Z0 = eta0 / (2 pi sqrt(Er)) ln(Do/Di), eta0 = mu0 c = 376.730313... ohms.
    const SolveResult coax = Solve(LineSection("coax", {1000, 2300}, 2.1));
    ASSERT_EQ(coax.status, SolveStatus::Ok);
    EXPECT_TRUE(coax.exact);
    ASSERT_EQ(coax.modes.size(), 1u);
    EXPECT_NEAR(coax.modes[0].impedance_ohm,
                376.730313461 / (2 * std::numbers::pi) / std::sqrt(2.1) * std::log(2.3), 1e-9);
    EXPECT_EQ(coax.modes[0].eeff, 2.1);

    // The slotline and the waveguide are not quasi-TEM; the twisted pair's
    // round, twisted wires are no rectangles.
    const std::set<std::string_view> none{"slotline", "waveguide", "twisted-pair"};
    for (const LineType& type : LineTypes())
        EXPECT_EQ(type.crossSection == nullptr, none.count(type.cliName) == 1) << type.cliName;
}

TEST(FieldSolver, RefusesCrossSectionsItCannotMesh) {
    const struct {
        CrossSection section;
        const char* message;
    } cases[] = {
        {LineSection("microstrip", {0, 100, 0}, 4), "dimensions must be finite"},
        {LineSection("microstrip", {50, 100, -1}, 4), "dimensions must be finite"},
        {LineSection("cpw", {50, NAN, 100, 0}, 4), "dimensions must be finite"},
        {LineSection("coupled-microstrip", {50, 0, 100, 0}, 4), "strips of a pair must not touch"},
        {LineSection("stripline", {50, 100, 100}, 4), "metal must lie between the ground planes"},
        {LineSection("stripline", {50, 100, 0}, 0.5), "Er must be >= 1"},
        {LineSection("coax", {2e3, 1e3}, 1), "capacitance must be finite and positive"},
        {LineSection("microstrip", {1.7e308, 1e-3, 0}, 4, 1.0), "far boundary overflows"},
        {LineSection("cpw", {1.7e308, 1e-3, 1.7e308, 0}, 4, 1.0), "far boundary overflows"},
    };
    for (const auto& c : cases) {
        const SolveResult r = Solve(c.section);
        EXPECT_EQ(r.status, SolveStatus::InvalidInput) << c.message;
        EXPECT_NE(r.message.find(c.message), std::string::npos) << c.message << ": " << r.message;
    }
}

TEST(FieldSolver, RefusesMeshesDoublesCannotResolveBeforeMeshing) {
    const struct {
        CrossSection section;
        const char* message;
    } cases[] = {
        // Subnormal geometry: no relative precision left (found by fuzzing).
        {LineSection("cpw-ground", {1.3e-319, 1.3e-319, 1.3e-319, 5e-324}, 4, 1.0), "resolution"},
        // Metal 3e-17 m thick at 0.39 m: one unit in the last place (fuzzing).
        {LineSection("cpw", {50, 10, 390625, 3.25e-11}, 12.9), "resolution"},
        // Edge cells of 2e-8 m at 1000 m: 3 % off with an estimate of 0.2 %.
        {LineSection("cpw", {50, 10, 1e9, 1}, 12.9), "resolution"},
        {LineSection("coupled-microstrip", {1, 3e5, 3e5, 0}, 12.9), "more than the 200000"},
    };
    for (const auto& c : cases) {
        const SolveResult r = Solve(c.section);
        EXPECT_EQ(r.status, SolveStatus::TooLarge) << c.message;
        EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
    }
}
