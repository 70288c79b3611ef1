// Drawing the table's piles: cards with their fans and shadows, stack edges, empty-pile markers,
// completed-foundation marks and the point-and-click highlight.
#pragma once

#include "catalog/rules.h"
#include "engine/game_rules.h"
#include "engine/game_state.h"
#include "engine/geometry.h"

#include <QHash>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

class QPainter;

namespace cw::ui {

class CardPictures;
class PictureLibrary;

// The marker shown on an empty pile ("StockUp", "Foundation13", "Position", ...); empty when
// the pile shows nothing. `wSizePicture` receives a library picture name instead when the
// pile shows one of the size-lettered pictures ("W" + size + "021", "W" + size + "009").
QString emptyPileMarker(const engine::GameRules& rules, const engine::GameState& state, engine::PileRef pile,
                        char sizeLetter, QString* wSizePicture = nullptr);

// Whether foundation `index` holds its full count (the mark over completed foundations).
bool foundationComplete(const catalog::Rules& rules, const engine::Table& table, int index);

// Everything one paint of the piles reads. Pointers are borrowed for the paint only.
struct TableScene {
    const engine::GameRules* rules = nullptr;
    const engine::GameState* state = nullptr; // deal number, event log (marker choice)
    const engine::Table* table = nullptr;     // the table as shown (may lag the state while animating)
    const engine::TableGeometry* geometry = nullptr;
    const CardPictures* pictures = nullptr;
    const PictureLibrary* library = nullptr;
    bool shadows = true;
    int markPattern = 0; // "HighLights_Foundations_Mark"
    int markColour = 0;  // "HighLights_Foundations_Color"
    int scroll = 0;      // subtracted from every table Y
    // Cards left out of the picture: positions hiddenFrom.. of hiddenPile (lifted or flying).
    engine::PileRef hiddenPile{};
    int hiddenFrom = -1;
    // The point-and-click selection: the card is drawn highlighted.
    engine::PileRef selectedPile{};
    int selectedIndex = -1;
};

// Paints piles onto a surface that already shows the background. Keeps the few pictures it
// makes itself (marks, highlights) between paints.
class TablePainter {
public:
    void paintPiles(QPainter& painter, const TableScene& scene);
    // One pile (the whole fan, or its marker when empty).
    void paintPile(QPainter& painter, const TableScene& scene, engine::PileRef pile);
    // Forget cached pictures (card size, density or mark settings changed).
    void clearCache() { m_marks.clear(); }

    // Where the visible cards of a pile reach, in window coordinates (an empty rectangle
    // for a pile that is not on the table); includes the shadow margin.
    static QRect pileBounds(const TableScene& scene, engine::PileRef pile);

private:
    QPixmap foundationMark(const TableScene& scene);
    QHash<quint64, QPixmap> m_marks;
};

// The text panels of the sum games: white boxes with black 8-point text, 20 pixels wider than
// their text, stacked up from the bottom-left corner of `area`.
void paintSpecialPanels(QPainter& painter, const QStringList& lines, const QRect& area);

// The hint's pointer: a thick arrow from `from` to `to` (window coordinates), its head at `to`.
void paintHintArrow(QPainter& painter, QPointF from, QPointF to);

// One card: the face or the back, with the lying-card shadow under it when asked.
void drawCard(QPainter& painter, const CardPictures& pictures, int code, QPoint topLeft, bool faceUp, bool shadow);

// A group of cards (bottom first) as one picture, fanned by `offsets` (one per card, relative to
// the first), with the lifted-card shadow: the drag image and the picture of a flying group.
QPixmap groupPicture(const CardPictures& pictures, const std::vector<int>& codes, const std::vector<bool>& faceUp,
                     const std::vector<QPoint>& offsets, bool shadow);

} // namespace cw::ui
