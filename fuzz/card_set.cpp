// Fuzz target: the player's card set reader (".crs" sheets of any picture format) and the cutting of a sheet.
#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ui/card_art.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const cw::ui::PictureFileResult sheet = cw::ui::readCardSetSheet(buffer, QStringLiteral("fuzz.crs"));
    if (!sheet.ok())
        return 0;
    // A sheet that passed has one of the four sizes: it always gives its 52 cards.
    const std::vector<QImage> cells = cw::ui::cutCardSetSheet(sheet.image);
    if (cells.size() != 52)
        std::abort();
    return 0;
}
