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
// The target sum of family 58: the five digits the deal picked from the game number (a 0
// standing for a Ten).
int targetSum(const GameState& state);

// The family's own score formula, nullopt for a family without one (the standard formula).
std::optional<int> goalScore(const ScoreInput& input);
// The family's own win test, nullopt for a family that wins by the ordinary test.
std::optional<bool> goalWon(const Play& play);

// A special family that follows its rows of the family tables: its drop rule, its automatic
// steps after a move or a deal to the tableau (four of a kind leave, a partner follows to the
// foundation above, the clock's piles turn), its pile labels, score, win test and won message.
// Families without a row keep the ordinary rules at every point.
class GoalFamily : public SpecialFamily {
public:
    std::optional<int> score(const ScoreInput& input) const override { return goalScore(input); }
    std::optional<bool> isWon(const Play& play) const override { return goalWon(play); }
    DropVerdict mayDrop(const Play& play, const Carried& carried, DropSpot spot) const override;
    void afterMove(Play& play, const MoveDone& move) const override;
    void afterStockDeal(Play& play, PileKind kind, int first, int last) const override;
    void pileMarks(const GameRules& rules, const GameState& state, PileMarks& out) const override;
    std::string wonMessage(const Play& play) const override;
};

} // namespace cw::engine::families
