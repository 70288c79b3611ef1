// The placement hint of poker squares and cribbage square: obvious placements found, and better play than chance.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <sstream>
#include <vector>

#include "engine/families/cribbage_hands.h"
#include "engine/families/placement_hint.h"
#include "engine/families/poker_hands.h"
#include "engine/freecell_board.h"

namespace {

using namespace cw::engine;

std::vector<int> cards(const std::string& text)
{
    std::vector<int> out;
    std::istringstream in(text);
    for (std::string w; in >> w;)
        out.push_back(w == "--" ? 0 : freecellCardCode(w));
    return out;
}

// Every card of the pack not in `used`.
std::vector<int> unseen(const std::vector<int>& used)
{
    std::vector<int> out;
    for (int code = 1; code <= 52; ++code)
        if (std::find(used.begin(), used.end(), code) == used.end())
            out.push_back(code);
    return out;
}

TEST(PlacementHint, CompletesTheObviousHand)
{
    // Row 1 waits for a fifth Heart; the Seven of Hearts makes it a flush.
    std::vector<int> poker = cards("2H 5H 9H KH -- "
                                   "3C 3D -- -- -- "
                                   "-- -- -- -- -- "
                                   "-- -- -- -- -- "
                                   "-- -- -- -- --");
    const int seven = freecellCardCode("7H");
    std::vector<int> used = poker;
    used.push_back(seven);
    const auto pool = unseen(used);
    EXPECT_EQ(greedyPokerSquaresCell(poker, seven), 4);
    EXPECT_EQ(bestPokerSquaresCell({poker, seven, pool, 32, 7}), 4);
    // A Three goes with the pair of Threes.
    const int three = freecellCardCode("3H");
    EXPECT_EQ(bestPokerSquaresCell({poker, three, pool, 32, 7}) / 5, 1);

    // Cribbage: three Fives in row 1 want the Jack beside them (fifteens with each Five).
    std::vector<int> square = cards("5C 5D 5H -- "
                                    "2S 8D -- -- "
                                    "-- -- -- -- "
                                    "-- -- -- --");
    const int jack = freecellCardCode("JS");
    used = square;
    used.push_back(jack);
    EXPECT_EQ(bestCribbageSquareCell({square, jack, unseen(used), 32, 7}), 3);

    const std::vector<int> full(25, 1);
    EXPECT_EQ(bestPokerSquaresCell({full, seven, pool, 8, 1}), -1);
}

// Plays deals with a chooser of cells and returns the mean score.
template <class Choose>
double meanScore(int deals, int cells, Choose choose)
{
    std::mt19937 rng(2024);
    long total = 0;
    for (int d = 0; d < deals; ++d) {
        std::vector<int> deck(52);
        std::iota(deck.begin(), deck.end(), 1);
        std::shuffle(deck.begin(), deck.end(), rng);
        std::vector<int> grid(static_cast<std::size_t>(cells), 0);
        for (int i = 0; i < cells; ++i) {
            const std::vector<int> rest(deck.begin() + i + 1, deck.end());
            const int cell = choose(grid, deck[static_cast<std::size_t>(i)], rest, rng, d * 100 + i);
            if (cell < 0 || grid[static_cast<std::size_t>(cell)] != 0) {
                ADD_FAILURE() << "no empty cell chosen for card " << i << " of deal " << d;
                return 0;
            }
            grid[static_cast<std::size_t>(cell)] = deck[static_cast<std::size_t>(i)];
        }
        total += cells == 25 ? scorePokerGrid(std::span<const int, 25>(grid.data(), 25)).total
                             : scoreCribbageSquare(std::span<const int, 16>(grid.data(), 16), deck[16]).total();
    }
    return static_cast<double>(total) / deals;
}

TEST(PlacementHint, PlaysBetterThanChance)
{
    auto random = [](const std::vector<int>& grid, int, const std::vector<int>&, std::mt19937& rng, int) {
        std::vector<int> empty;
        for (int c = 0; c < static_cast<int>(grid.size()); ++c)
            if (grid[static_cast<std::size_t>(c)] == 0)
                empty.push_back(c);
        return empty[rng() % empty.size()];
    };
    auto poker = [](const std::vector<int>& grid, int card, const std::vector<int>& rest, std::mt19937&, int seed) {
        return bestPokerSquaresCell({grid, card, rest, 16, static_cast<std::uint64_t>(seed)});
    };
    auto cribbage = [](const std::vector<int>& grid, int card, const std::vector<int>& rest, std::mt19937&, int seed) {
        return bestCribbageSquareCell({grid, card, rest, 16, static_cast<std::uint64_t>(seed)});
    };
    // Chance scores about 15 and 38 points; the hint several times and half as much again.
    EXPECT_GT(meanScore(12, 25, poker), meanScore(12, 25, random) + 40);
    EXPECT_GT(meanScore(12, 16, cribbage), meanScore(12, 16, random) + 8);
}

} // namespace
