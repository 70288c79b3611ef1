// Card backs: our own patterns drawn with QPainter, and player files.
#include "ui/deck_art.h"

#include "ui/card_art.h"
#include "ui/picture_library.h"

#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace cw::ui {

namespace {

enum class Pattern { Lattice, Stripes, Dots, Plaid, Diamonds };

struct PatternDeck {
    int number;
    Pattern pattern;
    QColor base;
    QColor ink;
};

// Our own designs, the default deck 011 among them.
const std::vector<PatternDeck>& patternDecks()
{
    static const std::vector<PatternDeck> decks = {
        {1, Pattern::Lattice, QColor(0xA8, 0x1C, 0x26), QColor(0xF4, 0xC6, 0xC2)},
        {2, Pattern::Stripes, QColor(0x1F, 0x4E, 0x9C), QColor(0x9F, 0xC0, 0xF0)},
        {3, Pattern::Dots, QColor(0x1E, 0x6B, 0x36), QColor(0xC8, 0xEC, 0xC8)},
        {4, Pattern::Plaid, QColor(0x9E, 0x1B, 0x22), QColor(0x1B, 0x2F, 0x5E)},
        {5, Pattern::Diamonds, QColor(0x1A, 0x2A, 0x5A), QColor(0x3A, 0x5C, 0xA8)},
        {6, Pattern::Stripes, QColor(0x6E, 0x14, 0x2A), QColor(0xD8, 0x9A, 0xA8)},
        {7, Pattern::Dots, QColor(0x0E, 0x6E, 0x72), QColor(0xBF, 0xEE, 0xEA)},
        {8, Pattern::Plaid, QColor(0x1F, 0x4E, 0x9C), QColor(0x1E, 0x6B, 0x36)},
        {9, Pattern::Lattice, QColor(0x1A, 0x1A, 0x1A), QColor(0xD4, 0xAF, 0x37)},
        {10, Pattern::Diamonds, QColor(0x4B, 0x23, 0x7A), QColor(0x7A, 0x4F, 0xB0)},
        {11, Pattern::Lattice, QColor(0x1D, 0x3F, 0x8F), QColor(0xC9, 0xD8, 0xF5)},
        {12, Pattern::Plaid, QColor(0x1E, 0x5B, 0x30), QColor(0xC9, 0xA2, 0x27)},
    };
    return decks;
}

const PatternDeck* findPattern(int number)
{
    for (const auto& d : patternDecks())
        if (d.number == number)
            return &d;
    return nullptr;
}

void paintPattern(QPainter& p, const QRectF& panel, const PatternDeck& deck, qreal unit)
{
    p.fillRect(panel, deck.base);
    const qreal w = panel.width(), h = panel.height();
    switch (deck.pattern) {
    case Pattern::Lattice: {
        const qreal step = unit * 6.5;
        p.setPen(QPen(deck.ink, unit * 1.1));
        for (qreal d = -h; d < w + h; d += step) {
            p.drawLine(QPointF(panel.left() + d, panel.top()), QPointF(panel.left() + d + h, panel.bottom()));
            p.drawLine(QPointF(panel.left() + d, panel.bottom()), QPointF(panel.left() + d + h, panel.top()));
        }
        // Small knots where the lines cross.
        p.setPen(Qt::NoPen);
        p.setBrush(deck.ink);
        for (qreal y = panel.top(); y <= panel.bottom() + step; y += step / 2) {
            const int row = static_cast<int>(std::lround((y - panel.top()) / (step / 2)));
            for (qreal x = panel.left() + ((row % 2) ? step / 2 : 0); x <= panel.right() + step; x += step)
                p.drawEllipse(QPointF(x, y), unit * 1.1, unit * 1.1);
        }
        break;
    }
    case Pattern::Stripes: {
        const qreal step = unit * 5;
        p.setPen(QPen(deck.ink, unit * 1.6));
        for (qreal d = -h; d < w + h; d += step)
            p.drawLine(QPointF(panel.left() + d, panel.bottom()), QPointF(panel.left() + d + h, panel.top()));
        break;
    }
    case Pattern::Dots: {
        const qreal step = unit * 6;
        p.setPen(Qt::NoPen);
        p.setBrush(deck.ink);
        int row = 0;
        for (qreal y = panel.top() + step / 2; y < panel.bottom() + step; y += step * 0.866, ++row)
            for (qreal x = panel.left() + ((row % 2) ? step / 2 : 0); x < panel.right() + step; x += step)
                p.drawEllipse(QPointF(x, y), unit * 1.5, unit * 1.5);
        break;
    }
    case Pattern::Plaid: {
        // Tartan: wide translucent bands both ways in the second colour, thin light lines.
        QColor band = deck.ink;
        band.setAlpha(150);
        const qreal step = unit * 14;
        for (qreal x = panel.left() + step * 0.25; x < panel.right(); x += step)
            p.fillRect(QRectF(x, panel.top(), step * 0.45, h), band);
        for (qreal y = panel.top() + step * 0.25; y < panel.bottom(); y += step)
            p.fillRect(QRectF(panel.left(), y, w, step * 0.45), band);
        QColor line(255, 255, 255, 150);
        p.setPen(QPen(line, unit * 0.7));
        for (qreal x = panel.left() + step * 0.85; x < panel.right(); x += step)
            p.drawLine(QPointF(x, panel.top()), QPointF(x, panel.bottom()));
        for (qreal y = panel.top() + step * 0.85; y < panel.bottom(); y += step)
            p.drawLine(QPointF(panel.left(), y), QPointF(panel.right(), y));
        break;
    }
    case Pattern::Diamonds: {
        const qreal sx = unit * 8, sy = unit * 11;
        p.setPen(Qt::NoPen);
        p.setBrush(deck.ink);
        int row = 0;
        for (qreal y = panel.top(); y < panel.bottom() + sy; y += sy / 2, ++row) {
            for (qreal x = panel.left() + ((row % 2) ? sx / 2 : 0); x < panel.right() + sx; x += sx) {
                QPainterPath d;
                d.moveTo(x, y - sy / 4);
                d.lineTo(x + sx / 4, y);
                d.lineTo(x, y + sy / 4);
                d.lineTo(x - sx / 4, y);
                d.closeSubpath();
                p.drawPath(d);
            }
        }
        break;
    }
    }
}

QImage blank(QSize logical, qreal dpr)
{
    QImage img((QSizeF(logical) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::transparent);
    return img;
}

QImage renderPatternDeck(const PatternDeck& deck, QSize logical, qreal dpr)
{
    QImage img = blank(logical, dpr);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF rect(0, 0, logical.width(), logical.height());
    const qreal w = rect.width();
    const qreal unit = w / 71.0; // patterns keep their look at every size
    const qreal pen = std::max<qreal>(1.0, w / 70.0);
    const qreal radius = w * 0.08;
    const QRectF card = rect.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), pen));
    p.setBrush(QColor(0xFB, 0xFB, 0xF8));
    p.drawRoundedRect(card, radius, radius);

    // A narrow white edge: in a fanned pile only a strip of a few pixels of each face-down
    // card shows, and that strip must show the pattern, not the edge.
    const qreal margin = std::max<qreal>(1.5, w * 0.03);
    const QRectF panel = rect.adjusted(margin, margin, -margin, -margin);
    QPainterPath clip;
    clip.addRoundedRect(panel, radius * 0.5, radius * 0.5);
    p.save();
    p.setClipPath(clip);
    paintPattern(p, panel, deck, unit);
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(deck.base.darker(140), std::max<qreal>(0.8, unit)));
    p.drawPath(clip);
    return img;
}

} // namespace

const std::vector<DeckInfo>& builtInDecks()
{
    static const std::vector<DeckInfo> decks = {
        {1, QStringLiteral("Red lattice")},    {2, QStringLiteral("Blue stripes")},
        {3, QStringLiteral("Green dots")},     {4, QStringLiteral("Red tartan")},
        {5, QStringLiteral("Navy diamonds")},  {6, QStringLiteral("Burgundy stripes")},
        {7, QStringLiteral("Teal dots")},      {8, QStringLiteral("Blue tartan")},
        {9, QStringLiteral("Black and gold")}, {10, QStringLiteral("Purple diamonds")},
        {11, QStringLiteral("Blue lattice")},  {12, QStringLiteral("Green tartan")},
    };
    return decks;
}

const DeckInfo* findDeck(int number)
{
    for (const auto& d : builtInDecks())
        if (d.number == number)
            return &d;
    return nullptr;
}

std::vector<int> availableDecks(const PictureLibrary&)
{
    std::vector<int> out;
    for (const auto& d : builtInDecks())
        out.push_back(d.number);
    return out;
}

QImage renderDeck(const PictureLibrary&, int number, QSize logical, qreal devicePixelRatio)
{
    // Numbers of decks that no longer exist (old settings) show the default deck.
    const PatternDeck* deck = findPattern(number);
    if (!deck)
        deck = findPattern(kDefaultDeck);
    return renderPatternDeck(*deck, logical, devicePixelRatio);
}

PictureFileResult loadPlayerDeck(const QString& path, QSize logical, qreal devicePixelRatio)
{
    PictureFileResult result;
    if (!QFileInfo(path).isFile()) {
        result.error = QStringLiteral("Customized deck image not found: ") + path;
        return result;
    }
    const PictureRead read = readPicture(path);
    if (read.problem != PictureProblem::None) {
        result.error = pictureProblemText(read, path);
        return result;
    }
    QImage img = read.image;
    // A deck picture of any size is stretched to the card.
    img = img.scaled((QSizeF(logical) * devicePixelRatio).toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    img.setDevicePixelRatio(devicePixelRatio);
    result.image = img;
    return result;
}

} // namespace cw::ui
