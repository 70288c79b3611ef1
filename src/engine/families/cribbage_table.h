// Cribbage games read from the table: the hand and crib on a cribbage patience table, the game's total, the full square.
#pragma once

#include <optional>

#include "engine/families/cribbage_hands.h"
#include "engine/table.h"

namespace cw::engine {

struct HistoryList;

// Cribbage patience keeps its hands on tableau piles 1-11 (0-based 0-10).
inline constexpr int kCribPile1 = 0;    // crib cards dealt face down: piles 1, 2
inline constexpr int kLayAwayPile1 = 2; // the two cards laid away: piles 3, 4
inline constexpr int kHandPile1 = 4;    // the hand: piles 5 to 10, four of them after it is closed
inline constexpr int kLastHandPile = 9;
inline constexpr int kStarterPile = 10; // pile 11
inline constexpr int kCribbagePiles = 11;

// What a cribbage patience table shows as scored: a hand with its starter on pile 11 (the
// crib then scored too, unless the stock is empty), or the last hand of four cards alone
// (empty stock, no crib, no starter).
struct CribbageTableScore {
    bool scored = false;
    bool lastHand = false;
    CribbageScore crib;
    CribbageScore hand;
    int current() const { return crib.total() + hand.total(); }
};
CribbageTableScore scoreCribbageTable(const Table& table);

// The points of a cribbage patience game so far: every scored hand that the next-hand step
// cleared away (in the undo history, a snapshot showing a starter followed by a table without
// one) and the hand scored on the table now. Worked out afresh each time, so undo, redo and an
// opened game all give the total the cards on the table and in the history stand for.
int cribbagePatienceTotal(const HistoryList* undo, const Table& table);

// The square of cribbage square when it is full (tableau piles 1-16) and the starter lies on
// the waste; nullopt before.
std::optional<CribbageSquareScore> scoreCribbageSquareTable(const Table& table);

} // namespace cw::engine
