// cardwise-cli moves: the legal moves of a dealt table (or of the table after given moves), one per line in the play notation.
#include <fstream>
#include <iostream>
#include <ostream>

#include "cli/play_setup.h"
#include "engine/legal_moves.h"

namespace {

int runMoves(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string afterPath;
    const bool after = cw::cli::findOption(args, "--after", afterPath);
    std::ifstream file;
    if (after && afterPath != "-") {
        file.open(afterPath);
        if (!file) {
            err << "cardwise-cli moves: cannot read the moves file " << afterPath << '\n';
            return cw::cli::kExitFailure;
        }
    }
    int status = cw::cli::kExitOk;
    auto dealt = cw::cli::dealForPlay("moves", args, err, status);
    if (!dealt)
        return status;
    const cw::engine::PlayOptions options;
    cw::engine::Play play{dealt->rules, dealt->state, options};
    if (after) {
        // The moves that lead to the table asked about: each must be legal.
        std::istream& in = afterPath == "-" ? std::cin : file;
        std::string line;
        int lineNumber = 0;
        while (cw::cli::nextMoveLine(in, line, lineNumber)) {
            std::string reason;
            const auto move = cw::engine::parseMove(line, &reason);
            if (!move || !cw::engine::playMove(play, *move, &reason)) {
                err << "cardwise-cli moves: refused line " << lineNumber << ": " << line << ": " << reason << '\n';
                return cw::cli::kExitFailure;
            }
        }
    }
    cw::engine::MoveList moves;
    cw::engine::generateMoves(play, moves);
    for (const auto& m : moves)
        out << cw::engine::moveText(m) << '\n';
    return cw::cli::kExitOk;
}

} // namespace

CW_CLI_COMMAND("moves", "--game ID --number N [--after FILE|-] [--defs FILE] [--data DIR]", runMoves);
