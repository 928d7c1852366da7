#include "ui/sweepplot.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGraphicsLineItem>
#include <QLabel>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/answerof.h"
#include "ui/plotticks.h"

namespace {

const QMargins kChartMargins(4, 2, 4, 2);

QString Number(double value) {
    return QString::number(value, 'g', 5);
}

void ClearChart(QChart* chart) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
}

// A logarithmic axis carries the curves; its own labels sit only at whole
// decades, so a second axis without curves labels the 1-2-5 steps at the
// same places (log10 of the value).
void AddSweptAxes(QChart* chart, const SweepPlotScale& scale, double low, double high,
                  const QList<QAbstractSeries*>& series) {
    QAbstractAxis* carrier = nullptr;
    if (scale.logarithmic) {
        auto* axis = new QLogValueAxis;
        axis->setBase(10.0);
        axis->setRange(low, high);
        axis->setLabelsVisible(false);
        axis->setLineVisible(false);
        axis->setGridLineVisible(false);
        axis->setMinorGridLineVisible(false);
        axis->setMinorTickCount(0);
        carrier = axis;
        auto* labels = new QCategoryAxis;
        labels->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        labels->setRange(std::log10(low), std::log10(high));
        labels->setStartValue(std::log10(low));
        for (double tick : LogTicks(low, high))
            labels->append(Number(tick), std::log10(tick));
        labels->setTitleText(scale.xTitle);
        chart->addAxis(labels, Qt::AlignBottom);
    } else {
        auto* axis = new QValueAxis;
        axis->setLabelFormat("%g");
        axis->setRange(low, high);
        axis->applyNiceNumbers();
        axis->setTitleText(scale.xTitle);
        carrier = axis;
    }
    chart->addAxis(carrier, Qt::AlignBottom);
    for (QAbstractSeries* s : series)
        s->attachAxis(carrier);
}

} // namespace

QColor SweepPlot::WarningColour() {
    return QColor(214, 0, 140); // magenta: no curve of the chart theme has it
}

SweepPlot::SweepPlot(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    readout = new QLabel(this);
    readout->setTextInteractionFlags(Qt::TextSelectableByMouse);
    readout->setWordWrap(true);
    readout->setText(tr("Hover over a chart to read its values."));
    layout->addWidget(readout);
    for (std::size_t i = 0; i < views_.size(); ++i) {
        QChartView*& view = views_[i];
        view = new QChartView(this);
        view->setRenderHint(QPainter::Antialiasing);
        view->chart()->setMargins(kChartMargins);
        view->chart()->legend()->setAlignment(Qt::AlignTop);
        view->setMouseTracking(true);
        view->viewport()->setMouseTracking(true);
        view->viewport()->installEventFilter(this);
        auto* line = new QGraphicsLineItem(view->chart());
        line->setPen(QPen(QColor(90, 90, 90), 0, Qt::DashLine));
        line->setZValue(100);
        line->hide();
        crosshairs_[i] = line;
        layout->addWidget(view);
    }
}

QChart* SweepPlot::ChartOf(Chart chart) const {
    return views_[static_cast<std::size_t>(chart)]->chart();
}

void SweepPlot::Clear() {
    HideCrosshair();
    shown_.clear();
    for (QChartView* view : views_)
        ClearChart(view->chart());
}

void SweepPlot::Show(const LineDescriptor& line, const std::vector<SweepPoint>& points,
                     const SweepPlotScale& scale) {
    Clear();
    line_ = &line;
    scale_ = scale;
    for (const SweepPoint& p : points)
        if (p.Ok()) shown_.push_back(p);
    double xLow = std::numeric_limits<double>::infinity(), xHigh = -xLow;
    for (const SweepPoint& p : shown_) {
        xLow = std::min(xLow, p.x * scale.xFactor);
        xHigh = std::max(xHigh, p.x * scale.xFactor);
    }
    if (xLow == xHigh) {
        xLow = scale.logarithmic ? xLow / 2 : xLow - 1;
        xHigh = scale.logarithmic ? xHigh * 2 : xHigh + 1;
    }

    Fill(Impedance, tr("Impedance [Ohms]"), xLow, xHigh);
    Fill(Eeff, tr("Effective dielectric constant"), xLow, xHigh);
    views_[Loss]->setVisible(line.lossShown);
    curves_[Loss].clear();
    if (line.lossShown) Fill(Loss, scale.lossTitle, xLow, xHigh);
    AlignPlotAreas();
}

std::vector<SweepPlot::Curve> SweepPlot::CurvesOf(Chart chart) const {
    constexpr OutputChart kCharts[] = {OutputChart::Impedance, OutputChart::Eeff,
                                       OutputChart::Loss};
    std::vector<Curve> curves;
    for (const OutputQuantity* quantity : ChartCurves(kCharts[chart], *line_)) {
        const bool loss = quantity->kind == OutputKind::Loss; // in the window's loss unit
        curves.push_back({QString::fromUtf8(quantity->curve.Legend(*line_)),
                          loss ? scale_.lossUnit : QString::fromUtf8(quantity->unit), quantity,
                          loss ? scale_.lossFactor : 1.0});
    }
    return curves;
}

double SweepPlot::Value(const Curve& curve, const LineAnswer& answer) const {
    return curve.quantity->Reported(OutputSource{*line_, answer}) * curve.factor;
}

// One chart's curves over the points with a result; nothing to draw when no
// point has a value.
void SweepPlot::Fill(Chart which, const QString& title, double xLow, double xHigh) {
    QChart* chart = ChartOf(which);
    chart->setTitle(title);
    curves_[which] = CurvesOf(which);
    const std::vector<Curve>& curves = curves_[which];
    double yLow = std::numeric_limits<double>::infinity(), yHigh = -yLow;
    std::vector<QList<QPointF>> lines(curves.size());
    QList<QPointF> marks;
    for (auto& line : lines)
        line.reserve(static_cast<qsizetype>(shown_.size()));
    for (const SweepPoint& p : shown_) {
        const double x = p.x * scale_.xFactor;
        const LineAnswer answer = AnswerOf(p);
        for (std::size_t c = 0; c < curves.size(); ++c) {
            const double y = Value(curves[c], answer);
            if (!std::isfinite(y)) continue;
            lines[c].append({x, y});
            yLow = std::min(yLow, y);
            yHigh = std::max(yHigh, y);
            if (c == 0 && !p.warnings.empty()) marks.append({x, y});
        }
    }
    if (!(xLow <= xHigh) || !(yLow <= yHigh)) return;

    QList<QAbstractSeries*> series;
    for (std::size_t c = 0; c < curves.size(); ++c) {
        auto* s = new QLineSeries;
        s->setName(curves[c].name);
        s->replace(lines[c]);
        chart->addSeries(s);
        // A one-pixel cosmetic pen takes the painter's line rasterizer; the
        // default wider pen is stroked joint by joint, which dominated the
        // redraw of a 1000-point sweep.
        QPen pen = s->pen();
        pen.setWidth(1);
        pen.setCosmetic(true);
        s->setPen(pen);
        series << s;
    }
    if (!marks.isEmpty()) {
        auto* s = new QScatterSeries;
        s->setName(tr("with warnings"));
        s->setMarkerSize(7.0);
        s->setColor(WarningColour());
        s->setBorderColor(WarningColour());
        s->replace(marks);
        chart->addSeries(s);
        series << s;
    }
    AddSweptAxes(chart, scale_, xLow, xHigh, series);

    // From the data with a margin; impedance, eeff and loss are never
    // negative, so neither is the axis when the data are not.
    const double pad =
        yHigh > yLow ? 0.05 * (yHigh - yLow) : std::max(1e-3, 0.05 * std::fabs(yLow));
    auto* yAxis = new QValueAxis;
    yAxis->setLabelFormat("%g");
    yAxis->setRange(yLow >= 0.0 ? std::max(0.0, yLow - pad) : yLow - pad, yHigh + pad);
    yAxis->applyNiceNumbers();
    if (yLow >= 0.0 && yAxis->min() < 0.0) yAxis->setMin(0.0);
    chart->addAxis(yAxis, Qt::AlignLeft);
    for (QAbstractSeries* s : series)
        s->attachAxis(yAxis);
}

// The y labels of the charts differ in width: each chart's left margin
// takes up the difference, so the three plot areas share their x extent.
void SweepPlot::AlignPlotAreas() {
    std::vector<QChart*> charts;
    for (QChartView* view : views_)
        if (!view->isHidden() && !view->chart()->series().isEmpty()) charts.push_back(view->chart());
    qreal left = 0.0;
    for (QChart* chart : charts) {
        chart->setMargins(kChartMargins);
        chart->layout()->activate();
        left = std::max(left, chart->plotArea().left());
    }
    for (QChart* chart : charts) {
        QMargins margins = kChartMargins;
        margins.setLeft(margins.left() + qRound(left - chart->plotArea().left()));
        chart->setMargins(margins);
        chart->layout()->activate();
    }
}

int SweepPlot::Nearest(double x) const {
    int best = -1;
    double distance = std::numeric_limits<double>::infinity();
    const auto place = [this](double value) {
        return scale_.logarithmic ? std::log(std::max(value, 1e-300)) : value;
    };
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        const double d = std::fabs(place(shown_[i].x * scale_.xFactor) - place(x));
        if (d < distance) {
            distance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

QString SweepPlot::ReadoutAt(double x) const {
    const int i = Nearest(x);
    if (i < 0) return {};
    const SweepPoint& p = shown_[static_cast<std::size_t>(i)];
    QStringList parts{scale_.xTitle + QStringLiteral(" = ") + Number(p.x * scale_.xFactor)};
    const LineAnswer answer = AnswerOf(p);
    for (std::size_t chart = 0; chart < curves_.size(); ++chart) {
        for (const Curve& curve : curves_[chart]) {
            const double y = Value(curve, answer);
            if (!std::isfinite(y)) continue;
            const QString name = chart == Loss ? tr("loss %1").arg(curve.name) : curve.name;
            parts << name + QStringLiteral(" = ") + Number(y) +
                         (curve.unit.isEmpty() ? QString() : QStringLiteral(" ") + curve.unit);
        }
    }
    if (!p.warnings.empty()) parts << tr("%n warning(s)", nullptr, int(p.warnings.size()));
    return parts.join(QStringLiteral(";  "));
}

void SweepPlot::ShowCrosshair(double x) {
    const int i = Nearest(x);
    if (i < 0) return HideCrosshair();
    const double at = shown_[static_cast<std::size_t>(i)].x * scale_.xFactor;
    for (std::size_t c = 0; c < views_.size(); ++c) {
        QChart* chart = views_[c]->chart();
        if (views_[c]->isHidden() || chart->series().isEmpty()) continue;
        const QRectF area = chart->plotArea();
        const qreal px = chart->mapToPosition(QPointF(at, 0.0), chart->series().front()).x();
        crosshairs_[c]->setLine(px, area.top(), px, area.bottom());
        crosshairs_[c]->show();
    }
    readout->setText(ReadoutAt(at));
}

void SweepPlot::HideCrosshair() {
    for (QGraphicsLineItem* line : crosshairs_)
        line->hide();
}

bool SweepPlot::eventFilter(QObject* watched, QEvent* event) {
    for (QChartView* view : views_) {
        if (watched != view->viewport()) continue;
        if (event->type() == QEvent::Leave) HideCrosshair();
        if (event->type() != QEvent::MouseMove || view->chart()->series().isEmpty()) break;
        const auto* move = static_cast<QMouseEvent*>(event);
        QChart* chart = view->chart();
        const QPointF at = chart->mapFromScene(view->mapToScene(move->position().toPoint()));
        if (chart->plotArea().contains(at))
            ShowCrosshair(chart->mapToValue(at, chart->series().front()).x());
        else
            HideCrosshair();
        break;
    }
    return QWidget::eventFilter(watched, event);
}
