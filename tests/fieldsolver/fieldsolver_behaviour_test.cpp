// Mesh convergence, the symmetry walls, cancellation and the potential map of
// the field solver, and the nesting of its graded meshes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "fieldsolver/fieldsolver.h"
#include "fieldsolver/gradedaxis.h"
#include "fieldsolver/linesection.h"

using namespace fieldsolver;

namespace {

constexpr double um = 1e-6;

// Default coupled-microstrip tab: W 46, S 50, H 50, T 1 um on GaAs.
const CrossSection kCoupledMicrostrip = LineSection("coupled-microstrip", {46, 50, 50, 1}, 12.9);

double PercentApart(double a, double b) {
    return 100 * std::abs(a - b) / std::abs(b);
}

TEST(FieldSolver, FinerMeshesChangeLessAndStayInsideTheEstimate) {
    // Thick CPW (T/G = 0.5): corners and gap walls dominate the mesh error.
    const CrossSection cpw = LineSection("cpw", {30, 20, 100, 10}, 12.9);
    SolveOptions finer;
    finer.refinement = 1;
    const SolveResult coarse = Solve(cpw), fine = Solve(cpw, finer);
    ASSERT_EQ(coarse.status, SolveStatus::Ok);
    ASSERT_EQ(fine.status, SolveStatus::Ok);
    const ModeResult &a = coarse.modes[0], &b = fine.modes[0];
    EXPECT_EQ(b.mesh_cells, 4 * a.mesh_cells); // every cell bisected both ways
    EXPECT_LT(b.impedance_error_pct, a.impedance_error_pct / 2);
    EXPECT_LT(b.eeff_error_pct, a.eeff_error_pct / 2);
    EXPECT_LE(PercentApart(a.impedance_ohm, b.impedance_ohm), a.impedance_error_pct);
    EXPECT_LE(PercentApart(a.eeff, b.eeff), a.eeff_error_pct);
}

TEST(FieldSolver, SymmetryWallsAgreeWithTheWholeCrossSection) {
    SolveOptions whole;
    whole.fullDomain = true;
    const SolveResult half = Solve(kCoupledMicrostrip), full = Solve(kCoupledMicrostrip, whole);
    ASSERT_EQ(half.status, SolveStatus::Ok);
    ASSERT_EQ(full.status, SolveStatus::Ok);
    ASSERT_EQ(half.modes.size(), 2u);
    ASSERT_EQ(full.modes.size(), 2u);
    for (std::size_t m = 0; m < 2; ++m) {
        EXPECT_NEAR(half.modes[m].impedance_ohm, full.modes[m].impedance_ohm,
                    1e-4 * full.modes[m].impedance_ohm);
        EXPECT_NEAR(half.modes[m].eeff, full.modes[m].eeff, 1e-4 * full.modes[m].eeff);
    }
    EXPECT_EQ(half.modes[0].mode, Mode::Even);
    EXPECT_EQ(half.modes[1].mode, Mode::Odd);
    EXPECT_GT(half.modes[0].impedance_ohm, half.modes[1].impedance_ohm);
}

TEST(FieldSolver, ProgressRisesToOneAndCancelEndsTheSolveWithin100ms) {
    std::vector<double> fractions;
    SolveOptions watched;
    watched.progress = [&](double f) {
        fractions.push_back(f);
        return true;
    };
    ASSERT_EQ(Solve(kCoupledMicrostrip, watched).status, SolveStatus::Ok);
    ASSERT_GE(fractions.size(), 2u);
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    EXPECT_DOUBLE_EQ(fractions.front(), 0.0);
    EXPECT_DOUBLE_EQ(fractions.back(), 1.0);

    // Cancel from another thread, as a window would, once the solve is a
    // third done, on a finer mesh whose factorizations take longer than 100 ms.
    using Clock = std::chrono::steady_clock;
    std::atomic<bool> cancel{false}, started{false};
    SolveOptions cancellable;
    cancellable.refinement = 1;
    cancellable.progress = [&](double f) {
        if (f > 0.3) started = true;
        return !cancel;
    };
    SolveResult result;
    Clock::time_point ended;
    std::thread worker([&] {
        result = Solve(kCoupledMicrostrip, cancellable);
        ended = Clock::now();
    });
    while (!started)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const auto requested = Clock::now();
    cancel = true;
    worker.join();
    EXPECT_EQ(result.status, SolveStatus::Cancelled);
    EXPECT_TRUE(result.modes.empty());
    EXPECT_LT(std::chrono::duration<double>(ended - requested).count(), 0.1);
}

TEST(FieldSolver, PotentialMapHoldsTheStripsAndMirrorsTheOddMode) {
    const SolveResult r = Solve(kCoupledMicrostrip);
    ASSERT_EQ(r.status, SolveStatus::Ok);
    const PotentialMap& odd = r.modes[1].potential;
    // Strip centres at x = +-48 um on the top face of the metal, the symmetry
    // plane, the ground, and a point outside the mesh.
    const auto row = SamplePotential(odd, -48 * um, 48 * um, 51 * um, 51 * um, 3, 1);
    ASSERT_EQ(row.size(), 3u);
    EXPECT_DOUBLE_EQ(row[0], -1.0);
    EXPECT_NEAR(row[1], 0.0, 1e-12);
    EXPECT_DOUBLE_EQ(row[2], 1.0);
    EXPECT_NEAR(SamplePotential(odd, 10 * um, 10 * um, 0, 0, 1, 1)[0], 0.0, 1e-12);
    EXPECT_TRUE(std::isnan(SamplePotential(odd, 0, 0, -1 * um, -1 * um, 1, 1)[0]));
    const double even =
        SamplePotential(r.modes[0].potential, -48 * um, -48 * um, 25 * um, 25 * um, 1, 1)[0];
    EXPECT_GT(even, 0.3);
    EXPECT_LT(even, 1.0);
}

TEST(GradedAxis, RefinementBisectsEveryCellAndKeepsTheKeys) {
    AxisSpec spec;
    spec.keys = {0, 25, 71, 1e5};
    spec.singular = {25, 71};
    spec.smallestCell = 0.02;
    spec.nearField = 150;
    spec.farGrowth = 0.6;
    const auto coarse = GradedAxis(spec, 0), fine = GradedAxis(spec, 1);
    ASSERT_EQ(fine.size(), 2 * coarse.size() - 1);
    for (std::size_t i = 0; i < coarse.size(); ++i)
        EXPECT_DOUBLE_EQ(fine[2 * i], coarse[i]);
    for (double key : spec.keys)
        EXPECT_NE(std::find(coarse.begin(), coarse.end(), key), coarse.end()) << key;
    EXPECT_TRUE(std::is_sorted(coarse.begin(), coarse.end()));
    // Smallest cells at the edges, largest at the far end.
    double smallest = 1e9;
    for (std::size_t i = 0; i + 1 < coarse.size(); ++i)
        smallest = std::min(smallest, coarse[i + 1] - coarse[i]);
    EXPECT_NEAR(smallest, spec.smallestCell, 0.5 * spec.smallestCell);
    EXPECT_GT(coarse.back() - coarse[coarse.size() - 2], 0.2 * 1e5);
}

} // namespace
