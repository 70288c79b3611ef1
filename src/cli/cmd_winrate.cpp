// cardwise-cli winrate: solves a run of deals of one game and prints how many were won, unknowns apart.
#include <algorithm>
#include <iomanip>
#include <ostream>
#include <vector>

#include "cli/command.h"
#include "cli/game_args.h"
#include "engine/deal.h"
#include "engine/random.h"
#include "engine/solver.h"

namespace {

using namespace cw::cli;

constexpr int kDefaultBudgetMs = 2000;

int runWinrate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string text;
    long long deals = 0, from = 1, budget = kDefaultBudgetMs;
    if (!findOption(args, "--deals", text) || !parseDigits(text, 7, deals) || deals < 1) {
        err << "cardwise-cli winrate: --deals needs a number of deals (1 or more)\n";
        return kExitUsage;
    }
    if (findOption(args, "--from", text) && (!parseDigits(text, 12, from) || from < 1)) {
        err << "cardwise-cli winrate: --from needs a game number (1 or more)\n";
        return kExitUsage;
    }
    if (findOption(args, "--budget-ms", text) && !parseDigits(text, 8, budget)) {
        err << "cardwise-cli winrate: --budget-ms needs a number of milliseconds\n";
        return kExitUsage;
    }
    // --seed draws 13-digit game numbers from a fixed seed instead of counting up from --from:
    // small neighbouring numbers give near-identical, structured deals. --skip leaves out the
    // first numbers of that sequence, so that a long sample can be split and its parts merged.
    long long seed = -1, skip = 0;
    if (findOption(args, "--seed", text) && (!parseDigits(text, 10, seed) || seed > 0xFFFFFFFFLL)) {
        err << "cardwise-cli winrate: --seed needs a number up to 4294967295\n";
        return kExitUsage;
    }
    if (findOption(args, "--skip", text) && (!parseDigits(text, 9, skip) || seed < 0)) {
        err << "cardwise-cli winrate: --skip needs a number of deals, and --seed\n";
        return kExitUsage;
    }
    if (seed >= 0 && findOption(args, "--from", text)) {
        err << "cardwise-cli winrate: give either --from or --seed\n";
        return kExitUsage;
    }
    long long maxStates = 0;
    if (findOption(args, "--max-states", text) && !parseDigits(text, 12, maxStates)) {
        err << "cardwise-cli winrate: --max-states needs a number\n";
        return kExitUsage;
    }
    long long threads = 1;
    if (findOption(args, "--threads", text) && (!parseDigits(text, 1, threads) || threads < 1 || threads > 2)) {
        err << "cardwise-cli winrate: --threads needs 1 or 2\n";
        return kExitUsage;
    }
    const bool verbose = hasFlag(args, "--verbose");
    int status = kExitOk;
    auto game = loadGame("winrate", args, err, status);
    if (!game)
        return status;
    cw::engine::SolverLimits limits;
    limits.budgetMs = static_cast<int>(budget);
    // A position budget gives the same answers on every run and machine (for comparing builds).
    limits.maxStates = static_cast<std::uint64_t>(maxStates);
    limits.threads = static_cast<int>(threads);
    long long won = 0, lost = 0, unknown = 0;
    double totalMs = 0, totalCpuMs = 0;
    std::vector<double> times;
    cw::engine::Random numbers(static_cast<std::uint32_t>(seed < 0 ? 0 : seed));
    for (long long k = 0; seed >= 0 && k < skip; ++k)
        numbers.newGameNumber();
    for (long long k = 0; k < deals; ++k) {
        const std::string number = seed >= 0 ? numbers.newGameNumber() : std::to_string(from + k);
        auto dealt = cw::engine::deal(game->rules, number);
        if (dealt.badCardCount) {
            err << "cardwise-cli winrate: game " << game->id << " cannot be dealt\n";
            return kExitFailure;
        }
        dealt.state.gameId = game->id;
        dealt.state.gameNumber = number;
        const auto r = cw::engine::solve(dealt.rules, dealt.state, limits);
        std::string why;
        if (r.verdict == cw::engine::Verdict::Winnable &&
            !cw::engine::replayWins(dealt.rules, dealt.state, r.line, &why)) {
            err << "cardwise-cli winrate: the winning line of deal " << number << " does not replay: " << why << '\n';
            return kExitFailure;
        }
        switch (r.verdict) {
        case cw::engine::Verdict::Winnable: ++won; break;
        case cw::engine::Verdict::NotWinnable: ++lost; break;
        case cw::engine::Verdict::Unknown: ++unknown; break;
        }
        totalMs += r.milliseconds;
        totalCpuMs += r.cpuMilliseconds;
        times.push_back(r.milliseconds);
        if (verbose)
            out << number << ' ' << cw::engine::verdictText(r.verdict) << ' ' << r.states << " states " << std::fixed
                << std::setprecision(2) << r.milliseconds << " ms (processor " << r.cpuMilliseconds << " ms)\n";
    }
    std::sort(times.begin(), times.end());
    out << won << " in " << deals << '\n';
    out << "Won: " << won << ", not winnable: " << lost << ", unknown: " << unknown << '\n';
    if (seed >= 0)
        out << "Sample: seed " << seed << ", deals " << skip + 1 << " to " << skip + deals << " of its numbers\n";
    out << std::fixed << std::setprecision(3) << "Time: mean " << totalMs / static_cast<double>(deals) << " ms, median "
        << times[times.size() / 2] << " ms, total " << totalMs / 1000.0 << " s; processor time mean "
        << totalCpuMs / static_cast<double>(deals) << " ms\n";
    out << "The solver sees the face-down cards.\n";
    return kExitOk;
}

} // namespace

CW_CLI_COMMAND("winrate",
               "--game ID --deals K [--from N | --seed S [--skip N]] [--budget-ms T] [--max-states S] [--threads 1|2] "
               "[--verbose] [--defs FILE] [--data DIR]",
               runWinrate);
