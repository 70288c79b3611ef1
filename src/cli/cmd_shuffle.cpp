// cardwise-cli shuffle: prints the deal array of a game number as three-digit codes.
#include <ostream>

#include "cli/command.h"
#include "cli/game_args.h"
#include "engine/card.h"
#include "engine/shuffle.h"

namespace {

int runShuffle(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    using namespace cw::cli;
    std::string cardsText, number, jokersText = "0", reducedText = "0";
    if (!findOption(args, "--cards", cardsText) || !findOption(args, "--number", number)) {
        err << "cardwise-cli shuffle: --cards and --number are required\n";
        return kExitUsage;
    }
    findOption(args, "--jokers", jokersText);
    findOption(args, "--reduced", reducedText);
    cw::engine::ShuffleInput in;
    long long cards = 0, jokers = 0, reduced = 0;
    if (!parseDigits(cardsText, 3, cards) || (cards != 52 && cards != 104 && cards != 156 && cards != 208)) {
        err << "cardwise-cli shuffle: --cards must be 52, 104, 156 or 208, not '" << cardsText << "'\n";
        return kExitUsage;
    }
    if (!parseDigits(jokersText, 1, jokers) || jokers > 4) {
        err << "cardwise-cli shuffle: --jokers must be 0 to 4, not '" << jokersText << "'\n";
        return kExitUsage;
    }
    if (!parseDigits(reducedText, 1, reduced) || reduced > 2) {
        err << "cardwise-cli shuffle: --reduced must be 0, 1 or 2, not '" << reducedText << "'\n";
        return kExitUsage;
    }
    if (!isGameNumber(number)) {
        err << "cardwise-cli shuffle: the game number must be 1 to 13 digits, not '" << number << "'\n";
        return kExitUsage;
    }
    in.cards = static_cast<int>(cards);
    in.reduced = static_cast<int>(reduced);
    in.jokers = jokers > 0;
    in.jokerCount = static_cast<int>(jokers);
    const auto result = cw::engine::fnGameNumberCardsArray(number, in);
    for (std::size_t i = 0; i < result.cards.size(); ++i)
        out << (i ? " " : "") << cw::engine::codeText(result.cards[i]);
    out << '\n';
    return kExitOk;
}

} // namespace

CW_CLI_COMMAND("shuffle", "--cards 52|104|156|208 [--jokers K] [--reduced 0|1|2] --number N", runShuffle);
