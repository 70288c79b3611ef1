// The win tests of the special families that do not win by emptying the table.
#pragma once

#include <array>
#include <optional>

#include "catalog/rules.h"
#include "engine/table.h"

namespace cw::engine::families {

struct FamilyWinInput {
    const catalog::Rules& rules;
    const Table& table;
    int score = 0;                   // the current score (the family formulas included)
    std::array<int, 4> rowTargets{}; // family 57
    int targetSum = 0;               // family 58
};

// Whether the game is won by the family's own test; nullopt for a family that uses the ordinary
// test (or is tested elsewhere).
std::optional<bool> familyWon(const FamilyWinInput& in);

// The family 44 message shown each time its win test finds the top cards adding up to 91.
inline constexpr const char* kNinetyOneMessage = "Your sequence is equal to 91.\nThe game is won.";
inline constexpr const char* kNinetyOneCaption = "Game won";

} // namespace cw::engine::families
