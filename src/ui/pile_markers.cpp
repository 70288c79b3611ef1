// Empty-pile markers, card shadows, 3D borders, the joker and the pause pictures.
#include "ui/pile_markers.h"

#include "ui/card_art.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <iterator>
#include <utility>
#include <vector>

namespace cw::ui {

namespace {

struct MarkerName {
    const char* name;
    const char* suffix;
};

// Marker names as the rules choose them, and the picture each one shows.
constexpr MarkerName kMarkers[] = {
    {"deck", ""},
    {"stockvisible", "_WASTE"},
    {"firsttableauall", "004"},
    {"stockup", "022"},
    {"stockdown", "005"},
    {"stockstop", "008"},
    {"foundation", "004"},
    {"foundationa", "010"},
    {"foundation2", "012"},
    {"foundation3", "013"},
    {"foundation4", "014"},
    {"foundation5", "015"},
    {"foundation6", "016"},
    {"foundation7", "017"},
    {"foundation8", "018"},
    {"foundation9", "019"},
    {"foundation10", "020"},
    {"foundation11", "006"},
    {"foundation12", "003"},
    {"foundation13", "011"},
    {"position", "_TABLEAU"},
    {"emptyposition", "001"},
    {"emptypositionjqk", "009"},
};

// The rank letter a foundation marker shows.
QString rankMarkerText(const QString& suffix)
{
    static const std::pair<const char*, const char*> ranks[] = {
        {"010", "A"}, {"012", "2"}, {"013", "3"}, {"014", "4"}, {"015", "5"}, {"016", "6"}, {"017", "7"},
        {"018", "8"}, {"019", "9"}, {"020", "10"}, {"006", "J"}, {"003", "Q"}, {"011", "K"},
    };
    for (const auto& [s, t] : ranks)
        if (suffix == QLatin1String(s))
            return QLatin1String(t);
    return {};
}

QImage blank(QSize logical, qreal dpr)
{
    QImage img((QSizeF(logical) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::transparent);
    return img;
}

const QColor kInk(255, 255, 255, 150);

// Up to 18 pixels of blur for an alpha mask (three box passes approximate a Gaussian).
void blurAlpha(std::vector<float>& a, int w, int h, int radius)
{
    if (radius <= 0)
        return;
    std::vector<float> tmp(a.size());
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                float sum = 0;
                int n = 0;
                for (int k = -radius; k <= radius; ++k) {
                    const int xx = x + k;
                    if (xx >= 0 && xx < w) {
                        sum += a[static_cast<std::size_t>(y * w + xx)];
                        ++n;
                    }
                }
                tmp[static_cast<std::size_t>(y * w + x)] = sum / (2 * radius + 1);
                (void)n;
            }
        }
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k) {
                    const int yy = y + k;
                    if (yy >= 0 && yy < h)
                        sum += tmp[static_cast<std::size_t>(yy * w + x)];
                }
                a[static_cast<std::size_t>(y * w + x)] = sum / (2 * radius + 1);
            }
        }
    }
}

void drawArrowHead(QPainter& p, QPointF tip, qreal angle, qreal size)
{
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip + QPointF(std::cos(angle + 2.6) * size, std::sin(angle + 2.6) * size));
    head.lineTo(tip + QPointF(std::cos(angle - 2.6) * size, std::sin(angle - 2.6) * size));
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPath(head);
}

} // namespace

std::optional<QString> markerSuffix(const QString& markerName)
{
    for (const auto& m : kMarkers)
        if (markerName.compare(QLatin1String(m.name), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(m.suffix);
    return std::nullopt;
}

QString markerErrorText(const QString& markerName) { return QStringLiteral("Error: ") + markerName; }

QString markerPictureName(const QString& markerName, char sizeLetter, int deckNumber)
{
    const auto suffix = markerSuffix(markerName);
    if (!suffix)
        return {};
    const QString letter(QLatin1Char(cardSizeInfo(sizeLetter).letter));
    if (suffix->isEmpty())
        return QLatin1Char('D') + letter + QStringLiteral("%1").arg(deckNumber, 3, 10, QLatin1Char('0'));
    return QLatin1Char('W') + letter + *suffix;
}

QStringList markerSuffixes()
{
    return {QStringLiteral("001"), QStringLiteral("003"), QStringLiteral("004"), QStringLiteral("005"),
            QStringLiteral("006"), QStringLiteral("008"), QStringLiteral("009"), QStringLiteral("010"),
            QStringLiteral("011"), QStringLiteral("012"), QStringLiteral("013"), QStringLiteral("014"),
            QStringLiteral("015"), QStringLiteral("016"), QStringLiteral("017"), QStringLiteral("018"),
            QStringLiteral("019"), QStringLiteral("020"), QStringLiteral("021"), QStringLiteral("022"),
            QStringLiteral("_WASTE"), QStringLiteral("_TABLEAU")};
}

QImage renderMarker(const QString& suffixIn, QSize card, qreal dpr)
{
    const QString suffix = suffixIn.toUpper();
    if (!markerSuffixes().contains(suffix))
        return {};
    QImage img = blank(card, dpr);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = card.width(), h = card.height();
    const qreal pen = std::max<qreal>(1.0, w / 50.0);
    const QRectF slot = QRectF(0, 0, w, h).adjusted(pen, pen, -pen, -pen);
    const qreal radius = w * 0.08;

    // The empty place: a darker hollow with a light rim, visible on light and dark tables.
    QPen rim(QColor(255, 255, 255, 120), pen);
    if (suffix == QLatin1String("_WASTE"))
        rim.setDashPattern({3, 2});
    p.setPen(rim);
    p.setBrush(suffix == QLatin1String("_TABLEAU") ? QColor(0, 0, 0, 22) : QColor(0, 0, 0, 45));
    p.drawRoundedRect(slot, radius, radius);

    const QPointF c = slot.center();
    const qreal s = std::min(w, h);
    const qreal stroke = std::max<qreal>(1.5, s * 0.07);
    const QString rank = rankMarkerText(suffix);
    if (!rank.isEmpty()) {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawPath(fittedText(rank, QRectF(slot.left() + w * 0.2, c.y() - h * 0.15, slot.width() - w * 0.4, h * 0.3),
                              Qt::AlignHCenter));
    } else if (suffix == QLatin1String("004")) {
        // Any suit may start here: the four suits in a square.
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        const qreal cell = s * 0.26;
        for (int i = 0; i < 4; ++i) {
            const QPointF o(c.x() + ((i % 2) ? 0.08 * s : -0.08 * s - cell),
                            c.y() + ((i / 2) ? 0.08 * s : -0.08 * s - cell));
            p.drawPath(suitShape(i, QRectF(o, QSizeF(cell, cell))));
        }
    } else if (suffix == QLatin1String("009")) {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawPath(fittedText(QStringLiteral("JQK"), QRectF(slot.left() + w * 0.12, c.y() - h * 0.1,
                                                            slot.width() - w * 0.24, h * 0.2),
                              Qt::AlignHCenter));
    } else if (suffix == QLatin1String("005")) {
        // The stock is dealt downwards: an arrow pointing down.
        p.setPen(QPen(kInk, stroke, Qt::SolidLine, Qt::RoundCap));
        const QPointF top(c.x(), c.y() - s * 0.28), tip(c.x(), c.y() + s * 0.28);
        p.drawLine(top, tip - QPointF(0, stroke));
        drawArrowHead(p, tip, M_PI / 2, s * 0.18);
    } else if (suffix == QLatin1String("022")) {
        // The stock can be turned over again: a clockwise arrow with its gap at the top.
        const qreal r = s * 0.26;
        p.setPen(QPen(kInk, stroke, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 60 * 16, -280 * 16);
        const qreal end = (60.0 - 280.0) * M_PI / 180.0;
        const QPointF endPoint(c.x() + r * std::cos(end), c.y() - r * std::sin(end));
        const QPointF dir(std::sin(end), std::cos(end));   // clockwise travel on the screen
        drawArrowHead(p, endPoint + dir * (s * 0.1), std::atan2(dir.y(), dir.x()), s * 0.17);
    } else if (suffix == QLatin1String("008")) {
        // No more turns: a barred circle.
        const qreal r = s * 0.26;
        p.setPen(QPen(kInk, stroke));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, r, r);
        p.drawLine(c + QPointF(-r * 0.7, r * 0.7), c + QPointF(r * 0.7, -r * 0.7));
    } else if (suffix == QLatin1String("021")) {
        const qreal r = s * 0.22;
        p.setPen(QPen(kInk, stroke, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
        p.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
    }
    return img;
}

QColor foundationMarkColour(int colourIndex)
{
    static const QColor colours[] = {
        {0, 0, 0},     {0, 0, 255},   {0, 255, 255},   {0, 255, 0},   {255, 185, 220},
        {255, 70, 70}, {255, 255, 128}, {0, 0, 160},   {0, 128, 128}, {0, 128, 64},
        {255, 128, 255}, {128, 0, 64}, {128, 128, 0},  {128, 0, 0},   {192, 192, 192},
    };
    if (colourIndex < 0 || colourIndex >= static_cast<int>(std::size(colours)))
        return colours[0];   // a damaged setting shows black, the first colour
    return colours[colourIndex];
}

QImage renderFoundationMark(int pattern, int colourIndex, QSize card, qreal dpr)
{
    if (pattern < 1 || pattern > 5)
        return {};
    QImage img = blank(card, dpr);
    const QColor colour = foundationMarkColour(colourIndex);
    const QRect area(1, 1, card.width() - 2, card.height() - 2);
    QPainter p(&img);
    // Keep the mark inside the card's rounded outline.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(area), card.width() * 0.07, card.width() * 0.07);
    p.setClipPath(outline);
    if (pattern == 1) {
        // One logical pixel in four on every second row, shifted along the rows: fine
        // diagonal dotted lines that leave the card readable.
        for (int y = area.top(); y <= area.bottom(); y += 2)
            for (int x = area.left() + (y / 2) % 4; x <= area.right(); x += 4)
                p.fillRect(QRect(x, y, 1, 1), colour);
        return img;
    }
    if (pattern == 2) {
        p.fillRect(area, colour);
        return img;
    }
    // Hatches drawn as lines in logical pixels, so that they look alike at any density.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 1.0));
    const int step = 6;
    const int w = card.width(), h = card.height();
    if (pattern == 3 || pattern == 5)
        for (int d = -h; d < w + h; d += step)
            p.drawLine(QPointF(d, h), QPointF(d + h, 0));
    if (pattern == 5)
        for (int d = -h; d < w + h; d += step)
            p.drawLine(QPointF(d, 0), QPointF(d + h, h));
    if (pattern == 4) {
        for (int x = area.left() + step / 2; x <= area.right(); x += step)
            p.drawLine(QPointF(x + 0.5, area.top()), QPointF(x + 0.5, area.bottom() + 1));
        for (int y = area.top() + step / 2; y <= area.bottom(); y += step)
            p.drawLine(QPointF(area.left(), y + 0.5), QPointF(area.right() + 1, y + 0.5));
    }
    return img;
}

QImage renderShadow(int which, QSize card, qreal dpr)
{
    const QSize logical(card.width() + kShadowMargin, card.height() + kShadowMargin);
    const QSize device = (QSizeF(logical) * dpr).toSize();
    const bool lifted = which == 2;
    const qreal offset = (lifted ? 6.0 : 3.0) * dpr;
    const int blur = static_cast<int>(std::lround((lifted ? 2.5 : 1.5) * dpr));
    const float strength = lifted ? 0.38f : 0.45f;

    // The card's outline, moved right and down, softened.
    QImage mask(device, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        const QRectF r(offset, offset, card.width() * dpr, card.height() * dpr);
        p.drawRoundedRect(r, card.width() * dpr * 0.08, card.width() * dpr * 0.08);
    }
    const int w = device.width(), h = device.height();
    std::vector<float> a(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y) {
        const uchar* line = mask.constScanLine(y);
        for (int x = 0; x < w; ++x)
            a[static_cast<std::size_t>(y * w + x)] = line[x] / 255.0f;
    }
    blurAlpha(a, w, h, blur);
    QImage img(device, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int alpha = std::clamp(static_cast<int>(a[static_cast<std::size_t>(y * w + x)] * strength * 255), 0, 255);
            line[x] = qRgba(0, 0, 0, alpha);
        }
    }
    img.setDevicePixelRatio(dpr);
    return img;
}

QImage render3DBorder(int which, QSize card, qreal dpr)
{
    QImage img = blank(card, dpr);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = card.width(), h = card.height();
    const qreal pen = std::max<qreal>(1.5, w / 36.0);
    const QRectF r = QRectF(0, 0, w, h).adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    const QColor light(255, 255, 255, 200), dark(0, 0, 0, 130);
    g.setColorAt(0, which == 2 ? dark : light);
    g.setColorAt(0.5, QColor(128, 128, 128, 40));
    g.setColorAt(1, which == 2 ? light : dark);
    p.setPen(QPen(QBrush(g), pen));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r, w * 0.08, w * 0.08);
    return img;
}

QImage renderJoker(QSize card, qreal dpr)
{
    QImage img = blank(card, dpr);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paintPlainJoker(p, QRectF(0, 0, card.width(), card.height()));
    return img;
}

QImage renderPausePicture(int which, qreal dpr)
{
    const QString text = which == 1 ? QStringLiteral("Paused") : QStringLiteral("Click or press a key to go on");
    const qreal textHeight = which == 1 ? 52 : 18;
    // Size the picture to the words, so that they keep their natural width.
    const QPainterPath probe = fittedText(text, QRectF(0, 0, 10000, textHeight), Qt::AlignLeft);
    const QRectF bounds = probe.boundingRect();
    const QSize logical(static_cast<int>(std::ceil(bounds.width())) + 12, static_cast<int>(textHeight) + 12);
    QImage img = blank(logical, dpr);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = probe.translated(5 - bounds.left(), 5 - bounds.top());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawPath(path.translated(which == 1 ? 3 : 1.5, which == 1 ? 3 : 1.5));
    p.setBrush(which == 1 ? QColor(0xFF, 0xF4, 0xD0) : QColor(255, 255, 255, 230));
    p.drawPath(path);
    return img;
}

} // namespace cw::ui
