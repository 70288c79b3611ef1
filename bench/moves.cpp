// Speed of the legal-move generator with move application: random playouts of fixed deals (target: 500,000 moves per second on one core for a one-deck game).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <string>

#include "../tests/engine/rules_play_sets.h"
#include "engine/deal.h"
#include "engine/legal_moves.h"

namespace {

using namespace cw::engine;

// Generates the moves of the position and applies one chosen at random; a playout restarts
// from the dealt table when it runs out of moves or after 300 moves (the stock may cycle).
void playout(benchmark::State& state, const cw::catalog::Rules& loaded)
{
    const DealResult dealt = deal(loaded, "1234567");
    GameState st = dealt.state;
    const PlayOptions options;
    Play play{dealt.rules, st, options};
    MoveList moves;
    std::uint32_t seed = 12345;
    int played = 0;
    std::int64_t applied = 0;
    std::int64_t generated = 0;
    for (auto _ : state) {
        generateMoves(play, moves);
        generated += moves.size();
        if (moves.empty() || played >= 300) {
            st = dealt.state;
            played = 0;
            continue;
        }
        seed = seed * 1664525U + 1013904223U;
        applyMove(play, moves[static_cast<int>((static_cast<std::uint64_t>(seed) * moves.size()) >> 32)]);
        ++played;
        ++applied;
    }
    state.SetItemsProcessed(applied);
    state.counters["moves_listed_per_position"] =
        benchmark::Counter(static_cast<double>(generated), benchmark::Counter::kAvgIterations);
}

void klondike(benchmark::State& s) { playout(s, cw::test::playKlondike()); }
void freecell(benchmark::State& s) { playout(s, cw::test::playFreecell()); }
void yukon(benchmark::State& s) { playout(s, cw::test::playYukon()); }
void spider(benchmark::State& s) { playout(s, cw::test::playSpider()); }

} // namespace

BENCHMARK(klondike);
BENCHMARK(freecell);
BENCHMARK(yukon);
BENCHMARK(spider);
