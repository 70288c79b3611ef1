// A player's card set file: reading and validating the five-by-twelve sheet.
#include "ui/card_art.h"
#include "ui/picture_library.h"

#include <QFileInfo>

namespace cw::ui {

PictureFileResult loadPlayerCardSet(const QString& path)
{
    PictureFileResult result;
    if (!QFileInfo(path).isFile()) {
        result.error = QStringLiteral("Customized cards set image not found: ") + path;
        return result;
    }
    QImage sheet = readImageFile(path);
    if (sheet.isNull()) {
        result.error = QStringLiteral("Image is not valid: ") + path;
        return result;
    }
    if (!sizeLetterForSheet(sheet.size())) {
        // The message box shows the path on a line of its own.
        result.error = QStringLiteral("The format of the Customized card set image is not valid.\n") + path;
        return result;
    }
    result.image = sheet;
    return result;
}

} // namespace cw::ui
