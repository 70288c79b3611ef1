// Small pictures of the library: status bar suit marks, card counter cells, option previews.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace cw::ui {

class PictureLibrary;

// The small picture of that name (matched without regard to case) at the device pixel
// ratio, or a null image when the name is not one of iconNames().
//   "SUIT_HEARTS" ...            12 x 12 suit marks for rule texts in the status bar
//   "card_hearts" ...            14 x 18 row headers of the card counter
//   "Card_None", "Card_<rank>_Up_red", "Card_<rank>_Down_black" ...   14 x 18 counter cells
//   "COMMENT_YES"                16 x 16 mark of a game with a comment
//   "CARD_WITH_SHADOW", "CARD_WITHOUT_SHADOW", "CARD_IRR_PILES_YES", "CARD_IRR_PILES_NO"
//                                120 x 90 previews of the card effect options
QImage renderIcon(const PictureLibrary& library, const QString& name, qreal devicePixelRatio);
QStringList iconNames();

} // namespace cw::ui
