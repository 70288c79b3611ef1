// The figures of the statistics dialogs over small fixture files: pages Game, Total and List, the two
// summaries, the players' comparison, progression points, streaks and the log list.
#include <gtest/gtest.h>

#include "stats/dialog_figures.h"
#include "stats/game_log.h"
#include "stats/log_view.h"
#include "stats/progression_chart.h"
#include "stats_fixture.h"
#include "storage/fixed_width.h"

namespace cw::stats::test {
namespace {

// Klondike (chance 843 in 1000), FreeCell (999 in 1000), Yukon without a chance, a custom game.
const std::vector<CatalogGame> kBuiltIn = {
    {0, "Klondike", -1, 52, 843, 1000}, {1, "FreeCell", -1, 52, 999, 1000}, {3, "Yukon", -1, 52, 0, 0}};
const CatalogGame kCustom{8000, "My Klondike", -1, 52, 0, 0};

std::vector<CatalogGame> byName()
{
    return {kBuiltIn[1], kBuiltIn[0], kCustom, kBuiltIn[2]}; // FreeCell, Klondike, My Klondike, Yukon
}

TEST(DialogFigures, NumbersAsTheDialogsWriteThem)
{
    const std::pair<double, const char*> decimals[] = {
        {66.67, "66.7"}, {50, "50"}, {0, "0"}, {0.04, "0"}, {100, "100"}};
    for (auto [v, text] : decimals)
        EXPECT_EQ(decimalText(v), text) << v;
    EXPECT_EQ(lostPercentage(2, 1), 33.3);
    EXPECT_EQ(lostPercentage(0, 0), 0);
    EXPECT_EQ(chancePercentage(kBuiltIn[0]), 84.3);
    EXPECT_FALSE(chancePercentage(kBuiltIn[2]));
    EXPECT_FALSE(chancePercentage(kCustom));
    EXPECT_EQ(currentStreakText(3, 0), "Current: 3 Won");
    EXPECT_EQ(currentStreakText(0, 2), "Current: 2 Lost");
    EXPECT_EQ(currentStreakText(0, 0), "Current:");
}

TEST(DialogFigures, GamePage)
{
    GameRecord r{2, 1, 2, 1, 0, 1, 80};
    const auto f = gamePageFigures(r, kBuiltIn[0]);
    EXPECT_EQ(f.total, 3);
    EXPECT_EQ(f.wonLabel, "(66.7%)");
    EXPECT_EQ(f.lostLabel, "(33.3%)");
    EXPECT_TRUE(f.hasValues);
    EXPECT_EQ(f.chanceCaption, "Won:");
    EXPECT_EQ(f.chanceText, "About 843 in 1000");
    EXPECT_EQ(f.averageText, "84.3 %");
    EXPECT_EQ(f.yoursText, "66.7 %");
    EXPECT_FALSE(f.yoursBold);

    // Never played, and a game without a chance of winning.
    const auto none = gamePageFigures({}, kCustom);
    EXPECT_EQ(none.total, 0);
    EXPECT_EQ(none.wonLabel, "");
    EXPECT_EQ(none.lostLabel, "");
    EXPECT_FALSE(none.hasValues);
    EXPECT_EQ(none.chanceCaption, "");
    EXPECT_EQ(none.chanceText, "Customized game");
    EXPECT_EQ(none.averageText, "0 %");
    const auto yukon = gamePageFigures({1, 0}, kBuiltIn[2]);
    EXPECT_EQ(yukon.chanceText, "Customized game");
    EXPECT_TRUE(yukon.yoursBold);

    // Counters past 16 bits add up as they are.
    const auto many = gamePageFigures({40000, 30000}, kBuiltIn[0]);
    EXPECT_EQ(many.total, 70000);
    EXPECT_EQ(many.wonLabel, "(57.1%)");
    const std::map<int, GameRecord> big = {{0, {999999, 999999}}, {1, {999999, 0}}};
    EXPECT_EQ(totalPageFigures(big, kBuiltIn).total, 2999997);
}

TEST(DialogFigures, TotalPageAveragesOverEveryBuiltInGame)
{
    const std::map<int, GameRecord> records = {{0, {1, 1}}, {3, {3, 1}}, {8000, {5, 0}}};
    const auto f = totalPageFigures(records, kBuiltIn);
    EXPECT_EQ(f.won, 4); // custom games are not among the built-in ones
    EXPECT_EQ(f.lost, 2);
    EXPECT_EQ(f.wonLabel, "(66.7%)");
    EXPECT_NEAR(f.yours, (50 + 0 + 75) / 3.0, 1e-9);
    EXPECT_NEAR(f.average, (84.3 + 99.9 + 0) / 3.0, 1e-9);
    EXPECT_EQ(f.yoursText, "41.7 %");
    EXPECT_EQ(f.averageText, "61.4 %");
    EXPECT_FALSE(f.yoursBold);
    EXPECT_FALSE(totalPageFigures({}, kBuiltIn).hasValues);
}

TEST(DialogFigures, ListFiltersAndLeavesCustomGamesOut)
{
    // Klondike under its chance, FreeCell never played, Yukon only lost (no chance: counts as over it).
    const std::map<int, GameRecord> records = {{0, {1, 1}}, {3, {0, 2}}, {8000, {1, 0}}};
    auto names = [&](ListFilter f) {
        std::vector<std::string> out;
        for (const auto& r : listRows(records, byName(), f))
            out.push_back(r.name);
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(names(ListFilter::AllGames), (V{"FreeCell", "Klondike", "Yukon"}));
    EXPECT_EQ(names(ListFilter::Won), (V{"Klondike"}));
    EXPECT_EQ(names(ListFilter::NotWon), (V{"Yukon"}));
    EXPECT_EQ(names(ListFilter::NotPlayed), (V{"FreeCell"}));
    EXPECT_EQ(names(ListFilter::UnderAverage), (V{"FreeCell", "Klondike"}));
    // A never played game is "over the average" only when it has no chance.
    EXPECT_EQ(names(ListFilter::OverAverage), (V{"Yukon"}));
    const auto rows = listRows(records, byName(), ListFilter::Won);
    EXPECT_EQ(rows[0].yours, 50);
    EXPECT_EQ(rows[0].chance, 84.3);
}

TEST(DialogFigures, SummariesOfWonAndOfTheAverage)
{
    const std::map<int, GameRecord> records = {{0, {1, 1}}, {3, {0, 2}}};
    const auto won = percentWonSummary(records, kBuiltIn, -1, {});
    EXPECT_EQ(won.first, 1);
    EXPECT_EQ(won.second, 1);
    EXPECT_EQ(won.notPlayed, 1);
    EXPECT_EQ(won.total, 3);
    EXPECT_EQ(won.firstPercent, 33.3);
    EXPECT_EQ(won.secondPercent, 33.3);
    EXPECT_EQ(won.notPlayedPercent, 33.4);
    // A session win of the current game makes FreeCell won.
    EXPECT_EQ(percentWonSummary(records, kBuiltIn, 1, {1, 0}).first, 2);
    const auto average = averageWonSummary(records, kBuiltIn);
    EXPECT_EQ(average.first, 1); // Yukon: 0 % but no chance
    EXPECT_EQ(average.second, 1);
    EXPECT_EQ(average.notPlayed, 1);
    EXPECT_EQ(summaryLabel(0), "");
    EXPECT_EQ(summaryLabel(33.4), "(33.4%)");
}

class PlayersTest : public StatsTest {};

TEST_F(PlayersTest, EqualValuesDrawInReversePlayerOrderAndOnlyFiveBars)
{
    // Statistics file fixture: six players of game 1.
    dir.write(kStatFile, "[Version]\r\nVersion=0300\r\n\r\n[0001]\r\n"
                         "Ann=" +
                             formatGameRecord({1, 1, 0, 0, 0, 0, 40}) +
                             "\r\n"
                             "Bob=" +
                             formatGameRecord({2, 2, 0, 0, 0, 0, 10}) +
                             "\r\n"
                             "Cid=" +
                             formatGameRecord({3, 3, 0, 0, 0, 0, 0}) +
                             "\r\n"
                             "Dan=" +
                             formatGameRecord({3, 0, 0, 0, 0, 0, 9}) +
                             "\r\n"
                             "Eve=" +
                             formatGameRecord({0, 3, 0, 0, 0, 0, -9}) + "\r\n");
    const std::vector<std::string> players = {"Ann", "Bob", "Cid", "Dan", "Eve", "Fay"};
    auto order = [](const std::vector<PlayerValue>& v) {
        std::string s;
        for (const auto& p : v)
            s += p.player.substr(0, 1) + std::to_string(p.value) + " ";
        return s;
    };
    const auto percent = playersValues(ctx, 1, players, PlayersMeasure::PercentWon);
    EXPECT_EQ(order(percent), "E0 F0 A50 B50 C50 D100 ");
    EXPECT_EQ(order(playersBars(percent)), "D100 C50 B50 A50 F0 ");
    EXPECT_EQ(order(playersValues(ctx, 1, players, PlayersMeasure::GamesWon)), "E0 F0 A1 B2 C3 D3 ");
    EXPECT_EQ(order(playersValues(ctx, 1, players, PlayersMeasure::AverageScore)), "E-3 C0 F0 B2 D3 A20 ");
}

class RecordsTest : public StatsTest {};

TEST_F(RecordsTest, OnePassReadsThePlayersRecordsAndSurvivesDamage)
{
    dir.write(kStatFile, "[Version]\r\nVersion=0300\r\n[0001]\r\nAnn=" + formatGameRecord({2, 1, 2, 1, 0, 1, 5}) +
                             "\r\nAnna=" + formatGameRecord({9, 9}) + "\r\n[0002]\r\nAnn=garbage\r\n[bad]\r\nAnn=" +
                             formatGameRecord({7}) + "\r\n[0001]\r\nAnn=" + formatGameRecord({8}) +
                             "\r\n[0003]\r\nAnn=******" + std::string(formatGameRecord({0, 4})).substr(6) + "\r\n");
    const auto r = playerRecords(ctx, "Ann");
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r.at(1), (GameRecord{2, 1, 2, 1, 0, 1, 5})); // the first section of a game counts
    EXPECT_EQ(r.at(2), GameRecord{});
    EXPECT_EQ(r.at(3), GameRecord{}); // a field too wide for six digits: it and the rest read as 0
    EXPECT_TRUE(playerRecords(ctx, "Nobody").empty());
}

// ---- Progression ----

std::vector<ProgressionRecord> records(int n, int gameId, bool wonEveryOther, int yy = 24, int month = 1)
{
    std::vector<ProgressionRecord> out;
    for (int i = 0; i < n; ++i)
        out.push_back({gameId, yy, month, wonEveryOther ? i % 2 == 0 : false});
    return out;
}

TEST(ProgressionPoints, NinetyRecordsAtBudgetThirty)
{
    const auto p =
        buildProgressionPoints(records(90, 5, true), ProgressionScope::OneGame, 5, std::nullopt, std::nullopt, 30);
    ASSERT_EQ(p.points.size(), 31u);
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(p.points[std::size_t(i)].record, i * 3);
    EXPECT_EQ(p.points.back().record, 89);
    EXPECT_EQ(p.points[0].percent, 100);
    EXPECT_EQ(p.points[1].percent, 50); // after 4 records: 2 won
    EXPECT_EQ(p.points.back().percent, 50);
    EXPECT_EQ(p.first->text(), "202401");
}

TEST(ProgressionPoints, SingleRecordAndEmptyFile)
{
    const auto one =
        buildProgressionPoints({{5, 26, 3, false}}, ProgressionScope::OneGame, 5, std::nullopt, std::nullopt, 30);
    ASSERT_EQ(one.points.size(), 1u);
    EXPECT_EQ(one.points[0].percent, 0);
    EXPECT_EQ(one.points[0].month.text(), "202603");
    const auto none = buildProgressionPoints({}, ProgressionScope::AllGames, 0, std::nullopt, std::nullopt, 30);
    EXPECT_TRUE(none.points.empty());
    EXPECT_FALSE(none.first);
}

TEST(ProgressionPoints, RangeCountsOnlyInsideForOneGameButFromTheStartForAll)
{
    // Game 1: four lost in January 2024, then four won in March; game 2 in between.
    std::vector<ProgressionRecord> r = records(4, 1, false, 24, 1);
    for (auto x : records(2, 2, false, 24, 2))
        r.push_back(x);
    for (int i = 0; i < 4; ++i)
        r.push_back({1, 24, 3, true});
    const YearMonth march{2024, 3};
    const auto one = buildProgressionPoints(r, ProgressionScope::OneGame, 1, march, march, 30);
    ASSERT_FALSE(one.points.empty());
    EXPECT_EQ(one.points.front().percent, 100); // the range alone
    const auto all = buildProgressionPoints(r, ProgressionScope::AllGames, 0, march, march, 30);
    ASSERT_EQ(all.points.size(), 4u);
    EXPECT_EQ(all.points.front().percent, 14.3); // 1 won of 7, counted from the first record
    EXPECT_EQ(all.first->text(), "202401");
    EXPECT_EQ(all.last->text(), "202403");
    // Years wrap at 1991.
    EXPECT_EQ(monthOf({0, 91, 1, true}).year, 1991);
    EXPECT_EQ(monthOf({0, 90, 1, true}).year, 2090);
    EXPECT_EQ(monthsBetween({2023, 11}, {2024, 2}).size(), 4u);
}

TEST(Streaks, PerGameAndOverAllGames)
{
    std::vector<ProgressionRecord> r = {{1, 24, 1, true}, {1, 24, 1, true},  {2, 24, 1, false},
                                        {1, 24, 1, true}, {2, 24, 1, false}, {2, 24, 1, false}};
    EXPECT_EQ(streaksOf(r), (Streaks{2, 2, 0, 2}));
    EXPECT_EQ(streaksOf(r, 1), (Streaks{3, 0, 3, 0}));
    EXPECT_EQ(streaksOf(r, 7), Streaks{});
}

// ---- Log ----

class LogViewTest : public StatsTest {
protected:
    // A log of n records: player "P" + (i % 3), game "G" + (i % 2), numbers i; every fourth won.
    void writeLog(int n)
    {
        std::string text;
        text.reserve(std::size_t(n) * 149);
        for (int i = 0; i < n; ++i) {
            LogRecord r;
            r.date = "20240102";
            r.time = "10:20:30";
            r.seconds = 65;
            r.gameId = i % 2;
            r.gameName = "G" + std::to_string(i % 2);
            r.player = "P" + std::to_string(i % 3);
            r.won = i % 4 == 0;
            r.scoringCode = "01";
            r.score = std::to_string(i % 50);
            r.gameNumber = std::to_string(i);
            text += formatLogRecord(r) + "\r\n";
        }
        dir.write(kLogFile, text);
    }
};

TEST_F(LogViewTest, FastBrowsingReadsTheNewestTenThousandAndListsFiveThousand)
{
    writeLog(12000);
    LogQuery q;
    auto fast = browseLog(ctx, q);
    EXPECT_TRUE(fast.browseShown);
    EXPECT_EQ(fast.estimatedCount, 12000);
    EXPECT_EQ(fast.linesRead, 10000);
    ASSERT_EQ(fast.rows.size(), 5000u);
    EXPECT_EQ(fast.rows.front().record.gameNumber, "11999"); // newest first
    EXPECT_EQ(fast.rows.back().record.gameNumber, "7000");
    q.fast = false;
    auto all = browseLog(ctx, q);
    EXPECT_EQ(all.rows.size(), 12000u);
    EXPECT_EQ(all.rows.back().record.gameNumber, "0");
    // A player and a game.
    q.allPlayers = q.allGames = false;
    q.player = "P1";
    q.game = "G0";
    auto some = browseLog(ctx, q);
    EXPECT_EQ(some.rows.size(), 2000u); // i % 6 == 4
    EXPECT_EQ(some.rows.front().record.gameNumber, "11998");
}

TEST_F(LogViewTest, ShortLogsHideBrowsingAndListEverything)
{
    writeLog(4000);
    LogQuery q;
    q.fast = true;
    auto l = browseLog(ctx, q);
    EXPECT_FALSE(l.browseShown);
    EXPECT_EQ(l.rows.size(), 4000u);
    EXPECT_EQ(logPlayingTime(l.rows[0], ':'), "0:01:05");
    EXPECT_EQ(logStartText(l.rows[0].record), "10:20");
}

TEST_F(LogViewTest, LimitsNeverStopTheList)
{
    // No log, an empty log, and damaged lines among good ones.
    EXPECT_TRUE(browseLog(ctx, {}).rows.empty());
    dir.write(kLogFile, "");
    EXPECT_TRUE(browseLog(ctx, {}).rows.empty());
    writeLog(3);
    std::string text = read(kLogFile);
    std::string bad = text.substr(0, 149);
    bad.replace(18, 6, "xx0012");
    dir.write(kLogFile, "short line\r\n" + text + bad + "\x01\x02\xff");
    const auto l = browseLog(ctx, {});
    ASSERT_EQ(l.rows.size(), 4u);
    EXPECT_FALSE(l.rows[0].timeValid);
    EXPECT_EQ(logPlayingTime(l.rows[0], ':'), "");
}

} // namespace
} // namespace cw::stats::test
