// Card faces: card sizes, the built-in card sets, suit folding and the card picture table.
#pragma once

#include "engine/card_size.h"
#include "ui/image_files.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPainterPath>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <QString>

#include <array>
#include <vector>

class QIODevice;

namespace cw::ui {

class PictureLibrary;
class SvgCardSet;

// ---- Card sizes ------------------------------------------------------------------

struct CardSizeInfo {
    char letter; // 'X', 'S', 'B', 'M', 'L'
    int width;   // logical pixels
    int height;
    int sheetWidth; // size of a five-by-twelve card set sheet (0: no sheets)
    int sheetHeight;
};

// The five sizes, largest first.
const std::vector<CardSizeInfo>& cardSizes();
// The size of a letter (case-insensitive); unknown letters give size 'B'.
const CardSizeInfo& cardSizeInfo(char letter);
// The size letter whose card set sheet has exactly this size, or 0.
char sizeLetterForSheet(QSize sheetSize);

// ---- Forcing a smaller size on small screens ---------------------------------------

// The rules themselves live with the engine (they are plain arithmetic on the screen
// width and rule parameter 40); these wrappers speak in size letters.
using SizeAdvice = cw::engine::SizeAdvice;

struct CardSizeForcing {
    char letter = 'B';   // the size to use for this game
    bool forced = false; // true when it differs from the selected size
    SizeAdvice advice = SizeAdvice::None;
};

// The size a game may use on a screen `screenWidth` logical pixels wide, given its
// rule parameter 40 (0, 1 or 2) and the size the player selected. Only ever makes
// cards smaller.
CardSizeForcing forceCardSizeForScreen(int screenWidth, int param40, char selected);
// The advice shown when forcing, with the game's name, and its "Show_Messages" key.
QString sizeAdviceText(SizeAdvice advice, const QString& gameName);
QString sizeAdviceKey(SizeAdvice advice);
// The built-in card set a forced size switches to.
int cardSetForForcedSize(char letter);

// ---- Card codes and suit folding -------------------------------------------------

// Index 0..51 of the face picture card `code` shows (hearts 0-12, diamonds 13-25,
// clubs 26-38, spades 39-51), after folding the further decks onto the first and the
// suits by rule parameter 50 (1: every suit shows spades; 2: red suits show hearts,
// black suits spades). -1 for jokers, the placeholder and invalid codes.
int faceIndex(int code, int param50 = 0);
bool isJokerCode(int code);

// ---- Built-in card sets ------------------------------------------------------------

struct CardSetInfo {
    int number;   // 1, 2, ... shown as three digits
    QString name; // display name
};

// The built-in sets are drawn by code at any size and density. The classic set is the
// default; numbers of sets that no longer exist (old settings) show it too. The large
// index set is the one a game switches to when it must use medium cards.
inline constexpr int kClassicCardSet = 1;
inline constexpr int kFourColourCardSet = 2;
inline constexpr int kLargeIndexCardSet = 3;
inline constexpr int kPlainCardSet = 15; // high contrast
inline constexpr int kDefaultCardSet = kClassicCardSet;

const std::vector<CardSetInfo>& builtInCardSets();
const CardSetInfo* findCardSet(int number);
// Numbers of the sets that can be chosen.
std::vector<int> availableCardSets(const PictureLibrary& library);
// The set actually drawn for `number`: itself when it exists, else the classic set.
int effectiveCardSet(const PictureLibrary& library, int number);

// Renders one card of a built-in set: a face (codes 1..212), or a joker (209..212), at
// `logical` size and the device pixel ratio.
QImage renderCardFace(const PictureLibrary& library, int setNumber, int code, QSize logical, qreal devicePixelRatio);
// The back shown with a card set where no deck is chosen (previews): the default deck.
QImage renderCardSetBack(const PictureLibrary& library, int setNumber, QSize logical, qreal devicePixelRatio);
// One suit block of a built-in set: five cards wide, three high, Ace to King.
QImage renderSuitSheet(const PictureLibrary& library, int setNumber, int suitIndex, QSize card, qreal devicePixelRatio);

// A suit symbol (0 hearts, 1 diamonds, 2 clubs, 3 spades) filling `box`.
QPainterPath suitShape(int suitIndex, const QRectF& box);

// Text as an outline fitted into `box` (height first, squeezed when too wide), so that
// it is equally crisp and equally placed whatever fonts the system has.
QPainterPath fittedText(const QString& text, const QRectF& box, Qt::Alignment align,
                        const QString& family = QStringLiteral("DejaVu Sans"));

// "A", "2" ... "10", "J", "Q", "K" for rank 0..12.
QString rankText(int rank);

// Our own plain drawing of a card face (also used for every set at the tiny size 'L').
void paintPlainFace(class QPainter& painter, const QRectF& rect, int faceIndex);
void paintPlainJoker(class QPainter& painter, const QRectF& rect);

// The classic set: traditional pip layouts and our own geometric court cards. The four
// colour and large index sets are the same drawing with other inks and proportions.
struct ClassicStyle {
    std::array<QColor, 4> ink;    // hearts, diamonds, clubs, spades
    std::array<QColor, 4> accent; // the second colour of each suit's court cards
    qreal indexScale = 1.0;       // corner indices
    qreal bodyScale = 1.0;        // pips and court panel, about the card's centre
};
const ClassicStyle& classicStyle(int setNumber);
void paintClassicFace(class QPainter& painter, const QRectF& rect, int faceIndex,
                      const ClassicStyle& style = classicStyle(kClassicCardSet));
void paintClassicJoker(class QPainter& painter, const QRectF& rect);

// A player's card set file (".crs": a picture of one of the sheet sizes). On success
// the image is the sheet; otherwise the error is the message to show. A file claiming any
// other size is refused before it is decoded.
PictureFileResult loadPlayerCardSet(const QString& path);
// The same from an open device; `path` only names the file in messages.
PictureFileResult readCardSetSheet(QIODevice& device, const QString& path);
// The 52 cells of a sheet (hearts, diamonds, clubs, spades, Ace to King); empty when the
// sheet has none of the sheet sizes.
std::vector<QImage> cutCardSetSheet(const QImage& sheet);
// A sheet of size `sizeLetter` (background RGB 192, 192, 192) holding the 52 faces.
QImage buildCardSetSheet(const std::vector<QImage>& faces, char sizeLetter);

// ---- The card picture table ---------------------------------------------------------

// The 52 faces and the joker of the current card set, size and screen density, made
// once and then handed out as pixmaps, so that drawing a card is one block copy.
class CardPictures {
public:
    // Built-in set; returns the set number actually used (the classic set stands in for
    // numbers that no longer exist).
    int loadBuiltIn(const PictureLibrary& library, int setNumber, char sizeLetter, qreal devicePixelRatio);
    // A validated player or add-on sheet (five by twelve cells), cut and drawn at the
    // size `sizeLetter` (0: the sheet's own size). False when the sheet has none of the
    // sheet sizes.
    bool loadSheet(const QImage& sheet, qreal devicePixelRatio, char sizeLetter = 0);
    // An imported SVG card set, drawn from its vectors at the size.
    void loadSvg(const SvgCardSet& set, char sizeLetter, qreal devicePixelRatio);

    // A player's card set file (".crs" sheet or ".svg"), drawn at the size; false (nothing
    // changed) when the file cannot be read. Recently used files stay ready.
    bool loadFile(const QString& path, char sizeLetter, qreal devicePixelRatio);

    void setSuitFolding(int param50) { m_param50 = param50; }

    // Face of any card code 1..212 (decks 2-4 and folded suits share pictures; jokers
    // give the joker); null pixmap for other codes.
    QPixmap face(int code) const;
    QPixmap joker() const { return m_joker; }

    // The rest of the picture table for the current size and density: the deck (a
    // built-in number, or a player's or add-on picture stretched to the card), both
    // shadows, both 3D borders and the empty-place marker. Call after loading faces.
    void loadDeck(const PictureLibrary& library, int deckNumber);
    void setDeckPicture(const QImage& picture);
    // A player's deck file stretched to the card; false (nothing changed) when unreadable.
    bool loadDeckFile(const QString& path);
    void loadExtras();
    QPixmap back() const { return m_back; }
    QPixmap shadow(int which) const { return which == 2 ? m_shadow2 : m_shadow1; }
    QPixmap border(int which) const { return which == 2 ? m_border2 : m_border1; }
    QPixmap emptyPlace() const { return m_emptyPlace; }
    // The marker picture of an empty pile ("StockUp", "Foundation13", "deck", ...),
    // made once per name for this size; null for unknown names (show markerErrorText).
    QPixmap marker(const PictureLibrary& library, const QString& markerName) const;

    char sizeLetter() const { return m_letter; }
    QSize cardSize() const { return {cardSizeInfo(m_letter).width, cardSizeInfo(m_letter).height}; }
    qreal devicePixelRatio() const { return m_dpr; }
    bool isEmpty() const { return m_faces.empty(); }

private:
    std::vector<QPixmap> m_faces;
    QPixmap m_joker;
    QPixmap m_back, m_shadow1, m_shadow2, m_border1, m_border2, m_emptyPlace;
    int m_deckNumber = 0;
    mutable QHash<QString, QPixmap> m_markers;
    char m_letter = 'B';
    qreal m_dpr = 1.0;
    int m_param50 = 0;
};

} // namespace cw::ui
