// Speed of the click games' moves: generation and application of whole sets and gap moves in random playouts (target: 500,000 moves per second on one core for a Pyramid table).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "engine/deal.h"
#include "engine/legal_moves.h"

namespace {

using namespace cw::engine;

// The game's rules from the compiled catalog next to the programs.
GameRules catalogRules(int id)
{
    auto text = cw::catalog::ReadWholeFile(std::filesystem::path(CW_BIN_DIR "/GAMES.DAT"));
    if (!text.ok())
        return {};
    const auto list = cw::catalog::BuildGameList(text.value()).list;
    auto rules = cw::catalog::LoadGameRules(text.value(), list, id, {});
    return rules.ok() ? GameRules(rules.value()) : GameRules();
}

// Generates the moves of the position and applies one chosen at random; a playout restarts
// from the dealt table when it runs out of moves or after 300 moves.
void playout(benchmark::State& state, int gameId)
{
    const GameRules rules = catalogRules(gameId);
    if (rules.specialFamily() <= 0) {
        state.SkipWithError("no GAMES.DAT next to the programs");
        return;
    }
    const DealResult dealt = deal(rules, "1234567");
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

void pyramid(benchmark::State& s) { playout(s, 159); }
void monteCarlo(benchmark::State& s) { playout(s, 500); }
void elevens(benchmark::State& s) { playout(s, 8); }
void accordion(benchmark::State& s) { playout(s, 522); }
void montana(benchmark::State& s) { playout(s, 529); }

} // namespace

BENCHMARK(pyramid);
BENCHMARK(monteCarlo);
BENCHMARK(elevens);
BENCHMARK(accordion);
BENCHMARK(montana);
