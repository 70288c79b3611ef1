// What may be lifted from a tableau pile: sequences, group limits, and the row, grid and three-row availability tests.
#pragma once

#include "engine/rules_context.h"

namespace cw::engine {

// Tableau piles 1..10 form a row (then 11..20, ...): a pile in the first five positions is open
// when every pile to its left in the row is empty, one in the last five when every pile to its
// right is. Reserves 1..10 form one such row; reserves 11 and 12 are always open.
bool rowOpen(const Play& play, PileRef pile);

// Tableau grid of rows (27) by columns (28): a pile is open when every pile further down in its
// grid column is empty.
bool gridOpen(const Play& play, int tableauIndex);
bool hasGrid(const Play& play);

// Three rows of twelve (piles 1-12 top, 13-24 middle, 25-36 bottom): a top-row pile is open when
// the two piles below it are empty, a middle-row pile when the one below it is; other piles are
// always open. pileNumber is 1-based.
bool threeRowOpen(const Play& play, int pileNumber);

// Whether tableau pile c may give up its top card by any gesture: under group limits -15 and
// -18 the row and three-row availability tests bind clicks and automatic moves as they bind a
// drag. Grids have their own test (gridOpen).
bool tableauTopAvailable(const Play& play, int c);

// Whether the cards above position index of tableau column c (the group lifted by pressing it)
// follow the sequence rule (parameter 2), judged by the rules of column ruleColumn.
bool groupIsSequence(const Play& play, int c, int index, int ruleColumn);

// Whether upper may lie on lower inside a lifted group of column c by the sequence rule
// (parameter 2 values 1, 10 and 11); true for the rules without a pair test.
bool sequencePair(const Play& play, int c, int lower, int upper);

enum class GroupFit { Fits, TooLarge, Draw };

// Whether the group lifted at position index of pile (tableau piles only; others always fit)
// is within the group limit (parameter 14). targetEmptyTableau: the target is an empty tableau pile.
GroupFit groupFits(const Play& play, PileRef pile, int index, bool targetEmptyTableau);

// Number of empty tableau piles and empty reserves in use.
int emptyTableaus(const Play& play);
int emptyReserves(const Play& play);

} // namespace cw::engine
