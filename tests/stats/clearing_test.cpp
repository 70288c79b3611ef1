// Clearing statistics in every scope and renaming a player in every file.
#include <gtest/gtest.h>

#include "stats/clearing.h"
#include "stats/game_end.h"
#include "stats/game_log.h"
#include "stats/game_stats.h"
#include "stats/hi_scores.h"
#include "stats/overall_score.h"
#include "stats/progression.h"
#include "stats/section_reader.h"
#include "stats/stat_files.h"
#include "stats_fixture.h"
#include "storage/fixed_width.h"

namespace cw::stats::test {
namespace {

class ClearingTest : public StatsTest {
protected:
    ClearingTest() : catalog({{1, "Klondike", -1, 52}, {2, "Spider", -1, 104}, {8000, "Mine", -1, 52}}) {}

    void play(int game, const std::string& player, bool won, int score = 10) {
        setCurrent(game, player);
        FinishedGame g;
        g.gameId = game;
        g.gameName = catalog.game(game)->name;
        g.gameNumber = "77";
        g.player = player;
        g.won = won;
        g.score = score;
        g.playingSeconds = 60;
        g.end = at(2024, 5, 6);
        g.randomNumberDeal = true;
        GameEndRecorder(ctx, catalog).record(g);
    }
    void playSet() {
        for (const char* p : {"Ann", "Anna", "Bob"})
            for (int g : {1, 2}) {
                play(g, p, true);
                play(g, p, false);
            }
    }
    std::int64_t played(int game, const std::string& p) {
        auto r = readGameStatistics(ctx, game, p).record;
        return r.won + r.lost;
    }
    std::size_t logLines(const std::string& p, int game = -1) {
        std::size_t n = 0;
        for (const auto& r : readGameLog(ctx)) n += r.player == p && (game < 0 || r.gameId == game);
        return n;
    }
    std::int64_t single(int game, const std::string& p) {
        auto v = readSingleGameValues(ctx, game, p);
        return v.won + v.lost;
    }

    FixedCatalog catalog;
};

TEST_F(ClearingTest, EachScopeClearsExactlyItsRecords) {
    struct Case {
        int game;
        const char* player;
        // After clearing: games played / log lines / single values of (Ann, 1), (Ann, 2), (Bob, 1).
        std::int64_t ann1, ann2, bob1;
    };
    const Case cases[] = {
        {1, "Ann", 0, 2, 2},
        {kAllGames, "Ann", 0, 0, 2},
        {1, "", 0, 2, 0},
        {kAllGames, "", 0, 0, 0},
    };
    for (const Case& c : cases) {
        for (const char* f : {"Stat.dat", "Stat_log.dat", "Stat_uni.dat", "STAT_GLO.DAT", "Stat_scr.dat"})
            std::remove(dir.file(f).c_str());
        playSet();
        clearStatistics(ctx, c.game, c.player);
        SCOPED_TRACE(std::to_string(c.game) + "/" + c.player);
        EXPECT_EQ(played(1, "Ann"), c.ann1);
        EXPECT_EQ(played(2, "Ann"), c.ann2);
        EXPECT_EQ(played(1, "Bob"), c.bob1);
        EXPECT_EQ(std::int64_t(logLines("Ann", 1)), c.ann1);
        EXPECT_EQ(std::int64_t(logLines("Ann", 2)), c.ann2);
        EXPECT_EQ(std::int64_t(logLines("Bob", 1)), c.bob1);
        EXPECT_EQ(single(1, "Ann"), c.ann1);
        EXPECT_EQ(single(2, "Ann"), c.ann2);
        EXPECT_EQ(single(1, "Bob"), c.bob1);
        EXPECT_EQ(played(1, "Anna"), std::string(c.player) == "Ann" ? 2 : c.bob1);  // Anna is not Ann
        EXPECT_TRUE(notices.texts.empty());
    }
}

TEST_F(ClearingTest, ClearingAllGamesForAPlayerAddsZeroRecordsEverywhere) {
    play(1, "Bob", true);
    play(2, "Bob", true);
    clearStatistics(ctx, kAllGames, "Ann");
    for (const char* s : {"0001", "0002"})
        EXPECT_EQ(storage::readKeyedValue(ctx.path(kStatFile), s, "Ann", "").value, kZeroGameRecord) << s;
    EXPECT_FALSE(storage::readKeyedValue(ctx.path(kStatFile), "Version", "Ann", "").found);
    EXPECT_EQ(played(1, "Bob"), 1);
}

TEST_F(ClearingTest, ClearAllValuesDeletesEveryRecord) {
    playSet();
    ASSERT_FALSE(readProgression(ctx, "Ann").empty());
    clearAllValues(ctx, {"Ann", "Anna", "Bob"});
    EXPECT_EQ(played(1, "Ann"), 0);
    EXPECT_FALSE(exists("Stat_log.dat"));
    EXPECT_FALSE(exists("Stat_prg_Ann.dat"));
    EXPECT_TRUE(readOverallRanking(ctx).entries.empty());
    EXPECT_TRUE(isEmptyEntry(readHiScores(ctx, HiScoreTable::Games, 1, "01", gameDefaultScores(catalog, 1))[0]));
}

TEST_F(ClearingTest, RenameReachesEveryFileAndLeavesLongerNamesAlone) {
    playSet();
    ensureStatisticsFiles(ctx, "Anna");
    const auto before = readOverallRanking(ctx);
    long lastProgress = -1;
    ASSERT_TRUE(renamePlayerInStatistics(ctx, "Ann", "Zoe", [&](long n) { lastProgress = n; }));
    EXPECT_GE(lastProgress, 0);
    EXPECT_EQ(played(1, "Zoe"), 2);
    EXPECT_EQ(played(1, "Ann"), 0);
    EXPECT_EQ(played(1, "Anna"), 2);
    EXPECT_EQ(logLines("Zoe"), 4u);
    EXPECT_EQ(logLines("Anna"), 4u);
    EXPECT_EQ(single(1, "Zoe"), 2);
    EXPECT_EQ(single(1, "Anna"), 2);
    EXPECT_EQ(readProgression(ctx, "Zoe").size(), 4u);
    EXPECT_FALSE(exists("Stat_prg_Ann.dat"));
    EXPECT_EQ(readProgression(ctx, "Anna").size(), 4u);
    auto t = readHiScores(ctx, HiScoreTable::Games, 1, "01", gameDefaultScores(catalog, 1));
    int zoe = 0, anna = 0;
    for (const auto& e : t) {
        zoe += entryPlayer(e) == "Zoe";
        anna += entryPlayer(e) == "Anna";
        EXPECT_NE(entryPlayer(e), "Ann");
    }
    EXPECT_GT(zoe, 0);
    EXPECT_GT(anna, 0);
    auto after = readOverallRanking(ctx);
    ASSERT_EQ(after.entries.size(), before.entries.size());
    int found = 0;
    for (const auto& e : after.entries) found += e.player == "Zoe";
    EXPECT_EQ(found, 1);
    EXPECT_TRUE(notices.texts.empty());
    EXPECT_FALSE(renamePlayerInStatistics(ctx, "Zoe", "../evil"));
}

// A player's name of 16 "É" (32 bytes) in a game whose name has accents too: every file finds the
// player's records at their columns, and renaming and clearing reach them.
TEST_F(ClearingTest, NamesWithAccentsKeepTheirColumns) {
    std::string name;
    for (int i = 0; i < 16; ++i) name += "\u00c9";
    const std::string gameName = "R\u00e9ussite \u00e0 l'\u00c9t\u00e9";
    FixedCatalog accented({{5, gameName, -1, 52}});
    setCurrent(5, name);
    EXPECT_EQ(ctx.currentPlayer(), name);
    for (bool won : {true, false}) {
        FinishedGame g;
        g.gameId = 5;
        g.gameName = gameName;
        g.gameNumber = "77";
        g.player = name;
        g.won = won;
        g.score = 60;  // first in the hi-scores
        g.end = at(2024, 5, 6);
        ASSERT_TRUE(GameEndRecorder(ctx, accented).record(g).recorded);
    }
    const auto log = readGameLog(ctx);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].player, name);
    EXPECT_EQ(log[0].gameName, gameName);
    EXPECT_TRUE(log[0].won);
    EXPECT_EQ(log[1].gameNumber, "77");
    forEachLogLine(ctx, [](std::string_view line) { EXPECT_EQ(storage::textLength(line), kLogRecordLength); });
    const std::string progression = read("Stat_prg_" + name + ".dat");
    ASSERT_TRUE(rebuildProgressionFile(ctx, name));
    EXPECT_EQ(read("Stat_prg_" + name + ".dat"), progression);
    EXPECT_EQ(entryPlayer(readHiScores(ctx, HiScoreTable::Games, 5, "01", gameDefaultScores(accented, 5))[0]), name);

    ASSERT_TRUE(renamePlayerInStatistics(ctx, name, "Zo\u00eb"));
    EXPECT_EQ(logLines("Zo\u00eb"), 2u);
    EXPECT_EQ(played(5, "Zo\u00eb"), 2);
    EXPECT_EQ(readProgression(ctx, "Zo\u00eb").size(), 2u);
    EXPECT_EQ(entryPlayer(readHiScores(ctx, HiScoreTable::Games, 5, "01", gameDefaultScores(accented, 5))[0]),
              "Zo\u00eb");
    clearStatistics(ctx, 5, "Zo\u00eb");
    EXPECT_EQ(logLines("Zo\u00eb"), 0u);
    EXPECT_EQ(played(5, "Zo\u00eb"), 0);
}

TEST_F(ClearingTest, RenamingOntoADeletedPlayersNameFindsTheOwnRecords) {
    play(1, "Bob", true);
    deletePlayerStatistics(ctx, "Bob");  // leaves zero records under "Bob"
    play(1, "Ann", true);
    ASSERT_TRUE(renamePlayerInStatistics(ctx, "Ann", "Bob"));
    EXPECT_EQ(played(1, "Bob"), 1);
    EXPECT_EQ(single(1, "Bob"), 1);
    EXPECT_TRUE(notices.texts.empty());
}

}  // namespace
}  // namespace cw::stats::test
