// cardwise-cli solve: the solver's verdict on a dealt game or on FreeCell positions in the common notation (a file or a folder of them).
#include <algorithm>
#include <filesystem>
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
    if (findOption(args, "--threads", text)) {
        if (!parseDigits(text, 1, v) || v < 1 || v > 2) {
            err << "cardwise-cli solve: --threads needs 1 or 2\n";
            return false;
        }
        limits.threads = static_cast<int>(v);
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

// Reads and parses one board file; false (with the reason on err) for a file that is missing,
// too large or not a board.
bool readBoard(const std::string& path, cw::engine::FreecellBoard& board, std::ostream& err)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        err << "cardwise-cli solve: cannot read the board file " << path << '\n';
        return false;
    }
    std::string text(static_cast<std::size_t>(kMaxBoardBytes) + 1, '\0');
    file.read(text.data(), kMaxBoardBytes + 1);
    text.resize(static_cast<std::size_t>(file.gcount()));
    if (static_cast<std::streamsize>(text.size()) > kMaxBoardBytes) {
        err << "cardwise-cli solve: " << path << ": the board file is too large\n";
        return false;
    }
    std::string why;
    if (!cw::engine::parseFreecellBoard(text, board, &why)) {
        err << "cardwise-cli solve: " << path << ": " << why << '\n';
        return false;
    }
    return true;
}

// The board files named: a file itself, or every regular file of a folder in name order.
bool boardFiles(const std::string& path, std::vector<std::string>& files, std::ostream& err)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(path, ec)) {
        files.push_back(path);
        return true;
    }
    for (std::filesystem::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec))
            files.push_back(it->path().string());
    if (ec) {
        err << "cardwise-cli solve: cannot read the folder " << path << '\n';
        return false;
    }
    std::sort(files.begin(), files.end());
    return true;
}

// Solves each board on its own copy of one FreeCell deal, so the game is loaded and the
// search's tables are built once for the whole run. A bad board is reported and skipped; the
// run then ends with a failure status.
int solveBoards(const std::vector<std::string>& args, const std::string& path, std::ostream& out, std::ostream& err)
{
    cw::engine::SolverLimits limits;
    if (!readLimits(args, limits, err))
        return kExitUsage;
    std::vector<std::string> files;
    if (!boardFiles(path, files, err))
        return kExitFailure;
    std::vector<std::string> gameArgs = args;
    gameArgs.push_back("--game");
    gameArgs.push_back(std::to_string(kFreecellGameId));
    int status = kExitOk;
    auto game = loadGame("solve", gameArgs, err, status);
    if (!game)
        return status;
    const auto dealt = cw::engine::deal(game->rules, "1");
    for (const std::string& file : files) {
        cw::engine::FreecellBoard board;
        if (!readBoard(file, board, err)) {
            status = kExitFailure;
            continue;
        }
        auto state = dealt.state;
        std::string why;
        if (!cw::engine::placeFreecellBoard(board, dealt.rules, state, &why)) {
            err << "cardwise-cli solve: " << file << ": " << why << '\n';
            status = kExitFailure;
            continue;
        }
        out << "Game: " << kFreecellGameId << " board " << file << '\n';
        printResult(out, cw::engine::solve(dealt.rules, state, limits));
    }
    return status;
}

int runSolve(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string boardPath;
    if (findOption(args, "--freecell-board", boardPath))
        return solveBoards(args, boardPath, out, err);
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

CW_CLI_COMMAND("solve", "(--game ID --number N | --freecell-board FILE|FOLDER) [--budget-ms T] [--max-states S] [--threads 1|2] [--no-reductions] [--defs FILE] [--data DIR]",
               runSolve);
