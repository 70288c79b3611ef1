// C_TPieChart drawing: the top ellipse split into the won and lost slices, the front wall below it.
#include "ui/pie_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace cw::ui {

const QColor C_TPieChart::kWonFace(153, 255, 102);
const QColor C_TPieChart::kWonWall(91, 183, 0);
const QColor C_TPieChart::kLostFace(255, 121, 75);
const QColor C_TPieChart::kLostWall(177, 54, 1);

C_TPieChart::C_TPieChart(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(100, 70);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void C_TPieChart::setPercent(double percent)
{
    const int v = std::clamp(static_cast<int>(std::trunc(percent)), 0, 100);
    if (v == m_percent) return;
    m_percent = v;
    update();
}

void C_TPieChart::setHasValues(bool hasValues)
{
    if (hasValues == m_hasValues) return;
    m_hasValues = hasValues;
    update();
}

void C_TPieChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF area = QRectF(rect()).adjusted(2, 2, -2, -2);
    // A wide widget keeps a round-looking pie: at most twice as wide as it is high, centred.
    const double maxWidth = 2.0 * area.height();
    if (area.width() > maxWidth) area = QRectF(area.center().x() - maxWidth / 2, area.top(), maxWidth, area.height());
    const QRectF top(area.left(), area.top(), area.width(), std::max(10.0, area.height() - kWallDepth));
    if (m_hasValues)
        paintPie(p, top);
    else
        paintNoValues(p, top);
}

namespace {

// Qt angles count in sixteenths of a degree, counter-clockwise from three o'clock. The won slice
// starts at the top of the ellipse and runs clockwise.
constexpr int kTopAngle = 90 * 16;

int wonSpan(int percent) { return -static_cast<int>(std::lround(percent * 3.6 * 16)); }

} // namespace

void C_TPieChart::paintPie(QPainter& p, const QRectF& top)
{
    const int won = wonSpan(m_percent);
    const int lost = -(360 * 16) - won;
    // The wall: the slices stacked downwards, deepest first, each step one pixel higher.
    p.setPen(Qt::NoPen);
    for (int dy = kWallDepth; dy >= 1; --dy) {
        const QRectF r = top.translated(0, dy);
        if (won != 0) {
            p.setBrush(kWonWall);
            p.drawPie(r, kTopAngle, won);
        }
        if (lost != 0) {
            p.setBrush(kLostWall);
            p.drawPie(r, kTopAngle + won, lost);
        }
    }
    // The top face.
    p.setPen(QPen(Qt::black, 1));
    if (won == -(360 * 16)) {
        p.setBrush(kWonFace);
        p.drawEllipse(top);
    } else if (won == 0) {
        p.setBrush(kLostFace);
        p.drawEllipse(top);
    } else {
        p.setBrush(kWonFace);
        p.drawPie(top, kTopAngle, won);
        p.setBrush(kLostFace);
        p.drawPie(top, kTopAngle + won, lost);
    }
    // Outline of the wall: the lower half of the bottom ellipse and the two sides.
    p.setBrush(Qt::NoBrush);
    p.drawArc(top.translated(0, kWallDepth), 180 * 16, 180 * 16);
    const double midY = top.center().y();
    p.drawLine(QPointF(top.left(), midY), QPointF(top.left(), midY + kWallDepth));
    p.drawLine(QPointF(top.right(), midY), QPointF(top.right(), midY + kWallDepth));
    // A slice edge on the front half runs down the wall.
    if (won != 0 && won != -(360 * 16)) {
        const double deg = 90.0 + won / 16.0;  // the won slice's second edge
        const double rad = deg * M_PI / 180.0;
        const double y = std::sin(rad);
        if (y < 0) {  // below the centre line: the front of the pie
            const QPointF edge(top.center().x() + std::cos(rad) * top.width() / 2,
                               top.center().y() - y * top.height() / 2);
            p.drawLine(edge, edge + QPointF(0, kWallDepth));
        }
    }
}

void C_TPieChart::paintNoValues(QPainter& p, const QRectF& top)
{
    // An empty, grey pie with the words "No values".
    p.setPen(QPen(Qt::gray, 1));
    p.setBrush(QColor(225, 225, 225));
    QPainterPath wall;
    wall.moveTo(top.left(), top.center().y());
    wall.arcTo(top.translated(0, kWallDepth), 180, 180);
    wall.lineTo(top.right(), top.center().y());
    wall.closeSubpath();
    p.setBrush(QColor(200, 200, 200));
    p.drawPath(wall);
    p.setBrush(QColor(235, 235, 235));
    p.drawEllipse(top);
    p.setPen(Qt::darkGray);
    p.drawText(top, Qt::AlignCenter, tr("No values"));
}

} // namespace cw::ui
