#include "ui/fieldpicture.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "fieldsolver/crosssection.h"

namespace {

const QColor kDielectric(222, 234, 208);
const QColor kMetal(176, 141, 87);
const QColor kFrame(120, 120, 120);

// Blue near ground, red near the strip (negative levels: the mirrored strip).
QColor LevelColour(double level) {
    const double t = std::clamp(std::abs(level), 0.0, 1.0);
    return QColor::fromHsvF(0.66 * (1.0 - t), 0.85, level < 0 ? 0.55 : 0.8);
}

} // namespace

FieldPicture::FieldPicture(const fieldsolver::CrossSection& section,
                           const fieldsolver::ModeResult& mode, QWidget* parent)
    : QWidget(parent), problem_(fieldsolver::BuildProblem(section, mode.mode, true)),
      potential_(mode.potential),
      shielded_(section.kind == fieldsolver::LineKind::Stripline ||
                section.kind == fieldsolver::LineKind::CoupledStripline) {
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

FieldPicture::View FieldPicture::Frame() const {
    // The strips' reach and top, and the nearest coplanar ground.
    double strips = 0.0, top = 0.0, ground = 0.0;
    for (const fieldsolver::Conductor& c : problem_.conductors) {
        if (c.potential != 0.0) {
            strips = std::max({strips, std::abs(c.x0), std::abs(c.x1)});
            top = std::max(top, c.y1);
        } else if (c.x0 > 0.0) {
            ground = ground == 0.0 ? c.x0 : std::min(ground, c.x0);
        }
    }
    double substrate = 0.0; // or the plane spacing
    for (const fieldsolver::Slab& s : problem_.slabs)
        substrate = std::max(substrate, s.y1);
    if (substrate == 0.0) substrate = top;
    const double margin = 0.8 * std::max(substrate, strips);
    View v;
    v.x1 = std::max(strips, ground) + margin;
    v.x0 = -v.x1;
    if (shielded_) {
        v.y0 = -0.06 * problem_.ymax;
        v.y1 = 1.06 * problem_.ymax;
    } else {
        v.y0 = -0.12 * substrate;
        v.y1 = top + margin;
    }
    // Widen the short side so that a metre is as long across as up.
    const double w = std::max(1, width()), h = std::max(1, height());
    const double across = v.x1 - v.x0, up = v.y1 - v.y0;
    if (across / up < w / h) {
        const double grow = (up * w / h - across) / 2;
        v.x0 -= grow;
        v.x1 += grow;
    } else {
        const double grow = across * h / w - up;
        v.y1 += shielded_ ? grow / 2 : grow; // open lines: show more of the air
        if (shielded_) v.y0 -= grow / 2;
    }
    return v;
}

QPointF FieldPicture::ToPixel(double x, double y) const {
    const double sx = width() / (view_.x1 - view_.x0);
    const double sy = height() / (view_.y1 - view_.y0);
    return {(x - view_.x0) * sx, height() - (y - view_.y0) * sy};
}

void FieldPicture::Recontour() {
    view_ = Frame();
    samplesX_ = std::max(2, width() / 2);
    samplesY_ = std::max(2, height() / 2);
    const std::vector<double> samples = fieldsolver::SamplePotential(
        potential_, view_.x0, view_.x1, view_.y0, view_.y1, samplesX_, samplesY_);
    contours_.clear();
    const bool odd = potential_.mirrorSign < 0 ||
                     std::any_of(problem_.conductors.begin(), problem_.conductors.end(),
                                 [](const fieldsolver::Conductor& c) { return c.potential < 0; });
    for (int k = odd ? -9 : 1; k <= 9; ++k) {
        const double level = k / 10.0;
        contours_.push_back(
            {level, fieldcheck::ContourSegments(samples, samplesX_, samplesY_, level)});
    }
}

void FieldPicture::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Recontour();
}

void FieldPicture::paintEvent(QPaintEvent*) {
    if (contours_.empty()) Recontour();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    auto rect = [&](double x0, double x1, double y0, double y1) {
        return QRectF(ToPixel(x0, y1), ToPixel(x1, y0)).normalized();
    };
    for (const fieldsolver::Slab& s : problem_.slabs)
        painter.fillRect(rect(view_.x0, view_.x1, s.y0, s.y1), kDielectric);

    // Samples to pixels: sample i of samplesX_ spans the view's width.
    const double px = width() / double(samplesX_ - 1), py = height() / double(samplesY_ - 1);
    for (const Contour& contour : contours_) {
        painter.setPen(QPen(LevelColour(contour.level), 1.2));
        for (const fieldcheck::ContourSegment& s : contour.segments)
            painter.drawLine(QPointF(s.a.i * px, height() - s.a.j * py),
                             QPointF(s.b.i * px, height() - s.b.j * py));
    }

    // Ground planes (electric walls within the view), then the conductors,
    // at least two pixels thick so that a strip of zero thickness shows.
    painter.setPen(Qt::NoPen);
    auto metal = [&](QRectF r) {
        if (r.height() < 2) r.adjust(0, -1, 0, 1);
        painter.fillRect(r, kMetal);
    };
    const double plate = 0.04 * (view_.y1 - view_.y0);
    if (problem_.bottom == fieldsolver::Wall::Electric && problem_.ymin >= view_.y0)
        metal(rect(view_.x0, view_.x1, problem_.ymin - plate, problem_.ymin));
    if (problem_.top == fieldsolver::Wall::Electric && problem_.ymax <= view_.y1)
        metal(rect(view_.x0, view_.x1, problem_.ymax, problem_.ymax + plate));
    for (const fieldsolver::Conductor& c : problem_.conductors)
        metal(rect(std::max(c.x0, view_.x0), std::min(c.x1, view_.x1), c.y0, c.y1));

    painter.setPen(kFrame);
    painter.drawRect(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
    // The caption on a ground of its own: no contour runs through its words.
    const QString caption = tr("Equipotentials every 0.1 of the strip's potential");
    const QRectF box = painter
                           .boundingRect(QRectF(6, 4, width() - 12, 20),
                                         Qt::AlignLeft | Qt::AlignTop, caption)
                           .adjusted(-3, -1, 3, 1);
    painter.fillRect(box, QColor(255, 255, 255, 235));
    painter.drawText(box, Qt::AlignCenter, caption);
}
