// Stat.dat records, streaks, session counters and the won percentage.
#include <gtest/gtest.h>

#include "stats/game_stats.h"
#include "stats/stat_files.h"
#include "stats_fixture.h"

namespace cw::stats::test {
namespace {

TEST_F(StatsTest, FirstGameEverCreatesTheFileAndTheRecord) {
    ensureStatisticsFiles(ctx, "Player");
    updateGameStatistics(ctx, 1, "Player", true, 12);
    EXPECT_EQ(read("Stat.dat"),
              "[Version]\r\nVersion=0300\r\n\r\n[0001]\r\n"
              "Player=000001 000000 000001 000000 000001 000000 000000000012 000000000000\r\n");
}

TEST_F(StatsTest, StreaksFollowTheSequenceOfResults) {
    struct Case {
        const char* results;  // W won, L lost
        GameRecord expected;  // won, lost, longest W, longest L, current W, current L, total
    };
    const Case cases[] = {
        {"WWWL", {3, 1, 3, 1, 0, 1, 0}},
        {"LLWWWLL", {3, 4, 3, 2, 0, 2, 0}},
        {"WLWLWW", {4, 2, 2, 1, 2, 0, 0}},
        {"LLLLW", {1, 4, 1, 4, 1, 0, 0}},
    };
    int game = 10;
    for (const Case& c : cases) {
        GameRecord last;
        for (const char* r = c.results; *r; ++r) last = updateGameStatistics(ctx, game, "Player", *r == 'W', 0);
        EXPECT_EQ(last, c.expected) << c.results;
        EXPECT_EQ(readGameStatistics(ctx, game, "Player").record, c.expected) << c.results;
        ++game;
    }
}

TEST_F(StatsTest, NegativeScoresLowerTheTotalAndKeepTheRecordLength) {
    updateGameStatistics(ctx, 5, "Player", false, 10);
    updateGameStatistics(ctx, 5, "Player", false, -22);
    auto v = storage::readKeyedValue(ctx.path(kStatFile), "0005", "Player", "");
    EXPECT_EQ(v.value.size(), kGameRecordLength);
    EXPECT_EQ(v.value.substr(42, 12), "-00000000012");
    EXPECT_EQ(readGameStatistics(ctx, 5, "Player").record.totalScore, -12);
}

TEST_F(StatsTest, SessionCountersOnlyForTheCurrentGameAndPlayer) {
    setCurrent(7, "Ann");
    updateGameStatistics(ctx, 7, "Ann", true, 0);
    updateGameStatistics(ctx, 7, "Ann", true, 0);
    updateGameStatistics(ctx, 7, "Ann", false, 0);
    EXPECT_EQ(settings.get(storage::col::SessionWon), "0002");
    EXPECT_EQ(settings.get(storage::col::SessionLost), "0001");
    auto s = readGameStatistics(ctx, 7, "Ann");
    EXPECT_EQ(s.sessionWon, 2);
    EXPECT_EQ(s.sessionLost, 1);
    EXPECT_EQ(readGameStatistics(ctx, 7, "  Ann").sessionWon, 2);  // leading blanks of the name ignored
    EXPECT_EQ(readGameStatistics(ctx, 8, "Ann").sessionWon, 0);
    EXPECT_EQ(readGameStatistics(ctx, 7, "Bob").sessionWon, 0);
    resetSessionCounters(settings);
    EXPECT_EQ(settings.get(storage::col::SessionWon), "0000");
    EXPECT_EQ(readGameStatistics(ctx, 7, "Ann").record.won, 2);
}

TEST_F(StatsTest, ADamagedFieldCountsAsZeroFromThereOnAndTheNextUpdateRepairsIt) {
    dir.write("Stat.dat", "[Version]\r\nVersion=0300\r\n\r\n[0003]\r\n"
                          "Player=000004 0000x2 000009 000000 000001 000000 000000000012 000000000000\r\n");
    EXPECT_EQ(readGameStatistics(ctx, 3, "Player").record, (GameRecord{4, 0, 0, 0, 0, 0, 0}));
    updateGameStatistics(ctx, 3, "Player", true, 1);
    ASSERT_EQ(notices.texts.size(), 1u);
    EXPECT_NE(notices.texts[0].find("Stat.dat"), std::string::npos);
    updateGameStatistics(ctx, 4, "Player", true, 1);  // a missing record is no damage
    EXPECT_EQ(notices.texts.size(), 1u);
    EXPECT_EQ(storage::readKeyedValue(ctx.path(kStatFile), "0003", "Player", "").value,
              "000005 000000 000001 000000 000001 000000 000000000001 000000000000");
}

TEST_F(StatsTest, ScanOverAllGamesWithOneOpenFile) {
    for (int g = 1; g <= 30; ++g)
        for (int i = 0; i < g % 4; ++i) updateGameStatistics(ctx, g, "Player", i % 2 == 0, 1);
    storage::FileHandle h(ctx.path(kStatFile));
    std::int64_t total = 0;
    for (int g = 1; g <= 30; ++g) total += readGameStatistics(ctx, g, "Player", &h).record.won;
    EXPECT_EQ(total, 8 * 1 + 8 * 1 + 7 * 2);  // g%4 = 1: one win, 2: one win, 3: two wins
}

TEST(WonPercentage, RoundsToOneDecimal) {
    struct Case {
        int won, lost;
        double pct;
        const char* text;
    };
    const Case cases[] = {{0, 0, 0, "(0%)"}, {1, 1, 50, "(50%)"}, {2, 1, 66.7, "(66.7%)"},
                          {1, 2, 33.3, "(33.3%)"}, {1, 0, 100, "(100%)"}, {1, 7, 12.5, "(12.5%)"}};
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(wonPercentage(c.won, c.lost), c.pct);
        EXPECT_EQ(percentageText(wonPercentage(c.won, c.lost)), c.text);
    }
}

TEST_F(StatsTest, GameWonSummaryHasNoValuesBeforeTheFirstGame) {
    auto g = gameWonSummary(ctx, 4, "Klondike", "Player");
    EXPECT_FALSE(g.hasValues);
    EXPECT_EQ(g.caption, "Total [Klondike]");
    updateGameStatistics(ctx, 4, "Player", true, 0);
    updateGameStatistics(ctx, 4, "Player", true, 0);
    updateGameStatistics(ctx, 4, "Player", false, 0);
    g = gameWonSummary(ctx, 4, "Klondike", "Player");
    EXPECT_EQ(g.total, 3);
    EXPECT_EQ(g.wonText, "(66.7%)");
    EXPECT_EQ(g.lostText, "(33.3%)");
}

}  // namespace
}  // namespace cw::stats::test
