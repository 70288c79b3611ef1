// libFuzzer target: arbitrary bytes as each statistics file (Stat.dat, the log, a progression file,
// Stat_scr.dat, STAT_GLO.DAT, Stat_uni.dat) through its readers and writers.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

#include "stats/clearing.h"
#include "stats/game_log.h"
#include "stats/game_stats.h"
#include "stats/hi_scores.h"
#include "stats/journal.h"
#include "stats/pending_work.h"
#include "stats/overall_score.h"
#include "stats/progression.h"
#include "stats/tamper_code.h"
#include "storage/safe_file.h"

using namespace cw::stats;
namespace fs = std::filesystem;

namespace {

class Quiet : public Notices {
public:
    void information(const std::string&) override {}
};

const fs::path& folder() {
    static const fs::path dir = [] {
        // A RAM folder when there is one: every write is flushed to disk, which would slow the fuzzer down.
        fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path d = base / ("cw_fuzz_stats_" + std::to_string(::getpid()));
        return d;
    }();
    return dir;
}

void put(const char* name, std::string_view bytes) {
    std::ofstream(folder() / name, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// Runs one step; file errors are the readers' defined answer to damaged files.
template <class F>
void guarded(F&& f) {
    try {
        f();
    } catch (const cw::storage::FileError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Quiet quiet;
    cw::storage::SettingsStore settings;
    settings.set(cw::storage::col::Player, "Ann");
    settings.setNumber(cw::storage::col::GameId, 1);
    StatsContext ctx;
    ctx.dataFolder = folder().string() + "/";
    ctx.settings = &settings;
    ctx.notices = &quiet;
    ctx.randomDigit = [](int) { return 3; };
    FixedCatalog games({{1, "One", -1, 52}, {2, "Two", 52, 104}});
    fs::remove_all(folder());
    fs::create_directories(folder());

    // Pure parsers.
    (void)parseGameRecord(bytes);
    (void)parseLogRecord(bytes);
    (void)decodeProgression(bytes);
    (void)entryScore(bytes);
    (void)entryTime(bytes);
    (void)hiScoreRows({std::string(bytes)}, ':');
    std::string plain = unscramble(bytes);
    (void)readScoreLayout(plain, "GW-0001");
    (void)readTimeLayout(plain, "");
    (void)totalsCheckOk(plain, plain, plain);

    put("Stat.dat", bytes);
    guarded([&] { (void)readGameStatistics(ctx, 1, "Ann"); });
    guarded([&] { (void)updateGameStatistics(ctx, 1, "Ann", true, 5); });

    put("Stat_log.dat", bytes);
    guarded([&] { (void)readGameLog(ctx); });
    (void)countLogRecords(ctx);
    guarded([&] { (void)rebuildProgressionFile(ctx, "Ann"); });
    guarded([&] { clearStatistics(ctx, 1, "Ann"); });

    put("Stat_prg_Ann.dat", bytes);
    (void)readProgression(ctx, "Ann");

    put("Stat_scr.dat", bytes);
    guarded([&] { (void)upgradeHiScoreFile(ctx); });
    guarded([&] { (void)readHiScores(ctx, HiScoreTable::Games, 1, "01", gameDefaultScores(games, 1)); });
    guarded([&] {
        HiScoreEntry e{40, 60, {2024, 1, 2, 3, 4, 5}, "Ann", "1", true};
        (void)insertHiScore(ctx, HiScoreTable::Games, 2, e, "01", gameDefaultScores(games, 2));
    });
    guarded([&] { clearHiScores(ctx, HiScoreTable::Games, kAllGames, "Ann", "01"); });

    put("STAT_GLO.DAT", bytes);
    guarded([&] { (void)readOverallRanking(ctx); });
    put("STAT_GLO.DAT", bytes);
    guarded([&] { (void)readOverallDetails(ctx, "Ann", games); });
    put("STAT_GLO.DAT", bytes);
    guarded([&] { (void)updateOverallScore(ctx, 1, "Ann", 50, 70, false); });

    put("Stat_uni.dat", bytes);
    guarded([&] { (void)readSingleGameValues(ctx, 1, "Ann"); });
    put("Stat_uni.dat", bytes);
    guarded([&] { (void)singleGameWonCounts(ctx, "Ann"); });
    put("Stat_uni.dat", bytes);
    guarded([&] { (void)updateSingleGameValues(ctx, 1, "Ann", false, true); });
    guarded([&] { (void)renamePlayerInStatistics(ctx, "Ann", "Bea"); });

    // The journal a stopped copy left: read as untrusted input, finished or dropped.
    put("Stat_pending.dat", bytes);
    (void)decodeJournal(bytes);
    (void)recoverDataFolder(ctx, std::chrono::seconds(0));
    // Nothing is left behind when the fuzzer stops between two inputs.
    std::error_code ec;
    fs::remove_all(folder(), ec);
    return 0;
}
