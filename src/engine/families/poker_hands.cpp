// The poker hand evaluator and the grid's line scoring (runs inside the hint's sampling, so it stays branch-light).
#include "engine/families/poker_hands.h"

#include <bit>

#include "engine/card.h"

namespace cw::engine {

int pokerPoints(PokerHand hand)
{
    // clang-format off
    switch (hand) {
    case PokerHand::RoyalFlush:    return 100;
    case PokerHand::StraightFlush: return 75;
    case PokerHand::FourOfAKind:   return 50;
    case PokerHand::FullHouse:     return 25;
    case PokerHand::Flush:         return 20;
    case PokerHand::Straight:      return 15;
    case PokerHand::ThreeOfAKind:  return 10;
    case PokerHand::TwoPair:       return 5;
    case PokerHand::OnePair:       return 2;
    case PokerHand::Nothing:       return 0;
    }
    // clang-format on
    return 0;
}

std::string_view pokerHandName(PokerHand hand)
{
    // clang-format off
    switch (hand) {
    case PokerHand::RoyalFlush:    return "Royal Flush";
    case PokerHand::StraightFlush: return "Straight Flush";
    case PokerHand::FourOfAKind:   return "Four of a Kind";
    case PokerHand::FullHouse:     return "Full House";
    case PokerHand::Flush:         return "Flush";
    case PokerHand::Straight:      return "Straight";
    case PokerHand::ThreeOfAKind:  return "Three of a Kind";
    case PokerHand::TwoPair:       return "Two Pair";
    case PokerHand::OnePair:       return "One Pair";
    case PokerHand::Nothing:       return {};
    }
    // clang-format on
    return {};
}

namespace {

// Rank sets as bit masks (bit r for rank r, Ace = 1).
constexpr unsigned bits(std::initializer_list<int> ranks)
{
    unsigned m = 0;
    for (int r : ranks)
        m |= 1u << r;
    return m;
}
constexpr unsigned kBroadway = bits({1, 10, 11, 12, 13});
constexpr unsigned kCornerRuns[] = {bits({1, 2, 11, 12, 13}), bits({1, 2, 3, 12, 13}), bits({1, 2, 3, 4, 13})};

// Five distinct ranks in a row: the mask is five adjacent bits.
constexpr bool isFiveInARow(unsigned mask)
{
    const unsigned low = mask & (0u - mask);
    return mask == low * 0x1Fu;
}

} // namespace

PokerHand evaluatePokerHand(std::span<const int, 5> cards)
{
    unsigned mask = 0;
    int counts[14] = {};
    const int firstSuit = suit(cards[0]);
    bool oneSuit = true;
    for (int code : cards) {
        if (code < 1 || code > kLastDeckCard)
            return PokerHand::Nothing;
        const int r = rank(code);
        mask |= 1u << r;
        ++counts[r];
        oneSuit = oneSuit && suit(code) == firstSuit;
    }
    const bool distinct = std::popcount(mask) == 5;
    if (oneSuit) {
        // With more than one deck a suit can hold a pair; such a hand is only a flush.
        if (distinct && mask == kBroadway)
            return PokerHand::RoyalFlush;
        if (distinct && isFiveInARow(mask))
            return PokerHand::StraightFlush;
        for (unsigned corner : kCornerRuns)
            if (distinct && mask == corner)
                return PokerHand::StraightFlush;
        return PokerHand::Flush;
    }
    if (distinct)
        return (mask == kBroadway || isFiveInARow(mask)) ? PokerHand::Straight : PokerHand::Nothing;
    int pairs = 0, triples = 0;
    for (int r = 1; r <= 13; ++r) {
        if (counts[r] >= 4)
            return PokerHand::FourOfAKind;
        pairs += counts[r] == 2;
        triples += counts[r] == 3;
    }
    if (triples && pairs)
        return PokerHand::FullHouse;
    if (triples)
        return PokerHand::ThreeOfAKind;
    if (pairs == 2)
        return PokerHand::TwoPair;
    return pairs == 1 ? PokerHand::OnePair : PokerHand::Nothing;
}

std::array<int, kPokerGridSide> pokerLineCells(int line)
{
    std::array<int, kPokerGridSide> cells{};
    for (int i = 0; i < kPokerGridSide; ++i)
        cells[static_cast<std::size_t>(i)] =
            line < kPokerGridSide ? line * kPokerGridSide + i : i * kPokerGridSide + (line - kPokerGridSide);
    return cells;
}

PokerGridScore scorePokerGrid(std::span<const int, kPokerGridCells> grid)
{
    PokerGridScore score;
    for (int line = 0; line < kPokerLines; ++line) {
        std::array<int, kPokerGridSide> hand{};
        bool complete = true;
        const auto cells = pokerLineCells(line);
        for (int i = 0; i < kPokerGridSide; ++i) {
            hand[static_cast<std::size_t>(i)] = grid[static_cast<std::size_t>(cells[static_cast<std::size_t>(i)])];
            complete = complete && hand[static_cast<std::size_t>(i)] > 0;
        }
        PokerLine& out = score.lines[static_cast<std::size_t>(line)];
        out.complete = complete;
        if (!complete)
            continue;
        out.hand = evaluatePokerHand(hand);
        out.points = pokerPoints(out.hand);
        score.total += out.points;
    }
    return score;
}

std::vector<PokerAnnouncement> announcePlacement(std::span<const int, kPokerGridCells> grid, int cell,
                                                 int previousTotal)
{
    std::vector<PokerAnnouncement> out;
    if (cell < 0 || cell >= kPokerGridCells)
        return out;
    const PokerGridScore after = scorePokerGrid(grid);
    int running = previousTotal;
    for (int line : {cell / kPokerGridSide, kPokerGridSide + cell % kPokerGridSide}) {
        const PokerLine& l = after.lines[static_cast<std::size_t>(line)];
        if (!l.complete || l.points == 0)
            continue;
        running += l.points;
        out.push_back({pokerLineCells(line), l.hand, l.points, running});
    }
    return out;
}

std::string pokerBoxText(const PokerAnnouncement* hand, int total)
{
    const std::string sum = "Total: " + std::to_string(total) + " points";
    if (!hand)
        return sum;
    return std::string(pokerHandName(hand->hand)) + "\n" + std::to_string(hand->points) + " points\n" + sum;
}

} // namespace cw::engine
