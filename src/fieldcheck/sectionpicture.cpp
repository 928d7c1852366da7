#include "fieldcheck/sectionpicture.h"

#include <algorithm>
#include <cmath>

#include "fieldcheck/fieldcomparison.h"
#include "fieldsolver/crosssection.h"

namespace fieldcheck {

SectionPicture PictureOf(const FieldComparison& comparison, std::size_t mode) {
    const fieldsolver::ModeResult& solved = comparison.solve.modes.at(mode);
    const fieldsolver::Problem whole =
        fieldsolver::BuildProblem(comparison.section, solved.mode, true);
    SectionPicture picture;
    for (const fieldsolver::Conductor& c : whole.conductors) {
        picture.conductors.push_back({c.x0, c.x1, c.y0, c.y1, c.potential});
        picture.odd = picture.odd || c.potential < 0;
    }
    // The section's slabs, which say which one is the mask, as the problem clips them.
    for (const CrossSection::Slab& s : comparison.section.slabs)
        if (s.y0 < whole.ymax) picture.slabs.push_back({s.y0, std::min(s.y1, whole.ymax), s.mask});
    for (const fieldsolver::Block& b : whole.blocks) // mirrored: both strips' and both sides
        picture.maskBlocks.push_back({b.x0, b.x1, b.y0, b.y1});
    const Coating& coating = comparison.inputs.coating;
    if (coating.tm > 0.0) picture.maskEr = coating.erm;
    picture.cover = coating.hc > 0.0 && !whole.outer.top;
    if (!whole.outer.bottom) picture.planeBelow = whole.ymin;
    if (!whole.outer.top) picture.planeAbove = whole.ymax;
    picture.odd = picture.odd || solved.potential.mirrorSign < 0;
    picture.potential = solved.potential;
    return picture;
}

PictureView Frame(const SectionPicture& picture, double aspect) {
    // The strips' reach and top, and the nearest coplanar ground.
    double strips = 0.0, top = 0.0, ground = 0.0;
    for (const SectionPicture::Metal& c : picture.conductors) {
        if (c.potential != 0.0) {
            strips = std::max({strips, std::abs(c.x0), std::abs(c.x1)});
            top = std::max(top, c.y1);
        } else if (c.x0 > 0.0) {
            ground = ground == 0.0 ? c.x0 : std::min(ground, c.x0);
        }
    }
    double substrate = 0.0; // or the plane spacing
    for (const SectionPicture::Slab& s : picture.slabs)
        substrate = std::max(substrate, s.y1);
    if (substrate == 0.0) substrate = top;
    const double margin = 0.8 * std::max(substrate, strips);
    PictureView v;
    v.x1 = std::max(strips, ground) + margin;
    v.x0 = -v.x1;
    const bool shielded = picture.planeAbove.has_value();
    if (shielded) {
        v.y0 = -0.06 * *picture.planeAbove;
        v.y1 = 1.06 * *picture.planeAbove;
    } else {
        v.y0 = -0.12 * substrate;
        v.y1 = top + margin;
    }
    // Widen the short side so that a metre is as long across as up.
    const double across = v.x1 - v.x0, up = v.y1 - v.y0;
    if (across / up < aspect) {
        const double grow = (up * aspect - across) / 2;
        v.x0 -= grow;
        v.x1 += grow;
    } else {
        const double grow = across / aspect - up;
        v.y1 += shielded ? grow / 2 : grow; // open lines: show more of the air
        if (shielded) v.y0 -= grow / 2;
    }
    return v;
}

std::vector<Equipotential> Equipotentials(const SectionPicture& picture, const PictureView& view,
                                          int nx, int ny) {
    const std::vector<double> samples =
        fieldsolver::SamplePotential(picture.potential, view.x0, view.x1, view.y0, view.y1, nx, ny);
    std::vector<Equipotential> lines;
    for (int k = picture.odd ? -9 : 1; k <= 9; ++k) {
        const double level = k / 10.0;
        lines.push_back({level, ContourSegments(samples, nx, ny, level)});
    }
    return lines;
}

} // namespace fieldcheck
