// The toolbar's pictures: cards, arrows, a book and a door, drawn on a 24 x 24 grid and scaled.
#include "ui/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>
#include <map>

namespace cw::ui {

namespace {

const QColor kInk(40, 48, 60);
const QColor kCardFace(252, 251, 245);
const QColor kBlue(38, 104, 196);
const QColor kGreen(34, 139, 58);
const QColor kRed(196, 40, 48);

using Drawing = std::function<void(QPainter&)>;

void card(QPainter& p, QRectF r, const QColor& face = kCardFace)
{
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(face);
    p.drawRoundedRect(r, 2, 2);
}

// An arc of a circle around `centre` from `start` degrees through `span` with an arrowhead at its end.
void curvedArrow(QPainter& p, QPointF centre, qreal radius, qreal start, qreal span, const QColor& colour)
{
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(box, int(start * 16), int(span * 16));
    // the tip sits at the arc's end, pointing along it
    QPainterPath arc;
    arc.arcMoveTo(box, start);
    arc.arcTo(box, start, span);
    const qreal at = 1.0;
    const QPointF tip = arc.pointAtPercent(at);
    const qreal angle = arc.angleAtPercent(at);
    p.save();
    p.translate(tip);
    p.rotate(-angle);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPolygonF head;
    head << QPointF(4.5, 0) << QPointF(-2.5, -4.5) << QPointF(-2.5, 4.5);
    p.drawPolygon(head);
    p.restore();
}

const std::map<QString, Drawing>& drawings()
{
    static const std::map<QString, Drawing> table = {
        {QStringLiteral("mnuNew"),
         [](QPainter& p) {
             card(p, QRectF(3, 5, 11, 15), QColor(210, 222, 245));
             card(p, QRectF(7, 2, 11, 15));
             // a green plus badge
             p.setPen(Qt::NoPen);
             p.setBrush(kGreen);
             p.drawEllipse(QPointF(17.5, 17.5), 5.5, 5.5);
             p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(17.5, 14.5), QPointF(17.5, 20.5));
             p.drawLine(QPointF(14.5, 17.5), QPointF(20.5, 17.5));
         }},
        {QStringLiteral("mnuOpen"),
         [](QPainter& p) {
             // a fan of cards to choose from
             p.save();
             for (qreal angle : {-24.0, 0.0, 24.0}) {
                 p.save();
                 p.translate(12, 20);
                 p.rotate(angle);
                 card(p, QRectF(-5, -16, 10, 14), angle == 0.0 ? kCardFace : QColor(210, 222, 245));
                 p.restore();
             }
             p.restore();
             p.setPen(Qt::NoPen);
             p.setBrush(kRed);
             p.drawEllipse(QPointF(12, 10), 2, 2);
         }},
        {QStringLiteral("mnuRestart"),
         [](QPainter& p) {
             card(p, QRectF(8, 7, 8, 11));
             curvedArrow(p, QPointF(12, 12.5), 9, 120, 270, kBlue);
         }},
        {QStringLiteral("mnuSave"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.2));
             p.setBrush(QColor(200, 205, 215));
             p.drawRoundedRect(QRectF(3, 14, 18, 7), 1.5, 1.5);
             p.setPen(Qt::NoPen);
             p.setBrush(kBlue);
             p.drawRect(QRectF(10, 2, 4, 8));
             QPolygonF head;
             head << QPointF(5.5, 9) << QPointF(18.5, 9) << QPointF(12, 16);
             p.drawPolygon(head);
         }},
        {QStringLiteral("mnuUndo"), [](QPainter& p) { curvedArrow(p, QPointF(13, 14), 7.5, 0, 180, kBlue); }},
        {QStringLiteral("mnuRedo"), [](QPainter& p) { curvedArrow(p, QPointF(11, 14), 7.5, 180, -180, kBlue); }},
        {QStringLiteral("mnuAutoplay"),
         [](QPainter& p) {
             // cards flying up to the foundation
             card(p, QRectF(4, 9, 10, 13));
             card(p, QRectF(9, 2, 10, 13));
             p.setPen(Qt::NoPen);
             p.setBrush(kRed);
             QPainterPath heart;
             heart.moveTo(14, 12);
             heart.cubicTo(10, 9, 11.5, 5, 14, 7);
             heart.cubicTo(16.5, 5, 18, 9, 14, 12);
             p.drawPath(heart);
             p.setBrush(kGreen);
             QPolygonF up;
             up << QPointF(2, 7) << QPointF(6, 2) << QPointF(10, 7);
             p.drawPolygon(up);
         }},
        {QStringLiteral("mnuGameStatistics"),
         [](QPainter& p) {
             // a bar chart on its axes
             p.setPen(QPen(kInk, 1.4));
             p.drawLine(QPointF(3, 3), QPointF(3, 21));
             p.drawLine(QPointF(3, 21), QPointF(21, 21));
             p.setPen(QPen(kInk, 1.0));
             const QColor bars[] = {kBlue, kGreen, kRed};
             const qreal heights[] = {7, 15, 11};
             for (int i = 0; i < 3; ++i) {
                 p.setBrush(bars[i]);
                 p.drawRect(QRectF(5.5 + i * 5.5, 20 - heights[i], 4, heights[i]));
             }
         }},
        {QStringLiteral("mnuRules"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.2));
             p.setBrush(kCardFace);
             QPainterPath left, right;
             left.moveTo(12, 6);
             left.cubicTo(9, 4, 5, 4, 2, 5);
             left.lineTo(2, 20);
             left.cubicTo(5, 19, 9, 19, 12, 21);
             left.closeSubpath();
             right.moveTo(12, 6);
             right.cubicTo(15, 4, 19, 4, 22, 5);
             right.lineTo(22, 20);
             right.cubicTo(19, 19, 15, 19, 12, 21);
             right.closeSubpath();
             p.drawPath(left);
             p.drawPath(right);
             p.setPen(QPen(kBlue, 1.1));
             for (qreal y : {9.0, 12.0, 15.0}) {
                 p.drawLine(QPointF(4.5, y), QPointF(9.5, y));
                 p.drawLine(QPointF(14.5, y), QPointF(19.5, y));
             }
         }},
        {QStringLiteral("mnuExit"),
         [](QPainter& p) {
             // a door and an arrow leaving through it
             p.setPen(QPen(kInk, 1.2));
             p.setBrush(QColor(176, 120, 70));
             p.drawRect(QRectF(3, 3, 10, 18));
             p.setBrush(kInk);
             p.drawEllipse(QPointF(10.5, 12), 1, 1);
             p.setPen(QPen(kRed, 2.6, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(11, 12), QPointF(18, 12));
             p.setPen(Qt::NoPen);
             p.setBrush(kRed);
             QPolygonF head;
             head << QPointF(22.5, 12) << QPointF(17, 7.5) << QPointF(17, 16.5);
             p.drawPolygon(head);
         }},
        {QStringLiteral("tbRestore"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.4));
             p.setBrush(QColor(220, 228, 240));
             p.drawRect(QRectF(8, 3, 13, 11));
             p.drawRect(QRectF(3, 9, 13, 11));
             p.setPen(Qt::NoPen);
             p.setBrush(kBlue);
             p.drawRect(QRectF(3, 9, 13, 3));
         }},
    };
    return table;
}

QPixmap render(const Drawing& draw, int size, qreal dpr)
{
    QPixmap pixmap(QSize(size, size) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    draw(p);
    return pixmap;
}

} // namespace

QIcon toolbarIcon(const QString& command)
{
    const auto it = drawings().find(command);
    if (it == drawings().end())
        return {};
    QIcon icon;
    for (int size : {16, 24, 32})
        for (qreal dpr : {1.0, 2.0})
            icon.addPixmap(render(it->second, size, dpr));
    return icon;
}

QStringList toolbarIconNames()
{
    QStringList names;
    for (const auto& [name, draw] : drawings())
        names << name;
    return names;
}

} // namespace cw::ui
