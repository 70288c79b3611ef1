// Tests of the settings-file INI reader and writer.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "fault_files.h"
#include "storage/ini_file.h"
#include "storage/preferences.h"
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

// The file is read once; another writer's change (another object, another process) is read again.
TEST(IniFileCache, ReadOnceAndAgainOnlyWhenTheFileChanged)
{
    TempDir dir;
    dir.write("Cfg.dat", kCfg);
    IniFile ini(dir.file("Cfg.dat"));
    SettingsStore store;
    (void)loadPreferences(store, ini);
    for (int i = 0; i < 100; ++i)
        (void)ini.readString("Preference", "Game", "");
    EXPECT_EQ(ini.loads(), 1u);
    ini.writeString("Preference", "Game", "0043"); // its own write needs no new read
    EXPECT_EQ(ini.readString("Preference", "Game", ""), "0043");
    EXPECT_EQ(ini.loads(), 1u);

    IniFile other(dir.file("Cfg.dat"));
    other.writeString("Preference", "Card", "5");
    EXPECT_EQ(ini.readString("Preference", "Card", ""), "5");
    EXPECT_EQ(ini.readString("Preference", "Game", ""), "0043");
    EXPECT_EQ(ini.loads(), 2u);
    // A write reads what the other object wrote before changing its own key.
    other.writeString("Preference", "Sounds_Enabled", "Y");
    ini.writeString("Preference", "Language", "20000");
    EXPECT_EQ(dir.read("Cfg.dat").find("Sounds_Enabled=Y") != std::string::npos, true);
}

// A line of many megabytes (a damaged file) is cut once, with one notice, and costs one read.
TEST(IniFileCache, OverlongLinesAreCutWithOneNotice)
{
    TempDir dir;
    std::string huge = "[Preference]\r\nJunk=" + std::string(4 << 20, 'x') +
                       "\r\nMore=" + std::string(IniFile::kMaxLineLength, 'y') + "\r\nGame=0007\r\n";
    dir.write("Cfg.dat", huge);
    IniFile ini(dir.file("Cfg.dat"));
    std::vector<std::string> notices;
    ini.setReporter([&](const std::string& t) { notices.push_back(t); });
    SettingsStore store;
    (void)loadPreferences(store, ini);
    EXPECT_EQ(store.get(col::GameId), "0007");
    EXPECT_EQ(ini.loads(), 1u);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("2 lines longer than 32768 characters"), std::string::npos) << notices[0];
    EXPECT_EQ(ini.readString("Preference", "Junk", "").size(), IniFile::kMaxLineLength - 5);
    ini.writeString("Preference", "Game", "0008"); // the file is written with the lines cut
    EXPECT_LT(dir.read("Cfg.dat").size(), std::size_t(3 * IniFile::kMaxLineLength));
}

// With a reporter (the window), a write that fails is told once and its value kept for the run; without
// one it throws and changes nothing.
TEST(IniFileCache, FailedWritesAreReportedOnceAndKeptForTheRun)
{
    TempDir dir;
    dir.write("Cfg.dat", kCfg);
    const std::string before = dir.read("Cfg.dat");
    test::FullDisk full("Cfg.dat", 10);
    {
        IniFile ini(dir.file("Cfg.dat"));
        test::Faults faults(full);
        EXPECT_THROW(ini.writeString("Preference", "Game", "0001"), FileError);
        EXPECT_EQ(ini.readString("Preference", "Game", ""), "0042");
    }
    IniFile ini(dir.file("Cfg.dat"));
    std::vector<std::string> notices;
    ini.setReporter([&](const std::string& t) { notices.push_back(t); });
    {
        test::Faults faults(full);
        ini.writeString("Preference", "Game", "0001");
        ini.update([&] {
            ini.writeString("Preference", "MainWindowState_Left", "10");
            ini.writeString("Preference", "MainWindowState_Top", "20");
        });
        ini.writeString("Preference", "Full_Screen", "N");
    }
    EXPECT_EQ(notices, std::vector<std::string>{savingErrorMessage(dir.file("Cfg.dat"))});
    EXPECT_EQ(ini.readString("Preference", "Game", ""), "0001");
    EXPECT_EQ(ini.readString("Preference", "MainWindowState_Top", ""), "20");
    EXPECT_EQ(dir.read("Cfg.dat"), before);
    EXPECT_EQ(dir.entryCount(), 1u);
    // Once the disk has room again, the next write stores every kept value.
    ini.writeString("Preference", "Card", "2");
    IniFile fresh(dir.file("Cfg.dat"));
    EXPECT_EQ(fresh.readString("Preference", "Game", ""), "0001");
    EXPECT_EQ(fresh.readString("Preference", "MainWindowState_Left", ""), "10");
    EXPECT_EQ(notices.size(), 1u);
}

// Two processes writing their own keys at the same time: the lock and the read under it keep every key.
TEST(IniFileCache, TwoProcessesWritingLoseNothing)
{
    TempDir dir;
    const int kKeys = 60;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            IniFile ini(dir.file("Cfg.dat"));
            for (int k = 0; k < kKeys; ++k)
                ini.writeString("Preference", "P" + std::to_string(c) + "_" + std::to_string(k), "Y");
            ::_exit(0);
        }
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    IniFile ini(dir.file("Cfg.dat"));
    EXPECT_EQ(ini.readSectionKeys("Preference").size(), std::size_t(2 * kKeys));
}

}  // namespace
}  // namespace cw::storage
