// Speed of the poker hand evaluator and the cribbage hand scorer over random hands (target: 5 million hands per second on one core each).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <vector>

#include "engine/families/cribbage_hands.h"
#include "engine/families/poker_hands.h"

namespace {

using namespace cw::engine;

// 4096 hands of distinct cards of one deck, drawn with a fixed seed.
template <std::size_t N>
std::vector<std::array<int, N>> randomHands()
{
    std::vector<std::array<int, N>> hands(4096);
    std::array<int, 52> deck{};
    std::iota(deck.begin(), deck.end(), 1);
    std::uint32_t seed = 20240601u;
    for (auto& hand : hands) {
        for (std::size_t i = 0; i < N; ++i) {
            seed = seed * 1664525u + 1013904223u;
            const std::size_t j = i + (static_cast<std::uint64_t>(seed) * (52 - i) >> 32);
            std::swap(deck[i], deck[j]);
            hand[i] = deck[i];
        }
    }
    return hands;
}

void BM_PokerHand(benchmark::State& state)
{
    const auto hands = randomHands<5>();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(evaluatePokerHand(hands[i]));
        i = (i + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PokerHand);

void BM_PokerGrid(benchmark::State& state)
{
    const auto hands = randomHands<25>();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scorePokerGrid(hands[i]).total);
        i = (i + 1) & 4095;
    }
    // Ten hands per grid.
    state.SetItemsProcessed(state.iterations() * kPokerLines);
}
BENCHMARK(BM_PokerGrid);

void BM_CribbageHand(benchmark::State& state)
{
    const auto hands = randomHands<5>();
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& h = hands[i];
        const std::array<int, 4> cards = {h[0], h[1], h[2], h[3]};
        benchmark::DoNotOptimize(scoreCribbageHand(CribbageKind::Hand, cards, h[4]).total());
        i = (i + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CribbageHand);

void BM_CribbageSquare(benchmark::State& state)
{
    const auto hands = randomHands<17>();
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& h = hands[i];
        benchmark::DoNotOptimize(scoreCribbageSquare(std::span<const int, 16>(h.data(), 16), h[16]).total());
        i = (i + 1) & 4095;
    }
    // Eight hands per square.
    state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(BM_CribbageSquare);

} // namespace
