// Speed of the pile layout and of the hit test and drop ranking on a laid-out table (target: microseconds).
#include <benchmark/benchmark.h>

#include "../tests/engine/rule_sets.h"
#include "engine/geometry.h"
#include "engine/layout.h"

namespace {

using cw::catalog::Rules;
using namespace cw::engine;

Rules klondikeLaidOut()
{
    Rules r = cw::test::klondike();
    r.set(362, 13);
    r.set(363, 1);
    r.set(364, 33);
    r.set(365, 1);
    r.set(366, 1);
    r.set(367, 2);
    r.set(3, 1);
    return r;
}

Rules spiderLaidOut()
{
    Rules r = cw::test::spider();
    r.set(373, 1);
    r.set(362, 5);
    r.set(363, 1);
    r.set(364, 33);
    r.set(365, 1);
    r.set(366, 14);
    r.set(367, 2);
    r.set(3, 1);
    return r;
}

// A mid-game table: every tableau pile holds a fan of `perPile` cards, half face down.
Table fannedTable(const Rules& r, int perPile)
{
    Table t;
    int code = 1;
    for (int p = 0; p < r.tableauCount(); ++p)
        for (int k = 0; k < perPile; ++k) {
            t.append(PileRef::tableau(p), code, k >= perPile / 2);
            code = code % 104 + 1;
        }
    return t;
}

void layout(benchmark::State& state)
{
    const Rules r = state.range(0) == 0 ? klondikeLaidOut() : spiderLaidOut();
    LayoutRoom room;
    for (auto _ : state) {
        Geometry g = layoutPiles(r, room, CardSize::B);
        benchmark::DoNotOptimize(g);
    }
}
BENCHMARK(layout)->Arg(0)->Arg(1);

void hitTestSweep(benchmark::State& state)
{
    const Rules r = spiderLaidOut();
    const TableGeometry tg = makeTableGeometry(r, layoutPiles(r, LayoutRoom{}, CardSize::B), CardSize::B, 800);
    const Table t = fannedTable(r, 10);
    int x = 0;
    for (auto _ : state) {
        // Points over the whole window, most of them on fanned piles.
        x = (x + 37) % 800;
        const int y = 100 + (x * 7) % 400;
        benchmark::DoNotOptimize(hitTest(tg, t, x, y));
    }
}
BENCHMARK(hitTestSweep);

void dropRanking(benchmark::State& state)
{
    const Rules r = spiderLaidOut();
    const TableGeometry tg = makeTableGeometry(r, layoutPiles(r, LayoutRoom{}, CardSize::B), CardSize::B, 800);
    const Table t = fannedTable(r, 10);
    int x = 0;
    for (auto _ : state) {
        x = (x + 37) % 700;
        benchmark::DoNotOptimize(dropCandidates(tg, t, {x, 250, 71, 96}));
    }
}
BENCHMARK(dropRanking);

} // namespace
