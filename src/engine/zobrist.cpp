// Zobrist keys of game states: pile classes from the rules, the fixed random keys, full and per-move hashing.
#include "engine/zobrist.h"

#include <algorithm>

#include "engine/family.h"

namespace cw::engine {
namespace {

// SplitMix64: a fixed sequence, so keys (and thus search order ties) are the same on every run.
std::uint64_t splitMix(std::uint64_t& x)
{
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t mix(std::uint64_t h, std::uint64_t v)
{
    std::uint64_t x = h ^ (v + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2));
    return splitMix(x);
}

bool oneOf(int v, std::initializer_list<int> set) { return std::find(set.begin(), set.end(), v) != set.end(); }

// Building codes whose test looks only at the two cards (and the pile's own parameters).
bool plainCode(int code)
{
    using catalog::BuildRule;
    return oneOf(code, {BuildRule::Suit, BuildRule::Colour, BuildRule::AnySuit, BuildRule::Alternate, BuildRule::None,
                        BuildRule::AnyCard, 13, BuildRule::OtherSuit});
}

} // namespace

PileClasses::PileClasses(const GameRules& rules, bool stockSpent, bool symmetric)
{
    for (int i = 0; i < kTablePiles; ++i)
        slots_[static_cast<std::size_t>(i)] = i;
    const int nf = std::clamp(rules.foundationCount(), 0, kFoundationPiles);
    const int nt = std::clamp(rules.tableauCount(), 0, kTableauPiles);
    const int nr = std::clamp(rules.reserveCount(), 0, kReservePiles);
    for (int i = 0; i < kStockGroupPiles; ++i)
        usedPiles_[static_cast<std::size_t>(used_++)] = pileAtTableOrder(i);
    for (int f = 0; f < nf; ++f)
        usedPiles_[static_cast<std::size_t>(used_++)] = PileRef::foundation(f);
    for (int c = 0; c < nt; ++c)
        usedPiles_[static_cast<std::size_t>(used_++)] = PileRef::tableau(c);
    for (int r = 0; r < nr; ++r)
        usedPiles_[static_cast<std::size_t>(used_++)] = PileRef::reserve(r);

    const bool plainGame = !rules.family().special() && rules.clickToPlay() != 1 && rules.selectionGame() == 0;
    if (!plainGame || !symmetric)
        return;
    const int fill = rules.tableauAutoFill();
    const bool grid = rules.tableauGridRows() * rules.tableauGridColumns() != 0;
    const bool rowRules = rules.groupLimit() == catalog::GroupLimit::OpenRow ||
                          rules.reservePickupRule() == catalog::ReservePickup::OpenRow;
    auto tableauCode = [&](int c) { return rules.tableauBuildRule(c); };
    auto foundationCode = [&](int f) { return rules.foundationBuildRule(f); };

    // Tableau piles: the stock must never deal rows to them, fills and redeals must not pick
    // piles by number, and the building rules must look only at the cards.
    bool tableauOk = !grid && !rowRules && rules.redealMode() == 0 && rules.tableauFanStyle() != 8 &&
                     (stockSpent ? !oneOf(fill, {14, 15, 23}) : oneOf(fill, {0, 1, 2, 3, 5, 9, 12}));
    for (int c = 0; c < nt && tableauOk; ++c)
        tableauOk = (stockSpent || rules.stockDealsToTableau(c) == 0) && plainCode(tableauCode(c));
    if (tableauOk) {
        tableauSymmetric_ = true;
        for (int c = 0; c < nt; ++c)
            for (int d = 0; d < c; ++d)
                if (rules.tableauEmptyRule(c) == rules.tableauEmptyRule(d) &&
                    rules.tableauDirection(c) == rules.tableauDirection(d) && tableauCode(c) == tableauCode(d) &&
                    rules.tableauContinuity(c) == rules.tableauContinuity(d)) {
                    slots_[static_cast<std::size_t>(tableOrderIndex(PileRef::tableau(c)))] = slot(PileRef::tableau(d));
                    break;
                }
    }

    bool reserveOk = !rowRules && rules.redealMode() != 18 && !oneOf(fill, {1, 8, 13, 23});
    for (int r = 0; r < nr && reserveOk; ++r)
        reserveOk = rules.stockDealsToReserve(r) == 0 &&
                    !oneOf(rules.reserveAccept(r), {8, 13, 103, 119, 154, 161, catalog::ReserveAccept::Waive});
    if (reserveOk)
        for (int r = 0; r < nr; ++r)
            for (int q = 0; q < r; ++q)
                if (rules.reserveAccept(r) == rules.reserveAccept(q)) {
                    slots_[static_cast<std::size_t>(tableOrderIndex(PileRef::reserve(r)))] = slot(PileRef::reserve(q));
                    break;
                }

    bool foundationOk = fill != 21;
    for (int r = 0; r < nr && foundationOk; ++r)
        foundationOk = rules.reserveAccept(r) != 119; // the Queen of a foundation's suit
    for (int f = 0; f < nf && foundationOk; ++f)
        foundationOk = plainCode(foundationCode(f));
    if (foundationOk) {
        foundationSymmetric_ = true;
        for (int f = 0; f < nf; ++f)
            for (int g = 0; g < f; ++g)
                if (rules.foundationBase(f) == rules.foundationBase(g) &&
                    rules.foundationDirection(f) == rules.foundationDirection(g) &&
                    foundationCode(f) == foundationCode(g) &&
                    rules.foundationCompletion(f) == rules.foundationCompletion(g)) {
                    slots_[static_cast<std::size_t>(tableOrderIndex(PileRef::foundation(f)))] =
                        slot(PileRef::foundation(g));
                    break;
                }
        for (int f = 1; f < nf; ++f)
            foundationSymmetric_ = foundationSymmetric_ && alike(PileRef::foundation(f), PileRef::foundation(0));
    }
}

const ZobristKeys& ZobristKeys::instance()
{
    static const ZobristKeys keys;
    return keys;
}

std::uint64_t StateHasher::pileKey(const Pile& pile, int slot) const
{
    const ZobristKeys& z = ZobristKeys::instance();
    const auto& codes = pile.codes();
    std::uint64_t h = 0;
    int below = -1;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const int card = codes[i];
        if (card == 0) {
            // Placeholders are not unique, so they are keyed by their position.
            h ^= z.placeholder(slot, static_cast<int>(i));
        } else if (below < 0) {
            h ^= z.bottom(slot, card) ^ (i == 0 ? 0 : z.placeholder(slot, 63 - static_cast<int>(i)));
        } else {
            h ^= z.pair(card, below);
        }
        if (card != 0)
            below = card;
    }
    return h;
}

std::uint64_t StateHasher::countersKey(const GameState& s) const
{
    std::uint64_t h = 0x5EEDULL;
    // With unlimited redeals the pass number changes nothing past the few passes some rules
    // name; keying it whole would make every turnover a new position.
    h = mix(h, static_cast<std::uint64_t>(unlimitedDeals_ ? std::min(s.dealNumber, 4) : s.dealNumber));
    h = mix(h, static_cast<std::uint64_t>(std::min(s.movesMade, 2)));
    h = mix(h, static_cast<std::uint64_t>(s.drawUsed) | (static_cast<std::uint64_t>(s.redealArmed) << 1));
    h = mix(h, static_cast<std::uint64_t>(s.stockClicks));
    h = mix(h, s.ascendingColumns);
    for (int v : s.gameCounters)
        h = mix(h, static_cast<std::uint64_t>(static_cast<std::uint32_t>(v)));
    std::uint64_t events = 0;
    for (std::uint8_t e : s.eventCounts)
        events = (events << 8) | e;
    return mix(h, events);
}

std::uint64_t StateHasher::full(const GameState& s) const
{
    const ZobristKeys& z = ZobristKeys::instance();
    const PileClasses& classes = classesFor(s);
    std::uint64_t h = countersKey(s);
    for (int i = 0; i < classes.usedCount(); ++i) {
        const PileRef p = classes.usedPile(i);
        h ^= pileKey(s.table.pile(p), classes.slot(p));
    }
    const auto& down = s.table.faceDownBits();
    for (int c = 1; c <= kLastCard; ++c)
        if (down[static_cast<std::size_t>(c)])
            h ^= z.faceDown(c);
    return h;
}

std::uint64_t StateHasher::update(std::uint64_t key, const GameState& before, const GameState& after) const
{
    const ZobristKeys& z = ZobristKeys::instance();
    if (stockSpent(before) != stockSpent(after))
        return full(after); // the pile classes changed with this move
    const PileClasses& classes = classesFor(after);
    const bool sameCounters = before.dealNumber == after.dealNumber && before.movesMade == after.movesMade &&
                              before.drawUsed == after.drawUsed && before.redealArmed == after.redealArmed &&
                              before.stockClicks == after.stockClicks &&
                              before.ascendingColumns == after.ascendingColumns &&
                              before.gameCounters == after.gameCounters && before.eventCounts == after.eventCounts;
    if (!sameCounters)
        key ^= countersKey(before) ^ countersKey(after);
    for (int i = 0; i < classes.usedCount(); ++i) {
        const PileRef p = classes.usedPile(i);
        const Pile& a = before.table.pile(p);
        const Pile& b = after.table.pile(p);
        if (a == b)
            continue;
        const int slot = classes.slot(p);
        key ^= pileKey(a, slot) ^ pileKey(b, slot);
    }
    const auto changed = before.table.faceDownBits() ^ after.table.faceDownBits();
    if (changed.any())
        for (int c = 1; c <= kLastCard; ++c)
            if (changed[static_cast<std::size_t>(c)])
                key ^= z.faceDown(c);
    return key;
}

} // namespace cw::engine
