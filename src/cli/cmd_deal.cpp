// cardwise-cli deal: deals a game number of a game and prints the table as 71 snapshot lines.
#include <ostream>

#include "catalog/custom_games.h"
#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "cli/command.h"
#include "engine/deal.h"
#include "engine/shuffle.h"
#include "engine/table_text.h"
#include "storage/folders.h"

namespace {

bool parseGameId(const std::string& text, int& id)
{
    if (text.empty() || text.size() > 4)
        return false;
    id = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        id = id * 10 + (c - '0');
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

int runDeal(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    using namespace cw::cli;
    std::string idText, number;
    if (!findOption(args, "--game", idText) || !findOption(args, "--number", number)) {
        err << "cardwise-cli deal: --game and --number are required\n";
        return kExitUsage;
    }
    int id = 0;
    if (!parseGameId(idText, id)) {
        err << "cardwise-cli deal: unknown game '" << idText << "'\n";
        return kExitUsage;
    }
    if (!isGameNumber(number)) {
        err << "cardwise-cli deal: the game number must be 1 to 13 digits, not '" << number << "'\n";
        return kExitUsage;
    }

    // "--defs FILE" reads another definitions file (tests, catalog work); the default is
    // GAMES.DAT of the installation folder.
    std::string defsPath;
    if (!findOption(args, "--defs", defsPath))
        defsPath = cw::storage::installationFolder() + std::string(cw::catalog::kDefinitionsFileName);
    auto text = cw::catalog::ReadWholeFile(defsPath);
    if (!text) {
        err << "cardwise-cli deal: " << text.error() << '\n';
        return kExitFailure;
    }
    const auto list = cw::catalog::BuildGameList(text.value(), defsPath).list;
    if (id >= 8000 || list.find(id) == nullptr) {
        err << "cardwise-cli deal: unknown game " << id << '\n';
        return kExitUsage;
    }
    auto rules = cw::catalog::LoadGameRules(text.value(), list, id, {}, defsPath);
    if (!rules) {
        err << "cardwise-cli deal: " << rules.error() << '\n';
        return kExitFailure;
    }

    auto dealt = cw::engine::deal(rules.value(), number);
    if (dealt.badCardCount) {
        err << "cardwise-cli deal: " << cw::engine::kShuffleErrorMessage << '\n';
        return kExitFailure;
    }
    for (const auto& line : cw::engine::encodeSnapshot(dealt.state.table))
        out << line << '\n';
    return kExitOk;
}

} // namespace

CW_CLI_COMMAND("deal", "--game ID --number N [--defs FILE]", runDeal);
