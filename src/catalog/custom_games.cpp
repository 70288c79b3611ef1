// Reader of the custom games file and the lookups by custom game id and name.
#include "catalog/custom_games.h"

#include "catalog/definitions.h"
#include "storage/safe_file.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace cw::catalog {
namespace {

std::string lowered(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string_view field(std::string_view line, std::size_t first, std::size_t len)
{
    if (first >= line.size())
        return {};
    return line.substr(first, len);
}

} // namespace

std::vector<CustomGame> ReadCustomGames(std::string_view text)
{
    const std::vector<std::string> lines = SplitLines(text);
    std::vector<CustomGame> games;
    int record = 0;
    for (std::size_t i = 1; i < lines.size(); i += kCustomRecordLines, ++record) {
        const std::string_view first = lines[i];
        auto id = ParseDefinitionInteger(field(first, 0, 4));
        if (!id || *id < kFirstCustomId || *id > kLastCustomId)
            continue;
        CustomGame g;
        g.id = static_cast<int>(*id);
        g.name = std::string(TrimTrailingBlanks(field(first, 4, 50)));
        auto base = ParseDefinitionInteger(field(first, 54, 4));
        g.baseId = (base && *base >= 0 && *base < kFirstCustomId) ? static_cast<int>(*base) : -1;
        if (i + 1 < lines.size())
            g.ruleString = std::string(field(lines[i + 1], 0, kCustomRuleStringLength));
        g.record = record;
        games.push_back(std::move(g));
    }
    return games;
}

std::filesystem::path FindFileNoCase(const std::filesystem::path& folder, std::string_view name)
{
    return storage::resolveNoCase((folder / std::string(name)).string());
}

std::vector<CustomGame> ReadCustomGamesFile(const std::filesystem::path& dataFolder)
{
    auto text = ReadWholeFile(FindFileNoCase(dataFolder, kCustomGamesFileName));
    if (!text)
        return {};
    return ReadCustomGames(*text);
}

CustomGameRecordInfo CustomGameRecord(const std::vector<CustomGame>& games, int id)
{
    for (const CustomGame& g : games)
        if (g.id == id)
            return {g.baseId, g.ruleString};
    return {};
}

std::string CustomGameName(const std::vector<CustomGame>& games, int id)
{
    for (const CustomGame& g : games)
        if (g.id == id)
            return g.name;
    return {};
}

int CustomGameIdByName(const std::vector<CustomGame>& games, std::string_view name)
{
    const std::string wanted = lowered(TrimTrailingBlanks(name));
    int found = -1;
    for (const CustomGame& g : games)
        if (lowered(g.name) == wanted)
            found = g.id;
    return found;
}

} // namespace cw::catalog
