// The electrostatic problem the solver meshes: a rectangular domain with an
// electric or magnetic wall on each side, perfect conductors (rectangles; a
// rectangle of zero height is an infinitely thin strip) at fixed potentials, and
// dielectric slabs spanning the whole width. Built from a line's cross-section
// by crosssection.h from the line's description (core/crosssection.h).
#pragma once

#include <vector>

#include "fieldsolver/gradedaxis.h"

namespace fieldsolver {

enum class Wall { Electric, Magnetic }; // potential 0, or no normal field

struct Conductor {
    double x0, x1, y0, y1;
    double potential;
};

struct Slab {
    double y0, y1, er;
};

// A dielectric rectangle (a solder mask around a strip); it stands in front
// of the slabs where they overlap.
struct Block {
    double x0, x1, y0, y1, er;
};

struct Problem {
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    Wall left = Wall::Magnetic, right = Wall::Electric, bottom = Wall::Electric,
         top = Wall::Electric;
    // Which walls stand in for open space (far, or beside two planes), not
    // for a ground plane or the symmetry plane: the field must have decayed there.
    struct Sides {
        bool left = false, right = false, bottom = false, top = false;
    } outer;
    std::vector<Conductor> conductors;
    std::vector<Slab> slabs; // Er = 1 elsewhere
    std::vector<Block> blocks;
    AxisSpec xAxis, yAxis;
    // Capacitance per metre of the line (or of one strip in the mode) is
    // energyToCapacitance * eps0 * sum(weight * dV^2) over the domain's edges.
    double energyToCapacitance = 1.0;
};

} // namespace fieldsolver
