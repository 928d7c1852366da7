// Quasi-static 2-D field solver for the calculator's transmission lines: the
// characteristic impedance and effective dielectric constant of a cross-section
// from its capacitance per metre with and without the dielectric,
// Z0 = 1 / (c sqrt(C C_air)), eeff = C / C_air. No toolkit; one call per solve.
//
// Method: finite volumes on a graded tensor-product mesh (laplacefv.cpp,
// gradedaxis.cpp), solved on two nested meshes (every cell bisected) and
// extrapolated by Richardson for second-order convergence of the field energy;
// the estimated error is the size of that correction.
// L. F. Richardson, "The deferred approach to the limit", Phil. Trans. R. Soc.
// A 226, 1927; A. Wexler, "Computation of electromagnetic fields", IEEE Trans.
// MTT 17(8), 1969.
//
// It knows no line type: each line family describes its cross-section
// (core/crosssection.h: conductor rectangles, dielectric slabs, ground planes,
// one mode or an even/odd pair, mesh hints) and the solver meshes that.
//
// Open sides are an electric wall kFarBoundaryFactor = 1000 times the
// cross-section's largest dimension (the conductors' total width, the
// substrate height or the plane spacing) away,
// reached by cells that grow geometrically. The wall's error falls as the
// square of the distance (microstrip: -0.7 % at 10, -0.008 % at 100, -0.0001 %
// at 1000 times); beyond the cross-section's size the cells grow by 60 % each,
// so every decade of distance costs about four coarse (eight fine) cells per
// open side: from 10 to 1000 times adds a quarter to the cells and the time.
// Between two ground planes B apart the field decays exponentially: the side
// wall stands 20 B beside the metal.
//
// Budget: a cross-section whose finer mesh would exceed kMaxMeshCells cells,
// or whose smallest cells are too small for double precision at their
// coordinates, is refused before it is meshed. A solution whose estimated error exceeds kUnreliableErrorPct, or
// whose potential has not decayed near the outer walls, is marked unreliable.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/crosssection.h"

namespace fieldsolver {

inline constexpr double kFarBoundaryFactor = 1000.0;
// Finer meshes' cells, summed over the modes: about 2 s and 150 MB.
inline constexpr std::size_t kMaxMeshCells = 200'000;
inline constexpr double kUnreliableErrorPct = 5.0;
// Largest |potential| (of the strip's 1 V) one node inside an outer wall for
// the field to count as decayed there.
inline constexpr double kDecayedPotential = 0.01;

struct SolveOptions {
    // 0: default meshes (level 0 and its bisection); each step up bisects both
    // and takes four to five times as long. At most 2.
    int refinement = 0;
    // Solve the whole cross-section instead of half of it with a symmetry wall
    // (for coupled lines: both strips, driven alike or opposite).
    bool fullDomain = false;
    // Called on the calling thread every 20 ms or so with the fraction done,
    // 0..1; returning false cancels the solve, which then returns at once.
    // The first call (0) follows the checks and the budget, before any mesh.
    std::function<bool(double)> progress;
};

enum class Mode { Single, Even, Odd };

// Potential of the finer mesh (dielectric present), strips at 1 V (odd mode:
// -1 V on the mirrored strip), grounds at 0 V. Metres; x = 0 on the line's
// symmetry plane, y = 0 on the substrate's underside (the lower ground plane
// where there is one); the metal lies on y = H (stripline: centred at B/2).
// A half-domain solve holds x >= 0 only; mirrorSign (+1 even, -1 odd, 0 none)
// extends it to x < 0. The mesh reaches the far boundary: sample a window.
struct PotentialMap {
    std::vector<double> x, y;
    std::vector<double> values; // values[j * x.size() + i]
    double mirrorSign = 0.0;
};

struct ModeResult {
    Mode mode = Mode::Single;
    double impedance_ohm = 0.0;
    double eeff = 0.0;
    double impedance_error_pct = 0.0; // estimated discretisation error
    double eeff_error_pct = 0.0;
    double capacitance_per_m = 0.0;     // F/m, extrapolated
    double capacitance_air_per_m = 0.0; // F/m, extrapolated
    std::size_t mesh_cells = 0;         // of the finer mesh
    double seconds = 0.0;
    double outerPotential = 0.0; // largest |V| one node inside the outer walls
    PotentialMap potential;
};

// InvalidInput: the description is not a cross-section (non-finite, overflowing
// or misplaced geometry); TooLarge: over the mesh budget or the coordinates'
// resolution.
enum class SolveStatus { Ok, Cancelled, NotSupported, InvalidInput, TooLarge, Failed };

struct SolveResult {
    SolveStatus status = SolveStatus::Ok;
    std::string message;           // why it did not solve; empty when Ok
    std::string unreliable;        // why the solution is not to be trusted; empty when it is
    bool exact = false;            // closed form without mesh (coax)
    std::vector<ModeResult> modes; // one, or even then odd for coupled lines
    std::size_t mesh_cells = 0;    // finer mesh cells, summed over modes
    double seconds = 0.0;
};

SolveResult Solve(const CrossSection& section, const SolveOptions& options = {});

// The potential bilinearly interpolated on nx by ny points spanning
// [x0, x1] x [y0, y1] (row-major, y0 row first); NaN outside the mesh.
std::vector<double> SamplePotential(const PotentialMap& map, double x0, double x1, double y0,
                                    double y1, int nx, int ny);

} // namespace fieldsolver
