// C_TPieChart: the won/lost pie of the statistics dialogs, a flat ellipse with a 10-pixel side wall.
#pragma once

#include <QWidget>

namespace cw::ui {

class C_TPieChart : public QWidget {
    Q_OBJECT
public:
    explicit C_TPieChart(QWidget* parent = nullptr);

    // The won percentage, truncated to a whole number and kept within 0..100.
    void setPercent(double percent);
    int percent() const { return m_percent; }
    // Without values the no-values picture is drawn instead of the pie.
    void setHasValues(bool hasValues);
    bool hasValues() const { return m_hasValues; }

    QSize sizeHint() const override { return {150, 110}; }

    // Colours of the two shares and their walls.
    static const QColor kWonFace, kWonWall, kLostFace, kLostWall;
    static constexpr int kWallDepth = 10;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintPie(QPainter& p, const QRectF& top);
    void paintNoValues(QPainter& p, const QRectF& top);

    int m_percent = 0;
    bool m_hasValues = true;
};

} // namespace cw::ui
