// Our own drawings of the chooser's type icons, result marks and feature gauges (used when the picture library has none).
#include "ui/open_game_dialog_icons.h"

#include "catalog/game_list.h"
#include "ui/picture_library.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace cw::ui {

namespace {

constexpr int kSize = 16;
constexpr qreal kRatios[] = {1.0, 2.0};

QPixmap canvas(qreal dpr)
{
    QPixmap pm(QSize(kSize, kSize) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

// Each type gets its own colour, spread round the colour wheel in the order of the type list.
QColor typeColour(int type)
{
    if (type == catalog::kCustomGameType) return QColor(120, 110, 150);
    const auto types = catalog::AllGameTypes();
    int index = 0;
    for (std::size_t i = 0; i < types.size(); ++i)
        if (types[i].type == type) index = int(i);
    const int hue = (index * 7 % int(std::max<std::size_t>(types.size(), 1))) * 360 / int(std::max<std::size_t>(types.size(), 1));
    return QColor::fromHsv(hue, 150, 185);
}

void drawCard(QPainter& p, const QColor& colour)
{
    const QRectF card(1.5, 0.5, 10, 14.5);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(card, 1.6, 1.6);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(card.adjusted(1.5, 1.5, -1.5, -1.5), 0.8, 0.8);
    // A lattice on the back, as on printed cards.
    p.setPen(QPen(colour.lighter(150), 0.8));
    p.setClipRect(card.adjusted(1.5, 1.5, -1.5, -1.5));
    for (qreal d = -14; d < 16; d += 3.5) {
        p.drawLine(QPointF(card.left() + d, card.top()), QPointF(card.left() + d + 14, card.bottom()));
        p.drawLine(QPointF(card.left() + d + 14, card.top()), QPointF(card.left() + d, card.bottom()));
    }
    p.setClipping(false);
}

void drawBadge(QPainter& p, GameMark mark)
{
    const QRectF badge(6.5, 6.5, 9, 9);
    const QColor fill = mark == GameMark::Won ? QColor(40, 160, 40) : QColor(210, 50, 40);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(fill);
    p.drawEllipse(badge);
    p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (mark == GameMark::Won) {
        QPainterPath tick;
        tick.moveTo(8.7, 11.2);
        tick.lineTo(10.4, 12.9);
        tick.lineTo(13.4, 9.3);
        p.drawPath(tick);
    } else {
        p.drawLine(QPointF(9.2, 9.2), QPointF(12.8, 12.8));
        p.drawLine(QPointF(12.8, 9.2), QPointF(9.2, 12.8));
    }
}

QPixmap drawnTypeIcon(int type, GameMark mark, qreal dpr)
{
    QPixmap pm = canvas(dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (mark == GameMark::NotPlayed) p.setOpacity(0.45);
    drawCard(p, typeColour(type));
    p.setOpacity(1.0);
    if (mark == GameMark::Won || mark == GameMark::NotWon) drawBadge(p, mark);
    return pm;
}

// Level 0 (easy, quick, likely to win) to 4, in green to red.
QColor levelColour(int level) { return QColor::fromHsv(120 - level * 30, 200, 200); }

QPixmap drawnFeature(const QString& name, qreal dpr)
{
    QPixmap pm = canvas(dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QString kind = name.section(QLatin1Char('_'), 1, 1);
    const QString word = name.section(QLatin1Char('_'), 2);
    const QColor frame(70, 70, 70);
    if (kind == QLatin1String("TIME")) {
        // A clock whose filled sector grows with the time a game takes.
        static const QHash<QString, int> parts = {{"QUICK", 1}, {"MEDIUM", 2}, {"LONG", 3}};
        const int n = parts.value(word, 2);
        const QRectF dial(1.5, 1.5, 13, 13);
        p.setPen(QPen(frame, 1));
        p.setBrush(Qt::white);
        p.drawEllipse(dial);
        p.setPen(Qt::NoPen);
        p.setBrush(levelColour((n - 1) * 2));
        p.drawPie(dial.adjusted(1, 1, -1, -1), 90 * 16, -n * 90 * 16);
        p.setPen(QPen(frame, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(8, 3.5));
    } else if (kind == QLatin1String("CHAN")) {
        // A pie: the share of deals that can be won.
        static const QHash<QString, int> tenths = {{"VERYHIGH", 9}, {"HIGH", 7}, {"MEDIUM", 5}, {"LOW", 3}, {"VERYLOW", 1}};
        const int t = tenths.value(word, 5);
        const QRectF pie(1.5, 1.5, 13, 13);
        p.setPen(QPen(frame, 1));
        p.setBrush(QColor(255, 121, 75));
        p.drawEllipse(pie);
        p.setBrush(QColor(110, 200, 70));
        p.drawPie(pie, 90 * 16, -t * 36 * 16);
    } else {
        // Bars rising to the level: three for the difficulty, five for the skill a game asks.
        int bars = 3, filled = 0, colourLevel = 2;
        if (kind == QLatin1String("DIFF")) {
            static const QHash<QString, int> level = {{"EASY", 1}, {"MEDIUM", 2}, {"HARD", 3}};
            filled = level.value(word, 0);
            colourLevel = (filled - 1) * 2;
        } else if (kind == QLatin1String("SKILL")) {
            static const QHash<QString, int> level = {
                {"CHANCEONLY", 1}, {"MOSTLYCHANCE", 2}, {"MODERATE", 3}, {"MOSTLYSKILL", 4}, {"DIFFICULT", 5}};
            bars = 5;
            filled = level.value(word, 0);
            colourLevel = filled - 1;
        }
        const qreal width = 14.0 / bars;
        for (int i = 0; i < bars; ++i) {
            const qreal h = 4 + (10.0 * (i + 1)) / bars;
            const QRectF bar(1 + i * width + 0.5, 15 - h, width - 1.5, h);
            p.setPen(QPen(i < filled ? levelColour(std::max(colourLevel, 0)).darker(140) : QColor(160, 160, 160), 0.8));
            p.setBrush(i < filled ? levelColour(std::max(colourLevel, 0)) : QColor(235, 235, 235));
            p.drawRect(bar);
        }
    }
    return pm;
}

} // namespace

QString gameMarkSuffix(GameMark mark)
{
    switch (mark) {
    case GameMark::Won: return QStringLiteral("_WIN");
    case GameMark::NotWon: return QStringLiteral("_NOWIN");
    case GameMark::NotPlayed: return QStringLiteral("_NOPLAYED");
    case GameMark::Plain: break;
    }
    return {};
}

GameMark gameMarkFor(const std::map<int, stats::PlayedState>& states, int id)
{
    const auto it = states.find(id);
    if (it == states.end() || it->second == stats::PlayedState::NotPlayed) return GameMark::NotPlayed;
    return it->second == stats::PlayedState::Won ? GameMark::Won : GameMark::NotWon;
}

QIcon gameTypeIcon(const PictureLibrary& library, int type, GameMark mark)
{
    // Built once per type and variant; a chooser shows hundreds of entries.
    static QHash<int, QIcon> cache;
    const int key = type * 8 + int(mark);
    if (auto it = cache.constFind(key); it != cache.constEnd()) return *it;
    QIcon icon;
    const QString name = QString::fromLatin1(catalog::GameTypeIcon(type).data(), int(catalog::GameTypeIcon(type).size()));
    for (qreal dpr : kRatios) {
        QImage own = !name.isEmpty() && library.hasPicture(name + gameMarkSuffix(mark))
                         ? library.picture(name + gameMarkSuffix(mark), dpr)
                         : QImage();
        icon.addPixmap(own.isNull() ? drawnTypeIcon(type, mark, dpr) : QPixmap::fromImage(own));
    }
    cache.insert(key, icon);
    return icon;
}

QPixmap featurePicture(const PictureLibrary& library, const QString& name, qreal dpr)
{
    if (library.hasPicture(name)) {
        const QImage own = library.picture(name, dpr);
        if (!own.isNull()) return QPixmap::fromImage(own);
    }
    if (name.endsWith(QLatin1String("DISABLED"))) {
        QPixmap pm = canvas(dpr);
        QPainter p(&pm);
        p.setPen(QPen(QColor(150, 150, 150), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 8), QPointF(12, 8));
        return pm;
    }
    return drawnFeature(name, dpr);
}

} // namespace cw::ui
