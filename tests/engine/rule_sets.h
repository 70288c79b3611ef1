// Rule vectors of a few well-known games, built from the parameter meanings, for the deal tests.
#pragma once

#include <initializer_list>
#include <utility>

#include "catalog/rules.h"
#include "engine/game_rules.h"

namespace cw::test {

// The rules as the engine plays them (with their family, resolved from rule parameter 54).
using Rules = engine::GameRules;

inline void setRange(Rules& r, int first, int count, int value)
{
    for (int k = 0; k < count; ++k)
        r.set(first + k, value);
}

inline void setList(Rules& r, int first, std::initializer_list<int> values)
{
    int k = 0;
    for (int v : values)
        r.set(first + k++, v);
}

// Foundations that build up in suit from the ace, no "all piles" overrides.
inline void upInSuitFoundations(Rules& r, int count)
{
    r.set(374, count);
    r.set(34, 13);
    setRange(r, 55, count, 1); // base rank: ace
    setRange(r, 71, count, 1); // up
    setRange(r, 87, count, 0); // in suit
    r.set(487, -1);
    r.set(488, -1);
}

// Klondike: 7 piles dealt 1..7 with the top card face up, 4 foundations, stock and waste, draw 1.
inline Rules klondike()
{
    Rules r;
    r.set(378, 52);
    upInSuitFoundations(r, 4);
    r.set(375, 7);
    for (int k = 0; k < 7; ++k) {
        r.set(382 + k, k + 1);
        r.set(422 + k, 1);
        r.set(135 + k, 91); // king only
        r.set(175 + k, 0);  // down
        r.set(215 + k, 3);  // alternating colours
    }
    r.set(379, 24);
    r.set(7, 1);   // stock stays face down
    r.set(10, 1);  // stock shown
    r.set(11, 1);  // stock turns cards to the waste
    r.set(24, 1);  // one card per click
    r.set(16, -1); // unlimited deals
    r.set(373, 2);
    return r;
}

// FreeCell: 8 piles of 7,7,7,7,6,6,6,6 all face up, 4 free cells, 4 foundations.
inline Rules freecell()
{
    Rules r;
    r.set(378, 52);
    upInSuitFoundations(r, 4);
    r.set(375, 8);
    setList(r, 382, {7, 7, 7, 7, 6, 6, 6, 6});
    setRange(r, 422, 8, 7); // every card face up
    setRange(r, 135, 8, -1);
    setRange(r, 175, 8, 0);
    setRange(r, 215, 8, 3);
    r.set(376, 4);
    setRange(r, 335, 4, 0); // a single card on an empty reserve
    r.set(7, 1);
    return r;
}

// Spider: two decks, 10 piles of 6,6,6,6,5,5,5,5,5,5 with the top face up, 8 foundations
// filled by complete runs, the stock deals a row.
inline Rules spider()
{
    Rules r;
    r.set(378, 104);
    r.set(374, 8);
    setRange(r, 55, 8, 82);
    r.set(487, -1);
    r.set(488, -1);
    r.set(375, 10);
    setList(r, 382, {6, 6, 6, 6, 5, 5, 5, 5, 5, 5});
    setRange(r, 422, 10, 1);
    setRange(r, 135, 10, -1);
    setRange(r, 175, 10, 0);
    setRange(r, 215, 10, 2);
    setRange(r, 295, 10, 1);
    r.set(379, 50);
    r.set(7, 1);
    r.set(10, 1);
    return r;
}

// Canfield: 13 reserve cards with the top face up, one card to foundation 1 whose rank is the
// base of every foundation, 4 piles of one card, the rest in the stock, draw 3.
inline Rules canfield()
{
    Rules r;
    r.set(378, 52);
    upInSuitFoundations(r, 4);
    r.set(1, 1);
    r.set(376, 1);
    r.set(463, 13);
    r.set(475, 1);
    r.set(375, 4);
    setRange(r, 382, 4, 1);
    setRange(r, 422, 4, 1);
    setRange(r, 135, 4, 91);
    setRange(r, 215, 4, 3);
    r.set(379, 34);
    r.set(7, 1);
    r.set(11, 1);
    r.set(24, 3);
    return r;
}

} // namespace cw::test
