// The mouse pointers the player may choose ("Cursor" 10 to 15), drawn by our own code.
#include "ui/pointers.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTransform>

namespace cw::ui {

namespace {

// An arrow pointing up and left, tip at (0, 0), in a box of `size`.
QPainterPath arrowPath(qreal size)
{
    const qreal k = size / 20.0;
    QPainterPath p;
    p.moveTo(0, 0);
    p.lineTo(0, 16 * k);
    p.lineTo(4 * k, 12.5 * k);
    p.lineTo(7 * k, 19 * k);
    p.lineTo(9.5 * k, 18 * k);
    p.lineTo(6.5 * k, 11.5 * k);
    p.lineTo(11.5 * k, 11.5 * k);
    p.closeSubpath();
    return p;
}

// A hand pointing up with the index finger, fingertip at the top centre of a 24 x 24 box.
QPainterPath handPath(bool open)
{
    QPainterPath p;
    p.addRoundedRect(QRectF(9, 1, 4, 12), 2, 2); // index finger
    if (open) {
        p.addRoundedRect(QRectF(13, 4, 3.5, 10), 1.75, 1.75);
        p.addRoundedRect(QRectF(16.5, 5.5, 3.5, 9), 1.75, 1.75);
        p.addRoundedRect(QRectF(5.5, 4, 3.5, 10), 1.75, 1.75);
    }
    p.addRoundedRect(QRectF(6, 10, 14, 10), 3, 3);         // palm and folded fingers
    p.addRoundedRect(QRectF(2.5, 11, 5, 3.5), 1.75, 1.75); // thumb
    return p.simplified();
}

QCursor drawn(const QPainterPath& shape, QSize box, QPoint hotSpot, bool mirrored)
{
    QPixmap pix(box * 2);
    pix.setDevicePixelRatio(2.0);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path = shape;
    if (mirrored) {
        QTransform t;
        t.translate(box.width(), 0);
        t.scale(-1, 1);
        path = t.map(path);
        hotSpot.setX(box.width() - 1 - hotSpot.x());
    }
    p.translate(0.5, 0.5);
    p.setPen(QPen(Qt::black, 1.0));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.end();
    return QCursor(pix, hotSpot.x(), hotSpot.y());
}

} // namespace

QStringList pointerNames()
{
    return {QStringLiteral("Arrow small"),  QStringLiteral("Arrow large"), QStringLiteral("Right-hand 1"),
            QStringLiteral("Right-hand 2"), QStringLiteral("Left-hand 1"), QStringLiteral("Left-hand 2")};
}

QCursor pointerFor(int cursorValue)
{
    switch (cursorValue) {
    case 11: return drawn(arrowPath(30), QSize(32, 32), QPoint(0, 0), false);
    case 12: return drawn(handPath(false), QSize(24, 24), QPoint(11, 1), false);
    case 13: return drawn(handPath(true), QSize(24, 24), QPoint(11, 1), false);
    case 14: return drawn(handPath(false), QSize(24, 24), QPoint(11, 1), true);
    case 15: return drawn(handPath(true), QSize(24, 24), QPoint(11, 1), true);
    default: return QCursor(Qt::ArrowCursor);
    }
}

} // namespace cw::ui
