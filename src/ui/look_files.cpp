// The player's own card sets, decks and backgrounds: where they live, how they are named and listed.
#include "ui/look_files.h"

#include "storage/ini_file.h"
#include "ui/card_art.h"
#include "ui/svg_card_set.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace cw::ui {

namespace {

QString withSlash(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// The entry of `dir` named `name` without regard to case, or `name` itself.
QString existingSpelling(const QDir& dir, const QString& name)
{
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    return name;
}

QString folderOf(const QString& dataFolder, const char* name, bool create)
{
    QDir data(dataFolder);
    const QString spelled = existingSpelling(data, QString::fromLatin1(name));
    if (create && !data.exists(spelled))
        data.mkpath(spelled);
    return withSlash(data.filePath(spelled));
}

// The file `stem` + one of `extensions` in `folder`, without regard to case; empty when none.
QString findFile(const QString& folder, const QString& stem, const QStringList& extensions)
{
    const QDir dir(folder);
    if (!dir.exists())
        return {};
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files)) {
        if (info.completeBaseName().compare(stem, Qt::CaseInsensitive) != 0 &&
            info.fileName().compare(stem, Qt::CaseInsensitive) != 0)
            continue;
        for (const QString& ext : extensions)
            if (info.suffix().compare(ext, Qt::CaseInsensitive) == 0)
                return info.filePath();
    }
    return {};
}

bool byName(const PlayerLookFile& a, const PlayerLookFile& b)
{
    return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
}

} // namespace

QString cardSetsFolder(const QString& dataFolder, bool create)
{
    return folderOf(dataFolder, kCardSetsFolderName, create);
}

QString decksFolder(const QString& dataFolder, bool create) { return folderOf(dataFolder, kDecksFolderName, create); }

QString cardSetPath(const QString& dataFolder, const QString& name, bool svg)
{
    return cardSetsFolder(dataFolder) + name + (svg ? QStringLiteral(".svg") : QStringLiteral(".crs"));
}

QString deckPath(const QString& dataFolder, const QString& name)
{
    return decksFolder(dataFolder) + name + QStringLiteral(".bmp");
}

QString nameProblem(const QString& name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("Please type a name.");
    if (name.size() > 100)
        return QStringLiteral("The name is too long: at most 100 characters.");
    if (name != name.trimmed())
        return QStringLiteral("The name cannot begin or end with a blank.");
    if (name.contains(QStringLiteral("..")) || name.startsWith(QLatin1Char('.')))
        return QStringLiteral("The name cannot begin with a dot or contain \"..\".");
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return QStringLiteral("The name cannot contain \"/\" or \"\\\".");
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
            c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph)
            return QStringLiteral("The name cannot contain control characters.");
        // The random lists keep one "name=value" line per item.
        if (c == QLatin1Char('=') || c == QLatin1Char('[') || c == QLatin1Char(']'))
            return QStringLiteral("The name cannot contain \"=\", \"[\" or \"]\".");
    }
    return {};
}

QString typedNameProblem(const QString& name, const QString& emptyText)
{
    return name.isEmpty() ? emptyText : nameProblem(name);
}

bool cardSetNameInUse(const QString& dataFolder, const QString& name)
{
    return !findFile(cardSetsFolder(dataFolder), name, {QStringLiteral("crs"), QStringLiteral("svg")}).isEmpty();
}

bool deckNameInUse(const QString& dataFolder, const QString& name)
{
    return !findFile(decksFolder(dataFolder), name,
                     {QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("jpe")})
                .isEmpty();
}

QString freeCardSetName(const QString& dataFolder, const QString& stem)
{
    for (int n = 1;; ++n) {
        const QString name = stem + QLatin1Char(' ') + QString::number(n);
        if (!cardSetNameInUse(dataFolder, name))
            return name;
    }
}

QString freeDeckName(const QString& dataFolder, const QString& stem)
{
    for (int n = 1;; ++n) {
        const QString name = stem + QLatin1Char(' ') + QString::number(n);
        if (!deckNameInUse(dataFolder, name))
            return name;
    }
}

PlayerFileScan scanPlayerCardSets(const QString& dataFolder)
{
    PlayerFileScan scan;
    const QDir dir(cardSetsFolder(dataFolder));
    if (!dir.exists())
        return scan;
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        const QString ext = info.suffix().toLower();
        PlayerLookFile file{info.completeBaseName(), info.filePath(), 0, ext == QLatin1String("svg")};
        if (file.svg) {
            const QString problem = svgCardSetProblem(info.filePath());
            if (!problem.isEmpty()) {
                scan.damaged << problem;
                continue;
            }
        } else if (ext == QLatin1String("crs")) {
            QImageReader reader(info.filePath());
            reader.setDecideFormatFromContent(true);
            file.sizeLetter = sizeLetterForSheet(reader.size());
            if (!file.sizeLetter) {
                scan.damaged << (reader.canRead()
                                     ? QStringLiteral("The format of the Customized card set image is not valid.\n")
                                     : QStringLiteral("Image is not valid: ")) +
                                    info.filePath();
                continue;
            }
        } else {
            continue;
        }
        scan.files.push_back(file);
    }
    std::stable_sort(scan.files.begin(), scan.files.end(), byName);
    return scan;
}

PlayerFileScan scanPlayerDecks(const QString& dataFolder)
{
    PlayerFileScan scan;
    const QDir dir(decksFolder(dataFolder));
    if (!dir.exists())
        return scan;
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        const QString ext = info.suffix().toLower();
        if (ext != QLatin1String("bmp") && ext != QLatin1String("jpg") && ext != QLatin1String("jpeg") &&
            ext != QLatin1String("jpe"))
            continue;
        QImageReader reader(info.filePath());
        reader.setDecideFormatFromContent(true);
        const QSize size = reader.size();
        if (!reader.canRead() || !size.isValid() || size.isEmpty() || size.width() > kMaxPictureSide ||
            size.height() > kMaxPictureSide) {
            scan.damaged << QStringLiteral("Image is not valid: ") + info.filePath();
            continue;
        }
        scan.files.push_back({info.completeBaseName(), info.filePath(), 0, false});
    }
    std::stable_sort(scan.files.begin(), scan.files.end(), byName);
    return scan;
}

PlayerLookFile findPlayerCardSet(const QString& dataFolder, const QString& nameOrPath)
{
    PlayerLookFile file;
    if (nameOrPath.isEmpty())
        return file;
    QString path;
    if (nameOrPath.contains(QLatin1Char('/')) || nameOrPath.contains(QLatin1Char('\\')))
        path = QFileInfo(nameOrPath).isFile() ? nameOrPath : QString();
    else
        path = findFile(cardSetsFolder(dataFolder), nameOrPath, {QStringLiteral("crs"), QStringLiteral("svg")});
    if (path.isEmpty())
        return file;
    const QFileInfo info(path);
    file.name = info.completeBaseName();
    file.path = path;
    file.svg = info.suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0;
    return file;
}

QString findPlayerDeck(const QString& dataFolder, const QString& nameOrPath)
{
    if (nameOrPath.isEmpty())
        return {};
    if (nameOrPath.contains(QLatin1Char('/')) || nameOrPath.contains(QLatin1Char('\\')))
        return QFileInfo(nameOrPath).isFile() ? nameOrPath : QString();
    return findFile(decksFolder(dataFolder), nameOrPath,
                    {QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("jpe")});
}

std::vector<PlayerBackground> readPlayerBackgrounds(const storage::IniFile& settings)
{
    std::vector<PlayerBackground> out;
    for (const std::string& line : settings.readSectionValues(kPlayerBackgroundsSection)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const QString path = QString::fromStdString(line.substr(eq + 1)).trimmed();
        if (!path.isEmpty())
            out.push_back({QString::fromStdString(line.substr(0, eq)).trimmed(), path});
    }
    return out;
}

QString addPlayerBackground(storage::IniFile& settings, const QString& path)
{
    int highest = 0;
    for (const PlayerBackground& b : readPlayerBackgrounds(settings)) {
        if (b.path == path)
            return b.key;
        if (b.key.startsWith(QLatin1String("Background"), Qt::CaseInsensitive))
            highest = std::max(highest, b.key.mid(10).toInt());
    }
    const QString key = QStringLiteral("Background%1").arg(highest + 1, 3, 10, QLatin1Char('0'));
    settings.writeString(kPlayerBackgroundsSection, key.toStdString(), path.toStdString());
    return key;
}

void removePlayerBackground(storage::IniFile& settings, const QString& key)
{
    settings.deleteKey(kPlayerBackgroundsSection, key.toStdString());
}

QString backgroundDisplayName(const QString& path)
{
    const QFileInfo info(path);
    return info.fileName() + QStringLiteral(" (") + info.absolutePath() + QLatin1Char(')');
}

} // namespace cw::ui
