// The deal sequence and the main deal; the variants live in deal_variants.cpp.
#include "engine/deal.h"

#include <algorithm>

#include "engine/deal_steps.h"
#include "engine/shuffle.h"

namespace cw::engine {

namespace dealsteps {

int Context::foundations() const { return std::clamp(rules.foundationCount(), 0, kFoundationPiles); }
int Context::tableaus() const { return std::clamp(rules.tableauCount(), 0, kTableauPiles); }
int Context::reserves() const { return std::clamp(rules.reserveCount(), 0, kReservePiles); }

int Context::takeFront()
{
    if (cards.empty())
        return 0;
    const int code = cards.front();
    cards.erase(cards.begin());
    return code;
}

bool Context::takeCode(int code)
{
    const auto it = std::find(cards.begin(), cards.end(), code);
    if (it == cards.end())
        return false;
    cards.erase(it);
    return true;
}

int Context::takeAt(int i)
{
    const int code = cards[static_cast<std::size_t>(i)];
    cards.erase(cards.begin() + i);
    return code;
}

void Context::startFoundation(int k, int code)
{
    table().append(PileRef::foundation(k), code, true);
    rules.setFoundationBase(k, rank(code));
}

namespace {

// Moves the first m cards of the array onto the pile, each face down.
void dealCards(Context& c, PileRef pile, int m)
{
    const int take = std::clamp(m, 0, static_cast<int>(c.cards.size()));
    for (int i = 0; i < take; ++i)
        c.table().append(pile, c.cards[static_cast<std::size_t>(i)], false);
    c.cards.erase(c.cards.begin(), c.cards.begin() + take);
}

} // namespace

void mainDeal(Context& c)
{
    const catalog::Rules& r = c.rules;
    Table& t = c.table();

    // Single named cards first, so the shuffled cards fill around them.
    for (int k = 0; k < kTableauPiles; ++k) {
        const int count = r.tableauDeal(k);
        if (count <= 1000)
            continue;
        const PileRef pile = PileRef::tableau(k);
        if (count >= 1001 && count <= 1499) {
            const int wanted = count - 1000;
            const int i = c.findFirst([&](int code) { return rank(code) == wanted; });
            if (i >= 0)
                t.append(pile, c.takeAt(i), false);
        } else if (count >= 1501 && count <= 1504) {
            // Only a joker of the pack, and only once: a definition naming the same joker
            // for two piles, or a joker the pack lacks, leaves the pile without it.
            const int joker = kLastDeckCard + (count - 1500);
            if (c.takeCode(joker))
                t.append(pile, joker, true);
        }
        t.setFaceByPattern(pile, r.tableauFace(k), true);
    }

    dealCards(c, PileRef::stock(), r.stockDeal());
    if (r.stockFaceAtDeal() == 0)
        t.setFaceByPattern(PileRef::stock(), r.stockDeal(), true);

    if (r.wasteDeal() > 0) {
        dealCards(c, PileRef::waste(), r.wasteDeal());
        t.setFaceByPattern(PileRef::waste(), r.wasteDeal(), true);
    }

    for (int k = 0; k < kTableauPiles; ++k) {
        const int count = r.tableauDeal(k);
        if (count < 1 || count > 1000)
            continue;
        dealCards(c, PileRef::tableau(k), count);
        t.setFaceByPattern(PileRef::tableau(k), r.tableauFace(k), true);
    }

    dealCards(c, PileRef::secondWaste(), r.waste2Deal());
    t.setFaceByPattern(PileRef::secondWaste(), r.waste2Deal(), true);

    for (int k = 0; k < kReservePiles; ++k) {
        if (r.reserveDeal(k) <= 0)
            continue;
        dealCards(c, PileRef::reserve(k), r.reserveDeal(k));
        t.setFaceByPattern(PileRef::reserve(k), r.reserveFace(k), true);
    }
}

} // namespace dealsteps

bool dealFoundationAccepts(const catalog::Rules& rules, const GameState& state, int f, int code)
{
    if (f < 0 || f >= kFoundationPiles || !isCard(code))
        return false;
    const Pile& pile = state.table.foundation(f);
    const int capacity = rules.foundationCapacity();
    if (capacity > 0 && pile.cardCount() >= capacity)
        return false;
    const int base = rules.foundationBase(f);
    const int r = rank(code);
    if (pile.cardCount() == 0) {
        switch (base) {
        case -1: return true;
        case 81:
        case 84: return r == 1;
        case 85: return r == 13;
        case 90: return r == 2;
        default: return base >= 1 && base <= 13 && r == base;
        }
    }
    int target = 0;
    for (int c : pile)
        if (c != 0)
            target = c;
    const int suitRule = rules.foundationBuildRule(f);
    switch (suitRule) {
    case 0:
        if (suit(code) != suit(target))
            return false;
        break;
    case 1:
        if (isRed(code) != isRed(target))
            return false;
        break;
    case 3:
        if (isRed(code) == isRed(target))
            return false;
        break;
    case 4: return false;
    case 12: return true;
    default: break;
    }
    const int tr = rank(target);
    const int dir = rules.foundationDirection(f);
    const bool up = (tr == 13) ? (r == 1 && base != 1) : r == tr + 1;
    const bool down = (tr == 1) ? (r == 13 && base != 13) : r == tr - 1;
    if (dir == 1)
        return up;
    if (dir == 0)
        return down;
    return up || down;
}

bool dealInto(GameRules& rules, GameState& state, const DealOptions& options)
{
    ShuffleResult shuffled = fnGameNumberCardsArray(state.gameNumber, ShuffleInput::fromRules(rules));

    // Without a caller's generator the one random pattern draws from the game number, which
    // keeps every deal reproducible from its number.
    std::uint64_t number = 0;
    for (int d : gameNumberDigits(state.gameNumber))
        number = number * 10 + static_cast<std::uint64_t>(d);
    Random own(static_cast<std::uint32_t>(number));
    const FoundationAcceptsFn accepts =
        options.foundationAccepts ? options.foundationAccepts : FoundationAcceptsFn(dealFoundationAccepts);
    dealsteps::Context c{
        rules, state, std::move(shuffled.cards), {}, accepts, options.random ? *options.random : own, rules.family()};

    dealsteps::applyDeckFilter(c);
    dealsteps::applyInitialFoundationCards(c);
    dealsteps::mainDeal(c);
    dealsteps::applyFoundationSetup(c);
    dealsteps::applyPostDealSteps(c);
    // Whatever the deal did not place is out of play for this deal.
    return !shuffled.badCardCount;
}

DealResult deal(const GameRules& rules, std::string_view gameNumber, const DealOptions& options)
{
    DealResult result;
    result.rules = rules;
    result.state.gameNumber = std::string(gameNumber);
    result.badCardCount = !dealInto(result.rules, result.state, options);
    return result;
}

} // namespace cw::engine
