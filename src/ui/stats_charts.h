// The charts of the statistics dialogs (Qt Charts): the progression of the percentage of won deals over
// time, zoomable with the wheel and draggable, on a date axis; and the small bar charts.
#pragma once

#include <QChartView>
#include <QColor>
#include <QDateTime>

#include <vector>

#include "stats/progression_chart.h"

class QLineSeries;
class QDateTimeAxis;
class QValueAxis;

namespace cw::ui {

class ProgressionChartView : public QChartView {
    Q_OBJECT
public:
    explicit ProgressionChartView(QWidget* parent = nullptr);

    // Draws the points in order. Points of one month share it evenly on the date axis; a single point is
    // drawn twice so that a line shows. The vertical axis runs from 0 to 100 when every value is 0, else it
    // follows the values.
    void setPoints(const stats::ProgressionPoints& points);
    int pointCount() const { return int(m_points.size()); }
    double percentAt(int i) const;
    QDateTime dateAt(int i) const;
    // The vertical axis' label format ("%d" from 10 on, else "%.1f").
    QString valueFormat() const;
    bool empty() const { return m_points.empty(); }

    // Shows every point (the zoom undone).
    void fitAll();
    // Shows points first .. first + count (the zoom dialog's scroll window).
    void showWindow(int first, int count);
    // Zooms the horizontal axis around its middle by factor (> 1 zooms in).
    void zoomBy(double factor);
    // The horizontal range shown.
    QDateTime shownFrom() const;
    QDateTime shownTo() const;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setRange(double fromMs, double toMs);
    void updateDateLabels();
    void zoomAround(double factor, double centreMs);

    std::vector<std::pair<QDateTime, double>> m_points;
    QLineSeries* m_series = nullptr;
    QDateTimeAxis* m_dates = nullptr;
    QValueAxis* m_values = nullptr;
    double m_fullFrom = 0, m_fullTo = 0;
    QPoint m_dragFrom;
    bool m_dragging = false;
};

// One bar of a bar chart.
struct ChartBar {
    QString label;
    double value = 0;
    QColor colour;
};

// A bar chart of a few bars, each in its own colour, named in the legend.
class BarChartView : public QChartView {
    Q_OBJECT
public:
    explicit BarChartView(bool horizontal = false, QWidget* parent = nullptr);
    // maxValue: the end of the value axis (0: follows the values).
    void setBars(const std::vector<ChartBar>& bars, double maxValue = 0);
    const std::vector<ChartBar>& bars() const { return m_bars; }

private:
    bool m_horizontal;
    std::vector<ChartBar> m_bars;
};

// The colours the statistics share.
namespace chart_colours {
inline const QColor kWon{153, 255, 102};
inline const QColor kLost{255, 121, 75};
inline const QColor kNotPlayed{255, 255, 153};
inline const QColor kYours{255, 255, 153};
inline const QColor kAverage{0, 131, 215};
} // namespace chart_colours

// "mmm yy" of a month in the locale's month names.
QString monthLabel(const stats::YearMonth& m);

} // namespace cw::ui
