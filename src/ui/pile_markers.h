// Pictures drawn where a pile is empty, card shadows, 3D borders and the pause pictures.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace cw::ui {

// The picture suffix of a marker name ("StockUp" -> "022"), matched without regard to
// case. "deck" answers an empty suffix (the current deck picture); unknown names give
// nothing, and the caller shows markerErrorText().
std::optional<QString> markerSuffix(const QString& markerName);
QString markerErrorText(const QString& markerName);
// The library picture name of a marker for a card size and deck number
// ("W" + size + suffix, or "D" + size + deck for "deck"); empty for unknown names.
QString markerPictureName(const QString& markerName, char sizeLetter, int deckNumber);
// Every suffix a marker picture may have.
QStringList markerSuffixes();

// A marker picture ("W" + size + suffix) at the card size; null for unknown suffixes.
QImage renderMarker(const QString& suffix, QSize card, qreal devicePixelRatio);

// The mark drawn over a completed foundation: pattern 0 none, 1 thin diagonal lines on
// every second pixel row, 2 solid, 3 diagonal hatch, 4 cross hatch, 5 diagonal cross
// hatch; colourIndex indexes the fixed table of mark colours. The picture is the card's
// size with the mark inset by one pixel, transparent elsewhere; null for pattern 0 or
// unknown patterns.
QColor foundationMarkColour(int colourIndex);
QImage renderFoundationMark(int pattern, int colourIndex, QSize card, qreal devicePixelRatio);

// The margin the shadow adds to the right and below a card.
inline constexpr int kShadowMargin = 9;
// Card shadows, (card + margin) in size, to draw at the card's top-left corner under
// the card: 1 a card lying on the table, 2 a lifted card.
QImage renderShadow(int which, QSize card, qreal devicePixelRatio);
// A 3D border over a card: 1 raised, 2 pressed.
QImage render3DBorder(int which, QSize card, qreal devicePixelRatio);
// The joker picture.
QImage renderJoker(QSize card, qreal devicePixelRatio);
// The two pictures of the pause screen (1 the title, 2 how to go on).
QImage renderPausePicture(int which, qreal devicePixelRatio);

} // namespace cw::ui
