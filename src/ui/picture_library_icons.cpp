// Small pictures of the library: status bar suit marks, card counter cells, option previews.
#include "ui/picture_library_icons.h"

#include "ui/backgrounds.h"
#include "ui/card_art.h"
#include "ui/deck_art.h"
#include "ui/pile_markers.h"

#include <QPainter>
#include <QPainterPath>

namespace cw::ui {

namespace {

const char* const kSuitNames[] = {"HEARTS", "DIAMONDS", "CLUBS", "SPADES"};
const QColor kRed(0xC8, 0x10, 0x2E);
const QColor kBlack(0x12, 0x12, 0x12);

QImage blank(QSize logical, qreal dpr)
{
    QImage img((QSizeF(logical) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::transparent);
    return img;
}

int suitOf(const QString& word)
{
    for (int i = 0; i < 4; ++i)
        if (word == QLatin1String(kSuitNames[i]))
            return i;
    return -1;
}

QString rankLabel(int rank)
{
    static const char* const labels[] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
    return QLatin1String(labels[rank - 1]);
}

QImage counterCell(int rank, bool up, bool red, qreal dpr)
{
    QImage img = blank({14, 18}, dpr);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card(0.5, 0.5, 13, 17);
    if (up) {
        p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1));
        p.setBrush(Qt::white);
    } else {
        p.setPen(QPen(QColor(0x10, 0x28, 0x60), 1));
        p.setBrush(QColor(0x2B, 0x55, 0xA8));
    }
    p.drawRoundedRect(card, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(up ? (red ? kRed : kBlack) : (red ? QColor(0xFF, 0xB8, 0xC0) : QColor(0xE8, 0xEE, 0xFF)));
    p.drawPath(fittedText(rankLabel(rank), QRectF(2, 4, 10, 10), Qt::AlignHCenter));
    return img;
}

QImage preview(const PictureLibrary& library, bool shadows, bool irregular, bool fan, qreal dpr)
{
    const QSize size(120, 90);
    QImage img = blank(size, dpr);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawTiledPixmap(QRectF(0, 0, size.width(), size.height()), QPixmap::fromImage(renderBackgroundTile(16, dpr)));
    const QSize card(40, 54);
    if (fan) {
        // A tableau column; irregular piles shift each card a little sideways.
        static const int offsets[] = {0, 2, -1, 1, -2};
        static const int codes[] = {52, 12, 37, 23, 48};   // K spades, Q hearts, J clubs, 10 diamonds, 9 spades
        for (int i = 0; i < 5; ++i) {
            const int x = 40 + (irregular ? offsets[i] * 2 : 0);
            p.drawImage(QPointF(x, 4 + i * 8), renderCardFace(library, kDefaultCardSet, codes[i], card, dpr));
        }
    } else {
        const QPointF a(18, 14), b(58, 26);
        if (shadows)
            p.drawImage(a, renderShadow(1, card, dpr));
        p.drawImage(a, renderCardFace(library, kDefaultCardSet, 1, card, dpr));
        if (shadows)
            p.drawImage(b, renderShadow(2, card, dpr));
        p.drawImage(b, renderCardFace(library, kDefaultCardSet, 52, card, dpr));
    }
    return img;
}

} // namespace

QStringList iconNames()
{
    QStringList names;
    for (const char* s : kSuitNames) {
        names << QStringLiteral("SUIT_") + QLatin1String(s);
        names << QStringLiteral("card_") + QString::fromLatin1(s).toLower();
    }
    names << QStringLiteral("Card_None");
    for (int r = 1; r <= 13; ++r)
        for (const char* face : {"Up", "Down"})
            for (const char* colour : {"red", "black"})
                names << QStringLiteral("Card_%1_%2_%3").arg(r).arg(QLatin1String(face), QLatin1String(colour));
    names << QStringLiteral("COMMENT_YES") << QStringLiteral("CARD_WITH_SHADOW") << QStringLiteral("CARD_WITHOUT_SHADOW")
          << QStringLiteral("CARD_IRR_PILES_YES") << QStringLiteral("CARD_IRR_PILES_NO");
    return names;
}

QImage renderIcon(const PictureLibrary& library, const QString& name, qreal dpr)
{
    const QString n = name.toUpper();
    if (n.startsWith(QLatin1String("SUIT_")) && suitOf(n.mid(5)) >= 0) {
        const int suit = suitOf(n.mid(5));
        QImage img = blank({12, 12}, dpr);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(suit < 2 ? kRed : kBlack);
        p.drawPath(suitShape(suit, QRectF(1.5, 1, 9, 10)));
        return img;
    }
    if (n.startsWith(QLatin1String("CARD_")) && suitOf(n.mid(5)) >= 0) {
        const int suit = suitOf(n.mid(5));
        QImage img = blank({14, 18}, dpr);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(suit < 2 ? kRed : kBlack);
        p.drawPath(suitShape(suit, QRectF(1.5, 3.5, 11, 11)));
        return img;
    }
    if (n == QLatin1String("CARD_NONE")) {
        QImage img = blank({14, 18}, dpr);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(0.5, 0.5, 13, 17), 2, 2);
        return img;
    }
    if (n.startsWith(QLatin1String("CARD_"))) {
        const QStringList parts = n.split(QLatin1Char('_'));
        bool ok = false;
        const int rank = parts.size() == 4 ? parts[1].toInt(&ok) : 0;
        if (ok && rank >= 1 && rank <= 13 && (parts[2] == QLatin1String("UP") || parts[2] == QLatin1String("DOWN"))
            && (parts[3] == QLatin1String("RED") || parts[3] == QLatin1String("BLACK"))
            && parts[1] == QString::number(rank))
            return counterCell(rank, parts[2] == QLatin1String("UP"), parts[3] == QLatin1String("RED"), dpr);
    }
    if (n == QLatin1String("COMMENT_YES")) {
        QImage img = blank({16, 16}, dpr);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath note;
        note.moveTo(2.5, 1.5);
        note.lineTo(10.5, 1.5);
        note.lineTo(13.5, 4.5);
        note.lineTo(13.5, 14.5);
        note.lineTo(2.5, 14.5);
        note.closeSubpath();
        p.setPen(QPen(QColor(0x6A, 0x55, 0x10), 1));
        p.setBrush(QColor(0xFF, 0xE8, 0x80));
        p.drawPath(note);
        p.setPen(QPen(QColor(0x6A, 0x55, 0x10), 1));
        for (int y = 6; y <= 12; y += 3)
            p.drawLine(QPointF(4.5, y + 0.5), QPointF(11.5, y + 0.5));
        return img;
    }
    if (n == QLatin1String("CARD_WITH_SHADOW") || n == QLatin1String("CARD_WITHOUT_SHADOW"))
        return preview(library, n == QLatin1String("CARD_WITH_SHADOW"), false, false, dpr);
    if (n == QLatin1String("CARD_IRR_PILES_YES") || n == QLatin1String("CARD_IRR_PILES_NO"))
        return preview(library, false, n == QLatin1String("CARD_IRR_PILES_YES"), true, dpr);
    return {};
}

} // namespace cw::ui
