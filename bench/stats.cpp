// Benchmark: recording one game end in a data folder with a long history (100,000 or 200,000 log lines, a
// Stat.dat of 500 games x 20 players, full hi-score tables and value files for every game and player).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <unistd.h>

#include "stats/game_end.h"
#include "stats/game_log.h"
#include "stats/game_stats.h"
#include "stats/hi_scores.h"
#include "stats/tamper_code.h"
#include "storage/fixed_width.h"
#include "storage/settings_store.h"

namespace {

using namespace cw::stats;
namespace fs = std::filesystem;

constexpr int kGames = 500;
constexpr int kPlayers = 20;

std::string playerName(int p) { return "Player " + std::to_string(p + 1); }

void writeFile(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A data folder as it looks after years of play, in base (the system temporary folder, or a RAM folder
// to measure the work without the disk's flush time).
fs::path makeHistory(const fs::path& base, int logLines)
{
    fs::path dir = base / ("cw_bench_stats_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::mt19937 rng(7);
    auto draw = [&rng](int max) { return int(rng() % unsigned(max + 1)); };

    std::string stat = "[Version]\r\nVersion=0300\r\n";
    for (int g = 1; g <= kGames; ++g) {
        stat += "\r\n[" + gameSection(g) + "]\r\n";
        for (int p = 0; p < kPlayers; ++p)
            stat += playerName(p) + "=" + formatGameRecord({g % 50, g % 30, 5, 4, 1, 0, g * 10}) + "\r\n";
    }
    writeFile(dir / kStatFile, stat);

    std::string log;
    log.reserve(std::size_t(logLines) * 149);
    for (int i = 0; i < logLines; ++i) {
        LogRecord r;
        r.date = "2023" + cw::storage::fixedNumber(1 + i % 12, 2) + "15";
        r.time = "10:20:30";
        r.seconds = i % 900;
        r.gameId = 1 + i % kGames;
        r.gameName = "Game " + std::to_string(r.gameId);
        r.player = playerName(i % kPlayers);
        r.won = i % 3 == 0;
        r.scoringCode = "01";
        r.score = std::to_string(i % 200);
        r.gameNumber = std::to_string(1000000 + i);
        log += formatLogRecord(r) + "\r\n";
    }
    writeFile(dir / kLogFile, log);
    std::string prg;
    for (int i = 0; i < logLines / kPlayers; ++i)
        prg += "!!!A";
    for (int p = 0; p < kPlayers; ++p) writeFile(dir / ("Stat_prg_" + playerName(p) + ".dat"), prg);

    std::string scr = "[Version]\r\nVersion=0300\r\n";
    for (int g = 1; g <= kGames; ++g) {
        scr += "\r\n[" + gameSection(g) + "]\r\n";
        for (int r = 1; r <= 20; ++r) {
            HiScoreEntry e{300 - r * 10, 100 + r, {2023, 5, 6, 7, 8, 9}, playerName(r - 1), "123456", true};
            scr += hiScoreKey("01", r) + "=" + formatHiScoreEntry(e, ':') + "\r\n";
        }
    }
    writeFile(dir / kHiScoreFile, scr);
    writeFile(dir / kSeriesScoreFile, "[Version]\r\nVersion=0300\r\n");

    std::string glo = "[Version]\r\nVOvS=0300\r\n", uni;
    for (int p = 0; p < kPlayers; ++p) {
        std::string games;
        std::string values;
        for (int g = 1; g <= kGames; ++g) {
            std::string id = gameSection(g);
            games += "GS-" + id + "=" + scramble(buildScoreLayout(200, "", draw)) + "\r\n";
            games += "GT-" + id + "=" + scramble(buildTimeLayout(100, "", draw)) + "\r\n";
            values += "GW-" + id + "=" + scramble(buildScoreLayout(3, "GW-" + id, draw)) + "\r\n";
            values += "GL-" + id + "=" + scramble(buildTimeLayout(2, "GL-" + id, draw)) + "\r\n";
        }
        std::string t01 = buildTotalScore(200 * kGames, draw), t02 = buildTotalTime(100 * kGames, draw);
        glo += "\r\n[" + playerName(p) + "]\r\nT01=" + scramble(t01) + "\r\nT02=" + scramble(t02) +
               "\r\nT03=" + scramble(buildTotalCheck(kVersionStamp, t01, t02)) + "\r\n" + games;
        uni += "\r\n[" + playerName(p) + "]\r\n" + values;
    }
    writeFile(dir / kOverallFile, glo);
    writeFile(dir / kSingleGameFile, uni);
    return dir;
}

class Quiet : public Notices {
public:
    void information(const std::string& text) override { ++count; }
    int count = 0;
};

// Argument 0: the data folder on disk (every write is flushed: fsync); 1: in /dev/shm (flushes are free).
void BM_RecordGameEnd(benchmark::State& state) {
    fs::path base = state.range(0) == 1 ? fs::path("/dev/shm") : fs::temp_directory_path();
    const int logLines = int(state.range(1));
    if (!fs::is_directory(base)) {
        state.SkipWithError("no RAM folder");
        return;
    }
    fs::path dir = makeHistory(base, logLines);
    cw::storage::SettingsStore settings;
    Quiet quiet;
    StatsContext ctx;
    ctx.dataFolder = dir.string() + "/";
    ctx.settings = &settings;
    ctx.notices = &quiet;
    std::vector<CatalogGame> games;
    for (int g = 1; g <= kGames; ++g) games.push_back({g, "Game " + std::to_string(g), -1, 52});
    FixedCatalog catalog(games);
    GameEndRecorder recorder(ctx, catalog);
    int i = 0;
    for (auto _ : state) {
        FinishedGame g;
        g.gameId = 1 + (i * 37) % kGames;  // games spread over the whole file
        g.gameName = "Game " + std::to_string(g.gameId);
        g.gameNumber = "987654321";
        g.player = playerName(i % kPlayers);
        g.won = i % 2 == 0;
        g.score = 150 + i % 200;  // makes the hi-score table about every other game
        g.playingSeconds = 120;
        g.end = {2024, 3, 4, 5, 6, 7};
        g.randomNumberDeal = true;
        settings.setNumber(cw::storage::col::GameId, g.gameId);
        settings.set(cw::storage::col::Player, g.player);
        benchmark::DoNotOptimize(recorder.record(g));
        ++i;
    }
    if (quiet.count) state.SkipWithError("a statistics file reported an error");
    fs::remove_all(dir);
}
BENCHMARK(BM_RecordGameEnd)
    ->Args({0, 100000})
    ->Args({1, 100000})
    ->Args({0, 200000})
    ->Args({1, 200000})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();

}  // namespace
