// cardwise-cli play and moves: the dealt table played from a moves file, stdin or at random, and the legal moves listed.
#include <gtest/gtest.h>

#include "cli/cli_run.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

using cw::test::CliRun;
using cw::test::outputLines;
using cw::test::runCli;

const std::string kDefs = CW_FIXTURES_DIR "/games/GAMES.DAT";

CliRun run(const std::string& args, const std::string& input = "")
{
    return runCli(args, input, false);
}


TEST(CliPlay, MovesListsTheLegalMovesOfTheDeal)
{
    const CliRun r = run("moves --game 0 --number 1234 --defs " + kDefs);
    ASSERT_EQ(r.status, 0);
    const auto l = outputLines(r.out);
    ASSERT_FALSE(l.empty());
    EXPECT_EQ(l.front(), "turn Fila1");
}

// La Belle Lucie of the built catalog: after its two redeals the Draw is listed, and it plays.
TEST(CliPlay, MovesAfterGivenMovesListTheDrawOfTheLastDeal)
{
    const std::string defs = CW_BIN_DIR "/GAMES.DAT";
    if (!std::ifstream(defs))
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    const CliRun listed = run("moves --game 50 --number 1234 --defs " + defs + " --after -", "stock\n# a comment\nstock\n");
    ASSERT_EQ(listed.status, 0) << listed.err;
    std::string draw;
    for (const std::string& l : outputLines(listed.out))
        if (l.rfind("draw Fila", 0) == 0)
            draw = l;
    ASSERT_FALSE(draw.empty()) << listed.out;
    const CliRun played = run("play --game 50 --number 1234 --defs " + defs + " --moves -",
                              "stock\nstock\n" + draw + "\n" + draw + "\n");
    ASSERT_EQ(played.status, 0);
    const auto l = outputLines(played.out);
    ASSERT_FALSE(l.empty());
    EXPECT_EQ(l.back(), "refused line 4: " + draw + ": only one Draw is permitted");
    const CliRun refused = run("moves --game 50 --number 1234 --defs " + defs + " --after -", "stock\n" + draw + "\n");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("refused line 2"), std::string::npos) << refused.err;
}

TEST(CliPlay, AppliesMovesAndReportsEachRefusal)
{
    const CliRun dealt = run("deal --game 0 --number 1234 --defs " + kDefs);
    ASSERT_EQ(dealt.status, 0);
    const CliRun r = run("play --game 0 --number 1234 --defs " + kDefs + " --moves -",
                      "turn Fila1\n# a comment\n\nFila7 0 Dest1\nturn Fila1\nbogus move\n");
    ASSERT_EQ(r.status, 0);
    const auto l = outputLines(r.out);
    ASSERT_EQ(l.size(), 71u + 3u);
    EXPECT_NE(l[19], outputLines(dealt.out)[19]) << "Fila1 (line 20) changed face";
    EXPECT_EQ(l[71], "refused line 4: Fila7 0 Dest1: that card cannot be lifted");
    EXPECT_EQ(l[72], "refused line 5: turn Fila1: no face-down top card to turn");
    EXPECT_EQ(l[73].rfind("refused line 6: bogus move: ", 0), 0u);
}

TEST(CliPlay, RandomPlayIsReproducible)
{
    const std::string args = "play --game 0 --number 99 --defs " + kDefs + " --random 40 --seed 5 --show-moves";
    const CliRun a = run(args);
    const CliRun b = run(args);
    ASSERT_EQ(a.status, 0);
    EXPECT_EQ(a.out, b.out);
    EXPECT_GT(outputLines(a.out).size(), 71u);
}

TEST(CliPlay, ArgumentErrors)
{
    EXPECT_EQ(run("play --game 0 --number 1 --defs " + kDefs).status, 2) << "neither --moves nor --random";
    EXPECT_EQ(run("play --game 0 --number 1 --defs " + kDefs + " --random 5").status, 2) << "no --seed";
    EXPECT_EQ(run("play --game 0 --number x1 --defs " + kDefs + " --moves -").status, 2);
    EXPECT_EQ(run("play --game 4321 --number 1 --defs " + kDefs + " --moves -").status, 2);
    EXPECT_EQ(run("play --game 0 --number 1 --defs " + kDefs + " --moves /nonexistent/moves.txt").status, 1);
    EXPECT_EQ(run("moves --game 0 --defs " + kDefs).status, 2);
}

} // namespace
