// Move execution: the card moves by name, the steps that follow a move, complete runs, turn-ups and the win test.
#pragma once

#include <string_view>

#include "engine/rules_context.h"

namespace cw::engine {

// The target of a card move name: "Fila" + n, "Dest" + n, "Dest_Autoplay" + n, "Appogg" + n,
// "Stock02" (the waste), "Waste" (the second waste). Invalid for any other name.
PileRef cardMoveTarget(std::string_view moveName);

// Moves the card at position index of source (with every card above it when group is set) onto
// target face up, then runs the follow-up steps of a move (complete runs, turn-ups, the fill
// after the first move, the win test). automatic names foundation moves "Dest_Autoplay".
// position (index-placed tableau styles 8 and 9 only; -1 elsewhere) puts the cards at that
// position of the target instead of on top: a single card fills a gap ("000") there, otherwise
// the cards go in front of the card there.
// Returns false (table unchanged) when the position holds no card. No legality test: callers
// decide legality first (drop attempt, legal-move generator).
bool moveCards(Play& play, PileRef source, int index, PileRef target, bool group, bool automatic = false,
               int position = -1);

// Executes a move by name, as the move record names it: a card move for a card code (found on
// whatever pile holds it), or a stock action (Mazzo_Vis, Mazzo_Redeal, Mazzo_Waste, Add_...,
// Fill_Tableaus). group: a tableau group, the card and every card above it. True when the table
// changed.
bool executeMove(Play& play, int card, std::string_view moveName, bool group = false);

// Turns the face-down top card of tableau pile c face up; false when there is none.
bool turnUp(Play& play, int c);

// The automatic turn-up after a move: every face-down tableau top is turned when the option
// and rule parameter 44 allow it. Returns the number of cards turned.
int automaticTurnUp(Play& play);

// Moves a complete run of 13 from the top of tableau pile c to the first empty foundation with
// a run base code (82, 83, 95, 97, 98, 99). Returns the number of cards moved (0 or 13).
int completeRun(Play& play, int c);

// The win test: a special family's own test where it has one; otherwise the ordinary test:
// stock, waste, every tableau pile and every reserve in use are empty.
bool isWon(const Play& play);

// Runs the win test and records the result (GameWon event once).
bool testWon(Play& play);

// Counts a made move (up to 2) and runs the fill after the first move (rule parameter 43).
void countMove(Play& play);

} // namespace cw::engine
