// Shared by cardwise-cli play and moves: the dealt game of "--game ID --number N" ready to be played.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/game_args.h"
#include "engine/deal.h"
#include "engine/shuffle.h"

namespace cw::cli {

// Deals the game; on failure writes why to err, sets status and returns nothing.
inline std::optional<engine::DealResult> dealForPlay(const std::string& command, const std::vector<std::string>& args,
                                                     std::ostream& err, int& status)
{
    std::string number;
    if (!findOption(args, "--number", number)) {
        err << "cardwise-cli " << command << ": --game and --number are required\n";
        status = kExitUsage;
        return std::nullopt;
    }
    if (!isGameNumber(number)) {
        err << "cardwise-cli " << command << ": the game number must be 1 to 13 digits, not '" << number << "'\n";
        status = kExitUsage;
        return std::nullopt;
    }
    auto game = loadGame(command, args, err, status);
    if (!game)
        return std::nullopt;
    auto dealt = engine::deal(game->rules, number);
    if (dealt.badCardCount) {
        err << "cardwise-cli " << command << ": " << engine::kShuffleErrorMessage << '\n';
        status = kExitFailure;
        return std::nullopt;
    }
    dealt.state.gameId = game->id;
    dealt.state.gameNumber = number;
    return dealt;
}

} // namespace cw::cli
