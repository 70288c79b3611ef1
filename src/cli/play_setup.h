// Shared by cardwise-cli play and moves: the dealt game of "--game ID --number N" ready to be played.
#pragma once

#include <istream>
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

// The next move of a moves text, one per line: blank lines and lines starting with '#' are
// skipped, the ends trimmed. lineNumber counts every line read. False at the end of the text.
inline bool nextMoveLine(std::istream& in, std::string& line, int& lineNumber)
{
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        line = line.substr(first, line.find_last_not_of(" \t") - first + 1);
        return true;
    }
    return false;
}

} // namespace cw::cli
