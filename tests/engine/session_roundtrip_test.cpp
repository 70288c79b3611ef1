// Round trips over the whole catalog through the session: random play, save and open, undo to the deal, undo and redo.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/random.h"
#include "session_fixture.h"

namespace cw::test {
namespace {

using SessionRoundTrip = SessionTest;

// What must survive a save and open, and an undo followed by a redo.
void expectSameGame(const GameState& a, const GameState& b, const std::string& what)
{
    EXPECT_EQ(a.table, b.table) << what;
    EXPECT_EQ(a.score, b.score) << what;
    EXPECT_EQ(a.dealNumber, b.dealNumber) << what;
    EXPECT_EQ(a.stockClicks, b.stockClicks) << what;
    EXPECT_EQ(a.drawUsed, b.drawUsed) << what;
}

TEST_F(SessionRoundTrip, EveryGameSavesOpensUndoesAndRedoes)
{
    host.recordRedraws = false;
    int games = 0, played = 0, roundTrips = 0;
    for (const catalog::GameEntry& entry : game.gameList.entries()) {
        if (!entry.usable)
            continue;
        SCOPED_TRACE(entry.name + " (" + std::to_string(entry.id) + ")");
        session->mutableFlags().dealActive = false;
        if (!session->startGame(entry.id, "Alice", NumberMode::Fresh)) {
            ADD_FAILURE() << "could not start";
            continue;
        }
        ++games;
        const Table dealt = session->state().table;
        Random rng(static_cast<std::uint32_t>(entry.id * 7919 + 17));
        for (int k = 0; k < 100 && session->flags().dealActive; ++k) {
            const std::vector<Move> moves = legalMoves();
            if (moves.empty())
                break;
            if (session->playMove(moves[static_cast<std::size_t>(rng.next(static_cast<int>(moves.size())))]))
                ++played;
        }
        if (!session->flags().dealActive)
            continue; // won by chance: nothing left to save
        if (session->rules().undoOff() == 1)
            continue; // no saving in games without undo
        host.calls.clear();
        ++roundTrips;

        // Save and open: the same table, score and undo depth.
        const GameState before = session->state();
        const int depth = session->undoDepth();
        const std::string path = dir.file("round.gam");
        ASSERT_TRUE(session->save(path));
        settings.set(col::ConfirmQuitGame, "N");
        ASSERT_TRUE(session->open(path)) << testing::PrintToString(host.calls);
        expectSameGame(session->state(), before, "after open");
        EXPECT_EQ(session->undoDepth(), depth);

        // Undo then redo any number of steps: the same state.
        const int steps = depth == 0 ? 0 : 1 + rng.next(depth);
        for (int k = 0; k < steps; ++k)
            ASSERT_TRUE(session->undo()) << k;
        for (int k = 0; k < steps; ++k)
            ASSERT_TRUE(session->redo()) << k;
        expectSameGame(session->state(), before, "after undo and redo");

        // Undo everything: the dealt table.
        int undone = 0;
        while (session->undo())
            ++undone;
        EXPECT_EQ(undone, depth);
        EXPECT_EQ(session->state().table, dealt);
        EXPECT_EQ(session->state().dealNumber, 1);
        if (HasFailure())
            return;
    }
    EXPECT_GT(played, games * 20) << "random play hardly moved";
    EXPECT_GE(games, 150);
    EXPECT_GE(roundTrips * 10, games * 9) << "most games were saved and opened";
}

} // namespace
} // namespace cw::test
