// Tests of the data folder location, its pointer file and the other per-user folders.
#include <gtest/gtest.h>

#include <filesystem>

#include "storage/folders.h"
#include "temp_dir.h"

namespace cw::storage {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

// A home, an installation folder and XDG folders inside one temporary folder.
struct Sandbox {
    TempDir dir;
    std::string install = dir.file("install/");
    Environment env;
    Sandbox() {
        fs::create_directories(install);
        fs::create_directories(dir.file("home"));
        env.home = dir.file("home");
        env.xdgDataHome = dir.file("xdgdata");
        env.xdgConfigHome = dir.file("xdgconfig");
    }
};

TEST(Folders, PointerFileContents) {
    // "@" stands for the sandbox folder; an empty expectation means the default data folder.
    struct Row { std::string line; std::string expected; };
    const Row rows[] = {
        {"@mydata", "@mydata/"},                // "/" appended
        {"@mydata/   \t", "@mydata/"},          // trailing blanks removed
        {"[Default Data Folder]", ""},
        {"[Default Data Folder] and more text", ""},
        {"", ""},
        {"rel/data", "@install/rel/data/"},     // relative to the installation folder
        {std::string("\0junk", 5), ""},
    };
    for (const auto& r : rows) {
        Sandbox s;
        auto place = [&](std::string t) { return !t.empty() && t[0] == '@' ? s.dir.folder() + t.substr(1) : t; };
        std::string expected = r.expected.empty() ? s.dir.file("xdgdata/Cardwise/") : place(r.expected);
        s.dir.write("install/cwd_fold.dat", place(r.line) + "\r\nsecond line ignored\r\n");
        DataFolderLocation loc = locateDataFolder(s.install, s.env);
        EXPECT_EQ(loc.folder, expected) << "line: " << r.line;
        EXPECT_EQ(loc.message, "");
        EXPECT_TRUE(fs::is_directory(loc.folder)) << "the data folder is created";
    }
}

TEST(Folders, FirstRunCreatesPointerFile) {
    {
        Sandbox s;
        DataFolderLocation loc = locateDataFolder(s.install, s.env);
        EXPECT_EQ(loc.folder, s.dir.file("xdgdata/Cardwise/"));
        EXPECT_EQ(s.dir.read("install/cwd_fold.dat"), "[Default Data Folder]\r\n");
    }
    {
        Sandbox s;  // an older installation kept its data next to the program
        fs::create_directories(s.install + "Data");
        s.dir.write("install/Data/CFG.DAT", "");
        DataFolderLocation loc = locateDataFolder(s.install, s.env);
        EXPECT_EQ(loc.folder, s.install + "Data/") << "the folder's own spelling";
        EXPECT_EQ(s.dir.read("install/cwd_fold.dat"), s.install + "Data/\r\n");
    }
    {
        Sandbox s;  // pointer file name matched without case
        s.dir.write("install/CWD_FOLD.DAT", s.dir.file("elsewhere") + "\r\n");
        EXPECT_EQ(locateDataFolder(s.install, s.env).folder, s.dir.file("elsewhere/"));
    }
}

TEST(Folders, UnwritableInstallationUsesConfigFolderOrReportsMessage) {
    {
        Sandbox s;
        std::string missing = s.dir.file("not-there/");  // a folder that cannot be written
        DataFolderLocation loc = locateDataFolder(missing, s.env);
        EXPECT_EQ(loc.message, "");
        EXPECT_EQ(s.dir.read("xdgconfig/Cardwise/cwd_fold.dat"), "[Default Data Folder]\r\n");
        EXPECT_EQ(saveDataFolderChoice(missing, s.env, s.dir.file("other")), "");
        EXPECT_EQ(locateDataFolder(missing, s.env).folder, s.dir.file("other/"));
    }
    {
        Sandbox s;
        s.dir.write("blocker", "a file where the config folder should be");
        s.env.xdgConfigHome = s.dir.file("blocker/sub");
        std::string missing = s.dir.file("not-there/");
        DataFolderLocation loc = locateDataFolder(missing, s.env);
        std::string pointer = s.dir.file("blocker/sub/Cardwise/cwd_fold.dat");
        EXPECT_EQ(loc.message, "Error saving the file: " + pointer +
                                   "\nNote: the folder is not writable, so the file cannot be saved there.");
        EXPECT_EQ(loc.folder, s.dir.file("xdgdata/Cardwise/")) << "goes on with the default folder";
    }
}

TEST(Folders, DefaultDataFolderAndDocuments) {
    Sandbox s;
    Environment env;
    EXPECT_EQ(defaultDataFolder(env, "/opt/cw/"), "/opt/cw/Data/") << "no home at all";
    env.home = "/home/ann";
    EXPECT_EQ(defaultDataFolder(env, "/opt/cw/"), "/home/ann/.local/share/Cardwise/");
    env.xdgDataHome = "relative/ignored";
    EXPECT_EQ(defaultDataFolder(env, "/opt/cw/"), "/home/ann/.local/share/Cardwise/");
    env.xdgDataHome = "/data/";
    EXPECT_EQ(defaultDataFolder(env, "/opt/cw/"), "/data/Cardwise/");

    EXPECT_EQ(personalDocumentsFolder(s.env), s.dir.file("home/")) << "home when no documents folder";
    fs::create_directories(s.dir.file("home/Dokumente"));
    fs::create_directories(s.dir.file("xdgconfig"));
    s.dir.write("xdgconfig/user-dirs.dirs", "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(personalDocumentsFolder(s.env), s.dir.file("home/Dokumente/"));
    s.env.xdgDocumentsDir = s.dir.file("xdgconfig");
    EXPECT_EQ(personalDocumentsFolder(s.env), s.dir.file("xdgconfig/"));
}

TEST(Folders, InstallationFolder) {
    TempDir dir;
    fs::create_directories(dir.file("bin"));
    // Data nowhere: the executable's folder, so a missing-file message names the build tree.
    EXPECT_EQ(installationFolderFor(dir.file("bin")), dir.file("bin/"));
    fs::create_directories(dir.file("share/cardwise"));
    dir.write("share/cardwise/GAMES.DAT", "");
    EXPECT_EQ(installationFolderFor(dir.file("bin")), dir.file("share/cardwise/"));
    dir.write("bin/games.dat", "");
    EXPECT_EQ(installationFolderFor(dir.file("bin")), dir.file("bin/"));
    EXPECT_EQ(executableFolder().back(), '/');
}

}  // namespace
}  // namespace cw::storage
