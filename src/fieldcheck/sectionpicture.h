// What the window draws of a solved mode: the whole cross-section (conductors
// at the mode's potentials, dielectric slabs, ground planes), the region
// around the line to show, and the equipotentials there, every tenth of the
// strip's potential. No toolkit: the window only paints these.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "fieldcheck/contourlines.h"
#include "fieldsolver/fieldsolver.h"

namespace fieldcheck {

struct FieldComparison;

struct SectionPicture {
    struct Metal {
        double x0, x1, y0, y1; // metres; a coplanar ground reaches the mesh's side wall
        double potential;      // of the strip's: 1, -1 (the odd mode's mirror) or 0
    };
    struct Slab {
        double y0, y1;     // spanning the whole width
        bool mask = false; // the solder mask's layer over the substrate
    };
    // The solder mask around the strips (their top and sides).
    struct Block {
        double x0, x1, y0, y1;
    };
    std::vector<Metal> conductors;
    std::vector<Slab> slabs;
    std::vector<Block> maskBlocks;
    std::optional<double> maskEr; // of a solder mask solved with the line
    std::optional<double> planeBelow, planeAbove; // heights of the ground planes
    bool cover = false;           // the plane above is a microstrip's cover
    bool odd = false;                 // levels below zero too
    fieldsolver::PotentialMap potential;
};

// The region shown, metres.
struct PictureView {
    double x0 = 0, x1 = 1, y0 = 0, y1 = 1;
};

struct Equipotential {
    double level; // of the strip's potential
    std::vector<ContourSegment> segments;
};

// The picture of solved mode `mode` of the comparison.
SectionPicture PictureOf(const FieldComparison& comparison, std::size_t mode);

// Around the strips, widened to `aspect` (width over height) so that the
// geometry keeps its proportions.
PictureView Frame(const SectionPicture& picture, double aspect);

// The equipotentials inside `view`, sampled on nx by ny points (segments in
// sample indices, row 0 at view.y0).
std::vector<Equipotential> Equipotentials(const SectionPicture& picture, const PictureView& view,
                                          int nx, int ny);

} // namespace fieldcheck
