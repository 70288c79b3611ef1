// The game log: the 147-character line, counting, trimming, filtering; progression files.
#include <gtest/gtest.h>

#include "stats/game_log.h"
#include "stats/progression.h"
#include "stats/stat_files.h"
#include "stats_fixture.h"

namespace cw::stats::test {
namespace {

LogRecord sample(const std::string& player, int gameId, bool won, const std::string& date = "20240315") {
    LogRecord r;
    r.date = date;
    r.time = "09:05:07";
    r.seconds = 185;
    r.gameId = gameId;
    r.gameName = "Klondike";
    r.player = player;
    r.won = won;
    r.scoringCode = "01";
    r.score = "-12";
    r.gameNumber = "1234567890123";
    return r;
}

TEST(GameLogLine, FieldsStandAtTheirColumns) {
    std::string line = formatLogRecord(sample("Player", 7, true));
    ASSERT_EQ(line.size(), kLogRecordLength);
    struct Field {
        int column, width;
        const char* text;
    };
    const Field fields[] = {
        {1, 8, "20240315"},    {10, 8, "09:05:07"},     {19, 6, "000185"},
        {26, 4, "0007"},       {31, 8, "Klondike"},     {82, 6, "Player"},
        {113, 5, "Won  "},     {118, 2, "01"},          {121, 6, "-12   "},
        {128, 15, "1234567890123  "},                   {144, 4, "4706"},
    };
    for (const Field& f : fields) EXPECT_EQ(line.substr(std::size_t(f.column - 1), std::size_t(f.width)), f.text);
    EXPECT_EQ(formatLogRecord(sample("P", 7, false)).substr(112, 5), "Lost ");
    auto back = parseLogRecord(line);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->player, "Player");
    EXPECT_EQ(back->gameId, 7);
    EXPECT_TRUE(back->won);
    EXPECT_EQ(back->score, "-12");
}

TEST(GameLogLine, LongNamesAreCutAndLineBreaksCannotSplitTheLine) {
    LogRecord r = sample(std::string(35, 'N'), 1, true);
    r.gameName = "Two\r\nlines";
    std::string line = formatLogRecord(r);
    EXPECT_EQ(line.size(), kLogRecordLength);
    EXPECT_EQ(logLinePlayer(line), std::string(30, 'N'));
    EXPECT_EQ(line.find('\n'), std::string::npos);
}

TEST_F(StatsTest, AppendCountTrimAndClear) {
    EXPECT_EQ(countLogRecords(ctx), 0);
    for (int i = 0; i < 5; ++i) appendGameLogRecord(ctx, sample("Player", i, i % 2 == 0));
    EXPECT_EQ(countLogRecords(ctx), 5);
    EXPECT_EQ(read("Stat_log.dat").size(), 5 * 149u);
    trimGameLog(ctx, 2, "Player");
    auto log = readGameLog(ctx);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].gameId, 3);
    EXPECT_EQ(log[1].gameId, 4);
    trimGameLog(ctx, 1, "Player");
    log = readGameLog(ctx);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].gameId, 4);
    clearGameLog(ctx, "Player");
    EXPECT_FALSE(exists("Stat_log.dat"));
    EXPECT_EQ(dir.entryCount(), 0u);  // no temporary file left behind
}

TEST_F(StatsTest, AnAppendAfterALineWithoutItsEndStartsANewLine) {
    dir.write("Stat_log.dat", formatLogRecord(sample("Ann", 1, true)));  // no CR LF at the end
    appendGameLogRecord(ctx, sample("Bob", 2, false));
    auto log = readGameLog(ctx);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].player, "Bob");
}

TEST_F(StatsTest, ShortAndDamagedLinesAreKeptByFiltersAndSkippedByReaders) {
    dir.write("Stat_log.dat", formatLogRecord(sample("Ann", 1, true)) + "\r\nshort line\r\n" +
                                  formatLogRecord(sample("Bob", 1, true)) + "\n");
    EXPECT_EQ(filterGameLog(ctx, [](std::string_view l) { return logLinePlayer(l) != "Ann"; }), 1u);
    std::vector<std::string> lines;
    forEachLogLine(ctx, [&](std::string_view l) { lines.emplace_back(l); });
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "short line");
    EXPECT_EQ(readGameLog(ctx).size(), 1u);
}

TEST(Progression, FourBytesPerGame) {
    struct Case {
        int gameId, yy, month;
        bool won;
        std::string bytes;
    };
    const Case cases[] = {
        {1, 24, 3, true, {char(33), char(34), char(57), char(103)}},
        {8012, 99, 12, false, {char(113), char(45), char(132), char(62)}},
        {0, 0, 1, false, {char(33), char(33), char(33), char(51)}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(encodeProgressionRecord(c.gameId, c.yy, c.month, c.won), c.bytes);
        auto back = decodeProgression(c.bytes);
        ASSERT_EQ(back.size(), 1u);
        EXPECT_EQ(back[0], (ProgressionRecord{c.gameId, c.yy, c.month, c.won}));
    }
    EXPECT_TRUE(decodeProgression(std::string("\x01\x02\x03\x04xyz", 7)).empty());
}

TEST_F(StatsTest, ProgressionIsRebuiltFromTheLogWhenMissing) {
    appendGameLogRecord(ctx, sample("Ann", 12, true, "20231105"));
    appendGameLogRecord(ctx, sample("Anna", 13, true, "20231105"));
    appendGameLogRecord(ctx, sample("Ann", 14, false, "20240101"));
    ensureStatisticsFiles(ctx, "Ann");
    EXPECT_EQ(readProgression(ctx, "Ann"),
              (std::vector<ProgressionRecord>{{12, 23, 11, true}, {14, 24, 1, false}}));
    // Kept in step afterwards, not rebuilt.
    appendProgressionRecord(ctx, "Ann", 15, true, at(2024, 2, 1));
    ensureStatisticsFiles(ctx, "Ann");
    EXPECT_EQ(readProgression(ctx, "Ann").size(), 3u);
}

TEST_F(StatsTest, NamesThatCouldLeaveTheDataFolderGetNoProgressionFile) {
    for (const char* bad : {"../x", "a/b", "..", "x\ny", ""}) {
        EXPECT_FALSE(progressionPath(ctx, bad)) << bad;
        EXPECT_FALSE(appendProgressionRecord(ctx, bad, 1, true, at(2024, 1, 1))) << bad;
    }
    EXPECT_EQ(notices.texts.size(), 5u);
    EXPECT_TRUE(progressionPath(ctx, "Ann"));
}

}  // namespace
}  // namespace cw::stats::test
