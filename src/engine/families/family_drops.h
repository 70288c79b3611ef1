// The drop rules the special families add to the ordinary building test, and their own redeal of the gap rows.
#pragma once

#include "catalog/rules.h"
#include "engine/families/selection_moves.h"
#include "engine/table.h"

namespace cw::engine::families {

// A family's say on a drop.
enum class DropRule {
    Ordinary, // the ordinary building test decides
    Allow,    // the cards may go there whatever the ordinary test says
    Refuse,   // they may not
};

// What a dragged card (count cards from the card up) going from source to target is, for the
// families that change the drop:
//  29: a single card goes onto a card of its own rank;
//  31: a tableau top card goes to the foundation only when a higher card of its suit lies on top
//      of another pile (Aces high);
//  34: a card slides only into an empty pile that touches its own side by side or above and below;
//  40: a card goes only to the pile of its rank (piles 1 to 13 for Ace to King);
//  49, 63: a gallery pile builds in suit; the last pile takes Aces and nothing else;
//  52: reserve 1 takes Kings and nothing else;
//  30: Aces, Jacks and Queens never go by hand to the four left foundations (their partners bring
//      them); a Jack starts a right foundation only when the one four places left is empty, and a
//      King follows only when his Ten lies on that foundation.
DropRule familyDrop(const catalog::Rules& rules, const Table& table, int card, int count, PileRef source,
                    PileRef target);

// Families 31 and 35: whether the top card of tableau pile c may be discarded now.
bool acesUpDiscardable(const catalog::Rules& rules, const Table& table, int c);

// Family 32's redeal: in each row the cards that run in suit from a Two at its start stay; the
// other cards are gathered row by row, mixed by the interleave of the gather-and-redeal, and dealt
// back after a gap that follows each kept run, so that every row keeps its number of places.
void redealGapRows(const catalog::Rules& rules, Table& table, CardMoves* moves);

} // namespace cw::engine::families
