// Benchmarks of the chooser's model: every view and folder of a 300-game catalog, and one game's description and preview line.
#include "catalog/chooser.h"
#include "catalog/definitions.h"
#include "catalog/game_list.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>

using namespace cw::catalog;

namespace {

// The built catalog grown to 300 games by repeating its games under new ids and names.
struct BigCatalog {
    std::string defs;
    GameList list;
    std::vector<std::string> previewLines;
};

const BigCatalog& bigCatalog()
{
    static const BigCatalog big = [] {
        BigCatalog b;
        auto text = ReadWholeFile(std::string(CW_BIN_DIR) + "/GAMES.DAT");
        if (!text) return b;
        GameList real = BuildGameList(*text).list;
        std::vector<DefinitionGame> games;
        DefinitionGroups groups;
        for (int i = 0; i < 300; ++i) {
            const GameEntry& e = real.entries()[std::size_t(i) % real.entries().size()];
            auto rules = LoadRulesAtColumn(*text, i % real.size());
            DefinitionGame g;
            g.id = i;
            g.type = e.type;
            g.newGame = e.newGame || i % 7 == 0;
            g.name = e.name.substr(0, 44) + " " + std::to_string(i);
            if (rules) g.rules = *rules;
            games.push_back(std::move(g));
            if (i % 5 == 0) groups.popular.push_back(i);
            if (i % 11 == 0) groups.original.push_back(i);
        }
        auto written = writeDefinitions(games, groups);
        if (written) b.defs = *written;
        b.list = BuildGameList(b.defs).list;
        std::ifstream in(std::string(CW_BIN_DIR) + "/cwdp.dat", std::ios::binary);
        std::string line;
        while (std::getline(in, line)) b.previewLines.push_back(line);
        return b;
    }();
    return big;
}

void allFolders(const ChooserCatalog& cat, const std::vector<ChooserFolder>& folders, std::size_t& count)
{
    for (const ChooserFolder& f : folders) {
        count += FolderGames(cat, f.number).size();
        allFolders(cat, f.subfolders, count);
    }
}

// Opening the chooser with every view filled: the catalog's features and groups read, the
// flat views sorted and every folder of the groups view listed.
void BM_ChooserAllViews(benchmark::State& state)
{
    const BigCatalog& big = bigCatalog();
    if (big.list.size() != 300) {
        state.SkipWithError("GAMES.DAT not built");
        return;
    }
    std::vector<int> lastPlayed;
    for (int i = 0; i < 20; ++i) lastPlayed.push_back(i * 13);
    for (auto _ : state) {
        auto cat = LoadChooserCatalog(big.defs, big.list, {});
        std::size_t count = AllGamesSorted(*cat).size() + SelectedGamesSorted(*cat).size() +
                            LastPlayedSorted(*cat, lastPlayed).size();
        allFolders(*cat, GroupsViewFolders("1.0"), count);
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BM_ChooserAllViews)->Unit(benchmark::kMillisecond);

// Selecting a game: its description read from the definitions and its preview line deciphered.
void BM_ChooserDescriptionAndPreviewLine(benchmark::State& state)
{
    const BigCatalog& big = bigCatalog();
    if (big.list.size() != 300 || big.previewLines.empty()) {
        state.SkipWithError("GAMES.DAT or cwdp.dat not built");
        return;
    }
    auto cat = LoadChooserCatalog(big.defs, big.list, {});
    int id = 0;
    for (auto _ : state) {
        id = (id + 37) % 300;
        auto d = DescribeGame(big.defs, *cat, id);
        const std::string& stored = big.previewLines[std::size_t(id) % big.previewLines.size()];
        auto pictures = ParsePreviewLine(DecodePreviewLine(stored));
        benchmark::DoNotOptimize(d);
        benchmark::DoNotOptimize(pictures);
    }
}
BENCHMARK(BM_ChooserDescriptionAndPreviewLine)->Unit(benchmark::kMicrosecond);

} // namespace
