// cardwise-cli deal, shuffle and list, run as a separate process on a small definitions file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "catalog/definitions.h"
#include "engine/deal.h"
#include "engine/rule_sets.h"
#include "engine/table_text.h"
#include "cli/cli_run.h"

namespace fs = std::filesystem;

namespace {

using cw::test::CliRun;
using cw::test::outputLines;
using cw::test::readFileText;
using cw::test::runCli;

class DealCli : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::vector<cw::catalog::DefinitionGame> games(3);
        games[0] = {2, 1, false, false, false, "Klondike", cw::test::klondike()};
        games[1] = {5, 9, true, false, false, "Hidden game", cw::test::freecell()};
        games[2] = {3, 7, false, false, false, "FreeCell", cw::test::freecell()};
        dir_ = cw::test::writeCatalogFolder("cw_deal_cli_", games);
    }
    static void TearDownTestSuite() { fs::remove_all(dir_); }

    static CliRun run(const std::string& args) { return runCli(args); }
    static std::string defs() { return "--defs " + (dir_ / "GAMES.DAT").string(); }

    static fs::path dir_;
};

fs::path DealCli::dir_;


} // namespace

TEST_F(DealCli, DealPrintsTheSnapshotOfTheStoredTable)
{
    const CliRun r = run("deal " + defs() + " --game 1 --number 1");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto got = outputLines(r.out);
    ASSERT_EQ(got.size(), 71u);
    // The frozen Klondike table of game number 1: the fixture's first block after its two headers.
    const auto frozen = outputLines(readFileText(CW_FIXTURES_DIR "/deals/klondike.txt"));
    ASSERT_GE(frozen.size(), 73u);
    EXPECT_EQ(got, std::vector<std::string>(frozen.begin() + 2, frozen.begin() + 73));

    const CliRun f = run("deal " + defs() + " --game 7 --number 1234567890123");
    ASSERT_EQ(f.status, 0) << f.err;
    const auto expected = cw::engine::encodeSnapshot(cw::engine::deal(cw::test::freecell(), "1234567890123").state.table);
    EXPECT_EQ(outputLines(f.out), std::vector<std::string>(expected.begin(), expected.end()));
}

TEST_F(DealCli, ErrorsAreOneLineOnStderr)
{
    struct Row {
        std::string args;
        int status;
    };
    const Row rows[] = {
        {"deal " + defs() + " --game 999 --number 1", 2},
        {"deal " + defs() + " --game 9 --number 1", 2}, // hidden games are not listed
        {"deal " + defs() + " --game 1 --number 12a", 2},
        {"deal " + defs() + " --game 1 --number 12345678901234", 2},
        {"deal " + defs() + " --game x1 --number 1", 2},
        {"deal " + defs() + " --game 1", 2},
        {"deal --defs " + (dir_ / "missing.dat").string() + " --game 1 --number 1", 1},
        {"shuffle --cards 53 --number 1", 2},
        {"shuffle --cards 52 --number one", 2},
        {"shuffle --cards 52 --reduced 3 --number 1", 2},
        {"shuffle --cards 52 --jokers 5 --number 1", 2},
        {"shuffle --number 1", 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args);
        const CliRun r = run(row.args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_NE(run("deal --defs " + (dir_ / "missing.dat").string() + " --game 1 --number 1").err.find("missing.dat"),
              std::string::npos);
}

TEST_F(DealCli, ShufflePrintsTheFrozenArray)
{
    const auto frozen = outputLines(readFileText(CW_FIXTURES_DIR "/deals/shuffle.txt"));
    struct Row {
        std::string args;
        std::string fixturePrefix;
    };
    const Row rows[] = {
        {"--cards 52 --number 1", "52 1: "},
        {"--cards 208 --number 9999999999999", "208 9999999999999: "},
        {"--cards 104 --jokers 4 --number 2", "104 2 jokers 4 reduced 0: "},
        {"--cards 52 --reduced 2 --number 2", "52 2 jokers 0 reduced 2: "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args);
        const CliRun r = run("shuffle " + row.args);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto it = std::find_if(frozen.begin(), frozen.end(),
                                     [&](const std::string& l) { return l.rfind(row.fixturePrefix, 0) == 0; });
        ASSERT_NE(it, frozen.end());
        EXPECT_EQ(r.out, it->substr(row.fixturePrefix.size()) + "\n");
    }
}

TEST_F(DealCli, ListShowsListedGames)
{
    // A data folder without custom games: the player's own folder may hold some.
    const CliRun r = run("list " + defs() + " --data " + dir_.string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1 2 Klondike\n7 3 FreeCell\n");
}
