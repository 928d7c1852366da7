// The cross-section of a solved line with its equipotential lines: the
// dielectric shaded, the conductors drawn, and contours of the field
// solution's potential every tenth of the strip's potential, in a window
// around the line (the mesh itself reaches far beyond it). Everything drawn
// comes from the field check's picture of the mode, a solder mask (in a colour
// of its own) and a cover named under the caption.
#pragma once

#include <QWidget>
#include <vector>

#include "fieldcheck/sectionpicture.h"

class FieldPicture : public QWidget {
    Q_OBJECT

  public:
    explicit FieldPicture(fieldcheck::SectionPicture picture, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {480, 270}; }
    QSize minimumSizeHint() const override { return {240, 140}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QPointF ToPixel(double x, double y) const;
    // One line of text on a white ground at the left, `top` pixels down,
    // after a square of `swatch` if valid; returns the ground's rectangle.
    QRectF Caption(QPainter& painter, qreal top, const QString& text,
                   const QColor& swatch = QColor()) const;
    void Recontour();

    fieldcheck::SectionPicture picture_;
    fieldcheck::PictureView view_;
    std::vector<fieldcheck::Equipotential> contours_;
    int samplesX_ = 0, samplesY_ = 0;
};
