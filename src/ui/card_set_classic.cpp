// Our own classic card set: corner indices, traditional pip layouts and geometric court cards.
#include "ui/card_art.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace cw::ui {

namespace {

const QColor kRed(0xC0, 0x18, 0x2B);
const QColor kInk(0x17, 0x17, 0x1C);
const QColor kFace(0xFF, 0xFD, 0xF5);
const QColor kEdge(0x5E, 0x5E, 0x5E);
const QColor kGold(0xE2, 0xAE, 0x2C);
const QColor kBlue(0x24, 0x4B, 0x9C);
const QColor kPanel(0xFA, 0xF1, 0xDC);

QString serif() { return QStringLiteral("DejaVu Serif"); }

const QColor kFourBlue(0x1B, 0x4F, 0xB5);
const QColor kFourGreen(0x17, 0x7A, 0x35);

qreal hairline(const QRectF& rect) { return std::max<qreal>(1.0, rect.width() / 80.0); }

void paintBlankFace(QPainter& p, const QRectF& rect)
{
    const qreal pen = hairline(rect);
    const QRectF r = rect.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
    const qreal radius = rect.width() * 0.075;
    p.setPen(QPen(kEdge, pen));
    p.setBrush(kFace);
    p.drawRoundedRect(r, radius, radius);
}

// A suit symbol `width` wide centred on `centre`, upside down when `flipped`.
void drawPip(QPainter& p, const ClassicStyle& st, int suit, QPointF centre, qreal width, bool flipped = false)
{
    const qreal height = width * 1.1;
    QTransform t;
    t.translate(centre.x(), centre.y());
    if (flipped)
        t.rotate(180);
    p.setPen(Qt::NoPen);
    p.setBrush(st.ink[suit]);
    p.drawPath(t.map(suitShape(suit, QRectF(-width / 2, -height / 2, width, height))));
}

// Runs `paint` once as is and once turned half round about the card's centre, for the
// two ends of the card.
template <typename Paint>
void bothEnds(QPainter& p, const QRectF& rect, Paint paint)
{
    paint();
    p.save();
    p.translate(rect.center());
    p.rotate(180);
    p.translate(-rect.center());
    paint();
    p.restore();
}

// The rank in a narrow column at the left edge with the suit beneath it: a fan to the
// right leaves that column showing. A downward fan leaves only a strip along the top,
// as high as the rank; a small suit sign in the opposite corner of that strip tells the
// suit there.
void paintIndex(QPainter& p, const ClassicStyle& st, const QRectF& rect, int rank, int suit)
{
    const qreal w = rect.width(), h = rect.height(), k = st.indexScale;
    const QRectF rankBox(rect.left() + w * 0.03, rect.top() + h * 0.035, w * 0.19 * k, h * 0.13 * k);
    p.setPen(Qt::NoPen);
    p.setBrush(st.ink[suit]);
    p.drawPath(fittedText(rankText(rank), rankBox, Qt::AlignHCenter, serif()));
    drawPip(p, st, suit, QPointF(rankBox.center().x(), rect.top() + h * (0.035 + 0.205 * k)), w * 0.125 * k);
    drawPip(p, st, suit, QPointF(rect.right() - w * 0.115, rankBox.center().y()), w * 0.11);
}

// Where the pips of 2..10 lie: x as 0 left, 1 centre, 2 right column; y from 0 (top
// row) to 1 (bottom row).
struct PipPlace {
    int column;
    qreal y;
};

const std::vector<PipPlace>& pipLayout(int count)
{
    static const std::array<std::vector<PipPlace>, 11> layouts = [] {
        std::array<std::vector<PipPlace>, 11> l;
        const auto sides = [](std::vector<PipPlace>& v, std::initializer_list<qreal> rows) {
            for (qreal y : rows) {
                v.push_back({0, y});
                v.push_back({2, y});
            }
        };
        l[2] = {{1, 0}, {1, 1}};
        l[3] = {{1, 0}, {1, 0.5}, {1, 1}};
        sides(l[4], {0, 1});
        sides(l[5], {0, 1});
        l[5].push_back({1, 0.5});
        sides(l[6], {0, 0.5, 1});
        sides(l[7], {0, 0.5, 1});
        l[7].push_back({1, 0.25});
        sides(l[8], {0, 0.5, 1});
        l[8].push_back({1, 0.25});
        l[8].push_back({1, 0.75});
        sides(l[9], {0, 1.0 / 3, 2.0 / 3, 1});
        l[9].push_back({1, 0.5});
        sides(l[10], {0, 1.0 / 3, 2.0 / 3, 1});
        l[10].push_back({1, 1.0 / 6});
        l[10].push_back({1, 5.0 / 6});
        return l;
    }();
    return layouts[static_cast<std::size_t>(std::clamp(count, 0, 10))];
}

void paintPips(QPainter& p, const ClassicStyle& st, const QRectF& rect, int rank, int suit)
{
    const qreal w = rect.width(), h = rect.height();
    if (rank == 0) {
        // The Ace: one large pip, a thin ring round the Ace of spades.
        const QPointF c = rect.center();
        if (suit == 3) {
            p.setPen(QPen(st.ink[3], hairline(rect)));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(c, w * 0.33, w * 0.33);
        }
        drawPip(p, st, suit, c, w * (suit == 3 ? 0.42 : 0.46));
        return;
    }
    const qreal xs[3] = {rect.left() + w * 0.335, rect.center().x(), rect.right() - w * 0.335};
    const qreal top = rect.top() + h * 0.2, bottom = rect.bottom() - h * 0.2;
    const qreal size = w * 0.175;
    for (const PipPlace& place : pipLayout(rank + 1)) {
        const QPointF c(xs[place.column], top + (bottom - top) * place.y);
        drawPip(p, st, suit, c, size, place.y > 0.5);
    }
}

// ---- Court cards ---------------------------------------------------------------------

// Headwear in a box (top half of the court panel): a King's crown, a Queen's tiara, a
// Jack's cap.
QPainterPath headwear(int rank, const QRectF& b)
{
    const auto at = [&](qreal x, qreal y) { return QPointF(b.left() + b.width() * x, b.top() + b.height() * y); };
    QPainterPath path;
    if (rank == 12) {
        path.moveTo(at(0.1, 1.0));
        path.lineTo(at(0.0, 0.25));
        path.lineTo(at(0.28, 0.6));
        path.lineTo(at(0.5, 0.0));
        path.lineTo(at(0.72, 0.6));
        path.lineTo(at(1.0, 0.25));
        path.lineTo(at(0.9, 1.0));
        path.closeSubpath();
    } else if (rank == 11) {
        path.moveTo(at(0.08, 1.0));
        path.lineTo(at(0.02, 0.45));
        path.quadTo(at(0.18, 0.2), at(0.26, 0.55));
        path.quadTo(at(0.38, 0.05), at(0.5, 0.45));
        path.quadTo(at(0.62, 0.05), at(0.74, 0.55));
        path.quadTo(at(0.82, 0.2), at(0.98, 0.45));
        path.lineTo(at(0.92, 1.0));
        path.closeSubpath();
    } else {
        // A round cap with a feather sweeping back.
        path.moveTo(at(0.12, 1.0));
        path.cubicTo(at(0.1, 0.3), at(0.9, 0.3), at(0.88, 1.0));
        path.closeSubpath();
        QPainterPath feather;
        feather.moveTo(at(0.6, 0.55));
        feather.cubicTo(at(0.75, 0.1), at(0.95, 0.05), at(1.0, 0.0));
        feather.cubicTo(at(0.9, 0.3), at(0.8, 0.45), at(0.68, 0.62));
        feather.closeSubpath();
        path = path.united(feather);
    }
    return path;
}

// The jewels on a crown's points, or the band of the Jack's cap.
void paintHeadwearDetail(QPainter& p, const ClassicStyle& st, int rank, int suit, const QRectF& b)
{
    const auto at = [&](qreal x, qreal y) { return QPointF(b.left() + b.width() * x, b.top() + b.height() * y); };
    const qreal r = b.width() * 0.065;
    p.setPen(Qt::NoPen);
    p.setBrush(st.accent[suit]);
    if (rank == 12) {
        for (QPointF c : {at(0.0, 0.25), at(0.5, 0.0), at(1.0, 0.25)})
            p.drawEllipse(c, r, r);
    } else if (rank == 11) {
        for (QPointF c : {at(0.02, 0.45), at(0.26, 0.55), at(0.5, 0.45), at(0.74, 0.55), at(0.98, 0.45)})
            p.drawEllipse(c, r * 0.8, r * 0.8);
    }
    // A band along the rim with one stone in the middle.
    const QRectF band(at(0.1, 0.8), at(0.9, 1.0));
    p.setBrush(st.accent[suit]);
    p.drawRect(band);
    p.setBrush(kGold);
    p.drawEllipse(band.center(), band.height() * 0.35, band.height() * 0.35);
}

void paintCourtHalf(QPainter& p, const ClassicStyle& st, const QRectF& half, int rank, int suit)
{
    const qreal w = half.width(), h = half.height();
    const qreal line = std::max<qreal>(0.8, w / 45.0);
    // Headwear above, the letter beneath it, a pip on either side of the headwear.
    const QRectF crown(half.left() + w * 0.24, half.top() + h * 0.1, w * 0.52, h * 0.3);
    p.setPen(QPen(st.ink[suit], line));
    p.setBrush(kGold);
    p.drawPath(headwear(rank, crown));
    paintHeadwearDetail(p, st, rank, suit, crown);
    const qreal pip = w * 0.17;
    drawPip(p, st, suit, QPointF(half.left() + w * 0.13, half.top() + h * 0.13), pip);
    drawPip(p, st, suit, QPointF(half.right() - w * 0.13, half.top() + h * 0.13), pip);
    p.setPen(Qt::NoPen);
    p.setBrush(st.ink[suit]);
    const QRectF letter(half.left() + w * 0.2, half.top() + h * 0.46, w * 0.6, h * 0.46);
    p.drawPath(fittedText(rankText(rank), letter, Qt::AlignHCenter, serif()));
}

void paintCourt(QPainter& p, const ClassicStyle& st, const QRectF& rect, int rank, int suit)
{
    const qreal w = rect.width(), h = rect.height();
    const QRectF panel(rect.left() + w * 0.235, rect.top() + h * 0.075, w * 0.53, h * 0.85);
    const qreal line = hairline(rect);
    p.setPen(QPen(st.ink[suit], line));
    p.setBrush(kPanel);
    p.drawRect(panel);
    // A second, inner frame in the dress colour.
    const qreal inset = std::max<qreal>(1.5, w * 0.03);
    p.setPen(QPen(st.accent[suit], line * 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(panel.adjusted(inset, inset, -inset, -inset));
    const QRectF half(panel.left(), panel.top(), panel.width(), panel.height() / 2);
    bothEnds(p, rect, [&] { paintCourtHalf(p, st, half, rank, suit); });
    // The dividing line between the two ends, with a small diamond on it.
    const qreal y = panel.center().y();
    p.setPen(QPen(st.ink[suit], line * 0.8));
    p.drawLine(QPointF(panel.left() + inset, y), QPointF(panel.right() - inset, y));
    const qreal d = w * 0.04;
    QPainterPath diamond;
    diamond.moveTo(panel.center().x(), y - d);
    diamond.lineTo(panel.center().x() + d, y);
    diamond.lineTo(panel.center().x(), y + d);
    diamond.lineTo(panel.center().x() - d, y);
    diamond.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(st.accent[suit]);
    p.drawPath(diamond);
}

// ---- The joker -------------------------------------------------------------------------

// A jester's hat of three horns with bells, in a box.
void paintJesterHat(QPainter& p, const QRectF& b, qreal line)
{
    const auto at = [&](qreal x, qreal y) { return QPointF(b.left() + b.width() * x, b.top() + b.height() * y); };
    const struct {
        QPointF from, tip, to, pullOut, pullIn;
        QColor colour;
    } horns[] = {
        {at(0.2, 0.78), at(0.02, 0.12), at(0.45, 0.78), at(0.0, 0.55), at(0.2, 0.4), kRed},
        {at(0.8, 0.78), at(0.98, 0.12), at(0.55, 0.78), at(1.0, 0.55), at(0.8, 0.4), kRed},
        {at(0.36, 0.78), at(0.5, 0.0), at(0.64, 0.78), at(0.36, 0.35), at(0.64, 0.35), kInk},
    };
    p.setPen(QPen(kInk, line));
    for (const auto& horn : horns) {
        QPainterPath path;
        path.moveTo(horn.from);
        path.quadTo(horn.pullOut, horn.tip);
        path.quadTo(horn.pullIn, horn.to);
        path.closeSubpath();
        p.setBrush(horn.colour);
        p.drawPath(path);
    }
    p.setBrush(kGold);
    const qreal r = b.width() * 0.07;
    for (QPointF c : {at(0.02, 0.12), at(0.98, 0.12), at(0.5, 0.0)})
        p.drawEllipse(c, r, r);
    const QRectF band(at(0.16, 0.76), at(0.84, 0.98));
    p.drawRoundedRect(band, band.height() * 0.3, band.height() * 0.3);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    for (qreal x : {0.3, 0.5, 0.7})
        p.drawEllipse(at(x, 0.87), r * 0.55, r * 0.55);
}

} // namespace

const ClassicStyle& classicStyle(int setNumber)
{
    // The court cards' second colour: blue beside red, red beside black.
    static const ClassicStyle classic{{kRed, kRed, kInk, kInk}, {kBlue, kBlue, kRed, kRed}, 1.0, 1.0};
    // One colour per suit, so that a glance tells hearts from diamonds and clubs from spades.
    static const ClassicStyle fourColours{{kRed, kFourBlue, kFourGreen, kInk}, {kBlue, kRed, kRed, kRed}, 1.0, 1.0};
    // Indices half as large again, for small cards and small screens.
    static const ClassicStyle largeIndex{{kRed, kRed, kInk, kInk}, {kBlue, kBlue, kRed, kRed}, 1.55, 0.55};
    switch (setNumber) {
    case kFourColourCardSet: return fourColours;
    case kLargeIndexCardSet: return largeIndex;
    default: return classic;
    }
}

void paintClassicFace(QPainter& p, const QRectF& rect, int faceIndex, const ClassicStyle& st)
{
    if (faceIndex < 0 || faceIndex > 51)
        return;
    const int suit = faceIndex / 13, rank = faceIndex % 13;
    p.save();
    paintBlankFace(p, rect);
    // Large indices leave the middle of the card: the body shrinks about the centre to keep clear of them.
    p.save();
    p.translate(rect.center());
    p.scale(st.bodyScale, st.bodyScale);
    p.translate(-rect.center());
    if (rank >= 10)
        paintCourt(p, st, rect, rank, suit);
    else
        paintPips(p, st, rect, rank, suit);
    p.restore();
    bothEnds(p, rect, [&] { paintIndex(p, st, rect, rank, suit); });
    p.restore();
}

void paintClassicJoker(QPainter& p, const QRectF& rect)
{
    p.save();
    paintBlankFace(p, rect);
    const qreal w = rect.width(), h = rect.height();
    const qreal line = std::max<qreal>(0.8, w / 70.0);
    paintJesterHat(p, QRectF(rect.left() + w * 0.22, rect.top() + h * 0.2, w * 0.56, h * 0.36), line);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPath(fittedText(QStringLiteral("JOKER"),
                          QRectF(rect.left() + w * 0.22, rect.top() + h * 0.62, w * 0.56, h * 0.1), Qt::AlignHCenter,
                          serif()));
    // The corners spell the word downwards, in the column where other cards show a rank.
    bothEnds(p, rect, [&] {
        const QString word = QStringLiteral("JOKER");
        const qreal step = h * 0.075;
        for (int i = 0; i < word.size(); ++i) {
            p.setBrush(i % 2 ? kInk : kRed);
            p.drawPath(fittedText(
                word.mid(i, 1), QRectF(rect.left() + w * 0.05, rect.top() + h * 0.04 + i * step, w * 0.13, step * 0.86),
                Qt::AlignHCenter, serif()));
        }
    });
    p.restore();
}

} // namespace cw::ui
