// The sweep window's three charts, one above the other, sharing the swept
// axis: impedance, effective dielectric constant, and loss with its
// conductor and dielectric parts.  Points with an error are left out; points
// with warnings are marked on the impedance chart.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <vector>

#include "core/sweep.h"

class QChart;
class QChartView;

// How the plot shows the swept axis and the loss: display value = SI value x factor.
struct SweepPlotScale {
    QString xTitle; // "f [GHz]"
    double xFactor = 1.0;
    bool logarithmic = false;
    QString lossTitle;       // "Loss [dB/m]"
    double lossFactor = 1.0; // display units per dB/m
};

class SweepPlot : public QWidget {
    Q_OBJECT

  public:
    explicit SweepPlot(QWidget* parent = nullptr);

    void Show(const LineDescriptor& line, const std::vector<SweepPoint>& points,
              const SweepPlotScale& scale);

    enum Chart { Impedance, Eeff, Loss };
    QChart* ChartOf(Chart chart) const;

  private:
    std::array<QChartView*, 3> views_{};
};
