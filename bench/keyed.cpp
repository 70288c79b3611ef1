// Benchmarks of the keyed-file engine on a statistics file of many sections.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "storage/fixed_width.h"
#include "storage/keyed_file.h"

namespace {

using namespace cw::storage;

// A file of `sections` sections of 12 fixed-width values each (about 200 bytes per section).
struct StatFile {
    std::filesystem::path folder;
    std::string path;
    explicit StatFile(int sections) {
        folder = std::filesystem::temp_directory_path() / ("cw_bench_keyed_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        path = (folder / "Stat.dat").string();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (int s = 0; s < sections; ++s) {
            out << "[Player 1|" << fixedNumber(s, 4) << "]\r\n";
            for (int k = 0; k < 12; ++k) out << "Value" << k << "=" << fixedNumber(s * k, 8) << "\r\n";
        }
    }
    ~StatFile() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

void BM_ReadKeyedValueLastSection(benchmark::State& state) {
    StatFile file(int(state.range(0)));
    std::string section = "Player 1|" + fixedNumber(state.range(0) - 1, 4);
    for (auto _ : state) benchmark::DoNotOptimize(readKeyedValue(file.path, section, "Value11", ""));
    state.SetBytesProcessed(state.iterations() * std::int64_t(std::filesystem::file_size(file.path)));
}
BENCHMARK(BM_ReadKeyedValueLastSection)->Arg(100)->Arg(5000);

void BM_ReadKeyedValuesWithHandle(benchmark::State& state) {
    StatFile file(int(state.range(0)));
    FileHandle handle(file.path);
    std::string section = "Player 1|" + fixedNumber(state.range(0) / 2, 4);
    for (auto _ : state) benchmark::DoNotOptimize(readKeyedValue(file.path, section, "Value5", "", &handle));
}
BENCHMARK(BM_ReadKeyedValuesWithHandle)->Arg(5000);

void BM_WriteKeyedValueInPlace(benchmark::State& state) {
    StatFile file(int(state.range(0)));
    std::string section = "Player 1|" + fixedNumber(state.range(0) - 1, 4);
    std::int64_t n = 0;
    for (auto _ : state) writeKeyedValue(file.path, section, "Value3", fixedNumber(++n % 100000000, 8));
}
BENCHMARK(BM_WriteKeyedValueInPlace)->Arg(5000);

void BM_RewriteSection(benchmark::State& state) {
    StatFile file(int(state.range(0)));
    std::string section = "Player 1|" + fixedNumber(state.range(0) / 2, 4);
    KeyValues pairs;
    for (int k = 0; k < 12; ++k) pairs.emplace_back("Value" + std::to_string(k), "00000001");
    for (auto _ : state) rewriteSection(file.path, section, pairs);
}
BENCHMARK(BM_RewriteSection)->Arg(5000);

}  // namespace
