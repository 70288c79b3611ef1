// Reading the pictures and the picture library the program is given: every byte of them is untrusted;
// size limits before decoding, clear reasons on failure.
#include "ui/image_files.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QResource>

#include <vector>

namespace cw::ui {

namespace {

const QByteArray kIndexSignature = QByteArrayLiteral("Cardwise picture library");

// Qt's own ceiling for one decoded picture (megabytes), kept just above ours so that formats that do
// not tell their size in advance are stopped by the decoder itself.
constexpr int kAllocationLimitMb = 200;

bool tooLarge(QSize size)
{
    return size.width() > kMaxPictureSide || size.height() > kMaxPictureSide ||
           qint64(size.width()) * size.height() > kMaxPicturePixels;
}

PictureRead readFrom(QImageReader& reader)
{
    QImageReader::setAllocationLimit(kAllocationLimitMb);
    reader.setDecideFormatFromContent(true);
    PictureRead out;
    if (!reader.canRead()) {
        out.problem = PictureProblem::Unreadable;
        return out;
    }
    out.claimedSize = reader.size();
    if (out.claimedSize.isValid()) {
        if (out.claimedSize.isEmpty()) {
            out.problem = PictureProblem::Empty;
            return out;
        }
        if (tooLarge(out.claimedSize)) {
            out.problem = PictureProblem::TooLarge;
            return out;
        }
    }
    out.animated = reader.supportsAnimation() && reader.imageCount() != 1 && reader.imageCount() != 0;
    QImage img;
    if (!reader.read(&img) || img.isNull()) {
        out.problem = PictureProblem::Unreadable;
        return out;
    }
    if (img.width() <= 0 || img.height() <= 0) {
        out.problem = PictureProblem::Empty;
        return out;
    }
    if (tooLarge(img.size())) {
        out.problem = PictureProblem::TooLarge;
        out.claimedSize = img.size();
        return out;
    }
    // One-bit, indexed and 16-bit pictures all become plain 32-bit pixels.
    out.image = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    out.image.setDevicePixelRatio(1.0);
    if (out.image.isNull())
        out.problem = PictureProblem::Unreadable;
    return out;
}

} // namespace

PictureRead readPicture(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        PictureRead out;
        out.problem = PictureProblem::Missing;
        return out;
    }
    QImageReader reader(path);
    return readFrom(reader);
}

PictureRead readPicture(QIODevice& device)
{
    QImageReader reader(&device);
    return readFrom(reader);
}

QString pictureProblemText(const PictureRead& read, const QString& path)
{
    switch (read.problem) {
    case PictureProblem::None: return {};
    case PictureProblem::Missing: return QStringLiteral("File not found: ") + path;
    case PictureProblem::Unreadable: return QStringLiteral("Image is not valid: ") + path;
    case PictureProblem::Empty: return QStringLiteral("The image has no pixels: ") + path;
    case PictureProblem::TooLarge:
        return QStringLiteral("The image is too large (%1 x %2 pixels; at most %3 million pixels can be used): ")
                   .arg(read.claimedSize.width())
                   .arg(read.claimedSize.height())
                   .arg(kMaxPicturePixels / 1'000'000) +
               path;
    }
    return {};
}

bool isValidImageFile(const QString& path) { return readPicture(path).problem == PictureProblem::None; }

QImage readImageFile(const QString& path) { return readPicture(path).image; }

namespace {

quint32 be32(const QByteArray& b, qint64 at)
{
    const auto* p = reinterpret_cast<const uchar*>(b.constData() + at);
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

quint16 be16(const QByteArray& b, qint64 at)
{
    const auto* p = reinterpret_cast<const uchar*>(b.constData() + at);
    return quint16((quint16(p[0]) << 8) | quint16(p[1]));
}

} // namespace

bool isWellFormedResourceFile(const QByteArray& b)
{
    // Header: "qres", version, tree, data and names offsets (and flags from version 3 on).
    const qint64 size = b.size();
    if (size < 20 || !b.startsWith("qres"))
        return false;
    const quint32 version = be32(b, 4);
    if (version < 1 || version > 3 || (version == 3 && size < 24))
        return false;
    const qint64 tree = be32(b, 8), data = be32(b, 12), names = be32(b, 16);
    // A node: name offset, flags, then a directory's child count and first child or a file's
    // territory, language and data offset; from version 2 on the time it was last changed.
    const qint64 node = version >= 2 ? 22 : 14;
    if (tree >= size || data > size || names > size)
        return false;
    const qint64 nodes = (size - tree) / node;
    auto inside = [size](qint64 from, qint64 length) { return from >= 0 && length >= 0 && from + length <= size; };
    auto nameOk = [&](qint64 at) {
        if (!inside(names + at, 6))
            return false;
        return inside(names + at + 6, 2 * qint64(be16(b, names + at)));
    };
    // Breadth first from the root; a directory reached twice (a loop) is refused.
    std::vector<bool> seen(std::size_t(nodes), false);
    std::vector<qint64> queue{0};
    while (!queue.empty()) {
        const qint64 i = queue.back();
        queue.pop_back();
        if (i < 0 || i >= nodes || seen[std::size_t(i)])
            return false;
        seen[std::size_t(i)] = true;
        const qint64 at = tree + i * node;
        const quint16 flags = be16(b, at + 4);
        if (i != 0 && !nameOk(be32(b, at)))
            return false;
        if (flags & 0x02) {  // a directory
            const qint64 count = be32(b, at + 6), first = be32(b, at + 10);
            if (count > nodes || first + count > nodes)
                return false;
            for (qint64 c = 0; c < count; ++c)
                queue.push_back(first + c);
            continue;
        }
        if (flags & ~quint16(0x01))  // zstd and unknown kinds of data are none of ours
            return false;
        const qint64 block = data + be32(b, at + 10);
        if (!inside(block, 4) || !inside(block + 4, be32(b, block)))
            return false;
        // zlib data begins with the size it unpacks to.
        if ((flags & 0x01) && (be32(b, block) < 4 || be32(b, block + 4) > 64u * 1024 * 1024))
            return false;
    }
    return true;
}

bool registerPictureLibrary(const QString& path, const QString& root)
{
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !isWellFormedResourceFile(file.readAll()))
        return false;
    if (!QResource::registerResource(path, root))
        return false;
    // A file that registers but is not ours (another program's resource file) is refused as well.
    QFile index(QLatin1Char(':') + root + QStringLiteral("/index.txt"));
    if (index.open(QIODevice::ReadOnly) && index.read(kIndexSignature.size()) == kIndexSignature)
        return true;
    QResource::unregisterResource(path, root);
    return false;
}

} // namespace cw::ui
