// Recording the end of a game: order, the disabled switch, damaged files, and a long run whose counts add up.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include <unistd.h>

#include "stats/game_end.h"
#include "stats/game_log.h"
#include "stats/game_stats.h"
#include "stats/hi_scores.h"
#include "stats/overall_score.h"
#include "stats/progression.h"
#include "stats/stat_files.h"
#include "stats_fixture.h"
#include "storage/folder_lock.h"

namespace cw::stats::test {
namespace {

class GameEndTest : public StatsTest {
protected:
    GameEndTest() {
        std::vector<CatalogGame> games;
        for (int i = 1; i <= 19; ++i) games.push_back({i, "Game " + std::to_string(i), -1, i % 2 ? 52 : 104});
        games.push_back({8000, "Custom", -1, 52});
        catalog = std::make_unique<FixedCatalog>(games);
    }
    FinishedGame game(int id, const std::string& player, bool won, std::int64_t score) {
        FinishedGame g;
        g.gameId = id;
        g.gameName = "Game " + std::to_string(id);
        g.gameNumber = "123456";
        g.player = player;
        g.won = won;
        g.score = score;
        g.playingSeconds = 90;
        g.end = at(2024, 7, 8, 10, 11, 12);
        g.randomNumberDeal = true;
        return g;
    }
    GameEndResult record(const FinishedGame& g) {
        setCurrent(g.gameId, g.player);
        return GameEndRecorder(ctx, *catalog).record(g);
    }
    std::unique_ptr<FixedCatalog> catalog;
};

TEST_F(GameEndTest, AWonGameIsRecordedInEveryFile) {
    auto r = record(game(3, "Player", true, 250));
    EXPECT_TRUE(r.recorded);
    EXPECT_EQ(r.hiScoreRank, 0);
    EXPECT_EQ(r.hiScoreCaption, "Congratulations! Your score has made the \"Game 3\" Hi-Scores list!");
    EXPECT_TRUE(r.errors.empty());
    EXPECT_EQ(readGameLog(ctx).size(), 1u);
    EXPECT_EQ(readProgression(ctx, "Player"), (std::vector<ProgressionRecord>{{3, 24, 7, true}}));
    EXPECT_EQ(readGameStatistics(ctx, 3, "Player").record.totalScore, 250);
    EXPECT_EQ(readSingleGameValues(ctx, 3, "Player").won, 1);
    EXPECT_EQ(readOverallRanking(ctx).entries.at(0).totalScore, 250);
    EXPECT_EQ(settings.get(storage::col::SessionWon), "0001");
}

TEST_F(GameEndTest, DisabledStatisticsChangeNoFile) {
    ensureStatisticsFiles(ctx, "Player");
    // The data folder's lock file is no statistics file.
    auto files = [&] {
        std::map<std::string, std::string> m;
        for (auto& e : std::filesystem::directory_iterator(dir.folder()))
            if (e.path().filename() != storage::kLockFileName)
                m[e.path().filename()] = read(e.path().filename());
        return m;
    };
    std::map<std::string, std::string> before = files();
    ctx.statisticsDisabled = true;
    EXPECT_FALSE(record(game(3, "Player", true, 250)).recorded);
    EXPECT_EQ(before, files());
}

TEST_F(GameEndTest, ADealNotDrawnAtRandomLeavesTheSingleGameValues) {
    auto g = game(3, "Player", false, 5);
    g.randomNumberDeal = false;
    record(g);
    EXPECT_EQ(readSingleGameValues(ctx, 3, "Player").lost, 0);
    EXPECT_EQ(readGameStatistics(ctx, 3, "Player").record.lost, 1);
}

TEST_F(GameEndTest, ACustomGameIsRecordedButNeverInTheValueFiles) {
    record(game(8000, "Player", true, 40));
    EXPECT_EQ(readGameStatistics(ctx, 8000, "Player").record.won, 1);
    EXPECT_EQ(readGameLog(ctx).at(0).gameId, 8000);
    EXPECT_EQ(readProgression(ctx, "Player").at(0).gameId, 8000);
    EXPECT_TRUE(readOverallRanking(ctx).entries.empty());
    EXPECT_EQ(readSingleGameValues(ctx, 8000, "Player").won, 0);
}

TEST_F(GameEndTest, AnUnwritableFileIsReportedAndTheOthersAreStillRecorded) {
    std::filesystem::create_directory(dir.file("Stat_log.dat"));  // the log cannot be opened as a file
    auto r = record(game(3, "Player", true, 10));
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_NE(r.errors[0].find("Stat_log.dat"), std::string::npos);
    EXPECT_EQ(readGameStatistics(ctx, 3, "Player").record.won, 1);
    EXPECT_GE(r.hiScoreRank, 0);
}

TEST_F(GameEndTest, DamagedFilesNeverStopTheGame) {
    ensureStatisticsFiles(ctx, "Player");
    std::string junk("\0\xff[\n=\r[[0003]\nPlayer=zz\n", 25);
    for (const char* f : {"Stat.dat", "Stat_scr.dat", "Stat_log.dat", "Stat_prg_Player.dat", "Stat_uni.dat"})
        dir.write(f, junk);
    auto r = record(game(3, "Player", true, 10));
    EXPECT_TRUE(r.recorded);
    EXPECT_EQ(readGameStatistics(ctx, 3, "Player").record.won, 1);
    EXPECT_EQ(readGameLog(ctx).size(), 1u);
}

TEST_F(GameEndTest, UnsafePlayerNamesAreNotRecorded) {
    auto r = record(game(3, "../../etc/x", true, 10));
    EXPECT_FALSE(r.recorded);
    EXPECT_EQ(r.errors.size(), 1u);
    EXPECT_FALSE(exists("Stat_log.dat"));
}

// 10,000 game ends across 20 games and 5 players: every count adds up across Stat.dat, the log and the
// progression files. The folder is in RAM where there is one: each game end flushes its writes to disk
// (about six fsync calls), and the run checks the counting, not the disk.
TEST_F(GameEndTest, LongRunCountsAddUp) {
    struct RamFolder {
        std::filesystem::path path;
        ~RamFolder() {
            std::error_code ec;
            if (!path.empty()) std::filesystem::remove_all(path, ec);
        }
    } ram;
    if (std::filesystem::is_directory("/dev/shm")) {
        ram.path = "/dev/shm/cw_stats_longrun_" + std::to_string(::getpid());
        std::filesystem::create_directories(ram.path);
        ctx.dataFolder = ram.path.string() + "/";
    }
    auto read = [this](const std::string& name) { return *storage::readWholeFile(ctx.path(name)); };
    const std::vector<std::string> players = {"Ann", "Bob", "Cid", "Dora", "Eve"};
    std::mt19937 rng(12345);
    struct Count {
        std::int64_t won = 0, lost = 0, score = 0;
    };
    std::map<std::pair<int, std::string>, Count> expected;
    const int kGames = 10000;
    for (int i = 0; i < kGames; ++i) {
        int id = int(rng() % 20);
        id = id == 0 ? 8000 : id;
        const std::string& p = players[rng() % players.size()];
        bool won = rng() % 3 == 0;
        std::int64_t score = std::int64_t(rng() % 300) - 20;
        auto g = game(id, p, won, score);
        g.end = at(2020 + i / 2500, 1 + (i / 200) % 12, 1);
        record(g);
        Count& c = expected[{id, p}];
        (won ? c.won : c.lost) += 1;
        c.score += score;
    }
    EXPECT_TRUE(notices.texts.empty());
    storage::FileHandle h(ctx.path(kStatFile));
    std::map<std::pair<int, std::string>, Count> fromLog;
    for (const auto& r : readGameLog(ctx)) {
        Count& c = fromLog[{r.gameId, r.player}];
        (r.won ? c.won : c.lost) += 1;
        c.score += std::stoll(r.score);
    }
    std::int64_t total = 0;
    for (const auto& [key, c] : expected) {
        auto rec = readGameStatistics(ctx, key.first, key.second, &h).record;
        EXPECT_EQ(rec.won, c.won);
        EXPECT_EQ(rec.lost, c.lost);
        EXPECT_EQ(rec.totalScore, c.score);
        EXPECT_EQ(fromLog[key].won, c.won);
        EXPECT_EQ(fromLog[key].lost, c.lost);
        EXPECT_EQ(fromLog[key].score, c.score);
        total += c.won + c.lost;
    }
    EXPECT_EQ(total, kGames);
    EXPECT_EQ(countLogRecords(ctx), kGames);
    std::int64_t progressionTotal = 0;
    for (const auto& p : players) {
        auto prg = readProgression(ctx, p);
        progressionTotal += std::int64_t(prg.size());
        std::int64_t won = 0;
        for (const auto& r : prg) won += r.won;
        std::int64_t expectedWon = 0;
        for (const auto& [key, c] : expected)
            if (key.second == p) expectedWon += c.won;
        EXPECT_EQ(won, expectedWon) << p;
        // Rebuilding from the log gives the same bytes.
        std::string bytes = read("Stat_prg_" + p + ".dat");
        ASSERT_TRUE(rebuildProgressionFile(ctx, p));
        EXPECT_EQ(read("Stat_prg_" + p + ".dat"), bytes) << p;
    }
    EXPECT_EQ(progressionTotal, kGames);
    std::size_t entries = 0;
    for (auto& e : std::filesystem::directory_iterator(ctx.dataFolder))
        entries += e.path().filename() != storage::kLockFileName;
    EXPECT_EQ(entries, 6u + players.size()); // no temporary file or journal left behind
}

}  // namespace
}  // namespace cw::stats::test
