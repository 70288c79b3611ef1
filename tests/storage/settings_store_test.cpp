// Tests of the settings store columns and of loading the preferences from the settings file.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "storage/fixed_width.h"
#include "storage/preferences.h"
#include "storage/settings_store.h"
#include "temp_dir.h"

namespace cw::storage {
namespace {

using test::TempDir;

TEST(SettingsStore, SetAndGet) {
    struct Row { int column; int width; std::string text; const char* expected; };
    const Row rows[] = {
        {77, 30, "  Anna", "Anna"},        // leading blanks removed, padded
        {62, 4, "12345", "1234"},          // cut to the width
        {189, 50, "Spider  ", "Spider"},   // trailing blanks never come back
        {122, 6, "", ""},
        {251, 1, "Y", "Y"},                // first column of segment two
        {499, 1, "Z", "Z"},                // last column of segment two
        {501, 3, "abc", "abc"},            // first column of segment three
        {701, 200, std::string(250, 'p'), nullptr},
    };
    for (const auto& r : rows) {
        SettingsStore s;
        s.setSetting(r.column, r.width, r.text);
        std::string expected = r.expected ? r.expected : std::string(size_t(r.width), 'p');
        EXPECT_EQ(s.getSetting(r.column, r.width), expected) << r.column;
    }
}

// A field's width counts characters: a 30-character name with accents keeps every letter, and its
// neighbours stay where they are.
TEST(SettingsStore, WidthsCountCharacters) {
    SettingsStore s;
    std::string name;
    for (int i = 0; i < 16; ++i) name += "\u00c9";
    s.set(col::SessionWon, "0007");
    s.set(col::Player, name);
    EXPECT_EQ(s.get(col::Player), name);
    EXPECT_EQ(s.get(col::SessionWon), "0007");
    std::string thirtyOne;
    for (int i = 0; i < 31; ++i) thirtyOne += "\u00e9";
    s.set(col::Player, thirtyOne);
    EXPECT_EQ(textLength(s.get(col::Player)), 30u);
    EXPECT_EQ(s.get(col::SessionWon), "0007");
}

TEST(SettingsStore, FieldsDoNotDisturbNeighboursAndSegmentsAreSeparate) {
    SettingsStore s;
    s.set(col::Player, "  Anna");
    EXPECT_EQ(s.getSetting(77, 31), "Anna") << "the name is followed by 26 blanks";
    s.set(col::GameId, "0018");
    s.set(col::ShowTime, "N");
    s.set(col::GameId, "7");
    EXPECT_EQ(s.get(col::GameId), "7");
    EXPECT_EQ(s.get(col::ShowTime), "N");
    EXPECT_EQ(s.get(col::Language), "") << "never written";
    s.set(col::DoubleClickToTableaus, "Y");  // column 251: segment two, position one
    EXPECT_EQ(s.getSetting(1, 1), "C") << "segment one untouched";
    EXPECT_EQ(s.getSetting(501, 1), "") << "segment three untouched";
}

TEST(SettingsStore, ColumnsThatAddressNothing) {
    SettingsStore s;
    for (int column : {0, -5, 250, 500, 1000, 5000}) {
        s.setSetting(column, 3, "abc");
        EXPECT_EQ(s.getSetting(column, 3), "") << column;
    }
    for (int column = 8; column < 1000; ++column) EXPECT_EQ(s.getSetting(column, 1), "") << column;
}

TEST(SettingsStore, LongFieldLengthensSegmentAndResetRestores) {
    SettingsStore s;
    std::string path = "/tmp/~so" + std::string(250, 'b');
    s.set(col::BookmarkPath, path);
    EXPECT_EQ(s.get(col::BookmarkPath), path.substr(0, 200));
    EXPECT_EQ(s.getSetting(900, 5), "b") << "the last column of the lengthened segment";
    s.set(col::Score, "000120");
    s.resetSettingsStore();
    EXPECT_EQ(s.get(col::SettingsFileName), "Cfg.dat");
    EXPECT_EQ(s.get(col::Score), "");
    EXPECT_EQ(s.get(col::BookmarkPath), "");
}

TEST(SettingsStore, MapFieldsStayInsideTheirSegmentAndNeverOverlap) {
    const Field fields[] = {col::SettingsFileName, col::BackCard, col::Card, col::BackgroundDef, col::BackgroundCol,
        col::BackgroundBmp, col::BackgroundFixedCol, col::GameId, col::ShowTime, col::CardsAnimate, col::Language,
        col::SpeedMoveCard, col::Player, col::SessionWon, col::SessionLost, col::ScoringCode, col::Score,
        col::CardSize, col::SavedCard, col::FadeBackground, col::ShowScore, col::UndoEnabled, col::UndoMark,
        col::RedoMark, col::SoundsEnabled, col::GameNumber, col::GameName, col::SavedCardSize,
        col::SavedCustomizedCardsSet, col::SavedAdditionalCardsSet, col::BookmarkPath};
    std::set<int> used;
    for (Field f : fields) {
        for (int c = f.column; c < f.column + f.width; ++c) {
            EXPECT_TRUE(used.insert(c).second) << "column " << c << " used twice";
            if (f.column < 250) {
                EXPECT_LT(c, 250) << f.column;
            }
        }
    }
    for (const auto& row : preferenceRows())
        for (int c = row.field.column; c < row.field.column + row.field.width; ++c)
            used.insert(c);
    EXPECT_EQ(used.count(250), 0u);
}

// The value of every keyed field after loading from a missing settings file.
const std::map<std::string, std::string> kDefaults = {
    {"Back_Card", "011"}, {"Card", "001"}, {"Background_def", "N"}, {"Background_Col", "-2147483633"},
    {"Background_bmp", "0"}, {"Background_Fixed_Col", "32768"}, {"Game", "0018"}, {"Show_Time", "Y"},
    {"Cards_Animate", "Y"}, {"Language", "20000"}, {"Speed_Move_Card", "10"}, {"UserDefault", "Player 1"},
    {"Card_Size", "B"}, {"Fade_Background", "Y"}, {"Show_Score", "Y"}, {"Undo_Enabled", "0"},
    {"Sounds_Enabled", "Y"}, {"Sounds_About", "Y"}, {"Sounds_Autoplay", "Y"}, {"Sounds_GameWon", "Y"},
    {"Sounds_NewGame", "N"}, {"Sounds_Redo", "Y"}, {"Sounds_Restart", "Y"}, {"Sounds_Splash", "Y"},
    {"Sounds_Shuffle", "Y"}, {"Sounds_Undo", "Y"}, {"Random_Background", "N"}, {"Sounds_HiScores", "Y"},
    {"Cursor", "10"}, {"Sounds_NewHiScores", "Y"}, {"Sounds_Pairing", "Y"}, {"Sounds_Stock", "Y"},
    {"Sounds_Tableau", "Y"}, {"Cards_Shadowed", "Y"}, {"Piles_TT", "N"}, {"Sounds_FaceUp", "Y"},
    {"Sounds_CardDown", "Y"}, {"Sounds_CardUp", "Y"}, {"Sounds_Redeal", "Y"}, {"Sounds_Foundation", "Y"},
    {"ConfirmQuitGame", "N"}, {"ConfirmEnterHiScores", "Y"}, {"Random_Card", "N"}, {"Random_Deck", "N"},
    {"Game_name", "Spider"}, {"Automatic_FaceUp", "Y"}, {"Deal_Animation", "Y"}, {"Redeal_Animation", "Y"},
    {"VertScrollBar", "Y"}, {"Show_ToolTips", "Y"}, {"ShowPilesSize", "N"}, {"Customized_Background", "N"},
    {"RightClick_To_Foundations", "Y"}, {"RightClick_To_Tableaus", "Y"}, {"DoubleClick_To_Foundations", "Y"},
    {"DoubleClick_To_Tableaus", "N"}, {"Sounds_Redeal_Without_Animation", "Y"}, {"Show_Main_Popup_Menu", "Y"},
    {"Show_Partial_Hidden_Card", "Y"}, {"Customized_Deck", "N"}, {"Customized_Cards_Set", "N"},
    {"Additional_Cards_Set", "N"}, {"Additional_Deck", "N"}, {"Additional_Background", "N"},
};

TEST(Preferences, MissingSettingsFileGivesEveryDefault) {
    TempDir dir;
    SettingsStore store;
    store.set(col::ScoringCode, "07");
    IniFile ini = openSettingsFile(store, dir.folder());
    GamePreferences gp = loadPreferences(store, ini);
    ASSERT_EQ(preferenceRows().size(), kDefaults.size());
    for (const auto& row : preferenceRows()) {
        ASSERT_TRUE(kDefaults.count(row.key)) << row.key;
        EXPECT_EQ(store.get(row.field), kDefaults.at(row.key)) << row.key;
    }
    EXPECT_EQ(store.get(col::ScoringCode), "01");
    EXPECT_EQ(store.get(col::SessionWon), "0000");
    EXPECT_EQ(store.get(col::SessionLost), "0000");
    EXPECT_EQ(dir.read("Cfg.dat"),
              "[Preference]\r\nUserDefault=Player 1\r\n"
              "[Users]\r\nUser001=Player 1\r\nUser002=Player 2\r\nUser003=Player 3\r\n");
    GamePreferences def;
    EXPECT_EQ(gp.fastSearchType, def.fastSearchType);
    EXPECT_EQ(gp.randomGameType, 2);
    EXPECT_EQ(gp.autoPlayAllGames, 1);
    EXPECT_EQ(gp.highlightFoundationsMark, 0);
    EXPECT_FALSE(gp.disableStatistics);
    EXPECT_TRUE(gp.moveCardsDragAndDrop);

    SettingsStore low;
    loadPreferences(low, ini, /*lowColourDisplay=*/true);
    EXPECT_EQ(low.get(col::Card), "003");
}

TEST(Preferences, ValuesAndSpecialRules) {
    TempDir dir;
    dir.write("cfg.DAT",
              "[PREFERENCE]\r\n"
              "Back_Card=0\r\nCard=5\r\nBackground_Col=0\r\nBackground_bmp=\r\nBackground_Fixed_Col=255\r\n"
              "Game=-1\r\nCards_Animate=N\r\nLanguage=x12\r\nUserDefault=  Zoe\r\nShow_Main_PopUp_Menu=N\r\n"
              "Background_Def=Y\r\nGame_name=" + std::string(60, 'G') + "\r\nCustomized_Deck=C:/my deck.bmp\r\n"
              "Additional_Background= \r\nDisable_Statistics=Y\r\nMove_Cards_DragAndDrop=N\r\n"
              "AutoPlay_All_Games=0\r\nHighLights_Foundations_Mark=2\r\n"
              "[Settings]\r\nGames_Fast_Search_Type=3\r\nRandom_Game_Type=1\r\n");
    SettingsStore store;
    IniFile ini = openSettingsFile(store, dir.folder());
    GamePreferences gp = loadPreferences(store, ini);
    struct Row { Field field; std::string expected; };
    const Row rows[] = {
        {col::BackCard, "001"}, {col::Card, "005"}, {col::BackgroundCol, "-2147483633"}, {col::BackgroundBmp, "0"},
        {col::BackgroundFixedCol, "255"}, {col::GameId, "-001"}, {col::CardsAnimate, "N"},
        {col::CardsShadowed, "N"},  // follows Cards_Animate when absent
        {col::Language, "20000"}, {col::Player, "Zoe"}, {col::ShowMainPopupMenu, "N"}, {col::BackgroundDef, "Y"},
        {col::GameName, std::string(50, 'G')}, {col::CustomizedDeck, "Y"}, {col::AdditionalBackground, "N"},
    };
    for (const auto& r : rows) EXPECT_EQ(store.get(r.field), r.expected) << r.field.column;
    EXPECT_FALSE(ini.hasSection("Users")) << "a player is set: no default players written";
    EXPECT_EQ(gp.fastSearchType, 3);
    EXPECT_EQ(gp.randomGameType, 1);
    EXPECT_EQ(gp.autoPlayAllGames, 0);
    EXPECT_EQ(gp.highlightFoundationsMark, 2);
    EXPECT_TRUE(gp.disableStatistics);
    EXPECT_FALSE(gp.moveCardsDragAndDrop);
}

TEST(Preferences, DamagedSettingsFileGivesDefaults) {
    TempDir dir;
    dir.write("Cfg.dat", std::string("\0\xff[Preference\r\nGame=\0\0\r\n\x1b[Preference]Card=9", 40));
    SettingsStore store;
    IniFile ini = openSettingsFile(store, dir.folder());
    loadPreferences(store, ini);
    EXPECT_EQ(store.get(col::GameId), "0018");
    EXPECT_EQ(store.get(col::Card), "001");
    EXPECT_EQ(store.get(col::Player), "Player 1");
}

}  // namespace
}  // namespace cw::storage
