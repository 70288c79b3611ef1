// cardwise-cli solve, winrate and bench: verdicts, lines that replay through play, FreeCell boards and their errors, the bench signature.
#include <gtest/gtest.h>

#include "cli/cli_run.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

using cw::test::CliRun;
using cw::test::runCli;


CliRun run(const std::string& args, const std::string& input = "")
{
    return runCli(args, input, true);
}

std::string writeBoard(const std::string& name, const std::string& text)
{
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// The lines after "Moves: N".
std::string movesOf(const std::string& out)
{
    const auto at = out.find("Moves: ");
    if (at == std::string::npos)
        return {};
    return out.substr(out.find('\n', at) + 1);
}

TEST(CliSolve, DealIsSolvedAndTheLineWinsThroughPlay)
{
    const CliRun r = run("solve --game 1 --number 3 --budget-ms 20000");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Verdict: Winnable\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("States searched: "), std::string::npos);
    EXPECT_NE(r.out.find("The solver sees the face-down cards.\n"), std::string::npos);
    const std::string moves = movesOf(r.out);
    ASSERT_FALSE(moves.empty());
    const CliRun played = run("play --game 1 --number 3 --moves -", moves);
    EXPECT_EQ(played.status, 0);
    EXPECT_NE(played.out.find("\nwon\n"), std::string::npos) << played.out.substr(played.out.size() - 200);
    EXPECT_EQ(played.out.find("refused"), std::string::npos);
}

TEST(CliSolve, FreecellBoardInTheCommonNotation)
{
    const std::string path = writeBoard("cw_board_ok.txt",
                                        "Foundations: H-3 C-3 D-3 S-3\r\n"
                                        "Freecells: - -\r\n"
                                        ": 4H 9S 8H 7S 6H 5S\r\n"
                                        ": 4D KC QD JC TD 9C 8D\r\n"
                                        "4C 5H 6S\n"
                                        "4S 5D 6C 7D\n"
                                        "KH QC JH TC 9H 8C 7H 6D 5C\n"
                                        "KS QH JS TH\n"
                                        "KD QS JD TS 9D 8S 7C\n");
    const CliRun r = run("solve --freecell-board " + path);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Verdict: Winnable"), std::string::npos) << r.out;
}

TEST(CliSolve, FolderOfBoardsIsSolvedInOneRunAndABadOneIsReported)
{
    const std::string dir = ::testing::TempDir() + "cw_boards/";
    std::filesystem::create_directories(dir);
    const std::string solvedTail = "4S 5D 6C 7D\nKH QC JH TC 9H 8C 7H 6D 5C\nKS QH JS TH\nKD QS JD TS 9D 8S 7C\n";
    const std::string head = "Foundations: H-3 C-3 D-3 S-3\n: 4H 9S 8H 7S 6H 5S\n: 4D KC QD JC TD 9C 8D\n";
    std::ofstream(dir + "a.txt", std::ios::binary) << head << "4C 5H 6S\n" << solvedTail;
    std::ofstream(dir + "b.txt", std::ios::binary) << "KH KH\n";
    std::ofstream(dir + "c.txt", std::ios::binary) << head << "4C 6S 5H\n" << solvedTail;
    const CliRun r = run("solve --freecell-board " + dir);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("board " + dir + "a.txt\nVerdict: Winnable"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(dir + "b.txt: line 1: card KH appears twice"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("board " + dir + "c.txt\nVerdict: Winnable"), std::string::npos) << r.out;
}

TEST(CliSolve, BadBoardsAndArgumentsAreRefusedWithTheReason)
{
    struct Case {
        std::string board;
        std::string expected;
    } cases[] = {
        {"KH QH\n", "card AH is missing"},
        {"KH KH\n", "line 1: card KH appears twice"},
        {"KH XQ\n", "line 1: not a card: XQ"},
        {"Foundations: H-Z\n", "line 1: not a foundation entry like H-5: H-Z"},
    };
    for (const Case& c : cases) {
        const std::string path = writeBoard("cw_board_bad.txt", c.board);
        const CliRun r = run("solve --freecell-board " + path);
        EXPECT_EQ(r.status, 1) << c.board;
        EXPECT_NE(r.out.find(path + ": " + c.expected), std::string::npos) << r.out;
    }
    EXPECT_EQ(run("solve --freecell-board /nonexistent/board.txt").status, 1);
    EXPECT_EQ(run("solve --game 1").status, 2);
    EXPECT_EQ(run("solve --game 1 --number 3 --budget-ms soon").status, 2);
    EXPECT_EQ(run("winrate --game 1").status, 2);
}

TEST(CliWinrate, CountsWinsWithUnknownsApart)
{
    const CliRun r = run("winrate --game 1 --deals 3 --from 3 --budget-ms 20000");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "3 in 3");
    EXPECT_NE(r.out.find("Won: 3, not winnable: 0, unknown: 0\n"), std::string::npos) << r.out;
}

} // namespace

namespace {

// The game numbers and verdicts of a verbose run, one line per deal, times left out.
std::vector<std::string> dealVerdicts(const std::string& out)
{
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        const auto states = line.find(" states ");
        if (states != std::string::npos)
            lines.push_back(line.substr(0, states));
    }
    return lines;
}

TEST(CliWinrate, SeededSampleSplitsIntoPartsThatMergeToTheSameFigures)
{
    // A position budget makes the verdicts repeatable; --skip lets two runs share the work.
    const std::string base = "winrate --game 0 --seed 4242 --max-states 20000 --budget-ms 0 --verbose";
    const CliRun whole = run(base + " --deals 4");
    const CliRun first = run(base + " --deals 1");
    const CliRun rest = run(base + " --deals 3 --skip 1");
    ASSERT_EQ(whole.status, 0) << whole.err;
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_EQ(rest.status, 0) << rest.err;
    std::vector<std::string> merged = dealVerdicts(first.out);
    for (const std::string& line : dealVerdicts(rest.out))
        merged.push_back(line);
    const std::vector<std::string> all = dealVerdicts(whole.out);
    ASSERT_EQ(all.size(), 4u) << whole.out;
    EXPECT_EQ(merged, all);
    for (const std::string& line : all)
        EXPECT_EQ(line.find_first_of(' '), 13u) << "a 13-digit game number: " << line;
    EXPECT_NE(whole.out.find("Sample: seed 4242, deals 1 to 4 of its numbers\n"), std::string::npos) << whole.out;

    EXPECT_EQ(run("winrate --game 0 --deals 2 --seed 1 --from 5").status, 2);
    EXPECT_EQ(run("winrate --game 0 --deals 2 --skip 3").status, 2);
    EXPECT_EQ(run("winrate --game 0 --deals 2 --seed 4294967296").status, 2);
}

// The bench stands guard over the search's behaviour: the same build gives the same counts and
// signature on every run, and each search kind takes part.
TEST(CliBench, RunsEverySearchKindAndRepeatsItsSignature)
{
    const CliRun a = run("bench --nodes 3000");
    const CliRun b = run("bench --nodes 3000");
    ASSERT_EQ(a.status, 0) << a.out;
    ASSERT_EQ(b.status, 0) << b.out;
    for (const char* kind : {"\nopen ", "\nspider ", "\ngeneral "})
        EXPECT_NE(a.out.find(kind), std::string::npos) << kind << a.out;
    const auto signature = [](const std::string& out) {
        const auto at = out.find("Signature: ");
        return at == std::string::npos ? std::string() : out.substr(at, 11 + 16);
    };
    EXPECT_EQ(signature(a.out).size(), 27u) << a.out;
    EXPECT_EQ(signature(a.out), signature(b.out));
    const auto positions = [](const std::string& out) {
        const auto at = out.find("Positions: ");
        return at == std::string::npos ? std::string() : out.substr(at, out.find('\n', at) - at);
    };
    EXPECT_EQ(positions(a.out), positions(b.out));
    EXPECT_EQ(run("bench --nodes 0").status, 2);
    EXPECT_EQ(run("bench --nodes many").status, 2);
}

} // namespace
