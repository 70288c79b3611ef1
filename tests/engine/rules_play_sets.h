// Rule sets of well-known games completed with the play parameters, for the rules tests and the move benchmark.
#pragma once

#include "catalog/rules.h"
#include "rule_sets.h"

namespace cw::test {

// The rule sets of the deal tests, completed with the play parameters the deal does not read.
inline engine::GameRules playKlondike()
{
    engine::GameRules r = klondike();
    r.set(2, 1);
    r.set(14, -1);
    r.set(35, -1);
    r.set(44, 1);
    r.set(19, 1);
    return r;
}

inline engine::GameRules playFreecell()
{
    engine::GameRules r = freecell();
    r.set(2, 1);
    r.set(14, -5);
    r.set(35, -1);
    return r;
}

inline engine::GameRules playSpider()
{
    engine::GameRules r = spider();
    r.set(2, 10);
    r.set(14, -1);
    r.set(35, -1);
    r.set(44, 1);
    r.set(16, 0);
    return r;
}

inline engine::GameRules playCanfield()
{
    engine::GameRules r = canfield();
    r.set(2, 1);
    r.set(14, -13);
    r.set(35, -1);
    r.set(16, -1);
    r.set(10, 1);
    setRange(r, 175, 4, 0);
    setRange(r, 255, 4, 1);
    return r;
}

// Forty Thieves: two decks, 10 piles of 4 face up, 8 foundations, in suit down one card at a
// time, any card on an empty pile, one pass through the stock.
inline engine::GameRules playFortyThieves()
{
    engine::GameRules r;
    r.set(378, 104);
    upInSuitFoundations(r, 8);
    r.set(375, 10);
    setRange(r, 382, 10, 4);
    setRange(r, 422, 10, 4);
    setRange(r, 135, 10, -1);
    setRange(r, 175, 10, 0);
    setRange(r, 215, 10, 0);
    r.set(379, 64);
    r.set(7, 1);
    r.set(10, 1);
    r.set(11, 1);
    r.set(24, 1);
    r.set(16, 1);
    r.set(2, 1);
    r.set(14, 1);
    r.set(35, -1);
    return r;
}

// Yukon: Klondike's piles with 1, 6, 7, ... 11 cards, the top five face up, any face-up group
// moves, Kings to empty piles, no stock.
inline engine::GameRules playYukon()
{
    engine::GameRules r;
    r.set(378, 52);
    upInSuitFoundations(r, 4);
    r.set(375, 7);
    setList(r, 382, {1, 6, 7, 8, 9, 10, 11});
    setList(r, 422, {1, 5, 5, 5, 5, 5, 5});
    setRange(r, 135, 7, 91);
    setRange(r, 175, 7, 0);
    setRange(r, 215, 7, 3);
    r.set(2, 0);
    r.set(14, -1);
    r.set(35, -1);
    r.set(44, 1);
    r.set(7, 1);
    return r;
}

} // namespace cw::test
