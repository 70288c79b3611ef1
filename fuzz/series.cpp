// libFuzzer target: arbitrary bytes as the series files (Series.dat and Series_e01.dat) through their
// parsers, readers and writers; every input must either read or be dropped with its message.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

#include "stats/series.h"
#include "storage/safe_file.h"

using namespace cw::stats;
namespace fs = std::filesystem;

namespace {

class Quiet : public Notices {
public:
    void information(const std::string&) override { ++count; }
    int count = 0;
};

const fs::path& folder()
{
    static const fs::path dir = [] {
        fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        return base / ("cw_fuzz_series_" + std::to_string(::getpid()));
    }();
    return dir;
}

void put(const char* name, std::string_view bytes)
{
    std::ofstream(folder() / name, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

[[noreturn]] void fail() { __builtin_trap(); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const FixedCatalog games({{0, "Klondike", -1, 52},
                              {1, "FreeCell", -1, 52},
                              {176, "K3", -1, 52},
                              {206, "Gargantua", -1, 104},
                              {94, "Whitehead", -1, 52},
                              {8000, "Custom", 52, 52}});
    Quiet quiet;
    StatsContext ctx;
    ctx.dataFolder = folder().string() + "/";
    ctx.notices = &quiet;
    fs::remove_all(folder());
    fs::create_directories(folder());

    // What parses must write back to the same thing.
    const auto user = parseUserSeries(bytes, &games);
    if (parseUserSeries(formatUserSeries(user.series), &games).series != user.series)
        fail();
    const auto progress = parseSeriesProgress(bytes, &games);
    if (progress.progress) {
        const auto again = parseSeriesProgress(formatSeriesProgress(*progress.progress), &games);
        if (!again.progress || !(*again.progress == *progress.progress))
            fail();
        (void)seriesTotals(*progress.progress);
    }
    (void)parseSeriesResult(bytes);

    try {
        put(kSeriesFile, bytes);
        const auto series = readUserSeries(ctx, games);
        (void)saveSeries(ctx, games, std::nullopt, "Fuzz", {0, 1});
        for (const auto& s : series)
            deleteSeries(ctx, games, s.number);
    } catch (const cw::storage::FileError&) {
    }
    put(kSeriesProgressFile, bytes);
    const int before = quiet.count;
    try {
        auto p = readSeriesProgress(ctx, games);
        // A file that does not read is kept aside with exactly one message.
        if (!p && (quiet.count != before + 1 || !fs::exists(folder() / "Series_e01.dat.bad")))
            fail();
        if (p) {
            if (auto id = p->currentGame())
                recordSeriesResult(*p, *id, true, 10, "01", 5, 52);
            writeSeriesProgress(ctx, *p);
        }
    } catch (const cw::storage::FileError&) {
    }
    std::error_code ec;
    fs::remove_all(folder(), ec);
    return 0;
}
