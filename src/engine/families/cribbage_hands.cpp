// The cribbage hand scorer, the square scoring and the deals-remaining count (the scorer runs inside the hint's sampling).
#include "engine/families/cribbage_hands.h"

#include <bit>
#include <cstdint>

#include "engine/card.h"

namespace cw::engine {
namespace {

constexpr int kJack = 11;

bool isDeckCard(int code) { return code >= 1 && code <= kLastDeckCard; }

// Rank and suit of every deck card, looked up instead of divided out: the scorer runs
// millions of times inside the hint's sampling.
struct CardFacts {
    std::array<std::int8_t, kLastDeckCard + 1> rank{};
    std::array<std::int8_t, kLastDeckCard + 1> suit{};
};
constexpr CardFacts makeFacts()
{
    CardFacts f;
    for (int code = 1; code <= kLastDeckCard; ++code) {
        f.rank[static_cast<std::size_t>(code)] = static_cast<std::int8_t>(cw::engine::rank(code));
        f.suit[static_cast<std::size_t>(code)] = static_cast<std::int8_t>(cw::engine::suit(code));
    }
    return f;
}
constexpr CardFacts kFacts = makeFacts();

// Runs over the present ranks (bit r of `ranks`) and their counts: the longest stretch of
// present ranks, when it is three or more long, scores its length once per way of picking one
// card of each rank. With at most five cards there is never a second stretch of three.
int runPoints(unsigned ranks, const int (&counts)[16])
{
    // Bits that start a stretch of three present ranks.
    if ((ranks & (ranks >> 1) & (ranks >> 2)) == 0)
        return 0;
    int best = 0;
    for (int r = std::countr_zero(ranks); r <= 13;) {
        int length = 0, ways = 1;
        for (; r <= 13 && counts[r] > 0; ++r) {
            ++length;
            ways *= counts[r];
        }
        if (length >= 3)
            best += length * ways;
        const unsigned rest = ranks >> r;
        if (rest == 0)
            break;
        r += std::countr_zero(rest);
    }
    return best;
}

} // namespace

CribbageScore scoreCribbageHand(CribbageKind kind, std::span<const int, 4> hand, int starter)
{
    CribbageScore s;
    const bool haveStarter = isDeckCard(starter);
    int ranks[5];
    int suits[5];
    int n = 0;
    for (int code : hand)
        if (isDeckCard(code)) {
            ranks[n] = kFacts.rank[static_cast<std::size_t>(code)];
            suits[n++] = kFacts.suit[static_cast<std::size_t>(code)];
        }
    const int handCards = n;
    if (haveStarter) {
        ranks[n] = kFacts.rank[static_cast<std::size_t>(starter)];
        suits[n++] = kFacts.suit[static_cast<std::size_t>(starter)];
    }

    int counts[16] = {};
    unsigned present = 0;
    // sums[m]: the count values of the set of cards m (bit i for card i) add up to this.
    int sums[32];
    sums[0] = 0;
    int fifteens = 0;
    for (int i = 0; i < n; ++i) {
        const int r = ranks[i];
        s.pair += 2 * counts[r];
        ++counts[r];
        present |= 1u << r;
        const int v = r > 10 ? 10 : r;
        const int first = 1 << i;
        for (int m = 0; m < first; ++m) {
            sums[first + m] = sums[m] + v;
            fifteens += sums[first + m] == 15;
        }
    }
    s.fifteen = 2 * fifteens;
    s.run = runPoints(present, counts);

    if (handCards == 4 && suits[1] == suits[0] && suits[2] == suits[0] && suits[3] == suits[0]) {
        if (haveStarter && suits[4] == suits[0])
            s.flush = 5;
        else
            s.flush = kind == CribbageKind::Hand ? 4 : 0;
    }
    if (haveStarter) {
        const int starterSuit = suits[handCards];
        for (int i = 0; i < handCards; ++i)
            if (ranks[i] == kJack && suits[i] == starterSuit) {
                s.nobs = 1;
                break;
            }
        if (kind == CribbageKind::Hand && ranks[handCards] == kJack)
            s.nobs += 2;
    }
    return s;
}

CribbageScore CribbageSquareScore::sum() const
{
    CribbageScore all;
    auto add = [&](const CribbageScore& h) {
        all.fifteen += h.fifteen;
        all.pair += h.pair;
        all.run += h.run;
        all.flush += h.flush;
        all.nobs += h.nobs;
    };
    for (const auto& h : rows)
        add(h);
    for (const auto& h : columns)
        add(h);
    return all;
}

CribbageSquareScore scoreCribbageSquare(std::span<const int, kCribbageSquareCells> cells, int starter)
{
    CribbageSquareScore out;
    const int bonus = isDeckCard(starter) && rank(starter) == kJack ? 2 : 0;
    for (int i = 0; i < kCribbageSquareSide; ++i) {
        const std::array<int, 4> row = {cells[4 * i], cells[4 * i + 1], cells[4 * i + 2], cells[4 * i + 3]};
        const std::array<int, 4> column = {cells[i], cells[i + 4], cells[i + 8], cells[i + 12]};
        CribbageScore& r = out.rows[static_cast<std::size_t>(i)];
        r = scoreCribbageHand(CribbageKind::Hand, row, starter);
        if (i > 0)
            r.nobs -= bonus;
        CribbageScore& c = out.columns[static_cast<std::size_t>(i)];
        c = scoreCribbageHand(CribbageKind::Hand, column, starter);
        c.nobs = 0;
    }
    return out;
}

std::string cribbageDealsRemaining(int n)
{
    if (n >= 44)
        return "6";
    if (n >= 36)
        return "5";
    if (n >= 28)
        return "4";
    if (n >= 20)
        return "3";
    if (n >= 12)
        return "2";
    return n >= 4 ? "1" : "0";
}

} // namespace cw::engine
