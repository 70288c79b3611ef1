// Series: the player's Series.dat, the progress file Series_e01.dat, results, totals and damaged files.
#include <gtest/gtest.h>

#include <set>

#include "stats/hi_scores.h"
#include "stats/series.h"
#include "stats/stat_files.h"
#include "stats_fixture.h"

namespace cw::stats::test {
namespace {

// Games 0..3 and 8000 (a custom game); game 2 has a maximum score of 52 (rule parameter 52).
const FixedCatalog kGames({{0, "Klondike", -1, 52},
                           {1, "FreeCell", -1, 52},
                           {2, "Spider", 52, 104},
                           {3, "Yukon", -1, 52},
                           {8000, "My Klondike", -1, 52}});

class SeriesTest : public StatsTest {
protected:
    SeriesSave save(std::optional<int> number, const std::string& name, std::vector<int> games)
    {
        return saveSeries(ctx, kGames, number, name, games);
    }
};

TEST_F(SeriesTest, UserSeriesFileHasTenLinesPerSeries)
{
    EXPECT_EQ(save(std::nullopt, "  Mine ", {3, 8000}).number, 5000);
    EXPECT_EQ(save(std::nullopt, "Second", {1}).number, 5001);
    const std::string expected = "[R-0530]\r\n"
                                 "5000Mine" +
                                 std::string(46, ' ') +
                                 "\r\n\r\n00038000\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
                                 "5001Second" +
                                 std::string(44, ' ') + "\r\n\r\n0001\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
    EXPECT_EQ(read(kSeriesFile), expected);
    const auto all = readUserSeries(ctx, kGames);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0], (SeriesDefinition{5000, "Mine", {3, 8000}}));
    EXPECT_EQ(findSeries(ctx, kGames, 5001)->games, std::vector<int>{1});
    EXPECT_EQ(findSeries(ctx, kGames, 8)->name, "Ancient games");
    EXPECT_EQ(findSeries(ctx, kGames, 5)->games, (std::vector<int>{0, 176, 206, 94}));
    EXPECT_FALSE(findSeries(ctx, kGames, 5002));
    EXPECT_TRUE(notices.texts.empty());
}

TEST_F(SeriesTest, NumbersAreReusedAndEditsKeepTheirPlace)
{
    for (const char* n : {"A", "B", "C", "D"})
        save(std::nullopt, n, {0});
    EXPECT_EQ(save(std::nullopt, "E", {0}).number, 5004);
    deleteSeries(ctx, kGames, 5001);
    EXPECT_EQ(newSeriesNumber(readUserSeries(ctx, kGames)), 5001);
    EXPECT_EQ(save(5002, "C renamed", {1, 2}).number, 5002);
    const auto all = readUserSeries(ctx, kGames);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[1], (SeriesDefinition{5002, "C renamed", {1, 2}}));
    std::vector<SeriesDefinition> full;
    for (int n = kFirstUserSeries; n <= kLastUserSeries; ++n)
        full.push_back({n, "S" + std::to_string(n), {0}});
    EXPECT_FALSE(newSeriesNumber(full));
}

TEST_F(SeriesTest, TheEditorRefusesWhatCannotBeStored)
{
    save(std::nullopt, "Mine", {0});
    const struct {
        std::optional<int> number;
        std::string name;
        std::vector<int> games;
        SeriesProblem problem;
    } cases[] = {
        {std::nullopt, "   ", {0}, SeriesProblem::EmptyName},
        {std::nullopt, "Other", {}, SeriesProblem::NoGames},
        {std::nullopt, "MINE", {0}, SeriesProblem::DuplicateName},
        {5000, "MINE", {0}, SeriesProblem::None}, // the edited series itself
        {std::nullopt, "Two\r\nlines", {0}, SeriesProblem::BadName},
        {std::nullopt, std::string(51, 'x'), {0}, SeriesProblem::BadName},
        {std::nullopt, std::string(50, 'x'), {0}, SeriesProblem::None},
    };
    const auto all = readUserSeries(ctx, kGames);
    for (const auto& c : cases)
        EXPECT_EQ(checkSeries(all, c.number, c.name, c.games), c.problem) << c.name;
    EXPECT_EQ(save(std::nullopt, "mine", {1}).problem, SeriesProblem::DuplicateName);
    EXPECT_EQ(seriesProblemMessage(SeriesProblem::NoGames), "You haven't selected any game.");
    EXPECT_EQ(readUserSeries(ctx, kGames).size(), 1u);
}

TEST_F(SeriesTest, DamagedSeriesFileKeepsTheGoodRecordsAndTheOldFileAside)
{
    const std::string good = "5000Good" + std::string(46, ' ') + "\r\n\r\n0000\r\n" + std::string(14, '\n');
    const struct {
        const char* what;
        std::string record;
    } cases[] = {
        {"unknown game", "5001Gone\r\n\r\n00000077\r\n"}, {"junk ids", "5001Junk\r\n\r\n00x1\r\n"},
        {"odd length", "5001Odd\r\n\r\n001\r\n"},         {"number out of range", "4999Low\r\n\r\n0000\r\n"},
        {"no number", "Just text\r\n\r\n0000\r\n"},       {"number twice", "5000Twice\r\n\r\n0001\r\n"},
    };
    for (const auto& c : cases) {
        notices.texts.clear();
        const std::string text = "[R-0530]\r\n" + good + c.record;
        dir.write(kSeriesFile, text);
        const auto all = readUserSeries(ctx, kGames);
        ASSERT_EQ(all.size(), 1u) << c.what;
        EXPECT_EQ(all[0].name, "Good");
        ASSERT_EQ(notices.texts.size(), 1u) << c.what;
        EXPECT_NE(notices.texts[0].find("Series.dat.bad"), std::string::npos);
        EXPECT_EQ(read("Series.dat.bad"), text) << c.what;
        // The file now reads well: no second message.
        EXPECT_EQ(readUserSeries(ctx, kGames).size(), 1u);
        EXPECT_EQ(notices.texts.size(), 1u);
    }
}

TEST(SeriesResultLine, HasItsFixedColumns)
{
    SeriesResult r{120, true, "01", "52", true};
    const std::string line = "001=" + formatSeriesResult(r);
    EXPECT_EQ(line, "001=000120 Won  01 52      Y");
    EXPECT_EQ(line.substr(4, 6), "000120");  // columns 5-10
    EXPECT_EQ(line.substr(11, 5), "Won  ");  // columns 12-16
    EXPECT_EQ(line.substr(19, 6), "52    "); // columns 20-25
    EXPECT_EQ(line[27], 'Y');                // column 28
    EXPECT_EQ(parseSeriesResult(line.substr(4)), r);
    SeriesResult lost{5, false, "01", "-12", false};
    EXPECT_EQ(parseSeriesResult(formatSeriesResult(lost)), lost);
    for (const char* bad : {"", "000120 Won  01 52      ", "-00120 Won  01 52      Y", "000120 Won! 01 52      Y",
                            "000120 Won  01 5x      Y", "000120 Won  01 52      Q"})
        EXPECT_FALSE(parseSeriesResult(bad)) << bad;
}

class SeriesProgressTest : public SeriesTest {
protected:
    SeriesProgress fourGames()
    {
        SeriesDefinition s{5000, "Mine", {0, 1, 2, 3}};
        return startSeries(s, "Player", false, {});
    }
};

TEST_F(SeriesProgressTest, ProgressFileHasTheFixedLayout)
{
    SeriesProgress p = startSeries(predefinedSeries()[4], "Ann", false, {});
    EXPECT_EQ(p.games, (std::vector<int>{0, 176, 206, 94}));
    ASSERT_TRUE(recordSeriesResult(p, 0, true, 125, "01", 52, 52));
    writeSeriesProgress(ctx, p);
    EXPECT_EQ(read(kSeriesProgressFile), "[Series]\r\nNumber=5\r\nPlayer=Ann\r\nNumGames=004\r\nPlayed=002\r\n\r\n"
                                         "[Games]\r\n001=000\r\n002=176\r\n003=206\r\n004=094\r\n\r\n"
                                         "[Scores]\r\n001=000125 Won  01 52      Y\r\n002=\r\n003=\r\n004=\r\n");
    EXPECT_EQ(readSeriesProgress(ctx, FixedCatalog({{0, "K"}, {176, "K3"}, {206, "G"}, {94, "W"}})), p);

    // The player's own series keep four digits.
    SeriesProgress mine = fourGames();
    writeSeriesProgress(ctx, mine);
    EXPECT_NE(read(kSeriesProgressFile).find("[Games]\r\n001=0000\r\n002=0001\r\n"), std::string::npos);
    EXPECT_EQ(readSeriesProgress(ctx, kGames), mine);
    deleteSeriesProgress(ctx);
    EXPECT_FALSE(exists(kSeriesProgressFile));
    EXPECT_FALSE(readSeriesProgress(ctx, kGames));
}

TEST_F(SeriesProgressTest, RandomOrderMovesChosenGamesToTheEnd)
{
    const SeriesDefinition s{5000, "Mine", {0, 1, 2, 3}};
    EXPECT_EQ(startSeries(s, "P", true, [](int) { return 0; }).games, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(startSeries(s, "P", true, [](int n) { return n - 1; }).games, (std::vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(startSeries(s, "P", true, [](int n) { return n / 2; }).games, (std::vector<int>{2, 1, 3, 0}));
    // Every permutation can come out of the random engine.
    std::set<std::vector<int>> seen;
    for (int i = 0; i < 2000 && seen.size() < 24; ++i)
        seen.insert(startSeries(s, "P", true, {}).games);
    EXPECT_EQ(seen.size(), 24u);
}

TEST_F(SeriesProgressTest, ResultsCountOnlyForTheSeriesGame)
{
    SeriesProgress p = fourGames();
    EXPECT_FALSE(recordSeriesResult(p, 2, true, 10, "01", 5, 52)); // not the game being played
    EXPECT_EQ(p.played, 1);
    for (int id : {0, 1, 2, 3})
        EXPECT_TRUE(recordSeriesResult(p, id, true, 100, "01", 52, id == 2 ? 52 : 208));
    EXPECT_TRUE(p.finished());
    EXPECT_FALSE(recordSeriesResult(p, 3, true, 10, "01", 5, 52));
    const SeriesTotals t = seriesTotals(p);
    EXPECT_EQ(t.score, 208);
    EXPECT_EQ(t.seconds, 400);
    EXPECT_TRUE(t.allWon);
    EXPECT_FALSE(t.allMaximum);

    // Quitting after two of four games: the partial totals, not won.
    SeriesProgress half = fourGames();
    recordSeriesResult(half, 0, true, 30, "01", 52, 52);
    recordSeriesResult(half, 1, true, 40, "01", -7, 52);
    const SeriesTotals h = seriesTotals(half);
    EXPECT_EQ(h.score, 45);
    EXPECT_EQ(h.seconds, 70);
    EXPECT_FALSE(h.allWon);
    EXPECT_FALSE(h.allMaximum);
}

TEST_F(SeriesProgressTest, SeriesHiScoresStartFromTheGameCount)
{
    ensureStatisticsFiles(ctx, "Player");
    SeriesProgress p = fourGames();
    for (int id : {0, 1, 2, 3})
        recordSeriesResult(p, id, true, 50, "01", 52, 52);
    const auto ins = offerSeriesResult(ctx, p, at(2026, 5, 1, 10, 0, 0));
    // The defaults of a 4-game series start at 208 (in 1040 s): the same score in less time goes first.
    EXPECT_EQ(ins.rank, 0);
    const auto entries = readHiScores(ctx, HiScoreTable::Series, 5000, "01", {});
    ASSERT_EQ(entries.size(), 20u);
    EXPECT_EQ(entries[0].substr(0, 14), "000208 000200 ");
    EXPECT_EQ(entryPlayer(entries[0]), "Player");
    EXPECT_EQ(entries[0].substr(63, 15), "Y" + std::string(14, ' '));
    EXPECT_EQ(entries[0].substr(79, 4), "Won ");
    EXPECT_EQ(entries[1].substr(0, 14), "000208 001040 ");
    EXPECT_EQ(entries[11].substr(0, 6), "000008");

    // Quitting half way: "Lost" and "N".
    SeriesProgress half = fourGames();
    recordSeriesResult(half, 0, true, 50, "01", 52, 52);
    EXPECT_EQ(offerSeriesResult(ctx, half, at(2026, 5, 1, 11, 0, 0)).rank, 9);
    const auto after = readHiScores(ctx, HiScoreTable::Series, 5000, "01", {});
    EXPECT_EQ(after[9].substr(63, 1), "N");
    EXPECT_EQ(after[9].substr(79, 4), "Lost");
}

TEST_F(SeriesProgressTest, DamagedProgressFileIsKeptAsideWithOneMessage)
{
    const std::string good = formatSeriesProgress(fourGames());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = good;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"unknown game", replaced("003=0002", "003=0077")},
        {"game id not a number", replaced("003=0002", "003=two")},
        {"negative count played", replaced("Played=001", "Played=-01")},
        {"count played beyond the series", replaced("Played=001", "Played=006")},
        {"count played not a number", replaced("Played=001", "Played=x")},
        {"fewer games than announced", replaced("NumGames=004", "NumGames=005")},
        {"bad series number", replaced("Number=5000", "Number=12")},
        {"bad player", replaced("Player=Player", "Player=../x")},
        {"damaged result", replaced("002=\r\n", "002=000010 Won? 01 5      N\r\n")},
        {"junk line", good + "garbage\r\n"},
        {"unknown section", "[Other]\r\n" + good},
        {"binary junk", std::string("\x00\xff[Series]\x01=", 12)},
    };
    for (const auto& c : cases) {
        notices.texts.clear();
        dir.write(kSeriesProgressFile, c.text);
        EXPECT_FALSE(readSeriesProgress(ctx, kGames)) << c.what;
        ASSERT_EQ(notices.texts.size(), 1u) << c.what;
        EXPECT_NE(notices.texts[0].find("Series_e01.dat.bad"), std::string::npos) << notices.texts[0];
        EXPECT_FALSE(exists(kSeriesProgressFile)) << c.what;
        EXPECT_EQ(read("Series_e01.dat.bad"), c.text) << c.what;
    }
    // The good file, with line ends of another system, reads.
    std::string lf = good;
    std::erase(lf, '\r');
    dir.write(kSeriesProgressFile, lf);
    EXPECT_EQ(readSeriesProgress(ctx, kGames), fourGames());
}

} // namespace
} // namespace cw::stats::test
