// The selection games in play: the toggling press, the highlight, whole sets as moves and what a complete set does.
#pragma once

#include "engine/family.h"

namespace cw::engine::families {

// The selection press: a left press on a card the family lets the player take toggles it in the
// selection buffer (foundation 1); a card the family's validity test refuses gives a beep whose
// text says why; a complete set is removed at once (completeSelection). Presses on the stock
// that do not select its top card, and a press on the empty waste of families 14 and 16 (a
// draw), run the stock rules; other presses do nothing.
Handled selectionPress(Play& play, const Press& press);

// What a complete set in the buffer does: the discard ("Selezionate_Dest") and, unless the
// family keeps its gaps, the refill from the stock ("Selezionate_Fila"); the exchange of 57 and
// 81; the accordion of 48; family 75's follow-up. The buffer is empty afterwards.
void completeSelection(Play& play);

// Appends every complete set of the table as one Select move.
void addSetMoves(const Play& play, MoveList& list);

// Plays a Select move: its cards replace the buffer and, when the family accepts them as a
// complete set, are removed. False (nothing changed) otherwise.
bool playSet(Play& play, const Move& move);

// The selected cards, each highlighted where it lies.
void selectionMarks(const GameRules& rules, const GameState& state, PileMarks& out);

// A saved selection names at most kMaxSelection cards, each once, each lying on the table (not
// on the discard pile).
bool selectionFits(const GameRules& rules, const Table& table);

// The ordinary pick-up rules reduced to the selection games: nothing is lifted or drawn.
PressAction selectionPressAction(PressAction ordinary);

} // namespace cw::engine::families
