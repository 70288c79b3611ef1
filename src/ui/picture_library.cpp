// The picture library: opening CWD.RGF and answering pictures and sounds by name.
#include "ui/picture_library.h"

#include "ui/backgrounds.h"
#include "ui/card_art.h"
#include "ui/deck_art.h"
#include "ui/picture_library_icons.h"
#include "ui/pile_markers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QResource>

namespace cw::ui {

namespace {

constexpr char kSizeLetters[] = {'X', 'S', 'B', 'M', 'L'};

bool isSizeLetter(QChar c)
{
    for (char l : kSizeLetters)
        if (c == QLatin1Char(l))
            return true;
    return false;
}

// A three-digit number at `pos` of `name`, or -1.
int threeDigits(const QString& name, int pos)
{
    if (name.size() < pos + 3)
        return -1;
    bool ok = false;
    const int n = name.mid(pos, 3).toInt(&ok);
    for (int i = pos; i < pos + 3; ++i)
        if (!name.at(i).isDigit())
            return -1;
    return ok ? n : -1;
}

QSize cardSizeOf(QChar letter)
{
    const CardSizeInfo& s = cardSizeInfo(letter.toLatin1());
    return {s.width, s.height};
}

int suitOfLetter(QChar c)
{
    switch (c.toLatin1()) {
    case 'H': return 0;
    case 'D': return 1;
    case 'C': return 2;
    case 'S': return 3;
    default: return -1;
    }
}

int nextLibraryId()
{
    static int id = 0;
    return ++id;
}

} // namespace

PictureLibrary::~PictureLibrary() { unload(); }

PictureLibrary& PictureLibrary::instance()
{
    static PictureLibrary library;
    return library;
}

QString PictureLibrary::loadErrorText(const QString& path)
{
    return QStringLiteral("Can't find/load ") + path;
}

void PictureLibrary::unload()
{
    if (!m_root.isEmpty())
        QResource::unregisterResource(m_path, m_root.mid(1));
    m_root.clear();
    m_cache.clear();
}

namespace {

// File names are matched without regard to case: "cwd.rgf" finds "CWD.RGF".
QString findIgnoringCase(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.absoluteFilePath();
    const QDir dir = info.absoluteDir();
    for (const QString& entry : dir.entryList(QDir::Files))
        if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return dir.absoluteFilePath(entry);
    return info.absoluteFilePath();
}

} // namespace

bool PictureLibrary::load(const QString& path)
{
    unload();
    m_path = findIgnoringCase(path);
    m_error.clear();
    const QString root = QStringLiteral("/cwd%1").arg(nextLibraryId());
    if (!registerPictureLibrary(m_path, root)) {
        m_error = loadErrorText(m_path);
        return false;
    }
    m_root = QLatin1Char(':') + root;
    return true;
}

QString PictureLibrary::resourcePath(const QString& relativePath) const
{
    return m_root + QLatin1Char('/') + relativePath;
}

bool PictureLibrary::hasFile(const QString& relativePath) const
{
    return isLoaded() && QFileInfo::exists(resourcePath(relativePath));
}

QByteArray PictureLibrary::file(const QString& relativePath) const
{
    if (!isLoaded())
        return {};
    QFile f(resourcePath(relativePath));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QStringList PictureLibrary::soundNames() const
{
    QStringList names;
    if (!isLoaded())
        return names;
    QDirIterator it(resourcePath(QStringLiteral("sounds")), {QStringLiteral("*.wav")}, QDir::Files);
    while (it.hasNext()) {
        it.next();
        names << it.fileInfo().completeBaseName();
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

QByteArray PictureLibrary::sound(const QString& name) const
{
    for (const QString& n : soundNames())
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return file(QStringLiteral("sounds/") + n + QStringLiteral(".wav"));
    return {};
}

bool PictureLibrary::hasPicture(const QString& name) const { return !picture(name).isNull(); }

QImage PictureLibrary::renderTablePicture(const QString& n, qreal dpr) const
{
    QImage img;
    if (n.startsWith(QLatin1String("BMP_PAUSE_")) && n.size() == 11) {
        const int which = n.at(10).digitValue();
        if (which == 1 || which == 2)
            img = renderPausePicture(which, dpr);
    } else if (n.startsWith(QLatin1String("SHADOW_")) && n.size() == 9 && isSizeLetter(n.at(7))) {
        const int which = n.at(8).digitValue();
        if (which == 1 || which == 2)
            img = renderShadow(which, cardSizeOf(n.at(7)), dpr);
    } else if (n.startsWith(QLatin1String("3D_BORDER_")) && n.size() == 12 && isSizeLetter(n.at(10))) {
        const int which = n.at(11).digitValue();
        if (which == 1 || which == 2)
            img = render3DBorder(which, cardSizeOf(n.at(10)), dpr);
    } else if (n.startsWith(QLatin1String("JOKER_")) && n.size() == 7 && isSizeLetter(n.at(6))) {
        img = renderJoker(cardSizeOf(n.at(6)), dpr);
    } else if (n == QLatin1String("Y001")) {
        img = renderPauseTile(dpr);
    } else if (n.size() == 4 && n.at(0) == QLatin1Char('B') && threeDigits(n, 1) > 0) {
        img = renderBackgroundTile(threeDigits(n, 1), dpr);
    } else if (n.size() == 6 && n.at(0) == QLatin1Char('C') && isSizeLetter(n.at(1)) && threeDigits(n, 2) > 0
               && suitOfLetter(n.at(5)) >= 0) {
        const int set = threeDigits(n, 2);
        if (findCardSet(set))
            img = renderSuitSheet(*this, set, suitOfLetter(n.at(5)), cardSizeOf(n.at(1)), dpr);
    } else if (n.size() == 5 && n.at(0) == QLatin1Char('D') && isSizeLetter(n.at(1)) && threeDigits(n, 2) > 0) {
        const int deck = threeDigits(n, 2);
        if (findDeck(deck))
            img = renderDeck(*this, deck, cardSizeOf(n.at(1)), dpr);
    } else if (n.size() >= 3 && n.at(0) == QLatin1Char('W') && isSizeLetter(n.at(1))) {
        img = renderMarker(n.mid(2), cardSizeOf(n.at(1)), dpr);
    }
    return img;
}

QImage PictureLibrary::picture(const QString& name, qreal dpr) const
{
    if (!isLoaded() || name.isEmpty())
        return {};
    const QString n = name.toUpper();
    const QString key = n + QLatin1Char('@') + QString::number(dpr);
    if (auto it = m_cache.constFind(key); it != m_cache.constEnd())
        return *it;

    QImage img = renderIcon(*this, n, dpr);
    if (img.isNull())
        img = renderTablePicture(n, dpr);
    if (!img.isNull())
        m_cache.insert(key, img);
    return img;
}

QStringList PictureLibrary::pictureNames() const
{
    QStringList names;
    if (!isLoaded())
        return names;
    const auto three = [](int n) { return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')); };
    const std::vector<int> sets = availableCardSets(*this);
    const std::vector<int> decks = availableDecks(*this);
    for (char s : kSizeLetters) {
        const QString l(QLatin1Char{s});
        for (int set : sets)
            for (const char* suit : {"H", "D", "C", "S"})
                names << QLatin1Char('C') + l + three(set) + QLatin1String(suit);
        for (int d : decks)
            names << QLatin1Char('D') + l + three(d);
        for (const QString& suffix : markerSuffixes())
            names << QLatin1Char('W') + l + suffix;
        for (const char* which : {"1", "2"}) {
            names << QStringLiteral("SHADOW_") + l + QLatin1String(which);
            names << QStringLiteral("3D_BORDER_") + l + QLatin1String(which);
        }
        names << QStringLiteral("JOKER_") + l;
    }
    for (const auto& b : builtInBackgrounds())
        names << QLatin1Char('B') + three(b.number);
    names << QStringLiteral("Y001") << QStringLiteral("BMP_PAUSE_1") << QStringLiteral("BMP_PAUSE_2");
    names << iconNames();
    return names;
}

} // namespace cw::ui
