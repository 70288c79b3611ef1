// A card set imported from one SVG file in the common layout (one element per card: "king_heart", "1_club", "back").
#include "ui/svg_card_set.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

namespace cw::ui {

namespace {

const char* const kRanks[13] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "jack", "queen", "king"};
// Face order: hearts, diamonds, clubs, spades.
const char* const kSuits[4] = {"heart", "diamond", "club", "spade"};

// The ids a face may go by, the common spelling first.
QStringList candidates(int faceIndex)
{
    const QString rank = QString::fromLatin1(kRanks[faceIndex % 13]);
    const QString suit = QString::fromLatin1(kSuits[faceIndex / 13]);
    QStringList ids{rank + QLatin1Char('_') + suit, rank + QLatin1Char('_') + suit + QLatin1Char('s')};
    if (faceIndex % 13 == 0)
        ids << QStringLiteral("ace_") + suit << QStringLiteral("ace_") + suit + QLatin1Char('s');
    return ids;
}

} // namespace

QString svgCardId(int faceIndex)
{
    if (faceIndex < 0 || faceIndex > 51)
        return {};
    return QString::fromLatin1(kRanks[faceIndex % 13]) + QLatin1Char('_') + QString::fromLatin1(kSuits[faceIndex / 13]);
}

SvgCardSet::~SvgCardSet() = default;

std::shared_ptr<const SvgCardSet> SvgCardSet::load(const QString& path, QString* error)
{
    auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return std::shared_ptr<const SvgCardSet>();
    };
    const QFileInfo info(path);
    if (!info.isFile())
        return fail(QStringLiteral("Customized cards set image not found: ") + path);
    if (info.size() > kMaxSvgBytes)
        return fail(QStringLiteral("The SVG file is too large (more than %1 MB): ").arg(kMaxSvgBytes >> 20) + path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Image is not valid: ") + path);
    const QByteArray bytes = file.readAll();
    std::shared_ptr<SvgCardSet> set(new SvgCardSet);
    set->m_path = path;
    set->m_renderer = std::make_unique<QSvgRenderer>(bytes);
    if (!set->m_renderer->isValid())
        return fail(QStringLiteral("Image is not valid: ") + path);
    for (int i = 0; i < 52; ++i) {
        for (const QString& id : candidates(i))
            if (set->m_renderer->elementExists(id)) {
                set->m_ids[static_cast<std::size_t>(i)] = id;
                break;
            }
        if (set->m_ids[static_cast<std::size_t>(i)].isEmpty())
            return fail(QStringLiteral("The SVG file has no card \"%1\": ").arg(svgCardId(i)) + path);
        if (set->m_renderer->boundsOnElement(set->m_ids[static_cast<std::size_t>(i)]).isEmpty())
            return fail(QStringLiteral("The card \"%1\" of the SVG file is empty: ").arg(svgCardId(i)) + path);
    }
    for (const char* id : {"joker", "black_joker", "red_joker", "joker_black", "joker_red"})
        if (set->m_renderer->elementExists(QString::fromLatin1(id))) {
            set->m_jokerId = QString::fromLatin1(id);
            break;
        }
    if (set->m_renderer->elementExists(QStringLiteral("back")))
        set->m_backId = QStringLiteral("back");
    return set;
}

QImage SvgCardSet::render(const QString& id, QSize logical, qreal devicePixelRatio) const
{
    QImage img((QSizeF(logical) * devicePixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(devicePixelRatio);
    img.fill(Qt::transparent);
    if (id.isEmpty() || !m_renderer)
        return img;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    // The element is fitted into the card whatever its own size in the drawing.
    m_renderer->render(&p, id, QRectF(0, 0, logical.width(), logical.height()));
    return img;
}

QImage SvgCardSet::renderFace(int faceIndex, QSize logical, qreal devicePixelRatio) const
{
    if (faceIndex < 0 || faceIndex > 51)
        return {};
    return render(m_ids[static_cast<std::size_t>(faceIndex)], logical, devicePixelRatio);
}

QImage SvgCardSet::renderJoker(QSize logical, qreal devicePixelRatio) const
{
    return render(m_jokerId, logical, devicePixelRatio);
}

QImage SvgCardSet::renderBack(QSize logical, qreal devicePixelRatio) const
{
    return render(m_backId, logical, devicePixelRatio);
}

QString svgCardSetProblem(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return QStringLiteral("Customized cards set image not found: ") + path;
    if (info.size() > kMaxSvgBytes)
        return QStringLiteral("The SVG file is too large (more than %1 MB): ").arg(kMaxSvgBytes >> 20) + path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Image is not valid: ") + path;
    const QByteArray bytes = file.readAll();
    if (!bytes.contains("<svg") || !(bytes.contains("\"king_heart\"") || bytes.contains("'king_heart'") ||
                                     bytes.contains("\"king_hearts\"") || bytes.contains("'king_hearts'")))
        return QStringLiteral("Image is not valid: ") + path;
    return {};
}

} // namespace cw::ui
