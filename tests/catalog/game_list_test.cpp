// Tests of the game list: building it from [Sect1], lookups by id and name, types, screen check, templates.
#include "catalog/custom_games.h"
#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "fixture_games.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace cw::catalog {
namespace {

using testing::fixtureGames;
using testing::fixturePath;

struct Fixture {
    GameListBuild built;
    std::vector<CustomGame> customs;
};

Fixture loadFixture(const std::string& name = "GAMES.DAT")
{
    auto built = BuildGameListFromFile(fixturePath(name));
    EXPECT_TRUE(built) << built.error();
    return {built ? std::move(*built) : GameListBuild{}, ReadCustomGamesFile(fixturePath("data")).games};
}

TEST(GameList, HiddenRowTakesNoColumn)
{
    Fixture f = loadFixture();
    const GameList& list = f.built.list;
    EXPECT_TRUE(f.built.warnings.empty());
    ASSERT_EQ(list.size(), 3);

    struct Case {
        int id;
        int column;
        int type;
        std::string name;
    };
    const Case cases[] = {
        {0, 0, 5, "Klondike"},
        {1, 1, 8, "Spider"},
        {2, -1, -1, ""},          // hidden
        {3, 2, 4, "FreeCell"},    // found by the search at index 2
        {4, -1, -1, ""},
        {-1, -1, -1, ""},
        {8000, -1, 800, "My Klondike"},
        {8004, -1, 800, ""},      // custom type even without a record
        {7999, -1, -1, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GameColumn(list, c.id), c.column) << c.id;
        EXPECT_EQ(GameType(list, c.id), c.type) << c.id;
        EXPECT_EQ(GameName(list, f.customs, c.id), c.name) << c.id;
    }
    EXPECT_TRUE(IsLargeScreenGame(list, 1));
    EXPECT_TRUE(IsNewGame(list, 1));
    EXPECT_FALSE(IsLargeScreenGame(list, 0));
    EXPECT_FALSE(IsNewGame(list, 3));
    EXPECT_FALSE(IsNewGame(list, 2));
}

TEST(GameList, RowOfTheIdFirstThenSearch)
{
    // Ids listed out of order: 1, 0, 1 (repeated), 5.
    std::vector<DefinitionGame> games(4);
    const int ids[] = {1, 0, 1, 5};
    for (int i = 0; i < 4; ++i) {
        games[i].id = ids[i];
        games[i].type = 2 + i;
        games[i].name = "Game " + std::to_string(i);
    }
    auto text = writeDefinitions(games, {});
    ASSERT_TRUE(text);
    GameListBuild b = BuildGameList(*text);
    ASSERT_EQ(b.warnings.size(), 1u);
    EXPECT_EQ(b.warnings[0], "GAMES.DAT, [Sect1], row 3: game id 1 is listed twice, the first row is kept");
    EXPECT_EQ(GameColumn(b.list, 0), 1);
    EXPECT_EQ(GameColumn(b.list, 1), 0);   // row 1 holds id 0, so the search finds row 0
    EXPECT_EQ(GameColumn(b.list, 5), 3);
    EXPECT_EQ(GameName(b.list, {}, 1), "Game 0");
    EXPECT_EQ(GameType(b.list, 1), 2);
    EXPECT_EQ(AllGameNames(b.list, {}), (std::vector<std::string>{"Game 0", "Game 1", "Game 3"}));
}

TEST(GameList, DamagedRowsAreSkippedWithWarningsAndKeepTheirColumn)
{
    {
        Fixture f = loadFixture("short_row.DAT");
        ASSERT_EQ(f.built.warnings.size(), 1u);
        EXPECT_NE(f.built.warnings[0].find("short_row.DAT, [Sect1], row 2: row too short"), std::string::npos);
        EXPECT_EQ(f.built.list.size(), 3);
        EXPECT_EQ(GameColumn(f.built.list, 1), -1);
        EXPECT_EQ(GameColumn(f.built.list, 3), 2);
        EXPECT_EQ(GameName(f.built.list, {}, 0), "Klondike");
    }
    {
        Fixture f = loadFixture("duplicate_id.DAT");
        ASSERT_EQ(f.built.warnings.size(), 1u);
        EXPECT_NE(f.built.warnings[0].find("duplicate_id.DAT, [Sect1], row 4: game id 1 is listed twice"),
                  std::string::npos);
        EXPECT_EQ(GameName(f.built.list, {}, 1), "Spider");
        EXPECT_EQ(GameIdByName(f.built.list, {}, "FreeCell"), -1);
    }
    // Letters where the type and the id belong.
    GameListBuild b = BuildGameList("[Sect1]\r\n" + EncodeDefinitionText("x   000000Bad type") + "\r\n" +
                                    EncodeDefinitionText("5   0x0000Bad id") + "\r\n" +
                                    EncodeDefinitionText("5   002000Good") + "\r\n");
    ASSERT_EQ(b.warnings.size(), 2u);
    EXPECT_EQ(b.warnings[0], "GAMES.DAT, [Sect1], row 1: game type is not a number, skipped");
    EXPECT_EQ(b.warnings[1], "GAMES.DAT, [Sect1], row 2: game id is not a number, skipped");
    EXPECT_EQ(GameColumn(b.list, 2), 2);
    EXPECT_EQ(GameColumn(b.list, 0), -1);

    EXPECT_FALSE(BuildGameListFromFile(fixturePath("NO_SUCH.DAT")));
    EXPECT_EQ(BuildGameList("").list.size(), 0);
}

TEST(GameList, GameIdByName)
{
    Fixture f = loadFixture();
    struct Case {
        std::string name;
        int id;
    };
    const Case cases[] = {
        {"Spider", 1},
        {"SPIDER   ", 1},          // case and trailing blanks ignored
        {" Spider", -1},           // leading blanks count
        {"Hidden Game", -1},
        {"Two Cells", 8002},
        {"MY KLONDIKE", 8003},     // two custom records match: the last wins
        {"Broken Record", -1},     // its id field is not a number
        {"", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GameIdByName(f.built.list, f.customs, c.name), c.id) << "'" << c.name << "'";
}

TEST(GameList, AllGameNamesSortedWithoutRegardToCase)
{
    Fixture f = loadFixture();
    EXPECT_EQ(AllGameNames(f.built.list, f.customs),
              (std::vector<std::string>{"FreeCell", "Klondike", "My Klondike", "my klondike", "Spider", "Two Cells",
                                        "Wide Spider"}));
}

TEST(GameList, TypeCaptionsAndIcons)
{
    EXPECT_EQ(AllGameTypes().size(), 27u);
    for (int type = 2; type <= 27; ++type) {
        EXPECT_FALSE(GameTypeCaption(type).empty()) << type;
        EXPECT_TRUE(GameTypeIcon(type).starts_with("TREE5_")) << type;
    }
    EXPECT_EQ(GameTypeCaption(12), "Baker's Dozen type");
    EXPECT_EQ(GameTypeIcon(9), "TREE5_1DECK_TYPE");
    EXPECT_EQ(GameTypeCaption(800), "Customized games");
    EXPECT_EQ(GameTypeIcon(800), "TREE5_CUSTOMIZED_GAMES");
    EXPECT_EQ(GameTypeIcon(1), "");
    EXPECT_EQ(GameTypeIcon(28), "");
}

TEST(GameList, CanPlayOnThisScreen)
{
    Fixture f = loadFixture();
    struct Case {
        int width;
        int id;
        bool allowed;
        std::string named;
    };
    const Case cases[] = {
        {640, 1, false, "Spider"},
        {649, 1, false, "Spider"},
        {650, 1, true, ""},
        {640, 0, true, ""},
        {640, 8001, false, "Wide Spider"},  // the base game's mark, the custom game's name
        {640, 8000, true, ""},
        {640, 8009, true, ""},
        {640, 77, true, ""},
        {640, -1, true, ""},
    };
    for (const Case& c : cases) {
        ScreenCheck s = CanPlayOnThisScreen(f.built.list, f.customs, c.width, c.id);
        EXPECT_EQ(s.allowed, c.allowed) << c.id << " at " << c.width;
        if (!c.allowed) {
            EXPECT_EQ(s.message, "Your video card's display is 640x480 pixels.\nYou can't play: " + c.named +
                                     "\nPlease set your screen resolution to 800x600 pixels or higher.");
        }
    }
}

TEST(GameList, StartupGameId)
{
    Fixture f = loadFixture();
    const std::pair<int, int> cases[] = {{18, -1}, {2, -1}, {0, 0}, {3, 3}, {-1, -1}, {8000, 8000}, {8009, -1}};
    for (auto [stored, expected] : cases)
        EXPECT_EQ(StartupGameId(f.built.list, f.customs, stored), expected) << stored;
}

TEST(GameList, ExpandProductTemplates)
{
    const std::pair<std::string, std::string> cases[] = {
        {"A&bout [Program]...", "A&bout Cardwise 2002..."},
        {"[Program] and [Program]", "Cardwise 2002 and [Program]"},
        {"[Program_sw] [Program]", "Cardwise 2002 Cardwise 2002"},
        {"[Program_sw] [Program_sw]", "Cardwise 2002 [Program_sw]"},
        {"[program]", "[program]"},
        {"", ""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ExpandProductTemplates(in), out) << in;
}

TEST(CustomGames, Records)
{
    const CustomGamesRead read = ReadCustomGamesFile(fixturePath("data"));
    const std::vector<CustomGame>& customs = read.games;
    ASSERT_EQ(customs.size(), 4u);  // the record with a letter id is left out, and named
    ASSERT_EQ(read.skipped.size(), 1u);
    EXPECT_EQ(read.skipped[0], "record 3 (line 62) \"Broken Record\": the id \"abcd\" is not a number");
    EXPECT_EQ(customs[0].id, 8000);
    EXPECT_EQ(customs[0].name, "My Klondike");
    EXPECT_EQ(customs[0].baseId, 0);
    EXPECT_EQ(customs[0].ruleString, "003-0120100200001");
    EXPECT_EQ(customs[1].ruleString, std::string(17, ' '));
    EXPECT_EQ(customs[2].record, 3);

    EXPECT_EQ(CustomGameRecord(customs, 8002).baseId, 3);
    EXPECT_EQ(CustomGameRecord(customs, 8009).baseId, -1);
    EXPECT_EQ(CustomGameRecord(customs, 8009).ruleString, "");
    EXPECT_EQ(CustomGameName(customs, 8001), "Wide Spider");

    // Missing file: no custom games. A name in other case is found; LF line ends are read too.
    const CustomGamesRead none = ReadCustomGamesFile(fixturePath("no_such_folder"));
    EXPECT_TRUE(none.games.empty());
    EXPECT_TRUE(none.skipped.empty());
    const auto dir = std::filesystem::temp_directory_path() / ("cw_catalog_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        std::ofstream out(dir / "gam_cust.dat", std::ios::binary);
        out << "[R-0301]\n8005Lower Case" << std::string(40, ' ') << "0001\n00200\n";
    }
    auto lower = ReadCustomGamesFile(dir).games;
    std::filesystem::remove_all(dir);
    ASSERT_EQ(lower.size(), 1u);
    EXPECT_EQ(lower[0].id, 8005);
    EXPECT_EQ(lower[0].baseId, 1);
    EXPECT_EQ(lower[0].ruleString, "00200" + std::string(12, ' '));  // a short line ends in blanks

    // Truncated and odd records never crash and never give a built-in id.
    for (std::string text : {std::string("[R-0301]"), std::string("[R-0301]\r\n8000"), std::string("\r\n0018Spider"),
                             std::string("[R-0301]\r\n80x0Name")}) {
        for (const CustomGame& g : ReadCustomGames(text).games)
            EXPECT_GE(g.id, kFirstCustomId);
    }
}

} // namespace
} // namespace cw::catalog
