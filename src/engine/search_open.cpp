// The fast search for open games: rule tables built from the engine's tests, compact piles with do and undo in place.
#include "engine/search_open.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <chrono>
#include <ctime>
#include <vector>

#include "engine/rules_building.h"
#include "engine/rules_groups.h"
#include "engine/search_keyset.h"
#include "engine/stock.h"
#include "engine/zobrist.h"

namespace cw::engine {

namespace {

using CardSet = std::bitset<kLastCard + 1>;
using Clock = std::chrono::steady_clock;


// Lifted from where: the building test may tell them apart.
enum Source : int {
    kFromTableauSingle = 0,
    kFromTableauGroup = 1,
    kFromReserve = 2,
    kFromWaste = 3,
    kFromFoundation = 4,
    kSources = 5
};

// The index of a move that is a stock click.
constexpr std::uint8_t kClick = 255;

// Reserve codes the drop treats as a plain free cell (one card, only when empty) and code 4
// (takes nothing); every other code has a test of its own.
bool plainReserveCode(int code)
{
    switch (code) {
    case 8: case 9: case 12: case 13: case 85: case 88: case 89: case 90: case 103: case 107: case 119:
    case 145: case 146: case 154: case 161:
        return false;
    default: return true;
    }
}

// Foundation bases that make complete runs leave the tableau by themselves.
bool runBase(int v) { return v == 82 || v == 83 || v == 95 || v == 97 || v == 98 || v == 99; }

} // namespace

class OpenRules {
public:
    int tableaus = 0;
    int reserves = 0;
    int foundations = 0;
    int groupLimit = 0;
    int foundationCap = 0;
    int takeBack = 0; // 1: foundation top cards may be taken back; 2: while two or more are there
    // A stock that only feeds the waste: drawCount cards a click, the waste turned over when the
    // stock is empty while passes remain (deals: -1 any number).
    bool stock = false;
    int drawCount = 1;
    int deals = -1;
    std::array<bool, kReservePiles> cellTakes{};
    std::array<std::array<CardSet, kLastCard + 1>, kSources> tabOn{}; // [source][moving]: tops it goes on
    std::array<CardSet, kSources> tabEmpty{};                          // [source]: cards an empty column takes
    std::vector<std::array<CardSet, kLastCard + 1>> foundOn;           // [f][moving]: tops it goes on
    std::vector<CardSet> foundEmpty;                                   // [f]: cards an empty foundation takes
    std::vector<std::array<CardSet, kLastCard + 1>> foundNext;         // [f][top]: cards that go on it
    std::array<CardSet, kLastCard + 1> sequence{};                     // [lower]: cards that lift with it
    std::array<std::vector<std::uint8_t>, kLastCard + 1> builders;     // cards that may be built on a card
    std::array<int, kTablePiles> slot{};                               // hash slot per compact pile
    std::array<std::int8_t, kLastCard + 1> rankOf{};
    std::vector<int> cardList; // the cards in play
    std::vector<std::int8_t> pairScore; // [below * (kLastCard + 1) + card]: how well card sits on below
    bool safeHome = false;
    // What the tables were built for.
    catalog::Rules rules;
    CardSet cards;

    // Compact pile order: tableau, reserves, stock and waste (when in play), foundations.
    int stockPile() const { return tableaus + reserves; }
    int wastePile() const { return tableaus + reserves + 1; }
    int homeFirst() const { return tableaus + reserves + (stock ? 2 : 0); }
    int piles() const { return homeFirst() + foundations; }
    PileRef ref(int i) const
    {
        if (i < tableaus)
            return PileRef::tableau(i);
        if (i < tableaus + reserves)
            return PileRef::reserve(i - tableaus);
        if (i < homeFirst())
            return i == stockPile() ? PileRef::stock() : PileRef::waste();
        return PileRef::foundation(i - homeFirst());
    }

    // The group-size test of the press (targetEmpty false) and of the drop on an empty column.
    bool fits(int n, int emptyColumns, int emptyCells, bool targetEmpty) const
    {
        switch (groupLimit) {
        case -1:
        case -19: return true;
        case -5:
        case -6:
            if (emptyColumns == 0)
                return n <= emptyCells + 1;
            if (groupLimit == -5 && !targetEmpty)
                return n <= emptyCells + emptyColumns + 1;
            return n <= emptyCells + emptyColumns;
        default:
            if (groupLimit < 0)
                return n <= std::max(emptyColumns, 1);
            return n <= groupLimit;
        }
    }
};

namespace {

// A stock the compact form plays itself: each click draws to the one waste, the empty stock
// takes the waste back while passes remain, and nothing else happens on a click.
bool stockFits(const catalog::Rules& r, const Play& play)
{
    if (r.stockTurnsToWaste() != 1 || r.drawRestriction() != 0 || r.redealMode() != 0 || r.wasteLocked() != 0 ||
        r.waste2Arrangement() != 0 || r.fillAfterFirstMove() == 1 || r.deals() == 0 || r.deals() < -1)
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
    if (play.family() != 0 || r.clickToPlay() == 1 || play.tableaus() < 1)
        return false;
    const int style = r.tableauFanStyle();
    if (style == 8 || style == 9 || style == 12 || (r.tableauGridRows() >= 1 && r.tableauGridColumns() >= 1))
        return false;
    if (r.tableauCapacity() > 0 || r.tableauAutoFill() != 0 || r.foundationResort() == 1 ||
        r.foundationStartTest() != 0 || r.firstMoveToFoundation() == 1 || r.wasteAccepts() == 2 ||
        r.stockFirstRestriction() != 0 || r.sequenceRule() == 12)
        return false;
    if (r.foundationTakeBack() == 3)
        return false;
    switch (r.groupLimit()) {
    case -12: case -13: case -15: case -16: case -17: case -18: return false;
    default: break;
    }
    const int pickup = r.reservePickupRule();
    if (pickup == -11 || pickup == -14 || pickup == -15)
        return false;
    for (int q = 0; q < play.reserves(); ++q)
        if (!plainReserveCode(r.reserveAccept(q)))
            return false;
    for (int f = 0; f < play.foundations(); ++f) {
        const int code = play.foundationCode(f);
        if (code == 10 || code == 20 || code == 22 || code == 29 || runBase(r.foundationBase(f)))
            return false;
    }
    // Every column builds by the same rule, so one column's table serves all.
    for (int c = 1; c < play.tableaus(); ++c)
        if (play.tableauCode(c) != play.tableauCode(0) || r.tableauEmptyRule(c) != r.tableauEmptyRule(0) ||
            r.tableauContinuity(c) != r.tableauContinuity(0) || r.tableauDirection(c) != r.tableauDirection(0))
            return false;
    return play.tableauCode(0) != 149 && play.state.ascendingColumns == 0;
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

std::shared_ptr<OpenRules> buildTables(const catalog::Rules& rules, const GameState& state, const CardSet& cards)
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
    open->takeBack = rules.foundationTakeBack() == 1 || rules.foundationTakeBack() == 2 ? rules.foundationTakeBack() : 0;
    open->stock = stockFits(rules, play);
    open->drawCount = std::max(rules.cardsPerClick(), 1);
    open->deals = rules.deals();
    for (int q = 0; q < open->reserves; ++q)
        open->cellTakes[static_cast<std::size_t>(q)] = rules.reserveAccept(q) != 4;
    std::vector<int> list;
    for (int c = 1; c <= kLastCard; ++c)
        if (cards[static_cast<std::size_t>(c)])
            list.push_back(c);
    const PileRef column = PileRef::tableau(0);
    const PileRef sources[kSources] = {PileRef::tableau(open->tableaus > 1 ? 1 : 0),
                                       PileRef::tableau(open->tableaus > 1 ? 1 : 0),
                                       open->reserves > 0 ? PileRef::reserve(0) : PileRef::tableau(0), PileRef::waste(),
                                       PileRef::foundation(0)};
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
                    open->foundOn[static_cast<std::size_t>(f)][static_cast<std::size_t>(m)][static_cast<std::size_t>(t)] =
                        true;
                    open->foundNext[static_cast<std::size_t>(f)][static_cast<std::size_t>(t)][static_cast<std::size_t>(m)] =
                        true;
                }
            }
        }
        home.clear();
    }
    for (int m : list)
        for (int t : list)
            for (int k = 0; k < kSources; ++k)
                if (open->tabOn[static_cast<std::size_t>(k)][static_cast<std::size_t>(m)][static_cast<std::size_t>(t)]) {
                    open->builders[static_cast<std::size_t>(t)].push_back(static_cast<std::uint8_t>(m));
                    break;
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
    const PileClasses classes(rules);
    for (int i = 0; i < open->piles(); ++i)
        open->slot[static_cast<std::size_t>(i)] = classes.slot(open->ref(i));
    // A card no tableau card can be built on goes home at once; with foundations that differ
    // from one another the choice of foundation could matter, so then nothing goes by itself.
    open->safeHome = classes.foundationsInterchangeable() && open->foundations > 0;
    return open;
}

} // namespace

std::shared_ptr<const OpenRules> openRulesFor(const catalog::Rules& rules, const GameState& state)
{
    GameState copy = state;
    const PlayOptions options = solverPlayOptions();
    Play play{rules, copy, options};
    CardSet cards;
    if (!rulesFit(rules, play) || !stateFits(play, stockFits(rules, play), cards))
        return nullptr;
    thread_local std::shared_ptr<const OpenRules> cache;
    if (!cache || cache->cards != cards || cache->rules.values() != rules.values())
        cache = buildTables(rules, state, cards);
    return cache;
}

namespace {

// A move between compact piles: the cards from position index of pile from up go on pile to;
// index kClick: a stock click.
struct OpenMove {
    std::uint8_t from = 0;
    std::uint8_t index = 0;
    std::uint8_t to = 0;
    bool click() const { return index == kClick; }
};

// One step as it was made, for undo and for the line: count cards from pile from (position
// index) to pile to. A stock click is one or more single-card steps, the first marked.
struct Op {
    std::uint8_t from;
    std::uint8_t count;
    std::uint8_t to;
    std::uint8_t index;
    bool clickStart = false; // the first step of a stock click
    bool click = false;      // a step of a stock click
    bool pass = false;       // this step began a new pass through the stock
    bool turned = false;     // the card it uncovered was turned face up
};

// Piles as byte vectors in compact order, face-down cards of the tableau, the pass number.
class Position {
public:
    Position(const OpenRules& open, const GameState& state) : open_(open)
    {
        const Table& t = state.table;
        const ZobristKeys& keys = ZobristKeys::instance();
        for (int i = 0; i < open.piles(); ++i) {
            auto& p = piles_[static_cast<std::size_t>(i)];
            p.reserve(static_cast<std::size_t>(open.cards.count()));
            for (int c : t.pile(open.ref(i)))
                p.push_back(static_cast<std::uint8_t>(c));
            for (std::size_t k = 0; k < p.size(); ++k) {
                key_ ^= k == 0 ? keys.bottom(open.slot[static_cast<std::size_t>(i)], p[0]) : keys.pair(p[k], p[k - 1]);
                at_[p[k]] = static_cast<std::uint8_t>(i);
                index_[p[k]] = static_cast<std::uint8_t>(k);
                if (i < open.tableaus && t.isFaceDown(p[k])) {
                    down_[p[k]] = true;
                    key_ ^= keys.faceDown(p[k]);
                }
                if (i >= open.homeFirst())
                    home_[p[k]] = true;
            }
        }
        deal_ = state.dealNumber;
        key_ ^= dealKey();
    }

    const std::vector<std::uint8_t>& pile(int i) const { return piles_[static_cast<std::size_t>(i)]; }
    std::uint64_t key() const { return key_; }
    const CardSet& home() const { return home_; }
    bool faceDown(int card) const { return down_[static_cast<std::size_t>(card)]; }
    int deal() const { return deal_; }
    bool won() const
    {
        for (int i = 0; i < open_.homeFirst(); ++i)
            if (!pile(i).empty())
                return false;
        return true;
    }
    int emptyColumns() const
    {
        int n = 0;
        for (int c = 0; c < open_.tableaus; ++c)
            n += pile(c).empty() ? 1 : 0;
        return n;
    }
    int emptyCells() const
    {
        int n = 0;
        for (int q = 0; q < open_.reserves; ++q)
            n += pile(open_.tableaus + q).empty() ? 1 : 0;
        return n;
    }
    int pileOf(int card) const { return at_[static_cast<std::size_t>(card)]; }
    int indexOf(int card) const { return index_[static_cast<std::size_t>(card)]; }

    // Whether a click would change the table, and the click itself (as single-card steps).
    bool clickAvailable() const
    {
        if (!open_.stock)
            return false;
        return !pile(open_.stockPile()).empty() ||
               (pile(open_.wastePile()).size() >= 2 && (open_.deals == -1 || deal_ < open_.deals));
    }
    void click(std::vector<Op>& ops)
    {
        const int stock = open_.stockPile(), waste = open_.wastePile();
        const bool draw = !pile(stock).empty();
        const int from = draw ? stock : waste, to = draw ? waste : stock;
        const int n = draw ? std::min(open_.drawCount, static_cast<int>(pile(stock).size()))
                           : static_cast<int>(pile(waste).size());
        if (!draw) {
            key_ ^= dealKey();
            ++deal_;
            key_ ^= dealKey();
        }
        for (int k = 0; k < n; ++k) {
            Op op{static_cast<std::uint8_t>(from), 1, static_cast<std::uint8_t>(to),
                  static_cast<std::uint8_t>(pile(from).size() - 1)};
            op.clickStart = k == 0;
            op.click = true;
            op.pass = !draw && k == 0;
            shift(from, 1, to);
            ops.push_back(op);
        }
    }
    // Moves the top count cards of from onto to and turns up a tableau card it uncovers.
    Op move(int from, int index, int to)
    {
        Op op{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(pile(from).size() - static_cast<std::size_t>(index)),
              static_cast<std::uint8_t>(to), static_cast<std::uint8_t>(index)};
        shift(from, op.count, to);
        const auto& p = pile(from);
        if (from < open_.tableaus && !p.empty() && down_[p.back()]) {
            reveal(p.back(), false);
            op.turned = true;
        }
        return op;
    }
    void undo(const Op& op)
    {
        if (op.turned)
            reveal(pile(op.from).back(), true);
        shift(op.to, op.count, op.from);
        if (op.pass) {
            key_ ^= dealKey();
            --deal_;
            key_ ^= dealKey();
        }
    }

    // The order of a tableau pile: face-down cards, builds that hold together, cards lying on
    // lower ones; kept until a move touches the pile.
    int columnScore(int c) const
    {
        if (!(dirty_ >> c & 1U))
            return columnScore_[static_cast<std::size_t>(c)];
        const auto& p = pile(c);
        int h = 0;
        if (p.empty()) {
            h = 100;
        } else {
            int lowest = 14;
            const std::int8_t* pairs = open_.pairScore.data();
            for (std::size_t i = 0; i < p.size(); ++i) {
                if (down_[p[i]]) {
                    h -= 30;
                    continue;
                }
                if (i > 0 && !down_[p[i - 1]])
                    h += pairs[p[i - 1] * (kLastCard + 1) + p[i]];
                // Cards lying on a lower card keep it from its foundation.
                const int r = open_.rankOf[p[i]];
                if (r > lowest)
                    h -= 4;
                lowest = std::min(lowest, r);
            }
        }
        columnScore_[static_cast<std::size_t>(c)] = h;
        dirty_ &= ~(std::uint64_t{1} << c);
        return h;
    }

private:
    std::uint64_t dealKey() const
    {
        // Passes count only where they are limited.
        return !open_.stock || open_.deals == -1 ? 0 : ZobristKeys::instance().placeholder(kTablePiles, deal_ & 63);
    }
    void reveal(int card, bool down)
    {
        down_[static_cast<std::size_t>(card)] = down;
        key_ ^= ZobristKeys::instance().faceDown(card);
        dirty_ |= std::uint64_t{1} << at_[static_cast<std::size_t>(card)];
    }
    // Moves the top n cards of from onto to, keeping their order, and updates the key.
    void shift(int from, int n, int to)
    {
        auto& a = piles_[static_cast<std::size_t>(from)];
        auto& b = piles_[static_cast<std::size_t>(to)];
        const ZobristKeys& keys = ZobristKeys::instance();
        const std::size_t first = a.size() - static_cast<std::size_t>(n);
        const std::uint8_t card = a[first];
        key_ ^= first == 0 ? keys.bottom(open_.slot[static_cast<std::size_t>(from)], card) : keys.pair(card, a[first - 1]);
        key_ ^= b.empty() ? keys.bottom(open_.slot[static_cast<std::size_t>(to)], card) : keys.pair(card, b.back());
        const int homeFirst = open_.homeFirst();
        if (to >= homeFirst)
            home_[card] = true;
        if (from >= homeFirst)
            home_[card] = false;
        for (std::size_t k = first; k < a.size(); ++k) {
            at_[a[k]] = static_cast<std::uint8_t>(to);
            index_[a[k]] = static_cast<std::uint8_t>(b.size() + k - first);
        }
        b.insert(b.end(), a.begin() + static_cast<std::ptrdiff_t>(first), a.end());
        a.resize(first);
        if (from < 64)
            dirty_ |= std::uint64_t{1} << from;
        if (to < 64)
            dirty_ |= std::uint64_t{1} << to;
    }

    const OpenRules& open_;
    std::array<std::vector<std::uint8_t>, kTablePiles> piles_;
    CardSet home_;
    CardSet down_;
    int deal_ = 1;
    std::uint64_t key_ = 0;
    std::array<std::uint8_t, kLastCard + 1> at_{};
    std::array<std::uint8_t, kLastCard + 1> index_{};
    mutable std::array<int, kTablePiles> columnScore_{};
    mutable std::uint64_t dirty_ = ~std::uint64_t{0}; // bit per pile (only tableau piles, under 64, are read)
};

// Whether foundation f takes card now.
bool foundationTakes(const OpenRules& open, const Position& pos, int f, int card)
{
    const auto& p = pos.pile(open.homeFirst() + f);
    if (open.foundationCap > 0 && static_cast<int>(p.size()) >= open.foundationCap)
        return false;
    const auto fi = static_cast<std::size_t>(f);
    return p.empty() ? open.foundEmpty[fi][static_cast<std::size_t>(card)]
                     : open.foundOn[fi][static_cast<std::size_t>(card)][p.back()];
}

// Where the single card or group from position index of pile from may go.
template <class Push>
void addTargets(const OpenRules& open, const Position& pos, int from, int index, int card, int n, Source source,
                int emptyColumns, int emptyCells, Push&& push)
{
    auto out = [&](int to) {
        push(OpenMove{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(index), static_cast<std::uint8_t>(to)});
    };
    if (n == 1)
        for (int f = 0; f < open.foundations; ++f)
            if (foundationTakes(open, pos, f, card))
                out(open.homeFirst() + f);
    const auto src = static_cast<std::size_t>(source);
    for (int c = 0; c < open.tableaus; ++c) {
        if (c == from)
            continue; // the engine never drops cards back on their own pile
        const auto& p = pos.pile(c);
        const bool ok = p.empty() ? open.tabEmpty[src][static_cast<std::size_t>(card)] &&
                                        (n == 1 || open.groupLimit != -5 || open.fits(n, emptyColumns, emptyCells, true))
                                  : open.tabOn[src][static_cast<std::size_t>(card)][p.back()];
        if (ok)
            out(c);
    }
    if (n == 1)
        for (int q = 0; q < open.reserves; ++q)
            if (open.cellTakes[static_cast<std::size_t>(q)] && pos.pile(open.tableaus + q).empty())
                out(open.tableaus + q);
}

// Every legal move, as the general generator finds them (the same set, any order).
template <class Push>
void generate(const OpenRules& open, const Position& pos, Push&& push)
{
    const int emptyColumns = pos.emptyColumns();
    const int emptyCells = pos.emptyCells();
    for (int c = 0; c < open.tableaus; ++c) {
        const auto& p = pos.pile(c);
        const int size = static_cast<int>(p.size());
        for (int i = size - 1; i >= 0; --i) {
            // Nothing below a face-down card lifts; sequences are chains: once a pair breaks,
            // no deeper group lifts.
            if (pos.faceDown(p[static_cast<std::size_t>(i)]) ||
                (i + 1 < size && !open.sequence[p[static_cast<std::size_t>(i)]][p[static_cast<std::size_t>(i + 1)]]))
                break;
            const int n = size - i;
            if (!open.fits(n, emptyColumns, emptyCells, false))
                continue;
            addTargets(open, pos, c, i, p[static_cast<std::size_t>(i)], n, n == 1 ? kFromTableauSingle : kFromTableauGroup,
                       emptyColumns, emptyCells, push);
        }
    }
    if (open.stock && !pos.pile(open.wastePile()).empty())
        addTargets(open, pos, open.wastePile(), static_cast<int>(pos.pile(open.wastePile()).size()) - 1,
                   pos.pile(open.wastePile()).back(), 1, kFromWaste,
                   emptyColumns, emptyCells, push);
    for (int q = 0; q < open.reserves; ++q) {
        const auto& p = pos.pile(open.tableaus + q);
        if (!p.empty())
            addTargets(open, pos, open.tableaus + q, static_cast<int>(p.size()) - 1, p.back(), 1, kFromReserve, emptyColumns,
                       emptyCells, push);
    }
    for (int f = 0; f < open.foundations && open.takeBack != 0; ++f) {
        const auto& p = pos.pile(open.homeFirst() + f);
        if (p.size() >= static_cast<std::size_t>(open.takeBack))
            addTargets(open, pos, open.homeFirst() + f, static_cast<int>(p.size()) - 1, p.back(), 1, kFromFoundation,
                       emptyColumns,
                       emptyCells, push);
    }
    if (pos.clickAvailable())
        push(OpenMove{static_cast<std::uint8_t>(open.stockPile()), kClick, static_cast<std::uint8_t>(open.wastePile())});
}

struct Frame {
    int begin = 0;
    int end = 0;
    int next = 0;
    int ops = 0; // ops applied on the way to this position
};

struct Scored {
    OpenMove move;
    int score;
    int clicks = 0; // stock clicks made before the move (a waste card reached through the stock)
};

class OpenSearch {
public:
    OpenSearch(const OpenRules& open, const GameState& state, const SolverLimits& limits)
        : open_(open), pos_(open, state), limits_(limits)
    {
    }
    SolveResult run();

private:
    bool depthFirst();
    // The moves worth trying from the position, pruned of the pointless ones.
    void candidates();
    void apply(const OpenMove& m)
    {
        if (m.click())
            pos_.click(ops_);
        else
            ops_.push_back(pos_.move(m.from, m.index, m.to));
    }
    void applyWithClicks(const OpenMove& m, int clicks)
    {
        for (int k = 0; k < clicks; ++k)
            pos_.click(ops_);
        apply(m);
    }
    void undoTo(int mark)
    {
        while (static_cast<int>(ops_.size()) > mark) {
            pos_.undo(ops_.back());
            ops_.pop_back();
        }
    }
    // Sends home the cards nothing can be built on any more, until none is left.
    void playSafe()
    {
        if (!open_.safeHome || !limits_.reductions)
            return;
        const int last = open_.stock ? open_.wastePile() : open_.tableaus + open_.reserves - 1;
        for (bool any = true; any;) {
            any = false;
            const CardSet wanted = wantedCards();
            for (int i = 0; i <= last; ++i) {
                if (open_.stock && i == open_.stockPile())
                    continue;
                const auto& p = pos_.pile(i);
                if (p.empty() || !wanted[p.back()])
                    continue;
                const int card = p.back();
                // Where foundation cards can be taken back, the cards that could be built on
                // the builders must be home too.
                bool safe = true;
                for (std::uint8_t b : open_.builders[static_cast<std::size_t>(card)]) {
                    safe = safe && pos_.home()[b];
                    if (open_.takeBack != 0)
                        for (std::uint8_t c : open_.builders[b])
                            safe = safe && pos_.home()[c];
                }
                if (!safe)
                    continue;
                for (int f = 0; f < open_.foundations; ++f)
                    if (foundationTakes(open_, pos_, f, card)) {
                        ops_.push_back(pos_.move(i, static_cast<int>(p.size()) - 1, open_.homeFirst() + f));
                        any = true;
                        break;
                    }
            }
        }
    }
    // The cards some foundation takes now.
    CardSet wantedCards() const
    {
        CardSet wanted;
        for (int f = 0; f < open_.foundations; ++f) {
            const auto& p = pos_.pile(open_.homeFirst() + f);
            if (open_.foundationCap <= 0 || static_cast<int>(p.size()) < open_.foundationCap)
                wanted |= p.empty() ? open_.foundEmpty[static_cast<std::size_t>(f)]
                                    : open_.foundNext[static_cast<std::size_t>(f)][p.back()];
        }
        return wanted;
    }
    int evaluate() const;
    int moveScore(const OpenMove& m) const;
    void expand(Frame& f);
    void addStockMacros();
    bool outOfBudget();

    const OpenRules& open_;
    Position pos_;
    SolverLimits limits_;
    std::vector<Op> ops_;
    std::vector<OpenMove> moves_;
    std::vector<std::uint8_t> clicks_; // per entry of moves_
    std::vector<Scored> scored_;
    std::vector<Frame> frames_;
    std::vector<std::uint8_t> stockCopy_;
    std::vector<std::uint8_t> wasteCopy_;
    std::vector<OpenMove> macroTargets_;
    KeySet seen_;
    std::uint64_t states_ = 0;
    std::uint64_t restart_ = 0;
    Clock::time_point started_;
    bool budgetSpent_ = false;
    bool cancelled_ = false;
    // The first phase skips moves that are rarely needed (see candidates) and may take half the
    // budget; the second searches everything, so only it can prove a deal lost.
    bool pruning_ = false;
    bool phaseSpent_ = false;
};

bool OpenSearch::outOfBudget()
{
    if (limits_.maxStates != 0 && states_ >= limits_.maxStates)
        return budgetSpent_ = true;
    if (pruning_ && limits_.maxStates != 0 && states_ >= limits_.maxStates / 2)
        return phaseSpent_ = true;
    if ((states_ & 1023) != 0)
        return false;
    if (limits_.cancel && limits_.cancel->load(std::memory_order_relaxed))
        return cancelled_ = budgetSpent_ = true;
    if (limits_.budgetMs > 0) {
        const auto elapsed = Clock::now() - started_;
        if (elapsed >= std::chrono::milliseconds(limits_.budgetMs))
            return budgetSpent_ = true;
        if (pruning_ && elapsed >= std::chrono::milliseconds(limits_.budgetMs) / 2)
            return phaseSpent_ = true;
    }
    if (seen_.wouldGrow() && seen_.bytesAfterGrowth() > limits_.maxTableBytes)
        return budgetSpent_ = true;
    return false;
}

// How far the position looks from a win: cards home, open columns and cells, columns in order,
// and above all how deep the cards the foundations take next lie buried.
int OpenSearch::evaluate() const
{
    const CardSet wanted = wantedCards();
    int h = 0;
    for (int f = 0; f < open_.foundations; ++f)
        h += 100 * static_cast<int>(pos_.pile(open_.homeFirst() + f).size());
    for (const int card : open_.cardList) {
        if (!wanted[static_cast<std::size_t>(card)])
            continue;
        const int pile = pos_.pileOf(card);
        if (pile < open_.tableaus)
            h -= 20 * (static_cast<int>(pos_.pile(pile).size()) - 1 - pos_.indexOf(card));
    }
    for (int c = 0; c < open_.tableaus; ++c)
        h += pos_.columnScore(c);
    for (int q = 0; q < open_.reserves; ++q)
        h -= 40 * static_cast<int>(pos_.pile(open_.tableaus + q).size());
    if (open_.stock)
        h -= static_cast<int>(pos_.pile(open_.stockPile()).size() + pos_.pile(open_.wastePile()).size());
    return h;
}

int OpenSearch::moveScore(const OpenMove& m) const
{
    if (m.click())
        return 0;
    if (m.from >= open_.homeFirst())
        return -500;
    if (m.to >= open_.homeFirst())
        return 9000;
    int s = 0;
    if (m.from < open_.tableaus) {
        const auto& p = pos_.pile(m.from);
        if (m.index == 0) {
            s += 400; // empties a column
        } else if (pos_.faceDown(p[static_cast<std::size_t>(m.index - 1)])) {
            s += 600 + 20 * m.index; // uncovers a face-down card
        } else {
            s += 100;
        }
        int lowest = 14;
        for (int i = m.index - 1; i >= 0; --i)
            lowest = std::min(lowest, rank(p[static_cast<std::size_t>(i)]));
        if (m.index > 0)
            s += (14 - lowest) * 8;
    } else {
        s += m.from == open_.wastePile() && open_.stock ? 500 : 550;
    }
    if (m.to < open_.tableaus)
        s += pos_.pile(m.to).empty() ? -250 : 50;
    else
        s -= 300;
    return s;
}

void OpenSearch::candidates()
{
    scored_.clear();
    const int columns = open_.tableaus;
    const int cellsEnd = open_.tableaus + open_.reserves;
    generate(open_, pos_, [&](const OpenMove& m) {
        // From one foundation to another changes nothing where foundations play alike.
        if (m.from == m.to || (limits_.reductions && m.from >= open_.homeFirst() && m.to >= open_.homeFirst() &&
                               open_.slot[m.from] == open_.slot[m.to]))
            return;
        if (limits_.reductions && !m.click() && m.to < cellsEnd && pos_.pile(m.to).empty()) {
            const auto& slot = open_.slot;
            // A whole pile to an empty pile that plays alike changes nothing.
            if (m.index == 0 && m.from < columns && slot[m.from] == slot[m.to])
                return;
            // Of several empty piles that play alike, one is enough.
            for (const Scored& o : scored_)
                if (o.move.from == m.from && o.move.index == m.index && slot[o.move.to] == slot[m.to] &&
                    pos_.pile(o.move.to).empty())
                    return;
        }
        // Where a stock feeds the waste (Klondike and its kin), the first phase moves part of a
        // face-up group to another column only when the card it uncovers can go home at once.
        if (pruning_ && !m.click() && m.from < columns && m.to < columns && m.index > 0) {
            const auto& p = pos_.pile(m.from);
            const int below = p[static_cast<std::size_t>(m.index - 1)];
            if (!pos_.faceDown(below)) {
                bool home = false;
                for (int f = 0; f < open_.foundations && !home; ++f)
                    home = foundationTakes(open_, pos_, f, below);
                if (!home)
                    return;
            }
        }
        scored_.push_back(Scored{m, 0, 0});
    });
}

// Every waste card the stock can bring up is offered as one move: so many clicks, then that
// card to its target. The search then sees at once which cards the stock holds for it, instead
// of going through the stock one click per level.
void OpenSearch::addStockMacros()
{
    // The clicks are first played on copies of the stock and waste; the real clicks follow only
    // as far as the last waste card that can go somewhere.
    stockCopy_ = pos_.pile(open_.stockPile());
    wasteCopy_ = pos_.pile(open_.wastePile());
    int deal = pos_.deal();
    const int mark = static_cast<int>(ops_.size());
    const int maxClicks = std::min(250, static_cast<int>(stockCopy_.size() + wasteCopy_.size()) + 2);
    const int emptyColumns = pos_.emptyColumns();
    const int emptyCells = pos_.emptyCells();
    std::vector<OpenMove>& targets = macroTargets_;
    int clicked = 0; // real clicks made so far
    for (int k = 1; k <= maxClicks; ++k) {
        if (!stockCopy_.empty()) {
            for (int n = 0; n < open_.drawCount && !stockCopy_.empty(); ++n) {
                wasteCopy_.push_back(stockCopy_.back());
                stockCopy_.pop_back();
            }
        } else if (wasteCopy_.size() >= 2 && (open_.deals == -1 || deal < open_.deals)) {
            ++deal;
            stockCopy_.assign(wasteCopy_.rbegin(), wasteCopy_.rend());
            wasteCopy_.clear();
        } else {
            break;
        }
        if (wasteCopy_.empty())
            continue;
        targets.clear();
        addTargets(open_, pos_, open_.wastePile(), static_cast<int>(wasteCopy_.size()) - 1, wasteCopy_.back(), 1,
                   kFromWaste, emptyColumns, emptyCells, [&](const OpenMove& m) { targets.push_back(m); });
        if (targets.empty())
            continue;
        for (; clicked < k; ++clicked)
            pos_.click(ops_);
        const int atCard = static_cast<int>(ops_.size());
        for (const OpenMove& m : targets) {
            apply(m);
            playSafe();
            if (seen_.insert(pos_.key()))
                scored_.push_back(Scored{m, pos_.won() ? 1 << 30 : evaluate() * 16 + 500 / 16 - k, k});
            undoTo(atCard);
        }
    }
    undoTo(mark);
}

void OpenSearch::expand(Frame& f)
{
    candidates();
    std::size_t kept = 0;
    const int mark = static_cast<int>(ops_.size());
    for (std::size_t i = 0; i < scored_.size(); ++i) {
        Scored sm = scored_[i];
        const int ms = moveScore(sm.move);
        apply(sm.move);
        playSafe();
        const bool fresh = seen_.insert(pos_.key());
        if (fresh) {
            sm.score = pos_.won() ? 1 << 30 : evaluate() * 16 + ms / 16;
            if (restart_ != 0 && sm.score != 1 << 30) {
                std::uint64_t x = pos_.key() ^ (restart_ * 0x9E3779B97F4A7C15ULL);
                x = (x ^ (x >> 31)) * 0xBF58476D1CE4E5B9ULL;
                sm.score += static_cast<int>((x >> 40) % 600);
            }
            scored_[kept++] = sm;
        }
        undoTo(mark);
    }
    scored_.resize(kept);
    if (open_.stock && limits_.reductions)
        addStockMacros();
    std::stable_sort(scored_.begin(), scored_.end(), [](const Scored& a, const Scored& b) { return a.score > b.score; });
    f.begin = static_cast<int>(moves_.size());
    for (const Scored& s : scored_) {
        moves_.push_back(s.move);
        clicks_.push_back(static_cast<std::uint8_t>(s.clicks));
    }
    f.end = static_cast<int>(moves_.size());
    f.next = f.begin;
}

bool OpenSearch::depthFirst()
{
    const int rootOps = static_cast<int>(ops_.size());
    const std::uint64_t rootKey = pos_.key();
    bool won = false;
    // Attempts with a doubling position limit and fresh tie-breaks, the last one to the end of
    // the budget: a depth-first search that goes wrong early would spend everything deep in a
    // hopeless subtree. Only an attempt that ends by itself proves a deal lost.
    constexpr std::uint64_t kFirstAttempt = 1000;
    constexpr int kAttempts = 10;
    for (std::uint64_t limit = kFirstAttempt; !won; limit *= 2, ++restart_) {
        const bool last = restart_ + 1 >= kAttempts;
        const std::uint64_t attemptStart = states_;
        bool cut = false;
        undoTo(rootOps);
        seen_.clear();
        seen_.insert(rootKey);
        moves_.clear();
        clicks_.clear();
        frames_.clear();
        frames_.push_back(Frame{0, 0, 0, rootOps});
        expand(frames_.back());
        while (!won && !frames_.empty()) {
            Frame& parent = frames_.back();
            if (parent.next >= parent.end) {
                moves_.resize(static_cast<std::size_t>(parent.begin));
                clicks_.resize(moves_.size());
                frames_.pop_back();
                if (!frames_.empty())
                    undoTo(frames_.back().ops);
                continue;
            }
            if (outOfBudget())
                break;
            if (!last && states_ - attemptStart >= limit) {
                cut = true;
                break;
            }
            const int clicks = clicks_[static_cast<std::size_t>(parent.next)];
            const OpenMove m = moves_[static_cast<std::size_t>(parent.next++)];
            undoTo(parent.ops);
            applyWithClicks(m, clicks);
            playSafe();
            ++states_;
            frames_.push_back(Frame{0, 0, 0, static_cast<int>(ops_.size())});
            if (pos_.won()) {
                won = true;
                break;
            }
            expand(frames_.back());
        }
        if (won || budgetSpent_ || phaseSpent_ || !cut)
            break;
    }
    return won;
}

SolveResult OpenSearch::run()
{
    started_ = Clock::now();
    const std::clock_t cpuStart = std::clock();
    SolveResult result;
    playSafe();
    states_ = 1;
    bool won = pos_.won();
    if (!won) {
        const int rootOps = static_cast<int>(ops_.size());
        pruning_ = open_.stock && limits_.reductions;
        won = depthFirst();
        if (!won && pruning_ && !budgetSpent_) {
            pruning_ = false;
            phaseSpent_ = false;
            undoTo(rootOps);
            restart_ = 0;
            won = depthFirst();
        }
    }
    result.states = states_;
    result.tableBytes = seen_.bytes();
    result.cancelled = cancelled_;
    if (won) {
        result.verdict = Verdict::Winnable;
        for (const Op& op : ops_) {
            if (op.clickStart)
                result.line.push_back(Move{MoveKind::Stock, PileRef::stock(), -1, {}});
            else if (!op.click)
                result.line.push_back(Move{MoveKind::Transfer, open_.ref(op.from), op.index, open_.ref(op.to)});
        }
    } else {
        result.verdict = budgetSpent_ ? Verdict::Unknown : Verdict::NotWinnable;
    }
    result.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - started_).count();
    result.cpuMilliseconds = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    return result;
}

} // namespace

void openMoves(const OpenRules& open, const GameState& state, MoveList& list)
{
    list.clear();
    const Position pos(open, state);
    if (pos.won())
        return;
    generate(open, pos, [&](const OpenMove& m) {
        if (m.click())
            list.push(Move{MoveKind::Stock, PileRef::stock(), -1, {}});
        else
            list.push(Move{MoveKind::Transfer, open.ref(m.from), m.index, open.ref(m.to)});
    });
}

bool openPlay(const OpenRules& open, const GameState& state, const Move& move, GameState& after)
{
    Position pos(open, state);
    std::vector<Op> ops;
    if (move.kind == MoveKind::Stock) {
        if (!pos.clickAvailable())
            return false;
        pos.click(ops);
    } else if (move.kind == MoveKind::Transfer) {
        int from = -1, to = -1;
        for (int i = 0; i < open.piles(); ++i) {
            from = open.ref(i) == move.from ? i : from;
            to = open.ref(i) == move.to ? i : to;
        }
        if (from < 0 || to < 0 || move.index < 0 || move.index >= static_cast<int>(pos.pile(from).size()))
            return false;
        pos.move(from, move.index, to);
    } else {
        return false;
    }
    after = state;
    for (int i = 0; i < open.piles(); ++i) {
        Pile& p = after.table.pile(open.ref(i));
        p.clear();
        for (std::uint8_t c : pos.pile(i)) {
            p.push(c);
            if (i < open.tableaus)
                after.table.setFace(c, !pos.faceDown(c));
        }
    }
    after.dealNumber = pos.deal();
    return true;
}

std::optional<SolveResult> solveOpen(const catalog::Rules& rules, const GameState& state, const SolverLimits& limits)
{
    const auto open = openRulesFor(rules, state);
    if (!open)
        return std::nullopt;
    OpenSearch search(*open, state, limits);
    return search.run();
}

} // namespace cw::engine
