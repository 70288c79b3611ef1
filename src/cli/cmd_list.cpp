// cardwise-cli list: one line per listed game of the definitions file: id, type, name.
#include <ostream>

#include "catalog/custom_games.h"
#include "cli/command.h"
#include "cli/game_args.h"

namespace {

int runList(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    using namespace cw::cli;
    int status = kExitOk;
    auto cat = readCatalog("list", args, err, status);
    if (!cat)
        return status;
    for (const auto& game : cat->list.entries())
        if (game.usable)
            out << game.id << ' ' << game.type << ' ' << game.name << '\n';
    // The player's own games follow, by name, with the type of custom games.
    readCustomGames("list", args, *cat, err);
    for (const auto& game : cw::catalog::ListCustomGames(cat->customs))
        out << game.id << ' ' << cw::catalog::kCustomGameType << ' ' << game.name << '\n';
    return kExitOk;
}

} // namespace

CW_CLI_COMMAND("list", "[--defs FILE] [--data DIR]", runList);
