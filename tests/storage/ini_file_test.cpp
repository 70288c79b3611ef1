// Tests of the settings-file INI reader and writer.
#include <gtest/gtest.h>

#include "storage/ini_file.h"
#include "storage/safe_file.h"
#include "temp_dir.h"

namespace cw::storage {
namespace {

using test::TempDir;

const char* const kCfg =
    "; comment line\r\n"
    "[Preference]\r\n"
    "Show_Main_PopUp_Menu=N\r\n"
    "  Game = 0042  \r\n"
    "Language=abc\r\n"
    "Big=99999999999\r\n"
    "Back_Card=-3\r\n"
    "Empty=\r\n"
    "Sounds_Enabled=n\r\n"
    "novalue\r\n"
    "\r\n"
    "[Users]\n"            // LF-only lines are read too
    "User001=Ann\n"
    "[preference]\r\n"     // a second section of the same name is never read
    "Card=7\r\n";

TEST(IniFile, ReadsWithCaseInsensitiveNamesAndDefaults) {
    TempDir dir;
    IniFile ini(dir.write("Cfg.dat", kCfg));
    struct Row { const char* section; const char* key; const char* def; const char* expected; };
    const Row rows[] = {
        {"Preference", "Show_Main_Popup_Menu", "Y", "N"},
        {"PREFERENCE", "game", "", "0042"},
        {"Preference", "Empty", "d", ""},
        {"Preference", "Missing", "d", "d"},
        {"Preference", "Card", "1", "1"},
        {"Users", "user001", "", "Ann"},
        {"NoSection", "Game", "x", "x"},
        {"Preference", "novalue", "d", "d"},
    };
    for (const auto& r : rows) EXPECT_EQ(ini.readString(r.section, r.key, r.def), r.expected) << r.key;

    EXPECT_EQ(ini.readInteger("Preference", "Game", 18), 42);
    EXPECT_EQ(ini.readInteger("Preference", "Back_Card", 11), -3);
    EXPECT_EQ(ini.readInteger("Preference", "Language", 20000), 20000) << "not an integer";
    EXPECT_EQ(ini.readInteger("Preference", "Big", 5), 5) << "out of range";
    EXPECT_EQ(ini.readInteger("Preference", "Empty", 5), 5);
    EXPECT_FALSE(ini.readBool("Preference", "Sounds_Enabled", true));
    EXPECT_TRUE(ini.readBool("Preference", "Language", true)) << "not a yes/no value";
    EXPECT_EQ(ini.readSectionKeys("preference"),
              (std::vector<std::string>{"Show_Main_PopUp_Menu", "Game", "Language", "Big", "Back_Card", "Empty",
                                        "Sounds_Enabled"}));
    EXPECT_EQ(ini.readSectionValues("Users"), std::vector<std::string>{"User001=Ann"});
    EXPECT_EQ(ini.readSections(), (std::vector<std::string>{"Preference", "Users", "preference"}));
}

TEST(IniFile, MissingFileGivesDefaultsAndFirstWriteCreatesIt) {
    TempDir dir;
    IniFile ini(dir.file("Cfg.dat"));
    EXPECT_EQ(ini.readString("Preference", "Game", "18"), "18");
    EXPECT_TRUE(ini.readSectionKeys("Preference").empty());
    ini.writeInteger("Preference", "Game", 18);
    ini.writeBool("Preference", "Show_Time", false);
    ini.writeString("Users", "User001", "Player 1");
    EXPECT_EQ(dir.read("Cfg.dat"), "[Preference]\r\nGame=18\r\nShow_Time=N\r\n[Users]\r\nUser001=Player 1\r\n");
}

TEST(IniFile, WritesKeepSpellingAndUnrelatedLines) {
    TempDir dir;
    IniFile ini(dir.write("Cfg.dat", kCfg));
    ini.writeString("preference", "show_main_popup_menu", "Y");  // existing key: spelling kept
    ini.writeString("PREFERENCE", "New_Key", "v");                // new key: after the last line of the section
    ini.writeString("Users", "User001", "Bob\r\n[Preference]");   // line breaks cannot inject lines
    std::string expected =
        "; comment line\r\n"
        "[Preference]\r\n"
        "Show_Main_PopUp_Menu=Y\r\n"
        "  Game = 0042  \r\n"
        "Language=abc\r\n"
        "Big=99999999999\r\n"
        "Back_Card=-3\r\n"
        "Empty=\r\n"
        "Sounds_Enabled=n\r\n"
        "novalue\r\n"
        "New_Key=v\r\n"
        "\r\n"
        "[Users]\r\n"
        "User001=Bob  [Preference]\r\n"
        "[preference]\r\n"
        "Card=7\r\n";
    EXPECT_EQ(dir.read("Cfg.dat"), expected);

    ini.deleteKey("PREFERENCE", "GAME");
    EXPECT_EQ(ini.readString("Preference", "Game", "gone"), "gone");
    ini.eraseSection("preference");
    EXPECT_EQ(ini.readSections(), std::vector<std::string>{"Users"}) << "every section of that name goes";
    EXPECT_EQ(ini.readString("Users", "User001", ""), "Bob  [Preference]");
}

TEST(IniFile, FileNameMatchesWithoutCase) {
    TempDir dir;
    dir.write("CFG.DAT", "[Preference]\r\nGame=7\r\n");
    IniFile ini(dir.file("Cfg.dat"));
    EXPECT_EQ(ini.readInteger("Preference", "Game", 0), 7);
    ini.writeInteger("Preference", "Game", 8);
    EXPECT_EQ(dir.read("CFG.DAT"), "[Preference]\r\nGame=8\r\n");
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(IniFile, DamagedFilesGiveDefaults) {
    TempDir dir;
    const std::string damaged[] = {
        std::string("\0\0\0[Pref\0erence]\r\nGame=\0 5\r\n", 28),
        std::string(1 << 20, 'x'),                      // one huge line, no line end
        "[Preference",                                   // header without "]"
        "[Preference]\r\nGame",                          // key without "=", no line end
        "\xff\xfe[\x01]\r\n=\r\n==\r\n[]\r\n",
        std::string(100000, '\n'),
    };
    for (const auto& bytes : damaged) {
        IniFile ini(dir.write("Cfg.dat", bytes));
        EXPECT_EQ(ini.readString("Preference", "Game", "18"), "18");
        EXPECT_EQ(ini.readInteger("Preference", "Game", 18), 18);
        ini.writeString("Preference", "Game", "0019");
        EXPECT_EQ(ini.readString("Preference", "Game", "18"), "0019");
    }
}

}  // namespace
}  // namespace cw::storage
