// The table press and release on (pile, card index): lifting, turning up, the Draw, click-to-play, point-and-click and stock clicks.
#pragma once

#include <span>

#include "engine/drop.h"
#include "engine/rules_context.h"

namespace cw::engine {

// What a plain left press on a position does under the ordinary pick-up rules.
enum class PressAction {
    None,        // nothing (silent)
    Lift,        // the card and the cards above it are lifted
    TurnUp,      // a face-down top card is turned face up
    Draw,        // group limit -17: the Draw of a buried card
    StockClick,  // the stock acts by its scheme
    WasteRedeal, // an empty or locked waste redeals
};
PressAction pressAction(const Play& play, PileRef pile, int index);

enum class Button { Left, Right, Middle };
enum class Gesture { RightClick, DoubleClick, Automatic };

// A press on the table as the presentation's hit test reports it: the pile under the pointer
// and the position of the card (-1 when over no card), the button and the modifier keys.
struct Press {
    PileRef pile{};
    int index = -1;
    Button button = Button::Left;
    bool ctrl = false;
};

// The table press: true when a stock action changed the table. Lifting sets the drag state (or
// the point-and-click selection); nothing in the table changes until the release.
bool tablePress(Play& play, const Press& press);

// The pointer moved while cards are carried.
inline void noteDragMoved(GameState& state)
{
    if (state.drag.carriedCard != 0)
        state.drag.moved = true;
}

// The table release with the ranked candidate piles under the dragged cards (point-and-click:
// the pile of the second click). Runs an armed redeal, the drop attempt, then the automatic fill
// and, while autoplay is on, the completion step. True when the table changed.
bool tableRelease(Play& play, std::span<const PileRef> candidates);
// The same release with the positions under the dragged card: on the index-placed tableau
// styles 8 and 9 the cards go to the position they were dropped on.
bool tableReleaseAt(Play& play, std::span<const DropSpot> spots);

// A right or double click (or a click in a click-to-play game): the card moves to the first
// legal destination the gesture's options allow. True when it moved. A tutor record given
// applies the tutor's back-move guard to the search (see automaticDestination).
bool clickToPlay(Play& play, PileRef pile, int index, Gesture gesture, const TutorRecord* guard = nullptr);

// A double click: on the stock it only clears the flag that swallows the next stock press; on a
// card it is a click-to-play move by the double-click options.
bool tableDoubleClick(Play& play, PileRef pile, int index);

// The Draw of group limit -17: a buried card jumps to the top of its own pile once, in the
// last deal. True when it moved; otherwise a message says why.
bool tryDraw(Play& play, int c, int index);

// Code 149: reverses the order of tableau column c and flips its direction, once the stock is
// empty. True when reversed.
bool reverseColumn(Play& play, int c);

} // namespace cw::engine
