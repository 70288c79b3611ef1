// Drawing the table's piles: cards with their fans and shadows, stack edges, empty-pile markers,
// completed-foundation marks and the point-and-click highlight.
#include "ui/table_painter.h"

#include "engine/family.h"
#include "ui/card_art.h"
#include "ui/picture_library.h"
#include "ui/pile_markers.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace cw::ui {

using engine::PileKind;
using engine::PileRef;

namespace {

// A marker name, "-" for "the background shows" (nothing drawn), empty for no base marker.
QString baseMarker(int code)
{
    switch (code) {
    case 1:
    case 58:
    case 81:
    case 85: return QStringLiteral("FoundationA");
    case 2:
    case 90: return QStringLiteral("Foundation2");
    case 13:
    case 64:
    case 84: return QStringLiteral("Foundation13");
    case 94: return QStringLiteral("-");
    default: break;
    }
    if (code >= 3 && code <= 12)
        return QStringLiteral("Foundation%1").arg(code);
    return {};
}

QString sizePicture(char letter, int number)
{
    return QStringLiteral("W") + QLatin1Char(letter) + QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

// Stacked piles (stock, waste, unfanned foundations) show their top card and a thin edge for
// the cards below: one more sliver of the pile for every ten cards, at most four.
int edgeLayers(int cards) { return cards <= 1 ? 0 : std::min(4, (cards + 8) / 10); }

bool fanned(int style)
{
    switch (style) {
    case 1:
    case 2:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 12:
    case 13: return true;
    default: return false;
    }
}

} // namespace

QString emptyPileMarker(const engine::GameRules& r, const engine::GameState& s, PileRef pile, char letter,
                        QString* wSizePicture)
{
    if (wSizePicture)
        wSizePicture->clear();
    const engine::Table& t = s.table;
    const int deals = r.deals();
    switch (pile.kind) {
    case PileKind::Stock: {
        // A family may show a picture of its own on the empty stock.
        engine::PileMarks marks;
        r.family().pileMarks(r, s, marks);
        for (const engine::PileMark& m : marks)
            if (m.kind == engine::MarkKind::EmptyPicture && m.pile == pile) {
                if (wSizePicture)
                    *wSizePicture = sizePicture(letter, m.number);
                return {};
            }
        if (r.redealMode() > 0 && (deals == -1 || s.dealNumber < deals))
            return QStringLiteral("StockUp");
        if (t.waste().cardCount() <= 1)
            return QStringLiteral("StockStop");
        return (s.dealNumber < deals || deals < 0) ? QStringLiteral("StockUp") : QStringLiteral("StockStop");
    }
    case PileKind::Waste:
        if (r.stockShown() == 1)
            return QStringLiteral("StockVisible");
        if (deals == 0)
            return QStringLiteral("StockStop");
        if (r.redealMode() > 0)
            return (deals != -1 && s.dealNumber >= deals) ? QStringLiteral("StockStop") : QStringLiteral("StockUp");
        return {};
    case PileKind::SecondWaste: return QStringLiteral("StockVisible");
    case PileKind::Foundation: {
        if (r.foundationSuitRule(pile.index) == 10)
            return QStringLiteral("Foundation12");
        const QString base = baseMarker(r.foundationBase(pile.index));
        if (base == QLatin1String("-"))
            return {};
        return base.isEmpty() ? QStringLiteral("Foundation") : base;
    }
    case PileKind::Reserve: {
        const int code = r.reserveAccept(pile.index);
        if (code == 4)
            return QStringLiteral("Position");
        const int first = r.reserveAccept(0);
        if (first == 9) {
            if (wSizePicture)
                *wSizePicture = sizePicture(letter, 9);
            return {};
        }
        if (first == 8)
            return QStringLiteral("Foundation13");
        switch (code) {
        case 88: return QStringLiteral("Foundation11");
        case 89:
        case 119: return QStringLiteral("Foundation12");
        case 90: return QStringLiteral("Foundation13");
        case 107:
        case 147: return QStringLiteral("FoundationA");
        case 148: return QStringLiteral("Foundation2");
        default: return QStringLiteral("EmptyPosition");
        }
    }
    case PileKind::Tableau: {
        const int rule = r.tableauEmptyRule(pile.index);
        const QString base = baseMarker(rule);
        if (base == QLatin1String("-"))
            return {};
        if (!base.isEmpty())
            return base;
        return rule != 0 ? QStringLiteral("FirstTableauAll") : QStringLiteral("Position");
    }
    default: return {};
    }
}

bool foundationComplete(const catalog::Rules& r, const engine::Table& t, int index)
{
    int full = r.foundationCompletion(index);
    if (full == -1)
        full = r.foundationCapacity();
    return full > 0 && t.foundation(index).cardCount() == full;
}

void paintHintArrow(QPainter& painter, QPointF from, QPointF to)
{
    const QLineF line(from, to);
    const qreal length = line.length();
    if (length < 1)
        return;
    // A yellow shaft and head with a dark rim: it reads on green felt and on white cards alike.
    const qreal head = std::min<qreal>(22, length * 0.6);
    const qreal halfHead = 12;
    const qreal halfShaft = 4;
    const QPointF unit = (to - from) / length;
    const QPointF normal(-unit.y(), unit.x());
    const QPointF neck = to - unit * head;
    QPolygonF arrow;
    arrow << from + normal * halfShaft << neck + normal * halfShaft << neck + normal * halfHead << to
          << neck - normal * halfHead << neck - normal * halfShaft << from - normal * halfShaft;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 80));
    painter.drawPolygon(arrow.translated(3, 4));
    painter.setPen(QPen(QColor(90, 50, 0), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(255, 208, 0));
    painter.drawPolygon(arrow);
    painter.restore();
}

void paintSpecialPanels(QPainter& painter, const QStringList& lines, const QRect& area)
{
    if (lines.isEmpty())
        return;
    QFont font(QStringLiteral("Tahoma"));
    if (!QFontInfo(font).exactMatch())
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(8);
    painter.save();
    painter.setFont(font);
    const QFontMetrics fm(font);
    const int h = fm.height() + 8;
    int y = area.bottom() - 6 - h * static_cast<int>(lines.size()) - 4 * (static_cast<int>(lines.size()) - 1);
    for (const QString& line : lines) {
        const QRect box(area.left() + 6, y, fm.horizontalAdvance(line) + 20, h);
        painter.fillRect(box, Qt::white);
        painter.setPen(Qt::black);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.drawText(box, Qt::AlignCenter, line);
        y += h + 4;
    }
    painter.restore();
}

void drawCard(QPainter& painter, const CardPictures& pictures, int code, QPoint topLeft, bool faceUp, bool shadow)
{
    if (!engine::isPresentCoord(topLeft.x()) || !engine::isPresentCoord(topLeft.y()))
        return;
    if (shadow) {
        const QPixmap sh = pictures.shadow(1);
        if (!sh.isNull())
            painter.drawPixmap(topLeft, sh);
    }
    const QPixmap pix = faceUp ? pictures.face(code) : pictures.back();
    if (!pix.isNull())
        painter.drawPixmap(topLeft, pix);
}

QPixmap groupPicture(const CardPictures& pictures, const std::vector<int>& codes, const std::vector<bool>& faceUp,
                     const std::vector<QPoint>& offsets, bool shadow)
{
    const QSize card = pictures.cardSize();
    QRect bounds;
    for (const QPoint& o : offsets)
        bounds |= QRect(o, card + QSize(kShadowMargin, kShadowMargin));
    if (bounds.isEmpty())
        return {};
    const qreal dpr = pictures.devicePixelRatio();
    QPixmap pix(bounds.size() * dpr);
    pix.setDevicePixelRatio(dpr);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.translate(-bounds.topLeft());
    const QPixmap lifted = pictures.shadow(2);
    for (std::size_t i = 0; i < codes.size() && i < offsets.size(); ++i) {
        if (shadow && !lifted.isNull())
            p.drawPixmap(offsets[i], lifted);
        const QPixmap face = faceUp[i] ? pictures.face(codes[i]) : pictures.back();
        if (!face.isNull())
            p.drawPixmap(offsets[i], face);
    }
    return pix;
}

QPixmap TablePainter::foundationMark(const TableScene& scene)
{
    const QSize card = scene.pictures->cardSize();
    const quint64 key = (quint64(scene.markPattern) << 48) | (quint64(scene.markColour & 0xffff) << 32) |
                        (quint64(card.width()) << 16) | quint64(card.height());
    auto it = m_marks.find(key);
    if (it == m_marks.end()) {
        const QImage img =
            renderFoundationMark(scene.markPattern, scene.markColour, card, scene.pictures->devicePixelRatio());
        it = m_marks.insert(key, img.isNull() ? QPixmap() : QPixmap::fromImage(img));
    }
    return *it;
}

QRect TablePainter::pileBounds(const TableScene& scene, PileRef pile)
{
    const engine::TableGeometry& tg = *scene.geometry;
    if (!tg.layout.present(pile))
        return {};
    const QSize card(tg.layout.cardWidth + kShadowMargin, tg.layout.cardHeight + kShadowMargin);
    const engine::Pile& cards = scene.table->pile(pile);
    const int n = static_cast<int>(cards.size());
    const engine::Point c = tg.layout.corner(pile);
    QRect r(QPoint(c.x, c.y - scene.scroll), card);
    if (fanned(tg.styleOf(pile))) {
        for (int i = 0; i < n; ++i) {
            const engine::Point p = engine::cardPosition(tg, *scene.table, pile, i);
            r |= QRect(QPoint(p.x, p.y - scene.scroll), card);
        }
    } else {
        const int e = edgeLayers(n);
        r.adjust(0, 0, e, 2 * e);
    }
    return r;
}

void TablePainter::paintPile(QPainter& painter, const TableScene& scene, PileRef pile)
{
    const engine::TableGeometry& tg = *scene.geometry;
    const CardPictures& pics = *scene.pictures;
    if (!tg.layout.present(pile))
        return;
    const engine::Table& t = *scene.table;
    const engine::Pile& cards = t.pile(pile);
    int n = static_cast<int>(cards.size());
    if (pile == scene.hiddenPile && scene.hiddenFrom >= 0)
        n = std::min(n, scene.hiddenFrom);
    int visible = 0;
    for (int i = 0; i < n; ++i)
        visible += cards[static_cast<std::size_t>(i)] != 0;
    const engine::Point corner = tg.layout.corner(pile);
    const QPoint at(corner.x, corner.y - scene.scroll);

    if (visible == 0) {
        QString picture;
        const QString marker = emptyPileMarker(*scene.rules, *scene.state, pile, pics.sizeLetter(), &picture);
        QPixmap pix;
        if (!picture.isEmpty() && scene.library)
            pix = QPixmap::fromImage(scene.library->picture(picture, pics.devicePixelRatio()));
        else if (!marker.isEmpty() && scene.library)
            pix = pics.marker(*scene.library, marker);
        if (!pix.isNull())
            painter.drawPixmap(at, pix);
        return;
    }

    const int style = tg.styleOf(pile);
    const bool stacked = pile.kind == PileKind::Stock || pile.kind == PileKind::Waste ||
                         pile.kind == PileKind::SecondWaste || (pile.kind == PileKind::Foundation && !fanned(style));
    if (stacked) {
        int top = n - 1;
        while (top > 0 && cards[static_cast<std::size_t>(top)] == 0)
            --top;
        const int code = cards[static_cast<std::size_t>(top)];
        bool faceUp = t.isFaceUp(code);
        if (pile.kind == PileKind::Stock && scene.rules->stockFaceAtDeal() != 0)
            faceUp = false;
        if (pile.kind == PileKind::Waste && scene.rules->wasteLocked() != 0)
            faceUp = false;
        // The cards below show as a thin edge to the lower right.
        const bool edge = pile.kind != PileKind::Foundation || (style != 2 && style != 7);
        const int layers = edge ? edgeLayers(visible) : 0;
        if (scene.shadows && !pics.shadow(1).isNull())
            painter.drawPixmap(at + QPoint(layers, 2 * layers), pics.shadow(1));
        for (int k = layers; k >= 1; --k) {
            const QPoint p = at + QPoint(k, 2 * k);
            const QPixmap back = pile.kind == PileKind::Stock || !faceUp ? pics.back() : pics.face(code);
            painter.drawPixmap(p, back);
        }
        drawCard(painter, pics, code, at, faceUp, false);
        if (pile.kind == PileKind::Foundation && scene.markPattern != 0 &&
            foundationComplete(*scene.rules, t, pile.index)) {
            const QPixmap mark = foundationMark(scene);
            if (!mark.isNull())
                painter.drawPixmap(at, mark);
        }
    } else {
        for (int i = 0; i < n; ++i) {
            const int code = cards[static_cast<std::size_t>(i)];
            if (code == 0)
                continue;
            const engine::Point p = engine::cardPosition(tg, t, pile, i);
            drawCard(painter, pics, code, QPoint(p.x, p.y - scene.scroll), t.isFaceUp(code), scene.shadows);
        }
        if (pile.kind == PileKind::Foundation && scene.markPattern != 0 &&
            foundationComplete(*scene.rules, t, pile.index)) {
            const QPixmap mark = foundationMark(scene);
            const engine::Point p = engine::cardPosition(tg, t, pile, n - 1);
            if (!mark.isNull())
                painter.drawPixmap(QPoint(p.x, p.y - scene.scroll), mark);
        }
    }

    auto highlight = [&](int index) {
        const engine::Point p = stacked ? corner : engine::cardPosition(tg, t, pile, index);
        const QRectF r(p.x + 0.5, p.y - scene.scroll + 0.5, tg.layout.cardWidth - 1, tg.layout.cardHeight - 1);
        const qreal radius = tg.layout.cardWidth * 0.06;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(255, 220, 0, 70));
        painter.setPen(QPen(QColor(255, 200, 0), 2.5));
        painter.drawRoundedRect(r, radius, radius);
        painter.restore();
    };
    if (pile == scene.selectedPile && scene.selectedIndex >= 0 && scene.selectedIndex < n)
        highlight(scene.selectedIndex);
    // The cards a family marks (the selected cards of the click games).
    if (scene.rules->family().special()) {
        engine::PileMarks marks;
        scene.rules->family().pileMarks(*scene.rules, *scene.state, marks);
        for (const engine::PileMark& m : marks)
            if (m.kind == engine::MarkKind::Highlight && m.pile == pile && m.position >= 0 && m.position < n)
                highlight(m.position);
    }
}

void TablePainter::paintPiles(QPainter& painter, const TableScene& scene)
{
    if (!scene.rules || !scene.state || !scene.table || !scene.geometry || !scene.pictures)
        return;
    const engine::TableGeometry& tg = *scene.geometry;
    for (PileRef p : {PileRef::stock(), PileRef::waste(), PileRef::secondWaste()})
        paintPile(painter, scene, p);
    for (int i = 0; i < tg.foundationCount; ++i)
        paintPile(painter, scene, PileRef::foundation(i));
    for (int i = 0; i < tg.tableauCount; ++i)
        paintPile(painter, scene, PileRef::tableau(i));
    for (int i = 0; i < tg.reserveCount; ++i)
        paintPile(painter, scene, PileRef::reserve(i));
}

} // namespace cw::ui
