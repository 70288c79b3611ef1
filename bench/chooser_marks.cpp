// Benchmark: the chooser's result marks read from a Stat.dat of 300 games and 20 players.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "stats/game_stats.h"
#include "stats/played_state.h"

namespace {

struct StatFolder {
    std::filesystem::path dir;
    StatFolder() {
        dir = std::filesystem::temp_directory_path() / ("cw_bench_marks_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        std::ofstream out(dir / "Stat.dat", std::ios::binary);
        out << "[Version]\r\nVersion=0300\r\n";
        for (int game = 0; game < 300; ++game) {
            out << "\r\n[" << cw::stats::gameSection(game) << "]\r\n";
            for (int p = 0; p < 20; ++p) {
                cw::stats::GameRecord r;
                r.won = (game + p) % 3;
                r.lost = (game * p) % 4;
                out << "Player " << p << "=" << cw::stats::formatGameRecord(r) << "\r\n";
            }
        }
    }
    ~StatFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

void BM_ChooserMarksOfOnePlayer(benchmark::State& state) {
    static StatFolder folder;
    cw::stats::StatsContext ctx;
    ctx.dataFolder = folder.dir.string() + "/";
    for (auto _ : state) {
        auto marks = cw::stats::playedStates(ctx, "Player 17");
        benchmark::DoNotOptimize(marks);
    }
}
BENCHMARK(BM_ChooserMarksOfOnePlayer)->Unit(benchmark::kMillisecond);

}  // namespace
