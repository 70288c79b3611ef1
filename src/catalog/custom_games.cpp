// The custom games file GAM_CUST.DAT: its records read and checked, written back whole, and the lookups by id and name.
#include "catalog/custom_games.h"

#include "catalog/custom_rules.h"
#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "storage/fixed_width.h"
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

bool blankLine(std::string_view line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
}

bool hasControlCharacters(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return c < 0x20 || c == 0x7f;
    });
}

// A field quoted for a message; bytes that are not printable shown as "?".
std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (char ch : text.substr(0, 20)) {
        const auto c = static_cast<unsigned char>(ch);
        out.push_back(c < 0x20 || c >= 0x7f ? '?' : ch);
    }
    if (text.size() > 20)
        out += "...";
    return out + "\"";
}

// Why a record cannot be played ("" when it can); fills `game` as far as it reads.
std::string checkRecord(const std::vector<std::string>& lines, const GameList* list, CustomGame& game)
{
    const std::string_view first = lines.empty() ? std::string_view{} : std::string_view(lines[0]);
    game.name = std::string(TrimTrailingBlanks(field(first, 4, kCustomNameLength)));
    const std::string_view idField = field(first, 0, 4);
    const auto id = ParseDefinitionInteger(idField);
    if (!id)
        return "the id " + quoted(idField) + " is not a number";
    if (*id < kFirstCustomId || *id > kLastCustomId)
        return "the id " + std::to_string(*id) + " is not between 8000 and 9999";
    game.id = static_cast<int>(*id);
    if (game.name.find_first_not_of(' ') == std::string::npos)
        return "the game has no name";
    if (hasControlCharacters(game.name))
        return "the name holds characters that are not text";
    if (first.size() < 4 + kCustomNameLength + 4)
        return "the first line is cut short (" + std::to_string(first.size()) + " characters instead of 58)";
    const std::string_view baseField = field(first, 4 + kCustomNameLength, 4);
    const auto base = ParseDefinitionInteger(baseField);
    if (!base)
        return "the base game " + quoted(baseField) + " is not a number";
    if (*base < 0 || *base >= kFirstCustomId)
        return "the base game " + std::to_string(*base) + " is not a built-in game";
    game.baseId = static_cast<int>(*base);
    if (list && list->find(game.baseId) == nullptr)
        return "the base game " + std::to_string(*base) + " is not in the game list";
    // A record cut off before its rules has blank ones, as a rewrite (which pads it) would give it.
    const std::string_view rules = lines.size() < 2 ? std::string_view{} : std::string_view(lines[1]);
    if (std::string why = CheckCustomRuleString(rules); !why.empty())
        return why;
    game.ruleString = std::string(rules.substr(0, kCustomRuleStringLength));
    game.ruleString.resize(kCustomRuleStringLength, ' ');
    return {};
}

} // namespace

CustomGamesFile ParseCustomGamesFile(std::string_view text)
{
    CustomGamesFile file;
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.empty())
        return file;
    file.header = lines[0];
    for (std::size_t i = 1; i < lines.size(); i += kCustomRecordLines) {
        const std::size_t end = std::min(lines.size(), i + kCustomRecordLines);
        std::vector<std::string> record(lines.begin() + static_cast<std::ptrdiff_t>(i),
                                        lines.begin() + static_cast<std::ptrdiff_t>(end));
        if (std::all_of(record.begin(), record.end(), [](const std::string& l) { return blankLine(l); }))
            continue;
        file.records.push_back(std::move(record));
    }
    return file;
}

std::string FormatCustomGamesFile(const CustomGamesFile& file)
{
    std::string out = file.header + "\r\n";
    for (const auto& record : file.records)
        for (int i = 0; i < kCustomRecordLines; ++i) {
            if (static_cast<std::size_t>(i) < record.size())
                out += record[static_cast<std::size_t>(i)];
            out += "\r\n";
        }
    return out;
}

CustomGamesRead ReadCustomGames(const CustomGamesFile& file, const GameList* list)
{
    CustomGamesRead read;
    for (std::size_t r = 0; r < file.records.size(); ++r) {
        CustomGame game;
        game.record = static_cast<int>(r);
        std::string why = checkRecord(file.records[r], list, game);
        if (why.empty()) {
            // A hand-edited file may give two records one id: the first one keeps it.
            for (const CustomGame& earlier : read.games)
                if (earlier.id == game.id) {
                    why = "the id " + std::to_string(game.id) + " is already used by record " +
                          std::to_string(earlier.record + 1) + " (\"" + earlier.name + "\")";
                    break;
                }
        }
        if (!why.empty()) {
            std::string where = "record " + std::to_string(r + 1) + " (line " +
                                std::to_string(1 + static_cast<int>(r) * kCustomRecordLines + 1) + ")";
            if (!game.name.empty() && game.name.find_first_not_of(' ') != std::string::npos &&
                !hasControlCharacters(game.name))
                where += " \"" + game.name + "\"";
            read.skipped.push_back(where + ": " + why);
            continue;
        }
        read.games.push_back(std::move(game));
    }
    return read;
}

CustomGamesRead ReadCustomGames(std::string_view text, const GameList* list)
{
    return ReadCustomGames(ParseCustomGamesFile(text), list);
}

std::filesystem::path FindFileNoCase(const std::filesystem::path& folder, std::string_view name)
{
    return storage::resolveNoCase((folder / std::string(name)).string());
}

std::filesystem::path CustomGamesFilePath(const std::filesystem::path& dataFolder)
{
    return FindFileNoCase(dataFolder, kCustomGamesFileName);
}

CustomGamesRead ReadCustomGamesFile(const std::filesystem::path& dataFolder, const GameList* list)
{
    const std::filesystem::path path = CustomGamesFilePath(dataFolder);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return {};
    auto text = ReadWholeFile(path);
    if (!text)
        return {{}, {text.error()}};
    return ReadCustomGames(*text, list);
}

std::string SkippedCustomGamesMessage(const std::filesystem::path& file, const std::vector<std::string>& skipped)
{
    std::string text = "Some customized games of the file\n" + file.string() + "\ncannot be played and were left out:";
    for (const std::string& s : skipped)
        text += "\n" + s;
    text += "\nThe file keeps them as they are.";
    return text;
}

std::optional<int> NextCustomGameId(const CustomGamesFile& file)
{
    std::vector<bool> used(kLastCustomId - kFirstCustomId + 1, false);
    for (const auto& record : file.records) {
        if (record.empty())
            continue;
        const auto id = ParseDefinitionInteger(field(record[0], 0, 4));
        if (id && *id >= kFirstCustomId && *id <= kLastCustomId)
            used[static_cast<std::size_t>(*id - kFirstCustomId)] = true;
    }
    for (std::size_t i = 0; i < used.size(); ++i)
        if (!used[i])
            return kFirstCustomId + static_cast<int>(i);
    return std::nullopt;
}

std::vector<std::string> CustomGameRecordLines(int id, const NewCustomGame& game)
{
    std::vector<std::string> lines(kCustomRecordLines);
    lines[0] = storage::fixedNumber(id, 4) + storage::fixedText(game.name, kCustomNameLength) +
               storage::fixedNumber(game.baseId, 4);
    lines[1] = game.ruleString;
    return lines;
}

namespace {

// The file as it stands now, or why it must not be replaced (it exists but cannot be read).
Result<CustomGamesFile> loadForUpdate(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return CustomGamesFile{};
    auto text = ReadWholeFile(path);
    if (!text)
        return Result<CustomGamesFile>::failure(text.error());
    return ParseCustomGamesFile(*text);
}

std::optional<std::string> writeFile(const std::filesystem::path& path, const CustomGamesFile& file)
{
    try {
        storage::writeFileAtomic(path.string(), FormatCustomGamesFile(file));
    } catch (const storage::FileError& e) {
        return e.what();
    }
    return std::nullopt;
}

} // namespace

Result<int> SaveNewCustomGame(const std::filesystem::path& dataFolder, const NewCustomGame& game)
{
    const std::filesystem::path path = CustomGamesFilePath(dataFolder);
    auto file = loadForUpdate(path);
    if (!file)
        return Result<int>::failure(file.error());
    const std::optional<int> id = NextCustomGameId(*file);
    if (!id)
        return Result<int>::failure("Every customized game number from 8000 to 9999 is in use.\n"
                                    "Delete a customized game before you make a new one.");
    file->records.push_back(CustomGameRecordLines(*id, game));
    if (auto error = writeFile(path, *file))
        return Result<int>::failure(*error);
    return *id;
}

Result<bool> RemoveCustomGame(const std::filesystem::path& dataFolder, int id)
{
    const std::filesystem::path path = CustomGamesFilePath(dataFolder);
    auto file = loadForUpdate(path);
    if (!file)
        return Result<bool>::failure(file.error());
    const CustomGamesRead read = ReadCustomGames(*file, nullptr);
    const CustomGame* game = FindCustomGame(read.games, id);
    if (!game)
        return false;
    file->records.erase(file->records.begin() + game->record);
    if (auto error = writeFile(path, *file))
        return Result<bool>::failure(*error);
    return true;
}

CustomGameRecordInfo CustomGameRecord(const std::vector<CustomGame>& games, int id)
{
    if (const CustomGame* g = FindCustomGame(games, id))
        return {g->baseId, g->ruleString};
    return {};
}

const CustomGame* FindCustomGame(const std::vector<CustomGame>& games, int id)
{
    for (const CustomGame& g : games)
        if (g.id == id)
            return &g;
    return nullptr;
}

std::string CustomGameName(const std::vector<CustomGame>& games, int id)
{
    const CustomGame* g = FindCustomGame(games, id);
    return g ? g->name : std::string();
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

std::vector<CustomGame> ListCustomGames(std::vector<CustomGame> games)
{
    std::stable_sort(games.begin(), games.end(),
                     [](const CustomGame& a, const CustomGame& b) { return lowered(a.name) < lowered(b.name); });
    return games;
}

} // namespace cw::catalog
