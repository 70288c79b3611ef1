// cardwise-cli play --save and open: the saved table, score and undo depth, undoing to the deal, old files, errors.
#include <gtest/gtest.h>

#include <unistd.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "catalog/definitions.h"
#include "engine/rules_play_sets.h"
#include "cli/cli_run.h"

namespace fs = std::filesystem;

namespace {

using cw::test::CliRun;
using cw::test::outputLines;
using cw::test::readFileText;
using cw::test::runCli;

class OpenCli : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::vector<cw::catalog::DefinitionGame> games(3);
        games[0] = {1, 2, false, false, false, "Klondike", cw::test::playKlondike()};
        games[1] = {7, 3, false, false, false, "FreeCell", cw::test::playFreecell()};
        games[2] = {8, 4, false, false, false, "Spider", cw::test::playSpider()};
        dir_ = cw::test::writeCatalogFolder("cw_open_cli_", games);
    }
    static void TearDownTestSuite() { fs::remove_all(dir_); }

    static CliRun run(const std::string& args) { return runCli(args + " --defs " + (dir_ / "GAMES.DAT").string()); }

    static inline fs::path dir_;
};

} // namespace

TEST_F(OpenCli, SavedGameOpensToTheSameTableAndUndoesToTheDeal)
{
    for (const char* game : {"2", "3", "4"}) {
        SCOPED_TRACE(std::string("game ") + game);
        const std::string file = (dir_ / (std::string("g") + game + ".gam")).string();
        const std::string deal = std::string("--game ") + game + " --number 4242";
        const CliRun played = run("play " + deal + " --random 100 --seed 9 --save " + file);
        ASSERT_EQ(played.status, 0) << played.err;
        const CliRun dealt = run("deal " + deal);
        ASSERT_EQ(dealt.status, 0) << dealt.err;

        const CliRun opened = run("open " + file);
        ASSERT_EQ(opened.status, 0) << opened.err;
        const auto l = outputLines(opened.out);
        ASSERT_EQ(l.size(), 72u);
        const auto p = outputLines(played.out);
        ASSERT_GE(p.size(), 71u);
        EXPECT_EQ(std::vector<std::string>(l.begin(), l.begin() + 71), std::vector<std::string>(p.begin(), p.begin() + 71));
        int score = 0, depth = -1;
        ASSERT_EQ(std::sscanf(l[71].c_str(), "score %d undo %d", &score, &depth), 2) << l[71];
        ASSERT_GT(depth, 0);

        const CliRun all = run("open " + file + " --undo " + std::to_string(depth));
        ASSERT_EQ(all.status, 0) << all.err;
        const auto a = outputLines(all.out);
        EXPECT_EQ(std::vector<std::string>(a.begin(), a.begin() + 71), outputLines(dealt.out));
        EXPECT_EQ(a[71].substr(a[71].find(" undo ")), " undo 0");

        const auto one = outputLines(run("open " + file + " --undo 1").out);
        ASSERT_EQ(one.size(), 72u);
        EXPECT_EQ(one[71].substr(one[71].find(" undo ")), " undo " + std::to_string(depth - 1));

        const CliRun tooMany = run("open " + file + " --undo " + std::to_string(depth + 1));
        EXPECT_EQ(tooMany.status, 2);
        EXPECT_TRUE(tooMany.out.empty());
    }
}

TEST_F(OpenCli, OldFormatFileAndErrors)
{
    const CliRun old = run("open " CW_FIXTURES_DIR "/saved/v0520.gam --undo 1");
    ASSERT_EQ(old.status, 0) << old.err;
    const auto l = outputLines(old.out);
    ASSERT_EQ(l.size(), 72u);
    EXPECT_EQ(l[0], "010001100120") << "stock after the undo";
    EXPECT_EQ(l[3 + 16 + 27], "0051") << "tableau pile 28";
    EXPECT_EQ(l[3 + 16 + 40 + 9], "0081") << "reserve 10";

    const std::string damaged = (dir_ / "damaged.gam").string();
    std::ofstream(damaged) << "[S-0920]0002\r\nshort\r\n";
    for (const std::string& path : {damaged, (dir_ / "missing.gam").string()}) {
        const CliRun r = run("open " + path);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
    }
    EXPECT_NE(run("open " + damaged).err.find("Error in reading the file: " + damaged), std::string::npos);
    EXPECT_EQ(run("open").status, 2);
    EXPECT_EQ(run("open x.gam --undo x").status, 2);
}
