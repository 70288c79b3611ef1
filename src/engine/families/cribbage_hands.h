// Cribbage: the one hand scorer (Fifteen, Pair, Run, Flush, His Nobs), the square's rows and columns, deals remaining.
#pragma once

#include <array>
#include <span>
#include <string>

namespace cw::engine {

// A missing card (no starter, an empty pile) is given as -1 and takes part in no combination.
inline constexpr int kNoCard = -1;

enum class CribbageKind { Hand, Crib };

// The five values, always in this order.
struct CribbageScore {
    int fifteen = 0;
    int pair = 0;
    int run = 0;
    int flush = 0;
    int nobs = 0;

    int total() const { return fifteen + pair + run + flush + nobs; }
    friend bool operator==(const CribbageScore&, const CribbageScore&) = default;
};

// Scores four hand cards and a starter. A hand (not a crib) gets 2 more His Nobs when the
// starter itself is a Jack. Codes of any deck; anything but a deck card counts as missing.
CribbageScore scoreCribbageHand(CribbageKind kind, std::span<const int, 4> hand, int starter);

// The square: cells 0..15 row by row, rows and columns scored as hands with one starter.
inline constexpr int kCribbageSquareSide = 4;
inline constexpr int kCribbageSquareCells = 16;

struct CribbageSquareScore {
    std::array<CribbageScore, kCribbageSquareSide> rows{};
    std::array<CribbageScore, kCribbageSquareSide> columns{};

    // Per category over the eight hands, and the grand total.
    CribbageScore sum() const;
    int total() const { return sum().total(); }
};

// Only row 1 keeps the starter Jack bonus; rows 2-4 count His Nobs without it, columns never count it.
CribbageSquareScore scoreCribbageSquare(std::span<const int, kCribbageSquareCells> cells, int starter);

// "6" ... "0": the hands of cribbage patience still to come, from the number of cards in the stock.
std::string cribbageDealsRemaining(int stockCards);

} // namespace cw::engine
