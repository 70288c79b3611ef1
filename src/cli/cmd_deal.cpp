// cardwise-cli deal: deals a game number of a game and prints the table as 71 snapshot lines.
#include <ostream>

#include "cli/command.h"
#include "cli/game_args.h"
#include "engine/deal.h"
#include "engine/shuffle.h"

namespace {

int runDeal(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    using namespace cw::cli;
    std::string idText, number;
    if (!findOption(args, "--game", idText) || !findOption(args, "--number", number)) {
        err << "cardwise-cli deal: --game and --number are required\n";
        return kExitUsage;
    }
    if (!isGameNumber(number)) {
        err << "cardwise-cli deal: the game number must be 1 to 13 digits, not '" << number << "'\n";
        return kExitUsage;
    }
    int status = kExitOk;
    auto game = loadGame("deal", args, err, status);
    if (!game)
        return status;
    auto dealt = cw::engine::deal(game->rules, number);
    if (dealt.badCardCount) {
        err << "cardwise-cli deal: " << cw::engine::kShuffleErrorMessage << '\n';
        return kExitFailure;
    }
    printTable(out, dealt.state.table);
    return kExitOk;
}

} // namespace

CW_CLI_COMMAND("deal", "--game ID --number N [--defs FILE] [--data DIR]", runDeal);
