// cardwise-cli play: plays moves from a file, standard input or at random on a dealt table and prints the result.
#include <fstream>
#include <iostream>
#include <ostream>
#include <string>

#include "cli/play_setup.h"
#include "engine/legal_moves.h"
#include "engine/random.h"
#include "engine/saved_game.h"
#include "engine/score.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"

namespace {

using namespace cw::cli;

// Applies one move per line; blank lines and lines starting with '#' are skipped. Each refused
// line is reported after the table.
void playLines(std::istream& in, cw::engine::Play& play, std::vector<std::string>& refused,
               cw::engine::MoveRecorder& recorder)
{
    std::string line;
    int lineNumber = 0;
    while (nextMoveLine(in, line, lineNumber)) {
        std::string reason;
        const auto move = cw::engine::parseMove(line, &reason);
        bool played = false;
        if (move) {
            recorder.begin(play.state);
            played = cw::engine::playMove(play, *move, &reason);
            recorder.end(play.state, played);
        }
        if (!played)
            refused.push_back("refused line " + std::to_string(lineNumber) + ": " + line + ": " + reason);
    }
}

int runPlay(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string movesPath, countText, seedText;
    const bool fromFile = findOption(args, "--moves", movesPath);
    const bool random = findOption(args, "--random", countText);
    if (fromFile == random) {
        err << "cardwise-cli play: give either --moves FILE|- or --random K --seed S\n";
        return kExitUsage;
    }
    long long count = 0, seed = 0;
    if (random && (!parseDigits(countText, 7, count) || !findOption(args, "--seed", seedText) ||
                   !parseDigits(seedText, 10, seed) || seed > 0xFFFFFFFFLL)) {
        err << "cardwise-cli play: --random needs a move count and --seed a number up to 4294967295\n";
        return kExitUsage;
    }
    std::ifstream file;
    if (fromFile && movesPath != "-") {
        file.open(movesPath);
        if (!file) {
            err << "cardwise-cli play: cannot read the moves file " << movesPath << '\n';
            return kExitFailure;
        }
    }

    int status = kExitOk;
    auto dealt = dealForPlay("play", args, err, status);
    if (!dealt)
        return status;
    cw::engine::PlayOptions options;
    options.autoplay = hasFlag(args, "--autoplay");
    cw::engine::Play play{dealt->rules, dealt->state, options};

    // Every action is one undo step of the history that --save writes with the table.
    cw::engine::History history;
    cw::engine::MoveRecorder recorder(
        history, cw::engine::HistoryPolicy::forGame(dealt->rules, cw::engine::UndoOption::Unlimited));
    std::vector<std::string> report;
    if (fromFile) {
        playLines(movesPath == "-" ? std::cin : file, play, report, recorder);
    } else {
        cw::engine::Random rng(static_cast<std::uint32_t>(seed));
        cw::engine::MoveList moves;
        for (long long k = 0; k < count; ++k) {
            cw::engine::generateMoves(play, moves);
            if (moves.empty())
                break;
            const auto move = moves[rng.next(moves.size())];
            recorder.begin(play.state);
            recorder.end(play.state, cw::engine::applyMove(play, move));
            if (hasFlag(args, "--show-moves"))
                report.push_back("played: " + cw::engine::moveText(move));
        }
    }
    std::string savePath;
    if (findOption(args, "--save", savePath)) {
        dealt->state.score = cw::engine::recomputeScore({dealt->rules, dealt->state});
        cw::storage::SettingsStore settings;
        settings.set(cw::storage::col::ScoringCode, "01");
        try {
            cw::engine::writeSavedGame(
                savePath, cw::engine::captureGame(dealt->state, dealt->rules, history.undo, settings, 0));
        } catch (const cw::storage::FileError& e) {
            err << "cardwise-cli play: " << e.what() << '\n';
            return kExitFailure;
        }
    }
    printTable(out, dealt->state.table);
    for (const auto& line : report)
        out << line << '\n';
    if (dealt->state.won)
        out << "won\n";
    return kExitOk;
}

} // namespace

CW_CLI_COMMAND("play", "--game ID --number N (--moves FILE|- | --random K --seed S [--show-moves]) [--autoplay] [--save FILE] [--defs FILE] [--data DIR]",
               runPlay);
