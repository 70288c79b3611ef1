// cardwise-cli list: one line per listed game of the definitions file: id, type, name.
#include <ostream>

#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "cli/command.h"
#include "storage/folders.h"

namespace {

int runList(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    using namespace cw::cli;
    std::string defsPath;
    if (!findOption(args, "--defs", defsPath))
        defsPath = cw::storage::installationFolder() + std::string(cw::catalog::kDefinitionsFileName);
    auto text = cw::catalog::ReadWholeFile(defsPath);
    if (!text) {
        err << "cardwise-cli list: " << text.error() << '\n';
        return kExitFailure;
    }
    const auto build = cw::catalog::BuildGameList(text.value(), defsPath);
    for (const auto& warning : build.warnings)
        err << "cardwise-cli list: " << warning << '\n';
    for (const auto& game : build.list.entries())
        if (game.usable)
            out << game.id << ' ' << game.type << ' ' << game.name << '\n';
    return kExitOk;
}

} // namespace

CW_CLI_COMMAND("list", "[--defs FILE]", runList);
