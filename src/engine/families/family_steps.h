// The automatic steps of families 29, 30, 40 and 42 as table changes, for move execution to run and record.
#pragma once

#include <optional>
#include <string>

#include "catalog/rules.h"
#include "engine/families/selection_moves.h"
#include "engine/table.h"

namespace cw::engine::families {

// Family 29: when tableau pile c ends in four cards of the top card's rank, they go one at a
// time, top card first, to the second waste. Returns the moves made (none otherwise).
CardMoves fourOfAKindLeave(Table& table, int c);

// Family 30: after a Jack or King reached foundation number f (1-based), its partner (the Ace of
// the Jack's suit, the Queen of the King's) goes from wherever it lies to foundation f - 4.
// Nothing moves when f is below 5, the card is no Jack or King, or the partner lies nowhere
// (it may already be home).
std::optional<CardMove> partnerFollows(const catalog::Rules& rules, Table& table, int f, int card);

// Family 40: rotates tableau pile p (0-based): the top card goes to the bottom and the new top
// card is turned face up.
void rotatePile(Table& table, int p, CardMoves* moves);

// Family 40's step after a move onto tableau pile p (0-based): the pile is rotated; while the new
// top card belongs to the pile (rank p + 1) the pile turns again when the card below it is face
// down, otherwise the first pile after p (wrapping to pile 1) with a face-down top card is
// rotated and the same rule goes on there. Ends when a top card must be moved by the player or
// no face-down top card is left.
CardMoves clockStep(const catalog::Rules& rules, Table& table, int p);

// Family 42: the label over a tableau pile of n positions: "1 card", "12 cards", "Completed" at
// 13 (drawn in bold).
std::string pileCountLabel(int positions);

} // namespace cw::engine::families
