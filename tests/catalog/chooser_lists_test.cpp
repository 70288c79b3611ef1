// Favorites, last played games, game-number history and random draws over small settings files.
#include "catalog/favorites.h"
#include "catalog/game_list.h"
#include "catalog/game_numbers.h"
#include "catalog/last_played.h"
#include "catalog/random_game.h"
#include "storage/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace cw::catalog {
namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A RAM folder when there is one: every settings write replaces the whole file.
        std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
        dir = base /
              ("cw_chooser_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        path = (dir / "Cfg.dat").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    void write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::string read()
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::filesystem::path dir;
    std::string path;
};

TEST_F(SettingsFile, FavoritesReadStopsAtGapAndAttachesSecondLevelToNearestEntry)
{
    write("[Favorite Games]\r\n"
          "Game0000=010005Klondike                                          \r\n"
          "Game0001=020007Spider\r\n"  // "02" after a game: hangs under that game
          "Game0003=01-011Never read\r\n");
    storage::IniFile ini(path);
    auto entries = ReadFavorites(ini);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (Favorite{false, 5, "Klondike"}));
    EXPECT_EQ(entries[1], (Favorite{true, 7, "Spider"}));
    auto tree = BuildFavoritesTree(entries);
    ASSERT_EQ(tree.size(), 1u);
    ASSERT_EQ(tree[0].children.size(), 1u);
    EXPECT_EQ(tree[0].children[0].id, 7);
    EXPECT_EQ(FavoriteGameIds(entries), (std::vector<int>{5, 7}));
}

TEST(FavoriteValues, ParseTable)
{
    struct Row {
        const char* value;
        bool ok;
        Favorite expected;
    } rows[] = {
        {"01-011My folder", true, {false, -11, "My folder"}},
        {"020018Spider   ", true, {true, 18, "Spider"}},
        {"010003", true, {false, 3, ""}},
        {"030018Spider", false, {}},
        {"01abcdSpider", false, {}},
        {"0100", false, {}},
    };
    for (const Row& r : rows) {
        Favorite f;
        EXPECT_EQ(ParseFavorite(r.value, f), r.ok) << r.value;
        if (r.ok) {
            EXPECT_EQ(f, r.expected) << r.value;
        }
    }
    EXPECT_EQ(FormatFavorite({true, -10, "Mine"}), "02-010Mine");
}

TEST_F(SettingsFile, SaveTreeRewritesSectionInDisplayOrder)
{
    write("[Favorite Games]\r\nGame0000=010001A\r\nGame0001=010002B\r\nGame0002=010003C\r\n[Other]\r\nx=1\r\n");
    storage::IniFile ini(path);
    std::vector<FavoriteNode> tree;
    InsertFavoriteGame(tree, -1, 9, "Yukon");
    InsertFavoriteGame(tree, -1, 4, "Canfield");
    int folder = InsertFavoriteFolder(tree, "Patience");
    EXPECT_EQ(folder, 0);  // folders stay above games
    InsertFavoriteGame(tree, folder, 8, "Spider");
    InsertFavoriteGame(tree, folder, 3, "FreeCell");
    SaveFavoritesTree(ini, tree);
    auto back = ReadFavorites(ini);
    ASSERT_EQ(back.size(), 5u);
    EXPECT_EQ(back[0], (Favorite{false, -10, "Patience"}));
    EXPECT_EQ(back[1], (Favorite{true, 3, "FreeCell"}));
    EXPECT_EQ(back[2], (Favorite{true, 8, "Spider"}));
    EXPECT_EQ(back[3], (Favorite{false, 4, "Canfield"}));
    EXPECT_EQ(back[4], (Favorite{false, 9, "Yukon"}));
    EXPECT_EQ(ini.readString("Other", "x", ""), "1");
    // Read back, a folder gets the read-back id but is written with its own.
    EXPECT_EQ(BuildFavoritesTree(back)[0].id, kReadFolderId);
}

TEST_F(SettingsFile, OldFavoritesConverted)
{
    write("[Favourite Games]\r\nGame000=Klondike\r\nGame001=Gone Game\r\nGame002=Spider\r\n");
    storage::IniFile ini(path);
    auto idByName = [](std::string_view n) { return n == "Klondike" ? 0 : n == "Spider" ? 18 : -1; };
    EXPECT_TRUE(ConvertOldFavorites(ini, idByName));
    EXPECT_FALSE(ini.hasSection(kOldFavoritesSection));
    EXPECT_EQ(ini.readString(kFavoritesSection, "Game0001", ""),
              "01-001Gone Game");  // the reader trims; the stored value is padded to 50
    EXPECT_NE(read().find("Game0001=01-001Gone Game                                         \r\n"), std::string::npos);
    auto entries = ReadFavorites(ini);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2], (Favorite{false, 18, "Spider"}));
    EXPECT_FALSE(ConvertOldFavorites(ini, idByName));  // nothing left to convert
}

TEST(LastPlayed, OrderTable)
{
    using L = std::vector<std::string>;
    struct Row {
        const char* name;
        std::vector<const char*> plays;
        L expectedFront;
    } rows[] = {
        {"5, 7, 5 keeps the first play's place", {"0005", "0007", "0005"}, {"0007", "0005", ""}},
        {"new entries go first", {"0001", "0002", "0003"}, {"0003", "0002", "0001"}},
    };
    for (const Row& r : rows) {
        L list(20);
        for (const char* p : r.plays) list = WithLastPlayedAdded(list, p);
        ASSERT_EQ(list.size(), 20u);
        EXPECT_EQ(L(list.begin(), list.begin() + std::ptrdiff_t(r.expectedFront.size())), r.expectedFront) << r.name;
    }
    L full;
    for (int i = 0; i < 20; ++i) full.push_back(std::to_string(i));
    L added = WithLastPlayedAdded(full, "x");
    EXPECT_EQ(added.size(), 20u);
    EXPECT_EQ(added.front(), "x");
    EXPECT_EQ(added.back(), "18");  // the twenty-first is dropped
    L removed = WithLastPlayedRemoved(full, "3");
    EXPECT_EQ(removed.size(), 20u);
    EXPECT_EQ(removed[3], "4");
    EXPECT_EQ(removed.back(), "");
}

TEST_F(SettingsFile, LastPlayedThroughTheFile)
{
    storage::IniFile ini(path);
    EXPECT_TRUE(AddLastPlayedGame(ini, 5));
    EXPECT_TRUE(AddLastPlayedGame(ini, 8001));
    EXPECT_FALSE(AddLastPlayedGame(ini, 5));
    EXPECT_EQ(ini.readString(kLastPlayedSection, "Game001", ""), "8001");
    EXPECT_EQ(ini.readString(kLastPlayedSection, "Game002", ""), "0005");
    EXPECT_EQ(ReadLastPlayedGames(ini), (std::vector<int>{8001, 5}));
    EXPECT_TRUE(RemoveLastPlayedGame(ini, 8001));
    EXPECT_FALSE(RemoveLastPlayedGame(ini, 77));
    EXPECT_EQ(ReadLastPlayedGames(ini), (std::vector<int>{5}));
}

TEST_F(SettingsFile, GameNumberHistoryKeepsEachNumberOnceMostRecentFirst)
{
    write("[Game_Numbers]\r\nGame001=0000000000002\r\nGame002=0000000000001\r\nGame003=0000000000001\r\n");
    storage::IniFile ini(path);
    AddGameNumberToHistory(ini, "0000000000001");
    EXPECT_EQ(ReadGameNumberHistory(ini), (std::vector<std::string>{"0000000000001", "0000000000002"}));
    for (int i = 0; i < 20; ++i) AddGameNumberToHistory(ini, std::to_string(100 + i));
    auto h = ReadGameNumberHistory(ini);
    ASSERT_EQ(h.size(), 20u);
    EXPECT_EQ(h.front(), "119");
    EXPECT_EQ(h.back(), "100");  // both older numbers dropped off the end
}

TEST(TypedNumbers, NormalizeTable)
{
    struct Row {
        const char* typed;
        NumberCheck check;
        const char* number;
    } rows[] = {
        {"  123", NumberCheck::Ok, "0000000000123"},
        {"1234567890123", NumberCheck::Ok, "1234567890123"},
        {"991234567890123", NumberCheck::Ok, "1234567890123"},  // longer: the last 13 digits
        {"", NumberCheck::Empty, ""},
        {"   ", NumberCheck::Empty, ""},
        {"12a", NumberCheck::NotDigits, ""},
        {"-5", NumberCheck::NotDigits, ""},
        {"000", NumberCheck::Zero, "0000000000000"},
        {"10000000000000", NumberCheck::Zero, "0000000000000"},  // 14 digits whose last 13 are zero
    };
    for (const Row& r : rows) {
        TypedNumber t = NormalizeGameNumber(r.typed);
        EXPECT_EQ(t.check, r.check) << r.typed;
        EXPECT_EQ(t.number, r.number) << r.typed;
    }
}

// A game log line as the statistics writer lays it out.
std::string logLine(const std::string& date, const std::string& time, const std::string& game,
                    const std::string& player, bool won, const std::string& number)
{
    auto pad = [](std::string s, std::size_t w) {
        s.resize(w, ' ');
        return s;
    };
    std::string s = pad(date, 8) + " " + pad(time, 8) + " 000100 0005 " + pad(game, 50) + " " + pad(player, 30) + " " +
                    (won ? "Won  " : "Lost ") + "01 000000 " + pad(number, 15) + " 1.00";
    return s;
}

TEST(GameLog, LostDealsDropWonNumbersAndKeepOneEntryEach)
{
    std::vector<std::string> log = {
        logLine("20260101", "10:00:00", "Klondike", "Ann", false, "0000000000111"),
        logLine("20260102", "10:00:00", "Klondike", "Ann", true, "0000000000111"),  // won once: dropped
        logLine("20260103", "10:00:00", "Klondike", "Bob", false, "0000000000111"),
        logLine("20260104", "09:00:00", "Klondike", "Bob", false, "0000000000222"),
        logLine("20260105", "09:00:00", "Klondike", "Ann", false, "0000000000222"),  // lost twice: once
        logLine("20260106", "09:00:00", "Spider", "Ann", false, "0000000000333"),    // another game
        logLine("20260107", "08:00:00", "Klondike", "Ann", false, "0000000000444"),
    };
    auto lost = LostDeals(log, "Klondike");
    ASSERT_EQ(lost.size(), 2u);
    EXPECT_EQ(lost[0].gameNumber, "0000000000444");  // newest first
    EXPECT_EQ(lost[1].gameNumber, "0000000000222");
    EXPECT_EQ(lost[1].player, "Ann");  // first by player, then date
    EXPECT_EQ(lost[1].date, "20260105");
    EXPECT_TRUE(LostDeals(log, "Yukon").empty());
}

TEST(GameLog, PreviousGamesNewestHundred)
{
    std::vector<std::string> log;
    for (int i = 0; i < 150; ++i)
        log.push_back(logLine("20260101", "10:00:00", "Game " + std::to_string(i), "Ann", i % 2 == 0,
                              std::to_string(1000 + i)));
    auto prev = PreviousGames(log);
    ASSERT_EQ(prev.size(), 100u);
    EXPECT_EQ(prev.front().gameName, "Game 149");
    EXPECT_EQ(prev.front().gameNumber, "1149");
    EXPECT_FALSE(prev.front().won);
    EXPECT_EQ(prev.back().gameName, "Game 50");
    EXPECT_TRUE(prev.back().won);
    EXPECT_EQ(prev.back().player, "Ann");
}

TEST(GameLog, DateValidity)
{
    for (auto [d, ok] : {std::pair{"20240229", true}, {"20230229", false}, {"20231301", false}, {"2023010", false},
                         {"        ", false}, {"20231231", true}})
        EXPECT_EQ(IsValidLogDate(d), ok) << d;
}

GameList listOf(std::vector<std::pair<int, int>> idAndType)
{
    GameList list;
    for (auto [id, type] : idAndType) {
        GameEntry e;
        e.id = id;
        e.type = type;
        e.name = "Game " + std::to_string(id);
        e.usable = true;
        list.append(e);
    }
    return list;
}

TEST(RandomGame, EveryListedGameCanBeDrawnAndSourcesFilter)
{
    GameList list = listOf({{0, 5}, {1, 8}, {2, 5}, {7, 4}});
    auto last = [](int n) { return n - 1; };
    auto first = [](int) { return 0; };
    struct Row {
        const char* name;
        int source;
        std::vector<int> favorites;
        DrawFunction draw;
        int expected;
    } rows[] = {
        {"all games reach the last row", kRandomFromAllGames, {}, last, 7},
        {"all games, first", kRandomFromAllGames, {}, first, 0},
        {"type 5, last of its games", RandomFromType(5), {}, last, 2},
        {"type without games gives -1", RandomFromType(27), {}, last, -1},
        {"favorites", kRandomFromFavorites, {8001, 1}, last, 1},
        {"no favorites", kRandomFromFavorites, {}, last, -1},
    };
    for (const Row& r : rows) EXPECT_EQ(DrawRandomGame(r.source, list, r.favorites, r.draw), r.expected) << r.name;
    EXPECT_EQ(RandomCandidates(kRandomFromAllGames, list, {}), (std::vector<int>{0, 1, 2, 7}));
    // Custom games: never among all games, the only games of their own type.
    const std::vector<int> customs{8000, 8003};
    EXPECT_EQ(RandomCandidates(kRandomFromAllGames, list, {}, customs), (std::vector<int>{0, 1, 2, 7}));
    EXPECT_EQ(DrawRandomGame(RandomFromType(kCustomGameType), list, {}, last, customs), 8003);
    EXPECT_EQ(DrawRandomGame(RandomFromType(kCustomGameType), list, {}, last, {}), -1);
}

} // namespace
} // namespace cw::catalog
