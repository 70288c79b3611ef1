// The open-game search's rule tables: which games and positions fit, and the tables filled by the engine's own tests.
#include "engine/search_open_rules.h"
#include "engine/search_open.h"

#include <algorithm>
#include <memory>

#include "engine/family.h"
#include "engine/rules_building.h"
#include "engine/rules_groups.h"
#include "engine/search_budget.h"
#include "engine/stock.h"
#include "engine/zobrist.h"

namespace cw::engine {

using namespace compact;

namespace {

// Reserve codes the drop treats as a plain free cell (one card, only when empty) and code 4
// (takes nothing); every other code has a test of its own.
bool plainReserveCode(int code)
{
    switch (code) {
    case 8:
    case 9:
    case catalog::ReserveAccept::Anything:
    case 13:
    case catalog::ReserveAccept::FromWaste:
    case 88:
    case 89:
    case 90:
    case 103:
    case 107:
    case 119:
    case catalog::ReserveAccept::UpInSuit:
    case 146:
    case 154:
    case 161:
    case catalog::ReserveAccept::Waive: return false;
    default: return true;
    }
}

// A stock the compact form plays itself: each click draws to the one waste, the empty stock
// takes the waste back while passes remain, and nothing else happens on a click.
bool stockFits(const catalog::Rules& r, const Play& play)
{
    if (r.stockTurnsToWaste() != 1 || r.drawRestriction() != 0 || r.redealMode() != 0 || r.wasteLocked() != 0 ||
        r.waste2Arrangement() != 0 || r.fillAfterFirstMove() == 1 || r.deals() == catalog::Deals::Once ||
        r.deals() < catalog::Deals::Unlimited)
        return false;
    for (int c = 0; c < play.tableaus(); ++c)
        if (r.stockDealsToTableau(c) != 0)
            return false;
    for (int q = 0; q < play.reserves(); ++q)
        if (r.stockDealsToReserve(q) != 0)
            return false;
    return true;
}

bool rulesFit(const catalog::Rules& r, const Play& play)
{
    if (play.family().special() || r.clickToPlay() == 1 || play.tableaus() < 1)
        return false;
    const int style = r.tableauFanStyle();
    if (style == 8 || style == 9 || style == 12 || (r.tableauGridRows() >= 1 && r.tableauGridColumns() >= 1))
        return false;
    if (r.tableauCapacity() > 0 || r.tableauAutoFill() != 0 || r.foundationResort() == 1 ||
        r.foundationStartTest() != 0 || r.firstMoveToFoundation() == 1 || r.wasteAccepts() == 2 ||
        r.stockFirstRestriction() != 0 || r.topCardOnly())
        return false;
    if (r.foundationTakeBack() == 3)
        return false;
    switch (r.groupLimit()) {
    case catalog::GroupLimit::KingOrSingle:
    case catalog::GroupLimit::WholePileOrSingle:
    case catalog::GroupLimit::OpenRow:
    case catalog::GroupLimit::EitherEnd:
    case catalog::GroupLimit::SingleUntilDraw:
    case catalog::GroupLimit::ThreeRowOpen: return false;
    default: break;
    }
    const int pickup = r.reservePickupRule();
    if (pickup == catalog::ReservePickup::LiftsGroups || pickup == catalog::ReservePickup::FamilyTest ||
        pickup == catalog::ReservePickup::OpenRow)
        return false;
    for (int q = 0; q < play.reserves(); ++q)
        if (!plainReserveCode(r.reserveAccept(q)))
            return false;
    for (int f = 0; f < play.foundations(); ++f) {
        const int code = play.foundationCode(f);
        // Bases 92/93 are chosen by the first card played home: the compact form's tables need them fixed.
        const int base = r.foundationBase(f);
        if (code == 10 || code == 20 || code == 22 || code == 29 || r.takesRuns(f) ||
            base == catalog::FoundationBase::Chosen || base == 93)
            return false;
    }
    // Every column builds by the same rule, so one column's table serves all.
    for (int c = 1; c < play.tableaus(); ++c)
        if (play.tableauCode(c) != play.tableauCode(0) || r.tableauEmptyRule(c) != r.tableauEmptyRule(0) ||
            r.tableauContinuity(c) != r.tableauContinuity(0) || r.tableauDirection(c) != r.tableauDirection(0))
            return false;
    return play.tableauCode(0) != catalog::BuildRule::Reversible && play.state.ascendingColumns == 0;
}

bool stateFits(const Play& play, bool stock, CardSet& cards)
{
    const Table& t = play.table();
    if (play.state.won || !t.secondWaste().empty())
        return false;
    if (!stock && (!t.stock().empty() || !t.waste().empty() || stockClickAvailable(play)))
        return false;
    bool hidden = false;
    auto scan = [&](const Pile& p, bool faceDownAllowed) {
        for (int c : p) {
            if (c == 0 || cards[static_cast<std::size_t>(c)])
                return false;
            if (t.isFaceDown(c)) {
                if (!faceDownAllowed)
                    return false;
                hidden = true;
            }
            cards[static_cast<std::size_t>(c)] = true;
        }
        return true;
    };
    for (int c = 0; c < play.tableaus(); ++c) {
        const Pile& p = t.tableau(c);
        // Face-down cards lie under the face-up ones and turn up by themselves once uncovered.
        if (!scan(p, true) || (!p.empty() && t.isFaceDown(p.top())))
            return false;
    }
    if (hidden && play.rules.tableauAutoFaceUp() == 0)
        return false;
    for (int q = 0; q < play.reserves(); ++q)
        if (!scan(t.reserve(q), false))
            return false;
    for (int f = 0; f < play.foundations(); ++f)
        if (!scan(t.foundation(f), false))
            return false;
    if (!scan(t.stock(), true) || !scan(t.waste(), false))
        return false;
    for (int k = play.foundations(); k < kFoundationPiles; ++k)
        if (!t.foundation(k).empty())
            return false;
    for (int c = play.tableaus(); c < kTableauPiles; ++c)
        if (!t.tableau(c).empty())
            return false;
    for (int q = play.reserves(); q < kReservePiles; ++q)
        if (!t.reserve(q).empty())
            return false;
    return true;
}

void clearPiles(Table& t)
{
    for (auto& p : t.piles().foundations)
        p.clear();
    for (auto& p : t.piles().tableau)
        p.clear();
    for (auto& p : t.piles().reserves)
        p.clear();
    for (auto& p : t.piles().stockGroup)
        p.clear();
}

// Two cards are twins when the same cards go on each of them (from every source), the same
// cards lift with each, each lifts with the same cards, no third card is like them, and what
// goes on them is one rank lower (so nothing lifted from a run on one of them fits the other
// but the whole run).
void findTwins(OpenRules& open)
{
    const auto& list = open.cardList;
    auto alike = [&](int x, int y) {
        const auto xi = static_cast<std::size_t>(x), yi = static_cast<std::size_t>(y);
        if (open.sequence[xi] != open.sequence[yi])
            return false;
        for (int c : list) {
            const auto ci = static_cast<std::size_t>(c);
            if (open.sequence[ci][xi] != open.sequence[ci][yi])
                return false;
            for (int k = 0; k < kSources; ++k)
                if (open.tabOn[static_cast<std::size_t>(k)][ci][xi] != open.tabOn[static_cast<std::size_t>(k)][ci][yi])
                    return false;
        }
        return true;
    };
    auto oneRankLower = [&](int x) {
        const auto xi = static_cast<std::size_t>(x);
        bool any = false;
        for (int c : list) {
            const auto ci = static_cast<std::size_t>(c);
            bool on = open.sequence[xi][ci];
            for (int k = 0; k < kSources; ++k)
                on = on || open.tabOn[static_cast<std::size_t>(k)][ci][xi];
            if (on && open.rankOf[ci] != open.rankOf[xi] - 1)
                return false;
            any = any || on;
        }
        return any;
    };
    for (int x : list) {
        int found = 0, y = 0;
        for (int c : list)
            if (c != x && alike(x, c)) {
                ++found;
                y = c;
            }
        if (found == 1 && oneRankLower(x))
            open.twin[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(y);
    }
}

std::shared_ptr<OpenRules> buildTables(const GameRules& rules, const GameState& state, const CardSet& cards)
{
    auto open = std::make_shared<OpenRules>();
    open->rules = rules;
    open->cards = cards;
    GameState s = state;
    clearPiles(s.table);
    s.table.setAllFaceUp();
    const PlayOptions options = solverPlayOptions();
    Play play{rules, s, options};
    open->tableaus = play.tableaus();
    open->reserves = play.reserves();
    open->foundations = play.foundations();
    open->groupLimit = rules.groupLimit();
    open->foundationCap = rules.foundationCapacity();
    open->takeBack =
        rules.foundationTakeBack() == 1 || rules.foundationTakeBack() == 2 ? rules.foundationTakeBack() : 0;
    open->stock = stockFits(rules, play);
    open->drawCount = std::max(rules.cardsPerClick(), 1);
    open->deals = rules.deals();
    for (int q = 0; q < open->reserves; ++q)
        open->cellTakes[static_cast<std::size_t>(q)] = rules.reserveAccept(q) != catalog::ReserveAccept::Nothing;
    std::vector<int> list;
    for (int c = 1; c <= kLastCard; ++c)
        if (cards[static_cast<std::size_t>(c)])
            list.push_back(c);
    const PileRef column = PileRef::tableau(0);
    const PileRef sources[kSources] = {
        PileRef::tableau(open->tableaus > 1 ? 1 : 0), PileRef::tableau(open->tableaus > 1 ? 1 : 0),
        open->reserves > 0 ? PileRef::reserve(0) : PileRef::tableau(0), PileRef::waste(), PileRef::foundation(0)};
    const int code = play.tableauCode(0);
    Pile& target = s.table.pile(column);
    for (int m : list) {
        for (int k = 0; k < kSources; ++k) {
            target.clear();
            if (buildingTest(play, tableauQuery(play, 0, m, sources[k], k != kFromTableauGroup)))
                open->tabEmpty[static_cast<std::size_t>(k)][static_cast<std::size_t>(m)] = true;
        }
        for (int t : list) {
            if (t == m || !generalRuleMayPass(code, m, t))
                continue;
            target.clear();
            target.push(t);
            for (int k = 0; k < kSources; ++k)
                if (buildingTest(play, tableauQuery(play, 0, m, sources[k], k != kFromTableauGroup)))
                    open->tabOn[static_cast<std::size_t>(k)][static_cast<std::size_t>(m)][static_cast<std::size_t>(t)] =
                        true;
        }
        for (int u : list)
            if (u != m && sequencePair(play, 0, m, u))
                open->sequence[static_cast<std::size_t>(m)][static_cast<std::size_t>(u)] = true;
    }
    target.clear();
    open->foundOn.resize(static_cast<std::size_t>(open->foundations));
    open->foundEmpty.resize(static_cast<std::size_t>(open->foundations));
    open->foundNext.resize(static_cast<std::size_t>(open->foundations));
    for (int f = 0; f < open->foundations; ++f) {
        Pile& home = s.table.foundation(f);
        const int fcode = play.foundationCode(f);
        for (int m : list) {
            home.clear();
            if (buildingTest(play, foundationQuery(play, f, m, column)))
                open->foundEmpty[static_cast<std::size_t>(f)][static_cast<std::size_t>(m)] = true;
            for (int t : list) {
                if (t == m || !generalRuleMayPass(fcode, m, t))
                    continue;
                home.clear();
                home.push(t);
                if (buildingTest(play, foundationQuery(play, f, m, column))) {
                    open->foundOn[static_cast<std::size_t>(f)][static_cast<std::size_t>(m)]
                                 [static_cast<std::size_t>(t)] = true;
                    open->foundNext[static_cast<std::size_t>(f)][static_cast<std::size_t>(t)]
                                   [static_cast<std::size_t>(m)] = true;
                }
            }
        }
        home.clear();
    }
    for (int m : list)
        for (int t : list)
            for (int k = 0; k < kSources; ++k)
                if (open->tabOn[static_cast<std::size_t>(k)][static_cast<std::size_t>(m)]
                               [static_cast<std::size_t>(t)]) {
                    open->builders[static_cast<std::size_t>(t)].push_back(static_cast<std::uint8_t>(m));
                    break;
                }
    for (int m : list) {
        const auto mi = static_cast<std::size_t>(m);
        for (int k : {kFromTableauSingle, kFromTableauGroup}) {
            if (open->tabEmpty[static_cast<std::size_t>(k)][mi])
                open->emptyColumnTakes[mi] = true;
        }
        for (int t : list) {
            const auto ti = static_cast<std::size_t>(t);
            if (open->tabOn[kFromTableauSingle][mi][ti] || open->tabOn[kFromTableauGroup][mi][ti])
                open->buildsOn[mi].push_back(static_cast<std::uint8_t>(t));
            bool home = false;
            for (int f = 0; f < open->foundations; ++f)
                home = home || open->foundOn[static_cast<std::size_t>(f)][mi][ti];
            if (home)
                open->homeAfter[mi].push_back(static_cast<std::uint8_t>(t));
        }
        for (int f = 0; f < open->foundations; ++f)
            open->homeStarts[mi] = open->homeStarts[mi] || open->foundEmpty[static_cast<std::size_t>(f)][mi];
    }
    open->cardList = list;
    open->pairScore.assign(static_cast<std::size_t>((kLastCard + 1) * (kLastCard + 1)), 0);
    for (int m : list) {
        open->rankOf[static_cast<std::size_t>(m)] = static_cast<std::int8_t>(rank(m));
        for (int u : list) {
            // A build in suit also moves as a group wherever groups must be in suit.
            const bool builds = open->sequence[static_cast<std::size_t>(m)][static_cast<std::size_t>(u)];
            open->pairScore[static_cast<std::size_t>(m * (kLastCard + 1) + u)] =
                static_cast<std::int8_t>(builds ? (suit(m) == suit(u) ? 14 : 10) : -6);
        }
    }
    findTwins(*open);
    const PileClasses classes(rules);
    for (int i = 0; i < open->piles(); ++i)
        open->slot[static_cast<std::size_t>(i)] = classes.slot(open->ref(i));
    // A card no tableau card can be built on goes home at once; with foundations that differ
    // from one another the choice of foundation could matter, so then nothing goes by itself.
    open->safeHome = classes.foundationsInterchangeable() && open->foundations > 0;
    return open;
}

} // namespace

std::shared_ptr<const OpenRules> openRulesFor(const GameRules& rules, const GameState& state)
{
    GameState copy = state;
    const PlayOptions options = solverPlayOptions();
    Play play{rules, copy, options};
    CardSet cards;
    if (!rulesFit(rules, play) || !stateFits(play, stockFits(rules, play), cards))
        return nullptr;
    return tablesFor<OpenRules>(rules, cards, [&] { return buildTables(rules, state, cards); });
}

} // namespace cw::engine
