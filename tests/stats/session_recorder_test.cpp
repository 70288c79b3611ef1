// A running session recording its games' ends in the statistics files through the session recorder.
#include <gtest/gtest.h>

#include "catalog_stats_fixture.h"
#include "engine/card.h"
#include "engine/session.h"
#include "stats/game_log.h"
#include "stats/game_stats.h"
#include "stats/hi_scores.h"
#include "stats/overall_score.h"
#include "stats/progression.h"
#include "stats/session_recorder.h"

namespace cw::stats::test {
namespace {

using namespace cw::engine;
namespace col = storage::col;

class SessionRecorderTest : public CatalogStatsTest {
protected:
    void SetUp() override
    {
        if (!loadCatalog())
            GTEST_SKIP() << "no GAMES.DAT next to the binaries (build cw_data)";
        settings.set(col::ConfirmQuitGame, "N");
        session = std::make_unique<Session>(game, host, recorder.get(),
                                            sessionOptions([] { return std::string("0000000012345"); }));
        ASSERT_TRUE(session->startGame(0, "Player"));
    }

    void winKlondike()
    {
        Table t;
        for (int s = 0; s < 4; ++s)
            for (int r = 1; r <= 13; ++r)
                if (!(s == 0 && r == 13))
                    t.append(PileRef::foundation(s), cardCode(s, r), true);
        t.append(PileRef::tableau(0), cardCode(0, 13), true);
        session->mutableState().table = t;
        ASSERT_TRUE(session->playMove(Move{MoveKind::Transfer, PileRef::tableau(0), 0, PileRef::foundation(0)}));
        ASSERT_FALSE(session->flags().dealActive);
    }

    QuietHost host;
    std::unique_ptr<Session> session;
};

TEST_F(SessionRecorderTest, AWonGameReachesEveryRecord)
{
    nowMs += 200'000;
    winKlondike();
    EXPECT_TRUE(recorder->lastResult().recorded);
    EXPECT_TRUE(recorder->lastResult().errors.empty());

    const auto log = readGameLog(ctx);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_TRUE(log[0].won);
    EXPECT_EQ(log[0].seconds, 200);
    EXPECT_EQ(log[0].gameId, 0);
    EXPECT_EQ(log[0].player, "Player");
    EXPECT_EQ(log[0].date, "20261210");
    EXPECT_EQ(log[0].score, std::to_string(session->score()));
    EXPECT_EQ(readProgression(ctx, "Player"), (std::vector<ProgressionRecord>{{0, 26, 12, true}}));
    EXPECT_EQ(readGameStatistics(ctx, 0, "Player").record.totalScore, session->score());
    EXPECT_EQ(readSingleGameValues(ctx, 0, "Player").won, 1) << "a freshly drawn number counts";
    EXPECT_EQ(recorder->lastResult().hiScoreRank, 0);
    ASSERT_EQ(host.wins.size(), 1u);
    EXPECT_EQ(host.wins[0].hiScoreRank, 0);
    EXPECT_EQ(host.wins[0].hiScoreCaption, recorder->lastResult().hiScoreCaption);
    EXPECT_EQ(settings.get(col::SessionWon), "0001");
}

TEST_F(SessionRecorderTest, AbandonedAndIneligibleGames)
{
    // An abandoned game is a loss in the log and the statistics.
    ASSERT_TRUE(session->newGame());
    auto log = readGameLog(ctx);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_FALSE(log[0].won);
    EXPECT_EQ(settings.get(col::SessionLost), "0001");

    // A game the demo played does not count; disabled statistics record nothing either.
    session->mutableState().tutorMode = 3;
    session->stockClick();
    session->mutableState().tutorMode = 0;
    ASSERT_TRUE(session->newGame());
    game.preferences.disableStatistics = true;
    ASSERT_TRUE(session->newGame());
    EXPECT_EQ(readGameLog(ctx).size(), 1u);
    EXPECT_EQ(settings.get(col::SessionLost), "0001");
    EXPECT_FALSE(recorder->lastResult().recorded);
}

} // namespace
} // namespace cw::stats::test
