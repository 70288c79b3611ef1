// The selection families' availability, validity and completion tests.
#include "engine/families/selection_rules.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <type_traits>

#include "engine/families/family_cards.h"

namespace cw::engine::families {
namespace {

SetCheck partial() { return {SetState::Partial, {}, false}; }
SetCheck complete() { return {SetState::Complete, {}, false}; }

// Whether the refusals are worded (the status bar) or only decided (the move generator, which
// asks thousands of times and reads no reason).
thread_local bool explaining = true;

template <typename Why>
SetCheck refused(Why why)
{
    if (!explaining)
        return {SetState::Refused, {}, false};
    if constexpr (std::is_convertible_v<Why, std::string>)
        return {SetState::Refused, std::string(why), false};
    else
        return {SetState::Refused, why(), false};
}

int total(std::span<const int> codes)
{
    int s = 0;
    for (int c : codes)
        s += cardValue(c);
    return s;
}

std::string notTarget(std::span<const int> codes, int target)
{
    return sumText(codes) + ", not " + std::to_string(target);
}
std::string moreThan(std::span<const int> codes, int target)
{
    return sumText(codes) + ", more than " + std::to_string(target);
}
std::string notSameRank(int a, int b) { return rankWord(a) + " and " + rankWord(b) + " are not of the same rank"; }

// Where each selected card lies, in click order.
struct Spots {
    std::array<CardSpot, kMaxSelection> at{};
    int size = 0;
};

// Where every selected card lies; false when one of them lies nowhere.
bool spotsOf(const catalog::Rules& rules, const Table& table, std::span<const int> codes, Spots& out)
{
    out.size = 0;
    for (int c : codes) {
        const CardSpot s = findCard(rules, table, c, true);
        if (!s.found() || out.size >= kMaxSelection)
            return false;
        out.at[static_cast<std::size_t>(out.size++)] = s;
    }
    return true;
}

// Up to two cards adding up to target; a single card worth the target completes alone when
// singleCompletes is set.
SetCheck pairSum(std::span<const int> codes, int target, bool singleCompletes)
{
    if (codes.size() == 1) {
        const int v = cardValue(codes[0]);
        if (v == target && singleCompletes)
            return complete();
        if (v >= target)
            return refused([&] { return rankWord(codes[0]) + " cannot be part of a " + std::to_string(target); });
        return partial();
    }
    if (codes.size() != 2)
        return refused("only two cards at a time");
    if (singleCompletes && (cardValue(codes[0]) == target || cardValue(codes[1]) == target))
        return refused([&] { return rankWord(cardValue(codes[0]) == target ? codes[0] : codes[1]) + " goes alone"; });
    return total(codes) == target ? complete() : refused([&] { return notTarget(codes, target); });
}

// Any number of cards adding up to target.
SetCheck openSum(std::span<const int> codes, int target)
{
    const int s = total(codes);
    if (target <= 0)
        return refused("no target total");
    if (s == target)
        return complete();
    return s < target ? partial() : refused([&] { return moreThan(codes, target); });
}

SetCheck sameRankPair(std::span<const int> codes)
{
    if (codes.size() == 1)
        return partial();
    if (codes.size() != 2)
        return refused("only two cards at a time");
    return rank(codes[0]) == rank(codes[1]) ? complete() : refused([&] { return notSameRank(codes[0], codes[1]); });
}

// Number cards adding up to pairTarget (two of them), or the face-card group: one card of each
// of the ranks from groupFirst to King. loneRank (0: none) is a number card that leaves alone.
SetCheck pairsOrGroup(std::span<const int> codes, int pairTarget, int numberTop, int groupFirst, int loneRank)
{
    const bool group = cardValue(codes[0]) >= groupFirst;
    std::array<bool, 14> seen{};
    for (int c : codes) {
        const int v = cardValue(c);
        if ((v >= groupFirst) != group)
            return refused([&] { return rankWord(codes[0]) + " and " + rankWord(c) + " do not go together"; });
        if (!group && v > numberTop)
            return refused([&] { return rankWord(c) + " does not pair"; });
        if (group) {
            if (seen[static_cast<std::size_t>(v)])
                return refused([&] { return "one " + rankWord(c) + " only"; });
            seen[static_cast<std::size_t>(v)] = true;
        }
    }
    if (group)
        return static_cast<int>(codes.size()) == 14 - groupFirst ? complete() : partial();
    if (codes.size() == 1 && loneRank != 0 && cardValue(codes[0]) == loneRank)
        return complete();
    return pairSum(codes, pairTarget, false);
}

// Family 1: number cards (Ace to 9) adding up to the target, at most two when it is 10; cards
// from Ten up only in fours of their own rank.
SetCheck tensAndFifteens(std::span<const int> codes, int target)
{
    const bool high = cardValue(codes[0]) >= 10;
    for (int c : codes)
        if ((cardValue(c) >= 10) != high || (high && rank(c) != rank(codes[0])))
            return refused("Tens, Jacks, Queens and Kings go only in fours of one rank");
    if (high)
        return codes.size() == 4 ? complete() : partial();
    if (target == 10)
        return pairSum(codes, 10, false);
    return openSum(codes, target);
}

// Family 18: a single Ace, or one face card with three number cards adding up to 18.
SetCheck eighteens(std::span<const int> codes)
{
    if (codes.size() == 1 && cardValue(codes[0]) == 1)
        return complete();
    int faces = 0, numbers = 0, sum = 0;
    for (int c : codes) {
        if (isFaceCard(c)) {
            ++faces;
        } else {
            ++numbers;
            sum += cardValue(c);
        }
    }
    if (faces > 1)
        return refused("one face card only");
    if (numbers > 3)
        return refused("three number cards and one face card");
    if (sum > 18)
        return refused([&] { return moreThan(codes, 18); });
    const int left = 3 - numbers;
    if (sum + left > 18 || sum + 10 * left < 18)
        return refused("the number cards cannot reach 18");
    return faces == 1 && numbers == 3 ? complete() : partial();
}

// Family 41: number cards whose total equals the total of the selected face cards (11, 12, 13,
// the face total below 14: one face card).
SetCheck courtSum(std::span<const int> codes)
{
    int faces = 0, numbers = 0;
    for (int c : codes)
        (isFaceCard(c) ? faces : numbers) += cardValue(c);
    if (faces >= 14)
        return refused("one face card at a time");
    const int limit = faces > 0 ? faces : 13;
    if (numbers > limit)
        return refused(
            [&] { return faces > 0 ? moreThan(codes, faces) : "the number cards add up to more than a King"; });
    return faces > 0 && numbers == faces ? complete() : partial();
}

// Family 85: three cards of consecutive ranks in click order, King followed by Ace.
SetCheck tripleRun(std::span<const int> codes)
{
    for (std::size_t i = 1; i < codes.size(); ++i) {
        const int want = rank(codes[i - 1]) % 13 + 1;
        if (rank(codes[i]) != want)
            return refused([&] { return rankWord(codes[i]) + " does not follow " + rankWord(codes[i - 1]); });
    }
    if (codes.size() > 3)
        return refused("three cards at a time");
    return codes.size() == 3 ? complete() : partial();
}

// Two cards on grid piles that must stand in a given relation; the values decide afterwards.
template <typename Near>
SetCheck onGrid(const Spots& spots, Near near, const char* apart, SetCheck values)
{
    const CardSpot& a = spots.at[0];
    const CardSpot& b = spots.at[1];
    if (spots.size == 2 && values.state != SetState::Refused &&
        !(a.pile.kind == PileKind::Tableau && b.pile.kind == PileKind::Tableau && near(a.pile.index, b.pile.index)))
        return refused([&] { return apart; });
    return values;
}

bool suitOrRank(int a, int b) { return suit(a) == suit(b) || rank(a) == rank(b); }

// Row positions of the selected cards, in click order.
struct RowAt {
    std::array<int, kMaxSelection> at{};
    int size = 0;
    int operator[](int i) const { return at[static_cast<std::size_t>(i)]; }
};

// Row positions of the selected cards; false when one is not in the row.
bool rowIndexes(const RowCards& row, std::span<const int> codes, RowAt& out)
{
    out.size = 0;
    for (int c : codes) {
        const int i = row.indexOf(c);
        if (i < 0 || out.size >= kMaxSelection)
            return false;
        out.at[static_cast<std::size_t>(out.size++)] = i;
    }
    return true;
}

// Families 21 and 22: one card, or two neighbouring cards, lying between two cards of the same
// suit or rank. A card that can leave alone leaves at once; one that can leave only with a
// neighbour waits for it.
SetCheck betweenMatches(const RowCards& row, const RowAt& at)
{
    const int n = row.size();
    auto matchAround = [&](int lo, int hi) {
        return lo - 1 >= 0 && hi + 1 < n && suitOrRank(row[lo - 1].code, row[hi + 1].code);
    };
    if (at.size == 1) {
        const int i = at[0];
        if (matchAround(i, i))
            return complete();
        if (matchAround(i, i + 1) || matchAround(i - 1, i))
            return partial();
        return refused("the card does not lie between two cards of the same suit or rank");
    }
    if (at.size != 2)
        return refused("one or two cards at a time");
    if (std::abs(at[0] - at[1]) != 1)
        return refused("the two cards are not neighbours");
    return matchAround(std::min(at[0], at[1]), std::max(at[0], at[1]))
               ? complete()
               : refused("the cards do not lie between two cards of the same suit or rank");
}

// The selected row positions form one unbroken stretch of the row.
bool contiguous(RowAt at)
{
    std::sort(at.at.begin(), at.at.begin() + at.size);
    for (int i = 1; i < at.size; ++i)
        if (at[i] != at[i - 1] + 1)
            return false;
    return true;
}

SetCheck rowSet(int family, const catalog::Rules& rules, const Table& table, std::span<const int> codes)
{
    const RowCards row = rowCards(table.tableau(0));
    RowAt at;
    if (!rowIndexes(row, codes, at))
        return refused("the card is not in the row");
    switch (family) {
    case 21:
    case 22: return betweenMatches(row, at);
    case 48: {
        if (at.size == 1)
            return partial();
        if (at.size != 2)
            return refused("two cards at a time");
        const int d = std::abs(at[0] - at[1]);
        if (d != 1 && d != 3)
            return refused("the cards are not neighbours nor three apart");
        return suitOrRank(codes[0], codes[1]) ? complete() : refused("not of the same suit or rank");
    }
    case 70: {
        if (at.size == 2 && std::abs(at[0] - at[1]) != 1)
            return refused("the two cards are not neighbours");
        return pairSum(codes, rules.selectionGame(), true);
    }
    default: break;
    }
    if (!contiguous(at))
        return refused("the cards are not next to each other");
    const int s = total(codes);
    if (family == 55) {
        for (int c : codes)
            if (suit(c) != suit(codes[0]))
                return refused("the cards are not of one suit");
        if (s == 10 || s == 20 || s == 30)
            return complete();
        return s < 30 ? partial() : refused([&] { return sumText(codes) + ", more than 30"; });
    }
    // Family 23: a positive multiple of 7.
    return s > 0 && s % 7 == 0 ? complete() : partial();
}

bool rowFamily(int family)
{
    return family == 21 || family == 22 || family == 23 || family == 48 || family == 55 || family == 70;
}

} // namespace

std::string rankWord(int code)
{
    switch (cardValue(code)) {
    case 1: return "Ace";
    case 11: return "Jack";
    case 12: return "Queen";
    case 13: return "King";
    case 0: return "?";
    default: return std::to_string(cardValue(code));
    }
}

std::string sumText(std::span<const int> codes)
{
    std::string s;
    for (std::size_t i = 0; i < codes.size(); ++i)
        s += (i ? " + " : "") + std::to_string(cardValue(codes[i]));
    return s + " = " + std::to_string(total(codes));
}

bool selectsByClicks(const catalog::Rules& rules)
{
    const int f = rules.specialFamily();
    return rules.selectionGame() != 0 || f == 3 || f == 4 || f == 33 || f == 67 || f == 83;
}

bool pressesAnyPile(int family)
{
    switch (family) {
    case 8:
    case 16:
    case 20:
    case 21:
    case 22:
    case 23:
    case 45:
    case 47:
    case 48:
    case 70:
    case 71:
    case 84: return true;
    default: return false;
    }
}

bool keepsGaps(int family) { return family == 8 || family == 47 || family == 84; }

int selectionLimit(int family)
{
    switch (family) {
    case 3:
    case 4:
    case 67:
    case 33:
    case 8:
    case 84:
    case 21:
    case 22:
    case 25:
    case 14:
    case 16:
    case 71:
    case 75:
    case 45:
    case 57:
    case 81:
    case 7:
    case 48:
    case 70: return 2;
    case 17:
    case 26:
    case 85: return 3;
    case 18:
    case 24: return 4;
    default: return 0; // family 1: fours of a rank, or as many number cards as reach the total
    }
}

SetEffect setEffect(int family)
{
    if (family == 57 || family == 81)
        return SetEffect::Exchange;
    return family == 48 ? SetEffect::Accordion : SetEffect::Discard;
}

bool pyramidOpen(const catalog::Rules& rules, const Table& table, int c, int i)
{
    const int T = tableausInUse(rules);
    if (c < 0 || c >= T)
        return false;
    const Pile& row = table.tableau(c);
    if (i < 0 || static_cast<std::size_t>(i) >= row.size() || row[static_cast<std::size_t>(i)] == 0)
        return false;
    if (c + 1 >= T)
        return true;
    const Pile& next = table.tableau(c + 1);
    auto holds = [&](int j) {
        return j >= 0 && static_cast<std::size_t>(j) < next.size() && next[static_cast<std::size_t>(j)] != 0;
    };
    if (next.size() == row.size() + 1)
        return !holds(i) && !holds(i + 1);
    if (next.size() + 1 == row.size())
        return !holds(i - 1) && !holds(i);
    return true;
}

bool maySelect(const catalog::Rules& rules, const Table& table, PileRef pile, int index)
{
    return maySelectWhile(rules, table, pile, index, !table.foundation(0).empty());
}

bool maySelectWhile(const catalog::Rules& rules, const Table& table, PileRef pile, int index, bool selectionStarted)
{
    const int family = rules.specialFamily();
    if (!pile.valid())
        return false;
    const Pile& p = table.pile(pile);
    if (index < 0 || static_cast<std::size_t>(index) >= p.size())
        return false;
    const int code = p[static_cast<std::size_t>(index)];
    if (code == 0)
        return false;
    const bool top = static_cast<std::size_t>(index) + 1 == p.size();
    const bool pyramid = family == 4 || family == 67 || family == 83;
    switch (pile.kind) {
    case PileKind::Tableau:
        if (pile.index >= tableausInUse(rules) || table.isFaceDown(code))
            return false;
        if (rowFamily(family))
            return pile.index == 0 && !(family == 22 && (code == 12 || code == 13));
        switch (family) {
        case 3:
        case 14:
        case 16:
        case 41:
        case 47:
        case 85: return top;
        case 4:
        case 67:
        case 83: return pyramidOpen(rules, table, pile.index, index);
        default: return true;
        }
    case PileKind::Waste: return top && (pyramid || family == 14 || family == 16) && table.isFaceUp(code);
    case PileKind::Stock: return top && pyramid && selectionStarted;
    case PileKind::Foundation: return family == 41 && top && pile.index >= 1 && pile.index < foundationsInUse(rules);
    default: return false;
    }
}

namespace {

// The tests with the cards' spots given (known) or found on the table (null).
SetCheck checkSetWith(const catalog::Rules& rules, const Table& table, std::span<const int> codes,
                      std::span<const CardSpot> known)
{
    if (codes.empty())
        return refused("nothing selected");
    for (std::size_t i = 0; i < codes.size(); ++i)
        for (std::size_t j = i + 1; j < codes.size(); ++j)
            if (codes[i] == codes[j])
                return refused("the same card twice");
    if (static_cast<int>(codes.size()) > kMaxSelection)
        return refused([&] { return "at most " + std::to_string(kMaxSelection) + " cards at a time"; });
    Spots spots;
    if (known.size() == codes.size()) {
        spots.size = static_cast<int>(known.size());
        std::copy(known.begin(), known.end(), spots.at.begin());
    } else if (!spotsOf(rules, table, codes, spots)) {
        return refused("the card is not on the table");
    }
    const int family = rules.specialFamily();
    const int limit = selectionLimit(family);
    if (limit > 0 && static_cast<int>(codes.size()) > limit)
        return refused([&] { return "at most " + std::to_string(limit) + " cards at a time"; });
    if (rowFamily(family))
        return rowSet(family, rules, table, codes);
    const int target = rules.selectionGame();
    switch (family) {
    case 1: return tensAndFifteens(codes, target == 10 ? 10 : (target > 0 ? target : 15));
    case 3: return pairSum(codes, 14, false);
    case 4:
    case 67: return pairSum(codes, 13, true);
    case 7: return pairSum(codes, target, true);
    case 83: {
        const int s = total(codes);
        return s > 0 && s % 7 == 0 ? complete() : partial();
    }
    case 8: {
        const int w = gridWidth(rules, 5);
        return onGrid(
            spots, [w](int a, int b) { return touching(a, b, w); }, "the cards do not touch", sameRankPair(codes));
    }
    case 84: {
        const int w = gridWidth(rules, 5);
        return onGrid(
            spots, [w](int a, int b) { return touching(a, b, w); }, "the cards do not touch", pairSum(codes, 13, true));
    }
    case 71: {
        const int w = gridWidth(rules, 5);
        SetCheck c = onGrid(
            spots, [w](int a, int b) { return sameLine(a, b, w); }, "the cards are not in one row or column",
            pairSum(codes, 14, false));
        c.offerExchange = codes.size() == 2 && c.state == SetState::Refused;
        return c;
    }
    case 45: {
        const int w = gridWidth(rules, 4);
        for (int c : codes)
            if (rank(c) == 1)
                return refused("Aces stay on the table");
        SetCheck values = partial();
        if (codes.size() == 2)
            values = suit(codes[0]) == suit(codes[1]) ? complete() : refused("the cards are not of one suit");
        return onGrid(
            spots, [w](int a, int b) { return sameLine(a, b, w); }, "the cards are not in one row or column", values);
    }
    case 75: {
        // Neighbours: the top cards of two piles with no pile holding cards between them.
        auto neighbours = [&](int a, int b) {
            const int lo = std::min(a, b), hi = std::max(a, b);
            for (int c = lo + 1; c < hi; ++c)
                if (table.tableau(c).cardCount() > 0)
                    return false;
            return lo != hi;
        };
        return onGrid(spots, neighbours, "the cards are not on neighbouring piles", pairSum(codes, 13, false));
    }
    case 33:
    case 25:
    case 14:
    case 16: return sameRankPair(codes);
    case 17:
    case 26: return pairsOrGroup(codes, 11, 10, 11, 0);
    case 24: return pairsOrGroup(codes, 9, 9, 10, 9);
    case 18: return eighteens(codes);
    case 41: return courtSum(codes);
    case 85: return tripleRun(codes);
    case 57:
    case 81:
        for (int i = 0; i < spots.size; ++i)
            if (spots.at[static_cast<std::size_t>(i)].pile.kind != PileKind::Tableau)
                return refused("only cards of the square change places");
        return codes.size() == 2 ? complete() : partial();
    default: return openSum(codes, target);
    }
}

} // namespace

SetCheck checkSet(const catalog::Rules& rules, const Table& table, std::span<const int> codes)
{
    return checkSetWith(rules, table, codes, {});
}

SetCheck judgeSet(const catalog::Rules& rules, const Table& table, std::span<const int> codes)
{
    return judgeSetAt(rules, table, codes, {});
}

SetCheck judgeSetAt(const catalog::Rules& rules, const Table& table, std::span<const int> codes,
                    std::span<const CardSpot> spots)
{
    const bool was = explaining;
    explaining = false;
    SetCheck c = checkSetWith(rules, table, codes, spots);
    explaining = was;
    return c;
}

} // namespace cw::engine::families
