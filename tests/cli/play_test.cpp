// cardwise-cli play and moves: the dealt table played from a moves file, stdin or at random, and the legal moves listed.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

const std::string kCli = CW_BIN_DIR "/cardwise-cli";
const std::string kDefs = CW_FIXTURES_DIR "/games/GAMES.DAT";

struct CliRun {
    int status = -1;
    std::string out;
};

CliRun run(const std::string& args, const std::string& input = "")
{
    std::string command = kCli + " " + args + " 2>/dev/null";
    if (!input.empty()) {
        const std::string path = ::testing::TempDir() + "cw_play_input.txt";
        std::ofstream(path) << input;
        command += " < " + path;
    }
    CliRun r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buf{};
    std::size_t n = 0;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        r.out.append(buf.data(), n);
    const int st = pclose(pipe);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

TEST(CliPlay, MovesListsTheLegalMovesOfTheDeal)
{
    const CliRun r = run("moves --game 0 --number 1234 --defs " + kDefs);
    ASSERT_EQ(r.status, 0);
    const auto l = lines(r.out);
    ASSERT_FALSE(l.empty());
    EXPECT_EQ(l.front(), "turn Fila1");
}

TEST(CliPlay, AppliesMovesAndReportsEachRefusal)
{
    const CliRun dealt = run("deal --game 0 --number 1234 --defs " + kDefs);
    ASSERT_EQ(dealt.status, 0);
    const CliRun r = run("play --game 0 --number 1234 --defs " + kDefs + " --moves -",
                      "turn Fila1\n# a comment\n\nFila7 0 Dest1\nturn Fila1\nbogus move\n");
    ASSERT_EQ(r.status, 0);
    const auto l = lines(r.out);
    ASSERT_EQ(l.size(), 71u + 3u);
    EXPECT_NE(l[19], lines(dealt.out)[19]) << "Fila1 (line 20) changed face";
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
    EXPECT_GT(lines(a.out).size(), 71u);
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
