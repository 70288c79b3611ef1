// Our own high-contrast card set: large plain indices in pure inks, drawn with QPainter at any size.
#include "ui/card_art.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <array>
#include <cmath>

namespace cw::ui {

namespace {

// Pure inks on white: the most contrast a printed card can have.
const QColor kRed(0xD0, 0x00, 0x10);
const QColor kBlack(0x00, 0x00, 0x00);

// Suit outlines in a unit square, built once.
const std::array<QPainterPath, 4>& unitSuits()
{
    static const std::array<QPainterPath, 4> suits = [] {
        std::array<QPainterPath, 4> s;
        QPainterPath heart;
        heart.moveTo(0.5, 0.98);
        heart.cubicTo(0.3, 0.75, 0.0, 0.55, 0.0, 0.3);
        heart.cubicTo(0.0, 0.1, 0.15, 0.0, 0.28, 0.0);
        heart.cubicTo(0.4, 0.0, 0.47, 0.08, 0.5, 0.18);
        heart.cubicTo(0.53, 0.08, 0.6, 0.0, 0.72, 0.0);
        heart.cubicTo(0.85, 0.0, 1.0, 0.1, 1.0, 0.3);
        heart.cubicTo(1.0, 0.55, 0.7, 0.75, 0.5, 0.98);
        heart.closeSubpath();
        s[0] = heart;

        QPainterPath diamond;
        diamond.moveTo(0.5, 0.0);
        diamond.quadTo(0.66, 0.28, 0.88, 0.5);
        diamond.quadTo(0.66, 0.72, 0.5, 1.0);
        diamond.quadTo(0.34, 0.72, 0.12, 0.5);
        diamond.quadTo(0.34, 0.28, 0.5, 0.0);
        diamond.closeSubpath();
        s[1] = diamond;

        QPainterPath stem;
        stem.moveTo(0.46, 0.62);
        stem.quadTo(0.44, 0.88, 0.28, 1.0);
        stem.lineTo(0.72, 1.0);
        stem.quadTo(0.56, 0.88, 0.54, 0.62);
        stem.closeSubpath();

        QPainterPath club;
        club.addEllipse(QPointF(0.5, 0.25), 0.23, 0.23);
        QPainterPath left;
        left.addEllipse(QPointF(0.245, 0.6), 0.23, 0.23);
        QPainterPath right;
        right.addEllipse(QPointF(0.755, 0.6), 0.23, 0.23);
        QPainterPath middle;
        middle.addEllipse(QPointF(0.5, 0.52), 0.14, 0.14);
        s[2] = club.united(left).united(right).united(middle).united(stem);

        QPainterPath spade;
        spade.moveTo(0.5, 0.0);
        spade.cubicTo(0.6, 0.2, 1.0, 0.33, 1.0, 0.6);
        spade.cubicTo(1.0, 0.78, 0.86, 0.84, 0.74, 0.84);
        spade.cubicTo(0.62, 0.84, 0.55, 0.78, 0.5, 0.7);
        spade.cubicTo(0.45, 0.78, 0.38, 0.84, 0.26, 0.84);
        spade.cubicTo(0.14, 0.84, 0.0, 0.78, 0.0, 0.6);
        spade.cubicTo(0.0, 0.33, 0.4, 0.2, 0.5, 0.0);
        spade.closeSubpath();
        s[3] = spade.united(stem);
        return s;
    }();
    return suits;
}

QColor suitColour(int suit) { return suit < 2 ? kRed : kBlack; }

} // namespace

QString rankText(int rank)
{
    static const char* const texts[] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
    return rank >= 0 && rank < 13 ? QLatin1String(texts[rank]) : QString();
}

QPainterPath fittedText(const QString& text, const QRectF& box, Qt::Alignment align, const QString& family)
{
    QFont font(family);
    font.setPixelSize(100);
    font.setBold(true);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF b = path.boundingRect();
    if (b.isEmpty())
        return {};
    qreal sy = box.height() / b.height();
    qreal sx = sy;
    if (b.width() * sx > box.width())
        sx = box.width() / b.width();
    const qreal w = b.width() * sx;
    qreal x = box.left();
    if (align & Qt::AlignHCenter)
        x = box.center().x() - w / 2;
    else if (align & Qt::AlignRight)
        x = box.right() - w;
    QTransform t;
    t.translate(x, box.top());
    t.scale(sx, sy);
    t.translate(-b.left(), -b.top());
    return t.map(path);
}

namespace {

void paintBlank(QPainter& p, const QRectF& rect)
{
    const qreal pen = std::max<qreal>(1.0, rect.width() / 45.0);
    const QRectF r = rect.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
    const qreal radius = rect.width() * 0.08;
    p.setPen(QPen(Qt::black, pen));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, radius, radius);
}

// One corner index: the rank with the suit below it, in a column at the left edge, so
// that both show in a downward fan and in a fan to the right.
void paintIndex(QPainter& p, const QRectF& rect, const QString& rank, int suit, const QColor& colour)
{
    const qreal w = rect.width(), h = rect.height();
    const QRectF rankBox(rect.left() + w * 0.06, rect.top() + h * 0.04, w * 0.36, h * 0.21);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(fittedText(rank, rankBox, Qt::AlignHCenter));
    if (suit >= 0) {
        const qreal s = h * 0.15;
        p.drawPath(suitShape(suit, QRectF(rankBox.center().x() - s * 0.45, rect.top() + h * 0.28, s * 0.9, s)));
    }
}

void paintBothIndices(QPainter& p, const QRectF& rect, const QString& rank, int suit, const QColor& colour)
{
    paintIndex(p, rect, rank, suit, colour);
    p.save();
    p.translate(rect.center());
    p.rotate(180);
    p.translate(-rect.center());
    paintIndex(p, rect, rank, suit, colour);
    p.restore();
}

} // namespace

QPainterPath suitShape(int suitIndex, const QRectF& box)
{
    if (suitIndex < 0 || suitIndex > 3)
        return {};
    QTransform t;
    t.translate(box.left(), box.top());
    t.scale(box.width(), box.height());
    return t.map(unitSuits()[static_cast<std::size_t>(suitIndex)]);
}

void paintPlainFace(QPainter& p, const QRectF& rect, int faceIndex)
{
    if (faceIndex < 0 || faceIndex > 51)
        return;
    const int suit = faceIndex / 13, rank = faceIndex % 13;
    const QColor colour = suitColour(suit);
    p.save();
    paintBlank(p, rect);
    const qreal w = rect.width(), h = rect.height();
    if (w < 40) {
        // The tiny size: rank and suit, nothing else.
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPath(
            fittedText(rankText(rank), QRectF(rect.left() + 2, rect.top() + 2, w - 4, h * 0.42), Qt::AlignHCenter));
        p.drawPath(suitShape(suit, QRectF(rect.center().x() - w * 0.3, rect.top() + h * 0.52, w * 0.6, h * 0.4)));
        p.restore();
        return;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    if (rank >= 10) {
        // Court cards: the letter large in a panel tinted in the suit's colour.
        const QRectF panel(rect.left() + w * 0.36, rect.top() + h * 0.33, w * 0.28, h * 0.34);
        QColor tint = colour;
        tint.setAlpha(40);
        p.setPen(QPen(colour, std::max<qreal>(1.0, w / 50.0)));
        p.setBrush(tint);
        p.drawRoundedRect(panel, w * 0.04, w * 0.04);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPath(
            fittedText(rankText(rank), panel.adjusted(w * 0.035, h * 0.06, -w * 0.035, -h * 0.06), Qt::AlignHCenter));
    } else {
        const qreal s = h * 0.22;
        p.drawPath(suitShape(suit, QRectF(rect.center().x() - s * 0.45, rect.center().y() - s / 2, s * 0.9, s)));
    }
    paintBothIndices(p, rect, rankText(rank), suit, colour);
    p.restore();
}

void paintPlainJoker(QPainter& p, const QRectF& rect)
{
    p.save();
    paintBlank(p, rect);
    const qreal w = rect.width(), h = rect.height();
    // A five-pointed star in the middle, the word along it.
    QPainterPath star;
    const QPointF c(rect.center().x(), rect.top() + h * 0.43);
    const qreal ro = std::min(w, h) * 0.27, ri = ro * 0.42;
    for (int i = 0; i < 10; ++i) {
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        const qreal r = (i % 2) ? ri : ro;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(QPen(kBlack, std::max<qreal>(1.0, w / 60.0)));
    p.setBrush(kRed);
    p.drawPath(star);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlack);
    if (w >= 40) {
        p.drawPath(fittedText(QStringLiteral("JOKER"),
                              QRectF(rect.left() + w * 0.2, rect.top() + h * 0.63, w * 0.6, h * 0.1),
                              Qt::AlignHCenter));
        paintBothIndices(p, rect, QStringLiteral("J"), -1, kBlack);
    }
    p.restore();
}

} // namespace cw::ui
