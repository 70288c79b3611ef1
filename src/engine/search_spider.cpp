// The Spider family's fast search: fixed-size compact positions, rule tables from the engine, best first from deal to deal.
#include "engine/search_spider.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/family.h"
#include "engine/rules_building.h"
#include "engine/rules_groups.h"
#include "engine/search_budget.h"
#include "engine/search_keyset.h"
#include "engine/search_open_rules.h"
#include "engine/stock.h"

namespace cw::engine {

using catalog::FoundationBase;

namespace {

constexpr int kMaxColumns = 16;
constexpr int kMaxPile = 160; // every card of three decks in one pile
constexpr int kMaxRuns = 12;

using CardSet = std::bitset<kLastCard + 1>;

// The run foundations the compact form completes; RunsEitherWay is left to the general search.
bool runBase(int v) { return catalog::isRunBase(v) && v != catalog::FoundationBase::RunsEitherWay; }

} // namespace

class SpiderRules {
public:
    int tableaus = 0;
    int foundations = 0;
    int dealValue = 1;                             // 1: a row is always dealt; 2: refused while a column is empty
    OpenRules limits;                              // only its group-size test is used
    std::array<CardSet, kLastCard + 1> sequence{}; // [lower]: cards that lift with it
    std::array<std::array<CardSet, kLastCard + 1>, 2> on{}; // [single][moving]: tops it goes on
    std::array<CardSet, 2> onEmpty{};                       // [single]: cards an empty column takes
    std::array<int, kMaxRuns> base{};                       // foundation base of each foundation
    int tableauCode = 0;
    catalog::Rules rules;
    CardSet cards;
};

namespace {

struct Pos {
    std::array<std::uint8_t, kMaxColumns> len{};
    std::array<std::uint8_t, kMaxColumns> down{}; // face-down cards at the bottom of the column
    std::array<std::array<std::uint8_t, kMaxPile>, kMaxColumns> col{};
    std::array<std::array<std::uint8_t, 13>, kMaxRuns> home{};
    std::array<std::uint8_t, kMaxRuns> homeLen{};
    int stockLen = 0;
};

bool rulesFit(const catalog::Rules& r, const Play& play)
{
    if (play.family().special() || r.clickToPlay() == 1 || play.tableaus() < 1 || play.tableaus() > kMaxColumns ||
        play.reserves() != 0 || play.foundations() > kMaxRuns)
        return false;
    if (r.stockTurnsToWaste() == 1 || r.redealMode() != 0 || r.waste2Arrangement() != 0 ||
        r.fillAfterFirstMove() == 1 || r.stockDealsToReserve(0) != 0 || r.wasteAccepts() == 2 ||
        r.stockFirstRestriction() != 0)
        return false;
    const int style = r.tableauFanStyle();
    if (style == 8 || style == 9 || style == 12 || (r.tableauGridRows() >= 1 && r.tableauGridColumns() >= 1))
        return false;
    if (r.tableauCapacity() > 0 || r.tableauAutoFill() != 0 || r.foundationResort() == 1 ||
        r.foundationTakeBack() != 0 || r.firstMoveToFoundation() == 1 || r.topCardOnly() || r.tableauAutoFaceUp() == 0)
        return false;
    switch (r.groupLimit()) {
    case catalog::GroupLimit::CellsAndPiles:
    case catalog::GroupLimit::CellsAndPilesStrict:
    case catalog::GroupLimit::KingOrSingle:
    case catalog::GroupLimit::WholePileOrSingle:
    case catalog::GroupLimit::OpenRow:
    case catalog::GroupLimit::EitherEnd:
    case catalog::GroupLimit::SingleUntilDraw:
    case catalog::GroupLimit::ThreeRowOpen: return false;
    default: break;
    }
    const int v = r.stockDealsToTableau(0);
    if (v != 1 && v != 2)
        return false;
    for (int c = 0; c < play.tableaus(); ++c)
        if (r.stockDealsToTableau(c) != v)
            return false;
    if (play.tableaus() <= 8 && r.stockDealsToTableau(8) == 8)
        return false;
    if (play.foundations() < 1)
        return false;
    for (int f = 0; f < play.foundations(); ++f)
        if (!runBase(r.foundationBase(f)))
            return false;
    for (int c = 1; c < play.tableaus(); ++c)
        if (play.tableauCode(c) != play.tableauCode(0) || r.tableauEmptyRule(c) != r.tableauEmptyRule(0) ||
            r.tableauContinuity(c) != r.tableauContinuity(0) || r.tableauDirection(c) != r.tableauDirection(0))
            return false;
    const int code = play.tableauCode(0);
    return code != catalog::BuildRule::Reversible && code != catalog::BuildRule::HeldByStock &&
           play.state.ascendingColumns == 0;
}

bool stateFits(const Play& play, CardSet& cards)
{
    const Table& t = play.table();
    if (play.state.won || holdsCard(t.waste()) || !t.waste().empty() || !t.secondWaste().empty())
        return false;
    int total = 0;
    auto take = [&](int c) {
        if (c <= 0 || c > kLastDeckCard || cards[static_cast<std::size_t>(c)])
            return false;
        cards[static_cast<std::size_t>(c)] = true;
        ++total;
        return true;
    };
    for (int c = 0; c < kTableauPiles; ++c) {
        const Pile& p = t.tableau(c);
        if (c >= play.tableaus()) {
            if (!p.empty())
                return false;
            continue;
        }
        bool upSeen = false;
        for (int card : p) {
            if (!take(card))
                return false;
            const bool down = t.isFaceDown(card);
            if (down && upSeen)
                return false;
            upSeen = upSeen || !down;
        }
        if (!p.empty() && !upSeen)
            return false;
    }
    for (int q = 0; q < kReservePiles; ++q)
        if (!t.reserve(q).empty())
            return false;
    for (int f = 0; f < kFoundationPiles; ++f) {
        const Pile& p = t.foundation(f);
        if (f >= play.foundations() ? !p.empty() : p.size() > 13)
            return false;
        for (int card : p)
            if (!take(card))
                return false;
    }
    for (int card : t.stock())
        if (!take(card))
            return false;
    return total <= kMaxPile;
}

std::shared_ptr<SpiderRules> buildTables(const GameRules& rules, const GameState& state, const CardSet& cards)
{
    auto spider = std::make_shared<SpiderRules>();
    spider->rules = rules;
    spider->cards = cards;
    GameState s = state;
    for (auto& p : s.table.piles().foundations)
        p.clear();
    for (auto& p : s.table.piles().tableau)
        p.clear();
    for (auto& p : s.table.piles().stockGroup)
        p.clear();
    s.table.setAllFaceUp();
    const PlayOptions options = solverPlayOptions();
    Play play{rules, s, options};
    spider->tableaus = play.tableaus();
    spider->foundations = play.foundations();
    spider->dealValue = rules.stockDealsToTableau(0);
    spider->limits.groupLimit = rules.groupLimit();
    spider->tableauCode = play.tableauCode(0);
    for (int f = 0; f < spider->foundations; ++f)
        spider->base[static_cast<std::size_t>(f)] = rules.foundationBase(f);
    std::vector<int> list;
    for (int c = 1; c <= kLastCard; ++c)
        if (cards[static_cast<std::size_t>(c)])
            list.push_back(c);
    const PileRef source = PileRef::tableau(spider->tableaus > 1 ? 1 : 0);
    Pile& target = s.table.tableau(0);
    for (int m : list) {
        for (int single = 0; single < 2; ++single) {
            target.clear();
            if (buildingTest(play, tableauQuery(play, 0, m, source, single == 1)))
                spider->onEmpty[static_cast<std::size_t>(single)][static_cast<std::size_t>(m)] = true;
        }
        for (int t : list) {
            if (t == m || !generalRuleMayPass(spider->tableauCode, m, t))
                continue;
            target.clear();
            target.push(t);
            for (int single = 0; single < 2; ++single)
                if (buildingTest(play, tableauQuery(play, 0, m, source, single == 1)))
                    spider->on[static_cast<std::size_t>(single)][static_cast<std::size_t>(m)]
                              [static_cast<std::size_t>(t)] = true;
        }
        for (int u : list)
            if (u != m && sequencePair(play, 0, m, u))
                spider->sequence[static_cast<std::size_t>(m)][static_cast<std::size_t>(u)] = true;
    }
    target.clear();
    return spider;
}

// The compact form of a position and the moves on it, exactly as the engine plays them.
class Board {
public:
    Board(const SpiderRules& spider, const GameState& state) : r_(spider)
    {
        const Table& t = state.table;
        for (int c = 0; c < r_.tableaus; ++c) {
            const Pile& p = t.tableau(c);
            pos_.len[c] = static_cast<std::uint8_t>(p.size());
            for (std::size_t k = 0; k < p.size(); ++k) {
                pos_.col[c][k] = static_cast<std::uint8_t>(p[k]);
                if (t.isFaceDown(p[k]))
                    ++pos_.down[c];
            }
        }
        for (int f = 0; f < r_.foundations; ++f) {
            const Pile& p = t.foundation(f);
            pos_.homeLen[f] = static_cast<std::uint8_t>(p.size());
            for (std::size_t k = 0; k < p.size(); ++k)
                pos_.home[f][k] = static_cast<std::uint8_t>(p[k]);
        }
        for (int card : t.stock())
            stock_.push_back(static_cast<std::uint8_t>(card));
        pos_.stockLen = static_cast<int>(stock_.size());
    }

    Pos& pos() { return pos_; }
    const Pos& pos() const { return pos_; }
    const std::vector<std::uint8_t>& stock() const { return stock_; }
    const SpiderRules& rules() const { return r_; }

    int emptyColumns(const Pos& p) const
    {
        int n = 0;
        for (int c = 0; c < r_.tableaus; ++c)
            n += p.len[c] == 0 ? 1 : 0;
        return n;
    }
    bool dealAvailable(const Pos& p) const { return p.stockLen > 0 && !(r_.dealValue == 2 && emptyColumns(p) > 0); }
    // The lowest index of column c that lifts as a group (the column's length when none).
    int liftFrom(const Pos& p, int c) const
    {
        const int len = p.len[c];
        if (len == 0)
            return 0;
        int i = len - 1;
        while (i > p.down[c] && r_.sequence[p.col[c][i - 1]][p.col[c][i]])
            --i;
        return i;
    }
    bool mayMove(const Pos& p, int c, int i, int d, int empty) const
    {
        const int n = p.len[c] - i;
        const int card = p.col[c][i];
        const std::size_t single = n == 1 ? 1 : 0;
        if (!r_.limits.fits(n, empty, 0, false))
            return false;
        if (p.len[d] == 0)
            return r_.onEmpty[single][static_cast<std::size_t>(card)] && r_.limits.fits(n, empty, 0, true);
        return r_.on[single][static_cast<std::size_t>(card)][p.col[d][p.len[d] - 1]];
    }
    static void transfer(Pos& p, int c, int i, int d)
    {
        const int n = p.len[c] - i;
        std::memcpy(&p.col[d][p.len[d]], &p.col[c][i], static_cast<std::size_t>(n));
        p.len[d] = static_cast<std::uint8_t>(p.len[d] + n);
        p.len[c] = static_cast<std::uint8_t>(i);
    }
    void completeRun(Pos& p, int c) const
    {
        const int len = p.len[c];
        if (len < 13)
            return;
        int target = -1;
        for (int f = 0; f < r_.foundations && target < 0; ++f)
            if (p.homeLen[f] == 0)
                target = f;
        if (target < 0 || len - 13 < p.down[c])
            return;
        const int base = r_.base[static_cast<std::size_t>(target)];
        auto at = [&](int k) { return static_cast<int>(p.col[c][len - 1 - k]); };
        for (int k = 0; k < 13; ++k) {
            const int card = at(k);
            if (rank(card) != (base == FoundationBase::RunsDown ? 13 - k : k + 1))
                return;
            if (k == 0)
                continue;
            const int prev = at(k - 1);
            bool ok = true;
            switch (base) {
            case FoundationBase::RunsInSuit:
            case FoundationBase::Runs:
            case FoundationBase::RunsDown: ok = suit(card) == suit(prev); break;
            case FoundationBase::RunsInColour: ok = isRed(card) == isRed(prev); break;
            case FoundationBase::RunsByRule:
                if (r_.tableauCode == catalog::BuildRule::Suit)
                    ok = suit(card) == suit(prev);
                else if (r_.tableauCode == catalog::BuildRule::Alternate)
                    ok = isRed(card) != isRed(prev);
                break;
            default: break;
            }
            if (!ok)
                return;
        }
        if (base != FoundationBase::RunsDown) {
            int count = 0, reds = 0, blacks = 0;
            for (int f = 0; f < r_.foundations; ++f) {
                if (r_.base[static_cast<std::size_t>(f)] != FoundationBase::RunsByRule)
                    continue;
                ++count;
                const int first = p.homeLen[f] > 0 ? p.home[f][0] : 0;
                reds += isRed(first) ? 1 : 0;
                blacks += isBlack(first) ? 1 : 0;
            }
            reds += isRed(at(0)) ? 1 : 0;
            blacks += isBlack(at(0)) ? 1 : 0;
            if (count > 0 && (reds * 2 > count || blacks * 2 > count))
                return;
        }
        for (int k = 0; k < 13; ++k)
            p.home[target][k] = static_cast<std::uint8_t>(at(k));
        p.homeLen[target] = 13;
        p.len[c] = static_cast<std::uint8_t>(len - 13);
    }
    void turnUps(Pos& p) const
    {
        for (int c = 0; c < r_.tableaus; ++c)
            if (p.len[c] > 0 && p.down[c] == p.len[c])
                --p.down[c];
    }
    void move(Pos& p, int c, int i, int d) const
    {
        transfer(p, c, i, d);
        completeRun(p, c);
        completeRun(p, d);
        turnUps(p);
    }
    void deal(Pos& p) const
    {
        for (int c = 0; c < r_.tableaus && p.stockLen > 0; ++c)
            p.col[c][p.len[c]++] = stock_[static_cast<std::size_t>(--p.stockLen)];
    }
    bool won(const Pos& p) const { return p.stockLen == 0 && emptyColumns(p) == r_.tableaus; }

    void moves(const Pos& p, MoveList& list) const
    {
        const int empty = emptyColumns(p);
        for (int c = 0; c < r_.tableaus; ++c)
            for (int i = p.len[c] - 1; i >= liftFrom(p, c) && i >= 0; --i)
                for (int d = 0; d < r_.tableaus; ++d)
                    if (d != c && mayMove(p, c, i, d, empty))
                        list.push(Move{MoveKind::Transfer, PileRef::tableau(c), i, PileRef::tableau(d)});
        if (dealAvailable(p))
            list.push(Move{MoveKind::Stock, PileRef::stock(), -1, {}});
    }
    bool play(Pos& p, const Move& m) const
    {
        if (m.kind == MoveKind::Stock) {
            if (!dealAvailable(p))
                return false;
            deal(p);
            return true;
        }
        if (m.kind != MoveKind::Transfer || m.from.kind != PileKind::Tableau || m.to.kind != PileKind::Tableau)
            return false;
        const int c = m.from.index, d = m.to.index;
        if (c < 0 || c >= r_.tableaus || d < 0 || d >= r_.tableaus || c == d || m.index < liftFrom(p, c) ||
            m.index >= p.len[c] || !mayMove(p, c, m.index, d, emptyColumns(p)))
            return false;
        move(p, c, m.index, d);
        return true;
    }
    void write(const Pos& p, GameState& after) const
    {
        Table& t = after.table;
        for (int c = 0; c < r_.tableaus; ++c) {
            Pile& pile = t.tableau(c);
            pile.clear();
            for (int k = 0; k < p.len[c]; ++k) {
                pile.push(p.col[c][k]);
                t.setFace(p.col[c][k], k >= p.down[c]);
            }
        }
        for (int f = 0; f < r_.foundations; ++f) {
            Pile& pile = t.foundation(f);
            pile.clear();
            for (int k = 0; k < p.homeLen[f]; ++k) {
                pile.push(p.home[f][k]);
                t.setFace(p.home[f][k], true);
            }
        }
        Pile& s = t.stock();
        while (static_cast<int>(s.size()) > p.stockLen)
            s.pop();
        after.won = won(p);
    }

private:
    const SpiderRules& r_;
    Pos pos_;
    std::vector<std::uint8_t> stock_;
};

// --- The search -------------------------------------------------------------------------------

std::uint64_t mix(std::uint64_t x)
{
    x = (x ^ (x >> 31)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// Alike columns make positions that differ only in their order the same once the stock is out: the
// key adds up the columns' own keys. While rows remain, each column falls under its own card of
// the next row, so then a column's key says where it stands.
std::uint64_t keyOf(const Pos& p, int tableaus)
{
    std::uint64_t key = mix(static_cast<std::uint64_t>(p.stockLen) + 0x51ED);
    for (int c = 0; c < tableaus; ++c) {
        std::uint64_t h = 0x9E3779B97F4A7C15ULL + p.down[c] + (p.stockLen > 0 ? std::uint64_t(c + 1) << 32 : 0);
        for (int k = 0; k < p.len[c]; ++k)
            h = mix(h ^ p.col[c][k]) + static_cast<std::uint64_t>(k);
        key += mix(h);
    }
    return key;
}

struct Child {
    Move move;
    int score;
};

class SpiderSearch {
public:
    SpiderSearch(const SpiderRules& spider, const GameState& state, const SolverLimits& limits)
        : board_(spider, state), r_(spider), limits_(limits), budget_(limits)
    {}
    SolveResult run();

private:
    int evaluate(const Pos& p) const;
    int moveBonus(const Pos& p, const Move& m) const;
    bool pointless(const Pos& p, int c, int i, int d) const;
    void expand(const Pos& p, std::uint64_t salt);
    bool outOfBudget();

    Board board_;
    const SpiderRules& r_;
    SolverLimits limits_;
    SearchBudget budget_;
    KeySet seen_;
    std::vector<Child> children_;
    MoveList scratch_;
    std::uint64_t states_ = 0;
    bool budgetSpent_ = false;
    bool prune_ = true;   // leave out moves that look pointless
    bool pruned_ = false; // a move that might matter was left out: no proof of a loss
};

int SpiderSearch::evaluate(const Pos& p) const
{
    int h = 0;
    for (int f = 0; f < r_.foundations; ++f)
        h += p.homeLen[f] * 40;
    for (int c = 0; c < r_.tableaus; ++c) {
        const int len = p.len[c];
        if (len == 0) {
            // Little: an empty column is worth what it lets the search do, and a large reward
            // makes it keep columns empty instead of using them.
            h += 20;
            continue;
        }
        h -= 50 * p.down[c];
        for (int k = p.down[c] + 1; k < len; ++k) {
            const int below = p.col[c][k - 1], card = p.col[c][k];
            if (r_.sequence[below][card])
                h += suit(below) == suit(card) ? 25 : 6;
            else
                h -= 20;
        }
    }
    h -= p.stockLen;
    return h;
}

// Moves that join a run of the same suit or turn a card up go first.
int SpiderSearch::moveBonus(const Pos& p, const Move& m) const
{
    if (m.kind == MoveKind::Stock)
        return -400;
    const int c = m.from.index, i = m.index, d = m.to.index;
    int s = 0;
    if (p.len[d] > 0 && suit(p.col[d][p.len[d] - 1]) == suit(p.col[c][i]))
        s += 60;
    if (i == p.down[c] && i > 0)
        s += 50;
    if (i == 0)
        s += 40;
    if (p.len[d] == 0)
        s -= 60;
    return s;
}

// A group that leaves a spot as good as the one it goes to gains nothing.
bool SpiderSearch::pointless(const Pos& p, int c, int i, int d) const
{
    if (i <= p.down[c] || p.len[d] == 0)
        return false;
    const int below = p.col[c][i - 1], card = p.col[c][i], top = p.col[d][p.len[d] - 1];
    const bool fromSuit = r_.sequence[below][card] && suit(below) == suit(card);
    const bool toSuit = suit(top) == suit(card);
    if (fromSuit && !toSuit)
        return true; // breaks a run of one suit for a build in mixed suits
    return rank(below) == rank(top) && (fromSuit || !toSuit);
}

void SpiderSearch::expand(const Pos& p, std::uint64_t salt)
{
    scratch_.clear();
    board_.moves(p, scratch_);
    children_.clear();
    Pos child;
    for (const Move& m : scratch_) {
        if (m.kind == MoveKind::Transfer) {
            const int c = m.from.index, i = m.index, d = m.to.index;
            if (p.len[d] == 0) {
                // Alike empty columns: one stands for all, and a whole column to one changes
                // nothing, once the stock is out. Before, the next row would fall differently, so
                // leaving those moves out is a guess.
                bool same = i == 0;
                for (const Child& o : children_)
                    same = same || (o.move.kind == MoveKind::Transfer && o.move.from.index == c && o.move.index == i &&
                                    p.len[o.move.to.index] == 0);
                if (same && (p.stockLen == 0 || prune_)) {
                    pruned_ = pruned_ || p.stockLen > 0;
                    continue;
                }
            } else if (prune_ && pointless(p, c, i, d)) {
                pruned_ = true;
                continue;
            }
        }
        child = p;
        board_.play(child, m);
        if (!seen_.insert(keyOf(child, r_.tableaus)))
            continue;
        int score = board_.won(child) ? 1 << 30 : evaluate(child) * 4 + moveBonus(p, m);
        if (salt != 0 && score < (1 << 30)) {
            const std::uint64_t x = mix(keyOf(child, r_.tableaus) ^ salt);
            score += static_cast<int>(x % 80);
        }
        children_.push_back({m, score});
    }
    std::stable_sort(children_.begin(), children_.end(),
                     [](const Child& a, const Child& b) { return a.score > b.score; });
}

bool SpiderSearch::outOfBudget()
{
    if (budget_.over(states_, seen_))
        budgetSpent_ = true;
    return budgetSpent_;
}

// Packs the parts of a position the search reads: columns, stock length, and per foundation its
// length and first card (what the next complete run's target and colour balance depend on).
void pack(const Pos& p, int tableaus, int foundations, std::vector<std::uint8_t>& out)
{
    for (int c = 0; c < tableaus; ++c) {
        out.push_back(p.len[c]);
        out.push_back(p.down[c]);
        out.insert(out.end(), p.col[c].begin(), p.col[c].begin() + p.len[c]);
    }
    out.push_back(static_cast<std::uint8_t>(p.stockLen));
    for (int f = 0; f < foundations; ++f) {
        out.push_back(p.homeLen[f]);
        out.push_back(p.homeLen[f] > 0 ? p.home[f][0] : 0);
    }
}

void unpack(const std::uint8_t* in, int tableaus, int foundations, Pos& p)
{
    for (int c = 0; c < tableaus; ++c) {
        p.len[c] = *in++;
        p.down[c] = *in++;
        std::memcpy(p.col[c].data(), in, p.len[c]);
        in += p.len[c];
    }
    p.stockLen = *in++;
    for (int f = 0; f < foundations; ++f) {
        p.homeLen[f] = *in++;
        p.home[f][0] = *in++;
    }
}

// The bytes v may hold at the worst moment of one more expansion that adds up to room elements:
// a vector that grows holds its old and its new storage at once.
template <class T>
std::size_t heldAtMost(const std::vector<T>& v, std::size_t room)
{
    const std::size_t grown = v.size() + room > v.capacity() ? std::max(2 * v.capacity(), v.size() + room) : 0;
    return (v.capacity() + grown) * sizeof(T);
}

SolveResult SpiderSearch::run()
{
    // A quarter of the memory budget for the keys, the rest for the positions kept whole.
    const std::size_t tableShare = limits_.maxTableBytes / 4;
    seen_.setLimit(tableShare);
    SolveResult result;
    const Pos root = board_.pos();
    // The table changes most when a row is dealt, so the search goes from deal to deal: between two
    // deals it expands the most promising positions first, up to a budget; the best few positions
    // it reaches are then dealt on and searched in turn. Attempts double the budget between deals,
    // so a deal that needs more work before the next row is found on a later attempt. Positions
    // are kept packed; the line is read back through the parents.
    struct Node {
        std::uint64_t offset;
        std::uint32_t parent;
        Move move;
    };
    struct Open {
        int score;
        std::uint32_t node;
        bool operator<(const Open& o) const { return score != o.score ? score < o.score : node < o.node; }
    };
    std::vector<Node> nodes;
    std::vector<std::uint8_t> arena;
    std::vector<Open> open, dealt;
    std::int64_t wonNode = board_.won(root) ? 0 : -1;
    bool complete = false; // an attempt searched everything without a cut
    constexpr int kBeam = 8;
    // The bytes of a child of p once packed: a row dealt adds a card to every column.
    const auto packedMost = [&](const Pos& p) {
        std::size_t n = 1 + 2 * static_cast<std::size_t>(r_.foundations) + 3 * static_cast<std::size_t>(r_.tableaus);
        for (int c = 0; c < r_.tableaus; ++c)
            n += p.len[c];
        return n;
    };
    Pos p = root, child = root;
    for (std::uint64_t perDeal = 2000, attempt = 0; wonNode < 0 && !budgetSpent_ && !complete;
         perDeal = std::min<std::uint64_t>(perDeal * 2, std::uint64_t{1} << 40), ++attempt) {
        // Every attempt reads the clock: attempts that expand little would otherwise go round
        // without ever reaching it.
        budget_.readClockNext();
        if (outOfBudget())
            break;
        bool cut = false;
        nodes.clear();
        arena.clear();
        seen_.clear();
        nodes.push_back({0, 0, {}});
        pack(root, r_.tableaus, r_.foundations, arena);
        seen_.insert(keyOf(root, r_.tableaus));
        open.assign(1, {evaluate(root), 0});
        const std::uint64_t salt = attempt == 0 ? 0 : mix(attempt);
        while (wonNode < 0 && !open.empty() && !budgetSpent_) {
            dealt.clear();
            for (std::uint64_t expanded = 0; wonNode < 0 && !open.empty(); ++expanded) {
                if (outOfBudget())
                    break;
                if (expanded >= perDeal) {
                    cut = true;
                    break;
                }
                std::pop_heap(open.begin(), open.end());
                const std::uint32_t id = open.back().node;
                open.pop_back();
                unpack(arena.data() + nodes[id].offset, r_.tableaus, r_.foundations, p);
                expand(p, salt);
                // The children about to be stored must fit beside the key table's share.
                const std::size_t room = children_.size();
                if (heldAtMost(arena, room * packedMost(p)) + heldAtMost(nodes, room) + heldAtMost(open, room) +
                        heldAtMost(dealt, room) + tableShare >
                    limits_.maxTableBytes) {
                    budgetSpent_ = true;
                    break;
                }
                for (const Child& ch : children_) {
                    if (limits_.maxStates != 0 && states_ >= limits_.maxStates) {
                        budgetSpent_ = true;
                        break;
                    }
                    child = p;
                    board_.play(child, ch.move);
                    ++states_;
                    const auto at = static_cast<std::uint32_t>(nodes.size());
                    nodes.push_back({arena.size(), id, ch.move});
                    if (board_.won(child)) {
                        wonNode = at;
                        break;
                    }
                    pack(child, r_.tableaus, r_.foundations, arena);
                    if (ch.move.kind == MoveKind::Stock) {
                        dealt.push_back({evaluate(child), at});
                    } else {
                        open.push_back({ch.score, at});
                        std::push_heap(open.begin(), open.end());
                    }
                }
            }
            if (wonNode >= 0 || budgetSpent_)
                break;
            // The next row: dealt on the best positions reached.
            std::sort(dealt.begin(), dealt.end(), [](const Open& a, const Open& b) { return b < a; });
            if (dealt.size() > kBeam) {
                cut = true;
                dealt.resize(kBeam);
            }
            if (!open.empty())
                cut = true;
            open = dealt;
            std::make_heap(open.begin(), open.end());
        }
        complete = !cut && wonNode < 0 && !budgetSpent_;
        if (complete && pruned_) {
            // Everything was searched but for the pointless-looking moves: once more with them,
            // so that a loss is proved only by the whole search.
            complete = false;
            prune_ = false;
            pruned_ = false;
        }
    }
    result.states = states_;
    result.tableBytes = seen_.bytes() + arena.capacity() + nodes.capacity() * sizeof(Node);
    if (wonNode >= 0) {
        result.verdict = Verdict::Winnable;
        for (auto n = static_cast<std::uint32_t>(wonNode); n != 0; n = nodes[n].parent)
            result.line.push_back(nodes[n].move);
        std::reverse(result.line.begin(), result.line.end());
    } else {
        result.verdict = complete && !pruned_ ? Verdict::NotWinnable : Verdict::Unknown;
    }
    budget_.finish(result);
    return result;
}

} // namespace

std::shared_ptr<const SpiderRules> spiderRulesFor(const GameRules& rules, const GameState& state)
{
    GameState copy = state;
    const PlayOptions options = solverPlayOptions();
    Play play{rules, copy, options};
    CardSet cards;
    if (!rulesFit(rules, play) || !stateFits(play, cards))
        return nullptr;
    return tablesFor<SpiderRules>(rules, cards, [&] { return buildTables(rules, state, cards); });
}

void spiderMoves(const SpiderRules& spider, const GameState& state, MoveList& list)
{
    list.clear();
    if (state.won)
        return;
    const Board board(spider, state);
    board.moves(board.pos(), list);
}

bool spiderPlay(const SpiderRules& spider, const GameState& state, const Move& move, GameState& after)
{
    Board board(spider, state);
    after = state;
    if (!board.play(board.pos(), move))
        return false;
    board.write(board.pos(), after);
    return true;
}

std::optional<SolveResult> solveSpider(const GameRules& rules, const GameState& state, const SolverLimits& limits)
{
    const auto spider = spiderRulesFor(rules, state);
    if (!spider)
        return std::nullopt;
    SpiderSearch search(*spider, state, limits);
    return search.run();
}

} // namespace cw::engine
