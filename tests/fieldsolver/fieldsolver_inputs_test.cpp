// The solves that need no mesh, and the cross-sections the solver refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "fieldsolver/fieldsolver.h"

using namespace fieldsolver;

constexpr double um = 1e-6;

TEST(FieldSolverInputs, CoaxIsExactAndSlotlineIsNotSolved) {
    // Z0 = eta0 / (2 pi sqrt(Er)) ln(Do/Di), eta0 = mu0 c = 376.730313... ohms.
    const SolveResult coax = Solve({LineKind::Coax, {1e-3, 2.3e-3}, 2.1});
    ASSERT_EQ(coax.status, SolveStatus::Ok);
    EXPECT_TRUE(coax.exact);
    ASSERT_EQ(coax.modes.size(), 1u);
    EXPECT_NEAR(coax.modes[0].impedance_ohm,
                376.730313461 / (2 * std::numbers::pi) / std::sqrt(2.1) * std::log(2.3), 1e-9);
    EXPECT_EQ(coax.modes[0].eeff, 2.1);

    const SolveResult slot = Solve({LineKind::Slotline, {1e-4, 6.35e-4}, 6});
    EXPECT_EQ(slot.status, SolveStatus::NotSupported);
    EXPECT_NE(slot.message.find("not a quasi-TEM line"), std::string::npos);
    EXPECT_TRUE(slot.modes.empty());
}

TEST(FieldSolver, RefusesCrossSectionsItCannotMesh) {
    const struct {
        CrossSection section;
        const char* message;
    } cases[] = {
        {{LineKind::Microstrip, {0, 100 * um, 0}, 4}, "W must be > 0"},
        {{LineKind::Microstrip, {50 * um, 100 * um, -1 * um}, 4}, "T must be >= 0"},
        {{LineKind::Cpw, {50 * um, NAN, 100 * um, 0}, 4}, "G must be > 0"},
        {{LineKind::CoupledMicrostrip, {50 * um, 0, 100 * um, 0}, 4}, "S must be > 0"},
        {{LineKind::Stripline, {50 * um, 100 * um, 100 * um}, 4}, "T must be smaller than B"},
        {{LineKind::Stripline, {50 * um, 100 * um, 0}, 0.5}, "Er must be >= 1"},
        {{LineKind::Stripline, {50 * um, 100 * um}, 4}, "stripline needs 3 dimensions"},
        {{LineKind::Coax, {2e-3, 1e-3}, 1}, "Di must be smaller than Do"},
    };
    for (const auto& c : cases) {
        const SolveResult r = Solve(c.section);
        EXPECT_EQ(r.status, SolveStatus::InvalidInput) << c.message;
        EXPECT_EQ(r.message, c.message);
    }
}
