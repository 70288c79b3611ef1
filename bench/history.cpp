// Benchmark of the move history: snapshot cost per move and memory of a 1,000-move four-deck history, undo, save and open.
#include <benchmark/benchmark.h>

#include <random>

#include "engine/history.h"
#include "engine/saved_game.h"

using namespace cw::engine;

namespace {

// A four-deck table: 208 cards over 40 tableau piles, the lower cards face down, and a stock.
Table fourDeckTable()
{
    Table t;
    int code = 1;
    for (int k = 0; k < kTableauPiles; ++k)
        for (int n = 0; n < 4; ++n, ++code)
            t.append(PileRef::tableau(k), code, n == 3);
    for (; code <= kLastDeckCard; ++code)
        t.append(PileRef::stock(), code, false);
    return t;
}

// One move: the top card of a random pile to another pile.
void shuffleOne(Table& t, std::mt19937& rng)
{
    const PileRef from = PileRef::tableau(static_cast<int>(rng() % kTableauPiles));
    const PileRef to = rng() % 4 == 0 ? PileRef::foundation(static_cast<int>(rng() % 8))
                                      : PileRef::tableau(static_cast<int>(rng() % kTableauPiles));
    if (t.pile(from).empty() || from == to)
        return;
    t.append(to, t.pile(from).pop(), true);
}

History thousandMoves(Table& t)
{
    std::mt19937 rng(1);
    History h;
    const HistoryPolicy p;
    for (int m = 0; m < 1000; ++m) {
        h.pushUndo(t, p);
        shuffleOne(t, rng);
    }
    return h;
}

void BM_PushSnapshot(benchmark::State& state)
{
    Table t = fourDeckTable();
    SnapshotList list;
    for (auto _ : state) {
        if (list.size() == 1000)
            list.clear(); // a fresh deal: growth from empty is part of the cost
        list.push(t);
        benchmark::DoNotOptimize(list);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PushSnapshot);

void BM_HistoryMemory1000Moves(benchmark::State& state)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        Table t = fourDeckTable();
        History h = thousandMoves(t);
        bytes = h.memoryBytes();
        benchmark::DoNotOptimize(h);
    }
    state.counters["history_bytes"] = static_cast<double>(bytes);
    state.counters["bytes_per_move"] = static_cast<double>(bytes) / 1000.0;
}
BENCHMARK(BM_HistoryMemory1000Moves)->Unit(benchmark::kMillisecond);

void BM_UndoRedo(benchmark::State& state)
{
    Table t = fourDeckTable();
    History h = thousandMoves(t);
    GameState s;
    s.table = t;
    const HistoryPolicy p;
    for (auto _ : state) {
        h.undoMove(s, p);
        h.redoMove(s, p);
        benchmark::DoNotOptimize(s);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_UndoRedo);

void BM_SaveAndOpen1000Moves(benchmark::State& state)
{
    Table t = fourDeckTable();
    SavedGame g;
    g.table = t;
    g.undo = thousandMoves(g.table).undo;
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string text = encodeSavedGame(g);
        const SavedGameRead r = parseSavedGame(text, "bench.gam");
        size = text.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["file_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_SaveAndOpen1000Moves)->Unit(benchmark::kMillisecond);

} // namespace
