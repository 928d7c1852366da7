#include "ui/fieldpicture.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include <utility>

namespace {

const QColor kDielectric(222, 234, 208);
const QColor kMask(120, 186, 150); // a solder mask's green, darker than the substrate
const QColor kMetal(176, 141, 87);
const QColor kFrame(120, 120, 120);

// Blue near ground, red near the strip (negative levels: the mirrored strip).
QColor LevelColour(double level) {
    const double t = std::clamp(std::abs(level), 0.0, 1.0);
    return QColor::fromHsvF(0.66 * (1.0 - t), 0.85, level < 0 ? 0.55 : 0.8);
}

} // namespace

FieldPicture::FieldPicture(fieldcheck::SectionPicture picture, QWidget* parent)
    : QWidget(parent), picture_(std::move(picture)) {
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

QPointF FieldPicture::ToPixel(double x, double y) const {
    const double sx = width() / (view_.x1 - view_.x0);
    const double sy = height() / (view_.y1 - view_.y0);
    return {(x - view_.x0) * sx, height() - (y - view_.y0) * sy};
}

void FieldPicture::Recontour() {
    view_ = fieldcheck::Frame(picture_, double(std::max(1, width())) / std::max(1, height()));
    samplesX_ = std::max(2, width() / 2);
    samplesY_ = std::max(2, height() / 2);
    contours_ = fieldcheck::Equipotentials(picture_, view_, samplesX_, samplesY_);
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
    for (const fieldcheck::SectionPicture::Slab& s : picture_.slabs)
        painter.fillRect(rect(view_.x0, view_.x1, s.y0, s.y1), s.mask ? kMask : kDielectric);
    for (const fieldcheck::SectionPicture::Block& b : picture_.maskBlocks)
        painter.fillRect(rect(b.x0, b.x1, b.y0, b.y1), kMask);

    // Samples to pixels: sample i of samplesX_ spans the view's width.
    const double px = width() / double(samplesX_ - 1), py = height() / double(samplesY_ - 1);
    for (const fieldcheck::Equipotential& contour : contours_) {
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
    if (const auto y = picture_.planeBelow; y && *y >= view_.y0)
        metal(rect(view_.x0, view_.x1, *y - plate, *y));
    if (const auto y = picture_.planeAbove; y && *y <= view_.y1)
        metal(rect(view_.x0, view_.x1, *y, *y + plate));
    for (const fieldcheck::SectionPicture::Metal& c : picture_.conductors)
        metal(rect(std::max(c.x0, view_.x0), std::min(c.x1, view_.x1), c.y0, c.y1));

    painter.setPen(kFrame);
    painter.drawRect(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
    // The caption on a ground of its own: no contour runs through its words;
    // under it what was solved besides the line: its mask and cover.
    QRectF box = Caption(painter, 4, tr("Equipotentials every 0.1 of the strip's potential"));
    if (picture_.maskEr)
        box = Caption(painter, box.bottom() + 2,
                      tr("Solder mask, Er %1").arg(QLocale().toString(*picture_.maskEr, 'g', 4)),
                      kMask);
    if (picture_.cover)
        Caption(painter, box.bottom() + 2, tr("Cover: the plane at the top"), kMetal);
}

QRectF FieldPicture::Caption(QPainter& painter, qreal top, const QString& text,
                             const QColor& swatch) const {
    const qreal indent = swatch.isValid() ? painter.fontMetrics().height() : 0.0;
    QRectF box = painter
                     .boundingRect(QRectF(6 + indent, top, width() - 12 - indent, 20),
                                   Qt::AlignLeft | Qt::AlignTop, text)
                     .adjusted(-3 - indent, -1, 3, 1);
    painter.fillRect(box, QColor(255, 255, 255, 235));
    if (swatch.isValid())
        painter.fillRect(QRectF(box.left() + 3, box.top() + 3, indent - 4, box.height() - 6),
                         swatch);
    painter.drawText(box.adjusted(indent, 0, 0, 0), Qt::AlignCenter, text);
    return box;
}
