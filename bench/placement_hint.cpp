// The placement games' hint as the demo plays it: mean scores over 200 deals of poker squares and cribbage square, next to a random and a greedy player.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "engine/families/cribbage_hands.h"
#include "engine/families/placement_hint.h"
#include "engine/families/poker_hands.h"

namespace {

using namespace cw::engine;

enum class Player { Random, Greedy, Hint };

// Plays `deals` shuffled packs, one card at a time, and returns the mean final score.
double play(int cells, Player player, int deals)
{
    std::mt19937 rng(20240601u);
    long total = 0;
    for (int d = 0; d < deals; ++d) {
        std::vector<int> deck(52);
        std::iota(deck.begin(), deck.end(), 1);
        std::shuffle(deck.begin(), deck.end(), rng);
        std::vector<int> grid(static_cast<std::size_t>(cells), 0);
        for (int i = 0; i < cells; ++i) {
            const int card = deck[static_cast<std::size_t>(i)];
            const std::vector<int> rest(deck.begin() + i + 1, deck.end());
            int cell = 0;
            switch (player) {
            case Player::Random: {
                std::vector<int> empty;
                for (int c = 0; c < cells; ++c)
                    if (grid[static_cast<std::size_t>(c)] == 0)
                        empty.push_back(c);
                cell = empty[rng() % empty.size()];
                break;
            }
            case Player::Greedy:
                cell = cells == 25 ? greedyPokerSquaresCell(grid, card) : greedyCribbageSquareCell(grid, card);
                break;
            case Player::Hint: {
                const PlacementQuestion q{grid, card, rest, 128, static_cast<std::uint64_t>(d * 64 + i)};
                cell = cells == 25 ? bestPokerSquaresCell(q) : bestCribbageSquareCell(q);
                break;
            }
            }
            grid[static_cast<std::size_t>(cell)] = card;
        }
        total += cells == 25 ? scorePokerGrid(std::span<const int, 25>(grid.data(), 25)).total
                             : scoreCribbageSquare(std::span<const int, 16>(grid.data(), 16), deck[16]).total();
    }
    return static_cast<double>(total) / deals;
}

void BM_PlacementDemo(benchmark::State& state)
{
    const int cells = static_cast<int>(state.range(0));
    const auto player = static_cast<Player>(state.range(1));
    constexpr int kDeals = 200;
    double mean = 0;
    for (auto _ : state)
        mean = play(cells, player, kDeals);
    state.counters["mean_score"] = mean;
    state.counters["deals"] = kDeals;
}
// Poker squares (25 cells) and cribbage square (16), each by a random, a greedy and the hint player.
BENCHMARK(BM_PlacementDemo)
    ->ArgsProduct({{25, 16}, {0, 1, 2}})
    ->ArgNames({"cells", "player"})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace
