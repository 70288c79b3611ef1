// A player's card set file: reading and validating the five-by-twelve sheet, and cutting it into faces.
#include "ui/card_art.h"
#include "ui/image_files.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace cw::ui {

namespace {

PictureFileResult readSheet(QIODevice& device, const QString& path)
{
    PictureFileResult result;
    // The size is checked before anything is decoded: a sheet has one of four sizes, so a file
    // claiming any other is refused at once, whatever it holds.
    {
        QImageReader probe(&device);
        probe.setDecideFormatFromContent(true);
        const QSize claimed = probe.size();
        if (claimed.isValid() && !claimed.isEmpty() && !sizeLetterForSheet(claimed)) {
            result.error = QStringLiteral("The format of the Customized card set image is not valid.\n") + path;
            return result;
        }
    }
    device.reset();
    const PictureRead read = readPicture(device);
    if (read.problem != PictureProblem::None) {
        result.error = read.problem == PictureProblem::Unreadable || read.problem == PictureProblem::Empty
                           ? QStringLiteral("Image is not valid: ") + path
                           : pictureProblemText(read, path);
        return result;
    }
    if (!sizeLetterForSheet(read.image.size())) {
        // The message box shows the path on a line of its own.
        result.error = QStringLiteral("The format of the Customized card set image is not valid.\n") + path;
        return result;
    }
    result.image = read.image;
    return result;
}

} // namespace

PictureFileResult loadPlayerCardSet(const QString& path)
{
    PictureFileResult result;
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        result.error = QStringLiteral("Customized cards set image not found: ") + path;
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Image is not valid: ") + path;
        return result;
    }
    return readSheet(file, path);
}

PictureFileResult readCardSetSheet(QIODevice& device, const QString& path) { return readSheet(device, path); }

std::vector<QImage> cutCardSetSheet(const QImage& sheet)
{
    const char letter = sizeLetterForSheet(sheet.size());
    if (!letter)
        return {};
    const CardSizeInfo& size = cardSizeInfo(letter);
    std::vector<QImage> cells;
    cells.reserve(52);
    // Suit k fills rows 3k to 3k + 2, five cards a row: Ace to King left to right, top to bottom.
    for (int suit = 0; suit < 4; ++suit)
        for (int r = 0; r < 13; ++r)
            cells.push_back(
                sheet.copy(QRect((r % 5) * size.width, (suit * 3 + r / 5) * size.height, size.width, size.height)));
    return cells;
}

QImage buildCardSetSheet(const std::vector<QImage>& faces, char sizeLetter)
{
    const CardSizeInfo& size = cardSizeInfo(sizeLetter);
    if (size.sheetWidth == 0)
        return {};
    QImage sheet(size.sheetWidth, size.sheetHeight, QImage::Format_RGB32);
    sheet.fill(QColor(192, 192, 192));
    QPainter p(&sheet);
    for (int i = 0; i < 52 && i < static_cast<int>(faces.size()); ++i) {
        const int suit = i / 13, r = i % 13;
        const QRect cell((r % 5) * size.width, (suit * 3 + r / 5) * size.height, size.width, size.height);
        QImage face = faces[static_cast<std::size_t>(i)];
        face.setDevicePixelRatio(1.0);
        p.drawImage(cell, face);
    }
    return sheet;
}

} // namespace cw::ui
