// The special families' own score and win test read from a running game: the deal's values and the undo history joined to the table.
#pragma once

#include <array>
#include <optional>

#include "engine/family.h"
#include "engine/rules_context.h"
#include "engine/score.h"

namespace cw::engine::families {

// The four row targets of family 57, kept by the deal in the game counters (dealt again from
// the game number when they are lost).
std::array<int, 4> rowTargets(const GameRules& rules, const GameState& state);
// The target sum of family 58, kept by the deal in game counter 1.
int targetSum(const GameState& state);

// The family's own score formula, nullopt for a family without one (the standard formula).
std::optional<int> goalScore(const ScoreInput& input);
// The family's own win test, nullopt for a family that wins by the ordinary test.
std::optional<bool> goalWon(const Play& play);

// A special family whose score and win test are its rows of the family tables.
class GoalFamily : public SpecialFamily {
public:
    std::optional<int> score(const ScoreInput& input) const override { return goalScore(input); }
    std::optional<bool> isWon(const Play& play) const override { return goalWon(play); }
};

} // namespace cw::engine::families
