// The score of a deal: the standard formula, added points and the family's own formula.
#pragma once

#include <string_view>

#include "catalog/rules.h"
#include "engine/game_rules.h"
#include "engine/game_state.h"

namespace cw::engine {

class History;

// The one scoring system (settings column 120); any other code scores 0 under the standard formula.
inline constexpr std::string_view kStandardScoring = "01";

// Standard score of an ordinary game: a base debt from the deck size, 5 points per unit of
// rule parameter 48, minus 5 per joker in play, plus 5 per position on the second waste and on
// each foundation in use (placeholders count as positions). 0 when scoringCode is not "01".
int standardScore(const catalog::Rules& rules, const Table& table, std::string_view scoringCode);

// The debt the standard formula starts from (rule parameters 49 and 378): -52 for one deck.
int scoreBase(const catalog::Rules& rules);

// "Add points": the score after the deal itself moved n cards to the foundations. Adds 5 x n
// under scoring "01", unless the family keeps its own score (poker squares, cribbage).
int addPoints(int score, int n, std::string_view scoringCode, const Family& family);

// Everything a family's formula may read. history is null where there is none (a bare table).
struct ScoreInput {
    const GameRules& rules;
    const GameState& state;
    std::string_view scoringCode = kStandardScoring;
    int storedScore = 0;              // the score before this recomputation (hand-scoring families add to it)
    const History* history = nullptr; // the undo history, read by the group score of one family
};

// Recompute score: the family's formula for a special game that has one, else the standard
// formula. Run after every move, undo and redo, a new deal, opening a game or a bookmark.
int recomputeScore(const ScoreInput& input);

} // namespace cw::engine
