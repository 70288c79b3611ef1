// The values of the "Game information" dialog and the limits of the log dialog.
#include <gtest/gtest.h>

#include "stats/dialog_values.h"
#include "stats/game_stats.h"
#include "stats_fixture.h"

namespace cw::stats::test {
namespace {

TEST_F(StatsTest, GameInformationValues) {
    updateGameStatistics(ctx, 2, "Ann", true, 0);
    updateGameStatistics(ctx, 2, "Ann", true, 0);
    updateGameStatistics(ctx, 2, "Ann", false, 0);
    updateGameStatistics(ctx, 2, "Bob", false, 0);
    HiScoreEntry e{60, 3725, at(2024, 2, 3), "Ann", "9", true};
    DefaultScores defaults = [] { return defaultGameScores(-1, 52); };
    insertHiScore(ctx, HiScoreTable::Games, 2, e, "01", defaults);
    auto info = gameInformation(ctx, 2, "Spider", "Ann", {"Ann", "Bob", "Cid"}, "01", defaults, 1, 3);
    EXPECT_EQ(info.current.total, 3);
    EXPECT_EQ(info.current.wonPercent, "(67%)");
    EXPECT_EQ(info.current.lostPercent, "(33%)");
    EXPECT_EQ(info.current.bestScore, "60");
    EXPECT_EQ(info.current.bestTime, "1:02:05");
    EXPECT_EQ(info.current.bestDate, "20240203");
    EXPECT_EQ(info.global.total, 4);
    EXPECT_EQ(info.global.wonPercent, "(50%)");
    EXPECT_EQ(info.global.bestPlayer, "Ann");
    EXPECT_EQ(info.chance, "about 1 in 3");
    // Undecided deals are named once they pass one in twenty of the sample.
    EXPECT_EQ(gameInformation(ctx, 2, "Spider", "Ann", {"Ann"}, "01", defaults, 150, 200, 10).chance, "about 150 in 200");
    EXPECT_EQ(gameInformation(ctx, 2, "Spider", "Ann", {"Ann"}, "01", defaults, 150, 200, 11).chance,
              "about 150 in 200 (11 undecided)");
    auto none = gameInformation(ctx, 5, "Other", "Cid", {"Cid"}, "01", defaults, 0, 3);
    EXPECT_EQ(none.current.wonPercent, "");
    EXPECT_EQ(none.current.bestScore, "");
    EXPECT_EQ(none.global.bestPlayer.substr(0, 2), "* ");  // the table's defaults
    EXPECT_EQ(none.chance, "");
}

TEST(LogDialog, Limits) {
    EXPECT_EQ(initialRecordsToKeep(120), 120);
    EXPECT_EQ(initialRecordsToKeep(9000), 5000);
    struct Case {
        std::int64_t keep, count;
        bool ok;
    };
    const Case cases[] = {{0, 10, false}, {1, 10, true}, {9, 10, true}, {10, 10, false}, {1, 1, false}};
    for (const Case& c : cases) EXPECT_EQ(canTrimLog(c.keep, c.count), c.ok) << c.keep << "/" << c.count;
    EXPECT_EQ(clearStatisticsQuestion("[All players]", "Klondike", false),
              "Are you sure you want to clear the statistics for player: [All players]\rfor game: Klondike?");
}

}  // namespace
}  // namespace cw::stats::test
