// Tests of the built-in catalog: the sources in data/games compile cleanly and GAMES.DAT reads back value for value.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "catalog/catalog_source.h"
#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "catalog/tools/engine_checks.h"
#include "engine/legal_moves.h"

namespace cw::catalog {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = fs::path(CW_FIXTURES_DIR) / ".." / ".." / "data" / "games";

// The catalog as the generator sees it, parsed once for all tests.
const std::vector<CatalogGame>& catalog()
{
    static const std::vector<CatalogGame> games = [] {
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(kSourceDir))
            if (e.path().extension() == ".games")
                files.push_back(e.path());
        std::sort(files.begin(), files.end());
        std::vector<SourceBlock> blocks;
        for (const auto& f : files) {
            auto text = ReadWholeFile(f);
            EXPECT_TRUE(text.ok()) << text.error();
            auto parsed = parseCatalogSource(text.value(), f.filename().string());
            EXPECT_TRUE(parsed.ok()) << parsed.error();
            if (parsed.ok())
                for (auto& b : parsed.value())
                    blocks.push_back(std::move(b));
        }
        auto resolved = resolveCatalog(blocks);
        EXPECT_TRUE(resolved.ok()) << resolved.error();
        return resolved.ok() ? resolved.value() : std::vector<CatalogGame>{};
    }();
    return games;
}

const CatalogGame* byId(int id)
{
    for (const CatalogGame& g : catalog())
        if (g.id == id)
            return &g;
    return nullptr;
}

TEST(GeneratedGames, SourcesPassEveryCheckAndDealEveryCardOnce)
{
    const auto errors = checkCatalog(catalog());
    for (const auto& e : errors)
        ADD_FAILURE() << e;
    for (const CatalogGame& g : catalog())
        for (const auto& e : tools::checkGameWithEngine(g))
            ADD_FAILURE() << e;
}

// Reads a definitions text back with the catalog reader and compares it with the source.
void expectReadsBack(const std::string& defs)
{
    const GameListBuild build = BuildGameList(defs);
    EXPECT_TRUE(build.warnings.empty());
    ASSERT_EQ(build.list.size(), static_cast<int>(catalog().size()));
    for (const CatalogGame& g : catalog()) {
        const GameEntry* entry = build.list.find(g.id);
        ASSERT_NE(entry, nullptr) << g.name;
        EXPECT_EQ(entry->name, g.name);
        EXPECT_EQ(entry->type, g.type) << g.name;
        EXPECT_EQ(entry->largeScreen, g.largeScreen) << g.name;
        EXPECT_EQ(entry->newGame, g.newGame) << g.name;
        auto rules = LoadRulesAtColumn(defs, build.list.columnOf(g.id));
        ASSERT_TRUE(rules.ok()) << rules.error();
        for (int n = 1; n <= kLastParam; ++n)
            ASSERT_EQ(rules.value()[n], g.rules[n]) << g.name << " parameter " << n;
    }
    const DefinitionGroups groups = definitionGroups(catalog());
    EXPECT_EQ(ReadGameGroup(defs, kSectPopular).value(), groups.popular);
    EXPECT_EQ(ReadGameGroup(defs, kSectOriginal).value(), groups.original);
    EXPECT_EQ(ReadGameGroup(defs, kSectChildren).value(), groups.children);
}

TEST(GeneratedGames, DefinitionsReadBackValueForValue)
{
    auto defs = writeDefinitions(definitionGames(catalog()), definitionGroups(catalog()));
    ASSERT_TRUE(defs.ok()) << defs.error();
    expectReadsBack(defs.value());
    EXPECT_EQ(defs->find("\n"), defs->find("\r\n") + 1) << "CR LF line ends";

    // The file the build wrote is the same text, unless a source changed after it was made
    // (the test does not depend on the data target; building cw_data brings it up to date).
    const fs::path built = fs::path(CW_BIN_DIR) / std::string(kDefinitionsFileName);
    bool current = fs::exists(built);
    for (const auto& e : fs::directory_iterator(kSourceDir))
        if (current && e.path().extension() == ".games" && fs::last_write_time(e.path()) > fs::last_write_time(built))
            current = false;
    if (current) {
        auto text = ReadWholeFile(built);
        ASSERT_TRUE(text.ok());
        EXPECT_EQ(text.value(), defs.value()) << "the generator wrote something else than the catalog reads back";
    }
}

TEST(GeneratedGames, RowsAreInIdOrderSoMostLookupsHitTheirRow)
{
    auto defs = writeDefinitions(definitionGames(catalog()), definitionGroups(catalog()));
    ASSERT_TRUE(defs.ok());
    const GameListBuild build = BuildGameList(defs.value());
    for (int i = 1; i < build.list.size(); ++i)
        EXPECT_LT(build.list.entries()[static_cast<std::size_t>(i - 1)].id, build.list.entries()[static_cast<std::size_t>(i)].id);
}

TEST(GeneratedGames, CatalogHoldsTheNamedGamesAndGroups)
{
    EXPECT_GE(catalog().size(), 150u);
    const struct {
        int id;
        std::string_view name;
    } fixed[] = {{0, "Klondike"}, {1, "FreeCell"}, {18, "Spider"}};
    for (const auto& f : fixed) {
        const CatalogGame* g = byId(f.id);
        ASSERT_NE(g, nullptr) << f.id;
        EXPECT_EQ(g->name, f.name);
    }
    // The predefined series name these ids: each must be a listed game.
    for (int id : {0, 176, 206, 94, 1, 28, 30, 11, 114, 32, 143, 148, 105, 210, 59, 113, 237, 240, 14, 103, 65,
                   177, 74, 62, 215, 239, 50, 165, 207, 209, 85, 171})
        EXPECT_NE(byId(id), nullptr) << id;
    // The easy-games series is also the children's group.
    for (int id : {165, 207, 209, 85, 171})
        EXPECT_TRUE(byId(id) && byId(id)->children) << id;
    const DefinitionGroups groups = definitionGroups(catalog());
    EXPECT_GE(groups.popular.size(), 30u);
    EXPECT_LE(groups.popular.size(), 40u);
    EXPECT_GE(groups.original.size(), 3u);
    // The "Memory games" series ids wait for their family.
    for (int reserved : {201, 204, 202, 195, 205})
        EXPECT_EQ(byId(reserved), nullptr) << reserved;
    for (const CatalogGame& g : catalog()) {
        // Measured chances: never more deals won than tried.
        EXPECT_GE(g.rules.winrateWon(), 0) << g.name;
        EXPECT_LE(g.rules.winrateWon(), g.rules.winrateSample()) << g.name;
        EXPECT_FALSE(g.rulesText.empty()) << g.name;
    }
}

} // namespace
} // namespace cw::catalog

namespace cw::catalog {
namespace {

// Every card of the pack on exactly one pile; returns a description of the first fault.
std::string cardsOnOnePile(const engine::Table& t, int pack)
{
    std::vector<int> seen(engine::kLastCard + 1, 0);
    int placed = 0;
    auto count = [&](const engine::Pile& p) {
        for (int code : p)
            if (code != 0) {
                if (code < 1 || code > engine::kLastCard)
                    return false;
                ++seen[static_cast<std::size_t>(code)];
                ++placed;
            }
        return true;
    };
    const auto& piles = t.piles();
    for (const auto* group : {&piles.stockGroup[0], &piles.stockGroup[1], &piles.stockGroup[2]})
        if (!count(*group))
            return "a bad card code";
    for (const auto& p : piles.foundations)
        if (!count(p))
            return "a bad card code";
    for (const auto& p : piles.tableau)
        if (!count(p))
            return "a bad card code";
    for (const auto& p : piles.reserves)
        if (!count(p))
            return "a bad card code";
    for (int code = 1; code <= engine::kLastCard; ++code)
        if (seen[static_cast<std::size_t>(code)] > 1)
            return "card " + std::to_string(code) + " on two piles";
    if (placed != pack)
        return std::to_string(placed) + " cards on the table instead of " + std::to_string(pack);
    return {};
}

// Random legal play: every game, several deals, a few hundred random moves each, with the
// card count checked after every move. Catches parameter values the rules engine cannot
// play (a stuck stock, cards lost or doubled by a fill or a redeal).
TEST(GeneratedGames, RandomLegalPlayKeepsEveryCardOnOnePile)
{
    constexpr int kDeals = 20;
    constexpr int kMoves = 300;
    std::mt19937 rng(20261210);
    const engine::PlayOptions options;
    for (const CatalogGame& g : catalog()) {
        const int pack = packSize(g.rules) - g.leftover;
        for (int d = 1; d <= kDeals; ++d) {
            engine::DealResult dealt = engine::deal(g.rules, std::to_string(d * 7919));
            engine::Play play{dealt.rules, dealt.state, options};
            engine::MoveList moves;
            for (int m = 0; m < kMoves; ++m) {
                moves.clear();
                engine::generateMoves(play, moves);
                if (moves.empty())
                    break;
                const engine::Move mv = moves[static_cast<int>(rng() % static_cast<unsigned>(moves.size()))];
                engine::applyMove(play, mv);
                const std::string fault = cardsOnOnePile(dealt.state.table, pack);
                ASSERT_TRUE(fault.empty()) << g.name << ", deal " << d * 7919 << ", move " << m << " ("
                                           << engine::moveText(mv) << "): " << fault;
            }
        }
    }
}

} // namespace
} // namespace cw::catalog
