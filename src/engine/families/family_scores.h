// The score formulas of the special families, computed afresh from the table.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "catalog/rules.h"
#include "engine/table.h"

namespace cw::engine::families {

// What the formulas read besides the rules and the table.
struct FamilyScoreInput {
    const catalog::Rules& rules;
    const Table& table;
    bool dealLaidOut = true;         // family 74 scores 0 while the deal is being laid out
    std::array<int, 4> rowTargets{}; // family 57: the deal's four row sums
    int targetSum = 0;               // family 58: the deal's target sum
    // Family 64: the second waste of every undo snapshot, oldest first (the groups in which
    // cards arrived there are read from it).
    std::span<const std::vector<int>> secondWasteHistory{};
};

// The family's own formula; nullopt for a family without one here (it scores by the standard
// formula or elsewhere).
std::optional<int> familyScore(const FamilyScoreInput& in);

// Family 46: the row score of the rows read as one ring.
int rowScore46(const catalog::Rules& rules, const Table& table);

// Family 64: points of one group of cards that arrived together on the second waste (Ace to 9
// their rank, the others 0; two cards lose 10 above 9; a third card makes 0 above 9).
int groupPoints64(std::span<const int> group);

// Family 64: -N plus the points of every group, read from the snapshots' second wastes and the
// current one.
int groupScore64(int cardsInPlay, std::span<const std::vector<int>> history, const Pile& current);

// Family 40's loss rule: four face-up Kings on tableau pile 13 while the score is not the game's
// target (rule parameter 52).
bool clockLost(const catalog::Rules& rules, const Table& table, int score);

// Family 81's magic square: the ranks of the bottom cards of tableau piles 1-9, read as a 3 x 3
// square, add up to 15 in every row, every column and the diagonal from pile 1 to pile 9.
bool magicSquare(const Table& table);

// Family 57: the rank sums of tableau piles 1-4, 5-8, 9-12 and 13-16 equal the row targets.
bool rowsMatchTargets(const Table& table, const std::array<int, 4>& targets);

// Family 58: foundations 1 to 5 all hold a card and their bottom cards add up to the target.
bool fiveMakeTheTarget(const Table& table, int target);

// Family 43: a pile of exactly nine cards ranked 9 down to Ace from the bottom.
bool nineDown(const Pile& p);

// Family 79: how many cards from the bottom run King, Queen, Jack ... in alternating colours.
int alternatingRunLength(const Pile& p);

// Family 44: the ranks of the tableau top cards, from pile 1 up to the first empty pile, add up
// to 91.
bool topsMake91(const catalog::Rules& rules, const Table& table);

} // namespace cw::engine::families
