// cardwise-cli list: one line per listed game of the definitions file: id, type, name.
#include <ostream>

#include "cli/command.h"
#include "cli/game_args.h"

namespace {

int runList(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    using namespace cw::cli;
    int status = kExitOk;
    const auto cat = readCatalog("list", args, err, status);
    if (!cat)
        return status;
    for (const auto& game : cat->list.entries())
        if (game.usable)
            out << game.id << ' ' << game.type << ' ' << game.name << '\n';
    return kExitOk;
}

} // namespace

CW_CLI_COMMAND("list", "[--defs FILE]", runList);
