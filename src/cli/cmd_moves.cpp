// cardwise-cli moves: the legal moves of a dealt table, one per line in the play notation.
#include <ostream>

#include "cli/play_setup.h"
#include "engine/legal_moves.h"

namespace {

int runMoves(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    int status = cw::cli::kExitOk;
    auto dealt = cw::cli::dealForPlay("moves", args, err, status);
    if (!dealt)
        return status;
    const cw::engine::PlayOptions options;
    cw::engine::Play play{dealt->rules, dealt->state, options};
    cw::engine::MoveList moves;
    cw::engine::generateMoves(play, moves);
    for (const auto& m : moves)
        out << cw::engine::moveText(m) << '\n';
    return cw::cli::kExitOk;
}

} // namespace

CW_CLI_COMMAND("moves", "--game ID --number N [--defs FILE]", runMoves);
