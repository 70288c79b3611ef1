// Shared argument handling of the cli sub-commands: numbers, the definitions file, loading a game.
#include "cli/game_args.h"

#include <ostream>

#include "catalog/custom_games.h"
#include "catalog/definitions.h"
#include "cli/command.h"
#include "engine/table_text.h"
#include "storage/folders.h"

namespace cw::cli {

bool parseDigits(const std::string& text, int maxDigits, long long& value)
{
    if (text.empty() || static_cast<int>(text.size()) > maxDigits)
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
    long long ignored = 0;
    return parseDigits(text, 13, ignored);
}

std::string definitionsPath(const std::vector<std::string>& args)
{
    std::string path;
    if (!findOption(args, "--defs", path))
        path = storage::installationFolder() + std::string(catalog::kDefinitionsFileName);
    return path;
}

std::string dataFolder(const std::vector<std::string>& args)
{
    std::string folder;
    if (!findOption(args, "--data", folder))
        return storage::findDataFolder(storage::installationFolder(), storage::Environment::fromProcess());
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

void readCustomGames(const std::string& command, const std::vector<std::string>& args, Catalog& catalog,
                     std::ostream& err)
{
    const std::string folder = dataFolder(args);
    catalog::CustomGamesRead read = catalog::ReadCustomGamesFile(folder, &catalog.list);
    const std::string file = catalog::CustomGamesFilePath(folder).string();
    for (const std::string& skipped : read.skipped)
        err << "cardwise-cli " << command << ": " << file << ": " << skipped << " (left out)\n";
    catalog.customs = std::move(read.games);
}

std::optional<Catalog> readCatalog(const std::string& command, const std::vector<std::string>& args, std::ostream& err,
                                   int& status)
{
    Catalog c;
    c.path = definitionsPath(args);
    auto text = catalog::ReadWholeFile(c.path);
    if (!text) {
        err << "cardwise-cli " << command << ": " << text.error() << '\n';
        status = kExitFailure;
        return std::nullopt;
    }
    c.text = std::move(text.value());
    auto built = catalog::BuildGameList(c.text, c.path);
    for (const auto& warning : built.warnings)
        err << "cardwise-cli " << command << ": " << warning << '\n';
    c.list = std::move(built.list);
    return c;
}

std::optional<LoadedGame> loadGame(const std::string& command, const std::vector<std::string>& args, std::ostream& err,
                                   int& status)
{
    std::string idText;
    if (!findOption(args, "--game", idText)) {
        err << "cardwise-cli " << command << ": --game is required\n";
        status = kExitUsage;
        return std::nullopt;
    }
    long long id = 0;
    if (!parseDigits(idText, 4, id)) {
        err << "cardwise-cli " << command << ": unknown game '" << idText << "'\n";
        status = kExitUsage;
        return std::nullopt;
    }
    auto cat = readCatalog(command, args, err, status);
    if (!cat)
        return std::nullopt;
    const bool custom = id >= catalog::kFirstCustomId;
    if (custom)
        readCustomGames(command, args, *cat, err);
    const bool known = custom ? catalog::FindCustomGame(cat->customs, static_cast<int>(id)) != nullptr
                              : cat->list.find(static_cast<int>(id)) != nullptr;
    if (!known) {
        err << "cardwise-cli " << command << ": unknown game " << id;
        if (custom)
            err << " (no such custom game in " << catalog::CustomGamesFilePath(dataFolder(args)).string() << ")";
        err << '\n';
        status = kExitUsage;
        return std::nullopt;
    }
    auto rules = catalog::LoadGameRules(cat->text, cat->list, static_cast<int>(id), cat->customs, cat->path);
    if (!rules) {
        err << "cardwise-cli " << command << ": " << rules.error() << '\n';
        status = kExitFailure;
        return std::nullopt;
    }
    return LoadedGame{std::move(*cat), static_cast<int>(id), rules.value()};
}

void printTable(std::ostream& out, const engine::Table& table)
{
    for (const auto& line : engine::encodeSnapshot(table))
        out << line << '\n';
}

} // namespace cw::cli
