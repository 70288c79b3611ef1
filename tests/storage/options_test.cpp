// Tests of the options dialogs' copy of the preferences, its checks of stored values and the random look lists.
#include <gtest/gtest.h>

#include "storage/ini_file.h"
#include "storage/options.h"
#include "storage/random_look.h"
#include "storage/safe_file.h"
#include "temp_dir.h"

namespace cw::storage {
namespace {

using test::TempDir;

TEST(Options, ReadTakesColumnsForRunValuesAndTheFileForTheRest)
{
    TempDir dir;
    IniFile ini(dir.write("Cfg.dat", "[Preference]\r\nCard=7\r\nToolBar_Large=N\r\nCustomized_Deck=Oak\r\n"
                                     "Show_Time=N\r\n"));
    SettingsStore store;
    loadPreferences(store, ini);
    store.set(col::ShowTime, "Y"); // changed during the run (the time panel's pop-up)
    const Options o = readOptions(ini, store);
    EXPECT_EQ(o.get("Card"), "7") << "zero-padded column read as a plain number";
    EXPECT_EQ(o.get("Show_Time"), "Y") << "the store holds the value in force";
    EXPECT_EQ(o.get("ToolBar_Large"), "N") << "a key without a column comes from the file";
    EXPECT_EQ(o.get("Statusbar"), "Y") << "missing key: its default";
    EXPECT_EQ(o.get("Customized_Deck"), "Oak") << "names come from the file, not the Y/N column";
    EXPECT_EQ(o.get("Winning_Animations"), "(Random)");
}

TEST(Options, WriteSetsEveryKeyAndItsMirror)
{
    TempDir dir;
    IniFile ini(dir.file("Cfg.dat"));
    SettingsStore store;
    Options o;
    o.set("Card", "3");
    o.set("Back_Card", "5");
    o.set("Speed_Move_Card", "0");
    o.set("Customized_Cards_Set", "Mine");
    o.set("Customized_Deck", "");
    o.set("ToolBar_Large", "N");
    o.set("Show_Main_PopUp_Menu", "N"); // another spelling of the column's key
    writeOptions(ini, store, o);
    EXPECT_EQ(store.get(col::Card), "003");
    EXPECT_EQ(store.get(col::BackCard), "005");
    EXPECT_EQ(store.get(col::SpeedMoveCard), "0");
    EXPECT_EQ(store.get(col::CustomizedCardsSet), "Y");
    EXPECT_EQ(store.get(col::CustomizedDeck), "N");
    EXPECT_EQ(store.get(col::ShowMainPopupMenu), "N");
    EXPECT_EQ(ini.readString("Preference", "Card", ""), "3");
    EXPECT_EQ(ini.readString("Preference", "Customized_Cards_Set", ""), "Mine");
    EXPECT_TRUE(ini.hasKey("Preference", "Customized_Deck")) << "an empty value is written too";
    EXPECT_EQ(ini.readString("Preference", "ToolBar_Large", ""), "N");
    EXPECT_EQ(readOptions(ini, store).get("Card"), "3");
}

TEST(Options, UnwritableFileStillUpdatesTheStoreAndReports)
{
    TempDir dir;
    IniFile ini(dir.file("missing-folder/Cfg.dat"));
    SettingsStore store;
    Options o;
    o.set("Card", "2");
    o.set("Show_Score", "N");
    EXPECT_THROW(writeOptions(ini, store, o), FileError);
    EXPECT_EQ(store.get(col::Card), "002");
    EXPECT_EQ(store.get(col::ShowScore), "N");
}

TEST(Options, StoredValuesOutOfRangeGiveTheDefault)
{
    // Speed: the five track bar positions; anything else the default's position.
    struct SpeedRow {
        const char* stored;
        int position;
    };
    for (const SpeedRow& r :
         {SpeedRow{"50", 1}, {"25", 2}, {"10", 3}, {"3", 4}, {"0", 5}, {"7", 3}, {"", 3}, {"abc", 3}, {"-3", 3}})
        EXPECT_EQ(speedPosition(r.stored), r.position) << r.stored;
    EXPECT_EQ(speedForPosition(5), "0");
    EXPECT_EQ(speedForPosition(9), "0") << "clamped";
    EXPECT_EQ(speedForPosition(1), "50");

    EXPECT_EQ(cardSizeLetter("s"), 'S');
    EXPECT_EQ(cardSizeLetter("Q"), 'B');
    EXPECT_EQ(cardSizeLetter("XL"), 'B');
    EXPECT_EQ(winningAnimationName("circles"), "Circles");
    EXPECT_EQ(winningAnimationName("Fireworks"), "(Random)");
    EXPECT_EQ(winningAnimationSeconds("abc"), 30);
    EXPECT_EQ(winningAnimationSeconds("5000"), 990);
    EXPECT_EQ(winningAnimationSeconds("-4"), 0);
    EXPECT_EQ(undoChoice("2"), 2);
    EXPECT_EQ(undoChoice("1"), 1);
    EXPECT_EQ(undoChoice("9"), 0);
    EXPECT_EQ(cursorChoice("10"), 0);
    EXPECT_EQ(cursorChoice("0"), 1) << "a stored 0 selects \"Arrow large\"";
    EXPECT_EQ(cursorChoice("11"), 1);
    EXPECT_EQ(cursorChoice("15"), 5);
    EXPECT_EQ(cursorChoice("16"), 0);
    EXPECT_EQ(cursorValue(-1), 0) << "nothing selected stores 0";
    EXPECT_EQ(cursorValue(3), 13);
    EXPECT_EQ(boundedInteger("6", 0, 5, 0), 0);
    EXPECT_EQ(boundedInteger("4", 0, 5, 0), 4);

    GamePreferences prefs;
    Options o;
    o.set("AutoPlay_All_Games", "7");
    o.set("HighLights_Foundations_Mark", "3");
    o.set("Disable_Statistics", "Y");
    o.set("Move_Cards_DragAndDrop", "N");
    applyGamePreferences(prefs, o);
    EXPECT_EQ(prefs.autoPlayAllGames, 1);
    EXPECT_EQ(prefs.highlightFoundationsMark, 3);
    EXPECT_TRUE(prefs.disableStatistics);
    EXPECT_FALSE(prefs.moveCardsDragAndDrop);
}

TEST(Options, AutoplayGamesTextPutsEachChoiceAtItsGame)
{
    const std::string text = autoplayGamesText({{12, false}, {0, true}, {400, false}});
    EXPECT_EQ(text.size(), 410u) << "lengthened to id + 10 for a game past the 337 characters";
    EXPECT_EQ(text[12], 'N') << "game 12 at character 13";
    EXPECT_EQ(text[0], 'Y');
    EXPECT_EQ(text[400], 'N');
    EXPECT_EQ(text.find('N', 13), 400u);
}

TEST(RandomLook, ListsRoundTripAndPickOnlyIncludedItemsOfTheSize)
{
    TempDir dir;
    RandomLists lists;
    lists.cards = {{"Classic", true, ' ', 1},
                   {"Mine", true, 'X', kPlayerItemCode},
                   {"Big", false, 'B', -102},
                   {"Small", true, 'M', kPlayerItemCode}};
    lists.decks = {{"Blue lattice", false, ' ', 11}, {"Oak", true, ' ', kPlayerItemCode}};
    lists.backgrounds = {{"Default (green)", true, ' ', 0}, {"Navy", false, ' ', 0x401010}};
    EXPECT_FALSE(randomListsMarked(dir.folder()));
    saveRandomLists(dir.folder(), lists);
    EXPECT_TRUE(randomListsMarked(dir.folder()));
    const std::string text = *readWholeFile(dir.file(kRandomListsFile));
    EXPECT_NE(text.find("[Cards]\r\nClassic=y 001\r\nMine=yX-102\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Decks]\r\nBlue lattice=n 11\r\n"), std::string::npos) << text;
    EXPECT_EQ(readRandomLists(dir.folder()), lists);

    // Size B: the set drawn at any size, never the X or M sheets, never an excluded item.
    for (std::uint32_t r = 0; r < 20; ++r) {
        const RandomItem* pick = pickRandomItem(lists.cards, 'B', r);
        ASSERT_NE(pick, nullptr);
        EXPECT_EQ(pick->name, "Classic");
    }
    int mine = 0;
    for (std::uint32_t r = 0; r < 20; ++r)
        mine += pickRandomItem(lists.cards, 'X', r)->name == "Mine";
    EXPECT_GT(mine, 0);
    EXPECT_LT(mine, 20);
    lists.decks[1].included = false;
    EXPECT_EQ(pickRandomItem(lists.decks, 0, 3), nullptr);

    forgetRandomListsMark(dir.folder());
    EXPECT_FALSE(randomListsMarked(dir.folder()));
}

TEST(RandomLook, DamagedLinesAreSkippedAndMarksFollowNames)
{
    TempDir dir;
    dir.write(kRandomListsFile, "junk\r\n[Cards]\r\n=y 001\r\nNo code=y\r\nGood=yB002\r\nLost line\r\n"
                                "[Decks]\r\nOak=y-102\r\nHuge=y 99999999999\r\n[Other]\r\nX=y 1\r\n");
    const RandomLists lists = readRandomLists(dir.folder());
    ASSERT_EQ(lists.cards.size(), 1u);
    EXPECT_EQ(lists.cards[0], (RandomItem{"Good", true, 'B', 2}));
    ASSERT_EQ(lists.decks.size(), 1u);
    EXPECT_EQ(lists.decks[0], (RandomItem{"Oak", true, ' ', kPlayerItemCode}));
    EXPECT_TRUE(lists.backgrounds.empty());

    std::vector<RandomItem> fresh = {{"good", false, 'B', 2}, {"New", false, ' ', 3}};
    keepRandomMarks(fresh, lists.cards);
    EXPECT_TRUE(fresh[0].included) << "found by name without regard to case";
    EXPECT_FALSE(fresh[1].included);
}

} // namespace
} // namespace cw::storage
