// The cross-section of a solved line with its equipotential lines: the
// dielectric shaded, the conductors drawn, and contours of the field
// solution's potential every tenth of the strip's potential, in a window
// around the line (the mesh itself reaches far beyond it).
#pragma once

#include <QWidget>
#include <vector>

#include "fieldcheck/contourlines.h"
#include "fieldsolver/fieldsolver.h"
#include "fieldsolver/problem.h"

class FieldPicture : public QWidget {
    Q_OBJECT

  public:
    FieldPicture(const fieldsolver::CrossSection& section, const fieldsolver::ModeResult& mode,
                 QWidget* parent = nullptr);

    QSize sizeHint() const override { return {480, 270}; }
    QSize minimumSizeHint() const override { return {240, 140}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The region of the cross-section shown, metres: around the strips, with
    // the widget's aspect so that the geometry keeps its proportions.
    struct View {
        double x0 = 0, x1 = 1, y0 = 0, y1 = 1;
    };
    View Frame() const;
    QPointF ToPixel(double x, double y) const;
    void Recontour();

    fieldsolver::Problem problem_; // conductors, slabs and walls of the whole section
    fieldsolver::PotentialMap potential_;
    bool shielded_ = false;
    View view_;
    struct Contour {
        double level;
        std::vector<fieldcheck::ContourSegment> segments;
    };
    std::vector<Contour> contours_;
    int samplesX_ = 0, samplesY_ = 0;
};
