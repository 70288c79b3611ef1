// The fast search for open games: depth-first over compact positions with a table of keys, ordered by an evaluation.
#include "engine/search_open.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <initializer_list>
#include <thread>
#include <vector>

#include "engine/search_budget.h"
#include "engine/search_keyset.h"
#include "engine/search_open_dead.h"
#include "engine/search_open_position.h"
#include "engine/search_order.h"

namespace cw::engine {

using namespace compact;

namespace {

using Clock = std::chrono::steady_clock;

struct Frame {
    int begin = 0; // children_ of this position
    int end = 0;
    int next = 0;
    int ops = 0;   // ops applied on the way to this position
    int steps = 0; // size of steps_ before its children
};

// One move of a child, after so many stock clicks (a waste card reached through the stock).
struct Step {
    OpenMove move;
    std::uint8_t clicks = 0;
};

// A child: one step, or a card put on a column together with what is then put on it.
struct Child {
    int first = 0; // in steps_
    int count = 0;
};

struct Scored {
    int first; // in stepsScratch_
    int count;
    int score;
};

// What one search does: both parts one after the other (the part that looks for wins with a
// share of the budget), or one of them with the whole budget while the other runs beside it
// (Proof: the complete part beside the one for wins, see run).
enum class Part { Both, WinsOnly, CompleteOnly, Proof };

class OpenSearch {
public:
    // stop: set when a search running beside this one has settled the deal.
    OpenSearch(const OpenRules& open, const GameState& state, const SolverLimits& limits, Part part = Part::Both,
               const std::atomic<bool>* stop = nullptr)
        : open_(open), state_(state), pos_(open, state), limits_(limits), budget_(limits, stop), part_(part),
          stop_(stop)
    {
        std::size_t most = 0;
        for (int t : open_.cardList) {
            std::size_t fit = 0;
            for (int c : open_.cardList)
                fit += open_.tabOn[kFromWaste][static_cast<std::size_t>(c)][static_cast<std::size_t>(t)] ? 1 : 0;
            most = std::max(most, fit);
        }
        chainLinks_ = most <= 2 ? 13 : 4;
        if (limits_.reductions &&
            (open_.groupLimit == catalog::GroupLimit::Unlimited || open_.groupLimit == catalog::GroupLimit::Always))
            for (int x : open_.cardList) {
                const auto twin = open_.twin[static_cast<std::size_t>(x)];
                twins_[static_cast<std::size_t>(x)] = twin != 0;
                if (twin > x)
                    twinPairs_.push_back({static_cast<std::uint8_t>(x), twin});
            }
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
    void applyStep(const Step& s)
    {
        if (s.clicks != 0)
            pos_.clicks(s.clicks, ops_);
        apply(s.move);
    }
    void undoTo(int mark)
    {
        while (static_cast<int>(ops_.size()) > mark) {
            pos_.undo(ops_.back());
            ops_.pop_back();
        }
    }
    // Sends home the cards nothing can be built on any more, until none is left.
    // changed: the one pile whose top a move changed since the last call (-1: unknown); where
    // its top cannot go home, nothing can, and the pass is skipped.
    void playSafe(int changed = -1)
    {
        if (!open_.safeHome || !limits_.reductions)
            return;
        // A card that comes back may lie on any column.
        if (changed >= 0 && !exchange_) {
            const auto& p = pos_.pile(changed);
            if (p.empty() || !wantedCards()[p.back()])
                return;
        }
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
                if (!safe && !comesBack(i))
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
    // In the looser game of a proof, where foundation cards may be taken back: a column's top
    // card that goes home and could come straight back onto the face-up card under it. The two
    // positions reach each other in one move either way, so they win or lose together; the one
    // with the card home is kept. Only where no card that goes on it is home: the search brings
    // a card back only together with what goes on it at once, and such a card could need others
    // taken back first (a ladder of two suits built down from their Kings).
    bool comesBack(int column) const
    {
        if (!exchange_ || open_.takeBack == 0 || column >= open_.tableaus)
            return false;
        const auto& p = pos_.pile(column);
        if (p.size() < 2)
            return false;
        const auto card = static_cast<std::size_t>(p.back());
        const auto under = p[p.size() - 2];
        if (pos_.faceDown(under) || !open_.tabOn[kFromFoundation][card][under])
            return false;
        for (const std::uint8_t b : open_.builders[card])
            if (pos_.home()[b])
                return false;
        for (int f = 0; f < open_.foundations; ++f)
            if (foundationTakes(open_, pos_, f, static_cast<int>(card)))
                return static_cast<int>(pos_.pile(open_.homeFirst() + f).size()) + 1 >= open_.takeBack;
        return false;
    }
    // Where a run lies on one of two twin cards and the other is a column top, moves the run
    // onto the twin that should carry it (the complete phase only): the lower card, or the one
    // no foundation wants now, which is better kept free to go home. The two positions reach
    // each other in one move either way, so they win or lose together; keeping one of them
    // spares the search the copies that differ only in such choices.
    void normalize()
    {
        if (exchange_) {
            while (exchangeTails() || returnToStock())
                playSafe();
            return;
        }
        if (pruning_ || twins_.none())
            return;
        // Only a column top can take the run from its twin.
        const CardSet candidates = pos_.columnTops() & twins_;
        for (std::size_t top = candidates._Find_first(); top < candidates.size(); top = candidates._Find_next(top)) {
            const int base = static_cast<int>(top);
            const int other = open_.twin[top];
            const CardSet& wanted = wantedCards();
            // The run belongs on the lower twin, unless a foundation wants that one (and not
            // the other): then it is better kept free to go home.
            const bool baseFirst =
                wanted[static_cast<std::size_t>(other)] ? !wanted[top] : (!wanted[top] && base < other);
            if (!baseFirst)
                continue;
            const int po = pos_.pileOf(other);
            if (po >= open_.tableaus || pos_.faceDown(other) || pos_.faceDown(base) || !pos_.columnTops()[top])
                continue;
            const auto& p = pos_.pile(po);
            const auto io = static_cast<std::size_t>(pos_.indexOf(other));
            if (io + 1 == p.size())
                continue;
            bool lifts = open_.sequence[static_cast<std::size_t>(other)][p[io + 1]];
            for (std::size_t k = io + 1; lifts && k + 1 < p.size(); ++k)
                lifts = open_.sequence[p[k]][p[k + 1]];
            const Source source = io + 2 == p.size() ? kFromTableauSingle : kFromTableauGroup;
            if (lifts && open_.tabOn[source][p[io + 1]][top])
                ops_.push_back(pos_.move(po, static_cast<int>(io + 1), pos_.pileOf(base)));
        }
    }
    // In the looser game of a proof, where the runs lying on two twin cards may change places
    // at will: puts each pair's runs in one order (see exchangeTails).
    bool exchangeTails();
    // In that looser game, where every stock card can be reached at any time: a card from the
    // stock with nothing on it goes back to the stock.
    bool returnToStock();
    std::uint64_t key() const { return exchange_ && freeStock_ ? pos_.setKey() : pos_.searchKey(); }
    // The card on card at position index of column, with all above it in sequence; 0 where card
    // is the top, -1 where the cards above it do not lift together.
    int tailOn(int column, int index) const;
    // The cards some foundation takes now.
    const CardSet& wantedCards() const { return pos_.wanted(); }
    int evaluate() const;
    int moveScore(const OpenMove& m) const;
    void expand(Frame& f);
    void addStockMacros();
    // Whether move only counts together with what is put on the card it lays on a column.
    bool deferred(const OpenMove& m) const;
    // The children that put something on the top card of column after chain_ (already played).
    void addUses(int column, int takenFrom, int depth);
    bool swap(const OpenMove& m) const;
    bool homeLater(const OpenMove& m) const;
    // Whether some card can follow card on foundationPile once it holds size cards.
    bool followed(int foundationPile, int card, std::size_t size) const;
    // The children that send home the card that follows the one just sent to foundationPile.
    void addHomeUses(int foundationPile);
    // The children that use the card a swap uncovered on column (the swap already played), or
    // that move a card away from pile alsoFrom.
    void addSwapUses(int column, int alsoFrom = -1);
    // A card sent home from a column where the card under it is face up already.
    bool uncoversNothing(const OpenMove& m) const;
    // Plays uses_ from begin on, each as a child, and drops them from uses_.
    void playUses(std::size_t begin);
    // For each stock or waste card for which fits(card) holds: brings it up by clicks, moves it
    // to pile to (both added to chain_), calls next with that move, and takes it all back. Where
    // the stock is not free, these are the cards clicks can bring up from here, the waste's top
    // card (no clicks) among them.
    template <class Fits, class Next>
    void forStockCards(int to, Fits&& fits, Next&& next);
    // Whether card of the stock or waste may go on the top card of column.
    bool stockCardFits(int card, int column) const
    {
        return open_.tabOn[kFromWaste][static_cast<std::size_t>(card)][pos_.pile(column).back()];
    }
    // The position after chain_ (played) as a child, unless it was seen.
    void leaf(int moveScore, int changed = -1);
    // Clicks that bring card of the stock or waste to the top of the waste (a stock that
    // is drawn one card at a time and turned over as often as wanted).
    int clicksTo(int card) const;
    // The cards clicks can bring to the top of the waste, each with the fewest clicks it takes
    // (the waste's top card first, with none), into reach_.
    void findReach();
    // One click played on stockCopy_ and wasteCopy_ (deal: the pass it is in); false when the
    // stock can give nothing more.
    bool clickCopies(int& deal)
    {
        if (!stockCopy_.empty()) {
            for (int n = 0; n < open_.drawCount && !stockCopy_.empty(); ++n) {
                wasteCopy_.push_back(stockCopy_.back());
                stockCopy_.pop_back();
            }
            return true;
        }
        if (wasteCopy_.size() < 2 || (open_.deals != -1 && deal >= open_.deals))
            return false;
        ++deal;
        stockCopy_.assign(wasteCopy_.rbegin(), wasteCopy_.rend());
        wasteCopy_.clear();
        return true;
    }
    bool outOfBudget();
    // A looser game has every line of the real game and more, so a proof that it is lost
    // settles the deal, and comes far sooner. Where the stock is dealt several cards at a time
    // or its passes are limited, the same deal with a stock dealt one card at a time and turned
    // over at will is one (the same cards leave the stock in the same order, and all of them are
    // always within reach); so is the game in which the runs on twin cards change places at will
    // (exchangeTails), and, with such a stock, the one in which a stock card with nothing on it
    // goes back to the stock. Searches the kinds given, from the loosest, with 1/shareOf of the
    // budget (RealStock: the real stock, runs on twins exchanged).
    enum class Looser { ReturnToStock, FreeStock, RealStock };
    bool looserGameLost(int shareOf, std::initializer_list<Looser> kinds);
    // Where the stock is not free, the looser game that keeps it as it is takes the longest; a
    // complete search beside the one for wins begins with it, and the other looser games are
    // left to the search for wins.
    bool realStockBeside() const { return !freeStock_ && !twinPairs_.empty() && looserGameApplies(); }
    bool looserGameApplies() const { return open_.stock && limits_.reductions && (!freeStock_ || !twinPairs_.empty()); }

    const OpenRules& open_;
    const GameState& state_;
    Position pos_;
    SolverLimits limits_;
    SearchBudget budget_;
    Part part_;
    const std::atomic<bool>* stop_;
    std::vector<Op> ops_;
    std::vector<OpenMove> cand_;
    std::vector<OpenMove> uses_;
    std::vector<Step> chain_;
    std::vector<Step> stepsScratch_;
    std::vector<Scored> scored_;
    std::vector<Step> steps_;
    std::vector<Child> children_;
    std::vector<Frame> frames_;
    std::vector<std::uint8_t> stockCopy_;
    std::vector<std::uint8_t> wasteCopy_;
    std::vector<OpenMove> macroTargets_;
    struct Reach {
        std::uint8_t card;
        std::uint8_t clicks;
    };
    std::vector<Reach> reach_;
    // How many stock cards one chain of cards laid on a column may hold.
    int chainLinks_ = 13;
    std::uint64_t reachKey_ = 0;
    bool reachKnown_ = false;
    // The cards with a twin, where runs of any size lift.
    CardSet twins_;
    std::vector<std::pair<std::uint8_t, std::uint8_t>> twinPairs_;
    // This search plays the looser game of a proof in which the runs on twin cards change places
    // freely: every position with the runs of twins exchanged counts as one.
    bool exchange_ = false;
    // The cards in the stock and waste where the search began; whether such a card with nothing
    // on it goes back to the stock (the loosest game of a proof, tried first).
    CardSet fromStock_;
    bool returnStock_ = false;
    // How the last looser game searched ended.
    Verdict looserVerdict_ = Verdict::Unknown;
    KeySet seen_;
    // Keys of positions as a move left them (before cards are sent home and runs put in order),
    // in slots by key, each once its settled position went into seen_: a cache, so a key may
    // be pushed out by another.
    std::vector<std::uint64_t> met_ = std::vector<std::uint64_t>(std::size_t{1} << 15, 0);
    std::size_t looserTableBytes_ = 0;
    DeadlockTest dead_{open_};
    std::uint64_t states_ = 0;
    std::uint64_t restart_ = 0;
    bool budgetSpent_ = false;
    // The first phase skips moves that are rarely needed (see candidates) and may take a quarter
    // of the budget (nearly every win it finds comes far sooner); the second searches
    // everything, so only it can prove a deal lost.
    bool pruning_ = false;
    bool phaseSpent_ = false;
    // The search for wins of two threads stops at its share too, for the looser game.
    bool sharedPhase_ = false;
    // The second phase runs one attempt to the end: its task is the proof of a loss, which
    // fresh starts would only repeat.
    bool secondPhase_ = false;
    // Every stock card can be reached at any time (one card a click, no limit on passes).
    const bool freeStock_ = open_.stock && open_.drawCount == 1 && open_.deals == -1;
    // The complete phase drops positions the lost-deal test settles where the stock is not
    // free: there it cuts whole subtrees (Klondike dealt three at a time: one lost deal took
    // 327,000 positions without it, 312 with it); where the stock is free it cut next to
    // nothing and cost a tenth of the speed. The looser games of a proof skip it: there it
    // cut next to nothing (Klondike dealt three at a time, deals 55, 75 and 93) and cost two
    // fifths of the speed.
    const bool deadAtNodes_ = open_.stock && !freeStock_;
};

// The pruned first phase's share of the budget. Most wins come within a small part of it; the
// rest goes to the complete search, which proves the lost deals.
constexpr int kPrunedShare = 1;
constexpr int kPrunedShareOf = 4;
// Where the search for wins runs beside the complete one, it hands over to the looser games of a
// proof after an eighth of the budget: nearly every win it finds comes by then, and those games
// settle far more lost deals than the complete search beside it.
constexpr int kBesideShareOf = 8;
// A second search for wins runs one attempt to the end, with tie-breaks that no attempt of the
// first one takes (its attempt number is past the last of those).
constexpr std::uint64_t kBesideRestart = 1000;
// How far the tie-breaks of a fresh attempt may move a child up the order: about two cards
// home, enough to send the attempt down other lines than the last one.
constexpr int kRestartNoise = 3000;

bool OpenSearch::outOfBudget()
{
    if (budget_.over(states_, seen_))
        return budgetSpent_ = true;
    const bool shared = part_ == Part::Both || sharedPhase_;
    const int shareOf = part_ == Part::Both ? kPrunedShareOf : kBesideShareOf;
    if (pruning_ && shared && budget_.shareOver(states_, kPrunedShare, shareOf))
        return phaseSpent_ = true;
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
    // Only a few cards are wanted at a time: walk the set bits alone.
    for (std::size_t card = wanted._Find_first(); card < wanted.size(); card = wanted._Find_next(card)) {
        const int pile = pos_.pileOf(static_cast<int>(card));
        if (pile < open_.tableaus)
            h -= 20 * (static_cast<int>(pos_.pile(pile).size()) - 1 - pos_.indexOf(static_cast<int>(card)));
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
    MoveShape shape{open_.ref(m.from).kind, open_.ref(m.to).kind, m.index};
    if (m.from < open_.tableaus) {
        const auto& p = pos_.pile(m.from);
        // Face-down cards lie only under the face-up ones: under a face-down card all are.
        shape.uncovers = m.index > 0 && pos_.faceDown(p[static_cast<std::size_t>(m.index - 1)]);
        shape.hiddenUnder = shape.uncovers ? m.index : 0;
        for (int i = m.index - 1; i >= 0; --i)
            shape.lowestUnder = std::min(shape.lowestUnder, rank(p[static_cast<std::size_t>(i)]));
    }
    shape.targetEmpty = m.to < open_.tableaus && pos_.pile(m.to).empty();
    return transferOrder(shape);
}

void OpenSearch::candidates()
{
    cand_.clear();
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
            for (const OpenMove& o : cand_)
                if (o.from == m.from && o.index == m.index && slot[o.to] == slot[m.to] && pos_.pile(o.to).empty())
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
        cand_.push_back(m);
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
        if (!clickCopies(deal))
            break;
        if (wasteCopy_.empty())
            continue;
        targets.clear();
        addTargets(open_, pos_, open_.wastePile(), static_cast<int>(wasteCopy_.size()) - 1, wasteCopy_.back(), 1,
                   kFromWaste, emptyColumns, emptyCells, [&](const OpenMove& m) { targets.push_back(m); });
        if (targets.empty())
            continue;
        if (clicked < k)
            pos_.clicks(k - clicked, ops_);
        clicked = k;
        const int atCard = static_cast<int>(ops_.size());
        for (const OpenMove& m : targets) {
            chain_.assign(1, Step{m, static_cast<std::uint8_t>(k)});
            apply(m);
            if (deferred(m))
                addUses(m.to, -1, 0);
            else if (homeLater(m))
                addHomeUses(m.to);
            else
                leaf(500 - 16 * k);
            undoTo(atCard);
        }
    }
    undoTo(mark);
}

void OpenSearch::playUses(std::size_t begin)
{
    const int mark = static_cast<int>(ops_.size());
    const std::size_t end = uses_.size();
    for (std::size_t u = begin; u < end; ++u) {
        const OpenMove m = uses_[u];
        chain_.push_back(Step{m, 0});
        apply(m);
        leaf(moveScore(m));
        undoTo(mark);
        chain_.pop_back();
    }
    uses_.resize(begin);
}

template <class Fits, class Next>
void OpenSearch::forStockCards(int to, Fits&& fits, Next&& next)
{
    const int mark = static_cast<int>(ops_.size());
    auto play = [&](int clicks) {
        if (clicks != 0)
            pos_.clicks(clicks, ops_);
        const OpenMove m{static_cast<std::uint8_t>(open_.wastePile()),
                         static_cast<std::uint8_t>(pos_.pile(open_.wastePile()).size() - 1),
                         static_cast<std::uint8_t>(to)};
        chain_.push_back(Step{m, static_cast<std::uint8_t>(clicks)});
        apply(m);
        next(m);
        undoTo(mark);
        chain_.pop_back();
    };
    if (!freeStock_) {
        // next never comes back here where the stock is not free, so reach_ stays as it is.
        findReach();
        for (const Reach r : reach_)
            if (fits(r.card))
                play(r.clicks);
        return;
    }
    for (const int pile : {open_.stockPile(), open_.wastePile()})
        for (std::size_t i = 0; i < pos_.pile(pile).size(); ++i)
            if (fits(pos_.pile(pile)[i]))
                play(clicksTo(pos_.pile(pile)[i]));
}

bool OpenSearch::deferred(const OpenMove& m) const
{
    if (!limits_.reductions || m.click() || m.to >= open_.tableaus)
        return false;
    // The first phase, which looks for a win, plays such moves at once: tried early, they find
    // wins sooner than the longer children do.
    if (pruning_)
        return false;
    // Such a card could as well stay where it is until the moment something is put on it:
    // nothing else is gained by moving it earlier (a waste card where every stock card can be
    // reached at any time; a foundation card, which only keeps the next one of its suit from
    // going home, apart from the card under it that may be taken back next).
    if (freeStock_ && m.from == open_.wastePile())
        return true;
    return open_.takeBack != 0 && m.from >= open_.homeFirst();
}

bool OpenSearch::homeLater(const OpenMove& m) const
{
    // A stock card sent home where every stock card can be reached at any time: until the next
    // card of its foundation follows, it could as well have stayed in the stock (the stock gives
    // it up as readily as the foundation would give it back). The last card of a foundation has
    // no next card, and nothing but going home finishes it: it goes home alone.
    if (!limits_.reductions || pruning_ || !freeStock_ || m.click() || m.from != open_.wastePile() ||
        m.to < open_.homeFirst())
        return false;
    return followed(m.to, pos_.pile(m.to).back(), pos_.pile(m.to).size());
}

bool OpenSearch::followed(int foundationPile, int card, std::size_t size) const
{
    if (open_.foundationCap > 0 && static_cast<int>(size) >= open_.foundationCap)
        return false;
    return open_.foundNext[static_cast<std::size_t>(foundationPile - open_.homeFirst())][static_cast<std::size_t>(card)]
        .any();
}

void OpenSearch::addHomeUses(int foundationPile)
{
    const int f = foundationPile - open_.homeFirst();
    const int mark = static_cast<int>(ops_.size());
    auto goesHome = [&](int card) { return foundationTakes(open_, pos_, f, card); };
    auto child = [&](const OpenMove& m) { leaf(moveScore(m)); };
    for (int i = 0; i < open_.tableaus + open_.reserves; ++i) {
        const auto& p = pos_.pile(i);
        if (p.empty() || !goesHome(p.back()))
            continue;
        const OpenMove m{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(p.size() - 1),
                         static_cast<std::uint8_t>(foundationPile)};
        chain_.push_back(Step{m, 0});
        apply(m);
        child(m);
        undoTo(mark);
        chain_.pop_back();
    }
    if (open_.stock)
        forStockCards(foundationPile, goesHome, child);
}

bool OpenSearch::uncoversNothing(const OpenMove& m) const
{
    // Until the card under it is used, the next card of its foundation follows it home, or it
    // comes back off the foundation, such a card could as well have stayed on its column.
    // The last card of a foundation has no next card: it goes home alone.
    if (!limits_.reductions || pruning_ || !open_.stock || m.click() || m.index == 0 || m.from >= open_.tableaus ||
        m.to < open_.homeFirst())
        return false;
    const auto& p = pos_.pile(m.from);
    return !pos_.faceDown(p[static_cast<std::size_t>(m.index - 1)]) &&
           followed(m.to, p[static_cast<std::size_t>(m.index)], pos_.pile(m.to).size() + 1);
}

bool OpenSearch::swap(const OpenMove& m) const
{
    // Part of a face-up group moved to a card of the same standing: it only uncovers the card
    // it lay on, so it waits until that card is used. Where groups of any size lift, moving it
    // later is always possible.
    if (!limits_.reductions || pruning_ || m.click() || m.index == 0 || m.from >= open_.tableaus ||
        m.to >= open_.tableaus ||
        (open_.groupLimit != catalog::GroupLimit::Unlimited && open_.groupLimit != catalog::GroupLimit::Always))
        return false;
    return !pos_.faceDown(pos_.pile(m.from)[static_cast<std::size_t>(m.index - 1)]);
}

void OpenSearch::addSwapUses(int column, int alsoFrom)
{
    const std::size_t begin = uses_.size();
    const Touching touching{column, alsoFrom, column};
    generate(
        open_, pos_,
        [&](const OpenMove& m) {
            if (m.from != m.to)
                uses_.push_back(m);
        },
        &touching);
    playUses(begin);
    if (!open_.stock || pos_.pile(column).empty())
        return;
    // The waste's top card came with the moves above.
    const int wasteTop = pos_.pile(open_.wastePile()).empty() ? 0 : pos_.pile(open_.wastePile()).back();
    forStockCards(
        column, [&](int card) { return card != wasteTop && stockCardFits(card, column); },
        [&](const OpenMove& m) { leaf(moveScore(m)); });
}

int OpenSearch::clicksTo(int card) const
{
    const auto& stock = pos_.pile(open_.stockPile());
    const auto& waste = pos_.pile(open_.wastePile());
    const int i = pos_.indexOf(card);
    if (pos_.pileOf(card) == open_.stockPile())
        return static_cast<int>(stock.size()) - i;
    if (i + 1 == static_cast<int>(waste.size()))
        return 0;
    // Through the rest of the stock, the turn-over, then up to the card.
    return static_cast<int>(stock.size()) + 1 + i + 1;
}

void OpenSearch::addUses(int column, int takenFrom, int depth)
{
    const int top = pos_.pile(column).back();
    const std::size_t begin = uses_.size();
    auto use = [&](int from, int index) {
        uses_.push_back(OpenMove{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(index),
                                 static_cast<std::uint8_t>(column)});
    };
    const auto& on = open_.tabOn;
    const auto topAt = static_cast<std::size_t>(top);
    const int emptyColumns = pos_.emptyColumns();
    const int emptyCells = pos_.emptyCells();
    // Groups of the other columns, lifted as the move generator lifts them.
    for (int c = 0; c < open_.tableaus; ++c) {
        const auto& p = pos_.pile(c);
        const int size = static_cast<int>(p.size());
        for (int i = size - 1; i >= 0 && c != column; --i) {
            const auto card = static_cast<std::size_t>(p[static_cast<std::size_t>(i)]);
            if (pos_.faceDown(static_cast<int>(card)) ||
                (i + 1 < size && !open_.sequence[card][p[static_cast<std::size_t>(i + 1)]]))
                break;
            const int n = size - i;
            if (open_.fits(n, emptyColumns, emptyCells, false) &&
                on[n == 1 ? kFromTableauSingle : kFromTableauGroup][card][topAt])
                use(c, i);
        }
    }
    for (int q = 0; q < open_.reserves; ++q) {
        const auto& p = pos_.pile(open_.tableaus + q);
        if (!p.empty() && on[kFromReserve][p.back()][topAt])
            use(open_.tableaus + q, static_cast<int>(p.size()) - 1);
    }
    const auto& waste = pos_.pile(open_.wastePile());
    if (open_.stock && !freeStock_ && !waste.empty() && on[kFromWaste][waste.back()][topAt])
        use(open_.wastePile(), static_cast<int>(waste.size()) - 1);
    for (int f = 0; f < open_.foundations && open_.takeBack != 0; ++f) {
        const int pile = open_.homeFirst() + f;
        const auto& p = pos_.pile(pile);
        if (p.size() < static_cast<std::size_t>(open_.takeBack))
            continue;
        const int index = static_cast<int>(p.size()) - 1;
        if (pile == takenFrom) {
            // The card under a foundation card taken back may follow it off the foundation.
            addTargets(open_, pos_, pile, index, p.back(), 1, kFromFoundation, emptyColumns, emptyCells,
                       [&](const OpenMove& m) {
                           if (m.to < open_.homeFirst())
                               uses_.push_back(m);
                       });
        } else if (on[kFromFoundation][p.back()][topAt]) {
            use(pile, index);
        }
    }
    playUses(begin);
    if (!open_.stock)
        return;
    if (!freeStock_) {
        // The waste's top card came with the moves above.
        const int wasteTop = waste.empty() ? 0 : waste.back();
        forStockCards(
            column, [&](int card) { return card != wasteTop && stockCardFits(card, column); },
            [&](const OpenMove& m) { leaf(moveScore(m)); });
        return;
    }
    // A stock card put on it must in turn get something put on it. Where more than two stock
    // cards may fit each one, such chains branch too fast: past a few links the card comes alone.
    forStockCards(
        column, [&](int card) { return stockCardFits(card, column); },
        [&](const OpenMove& m) {
            if (depth + 1 < chainLinks_)
                addUses(column, -1, depth + 1);
            else
                leaf(moveScore(m));
        });
}

void OpenSearch::findReach()
{
    // Tableau moves leave the stock and waste as they are: the list made last is often still
    // the one wanted.
    if (reachKnown_ && pos_.talonKey() == reachKey_)
        return;
    reachKnown_ = true;
    reachKey_ = pos_.talonKey();
    reach_.clear();
    stockCopy_ = pos_.pile(open_.stockPile());
    wasteCopy_ = pos_.pile(open_.wastePile());
    CardSet found;
    if (!wasteCopy_.empty()) {
        reach_.push_back(Reach{wasteCopy_.back(), 0});
        found[wasteCopy_.back()] = true;
    }
    int deal = pos_.deal();
    const int maxClicks = std::min(250, static_cast<int>(stockCopy_.size() + wasteCopy_.size()) + 2);
    for (int k = 1; k <= maxClicks; ++k) {
        if (!clickCopies(deal))
            break;
        if (!wasteCopy_.empty() && !found[wasteCopy_.back()]) {
            found[wasteCopy_.back()] = true;
            reach_.push_back(Reach{wasteCopy_.back(), static_cast<std::uint8_t>(k)});
        }
    }
}

void OpenSearch::leaf(int ms, int changed)
{
    const int at = static_cast<int>(ops_.size());
    // Most children are reached again through other orders of the same moves. Where the
    // position a move leaves was met before, the position it settles into (cards sent home,
    // runs in order) is in seen_ already: the settling is skipped.
    const std::uint64_t raw = key();
    std::uint64_t& met = met_[static_cast<std::size_t>(raw ^ (raw >> 32)) & (met_.size() - 1)];
    if (met == raw && raw != 0)
        return;
    playSafe(changed);
    normalize();
    met = raw;
    if (seen_.insert(key()) && !(deadAtNodes_ && !pruning_ && !exchange_ && dead_.lost(pos_))) {
        int score = pos_.won() ? 1 << 30 : evaluate() * 16 + ms / 16;
        if (score != 1 << 30)
            score += RestartPolicy::tieBreak(pos_.key(), restart_, kRestartNoise);
        scored_.push_back(Scored{static_cast<int>(stepsScratch_.size()), static_cast<int>(chain_.size()), score});
        stepsScratch_.insert(stepsScratch_.end(), chain_.begin(), chain_.end());
    }
    undoTo(at);
}

void OpenSearch::expand(Frame& f)
{
    candidates();
    scored_.clear();
    stepsScratch_.clear();
    const int mark = static_cast<int>(ops_.size());
    const bool stockMacros = open_.stock && limits_.reductions;
    for (const OpenMove& m : cand_) {
        // Clicks lead only to the waste cards they bring up, and those come as one move each
        // with their clicks (addStockMacros; the moves offered only with their uses bring up
        // the waste cards they use the same way): a click alone would only add positions.
        if (stockMacros && m.click())
            continue;
        chain_.assign(1, Step{m, 0});
        const bool swapped = swap(m);
        const bool quiet = uncoversNothing(m);
        apply(m);
        if (swapped) {
            addSwapUses(m.from);
        } else if (quiet) {
            addSwapUses(m.from, m.to);
            addHomeUses(m.to);
        } else if (deferred(m)) {
            addUses(m.to, m.from >= open_.homeFirst() ? m.from : -1, 0);
        } else if (homeLater(m)) {
            addHomeUses(m.to);
        } else if (m.click()) {
            leaf(moveScore(m), open_.wastePile());
        } else {
            leaf(moveScore(m), m.from >= open_.homeFirst() || m.to >= open_.homeFirst() ? -1 : m.from);
        }
        undoTo(mark);
    }
    if (stockMacros)
        addStockMacros();
    // Best first, ties in the order found; the lists are short, so an insertion sort beats one
    // that takes a buffer from the heap at every position.
    for (std::size_t i = 1; i < scored_.size(); ++i) {
        const Scored x = scored_[i];
        std::size_t j = i;
        for (; j > 0 && scored_[j - 1].score < x.score; --j)
            scored_[j] = scored_[j - 1];
        scored_[j] = x;
    }
    f.begin = static_cast<int>(children_.size());
    f.steps = static_cast<int>(steps_.size());
    for (const Scored& s : scored_) {
        children_.push_back(Child{static_cast<int>(steps_.size()), s.count});
        steps_.insert(steps_.end(), stepsScratch_.begin() + s.first, stepsScratch_.begin() + s.first + s.count);
    }
    f.end = static_cast<int>(children_.size());
    f.next = f.begin;
}

bool OpenSearch::depthFirst()
{
    const int rootOps = static_cast<int>(ops_.size());
    const std::uint64_t rootKey = key();
    bool won = false;
    // Many short attempts that grow slowly settle the hard FreeCell deals far sooner than a few
    // long ones.
    constexpr RestartPolicy kRestarts{300, 130, 30};
    for (std::uint64_t limit = kRestarts.first; !won; limit = kRestarts.next(limit), ++restart_) {
        const bool last = kRestarts.last(restart_) || secondPhase_;
        const std::uint64_t attemptStart = states_;
        bool cut = false;
        undoTo(rootOps);
        seen_.clear();
        std::fill(met_.begin(), met_.end(), 0);
        seen_.insert(rootKey);
        children_.clear();
        steps_.clear();
        frames_.clear();
        frames_.push_back(Frame{0, 0, 0, rootOps});
        expand(frames_.back());
        while (!won && !frames_.empty()) {
            Frame& parent = frames_.back();
            if (parent.next >= parent.end) {
                children_.resize(static_cast<std::size_t>(parent.begin));
                steps_.resize(static_cast<std::size_t>(parent.steps));
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
            const Child child = children_[static_cast<std::size_t>(parent.next++)];
            undoTo(parent.ops);
            for (int k = 0; k < child.count; ++k)
                applyStep(steps_[static_cast<std::size_t>(child.first + k)]);
            playSafe();
            normalize();
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

int OpenSearch::tailOn(int column, int index) const
{
    const auto& p = pos_.pile(column);
    const auto n = p.size();
    const auto i = static_cast<std::size_t>(index);
    if (i + 1 == n)
        return 0;
    for (std::size_t k = i; k + 1 < n; ++k)
        if (!open_.sequence[p[k]][p[k + 1]])
            return -1;
    return p[i + 1];
}

bool OpenSearch::returnToStock()
{
    if (!freeStock_ || !returnStock_)
        return false;
    bool any = false;
    for (int c = 0; c < open_.tableaus; ++c) {
        const auto& p = pos_.pile(c);
        if (p.empty() || !fromStock_[p.back()])
            continue;
        const auto card = static_cast<std::size_t>(p.back());
        // Only where it could come straight back onto the face-up card under it. A card alone
        // in a column stays: taking it back would free the column, which the real game never
        // does (a King from the stock holds its column for good).
        if (p.size() < 2 || pos_.faceDown(p[p.size() - 2]) || !open_.tabOn[kFromWaste][card][p[p.size() - 2]])
            continue;
        ops_.push_back(pos_.move(c, static_cast<int>(p.size()) - 1, open_.wastePile()));
        any = true;
    }
    return any;
}

bool OpenSearch::exchangeTails()
{
    // Exchanging the runs on two twins is no move of the real game; the looser game that has it
    // loses only where the real one does. Which of a pair carries which run then no longer
    // matters, so one order is kept: the card no foundation wants carries the run (the other is
    // free to go home), else the lower card does; with two runs, that card carries the one that
    // starts with the lower card.
    bool any = false;
    for (const auto& [y, z] : twinPairs_) {
        const int py = pos_.pileOf(y), pz = pos_.pileOf(z);
        if (py >= open_.tableaus || pz >= open_.tableaus || py == pz || pos_.faceDown(y) || pos_.faceDown(z))
            continue;
        const int iy = pos_.indexOf(y), iz = pos_.indexOf(z);
        const int ty = tailOn(py, iy), tz = tailOn(pz, iz);
        if (ty < 0 || tz < 0 || (ty == 0 && tz == 0))
            continue;
        const CardSet& wanted = wantedCards();
        const bool yCarries = wanted[y] != wanted[z] ? !wanted[y] : true; // y < z
        // The run that belongs on y: the only one, or the lower one.
        const bool yTailFirst = tz == 0 || (ty != 0 && ty < tz);
        if (yCarries == yTailFirst)
            continue;
        const int ny = static_cast<int>(pos_.pile(py).size()) - iy - 1;
        const int nz = static_cast<int>(pos_.pile(pz).size()) - iz - 1;
        if (ny > 0 && nz > 0) {
            // Both runs: y's onto z's, the two back onto y, then y's own back onto z.
            ops_.push_back(pos_.move(py, iy + 1, pz));
            ops_.push_back(pos_.move(pz, iz + 1, py));
            ops_.push_back(pos_.move(py, iy + 1 + nz, pz));
        } else if (ny > 0) {
            ops_.push_back(pos_.move(py, iy + 1, pz));
        } else {
            ops_.push_back(pos_.move(pz, iz + 1, py));
        }
        any = true;
    }
    return any;
}

bool OpenSearch::looserGameLost(int shareOf, std::initializer_list<Looser> kinds)
{
    OpenRules looser = open_;
    looser.drawCount = 1;
    looser.deals = -1;
    SolverLimits limits = limits_;
    limits.threads = 1;
    limits.maxStates = limits_.maxStates == 0
                           ? 0
                           : std::max<std::uint64_t>(1, limits_.maxStates / static_cast<std::uint64_t>(shareOf));
    if (limits_.budgetMs > 0) {
        const auto left = std::chrono::milliseconds(limits_.budgetMs) -
                          std::chrono::duration_cast<std::chrono::milliseconds>(budget_.elapsed());
        limits.budgetMs = static_cast<int>(
            std::max<std::int64_t>(1, std::min<std::int64_t>(left.count(), limits_.budgetMs / shareOf)));
    }
    // The table of the search so far is still held.
    limits.maxTableBytes = limits_.maxTableBytes / 2;
    const auto shareStart = Clock::now();
    std::uint64_t spent = 0;
    // From the loosest game to tighter ones while the share lasts: a looser game is settled
    // sooner, but it is won more often. Each is tried only where the one before it was won.
    for (const Looser kind : kinds) {
        SolverLimits rest = limits;
        if (rest.maxStates != 0) {
            if (spent >= rest.maxStates)
                break;
            rest.maxStates -= spent;
        }
        if (rest.budgetMs > 0) {
            rest.budgetMs -= static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - shareStart).count());
            if (rest.budgetMs <= 0)
                break;
        }
        if (kind == Looser::RealStock && freeStock_)
            break;
        // Without twins only the free stock makes a looser game.
        if (twinPairs_.empty() && kind != Looser::FreeStock)
            continue;
        OpenSearch search(kind == Looser::RealStock ? open_ : looser, state_, rest, Part::CompleteOnly, stop_);
        search.exchange_ = !twinPairs_.empty();
        search.returnStock_ = kind == Looser::ReturnToStock;
        if (search.returnStock_)
            for (const int pile : {open_.stockPile(), open_.wastePile()})
                for (const std::uint8_t c : search.pos_.pile(pile))
                    search.fromStock_[c] = true;
        const SolveResult r = search.run();
        states_ += r.states;
        spent += r.states;
        looserTableBytes_ = std::max(looserTableBytes_, r.tableBytes);
        if (r.cancelled) {
            budget_.markCancelled();
            budgetSpent_ = true;
        }
        looserVerdict_ = r.verdict;
        if (r.verdict != Verdict::Winnable)
            return r.verdict == Verdict::NotWinnable;
    }
    return false;
}

SolveResult OpenSearch::run()
{
    seen_.setLimit(limits_.maxTableBytes);
    SolveResult result;
    playSafe();
    states_ = 1;
    bool won = pos_.won();
    // Checked once: deeper in the search the test costs more time than the positions it cuts.
    const bool lost = !won && limits_.reductions && part_ != Part::WinsOnly && DeadlockTest(open_).lost(pos_);
    bool looserLost = false;
    if (!won && !lost && part_ == Part::WinsOnly) {
        const int rootOps = static_cast<int>(ops_.size());
        pruning_ = true;
        sharedPhase_ = looserGameApplies();
        won = depthFirst();
        if (!won && sharedPhase_ && !budgetSpent_) {
            looserLost = realStockBeside()
                             ? looserGameLost(1, {Looser::ReturnToStock, Looser::FreeStock})
                             : looserGameLost(1, {Looser::ReturnToStock, Looser::FreeStock, Looser::RealStock});
            sharedPhase_ = phaseSpent_ = false;
            if (!looserLost && !budgetSpent_) {
                undoTo(rootOps);
                won = depthFirst();
            }
        }
        // Its search skips moves, so running out proves nothing.
        budgetSpent_ = !looserLost;
    } else if (!won && !lost && (part_ == Part::CompleteOnly || part_ == Part::Proof)) {
        const int rootOps = static_cast<int>(ops_.size());
        bool looserWon = false;
        if (part_ == Part::Proof && realStockBeside()) {
            looserLost = looserGameLost(1, {Looser::RealStock});
            looserWon = !looserLost && looserVerdict_ == Verdict::Winnable;
        }
        if (looserWon && !budgetSpent_) {
            // The real game has more positions still than that looser one: its complete search
            // would rarely end within what is left. A second search for wins, with other
            // tie-breaks than the one beside it, finds more of the wins.
            pruning_ = true;
            restart_ = kBesideRestart;
            won = depthFirst();
            pruning_ = false;
        }
        // That search skips moves, so it may run out of them with budget to spare where a win
        // needs one of them (Thoughtful, its cards all face up): the complete search takes the
        // rest.
        if (!won && !looserLost && !budgetSpent_) {
            secondPhase_ = true;
            undoTo(rootOps);
            restart_ = 0;
            won = depthFirst();
        }
    } else if (!won && !lost) {
        const int rootOps = static_cast<int>(ops_.size());
        pruning_ = open_.stock && limits_.reductions && limits_.winsFirst;
        won = depthFirst();
        if (!won && pruning_ && !budgetSpent_ && looserGameApplies())
            looserLost = looserGameLost(4, {Looser::ReturnToStock, Looser::FreeStock, Looser::RealStock});
        if (!won && !looserLost && pruning_ && !budgetSpent_) {
            pruning_ = false;
            secondPhase_ = true;
            phaseSpent_ = false;
            undoTo(rootOps);
            restart_ = 0;
            won = depthFirst();
        }
    }
    result.states = states_;
    result.tableBytes = std::max(seen_.bytes(), looserTableBytes_);
    if (won) {
        result.verdict = Verdict::Winnable;
        for (const Op& op : ops_) {
            if (op.click)
                result.line.insert(result.line.end(), op.count, Move{MoveKind::Stock, PileRef::stock(), -1, {}});
            else
                result.line.push_back(Move{MoveKind::Transfer, open_.ref(op.from), op.index, open_.ref(op.to)});
        }
    } else {
        result.verdict = budgetSpent_ && !looserLost ? Verdict::Unknown : Verdict::NotWinnable;
    }
    budget_.finish(result);
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

std::optional<SolveResult> solveOpen(const GameRules& rules, const GameState& state, const SolverLimits& limits)
{
    const auto open = openRulesFor(rules, state);
    if (!open)
        return std::nullopt;
    if (limits.threads < 2 || !open->stock || !limits.reductions || !limits.winsFirst) {
        OpenSearch search(*open, state, limits);
        return search.run();
    }
    std::atomic<bool> settled{false};
    SolverLimits each = limits;
    each.maxTableBytes = limits.maxTableBytes / 2;
    OpenSearch wins(*open, state, each, Part::WinsOnly, &settled);
    OpenSearch complete(*open, state, each, Part::Proof, &settled);
    SolveResult found;
    std::thread helper([&] {
        found = wins.run();
        if (found.verdict != Verdict::Unknown)
            settled = true;
    });
    SolveResult proof = complete.run();
    if (proof.verdict != Verdict::Unknown)
        settled = true;
    helper.join();
    SolveResult result = found.verdict != Verdict::Unknown ? found : proof;
    result.states = found.states + proof.states;
    result.tableBytes = found.tableBytes + proof.tableBytes;
    result.cancelled = found.cancelled || proof.cancelled;
    result.milliseconds = std::max(found.milliseconds, proof.milliseconds);
    // Both read the processor time of the whole program over nearly the same stretch.
    result.cpuMilliseconds = std::max(found.cpuMilliseconds, proof.cpuMilliseconds);
    return result;
}

} // namespace cw::engine
