// Memory games: Ace-to-King, Pairs, Forget me not and Concentration, played by turning face-down cards up.
#include <cstdint>
#include <vector>

#include "engine/card.h"
#include "engine/families/families.h"
#include "engine/families/memory_scores.h"
#include "engine/families/memory_table.h"
#include "engine/score.h"

namespace cw::engine::families {
namespace {

// The game counters of a memory deal: the misses, and which table positions were ever seen face
// up (two 32-bit halves of one mask), the memory the demo plays with. Undo leaves them alone:
// a miss stays a miss, and what was seen stays seen.
constexpr std::size_t kMisses = 0;
constexpr std::size_t kSeenLow = 1;
constexpr std::size_t kSeenHigh = 2;
constexpr int kMaskBits = 64;

constexpr const char* kResultPanel = "MemoryResult";

// The result dialog's page as a panel: its captions and values, in the order the dialog shows them.
FamilyPanel resultPanel(const MemoryResultPage& p)
{
    FamilyPanel panel{kResultPanel, {}, {}};
    panel.lines = {{"caption", p.caption},
                   {"page", p.page},
                   {"group", p.group},
                   {"For each match:", std::to_string(p.perMatch)},
                   {"For each miss:", p.perMiss},
                   {"Matches:", std::to_string(p.matches)},
                   {"Misses", std::to_string(p.misses)},
                   {"matches total", std::to_string(p.matchesTotal)},
                   {"misses total", std::to_string(p.missesTotal)},
                   {"Start:", p.start},
                   {"Total:", std::to_string(p.total)},
                   {"(Score to win:", std::to_string(p.target) + ")"},
                   {"won", p.won ? "1" : "0"}};
    return panel;
}

void pause(Play& play, int ms) { play.addEvent(Event{EventType::Pause, 0, {}, {}, true, {}, ms}); }

// A table position (tableau pile, index) numbered in reading order, -1 past the mask.
int positionNumber(const Table& t, int pile, int index)
{
    int n = 0;
    for (int p = 0; p < pile; ++p)
        n += static_cast<int>(t.tableau(p).size());
    n += index;
    return n < kMaskBits ? n : -1;
}

std::uint64_t seenMask(const GameState& s)
{
    return static_cast<std::uint32_t>(s.gameCounters[kSeenLow]) |
           (static_cast<std::uint64_t>(static_cast<std::uint32_t>(s.gameCounters[kSeenHigh])) << 32);
}

void markSeen(GameState& s, int position)
{
    if (position < 0)
        return;
    std::uint64_t m = seenMask(s) | (std::uint64_t{1} << position);
    s.gameCounters[kSeenLow] = static_cast<int>(static_cast<std::uint32_t>(m));
    s.gameCounters[kSeenHigh] = static_cast<int>(static_cast<std::uint32_t>(m >> 32));
}

void turn(Play& play, PileRef pile, int code, bool faceUp)
{
    play.table().setFace(code, faceUp);
    play.turned(code, pile, faceUp);
}

// The turn-down step: one more miss, and every face-up card of the grid goes face down again.
void turnDown(Play& play)
{
    ++play.state.gameCounters[kMisses];
    Table& t = play.table();
    // One look at the cards, then they all go down together (one step for the tools that follow the table).
    pause(play, 200);
    for (int p = 0; p < play.tableaus(); ++p)
        for (int code : t.tableau(p))
            if (code != 0 && t.isFaceUp(code))
                turn(play, PileRef::tableau(p), code, false);
}

void turnUp(Play& play, PileRef pile, int index, int code)
{
    turn(play, pile, code, true);
    play.sound("Face_up");
    markSeen(play.state, positionNumber(play.table(), pile.index, index));
}

// The card of a press on a grid position, 0 for a gap or a position off the grid.
int pressedCard(const Play& play, const Press& press)
{
    if (press.button != Button::Left || press.pile.kind != PileKind::Tableau || press.pile.index >= play.tableaus())
        return 0;
    const Pile& p = play.table().tableau(press.pile.index);
    if (press.index < 0 || static_cast<std::size_t>(press.index) >= p.size())
        return 0;
    return p[static_cast<std::size_t>(press.index)];
}

struct GridCard {
    PileRef pile{};
    int index = -1;
    int code = 0;
};

// The grid's positions, pile by pile and bottom to top, gaps skipped.
std::vector<GridCard> gridCards(const Play& play)
{
    std::vector<GridCard> out;
    for (int p = 0; p < play.tableaus(); ++p) {
        const Pile& pile = play.table().tableau(p);
        for (std::size_t i = 0; i < pile.size(); ++i)
            if (pile[i] != 0)
                out.push_back(GridCard{PileRef::tableau(p), static_cast<int>(i), pile[i]});
    }
    return out;
}

// The base of the memory families played on a grid by presses: the misses and the seen
// positions start afresh with each deal, a press acts at once, the result dialog ends the game.
class MemoryGrid : public SpecialFamily {
public:
    explicit MemoryGrid(int number) : number_(number) {}

    bool pointAndClickApplies() const override { return false; }
    bool searchable() const override { return false; }
    bool addsDealPoints() const override { return false; }
    void startDeal(GameState& state) const override { state.gameCounters = {}; }

    std::optional<int> score(const ScoreInput& in) const override
    {
        const catalog::Rules& r = in.rules;
        return memoryScore(number_, in.state.table, std::clamp(r.tableauCount(), 0, kTableauPiles),
                           in.state.gameCounters[kMisses], r.cardsInPlay());
    }

    // The game is over when no face-down card is left; won or lost is then the score's (the
    // game's winning score), which the end of the game judges.
    std::optional<bool> isWon(const Play& play) const override { return !faceDownLeft(play.table(), play.tableaus()); }

    std::string endPanel() const override { return kResultPanel; }

    std::vector<FamilyPanel> panels(const GameRules& rules, const GameState& state) const override
    {
        const MemoryResultPage p =
            memoryResultPage(number_, std::clamp(rules.tableauCount(), 0, kTableauPiles), state.table,
                             state.gameCounters[kMisses], state.score, rules.targetScore(), state.won);
        return {resultPanel(p)};
    }

    // A press on every face-down card of the grid.
    void addMoves(const Play& play, MoveList& list) const override
    {
        for (const GridCard& g : gridCards(play))
            if (play.table().isFaceDown(g.code)) {
                Move m{MoveKind::Press, g.pile, g.index, g.pile};
                list.push(m);
            }
    }

    std::optional<FamilyTutorStep> tutorMove(const Play& play) const override
    {
        const std::vector<GridCard> cards = gridCards(play);
        const std::optional<GridCard> g = rememberedChoice(play, cards);
        if (!g)
            return std::nullopt;
        return FamilyTutorStep{Move{MoveKind::Press, g->pile, g->index, g->pile},
                               "Turn up a card (the demo remembers every card it has seen)"};
    }

protected:
    // The next press of a player who remembers every card seen so far; nullopt when nothing is left.
    virtual std::optional<GridCard> rememberedChoice(const Play& play, const std::vector<GridCard>& cards) const = 0;

    bool seen(const Play& play, const GridCard& g) const
    {
        const int n = positionNumber(play.table(), g.pile.index, g.index);
        return n >= 0 && ((seenMask(play.state) >> n) & 1U);
    }
    // The first face-down card never seen, else the first face-down card.
    static std::optional<GridCard> firstUnseen(const Play& play, const std::vector<GridCard>& cards,
                                               const MemoryGrid& self)
    {
        std::optional<GridCard> any;
        for (const GridCard& g : cards)
            if (play.table().isFaceDown(g.code)) {
                if (!self.seen(play, g))
                    return g;
                if (!any)
                    any = g;
            }
        return any;
    }

    int number_;
};

// Ace-to-King: the cards are turned up in rank order from the Ace; a card out of order is a miss.
class AceToKing final : public MemoryGrid {
public:
    AceToKing() : MemoryGrid(kFamilyAceToKing) {}

    Handled press(Play& play, const Press& press) const override
    {
        const int code = pressedCard(play, press);
        if (code == 0)
            return Handled::No;
        if (play.table().isFaceUp(code))
            return Handled::Unchanged;
        turnUp(play, press.pile, press.index, code);
        const std::vector<int> record = aceToKingRecord(play.table(), play.tableaus());
        if (memoryRun(record) != static_cast<int>(record.size()))
            turnDown(play);
        return Handled::Changed;
    }

protected:
    std::optional<GridCard> rememberedChoice(const Play& play, const std::vector<GridCard>& cards) const override
    {
        const int want = static_cast<int>(aceToKingRecord(play.table(), play.tableaus()).size()) + 1;
        for (const GridCard& g : cards)
            if (play.table().isFaceDown(g.code) && rank(g.code) == want && seen(play, g))
                return g;
        return firstUnseen(play, cards, *this);
    }
};

// Pairs (the same card of two packs) and Concentration (two cards of one rank): two cards are
// turned up at a time; a pair leaves the grid for the second waste, anything else is a miss.
class PairsFamily final : public MemoryGrid {
public:
    explicit PairsFamily(int number) : MemoryGrid(number) {}

    Handled press(Play& play, const Press& press) const override
    {
        const int code = pressedCard(play, press);
        if (code == 0)
            return Handled::No;
        Table& t = play.table();
        if (t.isFaceUp(code))
            return Handled::Unchanged;
        std::vector<int> up;
        std::vector<PileRef> piles = faceUpTableauPiles(t, play.tableaus(), &up);
        if (up.size() < 2) {
            turnUp(play, press.pile, press.index, code);
            up.push_back(code);
            piles.push_back(press.pile);
        }
        if (up.size() != 2)
            return Handled::Changed;
        if (!memoryCardsPair(number_, up[0], up[1])) {
            turnDown(play);
            return Handled::Changed;
        }
        // The pair leaves; its places stay as gaps so the grid keeps its shape.
        for (std::size_t k = 0; k < 2; ++k) {
            Pile& pile = t.pile(piles[k]);
            pile.set(static_cast<std::size_t>(pile.find(up[k])), 0);
            t.secondWaste().push(up[k]);
            play.moved(up[k], piles[k], PileRef::secondWaste(), true);
        }
        return Handled::Changed;
    }

protected:
    std::optional<GridCard> rememberedChoice(const Play& play, const std::vector<GridCard>& cards) const override
    {
        const Table& t = play.table();
        const GridCard* open = nullptr;
        for (const GridCard& g : cards)
            if (t.isFaceUp(g.code))
                open = &g;
        // With one card up: its partner when it was seen, else a card never seen.
        if (open) {
            for (const GridCard& g : cards)
                if (t.isFaceDown(g.code) && seen(play, g) && memoryCardsPair(number_, open->code, g.code))
                    return g;
            return firstUnseen(play, cards, *this);
        }
        // With none up: a pair already seen, else a card never seen.
        for (std::size_t i = 0; i < cards.size(); ++i) {
            if (!t.isFaceDown(cards[i].code) || !seen(play, cards[i]))
                continue;
            for (std::size_t j = i + 1; j < cards.size(); ++j)
                if (t.isFaceDown(cards[j].code) && seen(play, cards[j]) &&
                    memoryCardsPair(number_, cards[i].code, cards[j].code))
                    return cards[i];
        }
        return firstUnseen(play, cards, *this);
    }
};

// ---- Forget me not ----

constexpr int kShownSeconds = 10;

bool answersGiven(const Table& t)
{
    for (int j = 0; j < kForgetMeNotCards; ++j)
        if (t.tableau(j).cardCount() == 0)
            return false;
    return true;
}

// Ten cards shown for ten seconds on the foundations, then hidden; their twins are laid out
// below in another order, and the player puts each under its card from memory.
class ForgetMeNot final : public SpecialFamily {
public:
    bool searchable() const override { return false; }
    bool addsDealPoints() const override { return false; }
    bool ticks() const override { return true; }

    // The hiding step: after ten seconds of play the shown cards go face down and their twins
    // are dealt face up onto the piles from 11 on, each from a place of its own.
    void tick(Play& play, int playedSeconds) const override
    {
        Table& t = play.table();
        const int first = t.foundation(0).bottom();
        if (playedSeconds <= kShownSeconds || first <= 0 || t.isFaceDown(first) || !t.tableau(0).empty())
            return;
        pause(play, 200);
        for (int f = 0; f < play.foundations(); ++f) {
            const int code = t.foundation(f).bottom();
            if (code > 0 && t.isFaceUp(code))
                turn(play, PileRef::foundation(f), code, false);
        }
        const int last = std::min(play.tableaus(), kTableauPiles);
        // The places come from the shown cards themselves, so a deal always hides the same way.
        std::uint32_t seed = 2166136261U;
        for (int f = 0; f < play.foundations(); ++f)
            seed = (seed ^ static_cast<std::uint32_t>(t.foundation(f).bottom())) * 16777619U;
        for (int f = 0; f < play.foundations(); ++f) {
            const int code = t.foundation(f).bottom();
            if (code <= 0 || last <= kFirstTwinPile)
                continue;
            seed = seed * 1103515245U + 12345U;
            int s = kFirstTwinPile + static_cast<int>((seed >> 16) % 9U);
            for (int k = 0; k < last - kFirstTwinPile; ++k) {
                const int p = kFirstTwinPile + (s - kFirstTwinPile + k) % (last - kFirstTwinPile);
                if (t.tableau(p).empty()) {
                    s = p;
                    break;
                }
            }
            if (!t.tableau(s).empty())
                continue;
            const int twin = code + kTwinOffset;
            t.append(PileRef::tableau(s), twin, true);
            play.moved(twin, PileRef::foundation(f), PileRef::tableau(s), true);
            pause(play, 200);
        }
    }

    // Once every answer is given the shown cards come up again and the right answers are marked.
    void afterMove(Play& play, const MoveDone& move) const override
    {
        Table& t = play.table();
        if (move.target.kind != PileKind::Tableau || !answersGiven(t))
            return;
        for (int f = 0; f < play.foundations(); ++f) {
            const int code = t.foundation(f).bottom();
            if (code > 0 && t.isFaceDown(code))
                turn(play, PileRef::foundation(f), code, true);
        }
        for (int j = 0; j < kForgetMeNotCards; ++j)
            if (t.tableau(j).bottom() == t.foundation(j).bottom() + kTwinOffset)
                play.addEvent(Event{EventType::Highlight, t.tableau(j).bottom(), PileRef::tableau(j), {}, true, {}});
    }

    std::optional<int> score(const ScoreInput& in) const override
    {
        return forgetMeNotScore(forgetMeNotMatches(in.state.table), in.rules.cardsInPlay());
    }
    std::optional<bool> isWon(const Play& play) const override { return answersGiven(play.table()); }
    std::string endPanel() const override { return kResultPanel; }

    void pileMarks(const GameRules&, const GameState& state, PileMarks& out) const override
    {
        const Table& t = state.table;
        if (!answersGiven(t))
            return;
        for (int j = 0; j < kForgetMeNotCards; ++j)
            if (t.tableau(j).bottom() == t.foundation(j).bottom() + kTwinOffset)
                out.push_back(PileMark{MarkKind::Highlight, PileRef::tableau(j), 0, 0, {}, false});
    }

    std::vector<FamilyPanel> panels(const GameRules& rules, const GameState& state) const override
    {
        const MemoryResultPage p = memoryResultPage(kFamilyForgetMeNot, rules.tableauCount(), state.table, 0,
                                                    state.score, rules.targetScore(), state.won);
        return {resultPanel(p)};
    }

    // The demo remembers the shown cards: each twin goes under its own card.
    std::optional<FamilyTutorStep> tutorMove(const Play& play) const override
    {
        const Table& t = play.table();
        for (int j = 0; j < kForgetMeNotCards; ++j) {
            if (!t.tableau(j).empty())
                continue;
            const int twin = t.foundation(j).bottom() + kTwinOffset;
            for (int p = kFirstTwinPile; p < play.tableaus(); ++p)
                if (t.tableau(p).cardCount() > 0 && t.tableau(p).top() == twin)
                    return FamilyTutorStep{Move{MoveKind::Transfer, PileRef::tableau(p),
                                                static_cast<int>(t.tableau(p).size()) - 1, PileRef::tableau(j)},
                                           "Put the twin under its card (the demo remembers every card it has seen)"};
        }
        return std::nullopt;
    }
};

} // namespace

const Family& aceToKing()
{
    static const AceToKing f;
    return f;
}

const Family& pairs()
{
    static const PairsFamily f(kFamilyPairs);
    return f;
}

const Family& forgetMeNot()
{
    static const ForgetMeNot f;
    return f;
}

const Family& concentration()
{
    static const PairsFamily f(kFamilyConcentration);
    return f;
}

} // namespace cw::engine::families
