// Reading the pictures and the picture library the program is given: every byte of them is untrusted.
#include "ui/image_files.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QResource>

namespace cw::ui {

namespace {
const QByteArray kIndexSignature = QByteArrayLiteral("Cardwise picture library");
}

bool isValidImageFile(const QString& path)
{
    // Format probes look at a few signature bytes only; a file is valid when it decodes.
    return !readImageFile(path).isNull();
}

QImage readImageFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    // A hostile file may claim a huge size; nothing the table shows needs more.
    const QSize claimed = reader.size();
    if (claimed.isValid() && (claimed.width() > 16384 || claimed.height() > 16384))
        return {};
    QImage img = reader.read();
    if (img.isNull())
        return {};
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

bool registerPictureLibrary(const QString& path, const QString& root)
{
    if (!QFileInfo(path).isFile() || !QResource::registerResource(path, root))
        return false;
    // A file that registers but is not ours (another program's resource file) is refused as well.
    QFile index(QLatin1Char(':') + root + QStringLiteral("/index.txt"));
    if (index.open(QIODevice::ReadOnly) && index.read(kIndexSignature.size()) == kIndexSignature)
        return true;
    QResource::unregisterResource(path, root);
    return false;
}

} // namespace cw::ui
