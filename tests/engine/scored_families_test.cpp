// The scored families played end to end in a session: poker squares, cribbage patience and square.
#include <algorithm>
#include <array>

#include "engine/families/poker_hands.h"
#include "engine/tutor.h"
#include "session_fixture.h"

namespace cw::test {
namespace {

constexpr int kPokerSquares = 420;
constexpr int kPokerSquaresOpen = 421;

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

} // namespace
} // namespace cw::test
