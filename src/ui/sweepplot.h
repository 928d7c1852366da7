// The sweep window's three charts, one above the other, sharing the swept
// axis: impedance, effective dielectric constant, and loss with its
// conductor and dielectric parts, each curve a reported quantity of
// core/outputs.h.  Points with an error are left out; points
// with warnings are marked on every chart in a colour of their own.  The
// charts' plot areas line up, y axes start from the data (never below zero:
// none of these quantities can be negative), a logarithmic x axis is
// labelled at 1-2-5 steps, and hovering shows a crosshair on all three
// charts with every curve's value at the nearest point.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <vector>

#include "core/outputs.h"
#include "core/sweep.h"

class QChart;
class QChartView;
class QGraphicsLineItem;
class QLabel;

// How the plot shows the swept axis and the loss: display value = SI value x factor.
struct SweepPlotScale {
    QString xTitle; // "f [GHz]"
    double xFactor = 1.0;
    bool logarithmic = false;
    QString lossTitle;       // "Loss [dB/m]"
    double lossFactor = 1.0; // display units per dB/m
    QString lossUnit;        // "dB/m", for the read-out
};

class SweepPlot : public QWidget {
    Q_OBJECT

  public:
    explicit SweepPlot(QWidget* parent = nullptr);

    void Show(const LineDescriptor& line, const std::vector<SweepPoint>& points,
              const SweepPlotScale& scale);
    // Empties every chart (a sweep under way shows no old curves).
    void Clear();

    enum Chart { Impedance, Eeff, Loss };
    QChart* ChartOf(Chart chart) const;
    // The colour of warning marks; no curve takes it.
    static QColor WarningColour();

    // The read-out at swept value x (display units): the nearest point's x
    // and every curve's value with its unit; empty without points.
    QString ReadoutAt(double x) const;
    QLabel* readout;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A reported quantity as a chart plots it (core/outputs.h lists them).
    struct Curve {
        QString name;
        QString unit;
        const OutputQuantity* quantity;
        double factor; // display units per reported unit
    };
    // The chart's curves for the line shown, in their places.
    std::vector<Curve> CurvesOf(Chart chart) const;
    double Value(const Curve& curve, const LineAnswer& answer) const;
    void Fill(Chart chart, const QString& title, double xLow, double xHigh);
    void AlignPlotAreas();
    void ShowCrosshair(double x);
    void HideCrosshair();
    // Index into shown_ of the point nearest x, or -1.
    int Nearest(double x) const;

    std::array<QChartView*, 3> views_{};
    std::array<QGraphicsLineItem*, 3> crosshairs_{};
    std::array<std::vector<Curve>, 3> curves_;
    const LineDescriptor* line_ = nullptr; // of the points shown
    std::vector<SweepPoint> shown_;        // the points with a result, as plotted
    SweepPlotScale scale_;
};
