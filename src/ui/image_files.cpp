// Reading the player's picture files safely: size limits before decoding, clear reasons on failure.
#include "ui/image_files.h"

#include <QFileInfo>
#include <QImageReader>

namespace cw::ui {

namespace {

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

} // namespace cw::ui
