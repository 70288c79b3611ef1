// The state of one deal as a copyable value: the table plus the per-deal values the rules read.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/table.h"

namespace cw::engine {

// The cards being carried between a table press and the table release.
struct DragState {
    int carriedCard = 0;     // bottom card of the lifted group; 0 when nothing is carried
    PileRef source{};        // pile the group was lifted from
    int sourceIndex = -1;    // position of the carried card in its pile
    int topOfGroup = 0;      // top card of the source pile when the group was lifted
    bool singleCard = true;  // the drag is one card high
    bool moved = false;      // the pointer moved while carrying

    friend bool operator==(const DragState&, const DragState&) = default;
};

// Point-and-click mode: the first click selects a card, the second one names the target.
struct SelectionState {
    bool pointAndClick = false;
    int selectedCard = 0;
    PileRef source{};
    int sourceIndex = -1;
    int clicks = 0;

    friend bool operator==(const SelectionState&, const SelectionState&) = default;
};

// Event codes kept in the move record: 1 a family's tableau move, 2 a counted stock click,
// 3 a redeal, 4 the Draw.
inline constexpr int kEventCodes = 5;

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

    // ---- Values the play rules read and write ----
    int movesMade = 0;          // 0, 1, 2: stops at 2
    bool moveMade = false;      // a player move succeeded since the flag was last read
    bool backMoveGuard = false; // the tutor refuses to move the card just moved back
    bool drawUsed = false;      // the one Draw of the game was used
    bool redealArmed = false;   // a press on the empty stock armed a turnover or redeal
    int stockClicks = 0;        // stock-click counter of the alternating dealing schemes
    int tutorMode = 0;          // 0 normal play, 1 a legal move is shown, 3 the game demo
    bool dealFinished = true;   // autoplay waits while a deal is being laid out
    bool won = false;           // the win test passed after the last action
    bool swallowStockPress = false; // the press after a double click on the stock is ignored
    std::uint64_t ascendingColumns = 0; // bit c: column c reversed to build up (code 149)
    std::array<std::uint8_t, kEventCodes> eventCounts{}; // event codes recorded this game
    DragState drag;
    SelectionState selection;

    friend bool operator==(const GameState&, const GameState&) = default;
};

} // namespace cw::engine
