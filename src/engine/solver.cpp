// The solver: depth-first search over engine states with a transposition table, safe foundation moves and move ordering.
#include "engine/solver.h"

#include "engine/family.h"

#include <algorithm>
#include <bitset>
#include <cassert>
#include <memory>

#include "engine/drop.h"
#include "engine/moves.h"
#include "engine/pickup.h"
#include "engine/rules_building.h"
#include "engine/search_budget.h"
#include "engine/search_keyset.h"
#include "engine/search_open.h"
#include "engine/search_order.h"
#include "engine/search_spider.h"
#include "engine/stock.h"
#include "engine/zobrist.h"

namespace cw::engine {
namespace {

// One level of the search: a position, the moves still to try from it and how it was reached.
struct Frame {
    GameState state;
    std::uint64_t key = 0;
    int moveBegin = 0;
    int moveEnd = 0;
    int next = 0;
    std::vector<Move> via; // the chosen move, then the safe foundation moves that followed it
    int movedCard = 0;     // card of the chosen move (0 for stock clicks and turn-ups)
    PileRef movedFrom{};
};

struct ScoredMove {
    Move move;
    int score;
    int clicks = 0; // stock clicks made before the move (a waste card reached through the stock)
};

// What the rules say about pairs of cards: which card can be built on which in the tableau, and
// from that which cards can be sent home at once without losing a win. A card is safe when
// every card that could ever be built on it in the tableau is already on a foundation; where
// foundation cards can be taken back, the cards that could be built on those must be home too.
class CardRelations {
public:
    CardRelations(const Play& play, const PileClasses& classes)
    {
        const catalog::Rules& r = play.rules;
        // One column of each kind is enough: alike columns build alike.
        std::vector<int> columns;
        for (int c = 0; c < play.tableaus(); ++c) {
            bool seen = false;
            for (int d : columns)
                seen = seen || classes.alike(PileRef::tableau(c), PileRef::tableau(d));
            if (!seen)
                columns.push_back(c);
        }
        if (columns.empty() || columns.size() > 8 || play.family().special())
            return;
        std::vector<int> cards;
        const Table& t = play.table();
        for (int i = 0; i < classes.usedCount(); ++i)
            for (int c : t.pile(classes.usedPile(i)))
                if (c != 0)
                    cards.push_back(c);
        for (int x : cards)
            for (int y : cards) {
                if (x == y)
                    continue;
                for (int c : columns) {
                    BuildQuery q = tableauQuery(play, c, y, PileRef::tableau(c == 0 ? 1 : 0), true);
                    q.target = x;
                    if (buildingTest(play, q)) {
                        builders_[static_cast<std::size_t>(x)].push_back(static_cast<std::uint8_t>(y));
                        buildsOn_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = true;
                        break;
                    }
                }
            }
        known_ = true;
        bool safeOk = play.rules.clickToPlay() != 1 && classes.foundationsInterchangeable() && r.wasteAccepts() != 2 &&
                      play.foundations() > 0;
        for (int q = 0; q < play.reserves() && safeOk; ++q) {
            const int code = r.reserveAccept(q);
            safeOk = code != 107 && code != catalog::ReserveAccept::UpInSuit &&
                     code != catalog::ReserveAccept::Anything && code != catalog::ReserveAccept::Waive;
        }
        safeEnabled_ = safeOk;
        twoLevel_ = r.foundationTakeBack() >= 1 && r.foundationTakeBack() <= 3;
    }

    bool known() const { return known_; }
    bool safeEnabled() const { return safeEnabled_; }
    // Whether card y may be built on card x in some tableau pile.
    bool buildsOn(int y, int x) const { return buildsOn_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]; }

    bool safe(int card, const std::bitset<kLastCard + 1>& home) const
    {
        for (int y : builders_[static_cast<std::size_t>(card)]) {
            if (!home[static_cast<std::size_t>(y)])
                return false;
            if (twoLevel_)
                for (int z : builders_[static_cast<std::size_t>(y)])
                    if (!home[static_cast<std::size_t>(z)])
                        return false;
        }
        return true;
    }

private:
    bool known_ = false;
    bool safeEnabled_ = false;
    bool twoLevel_ = false;
    std::array<std::vector<std::uint8_t>, kLastCard + 1> builders_;
    std::array<std::bitset<kLastCard + 1>, kLastCard + 1> buildsOn_;
};

// The relations depend only on the rules and the cards in play: solving many deals of one game
// builds them once per thread.
std::shared_ptr<const CardRelations> relationsFor(const Play& play, const PileClasses& classes)
{
    std::bitset<kLastCard + 1> cards;
    for (int i = 0; i < classes.usedCount(); ++i)
        for (int c : play.table().pile(classes.usedPile(i)))
            cards[static_cast<std::size_t>(c)] = true;
    return tablesFor<CardRelations>(play.rules, cards,
                                    [&] { return std::make_shared<const CardRelations>(play, classes); });
}

class Search {
public:
    Search(const GameRules& rules, const GameState& start, const SolverLimits& limits)
        : rules_(rules), options_(solverPlayOptions()), hasher_(rules, limits.reductions), limits_(limits),
          budget_(limits), start_(start)
    {}

    SolveResult run();

private:
    Frame& frame(int depth)
    {
        while (static_cast<int>(frames_.size()) <= depth)
            frames_.push_back(std::make_unique<Frame>());
        return *frames_[static_cast<std::size_t>(depth)];
    }
    void playSafeMoves(GameState& state, std::vector<Move>* via);
    int evaluate(const GameState& s) const;
    void expand(Frame& f);
    void addStockMacros(Frame& f);
    int score(const Frame& f, const Move& m) const;
    bool outOfBudget();

    const GameRules& rules_;
    PlayOptions options_;
    StateHasher hasher_;
    SolverLimits limits_;
    SearchBudget budget_;
    const GameState& start_;
    std::shared_ptr<const CardRelations> rel_;
    GameState scratchState_;
    std::vector<std::unique_ptr<Frame>> frames_;
    std::vector<Move> moves_;
    std::vector<std::uint8_t> clicks_; // per entry of moves_: stock clicks before the move
    GameState macroState_;
    GameState macroChild_;
    int stockMacros_ = -1; // -1 not decided yet, 0 no, 1 yes
    std::vector<ScoredMove> scratchScored_;
    MoveList scratch_;
    KeySet seen_;
    std::uint64_t states_ = 0;
    std::uint64_t restart_ = 0; // attempt number: later attempts break ties between moves differently
    bool budgetSpent_ = false;
};

bool Search::outOfBudget()
{
    if (budget_.over(states_, seen_))
        budgetSpent_ = true;
    return budgetSpent_;
}

void Search::playSafeMoves(GameState& state, std::vector<Move>* via)
{
    if (!rel_->safeEnabled() || !limits_.reductions)
        return;
    Play play{rules_, state, options_};
    const PileClasses& classes = hasher_.classes();
    for (bool any = true; any && !state.won;) {
        any = false;
        std::bitset<kLastCard + 1> home;
        for (int k = 0; k < play.foundations(); ++k)
            for (int c : state.table.foundation(k))
                home[static_cast<std::size_t>(c)] = true;
        for (int i = 0; i < classes.usedCount() && !state.won; ++i) {
            const PileRef p = classes.usedPile(i);
            if (p.kind == PileKind::Foundation || p.kind == PileKind::Stock || p.kind == PileKind::SecondWaste)
                continue;
            const Pile& pile = state.table.pile(p);
            if (pile.empty() || pile.top() == 0 || state.table.isFaceDown(pile.top()))
                continue;
            const int top = static_cast<int>(pile.size()) - 1;
            const int card = pile.top();
            if (!rel_->safe(card, home) || pressAction(play, p, top) != PressAction::Lift)
                continue;
            const Carried g = carriedAt(play, p, top);
            if (!g.single())
                continue;
            for (int k = 0; k < play.foundations(); ++k) {
                if (!mayDrop(play, g, PileRef::foundation(k)))
                    continue;
                const Move m{MoveKind::Transfer, p, top, PileRef::foundation(k)};
                if (applyMove(play, m)) {
                    if (via)
                        via->push_back(m);
                    home[static_cast<std::size_t>(card)] = true;
                    any = true;
                }
                break;
            }
        }
    }
}

int Search::score(const Frame& f, const Move& m) const
{
    const Table& t = f.state.table;
    switch (m.kind) {
    case MoveKind::TurnUp: return 10000;
    case MoveKind::Stock: return 0;
    case MoveKind::Draw: return 500; // once per game: worth trying early
    case MoveKind::Select:
    case MoveKind::Gap:
    case MoveKind::Press: return 1000; // a family's own step: sets leave, gaps close
    case MoveKind::Transfer: break;
    }
    MoveShape shape{m.from.kind, m.to.kind, m.index};
    if (m.to.kind == PileKind::Foundation || m.from.kind == PileKind::Foundation)
        return transferOrder(shape);
    const Pile& src = t.pile(m.from);
    shape.targetEmpty = !holdsCard(t.pile(m.to));
    if (m.from.kind == PileKind::Tableau && m.index > 0) {
        const int below = src[static_cast<std::size_t>(m.index - 1)];
        shape.uncovers = below != 0 && t.isFaceDown(below);
        for (int i = m.index - 1; i >= 0; --i) {
            shape.hiddenUnder += t.isFaceDown(src[static_cast<std::size_t>(i)]) ? 1 : 0;
            shape.lowestUnder = std::min(shape.lowestUnder, rank(src[static_cast<std::size_t>(i)]));
        }
    }
    return transferOrder(shape);
}

int Search::evaluate(const GameState& s) const
{
    const Table& t = s.table;
    const int foundations = std::clamp(rules_.foundationCount(), 0, kFoundationPiles);
    const int tableaus = std::clamp(rules_.tableauCount(), 0, kTableauPiles);
    const int reserves = std::clamp(rules_.reserveCount(), 0, kReservePiles);
    const auto& down = t.faceDownBits();
    int h = 0;
    for (int f = 0; f < foundations; ++f)
        h += 100 * static_cast<int>(t.foundation(f).size());
    for (int c = 0; c < tableaus; ++c) {
        const Pile& p = t.tableau(c);
        if (!holdsCard(p)) {
            h += 100;
            continue;
        }
        int below = 0;
        bool belowUp = false;
        for (std::size_t i = 0; i < p.size(); ++i) {
            const int card = p[i];
            if (card == 0)
                continue;
            const bool up = !down[static_cast<std::size_t>(card)];
            if (!up) {
                h -= 30;
            } else if (belowUp && rel_->known()) {
                // A build in suit also moves as a group wherever groups must be in suit.
                h += rel_->buildsOn(card, below) ? (suit(card) == suit(below) ? 14 : 8) : -6;
            }
            below = card;
            belowUp = up;
        }
    }
    for (int r = 0; r < reserves; ++r)
        h -= 40 * t.reserve(r).cardCount();
    h -= static_cast<int>(t.stock().size() + t.waste().size());
    return h;
}

// Where the stock only feeds the waste, every waste card the stock can bring up is offered as
// one move: so many clicks, then that card to its target. The search then sees at once which
// cards the stock holds for it, instead of going through the stock one click per level.
void Search::addStockMacros(Frame& f)
{
    if (stockMacros_ < 0) {
        bool ok = !rules_.family().special() && rules_.wasteLocked() == 0 && rules_.clickToPlay() != 1;
        for (int c = 0; c < std::clamp(rules_.tableauCount(), 0, kTableauPiles) && ok; ++c)
            ok = rules_.stockDealsToTableau(c) == 0;
        for (int r = 0; r < std::clamp(rules_.reserveCount(), 0, kReservePiles) && ok; ++r)
            ok = rules_.stockDealsToReserve(r) == 0;
        stockMacros_ = ok ? 1 : 0;
    }
    if (stockMacros_ == 0)
        return;
    macroState_ = f.state;
    Play mp{rules_, macroState_, options_};
    if (!stockClickAvailable(mp))
        return;
    const Table& t = macroState_.table;
    const int maxClicks =
        std::min(250, static_cast<int>(f.state.table.stock().size() + f.state.table.waste().size()) + 2);
    const Move stock{MoveKind::Stock, PileRef::stock(), -1, {}};
    PileRef targets[kFoundationPiles + kTableauPiles];
    for (int k = 1; k <= maxClicks; ++k) {
        if (!stockClickAvailable(mp) || !applyMove(mp, stock) || macroState_.won)
            return;
        const Pile& w = t.waste();
        if (!holdsCard(w) || w.top() == 0)
            continue;
        const int i = static_cast<int>(w.size()) - 1;
        if (pressAction(mp, PileRef::waste(), i) != PressAction::Lift)
            continue;
        const Carried g = carriedAt(mp, PileRef::waste(), i);
        int n = 0;
        for (int fd = 0; fd < mp.foundations(); ++fd)
            targets[n++] = PileRef::foundation(fd);
        for (int c = 0; c < mp.tableaus(); ++c)
            targets[n++] = PileRef::tableau(c);
        for (int j = 0; j < n; ++j) {
            if (!mayDrop(mp, g, targets[j]))
                continue;
            macroChild_ = macroState_;
            Play cp{rules_, macroChild_, options_};
            const Move m{MoveKind::Transfer, PileRef::waste(), i, targets[j]};
            if (!applyMove(cp, m))
                continue;
            playSafeMoves(macroChild_, nullptr);
            const std::uint64_t key = hasher_.update(f.key, f.state, macroChild_);
            if (!seen_.insert(key))
                continue;
            ScoredMove sm{m, macroChild_.won ? 1 << 30 : evaluate(macroChild_) * 16 + 500 / 16 - k, k};
            scratchScored_.push_back(sm);
        }
    }
}

void Search::expand(Frame& f)
{
    Play play{rules_, f.state, options_};
    generateMoves(play, scratch_);
    const PileClasses& classes = hasher_.classesFor(f.state);
    const Table& t = f.state.table;
    scratchScored_.clear();
    for (const Move& m : scratch_) {
        if (m.kind == MoveKind::Transfer) {
            const Pile& src = t.pile(m.from);
            const bool targetEmpty = !holdsCard(t.pile(m.to));
            if (targetEmpty) {
                // A whole pile to an empty pile that plays alike changes nothing.
                bool whole = true;
                for (int i = 0; i < m.index && whole; ++i)
                    whole = src[static_cast<std::size_t>(i)] == 0;
                if (whole && classes.alike(m.from, m.to) && limits_.reductions)
                    continue;
                // The same cards to several empty piles that play alike: one is enough.
                bool dup = false;
                for (const ScoredMove& o : scratchScored_)
                    if (o.move.kind == MoveKind::Transfer && o.move.from == m.from && o.move.index == m.index &&
                        classes.alike(o.move.to, m.to) && !holdsCard(t.pile(o.move.to)) && limits_.reductions) {
                        dup = true;
                        break;
                    }
                if (dup)
                    continue;
            }
        }
        scratchScored_.push_back({m, 0, 0});
    }
    // Every child is made once here: positions seen before are dropped at once, and the rest
    // are tried best first by how far they look from a win.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < scratchScored_.size(); ++i) {
        ScoredMove sm = scratchScored_[i];
        scratchState_ = f.state;
        Play childPlay{rules_, scratchState_, options_};
        if (!applyMove(childPlay, sm.move))
            continue;
        playSafeMoves(scratchState_, nullptr);
        const std::uint64_t key = hasher_.update(f.key, f.state, scratchState_);
        if (!seen_.insert(key))
            continue;
        sm.score = scratchState_.won ? 1 << 30 : evaluate(scratchState_) * 16 + score(f, sm.move) / 16;
        if (!scratchState_.won)
            sm.score += RestartPolicy::tieBreak(key, restart_, 600);
        scratchScored_[kept++] = sm;
    }
    scratchScored_.resize(kept);
    addStockMacros(f);
    std::stable_sort(scratchScored_.begin(), scratchScored_.end(),
                     [](const ScoredMove& a, const ScoredMove& b) { return a.score > b.score; });
    f.moveBegin = static_cast<int>(moves_.size());
    for (const ScoredMove& s : scratchScored_) {
        moves_.push_back(s.move);
        clicks_.push_back(static_cast<std::uint8_t>(s.clicks));
    }
    f.moveEnd = static_cast<int>(moves_.size());
    f.next = f.moveBegin;
}

SolveResult Search::run()
{
    seen_.setLimit(limits_.maxTableBytes);
    SolveResult result;
    Frame& root = frame(0);
    root.state = start_;
    root.state.tutorMode = 0;
    root.state.drag = {};
    root.state.selection = {};
    root.via.clear();
    root.movedCard = 0;
    {
        Play play{rules_, root.state, options_};
        rel_ = relationsFor(play, hasher_.classes());
        if (!root.state.won)
            root.state.won = isWon(play);
    }
    playSafeMoves(root.state, &root.via);
    root.key = hasher_.full(root.state);
    states_ = 1;
    moves_.reserve(4096);
    // Attempts whose position limit doubles.
    constexpr RestartPolicy kRestarts{1000, 200, 10};
    int depth = 0;
    bool won = root.state.won;
    for (std::uint64_t limit = kRestarts.first; !won; limit = kRestarts.next(limit), ++restart_) {
        const bool last = kRestarts.last(restart_);
        const std::uint64_t attemptStart = states_;
        bool cut = false;
        seen_.clear();
        seen_.insert(root.key);
        moves_.clear();
        clicks_.clear();
        depth = 0;
        expand(root);
        while (!won && depth >= 0) {
            Frame& parent = frame(depth);
            if (parent.next >= parent.moveEnd) {
                moves_.resize(static_cast<std::size_t>(parent.moveBegin));
                clicks_.resize(moves_.size());
                --depth;
                continue;
            }
            if (outOfBudget())
                break;
            if (!last && states_ - attemptStart >= limit) {
                cut = true;
                break;
            }
            const int clicks = clicks_[static_cast<std::size_t>(parent.next)];
            const Move m = moves_[static_cast<std::size_t>(parent.next++)];
            Frame& child = frame(depth + 1); // frames are owned by pointer: parent stays valid
            child.state = parent.state;
            child.via.clear();
            if (clicks > 0) {
                Play clicker{rules_, child.state, options_};
                const Move stock{MoveKind::Stock, PileRef::stock(), -1, {}};
                for (int k = 0; k < clicks; ++k) {
                    applyMove(clicker, stock);
                    child.via.push_back(stock);
                }
            }
            child.movedCard = m.kind == MoveKind::Transfer && clicks == 0
                                  ? parent.state.table.pile(m.from)[static_cast<std::size_t>(m.index)]
                                  : 0;
            child.movedFrom = m.from;
            Play play{rules_, child.state, options_};
            if (!applyMove(play, m))
                continue;
            child.via.push_back(m);
            playSafeMoves(child.state, &child.via);
            child.key = hasher_.update(parent.key, parent.state, child.state);
            assert(child.key == hasher_.full(child.state));
            ++states_;
            ++depth;
            if (child.state.won) {
                won = true;
                break;
            }
            expand(child);
        }
        if (won || budgetSpent_ || !cut)
            break;
    }
    result.states = states_;
    result.tableBytes = seen_.bytes();
    if (won) {
        for (int d = 0; d <= depth; ++d)
            for (const Move& m : frame(d).via)
                result.line.push_back(m);
        result.verdict = Verdict::Winnable;
        if (!replayWins(rules_, start_, result.line)) {
            // Never claim a win the engine does not confirm.
            result.verdict = Verdict::Unknown;
            result.line.clear();
        }
    } else {
        result.verdict = budgetSpent_ ? Verdict::Unknown : Verdict::NotWinnable;
    }
    budget_.finish(result);
    return result;
}

} // namespace

const char* verdictText(Verdict v)
{
    switch (v) {
    case Verdict::Winnable: return "Winnable";
    case Verdict::NotWinnable: return "Not winnable";
    case Verdict::Unknown: return "Unknown";
    }
    return "Unknown";
}

PlayOptions solverPlayOptions()
{
    PlayOptions o;
    o.autoplay = false;
    o.automaticFaceUp = true;
    return o;
}

SolveResult solve(const GameRules& rules, const GameState& state, const SolverLimits& limits)
{
    // A family whose steps the generator cannot make (timed or random steps) is not searched.
    if (!rules.family().searchable())
        return SolveResult{};
    // Open games (FreeCell and its kin) and the Spider family go through a compact search; a line
    // it finds that the engine does not confirm sends the deal to the general search instead.
    if (limits.reductions) {
        const SearchBudget whole(limits);
        auto open = solveOpen(rules, state, limits);
        if (!open)
            open = solveSpider(rules, state, limits);
        if (open)
            if (open->verdict != Verdict::Winnable || replayWins(rules, state, open->line)) {
                // The figures include building the tables and the replay.
                whole.finish(*open);
                return *open;
            }
    }
    Search search(rules, state, limits);
    return search.run();
}

bool replayWins(const GameRules& rules, const GameState& state, const std::vector<Move>& line, std::string* why)
{
    GameState s = state;
    s.tutorMode = 0;
    s.drag = {};
    s.selection = {};
    const PlayOptions options = solverPlayOptions();
    Play play{rules, s, options};
    for (std::size_t i = 0; i < line.size(); ++i) {
        std::string reason;
        if (!playMove(play, line[i], &reason)) {
            if (why)
                *why = "move " + std::to_string(i + 1) + " (" + moveText(line[i]) + ") refused: " + reason;
            return false;
        }
    }
    if (!s.won && !isWon(play)) {
        if (why)
            *why = "the line ends without a won game";
        return false;
    }
    return true;
}

} // namespace cw::engine
