// Card counter: its marks brought up to date after one move of a four-deck game (target: under 1 ms), and a full read.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <optional>

#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "engine/deal.h"
#include "engine/legal_moves.h"
#include "tools/core/card_counter.h"

namespace {

using namespace cw;

struct FourDeckMove {
    catalog::Rules rules;
    engine::Table before;
    engine::Table after;
    engine::Events events;
};

// The first four-deck game of the built catalog, dealt, and its legal move that moves the most cards.
std::optional<FourDeckMove> fourDeckMove()
{
    const auto text = catalog::ReadWholeFile(std::filesystem::path(CW_BIN_DIR "/GAMES.DAT"));
    if (!text.ok())
        return std::nullopt;
    const auto list = catalog::BuildGameList(text.value()).list;
    for (const auto& entry : list.entries()) {
        auto loaded = catalog::LoadGameRules(text.value(), list, entry.id, {});
        if (!entry.usable || !loaded.ok() || loaded.value().cardsInPlay() != 208)
            continue;
        const engine::DealResult dealt = engine::deal(loaded.value(), "1234567");
        const engine::PlayOptions options;
        engine::MoveList moves;
        engine::GameState probe = dealt.state;
        engine::generateMoves(engine::Play{dealt.rules, probe, options}, moves);
        FourDeckMove best{dealt.rules, dealt.state.table, dealt.state.table, {}};
        for (const engine::Move& m : moves) {
            engine::GameState st = dealt.state;
            engine::Events events;
            engine::Play play{dealt.rules, st, options, &events};
            if (engine::applyMove(play, m) && events.size() > best.events.size()) {
                best.after = st.table;
                best.events = events;
            }
        }
        if (!best.events.empty())
            return best;
    }
    return std::nullopt;
}

void counterUpdateAfterMove(benchmark::State& state)
{
    const auto move = fourDeckMove();
    if (!move) {
        state.SkipWithError("no four-deck game in GAMES.DAT next to the binaries");
        return;
    }
    tools::CardCounterModel model;
    const tools::CounterFilter all{false, false};
    model.refresh(move->rules, move->before, all);
    std::vector<int> changed;
    changed.reserve(208);
    bool forward = true;
    for (auto _ : state) {
        // Forward and back again, so that every round really changes marks.
        changed.clear();
        model.update(move->rules, forward ? move->after : move->before, move->events, changed);
        forward = !forward;
        benchmark::DoNotOptimize(changed.data());
    }
    state.counters["events"] = static_cast<double>(move->events.size());
}

void counterFullRead(benchmark::State& state)
{
    const auto move = fourDeckMove();
    if (!move) {
        state.SkipWithError("no four-deck game in GAMES.DAT next to the binaries");
        return;
    }
    tools::CardCounterModel model;
    std::vector<int> changed;
    bool forward = true;
    for (auto _ : state) {
        changed.clear();
        model.refresh(move->rules, forward ? move->after : move->before, {false, false}, &changed);
        forward = !forward;
        benchmark::DoNotOptimize(changed.data());
    }
}

} // namespace

BENCHMARK(counterUpdateAfterMove)->Unit(benchmark::kMicrosecond);
BENCHMARK(counterFullRead)->Unit(benchmark::kMicrosecond);
