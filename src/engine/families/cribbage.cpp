// Cribbage patience and cribbage square: hands laid out from the stock and scored by the rules of cribbage.
#include <array>
#include <vector>

#include "engine/families/cribbage_table.h"
#include "engine/families/families.h"
#include "engine/families/placement_hint.h"
#include "engine/history.h"
#include "engine/score.h"

namespace cw::engine::families {
namespace {

constexpr const char* kTipLayAway = "Lay away two cards from the Hand to the Crib";
constexpr const char* kTipContinue = "Click on the Stock to continue";
constexpr const char* kValues[] = {"2", "2", "1", "4 (5)", "1"};
constexpr const char* kCategories[] = {"Fifteen:", "Pair:", "Run:", "Flush:", "His Nobs:"};

std::array<int, 5> valuesOf(const CribbageScore& s) { return {s.fifteen, s.pair, s.run, s.flush, s.nobs}; }

bool holds(const Table& t, int pile) { return t.tableau(pile).top() > 0; }
int cardOn(const Table& t, int pile) { return holds(t, pile) ? t.tableau(pile).top() : kNoCard; }

void pause(Play& play, int ms) { play.addEvent(Event{EventType::Pause, 0, {}, {}, true, {}, ms}); }

// Moves the one card of `from` to `to` with its face as given, as a slide the window shows.
void slide(Play& play, PileRef from, PileRef to, bool faceUp, bool toBottom = false)
{
    Table& t = play.table();
    const int code = t.pile(from).pop();
    if (code <= 0)
        return;
    if (toBottom)
        t.pile(to).insert(0, code);
    else
        t.pile(to).push(code);
    t.setFace(code, faceUp);
    play.moved(code, from, to, faceUp);
}

// ---- Cribbage patience ----

// The lay-away piles are full and no starter is cut yet: the hand is to be scored.
bool readyToScore(const Table& t)
{
    return holds(t, kLayAwayPile1) && holds(t, kLayAwayPile1 + 1) && !holds(t, kStarterPile);
}

// The hand scoring step: the hand closes up onto piles 5-8, the starter is cut onto pile 11 and
// the crib cards are shown. The points follow from the table (the score formula reads it), and
// the whole step belongs to the undo step of the lay-away move that started it.
void scoreHand(Play& play)
{
    Table& t = play.table();
    pause(play, 200);
    for (int p = kHandPile1; p < kHandPile1 + 4; ++p) {
        if (holds(t, p))
            continue;
        for (int q = p + 1; q <= kLastHandPile; ++q)
            if (holds(t, q)) {
                slide(play, PileRef::tableau(q), PileRef::tableau(p), true);
                pause(play, 100);
                break;
            }
    }
    if (t.stock().cardCount() > 0)
        slide(play, PileRef::stock(), PileRef::tableau(kStarterPile), true);
    pause(play, 200);
    for (int p = kCribPile1; p < kCribPile1 + 2; ++p)
        if (holds(t, p) && t.isFaceDown(t.tableau(p).top())) {
            t.setFace(t.tableau(p).top(), true);
            play.turned(t.tableau(p).top(), PileRef::tableau(p), true);
        }
}

// The last hand lies on the table: four cards from an empty stock, no crib and no starter.
bool lastHandDealt(const Table& t)
{
    if (t.stock().cardCount() > 0 || holds(t, kStarterPile))
        return false;
    for (int p = kCribPile1; p < kHandPile1; ++p)
        if (holds(t, p))
            return false;
    for (int p = kHandPile1; p <= kLastHandPile; ++p)
        if (holds(t, p))
            return true;
    return false;
}

// The next-hand step: the table is cleared (the starter under the stock, the other cards under
// the second waste) and the next hand dealt; the last four cards make a hand without crib.
void nextHand(Play& play)
{
    Table& t = play.table();
    for (int p = 0; p < kCribbagePiles; ++p) {
        if (!holds(t, p))
            continue;
        slide(play, PileRef::tableau(p), p == kStarterPile ? PileRef::stock() : PileRef::secondWaste(), false, true);
        pause(play, 10);
        play.sound("Shuffle");
    }
    const bool last = t.stock().cardCount() <= 4;
    std::vector<int> piles;
    if (!last)
        piles = {kCribPile1, kCribPile1 + 1};
    for (int p = kHandPile1; p < kHandPile1 + (last ? 4 : 6); ++p)
        piles.push_back(p);
    for (int p : piles) {
        if (t.stock().cardCount() == 0)
            break;
        slide(play, PileRef::stock(), PileRef::tableau(p), p >= kHandPile1);
        pause(play, 10);
        play.sound("Shuffle");
    }
    if (last)
        pause(play, 400);
}

std::string patienceTip(const Table& t)
{
    if (t.stock().cardCount() == 0)
        return {};
    return scoreCribbageTable(t).scored ? kTipContinue : kTipLayAway;
}

// The best cards to lay away: the hand and the two laid-away cards scored over every starter
// still unseen (the stock and the face-down crib), the crib's own cards unknown.
std::optional<FamilyTutorStep> layAwayHint(const Table& t)
{
    std::vector<int> hand;
    for (int p = kHandPile1; p <= kLastHandPile; ++p)
        if (holds(t, p))
            hand.push_back(p);
    std::vector<int> unseen(t.stock().begin(), t.stock().end());
    for (int p = kCribPile1; p < kCribPile1 + 2; ++p)
        if (holds(t, p))
            unseen.push_back(t.tableau(p).top());
    const int laid = holds(t, kLayAwayPile1) ? cardOn(t, kLayAwayPile1) : cardOn(t, kLayAwayPile1 + 1);
    const int n = static_cast<int>(hand.size());
    double best = -1;
    int bestPile = -1;
    for (int i = 0; i < n; ++i)
        for (int j = laid == kNoCard ? i + 1 : i; j < n; ++j) {
            std::array<int, 4> keep{kNoCard, kNoCard, kNoCard, kNoCard};
            int k = 0;
            for (int m = 0; m < n && k < 4; ++m)
                if (m != i && m != j)
                    keep[static_cast<std::size_t>(k++)] = cardOn(t, hand[static_cast<std::size_t>(m)]);
            const int second = laid == kNoCard ? cardOn(t, hand[static_cast<std::size_t>(j)]) : laid;
            const std::array<int, 4> crib{cardOn(t, hand[static_cast<std::size_t>(i)]), second, kNoCard, kNoCard};
            double sum = 0;
            for (int s : unseen)
                sum += scoreCribbageHand(CribbageKind::Hand, keep, s).total() +
                       scoreCribbageHand(CribbageKind::Crib, crib, s).total();
            const double mean = unseen.empty() ? 0 : sum / static_cast<double>(unseen.size());
            if (mean > best) {
                best = mean;
                bestPile = hand[static_cast<std::size_t>(i)];
            }
        }
    if (bestPile < 0)
        return std::nullopt;
    const int to = holds(t, kLayAwayPile1) ? kLayAwayPile1 + 1 : kLayAwayPile1;
    return FamilyTutorStep{Move{MoveKind::Transfer, PileRef::tableau(bestPile), 0, PileRef::tableau(to)},
                           "Lay away the card the hand and crib need least"};
}

// Hands dealt from the stock with two face-down crib cards, which a press does not turn up.
class CribbagePatience final : public SpecialFamily {
public:
    bool addsDealPoints() const override { return false; }
    bool searchable() const override { return false; }
    PressAction pressAction(const Play&, PileRef, int, PressAction ordinary) const override
    {
        return ordinary == PressAction::TurnUp ? PressAction::None : ordinary;
    }

    void afterMove(Play& play, const MoveDone&) const override
    {
        if (readyToScore(play.table()))
            scoreHand(play);
    }

    Handled stockClick(Play& play, bool) const override
    {
        const Table& t = play.table();
        if (lastHandDealt(t))
            return Handled::Unchanged;
        // With nothing laid away the click only closes the score panel, which the position hides.
        if (!holds(t, kLayAwayPile1) && !holds(t, kLayAwayPile1 + 1))
            return Handled::Unchanged;
        nextHand(play);
        return Handled::Changed;
    }
    std::optional<bool> stockClickAvailable(const Play& play) const override
    {
        const Table& t = play.table();
        return !lastHandDealt(t) && (holds(t, kLayAwayPile1) || holds(t, kLayAwayPile1 + 1));
    }

    // Over when the last hand of four cards lies on the table (it is scored as it is dealt).
    std::optional<bool> isWon(const Play& play) const override { return lastHandDealt(play.table()); }

    std::optional<int> score(const ScoreInput& in) const override
    {
        return cribbagePatienceTotal(in.history ? &in.history->undo : nullptr, in.state.table);
    }

    std::optional<FamilyTutorStep> tutorMove(const Play& play) const override
    {
        const Table& t = play.table();
        if (lastHandDealt(t))
            return std::nullopt;
        if (scoreCribbageTable(t).scored)
            return FamilyTutorStep{Move{MoveKind::Stock, PileRef::stock()}, kTipContinue};
        return layAwayHint(t);
    }

    void pileMarks(const GameRules&, const GameState&, PileMarks& out) const override
    {
        out.push_back(PileMark{MarkKind::CaptionLeft, PileRef::tableau(kCribPile1), -1, 0, "Crib", false});
        out.push_back(PileMark{MarkKind::CaptionLeft, PileRef::tableau(kHandPile1), -1, 0, "Hand", false});
        out.push_back(PileMark{MarkKind::CaptionLeft, PileRef::tableau(kStarterPile), -1, 0, "Starter", false});
    }

    // The info panel always; the score panel while a scored hand lies on the table.
    std::vector<FamilyPanel> panels(const GameRules& rules, const GameState& state) const override
    {
        const Table& t = state.table;
        std::vector<FamilyPanel> out;
        FamilyPanel info{"CribbageInfo", {}, {}};
        info.lines = {{"Tip:", patienceTip(t)},
                      {"Deals remaining:", cribbageDealsRemaining(t.stock().cardCount())},
                      {"Score to win:", "81"}};
        out.push_back(std::move(info));
        const CribbageTableScore now = scoreCribbageTable(t);
        if (!now.scored)
            return out;
        FamilyPanel panel{"CribbageScore", {{"", "Value", "Crib", "Hand", "Total"}}, {}};
        const std::array<int, 5> crib = valuesOf(now.crib), hand = valuesOf(now.hand);
        for (std::size_t i = 0; i < 5; ++i)
            panel.grid.push_back({kCategories[i], kValues[i], std::to_string(crib[i]), std::to_string(hand[i]),
                                  std::to_string(crib[i] + hand[i])});
        const int total = state.score;
        panel.lines = {{"Total current:", std::to_string(now.current())},
                       {"Total previous:", std::to_string(total - now.current())},
                       {"Total:", std::to_string(total)}};
        (void)rules;
        out.push_back(std::move(panel));
        return out;
    }
};

// ---- Cribbage square ----

constexpr const char* kSquarePanel = "CribbageSquareScore";

bool squareFull(const Play& play)
{
    const int n = std::min(play.tableaus(), kCribbageSquareCells);
    for (int p = 0; p < n; ++p)
        if (!holds(play.table(), p))
            return false;
    return n > 0;
}

// A 4 x 4 square filled from the stock; when it is full the next stock card is the starter and
// the four rows and four columns are scored as hands.
class CribbageSquare final : public SpecialFamily {
public:
    bool addsDealPoints() const override { return false; }
    bool searchable() const override { return false; }

    void afterMove(Play& play, const MoveDone&) const override
    {
        Table& t = play.table();
        if (!t.waste().empty() || !squareFull(play) || t.stock().cardCount() == 0)
            return;
        slide(play, PileRef::stock(), PileRef::waste(), true);
    }

    std::optional<bool> isWon(const Play& play) const override { return squareFull(play); }

    std::optional<int> score(const ScoreInput& in) const override
    {
        const std::optional<CribbageSquareScore> s = scoreCribbageSquareTable(in.state.table);
        return s ? s->total() : 0;
    }

    std::string endPanel() const override { return kSquarePanel; }

    std::optional<FamilyTutorStep> tutorMove(const Play& play) const override
    {
        const Table& t = play.table();
        if (squareFull(play))
            return std::nullopt;
        if (t.waste().empty())
            return t.stock().empty()
                       ? std::nullopt
                       : std::optional<FamilyTutorStep>(FamilyTutorStep{Move{MoveKind::Stock, PileRef::stock()}, {}});
        std::array<int, kCribbageSquareCells> grid{};
        for (int p = 0; p < kCribbageSquareCells; ++p)
            grid[static_cast<std::size_t>(p)] = holds(t, p) ? t.tableau(p).top() : 0;
        std::vector<int> unseen(t.stock().begin(), t.stock().end());
        PlacementQuestion q{grid, t.waste().top(), unseen};
        q.seed = static_cast<std::uint64_t>(t.stock().size()) * 7919U + static_cast<std::uint64_t>(t.waste().top());
        const int cell = bestCribbageSquareCell(q);
        if (cell < 0 || cell >= play.tableaus())
            return std::nullopt;
        return FamilyTutorStep{
            Move{MoveKind::Transfer, PileRef::waste(), static_cast<int>(t.waste().size()) - 1, PileRef::tableau(cell)},
            "Place the card where it is worth most"};
    }

    // Once scored, each row's total stands right of the row and each column's below the square.
    void pileMarks(const GameRules&, const GameState& state, PileMarks& out) const override
    {
        const std::optional<CribbageSquareScore> s = scoreCribbageSquareTable(state.table);
        if (!s)
            return;
        for (int i = 0; i < kCribbageSquareSide; ++i) {
            out.push_back(PileMark{MarkKind::TotalRight, PileRef::tableau(i * kCribbageSquareSide + 3), -1, 0,
                                   std::to_string(s->rows[static_cast<std::size_t>(i)].total()), false});
            out.push_back(PileMark{MarkKind::TotalBelow, PileRef::tableau(12 + i), -1, 0,
                                   std::to_string(s->columns[static_cast<std::size_t>(i)].total()), false});
        }
    }

    // The score window: the values of the eight hands, their totals and the grand total.
    std::vector<FamilyPanel> panels(const GameRules&, const GameState& state) const override
    {
        const std::optional<CribbageSquareScore> s = scoreCribbageSquareTable(state.table);
        if (!s)
            return {};
        FamilyPanel panel{kSquarePanel, {}, {}};
        std::vector<std::string> head{"", "Value"};
        for (const char* kind : {"Row ", "Column "})
            for (int i = 1; i <= kCribbageSquareSide; ++i)
                head.push_back(kind + std::to_string(i));
        head.push_back("Total");
        panel.grid.push_back(head);
        std::vector<std::array<int, 5>> hands;
        for (const CribbageScore& h : s->rows)
            hands.push_back(valuesOf(h));
        for (const CribbageScore& h : s->columns)
            hands.push_back(valuesOf(h));
        const std::array<int, 5> sum = valuesOf(s->sum());
        for (std::size_t c = 0; c < 5; ++c) {
            std::vector<std::string> row{kCategories[c], kValues[c]};
            for (const auto& h : hands)
                row.push_back(std::to_string(h[c]));
            row.push_back(std::to_string(sum[c]));
            panel.grid.push_back(row);
        }
        std::vector<std::string> totals{"Totals:", ""};
        for (const CribbageScore& h : s->rows)
            totals.push_back(std::to_string(h.total()));
        for (const CribbageScore& h : s->columns)
            totals.push_back(std::to_string(h.total()));
        totals.push_back(std::to_string(s->total()));
        panel.grid.push_back(totals);
        panel.lines = {{"Score to win:", "61"}};
        return {panel};
    }
};

} // namespace

const Family& cribbagePatience()
{
    static const CribbagePatience f;
    return f;
}

const Family& cribbageSquare()
{
    static const CribbageSquare f;
    return f;
}

} // namespace cw::engine::families
