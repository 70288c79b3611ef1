// cardwise-cli solve: the solver's verdict on a dealt game or on a FreeCell position in the common notation.
#include <fstream>
#include <iomanip>
#include <ostream>
#include <sstream>

#include "cli/play_setup.h"
#include "engine/freecell_board.h"
#include "engine/solver.h"

namespace {

using namespace cw::cli;

constexpr int kDefaultBudgetMs = 10000;
constexpr int kFreecellGameId = 1;
constexpr std::streamsize kMaxBoardBytes = 1 << 16;

bool readLimits(const std::vector<std::string>& args, cw::engine::SolverLimits& limits, std::ostream& err)
{
    std::string text;
    long long v = 0;
    limits.budgetMs = kDefaultBudgetMs;
    if (findOption(args, "--budget-ms", text)) {
        if (!parseDigits(text, 8, v)) {
            err << "cardwise-cli solve: --budget-ms needs a number of milliseconds\n";
            return false;
        }
        limits.budgetMs = static_cast<int>(v);
    }
    if (findOption(args, "--max-states", text)) {
        if (!parseDigits(text, 12, v)) {
            err << "cardwise-cli solve: --max-states needs a number\n";
            return false;
        }
        limits.maxStates = static_cast<std::uint64_t>(v);
    }
    limits.reductions = !hasFlag(args, "--no-reductions");
    return true;
}

void printResult(std::ostream& out, const cw::engine::SolveResult& r)
{
    out << "Verdict: " << cw::engine::verdictText(r.verdict) << '\n';
    out << "States searched: " << r.states << '\n';
    out << "Time: " << std::fixed << std::setprecision(2) << r.milliseconds << " ms\n";
    out << "Processor time: " << r.cpuMilliseconds << " ms\n";
    out << "The solver sees the face-down cards.\n";
    if (r.verdict == cw::engine::Verdict::Winnable) {
        out << "Moves: " << r.line.size() << '\n';
        for (const auto& m : r.line)
            out << cw::engine::moveText(m) << '\n';
    }
}

int solveBoard(const std::vector<std::string>& args, const std::string& path, std::ostream& out, std::ostream& err)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        err << "cardwise-cli solve: cannot read the board file " << path << '\n';
        return kExitFailure;
    }
    std::string text(static_cast<std::size_t>(kMaxBoardBytes) + 1, '\0');
    file.read(text.data(), kMaxBoardBytes + 1);
    text.resize(static_cast<std::size_t>(file.gcount()));
    if (static_cast<std::streamsize>(text.size()) > kMaxBoardBytes) {
        err << "cardwise-cli solve: " << path << ": the board file is too large\n";
        return kExitFailure;
    }
    cw::engine::FreecellBoard board;
    std::string why;
    if (!cw::engine::parseFreecellBoard(text, board, &why)) {
        err << "cardwise-cli solve: " << path << ": " << why << '\n';
        return kExitFailure;
    }
    cw::engine::SolverLimits limits;
    if (!readLimits(args, limits, err))
        return kExitUsage;
    std::vector<std::string> gameArgs = args;
    gameArgs.push_back("--game");
    gameArgs.push_back(std::to_string(kFreecellGameId));
    int status = kExitOk;
    auto game = loadGame("solve", gameArgs, err, status);
    if (!game)
        return status;
    auto dealt = cw::engine::deal(game->rules, "1");
    if (!cw::engine::placeFreecellBoard(board, dealt.rules, dealt.state, &why)) {
        err << "cardwise-cli solve: " << path << ": " << why << '\n';
        return kExitFailure;
    }
    out << "Game: " << kFreecellGameId << " board " << path << '\n';
    printResult(out, cw::engine::solve(dealt.rules, dealt.state, limits));
    return kExitOk;
}

int runSolve(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string boardPath;
    if (findOption(args, "--freecell-board", boardPath))
        return solveBoard(args, boardPath, out, err);
    cw::engine::SolverLimits limits;
    if (!readLimits(args, limits, err))
        return kExitUsage;
    int status = kExitOk;
    auto dealt = dealForPlay("solve", args, err, status);
    if (!dealt)
        return status;
    out << "Game: " << dealt->state.gameId << " number " << dealt->state.gameNumber << '\n';
    printResult(out, cw::engine::solve(dealt->rules, dealt->state, limits));
    return kExitOk;
}

} // namespace

CW_CLI_COMMAND("solve", "(--game ID --number N | --freecell-board FILE) [--budget-ms T] [--max-states S] [--defs FILE]",
               runSolve);
