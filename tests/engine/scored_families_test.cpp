// The scored families played end to end in a session: poker squares, cribbage patience and square.
#include <algorithm>
#include <array>

#include "engine/families/cribbage_table.h"
#include "engine/families/poker_hands.h"
#include "engine/family.h"
#include "engine/score.h"
#include "engine/tutor.h"
#include "family_support.h"
#include "session_fixture.h"

namespace cw::test {
namespace {

constexpr int kPokerSquares = 700;
constexpr int kPokerSquaresOpen = 701;

class ScoredFamilies : public SessionTest {
protected:
    int countCalls(const std::string& prefix) const
    {
        return static_cast<int>(std::count_if(host.calls.begin(), host.calls.end(),
                                              [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
    }
    std::array<int, kPokerGridCells> pokerGrid() const
    {
        std::array<int, kPokerGridCells> g{};
        for (int i = 0; i < kPokerGridCells; ++i)
            g[static_cast<std::size_t>(i)] = session->state().table.tableau(i).bottom();
        return g;
    }
    // Plays the game with the tutor's demo steps until it is over; the number of steps.
    int playDemo()
    {
        TutorRecord record;
        int steps = 0;
        while (session->flags().dealActive && steps < 500) {
            bool found = false;
            session->playStep([&](Play& play) { found = tutorStep(play, record, kTutorDemo).found(); });
            if (!found)
                break;
            ++steps;
        }
        return steps;
    }
};

// Cards placed row by row from the stock: each placement scores the lines it completes, the
// hands are announced, the full grid ends the game with the grid's score.
TEST_F(ScoredFamilies, PokerSquaresPlacedInOrderEndWhenTheGridIsFull)
{
    start(kPokerSquares);
    int announced = 0;
    for (int cell = 0; cell < kPokerGridCells; ++cell) {
        ASSERT_TRUE(session->stockClick()) << cell;
        // One card at a time: the next is turned only once this one is placed.
        EXPECT_FALSE(session->stockClick()) << cell;
        const Table& t = session->state().table;
        const auto before = pokerGrid();
        const int previous = session->state().score;
        ASSERT_TRUE(session->playMove(
            Move{MoveKind::Transfer, PileRef::waste(), static_cast<int>(t.waste().size()) - 1, PileRef::tableau(cell)}))
            << cell;
        auto after = before;
        after[static_cast<std::size_t>(cell)] = session->state().table.tableau(cell).bottom();
        const auto hands = announcePlacement(after, cell, previous);
        announced += static_cast<int>(hands.size());
        EXPECT_EQ(session->state().score, scorePokerGrid(after).total) << cell;
        if (cell + 1 < kPokerGridCells) {
            EXPECT_TRUE(session->flags().dealActive) << cell;
        }
    }
    EXPECT_FALSE(session->flags().dealActive);
    ASSERT_EQ(sink.records.size(), 1U);
    const int total = scorePokerGrid(pokerGrid()).total;
    EXPECT_EQ(sink.records[0].score, total);
    EXPECT_EQ(sink.records[0].won, total >= 100);
    // Every announced hand highlights its five cards and takes them back.
    EXPECT_EQ(countCalls("highlight:"), 5 * announced);
    EXPECT_EQ(countCalls("unhighlight:"), 5 * announced);
    const auto last = std::find_if(host.calls.rbegin(), host.calls.rend(),
                                   [](const std::string& c) { return c.rfind("announce:", 0) == 0; });
    ASSERT_NE(last, host.calls.rend());
    EXPECT_NE(last->find("Total: " + std::to_string(total) + " points"), std::string::npos) << *last;
}

// The demo places every card by the hint and clicks the stock when no card waits; both games of
// the family play to the end.
TEST_F(ScoredFamilies, PokerSquaresDemoPlaysToTheEnd)
{
    for (int id : {kPokerSquares, kPokerSquaresOpen}) {
        start(id);
        EXPECT_EQ(playDemo(), 2 * kPokerGridCells) << id;
        EXPECT_FALSE(session->flags().dealActive) << id;
        ASSERT_FALSE(sink.records.empty());
        EXPECT_EQ(sink.records.back().score, scorePokerGrid(pokerGrid()).total) << id;
    }
}

// Undo takes a placement back with its points.
TEST_F(ScoredFamilies, PokerSquaresUndoTakesThePointsBack)
{
    start(kPokerSquares);
    // Five cards of a row: the row is complete after the fifth.
    for (int cell = 0; cell < 5; ++cell) {
        ASSERT_TRUE(session->stockClick());
        const Table& t = session->state().table;
        ASSERT_TRUE(session->playMove(Move{MoveKind::Transfer, PileRef::waste(), static_cast<int>(t.waste().size()) - 1,
                                           PileRef::tableau(cell)}));
    }
    const int withRow = session->state().score;
    EXPECT_EQ(withRow, scorePokerGrid(pokerGrid()).total);
    ASSERT_TRUE(session->undo());
    EXPECT_EQ(session->state().score, 0);
    EXPECT_TRUE(session->state().table.tableau(4).empty());
}

constexpr int kCribbagePatience = 702;
constexpr int kCribbageSquare = 703;

// The info panel's "Deals remaining:" text of the current position.
std::string dealsRemaining(const Session& s)
{
    for (const FamilyPanel& p : s.rules().family().panels(s.rules(), s.state()))
        if (p.name == "CribbageInfo")
            for (const auto& [caption, value] : p.lines)
                if (caption == "Deals remaining:")
                    return value;
    return "?";
}

bool hasPanel(const Session& s, const std::string& name)
{
    for (const FamilyPanel& p : s.rules().family().panels(s.rules(), s.state()))
        if (p.name == name)
            return true;
    return false;
}

// One fixed deal of cribbage patience: six hands with crib and starter, a seventh of four cards;
// every hand adds its points, the deals remaining count down, undo takes a hand's scoring back
// with the lay-away move that started it.
TEST_F(ScoredFamilies, CribbagePatienceSevenHands)
{
    start(kCribbagePatience);
    int expected = 0;
    std::vector<std::string> remaining;
    for (int hand = 0; hand < 6; ++hand) {
        remaining.push_back(dealsRemaining(*session));
        const Table& t = session->state().table;
        ASSERT_EQ(t.tableau(kHandPile1 + 5).cardCount(), 1) << hand;
        EXPECT_FALSE(hasPanel(*session, "CribbageScore"));
        // Lay away the last two cards of the hand.
        ASSERT_TRUE(session->playMove(
            Move{MoveKind::Transfer, PileRef::tableau(kLastHandPile - 1), 0, PileRef::tableau(kLayAwayPile1)}));
        const Table beforeSecond = session->state().table;
        const int scoreBefore = session->state().score;
        ASSERT_TRUE(session->playMove(
            Move{MoveKind::Transfer, PileRef::tableau(kLastHandPile), 0, PileRef::tableau(kLayAwayPile1 + 1)}));
        const CribbageTableScore scored = scoreCribbageTable(session->state().table);
        ASSERT_TRUE(scored.scored) << hand;
        EXPECT_FALSE(scored.lastHand);
        EXPECT_TRUE(session->state().table.isFaceUp(session->state().table.tableau(kCribPile1).top()));
        for (int p = kHandPile1; p < kHandPile1 + 4; ++p)
            EXPECT_EQ(session->state().table.tableau(p).cardCount(), 1) << hand << " " << p;
        expected += scored.current();
        EXPECT_EQ(session->state().score, expected) << hand;
        EXPECT_TRUE(hasPanel(*session, "CribbageScore"));
        if (hand == 0) {
            // One undo takes back the lay-away card with the scoring it started.
            ASSERT_TRUE(session->undo());
            EXPECT_EQ(session->state().table, beforeSecond);
            EXPECT_EQ(session->state().score, scoreBefore);
            ASSERT_TRUE(session->redo());
            EXPECT_EQ(session->state().score, expected);
        }
        ASSERT_TRUE(session->stockClick()) << hand;
        // (The click after the sixth hand deals the last one, which is scored at once.)
        if (hand < 5) {
            EXPECT_EQ(session->state().score, expected) << hand;
        }
        EXPECT_TRUE(session->state().table.tableau(kStarterPile).empty());
    }
    // The seventh hand: the last four cards, scored as dealt, and the game is over.
    remaining.push_back(dealsRemaining(*session));
    EXPECT_EQ(remaining, (std::vector<std::string>{"6", "5", "4", "3", "2", "1", "0"}));
    const CribbageTableScore last = scoreCribbageTable(session->state().table);
    EXPECT_TRUE(last.lastHand);
    expected += last.current();
    EXPECT_FALSE(session->flags().dealActive);
    ASSERT_EQ(sink.records.size(), 1U);
    EXPECT_EQ(sink.records[0].score, expected);
    EXPECT_EQ(sink.records[0].won, expected >= 81);
    EXPECT_EQ(session->state().table.secondWaste().cardCount(), 52 - 4);
}

// A stock click with nothing laid away changes nothing; with one card laid away the unfinished
// hand is cleared unscored.
TEST_F(ScoredFamilies, CribbagePatienceStockClickBeforeTheHandIsScored)
{
    start(kCribbagePatience);
    EXPECT_FALSE(session->stockClick());
    ASSERT_TRUE(session->playMove(
        Move{MoveKind::Transfer, PileRef::tableau(kLastHandPile), 0, PileRef::tableau(kLayAwayPile1)}));
    ASSERT_TRUE(session->stockClick());
    EXPECT_EQ(session->state().score, 0);
    EXPECT_EQ(session->state().table.secondWaste().cardCount(), 8);
    EXPECT_EQ(dealsRemaining(*session), "5");
}

// A table that cannot arise in play (a starter cut while nothing is laid away) is scored as it
// lies, the crib's missing cards counting as none.
TEST_F(ScoredFamilies, CribbagePatienceScoresAnImpossibleTableAsItLies)
{
    start(kCribbagePatience);
    Table t = tableFrom({{"Fila1", {"5h"}, {"5h"}},
                         {"Fila2", {"5d"}, {"5d"}},
                         {"Fila5", {"5c"}},
                         {"Fila6", {"Jh"}},
                         {"Fila7", {"2s"}},
                         {"Fila8", {"3s"}},
                         {"Fila11", {"Th"}},
                         {"Mazzo", {"Ks"}}});
    session->mutableState().table = t;
    GameState state = session->state();
    const ScoreInput in{session->rules(), state};
    const int score = recomputeScore(in);
    EXPECT_EQ(score, scoreCribbageTable(t).current());
    EXPECT_GT(score, 0);
    EXPECT_EQ(session->rules().family().panels(session->rules(), state).size(), 2U);
}

// Cribbage square: sixteen cards placed in order, then the starter turned up, the eight hands
// scored, the score window shown before the game is recorded and the totals beside the square.
TEST_F(ScoredFamilies, CribbageSquareScoredWhenFull)
{
    start(kCribbageSquare);
    for (int cell = 0; cell < 16; ++cell) {
        ASSERT_TRUE(session->stockClick()) << cell;
        const Table& t = session->state().table;
        ASSERT_TRUE(session->playMove(
            Move{MoveKind::Transfer, PileRef::waste(), static_cast<int>(t.waste().size()) - 1, PileRef::tableau(cell)}))
            << cell;
        if (cell < 15) {
            EXPECT_EQ(session->state().score, 0);
        }
    }
    EXPECT_FALSE(session->flags().dealActive);
    const std::optional<CribbageSquareScore> s = scoreCribbageSquareTable(session->state().table);
    ASSERT_TRUE(s.has_value());
    ASSERT_EQ(sink.records.size(), 1U);
    EXPECT_EQ(sink.records[0].score, s->total());
    const auto panel = std::find(host.calls.begin(), host.calls.end(), "panel:CribbageSquareScore");
    const auto record = std::find(host.calls.begin(), host.calls.end(), "record");
    EXPECT_LT(panel, record);
    const auto panels = session->rules().family().panels(session->rules(), session->state());
    ASSERT_EQ(panels.size(), 1U);
    ASSERT_EQ(panels[0].grid.size(), 7U);
    EXPECT_EQ(panels[0].grid.back().back(), std::to_string(s->total()));
    PileMarks marks;
    session->rules().family().pileMarks(session->rules(), session->state(), marks);
    EXPECT_EQ(marks.size(), 8U);
}

// The demo plays both cribbage games to the end.
TEST_F(ScoredFamilies, CribbageDemoPlaysToTheEnd)
{
    for (int id : {kCribbagePatience, kCribbageSquare}) {
        start(id);
        playDemo();
        EXPECT_FALSE(session->flags().dealActive) << id;
    }
    EXPECT_EQ(sink.records.size(), 2U);
}

} // namespace
} // namespace cw::test
