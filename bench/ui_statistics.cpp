// Benchmark: opening the "Statistics" dialog (page Game with its progression chart, then page Total with the
// chart over all games) and the zoom dialog, and reading the fast log list, with a 200,000-record log, the
// player's 200,000-record progression file and a Stat.dat of 300 games x 20 players.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabWidget>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "stats/game_log.h"
#include "stats/game_stats.h"
#include "stats/progression.h"
#include "storage/settings_store.h"
#include "ui/log_dialog.h"
#include "ui/progression_zoom.h"
#include "ui/statistics_dialog.h"
#include "ui/stats_charts.h"

namespace {

using namespace cw;
namespace fs = std::filesystem;

constexpr int kGames = 300;
constexpr int kPlayers = 20;
constexpr int kRecords = 200000;

std::string playerName(int p) { return "Player " + std::to_string(p + 1); }

struct Fixture {
    fs::path dir;
    storage::SettingsStore settings;
    stats::StatsContext ctx;
    std::vector<stats::CatalogGame> games;

    Fixture()
    {
        fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        dir = base / ("cw_bench_ui_stats_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::string stat = "[Version]\r\nVersion=0300\r\n";
        for (int g = 0; g < kGames; ++g) {
            games.push_back({g, "Game " + std::to_string(g), -1, 52, 500 + g, 1000});
            stat += "\r\n[" + stats::gameSection(g) + "]\r\n";
            for (int p = 0; p < kPlayers; ++p)
                stat += playerName(p) + "=" + stats::formatGameRecord({g % 50, g % 30, 5, 4, 1, 0, g * 10}) + "\r\n";
        }
        std::ofstream(dir / stats::kStatFile, std::ios::binary) << stat;
        std::string log, prg;
        log.reserve(std::size_t(kRecords) * 149);
        for (int i = 0; i < kRecords; ++i) {
            stats::LogRecord r;
            r.date = "20" + std::to_string(10 + i / 20000) + "0115";
            r.time = "10:20:30";
            r.seconds = i % 900;
            r.gameId = i % kGames;
            r.gameName = "Game " + std::to_string(r.gameId);
            r.player = playerName(0);
            r.won = i % 3 == 0;
            r.scoringCode = "01";
            r.score = std::to_string(i % 200);
            r.gameNumber = std::to_string(1000000 + i);
            log += stats::formatLogRecord(r) + "\r\n";
            prg += stats::encodeProgressionRecord(r.gameId, 10 + i / 20000, 1 + (i / 1700) % 12, r.won);
        }
        std::ofstream(dir / stats::kLogFile, std::ios::binary) << log;
        std::ofstream(dir / ("Stat_prg_" + playerName(0) + ".dat"), std::ios::binary) << prg;
        for (const char* f : {stats::kHiScoreFile, stats::kSeriesScoreFile})
            std::ofstream(dir / f, std::ios::binary) << "[Version]\r\nVersion=0300\r\n";
        std::ofstream(dir / stats::kOverallFile, std::ios::binary) << "[Version]\r\nVOvS=0300\r\n";
        settings.set(storage::col::Player, playerName(0));
        settings.setNumber(storage::col::GameId, 7);
        ctx.dataFolder = dir.string() + "/";
        ctx.settings = &settings;
    }
    ~Fixture() { fs::remove_all(dir); }

    ui::StatisticsSetup setup() const
    {
        ui::StatisticsSetup s;
        s.gameId = 7;
        s.player = playerName(0);
        for (int p = 0; p < kPlayers; ++p)
            s.players.push_back(playerName(p));
        s.gamesByName = games;
        s.builtIn = games;
        return s;
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

// Opening: the dialog built, shown and painted with its Game page and the one-game chart.
void BM_OpenStatisticsDialog(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        ui::StatisticsDialog dialog(f.ctx, f.setup());
        dialog.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(dialog.gameChart()->pointCount());
    }
}
BENCHMARK(BM_OpenStatisticsDialog)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The page "Total": every game summed and the chart over all 200,000 records.
void BM_StatisticsTotalPage(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        auto* dialog = new ui::StatisticsDialog(f.ctx, f.setup());
        dialog->show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        dialog->pages()->setCurrentIndex(1);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(dialog->totalChart()->pointCount());
        state.PauseTiming();
        delete dialog;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StatisticsTotalPage)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The zoom dialog of the chart over all games (budget 30, then the 150 points of the scrolled window).
void BM_OpenProgressionZoom(benchmark::State& state)
{
    Fixture& f = fixture();
    const auto records = stats::readProgression(f.ctx, playerName(0));
    for (auto _ : state) {
        ui::ProgressionZoomDialog dialog(records, stats::ProgressionScope::AllGames, -1);
        dialog.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(dialog.chart()->pointCount());
    }
}
BENCHMARK(BM_OpenProgressionZoom)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// "Log statistics" with "Last records (fast)": the newest 10,000 lines read, 5,000 listed.
void BM_OpenLogDialog(benchmark::State& state)
{
    Fixture& f = fixture();
    std::vector<std::string> names;
    for (const auto& g : f.games)
        names.push_back(g.name);
    std::vector<std::string> players;
    for (int p = 0; p < kPlayers; ++p)
        players.push_back(playerName(p));
    for (auto _ : state) {
        ui::LogStatisticsDialog dialog(f.ctx, players, names, {}, {});
        dialog.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(dialog.recordsShown());
    }
}
BENCHMARK(BM_OpenLogDialog)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
