// Speed of the shuffle and of a full deal for a one-deck and a four-deck game (target: under 20 us per deal).
#include <benchmark/benchmark.h>

#include <string>

#include "../tests/engine/rule_sets.h"
#include "engine/deal.h"
#include "engine/shuffle.h"

namespace {

using Rules = cw::engine::GameRules;

Rules fourDecks()
{
    Rules r;
    r.set(378, 208);
    cw::test::upInSuitFoundations(r, 16);
    r.set(375, 12);
    cw::test::setRange(r, 382, 12, 10);
    cw::test::setRange(r, 422, 12, 1);
    r.set(379, 88);
    r.set(7, 1);
    return r;
}

// Numbers spread over the whole range, so the slot searches vary as in play.
std::string numberFor(std::int64_t i) { return std::to_string(1 + (i * 7919LL * 104729LL) % 9999999999999LL); }

void shuffleCards(benchmark::State& state)
{
    const int cards = static_cast<int>(state.range(0));
    std::int64_t i = 0;
    for (auto _ : state) {
        auto r = cw::engine::fnGameNumberCardsArray(numberFor(i++), {cards, false, 0, 0});
        benchmark::DoNotOptimize(r.cards.data());
    }
}
BENCHMARK(shuffleCards)->Arg(52)->Arg(208);

void dealGame(benchmark::State& state, Rules (*make)())
{
    const Rules rules = make();
    std::int64_t i = 0;
    for (auto _ : state) {
        auto d = cw::engine::deal(rules, numberFor(i++));
        benchmark::DoNotOptimize(&d);
    }
}
BENCHMARK_CAPTURE(dealGame, klondike, cw::test::klondike);
BENCHMARK_CAPTURE(dealGame, spider, cw::test::spider);
BENCHMARK_CAPTURE(dealGame, four_decks, fourDecks);
BENCHMARK_CAPTURE(dealGame, klondike_aces_up, [] {
    Rules r = cw::test::klondike();
    cw::test::setRange(r, 103, 4, 93);
    r.set(379, 20);
    return r;
});

} // namespace
