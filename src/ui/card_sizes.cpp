// The card sizes and their card set sheets.
#include "ui/card_art.h"

#include <cctype>

namespace cw::ui {

// ---- Card sizes ------------------------------------------------------------------

const std::vector<CardSizeInfo>& cardSizes()
{
    static const std::vector<CardSizeInfo> sizes = {
        {'X', 102, 138, 510, 1656}, {'S', 85, 115, 425, 1380}, {'B', 71, 96, 355, 1152},
        {'M', 59, 80, 295, 960},    {'L', 25, 32, 0, 0},
    };
    return sizes;
}

const CardSizeInfo& cardSizeInfo(char letter)
{
    const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const auto& s : cardSizes())
        if (s.letter == up)
            return s;
    return cardSizes()[2];
}

char sizeLetterForSheet(QSize sheetSize)
{
    for (const auto& s : cardSizes())
        if (s.sheetWidth > 0 && sheetSize == QSize(s.sheetWidth, s.sheetHeight))
            return s.letter;
    return 0;
}

} // namespace cw::ui
