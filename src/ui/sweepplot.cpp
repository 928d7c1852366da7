#include "ui/sweepplot.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "numeric/constants.h"

namespace {

// One curve: its name and the value it takes from a point (display units).
struct Curve {
    QString name;
    std::function<double(const SweepPoint&)> value;
};

void Clear(QChart* chart) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
}

QAbstractAxis* SweptAxis(const SweepPlotScale& scale, double low, double high) {
    if (scale.logarithmic) {
        auto* axis = new QLogValueAxis;
        axis->setBase(10.0);
        axis->setLabelFormat("%g");
        axis->setMinorTickCount(-1);
        axis->setRange(low, high);
        axis->setTitleText(scale.xTitle);
        return axis;
    }
    auto* axis = new QValueAxis;
    axis->setLabelFormat("%g");
    axis->setRange(low, high);
    axis->applyNiceNumbers();
    axis->setTitleText(scale.xTitle);
    return axis;
}

// Fills one chart with its curves over the points without error; returns
// nothing to draw when no point has a value.
void Fill(QChart* chart, const QString& title, const std::vector<Curve>& curves,
          const std::vector<SweepPoint>& points, const SweepPlotScale& scale,
          const Curve* markWarnings = nullptr) {
    Clear(chart);
    chart->setTitle(title);
    double xLow = std::numeric_limits<double>::infinity(), xHigh = -xLow;
    double yLow = xLow, yHigh = -xLow;
    std::vector<QList<QPointF>> lines(curves.size());
    QList<QPointF> marks;
    for (auto& line : lines)
        line.reserve(static_cast<qsizetype>(points.size()));
    for (const SweepPoint& p : points) {
        if (!p.Ok()) continue;
        const double x = p.x * scale.xFactor;
        for (std::size_t c = 0; c < curves.size(); ++c) {
            const double y = curves[c].value(p);
            if (!std::isfinite(y)) continue;
            lines[c].append({x, y});
            yLow = std::min(yLow, y);
            yHigh = std::max(yHigh, y);
        }
        if (markWarnings && !p.warnings.empty()) marks.append({x, markWarnings->value(p)});
        xLow = std::min(xLow, x);
        xHigh = std::max(xHigh, x);
    }
    if (!(xLow <= xHigh) || !(yLow <= yHigh)) return;
    if (xLow == xHigh) {
        xLow = scale.logarithmic ? xLow / 2 : xLow - 1;
        xHigh = scale.logarithmic ? xHigh * 2 : xHigh + 1;
    }
    const double pad =
        yHigh > yLow ? 0.05 * (yHigh - yLow) : std::max(1e-3, 0.05 * std::fabs(yLow));
    QAbstractAxis* xAxis = SweptAxis(scale, xLow, xHigh);
    auto* yAxis = new QValueAxis;
    yAxis->setLabelFormat("%g");
    yAxis->setRange(yLow - pad, yHigh + pad);
    yAxis->applyNiceNumbers();
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    const auto add = [&](QXYSeries* series) {
        chart->addSeries(series);
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
    };
    for (std::size_t c = 0; c < curves.size(); ++c) {
        auto* series = new QLineSeries;
        series->setName(curves[c].name);
        series->replace(lines[c]);
        add(series);
        // A one-pixel cosmetic pen takes the painter's line rasterizer; the
        // default wider pen is stroked joint by joint, which dominated the
        // redraw of a 1000-point sweep.
        QPen pen = series->pen();
        pen.setWidth(1);
        pen.setCosmetic(true);
        series->setPen(pen);
    }
    if (!marks.isEmpty()) {
        auto* series = new QScatterSeries;
        series->setName(QObject::tr("with warnings"));
        series->setMarkerSize(7.0);
        series->setColor(QColor(220, 120, 0));
        series->setBorderColor(QColor(220, 120, 0));
        series->replace(marks);
        add(series);
    }
}

} // namespace

SweepPlot::SweepPlot(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QChartView*& view : views_) {
        view = new QChartView(this);
        view->setRenderHint(QPainter::Antialiasing);
        view->chart()->setMargins(QMargins(4, 2, 4, 2));
        view->chart()->legend()->setAlignment(Qt::AlignTop);
        layout->addWidget(view);
    }
}

QChart* SweepPlot::ChartOf(Chart chart) const {
    return views_[static_cast<std::size_t>(chart)]->chart();
}

void SweepPlot::Show(const LineDescriptor& line, const std::vector<SweepPoint>& points,
                     const SweepPlotScale& scale) {
    const double db = constants::kNepersToDecibels * scale.lossFactor;
    std::vector<Curve> impedance{{tr("Z"), [](const SweepPoint& p) { return p.values.impedance; }}};
    std::vector<Curve> eeff{{tr("eeff"), [](const SweepPoint& p) { return p.values.eeff; }}};
    std::vector<Curve> loss{
        {tr("total"), [db](const SweepPoint& p) { return p.values.loss * db; }},
        {tr("conductor"), [db](const SweepPoint& p) { return p.values.conductorLoss * db; }},
        {tr("dielectric"), [db](const SweepPoint& p) { return p.values.dielectricLoss * db; }}};
    if (line.coupled) {
        impedance = {{tr("Zeven"), [](const SweepPoint& p) { return p.values.even.impedance; }},
                     {tr("Zodd"), [](const SweepPoint& p) { return p.values.odd.impedance; }},
                     {tr("Zdiff"), [](const SweepPoint& p) { return p.Zdiff(); }}};
        eeff = {{tr("even"), [](const SweepPoint& p) { return p.values.even.eeff; }},
                {tr("odd"), [](const SweepPoint& p) { return p.values.odd.eeff; }}};
        loss.insert(loss.begin() + 1,
                    {{tr("even"), [db](const SweepPoint& p) { return p.values.even.loss * db; }},
                     {tr("odd"), [db](const SweepPoint& p) { return p.values.odd.loss * db; }}});
        loss.front().name = tr("total (shown mode)");
    }
    Fill(ChartOf(Impedance), tr("Impedance [Ohms]"), impedance, points, scale, &impedance.front());
    Fill(ChartOf(Eeff), tr("Effective dielectric constant"), eeff, points, scale);
    views_[Loss]->setVisible(line.lossShown);
    if (line.lossShown) Fill(ChartOf(Loss), scale.lossTitle, loss, points, scale);
}
