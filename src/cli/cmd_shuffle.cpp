// cardwise-cli shuffle: prints the deal array of a game number as three-digit codes.
#include <ostream>

#include "cli/command.h"
#include "engine/card.h"
#include "engine/shuffle.h"

namespace {

bool parseSmallInt(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 4)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

bool isGameNumber(const std::string& text)
{
    if (text.empty() || text.size() > 13)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

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
    int jokers = 0;
    if (!parseSmallInt(cardsText, in.cards) ||
        (in.cards != 52 && in.cards != 104 && in.cards != 156 && in.cards != 208)) {
        err << "cardwise-cli shuffle: --cards must be 52, 104, 156 or 208, not '" << cardsText << "'\n";
        return kExitUsage;
    }
    if (!parseSmallInt(jokersText, jokers) || jokers > 4) {
        err << "cardwise-cli shuffle: --jokers must be 0 to 4, not '" << jokersText << "'\n";
        return kExitUsage;
    }
    if (!parseSmallInt(reducedText, in.reduced) || in.reduced > 2) {
        err << "cardwise-cli shuffle: --reduced must be 0, 1 or 2, not '" << reducedText << "'\n";
        return kExitUsage;
    }
    if (!isGameNumber(number)) {
        err << "cardwise-cli shuffle: the game number must be 1 to 13 digits, not '" << number << "'\n";
        return kExitUsage;
    }
    in.jokers = jokers > 0;
    in.jokerCount = jokers;
    const auto result = cw::engine::fnGameNumberCardsArray(number, in);
    for (std::size_t i = 0; i < result.cards.size(); ++i)
        out << (i ? " " : "") << cw::engine::codeText(result.cards[i]);
    out << '\n';
    return kExitOk;
}

} // namespace

CW_CLI_COMMAND("shuffle", "--cards 52|104|156|208 [--jokers K] [--reduced 0|1|2] --number N", runShuffle);
