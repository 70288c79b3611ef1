// Poker squares: the five-card hand evaluator, its points table and the line scoring of the 5 x 5 grid.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cw::engine {

// Ordered by value, so that a better hand compares greater.
enum class PokerHand {
    Nothing,
    OnePair,
    TwoPair,
    ThreeOfAKind,
    Straight,
    Flush,
    FullHouse,
    FourOfAKind,
    StraightFlush,
    RoyalFlush,
};

// Points of a hand: 0, 2, 5, 10, 15, 20, 25, 50, 75, 100.
int pokerPoints(PokerHand hand);
// "One Pair" ... "Royal Flush"; empty for Nothing.
std::string_view pokerHandName(PokerHand hand);

// Evaluates five card codes of any deck (codes 1..208). Straight flushes may turn the corner
// (J-Q-K-A-2, Q-K-A-2-3, K-A-2-3-4); plain straights may not, and A-10-J-Q-K counts both ways.
// A hand holding anything else than five deck cards is Nothing.
PokerHand evaluatePokerHand(std::span<const int, 5> cards);

// The grid: piles 0..24 row by row, each holding one card code or 0 when empty.
inline constexpr int kPokerGridSide = 5;
inline constexpr int kPokerGridCells = kPokerGridSide * kPokerGridSide;
inline constexpr int kPokerLines = 2 * kPokerGridSide;

// Lines 0..4 are rows 1..5, lines 5..9 columns 1..5; the order in which lines are scored and announced.
std::array<int, kPokerGridSide> pokerLineCells(int line);

struct PokerLine {
    bool complete = false;
    PokerHand hand = PokerHand::Nothing;
    int points = 0;
};

struct PokerGridScore {
    std::array<PokerLine, kPokerLines> lines{};
    int total = 0;
};

// Scores every complete line; an incomplete line scores 0.
PokerGridScore scorePokerGrid(std::span<const int, kPokerGridCells> grid);

// One hand announced after a placement: its line's cells, the hand, its points, and the
// running total after it (counted on from the total before the placement).
struct PokerAnnouncement {
    std::array<int, kPokerGridSide> cells{};
    PokerHand hand = PokerHand::Nothing;
    int points = 0;
    int runningTotal = 0;
};
// The complete lines of non-zero value through the placed cell, rows before columns.
std::vector<PokerAnnouncement> announcePlacement(std::span<const int, kPokerGridCells> grid, int cell,
                                                 int previousTotal);
// The box's text: the hand's name, its points and the running total ("Total: 27 points"); with
// no hand, the total alone.
std::string pokerBoxText(const PokerAnnouncement* hand, int total);

} // namespace cw::engine
