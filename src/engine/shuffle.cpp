// The shuffle by game number. Every constant and every step order here is frozen: changing any
// of them renumbers every deal of every game.
#include "engine/shuffle.h"

#include <algorithm>

#include "catalog/rules.h"
#include "engine/card.h"

namespace cw::engine {

namespace {

// Suit table: 13 rows of 16 suits; entries 1-4 serve deck 1, 5-8 deck 2, 9-12 deck 3, 13-16
// deck 4; each group of four is a permutation of the suits 1-4.
constexpr int kSuitTable[13][16] = {
    {4, 2, 3, 1, 4, 2, 1, 3, 1, 2, 4, 3, 3, 2, 1, 4}, {1, 3, 2, 4, 4, 3, 2, 1, 3, 2, 4, 1, 4, 2, 3, 1},
    {2, 4, 3, 1, 3, 4, 1, 2, 4, 3, 1, 2, 3, 2, 4, 1}, {3, 4, 2, 1, 2, 3, 1, 4, 2, 1, 4, 3, 1, 3, 4, 2},
    {4, 2, 3, 1, 1, 3, 4, 2, 3, 1, 2, 4, 2, 4, 3, 1}, {1, 4, 2, 3, 4, 1, 2, 3, 1, 2, 4, 3, 4, 3, 1, 2},
    {2, 1, 3, 4, 3, 1, 2, 4, 2, 3, 4, 1, 2, 1, 3, 4}, {3, 2, 1, 4, 2, 4, 1, 3, 4, 1, 2, 3, 1, 4, 3, 2},
    {4, 3, 1, 2, 1, 2, 3, 4, 1, 3, 4, 2, 2, 4, 3, 1}, {2, 1, 4, 3, 4, 2, 1, 3, 4, 3, 1, 2, 4, 1, 2, 3},
    {3, 1, 4, 2, 1, 2, 4, 3, 2, 4, 3, 1, 3, 1, 4, 2}, {3, 2, 4, 1, 1, 4, 3, 2, 1, 4, 3, 2, 4, 3, 1, 2},
    {2, 3, 4, 1, 4, 1, 3, 2, 1, 3, 2, 4, 2, 4, 3, 1},
};

// Step table: 10 rows, one per digit, of 16 position increments.
constexpr int kStepTable[10][16] = {
    {25, 18, 13, 22, 21, 20, 15, 15, 19, 20, 11, 30, 12, 25, 35, 41},
    {20, 19, 12, 13, 18, 18, 23, 17, 11, 20, 15, 25, 28, 34, 21, 10},
    {30, 21, 19, 19, 13, 22, 20, 18, 25, 31, 14, 10, 40, 32, 10, 15},
    {51, 16, 14, 18, 21, 21, 17, 19, 24, 10, 23, 15, 21, 11, 16, 32},
    {18, 19, 19, 23, 13, 16, 15, 20, 12, 15, 19, 25, 30, 24, 26, 10},
    {17, 21, 14, 19, 19, 16, 18, 17, 25, 35, 14, 18, 17, 26, 12, 15},
    {48, 16, 13, 14, 19, 20, 20, 16, 15, 26, 32, 24, 30, 15, 12, 11},
    {11, 21, 21, 23, 17, 18, 22, 20, 32, 16, 18, 20, 21, 27, 18, 12},
    {22, 16, 13, 13, 19, 17, 22, 13, 30, 15, 21, 23, 23, 14, 11, 12},
    {24, 13, 20, 21, 21, 14, 15, 22, 16, 21, 18, 23, 17, 15, 18, 22},
};

// Brings a running position back into the array: past the end wraps, below zero clamps.
int wrapPosition(int y, int n)
{
    if (y >= n)
        return y % n;
    if (y < 0)
        return 0;
    return y;
}

int firstFreeFrom(const std::vector<int>& slots, int from)
{
    for (int i = std::max(from, 0); i < static_cast<int>(slots.size()); ++i)
        if (slots[static_cast<std::size_t>(i)] == 0)
            return i;
    return -1;
}

int lastFreeDownFrom(const std::vector<int>& slots, int from)
{
    for (int i = std::min(from, static_cast<int>(slots.size()) - 1); i >= 0; --i)
        if (slots[static_cast<std::size_t>(i)] == 0)
            return i;
    return -1;
}

} // namespace

std::array<int, 13> gameNumberDigits(std::string_view gameNumber)
{
    while (!gameNumber.empty() && gameNumber.back() == ' ')
        gameNumber.remove_suffix(1);
    std::array<int, 13> d{};
    const std::size_t take = std::min<std::size_t>(gameNumber.size(), 13);
    const std::string_view tail = gameNumber.substr(gameNumber.size() - take);
    for (std::size_t i = 0; i < take; ++i) {
        const char c = tail[i];
        d[13 - take + i] = (c >= '0' && c <= '9') ? c - '0' : 0;
    }
    return d;
}

ShuffleInput ShuffleInput::fromRules(const catalog::Rules& rules)
{
    ShuffleInput in;
    in.cards = rules.cardsInPlay();
    in.jokers = rules.jokers() == 1;
    in.jokerCount = rules.jokerCount();
    in.reduced = rules.reducedPack();
    return in;
}

ShuffleResult fnGameNumberCardsArray(std::string_view gameNumber, const ShuffleInput& in)
{
    ShuffleResult result;
    const int jokerSlots = in.jokers ? std::max(in.jokerCount, 0) : 0;
    const int n = std::max(in.cards, 0) + jokerSlots;
    std::vector<int>& slots = result.cards;
    slots.assign(static_cast<std::size_t>(n), 0);

    int perStep = 0;
    if (in.cards <= 52)
        perStep = 4;
    else if (in.cards == 104)
        perStep = 8;
    else if (in.cards == 156)
        perStep = 12;
    else if (in.cards == 208)
        perStep = 16;
    else
        result.badCardCount = true;
    if (n == 0)
        return result;

    // D[1..13] of the description is digits[0..12] here.
    const std::array<int, 13> D = gameNumberDigits(gameNumber);
    int y = D[1] * 100 + D[5] * 10 + D[11];

    if (in.jokers) {
        int a = y;
        for (int j = 1; j <= std::min(jokerSlots, 4); ++j) {
            a = wrapPosition(a + kStepTable[D[0]][j - 1], n);
            int slot = firstFreeFrom(slots, a);
            if (slot < 0)
                slot = firstFreeFrom(slots, 0);
            if (slot >= 0)
                slots[static_cast<std::size_t>(slot)] = kLastDeckCard + j;
        }
    }

    std::vector<int> ranks{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    int p1 = 1, p2 = 7, p3 = 13;
    auto digit = [&](int i) { return D[static_cast<std::size_t>(i - 1)]; }; // 1-based
    for (int s = 1; s <= 13; ++s) {
        const int d = digit(s);
        const bool forward = d == 0;

        // Nine digits of the number, chosen by the step, pick the suit row.
        long long key = 0;
        auto addDigit = [&](int i) { key = key * 10 + digit(i); };
        if (s <= 10) {
            for (int i = 1; i <= s - 1; ++i)
                addDigit(i);
            for (int i = s + 4; i <= 13; ++i)
                addDigit(i);
        } else {
            for (int i = s - 8; i <= s; ++i) // 11: 3-11, 12: 4-12, 13: 5-13
                addDigit(i);
        }
        const int row = static_cast<int>(key % 13);

        int r = (digit(p1) * 100 + digit(p2) * 10 + digit(p3)) % 13;
        const int last = static_cast<int>(ranks.size()) - 1;
        if (r > last)
            r = forward ? last : 0;
        const int rankValue = ranks[static_cast<std::size_t>(r)];
        ranks.erase(ranks.begin() + r);

        p1 = p1 + 1 == 14 ? 1 : p1 + 1;
        p2 = p2 + 1 == 14 ? 1 : p2 + 1;
        p3 = p3 + 1 == 14 ? 1 : p3 + 1;

        y -= d;
        for (int j = 1; j <= perStep; ++j) {
            y = wrapPosition(y + kStepTable[d][j - 1], n);
            const int code = (kSuitTable[row][j - 1] - 1) * 13 + rankValue + 52 * ((j - 1) / 4);
            if (slots[static_cast<std::size_t>(y)] == 0) {
                slots[static_cast<std::size_t>(y)] = code;
                continue;
            }
            int slot = forward ? firstFreeFrom(slots, y) : lastFreeDownFrom(slots, y);
            if (slot < 0)
                slot = firstFreeFrom(slots, 0);
            if (slot >= 0) {
                slots[static_cast<std::size_t>(slot)] = code;
                y = slot;
            }
        }
    }

    if (in.reduced == 1 || in.reduced == 2) {
        std::erase_if(slots, [&](int code) {
            const int r = rank(code);
            return (r >= 2 && r <= 6) || (in.reduced == 2 && r == 13);
        });
    }
    return result;
}

} // namespace cw::engine
