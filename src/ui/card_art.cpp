// Card faces: sizes, size forcing, suit folding, built-in sets and the card picture table.
#include "ui/card_art.h"

#include "ui/deck_art.h"
#include "ui/picture_library.h"
#include "ui/pile_markers.h"
#include "ui/svg_card_set.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace cw::ui {

CardSizeForcing forceCardSizeForScreen(int screenWidth, int param40, char selected)
{
    const auto size = cw::engine::cardSizeFromLetter(cardSizeInfo(selected).letter);
    const cw::engine::ForcedSize f =
        cw::engine::forceCardSizeForScreen(size.value_or(cw::engine::CardSize::B), screenWidth, param40);
    return {cw::engine::cardSizeLetter(f.size), f.forced, f.advice};
}

QString sizeAdviceText(SizeAdvice advice, const QString& gameName)
{
    switch (advice) {
    case SizeAdvice::Medium640:
        return QStringLiteral("Your video card's display is 640x480 pixels. For the best graphics display the "
                              "screen resolution should be set to 800x600 pixels or higher. However, it's "
                              "possible to play ") +
               gameName + QStringLiteral(" ") + QStringLiteral("using a predefined cards set.");
    case SizeAdvice::Medium800:
        return QStringLiteral("Your video card's display is 800x600 pixels. For the best graphics display of "
                              "this game the screen resolution should be set to 1024x768 pixels or higher. "
                              "However, it's possible to play ") +
               gameName + QStringLiteral(" ") + QStringLiteral("using a predefined Cards set.");
    case SizeAdvice::FromLarge:
        return QStringLiteral("You have selected the Large size Cards Set. It's possible to play ") + gameName +
               QStringLiteral(" ") + QStringLiteral("using a predefined Cards Set.");
    case SizeAdvice::FromExtraLarge:
        return QStringLiteral("You have selected the Extra Large size Cards Set. It's possible to play ") + gameName +
               QStringLiteral(" ") + QStringLiteral("using a predefined Cards Set.");
    case SizeAdvice::None: break;
    }
    return {};
}

QString sizeAdviceKey(SizeAdvice advice)
{
    switch (advice) {
    case SizeAdvice::Medium640: return QStringLiteral("Msg_Cards_Medium_640x480");
    case SizeAdvice::Medium800: return QStringLiteral("Msg_Cards_Medium_800x600");
    case SizeAdvice::FromLarge: return QStringLiteral("Msg_Cards_Large");
    case SizeAdvice::FromExtraLarge: return QStringLiteral("Msg_Extra_Large_Cards");
    case SizeAdvice::None: break;
    }
    return {};
}

int cardSetForForcedSize(char letter) { return cardSizeInfo(letter).letter == 'M' ? 3 : kDefaultCardSet; }

// ---- Card codes and suit folding -------------------------------------------------

bool isJokerCode(int code) { return code >= 209 && code <= 212; }

int faceIndex(int code, int param50)
{
    if (code < 1 || code > 208)
        return -1;
    const int first = (code - 1) % 52; // further decks show the first deck's faces
    int suit = first / 13;             // 0 hearts, 1 diamonds, 2 clubs, 3 spades
    const int rank = first % 13;
    if (param50 == 1)
        suit = 3;
    else if (param50 == 2)
        suit = suit < 2 ? 0 : 3;
    return suit * 13 + rank;
}

// ---- Built-in card sets ------------------------------------------------------------

const std::vector<CardSetInfo>& builtInCardSets()
{
    static const std::vector<CardSetInfo> sets = {
        {kClassicCardSet, QStringLiteral("Classic")},
        {kFourColourCardSet, QStringLiteral("Four colours")},
        {kLargeIndexCardSet, QStringLiteral("Large index")},
        {kPlainCardSet, QStringLiteral("High contrast")},
    };
    return sets;
}

const CardSetInfo* findCardSet(int number)
{
    for (const auto& s : builtInCardSets())
        if (s.number == number)
            return &s;
    return nullptr;
}

std::vector<int> availableCardSets(const PictureLibrary&)
{
    std::vector<int> out;
    for (const auto& s : builtInCardSets())
        out.push_back(s.number);
    return out;
}

int effectiveCardSet(const PictureLibrary&, int number) { return findCardSet(number) ? number : kClassicCardSet; }

namespace {

QImage blankImage(QSize logical, qreal dpr)
{
    QImage img((QSizeF(logical) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::transparent);
    return img;
}

void setupPainter(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::TextAntialiasing);
}

} // namespace

QImage renderCardFace(const PictureLibrary& library, int setNumber, int code, QSize logical, qreal devicePixelRatio)
{
    const int idx = faceIndex(code);
    if (idx < 0 && !isJokerCode(code))
        return {};
    QImage img = blankImage(logical, devicePixelRatio);
    QPainter p(&img);
    setupPainter(p);
    const QRectF rect(0, 0, logical.width(), logical.height());
    // The tiny size shows only what can be read at 25 pixels: the plain faces.
    const int set = effectiveCardSet(library, setNumber);
    const bool classic = set != kPlainCardSet && logical.width() >= 40;
    if (isJokerCode(code))
        classic ? paintClassicJoker(p, rect) : paintPlainJoker(p, rect);
    else
        classic ? paintClassicFace(p, rect, idx, classicStyle(set)) : paintPlainFace(p, rect, idx);
    return img;
}

QImage renderCardSetBack(const PictureLibrary& library, int, QSize logical, qreal devicePixelRatio)
{
    return renderDeck(library, kDefaultDeck, logical, devicePixelRatio);
}

QImage renderSuitSheet(const PictureLibrary& library, int setNumber, int suitIndex, QSize card, qreal devicePixelRatio)
{
    QImage sheet = blankImage(QSize(card.width() * 5, card.height() * 3), devicePixelRatio);
    QPainter p(&sheet);
    for (int r = 0; r < 13; ++r) {
        const QImage face = renderCardFace(library, setNumber, suitIndex * 13 + r + 1, card, devicePixelRatio);
        p.drawImage(QPointF((r % 5) * card.width(), (r / 5) * card.height()), face);
    }
    return sheet;
}

// ---- The card picture table ---------------------------------------------------------

namespace {

struct FaceSet {
    std::vector<QPixmap> faces;
    QPixmap joker;
};

using FaceKey = std::tuple<QString, int, char, qreal>;

// Recently used sets stay ready, so that switching size or set back and forth in the
// options does not render again.
std::map<FaceKey, FaceSet>& faceCache()
{
    static std::map<FaceKey, FaceSet> cache;
    return cache;
}

} // namespace

int CardPictures::loadBuiltIn(const PictureLibrary& library, int setNumber, char sizeLetter, qreal devicePixelRatio)
{
    const int used = effectiveCardSet(library, setNumber);
    const CardSizeInfo& size = cardSizeInfo(sizeLetter);
    const QSize logical(size.width, size.height);
    const FaceKey key{library.path(), used, size.letter, devicePixelRatio};
    auto& cache = faceCache();
    auto it = cache.find(key);
    if (it == cache.end()) {
        if (cache.size() >= 6)
            cache.clear();
        FaceSet set;
        set.faces.reserve(52);
        for (int code = 1; code <= 52; ++code)
            set.faces.push_back(QPixmap::fromImage(renderCardFace(library, used, code, logical, devicePixelRatio)));
        set.joker = QPixmap::fromImage(renderCardFace(library, used, 209, logical, devicePixelRatio));
        it = cache.emplace(key, std::move(set)).first;
    }
    m_faces = it->second.faces;
    m_joker = it->second.joker;
    m_letter = size.letter;
    m_dpr = devicePixelRatio;
    m_markers.clear();
    return used;
}

namespace {

// The corners outside a card's rounded edge hold the sheet's background (grey, white, whatever the
// player's program left there): the pixels outside the rounding that have the corner pixel's colour
// become transparent, so that the table shows through as it does round our own cards.
void clearCorners(QImage& card)
{
    const int w = card.width(), h = card.height();
    const int r = std::max(2, static_cast<int>(std::lround(std::min(w, h) * 0.075)));
    if (w < 2 * r || h < 2 * r)
        return;
    for (const QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)}) {
        const QRgb key = card.pixel(corner);
        const int sx = corner.x() == 0 ? 1 : -1, sy = corner.y() == 0 ? 1 : -1;
        for (int dy = 0; dy < r; ++dy)
            for (int dx = 0; dx < r; ++dx) {
                const double ox = r - (dx + 0.5), oy = r - (dy + 0.5);
                if (ox * ox + oy * oy <= double(r) * r)
                    continue;
                const QPoint at(corner.x() + sx * dx, corner.y() + sy * dy);
                if (card.pixel(at) == key)
                    card.setPixel(at, qRgba(0, 0, 0, 0));
            }
    }
}

QPixmap cardPixmap(QImage img, QSize device, qreal dpr)
{
    if (img.size() != device)
        img = img.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    img.setDevicePixelRatio(dpr);
    return QPixmap::fromImage(img);
}

} // namespace

bool CardPictures::loadSheet(const QImage& sheet, qreal devicePixelRatio, char sizeLetter)
{
    const std::vector<QImage> cells = cutCardSetSheet(sheet);
    if (cells.size() != 52)
        return false;
    const char letter = sizeLetter ? cardSizeInfo(sizeLetter).letter : sizeLetterForSheet(sheet.size());
    const CardSizeInfo& size = cardSizeInfo(letter);
    const QSize device = (QSizeF(size.width, size.height) * devicePixelRatio).toSize();
    std::vector<QPixmap> faces;
    faces.reserve(52);
    for (QImage cell : cells) {
        cell = cell.convertToFormat(QImage::Format_ARGB32);
        clearCorners(cell);
        faces.push_back(cardPixmap(cell, device, devicePixelRatio));
    }
    QImage joker = blankImage({size.width, size.height}, devicePixelRatio);
    {
        QPainter p(&joker);
        setupPainter(p);
        paintClassicJoker(p, QRectF(0, 0, size.width, size.height));
    }
    m_faces = std::move(faces);
    m_joker = QPixmap::fromImage(joker);
    m_letter = letter;
    m_dpr = devicePixelRatio;
    m_markers.clear();
    return true;
}

void CardPictures::loadSvg(const SvgCardSet& set, char sizeLetter, qreal devicePixelRatio)
{
    const CardSizeInfo& size = cardSizeInfo(sizeLetter);
    const QSize logical(size.width, size.height);
    std::vector<QPixmap> faces;
    faces.reserve(52);
    for (int i = 0; i < 52; ++i)
        faces.push_back(QPixmap::fromImage(set.renderFace(i, logical, devicePixelRatio)));
    QImage joker;
    if (set.hasJoker()) {
        joker = set.renderJoker(logical, devicePixelRatio);
    } else {
        joker = blankImage(logical, devicePixelRatio);
        QPainter p(&joker);
        setupPainter(p);
        paintClassicJoker(p, QRectF(QPointF(0, 0), QSizeF(logical)));
    }
    m_faces = std::move(faces);
    m_joker = QPixmap::fromImage(joker);
    m_letter = size.letter;
    m_dpr = devicePixelRatio;
    m_markers.clear();
}

namespace {

struct FileFaceKey {
    QString path;
    QDateTime modified;
    qint64 bytes;
    char letter;
    qreal dpr;
    bool operator<(const FileFaceKey& o) const
    {
        return std::tie(path, modified, bytes, letter, dpr) < std::tie(o.path, o.modified, o.bytes, o.letter, o.dpr);
    }
};

std::map<FileFaceKey, FaceSet>& fileFaceCache()
{
    static std::map<FileFaceKey, FaceSet> cache;
    return cache;
}

} // namespace

bool CardPictures::loadFile(const QString& path, char sizeLetter, qreal devicePixelRatio)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    const char letter = cardSizeInfo(sizeLetter).letter;
    const FileFaceKey key{info.absoluteFilePath(), info.lastModified(), info.size(), letter, devicePixelRatio};
    auto& cache = fileFaceCache();
    if (auto it = cache.find(key); it != cache.end()) {
        m_faces = it->second.faces;
        m_joker = it->second.joker;
    } else {
        CardPictures loaded;
        if (info.suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
            const auto set = SvgCardSet::load(path, nullptr);
            if (!set)
                return false;
            loaded.loadSvg(*set, letter, devicePixelRatio);
        } else {
            const PictureFileResult sheet = loadPlayerCardSet(path);
            if (!sheet.ok() || !loaded.loadSheet(sheet.image, devicePixelRatio, letter))
                return false;
        }
        if (cache.size() >= 4)
            cache.clear();
        cache.emplace(key, FaceSet{loaded.m_faces, loaded.m_joker});
        m_faces = std::move(loaded.m_faces);
        m_joker = loaded.m_joker;
    }
    m_letter = letter;
    m_dpr = devicePixelRatio;
    m_markers.clear();
    return true;
}

bool CardPictures::loadDeckFile(const QString& path)
{
    const PictureRead read = readPicture(path);
    if (read.problem != PictureProblem::None)
        return false;
    QImage picture = read.image.convertToFormat(QImage::Format_ARGB32);
    clearCorners(picture);
    setDeckPicture(picture);
    return true;
}

void CardPictures::loadDeck(const PictureLibrary& library, int deckNumber)
{
    m_deckNumber = deckNumber;
    m_back = QPixmap::fromImage(renderDeck(library, deckNumber, cardSize(), m_dpr));
    m_markers.clear();
}

void CardPictures::setDeckPicture(const QImage& picture)
{
    m_deckNumber = 0;
    QImage img = picture.scaled((QSizeF(cardSize()) * m_dpr).toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    img.setDevicePixelRatio(m_dpr);
    m_back = QPixmap::fromImage(img);
    m_markers.clear();
}

void CardPictures::loadExtras()
{
    const QSize card = cardSize();
    m_shadow1 = QPixmap::fromImage(renderShadow(1, card, m_dpr));
    m_shadow2 = QPixmap::fromImage(renderShadow(2, card, m_dpr));
    m_border1 = QPixmap::fromImage(render3DBorder(1, card, m_dpr));
    m_border2 = QPixmap::fromImage(render3DBorder(2, card, m_dpr));
    m_emptyPlace = QPixmap::fromImage(renderMarker(QStringLiteral("009"), card, m_dpr));
    m_markers.clear();
}

QPixmap CardPictures::marker(const PictureLibrary& library, const QString& markerName) const
{
    const QString key = markerName.toLower();
    if (auto it = m_markers.constFind(key); it != m_markers.constEnd())
        return *it;
    const auto suffix = markerSuffix(markerName);
    if (!suffix)
        return {};
    QPixmap pix;
    if (suffix->isEmpty())
        pix = m_back.isNull() ? QPixmap::fromImage(renderDeck(library, kDefaultDeck, cardSize(), m_dpr)) : m_back;
    else
        pix = QPixmap::fromImage(renderMarker(*suffix, cardSize(), m_dpr));
    m_markers.insert(key, pix);
    return pix;
}

QPixmap CardPictures::face(int code) const
{
    if (isJokerCode(code))
        return m_joker;
    const int idx = faceIndex(code, m_param50);
    if (idx < 0 || idx >= static_cast<int>(m_faces.size()))
        return {};
    return m_faces[static_cast<std::size_t>(idx)];
}

} // namespace cw::ui
