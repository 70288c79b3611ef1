// Hi-score tables: default entries, insertion with ties, clearing, blanking and the upgrade of old files.
#include <gtest/gtest.h>

#include "stats/hi_scores.h"
#include "stats/overall_score.h"
#include "stats/section_reader.h"
#include "stats/stat_files.h"
#include "storage/keyed_file.h"
#include "stats_fixture.h"

namespace cw::stats::test {
namespace {

std::vector<std::int64_t> seq(std::initializer_list<std::int64_t> v) { return v; }

TEST(DefaultHiScores, ScoresFollowTheDeckSize) {
    struct Case {
        int p52, p378;
        std::vector<std::int64_t> scores;
    };
    const Case cases[] = {
        {-1, 52, seq({52, 49, 46, 43, 40, 37, 34, 31, 28, 25, 22, 19, 16, 14, 12, 10, 8, 6, 4, 2})},
        {-1, 104, seq({104, 98, 92, 86, 80, 74, 68, 62, 56, 50, 44, 38, 32, 27, 22, 17, 12, 7, 2, 1})},
        {52, 104, seq({26, 24, 22, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2, 1, 1, 1, 1, 1, 1, 1})},
        {120, 52, seq({52, 49, 46, 43, 40, 37, 34, 31, 28, 25, 22, 19, 16, 14, 12, 10, 8, 6, 4, 2})},
    };
    for (const Case& c : cases) EXPECT_EQ(defaultGameScores(c.p52, c.p378), c.scores) << c.p52 << "/" << c.p378;
    EXPECT_EQ(defaultSeriesScores(3)[0], 156);
    EXPECT_EQ(defaultSeriesScores(9)[12], 468 - 12 * 20);
    EXPECT_EQ(defaultSeriesScores(9)[19], 468 - 12 * 20 - 7 * 5);
    EXPECT_EQ(defaultSeriesScores(3)[19], 1);
}

TEST(DefaultHiScores, EntriesHaveTheFixedLayout) {
    auto entries = defaultHiScoreEntries(HiScoreTable::Games, defaultGameScores(-1, 52), at(2024, 3, 5, 8, 9, 10), ':');
    ASSERT_EQ(entries.size(), 20u);
    EXPECT_EQ(entries[0].substr(0, 32), "000052 000260 20240305 08:09:10 ");
    EXPECT_EQ(entries[0].substr(32, 2), "* ");
    EXPECT_EQ(entries[0].substr(62), " 000000000000000 Won  x");
    for (const auto& e : entries) EXPECT_EQ(e.size(), kHiScoreEntryLength);
    EXPECT_NE(defaultHiScoreNames(HiScoreTable::Games)[0], defaultHiScoreNames(HiScoreTable::Series)[0]);
}

class HiScoreTest : public StatsTest {
protected:
    HiScoreEntry entry(std::int64_t score, std::int64_t secs, const std::string& player = "Ann") {
        HiScoreEntry e;
        e.score = score;
        e.seconds = secs;
        e.when = at(2024, 6, 1);
        e.player = player;
        e.numberField = "42";
        return e;
    }
    HiScoreInsertion insert(int game, std::int64_t score, std::int64_t secs, const std::string& player = "Ann") {
        return insertHiScore(ctx, HiScoreTable::Games, game, entry(score, secs, player), "01", defaults);
    }
    std::vector<std::string> table(int game) {
        return readHiScores(ctx, HiScoreTable::Games, game, "01", defaults, at(2024, 6, 1));
    }
    DefaultScores defaults = [] { return defaultGameScores(-1, 52); };
};

TEST_F(HiScoreTest, ReadingAFreshTableWritesTheDefaults) {
    auto t = table(1);
    EXPECT_EQ(entryScore(t[0]), 52);
    EXPECT_EQ(entryScore(t[19]), 2);
    auto pairs = readSectionPairs(ctx.path(kHiScoreFile), "0001");
    ASSERT_TRUE(pairs);
    EXPECT_EQ(pairs->size(), 20u);
    EXPECT_EQ((*pairs)[0].first, "01-01");
}

TEST_F(HiScoreTest, TiesRankByTime) {
    table(1);  // defaults: rank 3 is 46 points in 230 seconds
    struct Case {
        std::int64_t score, secs;
        int rank;
    };
    const Case cases[] = {{46, 229, 2}, {46, 230, 3}, {46, 231, 3}, {1000, 1, 0}, {2, 9, 19}};
    for (const Case& c : cases) {
        dir.write("Stat_scr.dat", "[Version]\r\nVersion=0300\r\n");  // fresh defaults each time
        EXPECT_EQ(insert(1, c.score, c.secs).rank, c.rank) << c.score << "/" << c.secs;
        EXPECT_EQ(entryPlayer(table(1)[std::size_t(c.rank)]), "Ann");
    }
}

TEST_F(HiScoreTest, AScoreBelowTheTableWritesNothing) {
    table(1);
    std::string before = read("Stat_scr.dat");
    auto r = insert(1, 1, 5);
    EXPECT_EQ(r.rank, -1);
    EXPECT_FALSE(r.written);
    EXPECT_EQ(read("Stat_scr.dat"), before);
}

TEST_F(HiScoreTest, AfterClearingEverythingTablesStartEmpty) {
    insert(1, 30, 100);
    clearHiScores(ctx, HiScoreTable::Games, -1, "", "01");
    EXPECT_TRUE(readOverallRanking(ctx).entries.empty());  // the overall score values went too
    EXPECT_TRUE(isEmptyEntry(table(2)[0]));
    EXPECT_EQ(insert(2, 3, 100).rank, 0);
    EXPECT_TRUE(isEmptyEntry(table(2)[1]));
}

TEST_F(HiScoreTest, ClearingOnePlayerMovesTheOthersUp) {
    insert(1, 100, 10, "Ann");
    insert(1, 90, 10, "Bob");
    insert(1, 80, 10, "Ann");
    insert(3, 70, 10, "Ann");
    EXPECT_TRUE(updateOverallScore(ctx, 3, "Bob", 5, 5, false));
    clearHiScores(ctx, HiScoreTable::Games, -1, "Ann", "01");  // all games, one player
    auto t = table(1);
    EXPECT_EQ(entryPlayer(t[0]), "Bob");
    EXPECT_EQ(entryScore(t[1]), 52);
    EXPECT_TRUE(isEmptyEntry(t[18]));
    EXPECT_EQ(entryScore(table(3)[0]), 52);
    // Ann's results left the overall score; Bob's stay.
    auto ranking = readOverallRanking(ctx);
    ASSERT_EQ(ranking.entries.size(), 1u);
    EXPECT_EQ(ranking.entries[0].player, "Bob");

    clearHiScores(ctx, HiScoreTable::Games, 1, "", "01");  // one game, all players
    auto pairs = readSectionPairs(ctx.path(kHiScoreFile), "0001");
    ASSERT_TRUE(pairs);
    for (const auto& [k, v] : *pairs) EXPECT_EQ(v, emptyHiScoreEntry());
    EXPECT_EQ(entryScore(table(3)[0]), 52);
}

TEST_F(HiScoreTest, OtherScoringSystemsOfTheSameGameAreKept) {
    insertHiScore(ctx, HiScoreTable::Games, 1, entry(60, 1), "02", defaults);
    insert(1, 61, 1);
    EXPECT_EQ(entryScore(readHiScores(ctx, HiScoreTable::Games, 1, "02", defaults)[0]), 60);
    EXPECT_EQ(entryScore(table(1)[0]), 61);
}

TEST_F(HiScoreTest, DisabledStatisticsGenerateAndWriteNothing) {
    ctx.statisticsDisabled = true;
    EXPECT_EQ(insert(1, 100, 1).rank, -1);
    EXPECT_TRUE(isEmptyEntry(table(1)[0]));
    EXPECT_FALSE(readSectionPairs(ctx.path(kHiScoreFile), "0001"));
}

TEST_F(HiScoreTest, BlankedTableHoldsTwentyEmptyEntries) {
    insert(8001, 100, 1);
    blankHiScores(ctx, 8001, "01");
    auto pairs = readSectionPairs(ctx.path(kHiScoreFile), "8001");
    ASSERT_TRUE(pairs);
    for (const auto& [k, v] : *pairs) EXPECT_EQ(v, emptyHiScoreEntry());
}

TEST_F(HiScoreTest, UnreadableEntriesRankWithThePreviousValues) {
    std::string e1 = formatHiScoreEntry(entry(50, 10), ':');
    std::string bad = "xx" + e1.substr(2);
    std::string e3 = formatHiScoreEntry(entry(40, 10), ':');
    dir.write("Stat_scr.dat", "[Version]\r\nVersion=0300\r\n\r\n[0001]\r\n01-01=" + e1 + "\r\n01-02=" + bad +
                                  "\r\n01-03=" + e3 + "\r\n");
    EXPECT_EQ(insert(1, 50, 10).rank, 2);  // the bad entry counts as 50 in 10 seconds
}

TEST_F(HiScoreTest, UpgradeAddsTheEndMarkAndKeepsEverySection) {
    std::string old83 = formatHiScoreEntry(entry(77, 12), ':').substr(0, 83);
    dir.write("Stat_scr.dat", "[Version]\r\nVersion=0200\r\n\r\n[0001]\r\n01-01=" + old83 +
                                  "\r\n\r\n[0002]\r\n01-01=" + old83 + "\r\n");
    EXPECT_TRUE(upgradeHiScoreFile(ctx));
    EXPECT_EQ(storage::readKeyedValue(ctx.path(kHiScoreFile), "Version", "Version", "").value, "0300");
    for (const char* s : {"0001", "0002"}) {
        auto v = storage::readKeyedValue(ctx.path(kHiScoreFile), s, "01-01", "").value;
        EXPECT_EQ(v, old83 + " x") << s;
    }
    storage::IniFile cfg(dir.file("Cfg.dat"));
    cfg.writeString("Preference", "Cards_Animate", "S");
    cfg.writeString("Preference", "ConfirmQuit", "N");
    EXPECT_FALSE(upgradeHiScoreFile(ctx, &cfg));  // the file once only; the settings every time
    EXPECT_EQ(cfg.readString("Preference", "Cards_Animate", ""), "Y");
    EXPECT_EQ(cfg.readString("Preference", "ConfirmQuit", ""), "N");
}

TEST(HiScoreRows, GridTexts) {
    HiScoreEntry e;
    e.score = 120;
    e.seconds = 3723;
    e.when = at(2024, 1, 2);
    e.player = "Ann";
    e.numberField = "123";
    std::vector<std::string> entries = {formatHiScoreEntry(e, ':'), emptyHiScoreEntry()};
    auto rows = hiScoreRows(entries, ':');
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].rank, "01");
    EXPECT_EQ(rows[0].score, "120");
    EXPECT_EQ(rows[0].time, "1:02:03");
    EXPECT_EQ(rows[0].date, "20240102");
    EXPECT_EQ(rows[0].result, "Won ");
    EXPECT_EQ(storage::rtrim(rows[0].player), "Ann");
    EXPECT_EQ(rows[1].rank, "02");
    EXPECT_EQ(rows[1].score, "");
    EXPECT_EQ(rows[1].time, "");
    EXPECT_EQ(newHiScoreCaption(HiScoreTable::Games, "Klondike  "),
              "Congratulations! Your score has made the \"Klondike\" Hi-Scores list!");
}

}  // namespace
}  // namespace cw::stats::test
