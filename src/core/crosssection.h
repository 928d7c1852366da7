// A line's cross-section as the quasi-static field solver takes it: plain
// data, built by each line family from its inputs (the descriptor's
// crossSection builder), so that the solver knows no line type.
//
// Every cross-section is symmetric about x = 0 and described for x >= 0 only,
// in metres, y = 0 on the lower ground plane (or the substrate's underside).
// The solver mirrors it, or solves the half behind a symmetry wall.
#pragma once

#include <optional>
#include <vector>

struct CrossSection {
    // A perfect conductor. x1 may be +infinity: the metal reaches the side
    // wall (a coplanar ground). A signal conductor touching x = 0 joins its
    // mirror image into one strip.
    struct Conductor {
        double x0, x1, y0, y1;
        bool signal; // the line's strip at 1 V; otherwise ground at 0 V
    };
    // A dielectric layer spanning the whole width; Er = 1 elsewhere.
    struct Slab {
        double y0, y1, er;
        bool mask = false; // the solder mask's layer over the substrate (pictures name it)
    };
    // A dielectric rectangle in front of the slabs (a solder mask around a
    // strip), mirrored like the conductors.
    struct Block {
        double x0, x1, y0, y1, er;
    };
    // A line whose field is known in closed form needs no mesh: its
    // capacitance per metre in air over eps0, and its (homogeneous) Er.
    struct Exact {
        double airCapacitanceOverEps0;
        double er;
    };

    std::vector<Conductor> conductors;
    std::vector<Slab> slabs;
    std::vector<Block> blocks;
    bool groundBelow = true;  // a ground plane at y = 0; otherwise open below
    double groundAbove = 0.0; // height of a ground plane above; 0: open above
    // The signal conductors and their mirror images are two lines: solve the
    // even and odd modes. Otherwise there is one line and one mode.
    bool pair = false;
    // A pair stacked one above the other (broadside) instead of side by side:
    // the conductors given (below groundAbove / 2) and their images mirrored
    // about the plane y = groundAbove / 2 are the two lines.
    bool stacked = false;
    // Mesh hints: the smallest dimension that shapes the field (a strip's
    // half-width, a gap, the height under the metal), and the metal's
    // thickness (0: infinitely thin).
    double smallestFeature = 0.0;
    double metalThickness = 0.0;
    std::optional<Exact> exact;
};
