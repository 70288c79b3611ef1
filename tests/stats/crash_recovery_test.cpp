// Nothing lost, nothing stuck: a game end or a rename of a player cut short at any file operation is
// finished at the next start, two copies recording at once lose no count, a full disk never tears the
// log, and a game end shows at most one box.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <sys/wait.h>
#include <unistd.h>

#include "stats/clearing.h"
#include "stats/game_end.h"
#include "stats/game_log.h"
#include "stats/game_stats.h"
#include "stats/journal.h"
#include "stats/overall_score.h"
#include "stats/pending_work.h"
#include "stats/progression.h"
#include "stats/section_reader.h"
#include "stats/stat_files.h"
#include "stats_fixture.h"
#include "storage/fault_files.h"
#include "storage/folder_lock.h"
#include "storage/ini_file.h"
#include "storage/players.h"

namespace cw::stats::test {
namespace {

namespace fs = std::filesystem;
using storage::test::CrashAt;
using storage::test::Faults;
using storage::test::FullDisk;

class RecoveryTest : public StatsTest {
protected:
    RecoveryTest() : catalog({{3, "Game 3", -1, 52}, {4, "Game 4", -1, 104}}) {}

    FinishedGame game(int id, const std::string& player, bool won, std::int64_t score)
    {
        FinishedGame g;
        g.gameId = id;
        g.gameName = "Game " + std::to_string(id);
        g.gameNumber = "4711";
        g.player = player;
        g.won = won;
        g.score = score;
        g.playingSeconds = 95;
        g.end = at(2025, 3, 4, 5, 6, 7);
        g.randomNumberDeal = true;
        return g;
    }
    GameEndResult record(const FinishedGame& g) { return GameEndRecorder(ctx, catalog).record(g); }

    // A data folder of its own for one run of a scenario.
    void useFolder(const std::string& name)
    {
        ctx.dataFolder = dir.folder() + name + "/";
        fs::create_directories(ctx.dataFolder);
    }
    // Every file of the folder but the lock file, as bytes.
    std::map<std::string, std::string> files() const
    {
        std::map<std::string, std::string> m;
        for (auto& e : fs::directory_iterator(ctx.dataFolder))
            if (e.path().filename() != storage::kLockFileName)
                m[e.path().filename()] = *storage::readWholeFile(e.path().string());
        return m;
    }
    // What a game end changes, with the tamper-evident files decoded (their random digits differ).
    std::string gameState()
    {
        std::map<std::string, std::string> f = files();
        std::string s;
        for (const char* name : {"Stat_log.dat", "Stat_prg_Ann.dat", "Stat.dat", "Stat_scr.dat"})
            s += std::string(name) + ":" + f[name] + "\n";
        auto uni = readSingleGameValues(ctx, 3, "Ann");
        s += "uni " + std::to_string(uni.won) + "/" + std::to_string(uni.lost) + "\n";
        for (const auto& e : readOverallRanking(ctx).entries)
            s += "overall " + e.player + " " + std::to_string(e.totalScore) + " " + std::to_string(e.totalTime) + "\n";
        for (const auto& [name, bytes] : f) // nothing else: no journal, no temporary copy
            if (name.find("Stat") != 0 && name != "STAT_GLO.DAT" && name != "Series_scr.dat")
                s += "extra " + name + "\n";
        return s;
    }

    FixedCatalog catalog;
};

// Killed at each file operation of a game end in turn: the next start finishes the game end, and every
// file holds the game exactly once (or, killed before the journal was written, none does).
TEST_F(RecoveryTest, AGameEndKilledAtAnyPointIsFinishedAtTheNextStart)
{
    auto prepare = [&](const std::string& name) {
        useFolder(name);
        record(game(3, "Ann", true, 120));
        record(game(4, "Ann", false, 10));
    };
    const FinishedGame g = game(3, "Ann", true, 300); // a new hi-score and overall best: every step writes
    prepare("reference");
    const std::string untouched = gameState();
    CrashAt counter(0);
    {
        Faults faults(counter);
        EXPECT_TRUE(record(g).recorded);
    }
    const std::string reference = gameState();
    ASSERT_NE(reference, untouched);
    ASSERT_GT(counter.operations, 12);
    for (long n = 1; n <= counter.operations; ++n) {
        prepare("crash" + std::to_string(n));
        {
            CrashAt crash(n);
            Faults faults(crash);
            EXPECT_THROW(record(g), storage::SimulatedCrash) << n;
        }
        EXPECT_TRUE(recoverDataFolder(ctx, std::chrono::seconds(0)).empty()) << n;
        const std::string state = gameState();
        // The first two operations write the journal; before it exists nothing has been recorded.
        if (n <= 2)
            EXPECT_EQ(state, untouched) << "killed at operation " << n;
        else
            EXPECT_EQ(state, reference) << "killed at operation " << n;
    }
}

// A rename of Ann to Bea killed at each file operation in turn: the next start finishes it, in every
// statistics file and in the player list, and leaves Anna alone.
TEST_F(RecoveryTest, ARenameKilledAtAnyPointIsFinishedAtTheNextStart)
{
    std::unique_ptr<storage::IniFile> cfg;
    auto prepare = [&](const std::string& name) {
        useFolder(name);
        cfg = std::make_unique<storage::IniFile>(ctx.path("Cfg.dat"));
        storage::writePlayerSlots(*cfg, {"Ann", "Anna"});
        cfg->writeString("Preference", "UserDefault", "Ann");
        ctx.settingsFile = nullptr;
        record(game(3, "Ann", true, 120));
        record(game(3, "Anna", false, 5));
        record(game(4, "Ann", false, 7));
        ctx.settingsFile = cfg.get();
    };
    prepare("reference");
    const auto untouched = files();
    CrashAt counter(0);
    {
        Faults faults(counter);
        EXPECT_TRUE(renamePlayerInStatistics(ctx, "Ann", "Bea"));
    }
    const auto reference = files();
    ASSERT_EQ(storage::IniFile(ctx.path("Cfg.dat")).readString("Users", "User001", ""), "Bea");
    ASSERT_TRUE(reference.count("Stat_prg_Bea.dat"));
    ASSERT_EQ(readGameStatistics(ctx, 3, "Anna").record.lost, 1);
    for (long n = 1; n <= counter.operations; ++n) {
        prepare("crash" + std::to_string(n));
        {
            CrashAt crash(n);
            Faults faults(crash);
            EXPECT_THROW(renamePlayerInStatistics(ctx, "Ann", "Bea"), storage::SimulatedCrash) << n;
        }
        storage::IniFile restarted(ctx.path("Cfg.dat")); // the next start reads the file afresh
        ctx.settingsFile = &restarted;
        EXPECT_TRUE(recoverDataFolder(ctx, std::chrono::seconds(0)).empty()) << n;
        ctx.settingsFile = nullptr;
        EXPECT_EQ(files(), n <= 2 ? untouched : reference) << "killed at operation " << n;
    }
}

// The reproduction of the report: killed at the first write of the log during the rename.
TEST_F(RecoveryTest, RenameKilledAtTheLogKeepsThePlayersGames)
{
    struct AtLog : storage::FileFaults {
        std::size_t beforeWrite(const std::string& target, std::size_t size) override
        {
            if (target.ends_with("Stat_log.dat"))
                throw storage::SimulatedCrash{};
            return size;
        }
    } atLog;
    storage::IniFile cfg(ctx.path("Cfg.dat"));
    storage::writePlayerSlots(cfg, {"Ann"});
    record(game(3, "Ann", true, 50));
    ctx.settingsFile = &cfg;
    {
        Faults faults(atLog);
        EXPECT_THROW(renamePlayerInStatistics(ctx, "Ann", "Bea"), storage::SimulatedCrash);
    }
    storage::IniFile restarted(ctx.path("Cfg.dat"));
    ctx.settingsFile = &restarted;
    recoverDataFolder(ctx);
    EXPECT_EQ(storage::listPlayers(restarted), std::vector<std::string>{"Bea"});
    EXPECT_EQ(readGameStatistics(ctx, 3, "Bea").record.won, 1);
    EXPECT_EQ(readGameLog(ctx).at(0).player, "Bea");
    EXPECT_EQ(readProgression(ctx, "Bea").size(), 1u);
    EXPECT_FALSE(exists(kJournalFile));
}

// Two processes recording 150 losses each into one data folder: every count holds all 300.
TEST_F(RecoveryTest, TwoCopiesRecordingAtOnceLoseNothing)
{
    const int kGames = 150;
    record(game(3, "Ann", false, 1)); // the files exist before the race starts
    pid_t children[2];
    for (pid_t& child : children) {
        child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0; i < kGames; ++i)
                if (!record(game(3, "Ann", false, i)).recorded)
                    ::_exit(1);
            ::_exit(0);
        }
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::int64_t total = 2 * kGames + 1;
    EXPECT_EQ(std::int64_t(readGameLog(ctx).size()), total);
    EXPECT_EQ(std::int64_t(readProgression(ctx, "Ann").size()), total);
    EXPECT_EQ(readGameStatistics(ctx, 3, "Ann").record.lost, total);
    EXPECT_EQ(readSingleGameValues(ctx, 3, "Ann").lost, total);
}

// A full disk: the log keeps whole lines, the other files are recorded, and the player sees one box
// naming every file that failed.
TEST_F(RecoveryTest, AFullDiskNeverTearsTheLogAndShowsOneBox)
{
    record(game(3, "Ann", true, 50));
    const std::string log = read("Stat_log.dat");
    {
        FullDisk full("Stat_log.dat", 100);
        Faults faults(full);
        auto r = record(game(3, "Ann", false, 5));
        EXPECT_EQ(r.errors.size(), 1u);
    }
    EXPECT_EQ(read("Stat_log.dat"), log);
    EXPECT_EQ(readGameStatistics(ctx, 3, "Ann").record.lost, 1);
    ASSERT_EQ(notices.texts.size(), 1u);
    EXPECT_NE(notices.texts[0].find("Stat_log.dat"), std::string::npos);

    notices.texts.clear();
    {
        FullDisk full("", 3); // every file
        Faults faults(full);
        auto r = record(game(3, "Ann", false, 5));
        EXPECT_GE(r.errors.size(), 3u);
        ASSERT_EQ(notices.texts.size(), 1u);
        EXPECT_EQ(notices.texts[0], r.summary());
    }
    record(game(3, "Ann", true, 60));
    EXPECT_EQ(readGameLog(ctx).size(), 2u); // the first and the last: the failed ones left no line
}

// Temporary copies that a killed write left behind go at the next start; young ones may belong to a
// copy writing right now; other files are never touched.
TEST_F(RecoveryTest, StaleTemporaryFilesAreRemovedAtStartUp)
{
    for (const char* name :
         {"~cwAb12Cd", "rplXyZ123", "~prg000000", "_Stat_logQwErTy", "~cwyoung1", "~cw_keep", "rpl.dat"})
        dir.write(name, "x");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const char* name : {"~cwAb12Cd", "rplXyZ123", "~prg000000", "_Stat_logQwErTy", "~cw_keep", "rpl.dat"})
        fs::last_write_time(dir.file(name), old);
    recoverDataFolder(ctx);
    for (const char* gone : {"~cwAb12Cd", "rplXyZ123", "~prg000000", "_Stat_logQwErTy"})
        EXPECT_FALSE(exists(gone)) << gone;
    for (const char* kept : {"~cwyoung1", "~cw_keep", "rpl.dat"})
        EXPECT_TRUE(exists(kept)) << kept;
}

// The journal is read as untrusted input: a damaged one is dropped, never followed out of the folder.
TEST(Journal, RoundTripAndDamage)
{
    PendingGameEnd p;
    p.game.gameId = 12;
    p.game.gameName = "A = b % c";
    p.game.player = "Ann";
    p.game.end = DateTime{2024, 1, 2, 3, 4, 5};
    p.defaultScores = {52, 49, 1};
    p.done = 3;
    FileChange c;
    c.kind = FileChange::Kind::WriteSection;
    c.file = "Stat_scr.dat";
    c.section = "0012";
    c.pairs = {{"01-01", "x=y\r\n%"}, {"01-02", ""}};
    p.change = c;
    auto back = decodeJournal(encodeJournal(p));
    ASSERT_TRUE(back && back->gameEnd);
    EXPECT_EQ(back->gameEnd->game.gameName, "A = b % c");
    EXPECT_EQ(back->gameEnd->game.end.timeText(':'), "03:04:05");
    EXPECT_EQ(back->gameEnd->defaultScores, p.defaultScores);
    EXPECT_EQ(back->gameEnd->change, c);
    auto rename = decodeJournal(encodeJournal(PendingRename{"Ann", "Bea"}));
    ASSERT_TRUE(rename && rename->rename);
    EXPECT_EQ(rename->rename->newName, "Bea");
    for (const char* bad : {"", "[Game end]\r\nScore=x\r\n", "[Rename player]\r\nOld=A\r\n", "junk",
                            "[Game end]\r\n[Change]\r\nFile=../Cfg.dat\r\n", "[Game end]\r\n[Change]\r\nFile=Cfg.dat\r\n",
                            "[Rename player]\r\nOld=%4\r\nNew=B\r\n"})
        EXPECT_FALSE(decodeJournal(bad)) << bad;
}

} // namespace
} // namespace cw::stats::test
