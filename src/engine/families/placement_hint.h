// The hint of the placement games (poker squares, cribbage square): the place with the best expected score over sampled futures.
#pragma once

#include <cstdint>
#include <span>

namespace cw::engine {

// One placement decision: a grid of cells (card codes, 0 for an empty cell), the card to place
// and the cards that may still come. The stock's order is not looked at: the futures are
// drawn from `unseen` in random orders, the same orders for every candidate cell.
struct PlacementQuestion {
    std::span<const int> grid;
    int card = 0;
    std::span<const int> unseen;
    int samples = 128;      // futures per candidate cell
    std::uint64_t seed = 1; // the same question and seed give the same answer
};

// The empty cell (0-based) where the card gives the best mean final score, each future played
// out by a greedy player that values partial lines. Only the six cells that player likes best
// are played out (ties keep its order); -1 when no cell is empty.
// Poker squares: 25 cells, rows and columns scored as poker hands.
int bestPokerSquaresCell(const PlacementQuestion& q);
// Cribbage square: 16 cells, rows and columns scored as cribbage hands with a starter drawn
// from the cards left over.
int bestCribbageSquareCell(const PlacementQuestion& q);

// The greedy player alone (no sampling): the empty cell whose lines gain the most by the card.
int greedyPokerSquaresCell(std::span<const int> grid, int card);
int greedyCribbageSquareCell(std::span<const int> grid, int card);

} // namespace cw::engine
