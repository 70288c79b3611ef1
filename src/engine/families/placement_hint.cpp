// Sampled-future hints of the placement games: candidate cells compared by greedy playouts over random orders of the unseen cards.
#include "engine/families/placement_hint.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#include "engine/card.h"
#include "engine/families/cribbage_hands.h"
#include "engine/families/poker_hands.h"

namespace cw::engine {
namespace {

// A small fast generator for the futures (splitmix64); the engine's own generator is part of
// what players see and is not used here.
class FutureRandom {
public:
    explicit FutureRandom(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>((next() >> 32) * static_cast<std::uint64_t>(n) >> 32); }

private:
    std::uint64_t state_;
};

// A square grid game: side x side cells, each row and column a line.
template <int Side>
struct Square {
    static constexpr int kCells = Side * Side;
    static constexpr int kLines = 2 * Side;
    static constexpr int rowOf(int cell) { return cell / Side; }
    static constexpr int columnOf(int cell) { return Side + cell % Side; }
    static std::array<int, Side> line(const std::array<int, kCells>& g, int l)
    {
        std::array<int, Side> out{};
        for (int i = 0; i < Side; ++i)
            out[static_cast<std::size_t>(i)] =
                g[static_cast<std::size_t>(l < Side ? l * Side + i : i * Side + (l - Side))];
        return out;
    }
};

// ---- Poker squares ----

using PokerSquare = Square<kPokerGridSide>;

// What a partial poker line is worth to a player who fills it well, in quarter points: the hand
// it already holds and what it may still become. Five cards: the hand's points. The weights were
// tuned by playing thousands of random deals with the greedy player alone (mean 78 -> 114).
int pokerLineValue(const std::array<int, 5>& cards)
{
    int k = 0, counts[14] = {};
    unsigned ranks = 0, suits = 0;
    for (int code : cards) {
        if (code <= 0 || code > kLastDeckCard)
            continue;
        ++k;
        const int r = rank(code);
        ++counts[r];
        ranks |= 1u << r;
        suits |= 1u << suit(code);
    }
    if (k == 5)
        return pokerPoints(evaluatePokerHand(cards)) * 4;
    if (k == 0)
        return 0;
    int pairs = 0, trips = 0, quads = 0;
    for (int r = 1; r <= 13; ++r) {
        pairs += counts[r] == 2;
        trips += counts[r] == 3;
        quads += counts[r] == 4;
    }
    // Values in quarter points.
    if (quads)
        return 200;
    if (trips && pairs)
        return 100;
    if (trips)
        return 56;
    if (pairs == 2)
        return 45;
    if (pairs == 1)
        return k == 2 ? 14 : (k == 3 ? 18 : 10);
    // Distinct ranks: a flush and a straight may still come.
    int value = 0;
    const bool oneSuit = std::popcount(suits) == 1;
    static constexpr int kFlush[5] = {0, 3, 10, 24, 44};
    if (oneSuit)
        value += kFlush[k];
    // A straight needs the ranks inside a window of five ranks; an Ace stands at either end.
    const bool ace = (ranks & 2u) != 0;
    const unsigned others = ranks & ~2u;
    bool window = false;
    for (int lo = 1; lo <= 10 && !window; ++lo)
        window = (others & ~(0x1Fu << lo)) == 0 && (!ace || lo == 1 || lo == 10);
    static constexpr int kStraight[5] = {0, 0, 2, 4, 14};
    if (window)
        value += kStraight[k];
    if (oneSuit && window)
        value += kStraight[k] * 6 / 10;
    return value;
}

// ---- Cribbage square ----

using CribbageGrid = Square<kCribbageSquareSide>;

// A partial cribbage line: the points its cards already make without a starter, and a little
// for a flush that may still come. Four cards are scored by the starter at the end.
int cribbageLineValue(const std::array<int, 4>& cards)
{
    int k = 0;
    unsigned suits = 0;
    for (int code : cards)
        if (code > 0) {
            ++k;
            suits |= 1u << suit(code);
        }
    std::array<int, 4> hand{};
    for (std::size_t i = 0; i < 4; ++i)
        hand[i] = cards[i] > 0 ? cards[i] : kNoCard;
    int value = 4 * scoreCribbageHand(CribbageKind::Hand, hand, kNoCard).total();
    static constexpr int kFlush[5] = {0, 0, 2, 5, 0};
    if (k >= 2 && k < 4 && std::popcount(suits) == 1)
        value += kFlush[k];
    for (int code : cards)
        if (code > 0 && (rank(code) == 5))
            value += 2; // a Five makes fifteens with every picture card the starter may bring
    return value;
}

template <class Game>
struct LineRules;

template <>
struct LineRules<PokerSquare> {
    static int lineValue(const std::array<int, 5>& l) { return pokerLineValue(l); }
    static int finalScore(const std::array<int, PokerSquare::kCells>& g, const int*) { return scorePokerGrid(g).total; }
    static constexpr int kExtraCards = 0; // no starter
};

template <>
struct LineRules<CribbageGrid> {
    static int lineValue(const std::array<int, 4>& l) { return cribbageLineValue(l); }
    static int finalScore(const std::array<int, CribbageGrid::kCells>& g, const int* starter)
    {
        return scoreCribbageSquare(g, starter ? *starter : kNoCard).total();
    }
    static constexpr int kExtraCards = 1; // the starter
};

template <class Game>
class Placer {
public:
    using Grid = std::array<int, Game::kCells>;

    explicit Placer(std::span<const int> grid)
    {
        for (std::size_t i = 0; i < grid_.size() && i < grid.size(); ++i)
            grid_[i] = grid[i] > 0 && grid[i] <= kLastDeckCard ? grid[i] : 0;
        for (int l = 0; l < Game::kLines; ++l)
            values_[static_cast<std::size_t>(l)] = LineRules<Game>::lineValue(Game::line(grid_, l));
    }

    const Grid& grid() const { return grid_; }
    bool full() const
    {
        return std::none_of(grid_.begin(), grid_.end(), [](int c) { return c == 0; });
    }

    // The empty cells ordered by how much their row and column gain by the card, best first
    // (the first cell on ties).
    std::vector<int> rankedCells(int card) const
    {
        std::vector<std::pair<int, int>> gains;
        for (int cell = 0; cell < Game::kCells; ++cell)
            if (grid_[static_cast<std::size_t>(cell)] == 0)
                gains.emplace_back(-gainAt(cell, card), cell);
        std::stable_sort(gains.begin(), gains.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<int> cells;
        for (const auto& g : gains)
            cells.push_back(g.second);
        return cells;
    }

    // The empty cell whose row and column gain the most by the card; the first one on ties.
    int greedyCell(int card) const
    {
        int best = -1, bestGain = 0;
        for (int cell = 0; cell < Game::kCells; ++cell) {
            if (grid_[static_cast<std::size_t>(cell)] != 0)
                continue;
            const int gain = gainAt(cell, card);
            if (best < 0 || gain > bestGain) {
                best = cell;
                bestGain = gain;
            }
        }
        return best;
    }

    void place(int cell, int card)
    {
        grid_[static_cast<std::size_t>(cell)] = card;
        for (int l : {Game::rowOf(cell), Game::columnOf(cell)})
            values_[static_cast<std::size_t>(l)] = LineRules<Game>::lineValue(Game::line(grid_, l));
    }

private:
    int gainAt(int cell, int card) const
    {
        Grid g = grid_;
        g[static_cast<std::size_t>(cell)] = card;
        int gain = 0;
        for (int l : {Game::rowOf(cell), Game::columnOf(cell)})
            gain += LineRules<Game>::lineValue(Game::line(g, l)) - values_[static_cast<std::size_t>(l)];
        return gain;
    }

    Grid grid_{};
    std::array<int, Game::kLines> values_{};
};

constexpr std::size_t kCandidates = 6;

template <class Game>
int bestCell(const PlacementQuestion& q)
{
    const Placer<Game> start(q.grid);
    std::vector<int> empty = start.rankedCells(q.card);
    if (empty.empty())
        return -1;
    const int needed = static_cast<int>(empty.size()) - 1 + LineRules<Game>::kExtraCards;
    // Only the cells the greedy player likes best are played out: with a few dozen futures a
    // long list of candidates mostly finds the one that was lucky.
    if (empty.size() > kCandidates)
        empty.resize(kCandidates);
    if (empty.size() == 1)
        return empty.front();
    std::vector<int> pool(q.unseen.begin(), q.unseen.end());
    std::erase_if(pool, [&](int c) { return c <= 0 || c == q.card; });
    if (static_cast<int>(pool.size()) < needed)
        return empty.front();

    FutureRandom random(q.seed);
    std::vector<long> totals(empty.size(), 0);
    const int samples = std::max(q.samples, 1);
    for (int s = 0; s < samples; ++s) {
        // One future: the first `needed` cards of a random order of the pool.
        for (int i = 0; i < needed; ++i)
            std::swap(pool[static_cast<std::size_t>(i)],
                      pool[static_cast<std::size_t>(i + random.below(static_cast<int>(pool.size()) - i))]);
        for (std::size_t c = 0; c < empty.size(); ++c) {
            Placer<Game> p = start;
            p.place(empty[c], q.card);
            int next = 0;
            while (!p.full()) {
                const int card = pool[static_cast<std::size_t>(next++)];
                p.place(p.greedyCell(card), card);
            }
            const int* extra = LineRules<Game>::kExtraCards ? &pool[static_cast<std::size_t>(next)] : nullptr;
            totals[c] += LineRules<Game>::finalScore(p.grid(), extra);
        }
    }
    const auto best = std::max_element(totals.begin(), totals.end());
    return empty[static_cast<std::size_t>(best - totals.begin())];
}

} // namespace

int bestPokerSquaresCell(const PlacementQuestion& q) { return bestCell<PokerSquare>(q); }
int bestCribbageSquareCell(const PlacementQuestion& q) { return bestCell<CribbageGrid>(q); }
int greedyPokerSquaresCell(std::span<const int> grid, int card) { return Placer<PokerSquare>(grid).greedyCell(card); }
int greedyCribbageSquareCell(std::span<const int> grid, int card)
{
    return Placer<CribbageGrid>(grid).greedyCell(card);
}

} // namespace cw::engine
