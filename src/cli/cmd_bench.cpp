// cardwise-cli bench: a fixed set of deals per search kind, each searched to a fixed number of positions; a signature of what the searches did.
#include <chrono>
#include <cstdint>
#include <ctime>
#include <iomanip>
#include <ostream>
#include <sstream>

#include "catalog/definitions.h"
#include "cli/command.h"
#include "cli/game_args.h"
#include "engine/deal.h"
#include "engine/moves.h"
#include "engine/search_open.h"
#include "engine/search_spider.h"
#include "engine/solver.h"

namespace {

using namespace cw::cli;

// Positions each deal may visit unless --nodes says otherwise: enough that every kind of search
// runs its restarts and phases, little enough that the whole bench takes seconds.
constexpr long long kDefaultNodes = 200000;

struct BenchGame {
    int id;
    const char* numbers; // deals, separated by blanks
};

// The deals are part of the bench's meaning: changing them changes every signature. Each kind of
// search gets deals it wins quickly and deals that use up the positions.
constexpr BenchGame kBenchGames[] = {
    {1, "1 617 11982 24263 24377"}, // FreeCell: the open search without a stock
    {0, "1 2 3 4 5"},               // Klondike, drawn one at a time
    {176, "1 2 3 4"},               // Klondike, drawn three at a time: looser games for proofs
    {207, "1 2 3 4"},               // Spider, one suit
    {18, "1 2 3 4"},                // Spider, four suits
    {148, "1 2 3"},                 // Yukon: the general search
    {11, "1 2 3"},                  // Canfield: the general search with a reserve and a stock
    {35, "1 2 3"},                  // Scorpion
};

// Which search a deal goes to, as solve chooses it.
const char* searchKind(const cw::engine::GameRules& rules, const cw::engine::GameState& state)
{
    if (cw::engine::openRulesFor(rules, state))
        return "open";
    if (cw::engine::spiderRulesFor(rules, state))
        return "spider";
    return "general";
}

// FNV-1a over what a search answered: its verdict, the positions it visited and the line.
struct Signature {
    std::uint64_t value = 14695981039346656037ULL;
    void add(std::uint64_t word)
    {
        for (int i = 0; i < 8; ++i) {
            value ^= (word >> (8 * i)) & 0xFF;
            value *= 1099511628211ULL;
        }
    }
    void add(const cw::engine::SolveResult& r)
    {
        add(static_cast<std::uint64_t>(r.verdict));
        add(r.states);
        add(r.line.size());
        for (const auto& m : r.line)
            for (const char c : cw::engine::moveText(m))
                add(static_cast<unsigned char>(c));
    }
};

int runBench(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    long long nodes = kDefaultNodes;
    std::string text;
    if (findOption(args, "--nodes", text) && (!parseDigits(text, 10, nodes) || nodes < 1)) {
        err << "cardwise-cli bench: --nodes needs a number of positions\n";
        return kExitUsage;
    }
    int status = kExitOk;
    auto catalog = readCatalog("bench", args, err, status);
    if (!catalog)
        return status;
    cw::engine::SolverLimits limits;
    limits.maxStates = static_cast<std::uint64_t>(nodes);
    limits.threads = 1; // two threads race: their counts would differ from run to run
    Signature signature;
    std::uint64_t total = 0;
    double wall = 0, cpu = 0;
    for (const BenchGame& game : kBenchGames) {
        auto rules = cw::catalog::LoadGameRules(catalog->text, catalog->list, game.id, {});
        if (!rules.ok()) {
            err << "cardwise-cli bench: game " << game.id << " is not in " << catalog->path << '\n';
            return kExitFailure;
        }
        std::istringstream numbers(game.numbers);
        for (std::string number; numbers >> number;) {
            auto dealt = cw::engine::deal(rules.value(), number);
            dealt.state.gameId = game.id;
            dealt.state.gameNumber = number;
            const auto started = std::chrono::steady_clock::now();
            const std::clock_t cpuStart = std::clock();
            const cw::engine::SolveResult r = cw::engine::solve(dealt.rules, dealt.state, limits);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
            const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
            wall += ms;
            cpu += cpuMs;
            total += r.states;
            signature.add(r);
            out << std::left << std::setw(8) << searchKind(dealt.rules, dealt.state) << std::right << std::setw(4)
                << game.id << std::setw(7) << number << "  " << std::left << std::setw(13)
                << cw::engine::verdictText(r.verdict) << std::right << std::setw(10) << r.states << std::fixed
                << std::setprecision(1) << std::setw(9) << cpuMs << " ms\n";
        }
    }
    out << "Positions: " << total << '\n';
    out << "Positions per second: " << static_cast<long long>(wall > 0 ? total / (wall / 1000) : 0) << '\n';
    out << "Positions per processor second: " << static_cast<long long>(cpu > 0 ? total / (cpu / 1000) : 0) << '\n';
    out << "Signature: " << std::hex << std::setw(16) << std::setfill('0') << signature.value << std::dec
        << std::setfill(' ') << '\n';
    return kExitOk;
}

} // namespace

CW_CLI_COMMAND("bench", "[--nodes N] [--defs FILE]", runBench);
