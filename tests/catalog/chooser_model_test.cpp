// The chooser's model: folders and their games, the description panel's texts, and preview lines.
#include "catalog/chooser.h"
#include "catalog/definitions.h"
#include "catalog/game_list.h"

#include <gtest/gtest.h>

namespace cw::catalog {
namespace {

struct Fixture {
    std::string defs;
    GameList list;
    ChooserCatalog cat;
};

// Four listed games with their features; one custom game based on "Canfield".
Fixture makeFixture()
{
    struct G {
        int id, type;
        const char* name;
        int time, diff, skill, chance, x, y, cards, deals;
        bool isNew;
    } games[] = {
        {0, 5, "Klondike", 1, 1, 2, 3, 123, 1000, 52, 4, false},
        {2, 2, "canfield", 2, 0, 4, 4, 0, 0, 52, -1, true},
        {18, 8, "Spider", 0, 2, 0, 1, 1, 3, 104, 0, false},
        {7, 8, "Arachnid", 0, 2, 1, 0, 2, 3, 104, 1, true},
    };
    std::vector<DefinitionGame> defs;
    for (const G& g : games) {
        DefinitionGame d;
        d.id = g.id;
        d.type = g.type;
        d.name = g.name;
        d.newGame = g.isNew;
        d.rules.set(497, short(g.time));
        d.rules.set(498, short(g.diff));
        d.rules.set(499, short(g.skill));
        d.rules.set(500, short(g.chance));
        d.rules.set(501, short(g.x));
        d.rules.set(502, short(g.y));
        d.rules.set(378, short(g.cards));
        d.rules.set(16, short(g.deals));
        defs.push_back(d);
    }
    Fixture f;
    f.defs = writeDefinitions(defs, {{18, 0}, {7}, {}}).value();
    f.list = BuildGameList(f.defs).list;
    std::vector<CustomGame> customs = {CustomGame{8000, "My Canfield", 2, "00000300000000000", 0}};
    auto cat = LoadChooserCatalog(f.defs, f.list, customs);
    EXPECT_TRUE(cat.ok()) << cat.error();
    f.cat = std::move(cat.value());
    return f;
}

TEST(ChooserFolders, GroupsViewTreeAndFolderContents)
{
    Fixture f = makeFixture();
    f.cat.list = &f.list;
    auto folders = GroupsViewFolders("1.0");
    ASSERT_EQ(folders.size(), 5u);
    EXPECT_EQ(folders[0].caption, "Customized games");
    EXPECT_EQ(folders[1].subfolders.size(), 26u);
    EXPECT_EQ(folders[1].subfolders.front().caption, "Adding games type");
    EXPECT_EQ(folders[1].subfolders.back().number, -202160);
    EXPECT_EQ(folders[2].subfolders[2].subfolders.front().caption, "Chance only");
    EXPECT_EQ(folders[4].caption, "New games (vers.1.0)");

    struct Row {
        int folder;
        std::vector<int> ids;
    } rows[] = {
        {kFolderSpider, {7, 18}},           // sorted by name: Arachnid, Spider
        {-202010, {2}},                     // Canfield type
        {kFolderCustomGames, {8000}},
        {kFolderNewGames, {7, 2}},          // Arachnid, canfield (case ignored)
        {-203030, {7, 18}},                 // long
        {-203010, {2}},                     // quick
        {-205050, {2}},                     // chance only
        {-206050, {7}},                     // very high chance
        {-209010, {7}},                     // [SectO]
        {-209020, {}},                      // [SectK] empty
        {kFolderGameType, {}},              // holds only sub-folders
    };
    for (const Row& r : rows) EXPECT_EQ(FolderGames(f.cat, r.folder), r.ids) << r.folder;
    EXPECT_EQ(AllGamesSorted(f.cat), (std::vector<int>{7, 2, 0, 8000, 18}));
    EXPECT_EQ(SelectedGamesSorted(f.cat), (std::vector<int>{0, 18}));
    EXPECT_EQ(LastPlayedSorted(f.cat, {18, 555, 0}), (std::vector<int>{0, 18}));  // 555 has no name
    EXPECT_EQ(HomeFolderOf(f.cat, 18), kFolderSpider);
    EXPECT_EQ(HomeFolderOf(f.cat, 8000), kFolderCustomGames);
}

TEST(ChooserDescription, FeatureTextsTable)
{
    Fixture f = makeFixture();
    f.cat.list = &f.list;
    struct Row {
        int id;
        const char* time;
        const char* diff;
        const char* chance;
        const char* skill;
        const char* decks;
        const char* redeals;
        int previewId;
    } rows[] = {
        {0, "Medium", "Medium", "Low (123 in 1000  -  12.3%)", "Moderate", "1", "3", 0},
        {2, "Quick", "Easy", "Very low", "Chance only", "1", "Unlimited", 2},  // 502 = 0: the word only
        {18, "Long", "Hard", "High (1 in 3  -  33.3%)", "Difficult", "2", "0", 18},
        {7, "Long", "Hard", "Very high (2 in 3  -  66.7%)", "Mostly skill", "2", "0", 7},  // 16 = 1: 0 redeals
        {8000, "Customized game", "Customized game", "Customized game", "Customized game", "1", "2", 2},
    };
    for (const Row& r : rows) {
        auto d = DescribeGame(f.defs, f.cat, r.id);
        ASSERT_TRUE(d.ok()) << d.error();
        EXPECT_EQ(d->gameTime.text, r.time) << r.id;
        EXPECT_EQ(d->difficulty.text, r.diff) << r.id;
        EXPECT_EQ(d->chance.text, r.chance) << r.id;
        EXPECT_EQ(d->skill.text, r.skill) << r.id;
        EXPECT_EQ(d->decks, r.decks) << r.id;
        EXPECT_EQ(d->redeals, r.redeals) << r.id;
        EXPECT_EQ(d->previewId, r.previewId) << r.id;
    }
    EXPECT_EQ(DescribeGame(f.defs, f.cat, 0)->chance.picture, "PROG_CHAN_LOW");
    EXPECT_EQ(DescribeGame(f.defs, f.cat, 8000)->skill.picture, "PROG_DISABLED");
    EXPECT_FALSE(DescribeGame(f.defs, f.cat, 99).ok());
    EXPECT_EQ(WinningSampleText(1, 2), " (1 in 2  -  50%)");
    EXPECT_EQ(WinningSampleText(1, 200), " (1 in 200  -  0.5%)");
}

TEST(ChooserDescription, UndecidedDealsNamedAboveOneInTwenty)
{
    std::vector<DefinitionGame> defs;
    for (int undecided : {10, 11, 0}) {
        DefinitionGame d;
        d.id = int(defs.size());
        d.type = 5;
        d.name = "Game " + std::to_string(undecided);
        d.rules.set(500, 1);
        d.rules.set(501, 150);
        d.rules.set(502, 200);
        d.rules.set(489, short(undecided));
        defs.push_back(d);
    }
    const std::string text = writeDefinitions(defs, {}).value();
    const GameList list = BuildGameList(text).list;
    auto cat = LoadChooserCatalog(text, list, {});
    ASSERT_TRUE(cat.ok()) << cat.error();
    EXPECT_EQ(DescribeGame(text, *cat, 0)->chance.text, "High (150 in 200  -  75%)") << "10 of 200 is not above 5%";
    EXPECT_EQ(DescribeGame(text, *cat, 1)->chance.text, "High (150 in 200  -  75%) (11 undecided)");
    EXPECT_EQ(DescribeGame(text, *cat, 2)->chance.text, "High (150 in 200  -  75%)");
}

TEST(GamesLikeThis, OwnTypeFirstThenNearestRulesThenName)
{
    // Game 10 is a Klondike-type game; 11 and 12 differ from it in one rule each (11 in a stronger
    // one), 13 in two; 14 equals 12 in rules and sorts after it by name; 20 has 10's rules but is
    // of another type; 30 is hidden and never offered.
    struct G {
        int id, type;
        const char* name;
        int tableauRule, emptyRule, deals;
        bool hidden;
    } games[] = {
        {10, 5, "Target", 3, 13, -1, false},          {11, 5, "Other building", 0, 13, -1, false},
        {12, 5, "Bravo one pass", 3, 13, 1, false},   {13, 5, "Two apart", 0, -1, -1, false},
        {14, 5, "Charlie one pass", 3, 13, 1, false}, {20, 4, "Same rules, other type", 3, 13, -1, false},
        {30, 5, "Hidden twin", 3, 13, -1, true},
    };
    std::vector<DefinitionGame> defs;
    for (const G& g : games) {
        DefinitionGame d;
        d.id = g.id;
        d.type = g.type;
        d.name = g.name;
        d.hidden = g.hidden;
        d.rules.set(378, 52);
        d.rules.set(375, 7);
        d.rules.set(215, short(g.tableauRule));
        d.rules.set(135, short(g.emptyRule));
        d.rules.set(16, short(g.deals));
        defs.push_back(d);
    }
    const std::string text = writeDefinitions(defs, {}).value();
    const GameList list = BuildGameList(text).list;
    auto cat = LoadChooserCatalog(text, list, {CustomGame{8000, "My Target", 10, "00000300000000000", 0}});
    ASSERT_TRUE(cat.ok()) << cat.error();
    auto sketches = LoadRuleSketches(text, list);
    ASSERT_TRUE(sketches.ok()) << sketches.error();

    EXPECT_EQ(GamesLikeThis(*cat, *sketches, 10), (std::vector<int>{12, 14, 11}));
    EXPECT_EQ(GamesLikeThis(*cat, *sketches, 10, 5), (std::vector<int>{12, 14, 11, 13, 20}))
        << "another type comes only after every game of the own type";
    EXPECT_EQ(GamesLikeThis(*cat, *sketches, 20, 1), (std::vector<int>{10})) << "alone in its type: nearest rules";
    EXPECT_EQ(GamesLikeThis(*cat, *sketches, 8000), (std::vector<int>{10, 12, 14})) << "a custom game: its base first";
    EXPECT_TRUE(GamesLikeThis(*cat, *sketches, 30).empty()) << "a hidden game has no sketch";
    EXPECT_TRUE(GamesLikeThis(*cat, *sketches, 8001).empty()) << "an unknown custom game";
    EXPECT_TRUE(GamesLikeThis(*cat, *sketches, 10, 0).empty());
}

TEST(PreviewLines, KeyedShiftRoundTripAndGroups)
{
    std::string plain = FormatPreviewLine(18, {{1, 0, 0}, {70, 27, 40}, {52, 999, 5}});
    EXPECT_EQ(plain, "0018001000000070027040052999005");
    std::string stored = EncodePreviewLine(plain);
    EXPECT_NE(stored, plain);
    EXPECT_EQ(stored.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(DecodePreviewLine(stored), plain);
    // Character i shifts by key character i mod 10.
    EXPECT_EQ(static_cast<unsigned char>(stored[10]), static_cast<unsigned char>(plain[10] + kPreviewKey[0]));
    auto pics = ParsePreviewLine(plain);
    ASSERT_EQ(pics.size(), 3u);
    EXPECT_EQ(pics[1].picture, 70);
    EXPECT_EQ(pics[1].x, 27);
    EXPECT_EQ(pics[1].y, 40);
    EXPECT_TRUE(ParsePreviewLine("0018").empty());
    EXPECT_EQ(ParsePreviewLine("0018001000000x7").size(), 1u);  // a broken or short group ends the list
    EXPECT_TRUE(NameMatches("Klondike (3 cards)", "DIKE"));
    EXPECT_FALSE(NameMatches("Spider", "x"));
}

} // namespace
} // namespace cw::catalog
