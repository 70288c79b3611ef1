// The fast search for open games: depth-first over compact positions with a table of keys, ordered by an evaluation.
#include "engine/search_open.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

#include "engine/search_keyset.h"
#include "engine/search_open_position.h"

namespace cw::engine {

using namespace compact;

namespace {

using Clock = std::chrono::steady_clock;

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
    // The first phase skips moves that are rarely needed (see candidates) and may take a quarter
    // of the budget (nearly every win it finds comes far sooner); the second searches
    // everything, so only it can prove a deal lost.
    bool pruning_ = false;
    bool phaseSpent_ = false;
    // The second phase runs one attempt to the end: its task is the proof of a loss, which
    // fresh starts would only repeat.
    bool secondPhase_ = false;
};

// The pruned first phase's share of the budget. Most wins come within a small part of it; the
// rest goes to the complete search, which proves the lost deals.
constexpr int kPrunedShare = 1;
constexpr int kPrunedShareOf = 4;

bool OpenSearch::outOfBudget()
{
    if (limits_.maxStates != 0 && states_ >= limits_.maxStates)
        return budgetSpent_ = true;
    if (pruning_ && limits_.maxStates != 0 && states_ >= limits_.maxStates / kPrunedShareOf * kPrunedShare)
        return phaseSpent_ = true;
    if ((states_ & 1023) != 0)
        return false;
    if (limits_.cancel && limits_.cancel->load(std::memory_order_relaxed))
        return cancelled_ = budgetSpent_ = true;
    if (limits_.budgetMs > 0) {
        const auto elapsed = Clock::now() - started_;
        if (elapsed >= std::chrono::milliseconds(limits_.budgetMs))
            return budgetSpent_ = true;
        if (pruning_ && elapsed >= std::chrono::milliseconds(limits_.budgetMs) * kPrunedShare / kPrunedShareOf)
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
            if (seen_.insert(pos_.searchKey()))
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
        const bool fresh = seen_.insert(pos_.searchKey());
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
    const std::uint64_t rootKey = pos_.searchKey();
    bool won = false;
    // Attempts with a doubling position limit and fresh tie-breaks, the last one to the end of
    // the budget: a depth-first search that goes wrong early would spend everything deep in a
    // hopeless subtree. Only an attempt that ends by itself proves a deal lost.
    constexpr std::uint64_t kFirstAttempt = 1000;
    constexpr int kAttempts = 10;
    for (std::uint64_t limit = kFirstAttempt; !won; limit *= 2, ++restart_) {
        const bool last = restart_ + 1 >= kAttempts || secondPhase_;
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
            secondPhase_ = true;
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

