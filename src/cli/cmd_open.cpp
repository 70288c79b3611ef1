// cardwise-cli open: reads a saved game file, undoes moves when asked, prints the table, the score and the undo depth.
#include <ostream>

#include "cli/command.h"
#include "cli/game_args.h"
#include "engine/history.h"
#include "engine/saved_game.h"
#include "engine/score.h"
#include "storage/fixed_width.h"

namespace {

using namespace cw::cli;
using namespace cw::engine;

int runOpen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0].starts_with("--")) {
        err << "cardwise-cli open: the saved game file is required\n";
        return kExitUsage;
    }
    const std::string& path = args[0];
    long long undoSteps = 0;
    std::string undoText;
    if (findOption(args, "--undo", undoText) && !parseDigits(undoText, 7, undoSteps)) {
        err << "cardwise-cli open: --undo needs a number of moves, not '" << undoText << "'\n";
        return kExitUsage;
    }

    const SavedGameRead read = readSavedGame(path);
    if (!read.ok()) {
        err << "cardwise-cli open: " << read.message;
        if (!read.detail.empty())
            err << " (" << read.detail << ")";
        err << '\n';
        return kExitUsage;
    }
    const SavedGame& game = read.game;

    // The game's rules from the definitions file, as the file names it.
    std::vector<std::string> gameArgs = {"--game", cw::storage::fixedNumber(game.gameId, 4)};
    std::string defs;
    if (findOption(args, "--defs", defs))
        gameArgs.insert(gameArgs.end(), {"--defs", defs});
    std::string data;
    if (findOption(args, "--data", data))
        gameArgs.insert(gameArgs.end(), {"--data", data});
    int status = kExitOk;
    auto loaded = loadGame("open", gameArgs, err, status);
    if (!loaded)
        return status;
    cw::engine::GameRules rules(loaded->rules);
    restoreRules(game, rules);

    GameState state;
    History history;
    restoreGame(game, rules, RestoreMode::Open, state, history);
    const std::size_t depth = history.undo.snapshots.size();
    if (static_cast<unsigned long long>(undoSteps) > depth) {
        err << "cardwise-cli open: " << undoSteps << " moves cannot be undone, the file holds " << depth << '\n';
        return kExitUsage;
    }
    const HistoryPolicy policy = HistoryPolicy::forGame(rules, UndoOption::Unlimited);
    for (long long k = 0; k < undoSteps; ++k)
        history.undoMove(state, policy);

    const int score = recomputeScore({rules, state, game.scoringCode, game.score, &history});
    printTable(out, state.table);
    out << "score " << score << " undo " << history.undo.snapshots.size() << '\n';
    return kExitOk;
}

} // namespace

CW_CLI_COMMAND("open", "FILE [--undo K] [--defs FILE] [--data DIR]", runOpen);
