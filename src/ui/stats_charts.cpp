// The progression chart on a date axis with wheel zoom and drag, and the bar charts of the statistics.
#include "ui/stats_charts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QHorizontalBarSeries>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QValueAxis>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace cw::ui {

QString monthLabel(const stats::YearMonth& m)
{
    const QDate d(m.year, std::clamp(m.month, 1, 12), 1);
    return QLocale().toString(d, QStringLiteral("MMM yy"));
}

namespace {

QChart* plainChart()
{
    auto* chart = new QChart;
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    return chart;
}

// Whole-number ticks of 1, 2 or 5 times a power of ten, at most five of them up to end.
double tickStep(double end)
{
    for (double scale = 1;; scale *= 10)
        for (double m : {1.0, 2.0, 5.0})
            if (end / (m * scale) <= 5)
                return m * scale;
}

} // namespace

// ---- Progression ----

ProgressionChartView::ProgressionChartView(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    QChart* c = plainChart();
    c->legend()->hide();
    m_series = new QLineSeries(c);
    m_series->setPointsVisible(true);
    m_series->setColor(chart_colours::kAverage);
    c->addSeries(m_series);
    m_dates = new QDateTimeAxis(c);
    m_dates->setFormat(QStringLiteral("MMM yy"));
    m_dates->setTickCount(5);
    m_values = new QValueAxis(c);
    m_values->setRange(0, 100);
    m_values->setLabelFormat(QStringLiteral("%d"));
    // Short labels: never cut to "..." in a small chart.
    m_values->setTruncateLabels(false);
    m_dates->setTruncateLabels(false);
    c->addAxis(m_dates, Qt::AlignBottom);
    c->addAxis(m_values, Qt::AlignLeft);
    m_series->attachAxis(m_dates);
    m_series->attachAxis(m_values);
    setChart(c);
    setMinimumSize(160, 110);
    setToolTip(tr("Wheel: zoom; drag: move along the time axis; double click: everything"));
}

void ProgressionChartView::setPoints(const stats::ProgressionPoints& points)
{
    m_points.clear();
    // Each month holds its points evenly spread over its days, in their order.
    const auto& pts = points.points;
    for (std::size_t i = 0; i < pts.size();) {
        std::size_t j = i;
        while (j < pts.size() && pts[j].month == pts[i].month)
            ++j;
        const QDate start(pts[i].month.year, std::clamp(pts[i].month.month, 1, 12), 1);
        const qint64 from = QDateTime(start, QTime(0, 0)).toMSecsSinceEpoch();
        const qint64 to = QDateTime(start.addMonths(1), QTime(0, 0)).toMSecsSinceEpoch();
        const std::size_t n = j - i;
        for (std::size_t k = 0; k < n; ++k) {
            qint64 at = from + qint64(double(to - from) * (double(k) + 0.5) / double(n));
            // Months out of order (the clock turned back) still draw from left to right.
            if (!m_points.empty())
                at = std::max(at, m_points.back().first.toMSecsSinceEpoch() + 1);
            m_points.emplace_back(QDateTime::fromMSecsSinceEpoch(at), pts[i + k].percent);
        }
        i = j;
    }
    if (m_points.size() == 1)
        m_points.emplace_back(m_points.front().first.addDays(1), m_points.front().second);

    QList<QPointF> xy;
    double top = 0;
    for (const auto& [when, percent] : m_points) {
        xy.append(QPointF(double(when.toMSecsSinceEpoch()), percent));
        top = std::max(top, percent);
    }
    m_series->replace(xy);
    m_values->setLabelFormat(valueFormat());
    if (top <= 0) {
        m_values->setRange(0, 100);
    } else {
        double low = 100;
        for (const auto& p : m_points)
            low = std::min(low, p.second);
        const double pad = std::max(1.0, (top - low) * 0.1);
        m_values->setRange(std::max(0.0, low - pad), std::min(100.0, top + pad));
        if (top >= 10)
            m_values->applyNiceNumbers();
    }
    if (m_points.empty()) {
        const QDateTime now = QDateTime::currentDateTime();
        m_fullFrom = double(now.addMonths(-1).toMSecsSinceEpoch());
        m_fullTo = double(now.toMSecsSinceEpoch());
    } else {
        // A small margin on both sides, so that the first and last points stay visible.
        const double a = double(m_points.front().first.toMSecsSinceEpoch());
        const double b = double(m_points.back().first.toMSecsSinceEpoch());
        const double margin = std::max((b - a) * 0.02, 12.0 * 3600 * 1000);
        m_fullFrom = a - margin;
        m_fullTo = b + margin;
    }
    fitAll();
}

double ProgressionChartView::percentAt(int i) const
{
    return i >= 0 && i < int(m_points.size()) ? m_points[std::size_t(i)].second : 0;
}

QDateTime ProgressionChartView::dateAt(int i) const
{
    return i >= 0 && i < int(m_points.size()) ? m_points[std::size_t(i)].first : QDateTime();
}

QString ProgressionChartView::valueFormat() const
{
    double top = 0;
    for (const auto& p : m_points)
        top = std::max(top, p.second);
    return top >= 10 || top <= 0 ? QStringLiteral("%d") : QStringLiteral("%.1f");
}

void ProgressionChartView::setRange(double fromMs, double toMs)
{
    if (toMs <= fromMs)
        toMs = fromMs + 1000;
    m_dates->setRange(QDateTime::fromMSecsSinceEpoch(qint64(fromMs)), QDateTime::fromMSecsSinceEpoch(qint64(toMs)));
    updateDateLabels();
}

void ProgressionChartView::updateDateLabels()
{
    // Days once the range is short enough for two ticks to fall in one month; a tick every 110 pixels.
    const double days = double(m_dates->min().msecsTo(m_dates->max())) / (24.0 * 3600 * 1000);
    m_dates->setTickCount(std::clamp(width() / 110, 2, 10));
    const double daysPerTick = days / double(m_dates->tickCount() - 1);
    m_dates->setFormat(daysPerTick < 31 ? QStringLiteral("d MMM yy") : QStringLiteral("MMM yy"));
}

void ProgressionChartView::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    updateDateLabels();
}

void ProgressionChartView::fitAll() { setRange(m_fullFrom, m_fullTo); }

void ProgressionChartView::showWindow(int first, int count)
{
    if (m_points.empty())
        return;
    const int last = int(m_points.size()) - 1;
    first = std::clamp(first, 0, last);
    const int end = std::clamp(first + count, first, last);
    double a = double(m_points[std::size_t(first)].first.toMSecsSinceEpoch());
    double b = double(m_points[std::size_t(end)].first.toMSecsSinceEpoch());
    const double margin = std::max((b - a) * 0.02, 3600.0 * 1000);
    setRange(a - margin, b + margin);
}

void ProgressionChartView::zoomAround(double factor, double centre)
{
    if (factor <= 0)
        return;
    const double from = double(m_dates->min().toMSecsSinceEpoch());
    const double to = double(m_dates->max().toMSecsSinceEpoch());
    // Never closer than a day, never wider than ten times everything.
    double width = std::clamp((to - from) / factor, 24.0 * 3600 * 1000, std::max(1.0, (m_fullTo - m_fullFrom) * 10));
    const double share = to > from ? (centre - from) / (to - from) : 0.5;
    setRange(centre - width * share, centre + width * (1 - share));
}

void ProgressionChartView::zoomBy(double factor)
{
    const double from = double(m_dates->min().toMSecsSinceEpoch());
    const double to = double(m_dates->max().toMSecsSinceEpoch());
    zoomAround(factor, (from + to) / 2);
}

QDateTime ProgressionChartView::shownFrom() const { return m_dates->min(); }
QDateTime ProgressionChartView::shownTo() const { return m_dates->max(); }

void ProgressionChartView::wheelEvent(QWheelEvent* event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0) {
        event->ignore();
        return;
    }
    const QPointF at = chart()->mapToValue(chart()->mapFromScene(mapToScene(event->position().toPoint())), m_series);
    zoomAround(std::pow(1.25, steps), at.x());
    event->accept();
}

void ProgressionChartView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragFrom = event->position().toPoint();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void ProgressionChartView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging) {
        QChartView::mouseMoveEvent(event);
        return;
    }
    const QPoint now = event->position().toPoint();
    chart()->scroll(-(now.x() - m_dragFrom.x()), 0);
    m_dragFrom = now;
    event->accept();
}

void ProgressionChartView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        unsetCursor();
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

void ProgressionChartView::mouseDoubleClickEvent(QMouseEvent* event)
{
    fitAll();
    event->accept();
}

// ---- Bars ----

BarChartView::BarChartView(bool horizontal, QWidget* parent) : QChartView(parent), m_horizontal(horizontal)
{
    setRenderHint(QPainter::Antialiasing);
    setChart(plainChart());
    setMinimumSize(140, 100);
}

void BarChartView::setBars(const std::vector<ChartBar>& bars, double maxValue)
{
    m_bars = bars;
    QChart* c = chart();
    c->removeAllSeries();
    for (QAbstractAxis* a : c->axes()) {
        c->removeAxis(a);
        delete a;
    }
    QAbstractBarSeries* series = m_horizontal ? static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries)
                                              : static_cast<QAbstractBarSeries*>(new QBarSeries);
    double top = 0;
    for (const ChartBar& b : bars) {
        auto* set = new QBarSet(b.label);
        set->append(b.value);
        set->setColor(b.colour);
        set->setBorderColor(Qt::black);
        set->setLabelColor(Qt::black);
        series->append(set);
        top = std::max(top, b.value);
    }
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
    c->addSeries(series);
    auto* values = new QValueAxis;
    const double end = maxValue > 0 ? maxValue : std::max(1.0, top * 1.1);
    const double step = tickStep(end);
    values->setRange(0, std::ceil(end / step) * step);
    values->setTickType(QValueAxis::TicksDynamic);
    values->setTickAnchor(0);
    values->setTickInterval(step);
    values->setLabelFormat(QStringLiteral("%d"));
    values->setTruncateLabels(false);
    auto* categories = new QBarCategoryAxis;
    categories->append(QStringLiteral(" "));
    categories->setVisible(false);
    c->addAxis(values, m_horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    c->addAxis(categories, m_horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    series->attachAxis(values);
    series->attachAxis(categories);
    c->legend()->setVisible(!bars.empty());
    c->legend()->setAlignment(Qt::AlignBottom);
}

} // namespace cw::ui
