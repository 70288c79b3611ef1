// The state of one deal as a copyable value: the table plus the per-deal values the rules read.
#pragma once

#include <array>
#include <string>

#include "engine/table.h"

namespace cw::engine {

struct GameState {
    Table table;
    int gameId = -1;         // catalog number of the game; -1 none
    std::string gameNumber;  // the deal's game number as stored (digits, up to 13 significant)
    int dealNumber = 1;      // pass through the stock: 1 for the first, raised by each redeal
    int score = 0;
    // Four small counters for game-specific rules, cleared at each new deal. The deal writes
    // them for two games only: the foundation set-up that routes the front card by rank keeps
    // that card's suit index in counter 0, and the sum-target pattern keeps four rank sums.
    std::array<int, 4> gameCounters{};

    friend bool operator==(const GameState&, const GameState&) = default;
};

} // namespace cw::engine
