// The gap games (families 32, 46 and 74): which gap of the rows takes a card, and the move into it.
#pragma once

#include "catalog/rules.h"
#include "engine/families/family_cards.h"
#include "engine/table.h"

namespace cw::engine::families {

// Families whose cards move only into gaps (placeholder positions of the tableau rows).
bool movesIntoGaps(int family);

// Whether the gap at position `position` of tableau pile c accepts card:
//  32: the card just before the gap in the same pile has its suit and is one rank lower; a gap
//      at the first position of a pile takes only a Two;
//  46: the card before the gap (before the first position: the last card of the previous pile,
//      of the last pile for pile 1) has its suit and is one rank lower; or the card after the
//      gap (after the last position: the first card of the next pile, of pile 1 after the last)
//      has its suit and is one rank higher; or the card is an Ace and the card before the gap a
//      Queen of any suit. A placeholder there counts as no card;
//  74: any card.
// False for a position that is not a gap, or for the card's own position.
bool gapAccepts(const catalog::Rules& rules, const Table& table, int c, int position, int card);

// The first gap in reading order (piles from 1, each from its bottom position) that accepts the
// card; not found when there is none.
CardSpot firstAcceptingGap(const catalog::Rules& rules, const Table& table, int card);

// The card takes the gap's position and its old position becomes a gap. False (nothing changed)
// when the card is not on a tableau pile in use or the gap does not accept it.
bool moveIntoGap(const catalog::Rules& rules, Table& table, int card, CardSpot gap);

// The card may be moved at all: a face-up card on a tableau pile in use.
bool gapMovable(const catalog::Rules& rules, const Table& table, int card);

} // namespace cw::engine::families
