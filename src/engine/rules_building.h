// The building test: whether a card may be put on a target card or an empty pile, with every empty-pile rule.
#pragma once

#include "engine/rules_context.h"

namespace cw::engine {

// Inputs of one building test. A target of 0 (or less) is an empty pile.
struct BuildQuery {
    int target = 0;
    int moving = 0;
    int emptyRule = -1;       // tableau: 135 + c; foundation: its base card (55 + f)
    int column = -1;          // tableau column 0-based; -1 for other piles
    int continuity = 0;       // the column's continuity value (255 + c); foundations pass 1
    bool foundation = false;
    int code = 0;             // building rule code
    int direction = 0;        // 0 down, 1 up, 2 up or down
    int baseRank = 1;         // tableau: parameter 55; foundation: its base card
    PileRef source{};         // pile the moving card lies on
    PileRef targetPile{};     // pile that would receive it
    bool singleCard = true;   // the moving group is one card
};

// The one predicate behind every drop and every sequence check.
bool buildingTest(const Play& play, const BuildQuery& q);

// The empty-pile rule alone (also used by codes whose empty case is "the general rule").
bool emptyPileAccepts(const Play& play, const BuildQuery& q);

// Colour balance over the foundations whose base code is baseCode: with the moving card added
// to their started first cards, neither colour exceeds half of them; with distinctSuits no suit
// occurs twice.
bool colourBalance(const Play& play, int baseCode, int moving, bool distinctSuits);

// A quick necessary condition of the general rule (codes 0-3, 13) on a non-empty pile: the suit
// filter passes and the ranks are neighbours (King and Ace included). Other codes pass. Lets
// the drop and the move generator skip most targets without the full building test.
inline bool generalRuleMayPass(int code, int moving, int target)
{
    switch (code) {
    case 0: if (suit(moving) != suit(target)) return false; break;
    case 1: if (isRed(moving) != isRed(target)) return false; break;
    case 3: if (isRed(moving) == isRed(target)) return false; break;
    case 2: case 13: break;
    default: return true;
    }
    const int d = rank(moving) - rank(target);
    return d == 1 || d == -1 || d == 12 || d == -12;
}

// The building query for a card onto tableau column c / foundation f as the drop uses them.
BuildQuery tableauQuery(const Play& play, int c, int moving, PileRef source, bool singleCard);
BuildQuery foundationQuery(const Play& play, int f, int moving, PileRef source);

} // namespace cw::engine
