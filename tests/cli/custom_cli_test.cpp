// cardwise-cli with custom games: the player's games listed, dealt, played, solved and measured from a data folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "catalog/definitions.h"
#include "cli/cli_run.h"
#include "engine/deal.h"
#include "engine/rule_sets.h"
#include "engine/table_text.h"

namespace fs = std::filesystem;

namespace {

using cw::test::CliRun;
using cw::test::runCli;

// Klondike (id 1) and a custom game made from it: three cards a click, unlimited redeals, any card
// on an empty pile; and a record whose base game is not in the catalog.
class CustomCli : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::vector<cw::catalog::DefinitionGame> games(1);
        games[0] = {5, 1, false, false, false, "Klondike", cw::test::klondike()};
        dir_ = cw::test::writeCatalogFolder("cw_custom_cli_", games);
        std::string text = "[R-0301]\r\n";
        auto record = [&](const std::string& first, const std::string& rules) {
            text += first + "\r\n" + rules + "\r\n";
            for (int i = 2; i < 30; ++i)
                text += "\r\n";
        };
        record("8000Three Card Klondike" + std::string(31, ' ') + "0001", kRules);
        record("8001Lost" + std::string(46, ' ') + "0777", "");
        std::ofstream(dir_ / "GAM_CUST.DAT", std::ios::binary) << text;
    }
    static void TearDownTestSuite() { fs::remove_all(dir_); }

    static CliRun run(const std::string& args, const std::string& input = "")
    {
        return runCli(args + " --defs " + (dir_ / "GAMES.DAT").string() + " --data " + dir_.string(), input);
    }

    static constexpr const char* kRules = "003-012-1-01-1-01";
    static fs::path dir_;
};

fs::path CustomCli::dir_;

} // namespace

TEST_F(CustomCli, ListNamesTheCustomGamesAndTheRecordsLeftOut)
{
    const CliRun r = run("list");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1 5 Klondike\n8000 800 Three Card Klondike\n");
    EXPECT_NE(r.err.find("GAM_CUST.DAT: record 2 (line 32) \"Lost\": the base game 777 is not in the game list"),
              std::string::npos)
        << r.err;
}

TEST_F(CustomCli, ACustomGameIsDealtPlayedSolvedAndMeasuredUnderItsOwnRules)
{
    cw::catalog::Rules rules = cw::test::klondike();
    cw::catalog::ApplyCustomRuleString(rules, kRules);
    const auto dealt = cw::engine::deal(rules, "5");
    std::string expected;
    for (const auto& line : cw::engine::encodeSnapshot(dealt.state.table))
        expected += line + "\n";
    const CliRun deal = run("deal --game 8000 --number 5");
    ASSERT_EQ(deal.status, 0) << deal.err;
    EXPECT_EQ(deal.out, expected);

    // One click on the stock turns three cards to the waste (the table's second line, four characters a card).
    const CliRun play = run("play --game 8000 --number 5 --moves -", "stock\n");
    ASSERT_EQ(play.status, 0) << play.err;
    const auto lines = cw::test::outputLines(play.out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1].size(), 12u) << lines[1];
    const CliRun moves = run("moves --game 8000 --number 5");
    EXPECT_EQ(moves.status, 0) << moves.err;
    EXPECT_FALSE(moves.out.empty());

    const CliRun solve = run("solve --game 8000 --number 5 --budget-ms 300");
    EXPECT_EQ(solve.status, 0) << solve.err;
    const CliRun winrate = run("winrate --game 8000 --deals 2 --budget-ms 200");
    ASSERT_EQ(winrate.status, 0) << winrate.err;
    EXPECT_NE(winrate.out.find(" in 2\n"), std::string::npos) << winrate.out;
}

TEST_F(CustomCli, ASavedCustomGameOpensUnderItsOwnRules)
{
    const std::string file = (dir_ / "custom.gam").string();
    const CliRun played = run("play --game 8000 --number 77 --random 40 --seed 3 --save " + file);
    ASSERT_EQ(played.status, 0) << played.err;
    const CliRun opened = run("open " + file);
    ASSERT_EQ(opened.status, 0) << opened.err;
    const auto p = cw::test::outputLines(played.out);
    const auto o = cw::test::outputLines(opened.out);
    ASSERT_GE(p.size(), 71u);
    ASSERT_GE(o.size(), 71u);
    EXPECT_EQ(std::vector<std::string>(o.begin(), o.begin() + 71), std::vector<std::string>(p.begin(), p.begin() + 71));
}

TEST_F(CustomCli, AnUnknownCustomGameIsAUsageError)
{
    for (const char* id : {"8001", "8002"}) {
        const CliRun r = run(std::string("deal --game ") + id + " --number 1");
        EXPECT_EQ(r.status, 2) << id;
        EXPECT_NE(r.err.find("unknown game " + std::string(id) + " (no such custom game in "), std::string::npos)
            << r.err;
    }
}
