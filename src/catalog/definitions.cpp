// Reader and writer of the game definitions file: text shift, sections, parameter matrix, groups.
#include "catalog/definitions.h"

#include "catalog/custom_games.h"
#include "catalog/game_list.h"
#include "catalog/params.h"
#include "storage/fixed_width.h"
#include "storage/safe_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>
#include <system_error>

namespace cw::catalog {
namespace {

// The value cells of the matrix start after the parameter number (4) and 12 unread characters.
constexpr std::size_t kCellStart = 16;
constexpr std::size_t kCellWidth = 10;
constexpr std::size_t kCellStride = 11;
// Nothing in a definitions file comes near this; it keeps a wrong path (a device, a huge
// file) from eating memory.
constexpr std::uintmax_t kMaxFileSize = 64u * 1024u * 1024u;

std::string where(std::string_view fileName, std::string_view section, int row)
{
    std::string s(fileName);
    s += ", ";
    s += section;
    if (row > 0)
        s += ", row " + std::to_string(row);
    return s;
}

// Reads the cell of game column `column` from a matrix row.
Result<int> readCell(std::string_view row, int column, int rowNumber, std::string_view fileName)
{
    const std::size_t start = kCellStart + kCellStride * static_cast<std::size_t>(column);
    const std::string prefix = where(fileName, kSectMatrix, rowNumber) + ": ";
    if (row.size() < start + kCellWidth)
        return Result<int>::failure(prefix + "row too short for game column " + std::to_string(column));
    const std::string cell = DecodeDefinitionText(row.substr(start, kCellWidth));
    const std::string_view trimmed = TrimTrailingBlanks(cell);
    if (trimmed.empty())
        return Result<int>::failure(prefix + "cell of game column " + std::to_string(column) + " is empty");
    auto v = ParseDefinitionInteger(trimmed);
    if (!v)
        return Result<int>::failure(prefix + "cell of game column " + std::to_string(column) + " is not a number");
    if (*v < std::numeric_limits<int16_t>::min() || *v > std::numeric_limits<int16_t>::max())
        return Result<int>::failure(prefix + "cell of game column " + std::to_string(column) +
                                    " is outside -32768..32767");
    return static_cast<int>(*v);
}

// The parameter number of a matrix row (characters 1-4, plain text).
Result<int> readRowNumber(std::string_view row, int rowNumber, std::string_view fileName)
{
    const std::string prefix = where(fileName, kSectMatrix, rowNumber) + ": ";
    std::string_view field = TrimTrailingBlanks(row.substr(0, std::min<std::size_t>(4, row.size())));
    auto n = ParseDefinitionInteger(field);
    if (!n)
        return Result<int>::failure(prefix + "parameter number is not a number");
    // The single-parameter lookups go straight to row p, so row i must hold parameter i.
    if (*n != rowNumber)
        return Result<int>::failure(prefix + "holds parameter " + std::to_string(*n) + ", expected " +
                                    std::to_string(rowNumber));
    return static_cast<int>(*n);
}

std::vector<std::string_view> matrixRows(std::string_view defsText)
{
    return SectionLines(defsText, kSectMatrix);
}

template <class T>
Result<T> withText(const std::filesystem::path& path, auto&& fn)
{
    auto text = ReadWholeFile(path);
    if (!text)
        return Result<T>::failure(text.error());
    return fn(*text, path.string());
}

} // namespace

std::string DecodeDefinitionText(std::string_view text)
{
    std::string out(text);
    for (char& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        ch = static_cast<char>(c >= 80 ? c - 48 : c + 48);
    }
    return out;
}

std::vector<std::string> SplitLines(std::string_view text)
{
    return storage::splitLines(text);
}

std::vector<std::string> ExtractSection(const std::vector<std::string>& lines, std::string_view header)
{
    std::vector<std::string> out;
    bool inside = false;
    for (const std::string& line : lines) {
        if (!line.empty() && line.front() == '[') {
            inside = !header.empty() && line.starts_with(header);
            continue;
        }
        if (inside)
            out.push_back(line);
    }
    return out;
}

std::vector<std::string_view> SectionLines(std::string_view text, std::string_view header)
{
    std::vector<std::string_view> out;
    bool inside = false;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        else if (end > start && text[end - 1] == '\r')
            --end;
        const std::string_view line = text.substr(start, end - start);
        start = next;
        if (!line.empty() && line.front() == '[')
            inside = !header.empty() && line.starts_with(header);
        else if (inside)
            out.push_back(line);
    }
    return out;
}

std::optional<long long> ParseDefinitionInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    long long v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        if (v > 1'000'000'000'000LL)  // far beyond any field; stop before overflowing
            return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return negative ? -v : v;
}

std::string_view TrimTrailingBlanks(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

Result<std::string> ReadWholeFile(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return Result<std::string>::failure("Cannot find file: " + path.string());
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileSize)
        return Result<std::string>::failure("Cannot read file: " + path.string());
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Result<std::string>::failure("Cannot open file: " + path.string());
    // One read of the size the file has: a character-wise read spent most of a short program's
    // start-up growing the string. A file that changes meanwhile gives what could be read, up to
    // the same cap.
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(size));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        return Result<std::string>::failure("Cannot read file: " + path.string());
    if (in.good()) {
        char more[4096];
        while (in.read(more, sizeof more), in.gcount() > 0) {
            text.append(more, static_cast<std::size_t>(in.gcount()));
            if (text.size() > kMaxFileSize)
                return Result<std::string>::failure("Cannot read file: " + path.string());
        }
        if (in.bad())
            return Result<std::string>::failure("Cannot read file: " + path.string());
    }
    return text;
}

std::string MissingDefinitionsFileMessage(const std::filesystem::path& definitionsPath)
{
    return "Cannot find file:\n" + definitionsPath.string() +
           "\nCopy the file into the directory that above is specified\nor reinstall the program.";
}

Result<Rules> LoadRulesAtColumn(std::string_view defsText, int column, std::string_view fileName)
{
    if (column < 0)
        return Result<Rules>::failure(std::string(fileName) + ": no game column");
    const std::vector<std::string_view> rows = matrixRows(defsText);
    Rules rules;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int rowNumber = static_cast<int>(i) + 1;
        if (rowNumber > kLastParam)
            return Result<Rules>::failure(where(fileName, kSectMatrix, rowNumber) +
                                          ": more than " + std::to_string(kLastParam) + " rows");
        auto n = readRowNumber(rows[i], rowNumber, fileName);
        if (!n)
            return Result<Rules>::failure(n.error());
        auto v = readCell(rows[i], column, rowNumber, fileName);
        if (!v)
            return Result<Rules>::failure(v.error());
        rules.set(*n, *v);
    }
    if (rows.size() < static_cast<std::size_t>(kLastParam))
        return Result<Rules>::failure(where(fileName, kSectMatrix, 0) + ": " + std::to_string(rows.size()) +
                                      " rows, expected " + std::to_string(kLastParam));
    return rules;
}

void ApplyCustomRuleString(Rules& rules, std::string_view s)
{
    auto field = [&](std::size_t first, std::size_t len) -> std::optional<int> {
        if (s.size() < first + len)
            return std::nullopt;
        auto v = ParseDefinitionInteger(s.substr(first, len));
        if (!v)
            return std::nullopt;
        return static_cast<int>(*v);  // at most three characters: always in range
    };
    // The pile counts as loaded for the base game, limited to the ranges that exist so
    // that a wrong count never spills into the neighbouring parameters.
    const int tableaus = std::min(rules.tableauCount(), kMaxTableaus);
    const int foundations = std::min(rules.foundationCount(), kMaxFoundations);
    auto setRange = [&](int first, int count, int value) {
        for (int k = 0; k < count; ++k)
            rules.set(first + k, value);
    };
    // Wizard codes: direction 0 Up, 1 Down; suit 1 alternating colours, 3 in colour, 4 any suit but its own.
    auto direction = [](int d) { return d == 0 ? 1 : d == 1 ? 0 : d; };
    auto suit = [](int c) { return c == 1 ? 3 : c == 3 ? 1 : c == 4 ? 21 : c; };

    if (auto v = field(0, 3))
        rules.set(24, *v);
    if (auto v = field(3, 3))
        rules.set(16, *v);
    if (s.size() >= 7) {
        switch (s[6]) {
        case '1': setRange(135, tableaus, 91); break;
        case '2': setRange(135, tableaus, -1); break;
        case '3': setRange(135, tableaus, 0); break;
        default: break;
        }
    }
    if (auto v = field(7, 2); v && *v != -1)
        setRange(175, tableaus, direction(*v));
    if (auto v = field(9, 3); v && *v != -1)
        setRange(215, tableaus, suit(*v));
    if (auto v = field(12, 2); v && *v != -1)
        setRange(71, foundations, direction(*v));
    if (auto v = field(14, 3); v && *v != -1)
        setRange(87, foundations, suit(*v));
}

Result<Rules> LoadGameRules(std::string_view defsText, const GameList& list, int gameId,
                            const std::vector<CustomGame>& customGames, std::string_view fileName)
{
    int base = gameId;
    const bool custom = gameId >= kFirstCustomId;
    const CustomGame* record = custom ? FindCustomGame(customGames, gameId) : nullptr;
    if (custom)
        base = record ? record->baseId : -1;
    const int column = GameColumn(list, base);
    if (column < 0) {
        std::string msg = std::string(fileName) + ": game " + std::to_string(gameId);
        if (custom)
            msg += base < 0 ? " (custom game without a record)" : " (custom game based on " + std::to_string(base) + ")";
        return Result<Rules>::failure(msg + " is not in the game list");
    }
    auto rules = LoadRulesAtColumn(defsText, column, fileName);
    if (!rules)
        return rules;
    if (record) {
        ApplyCustomRuleString(*rules, record->ruleString);
        // The base game's figures describe the base game; a custom game has its own, or none.
        rules->set(501, record->chanceWon);
        rules->set(502, record->chanceSample);
    }
    rules->savePerPileCopy();
    return rules;
}

Result<Rules> LoadGameRulesFromFile(const std::filesystem::path& defsPath, const GameList& list, int gameId,
                                    const std::filesystem::path& dataFolder)
{
    std::vector<CustomGame> customs;
    if (gameId >= kFirstCustomId)
        customs = ReadCustomGamesFile(dataFolder, &list).games;
    return withText<Rules>(defsPath, [&](const std::string& text, const std::string& name) {
        return LoadGameRules(text, list, gameId, customs, name);
    });
}

Result<ParameterRequest> ReadGameParameters(std::string_view defsText, const GameList& list, int gameId,
                                            const ParameterRequest& params, std::string_view fileName)
{
    ParameterRequest out;
    out.fill(-99);
    const bool any = std::any_of(params.begin(), params.end(), [](int p) { return p >= 0; });
    if (!any)
        return out;
    const int column = GameColumn(list, gameId);
    if (column < 0)
        return Result<ParameterRequest>::failure(std::string(fileName) + ": game " + std::to_string(gameId) +
                                                 " is not in the game list");
    const std::vector<std::string_view> rows = matrixRows(defsText);
    for (std::size_t i = 0; i < params.size(); ++i) {
        const int p = params[i];
        if (p < 0)
            continue;
        if (p == 0) {  // parameter 0 has no row and is always 0
            out[i] = 0;
            continue;
        }
        if (static_cast<std::size_t>(p) > rows.size())
            return Result<ParameterRequest>::failure(where(fileName, kSectMatrix, p) + ": missing row");
        auto v = readCell(rows[p - 1], column, p, fileName);
        if (!v)
            return Result<ParameterRequest>::failure(v.error());
        out[i] = *v;
    }
    return out;
}

Result<ParameterRequest> ReadGameParametersFromFile(const std::filesystem::path& defsPath, const GameList& list,
                                                    int gameId, const ParameterRequest& params)
{
    return withText<ParameterRequest>(defsPath, [&](const std::string& text, const std::string& name) {
        return ReadGameParameters(text, list, gameId, params, name);
    });
}

Result<std::vector<std::string>> ReadParameterPairForAllGames(std::string_view defsText, const GameList& list,
                                                              int p, int q, std::string_view fileName)
{
    using R = Result<std::vector<std::string>>;
    const std::vector<std::string_view> rows = matrixRows(defsText);
    auto value = [&](int param, int column) -> Result<int> {
        if (param == 0)
            return 0;
        if (param < 0 || static_cast<std::size_t>(param) > rows.size())
            return Result<int>::failure(where(fileName, kSectMatrix, param) + ": missing row");
        return readCell(rows[param - 1], column, param, fileName);
    };
    std::vector<std::string> out;
    out.reserve(list.entries().size());
    for (int i = 0; i < list.size(); ++i) {
        const GameEntry& e = list.entries()[i];
        // A repeated id reads the column of its first row, as every lookup by id does;
        // an unreadable row still has its own column.
        const int column = e.usable ? GameColumn(list, e.id) : i;
        auto a = value(p, column);
        if (!a)
            return R::failure(a.error());
        auto b = value(q, column);
        if (!b)
            return R::failure(b.error());
        out.push_back(storage::fixedNumber(*a, 10) + storage::fixedNumber(*b, 10));
    }
    return out;
}

Result<std::vector<std::string>> ReadParameterPairForAllGamesFromFile(const std::filesystem::path& defsPath,
                                                                      const GameList& list, int p, int q)
{
    return withText<std::vector<std::string>>(defsPath, [&](const std::string& text, const std::string& name) {
        return ReadParameterPairForAllGames(text, list, p, q, name);
    });
}

Result<std::vector<int>> ReadGameGroup(std::string_view defsText, std::string_view header, std::string_view fileName)
{
    const std::vector<std::string_view> rows = SectionLines(defsText, header);
    std::vector<int> ids;
    ids.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string decoded = DecodeDefinitionText(rows[i]);
        auto v = ParseDefinitionInteger(TrimTrailingBlanks(decoded));
        if (!v || *v < 0 || *v > kLastCustomId)
            return Result<std::vector<int>>::failure(where(fileName, header, static_cast<int>(i) + 1) +
                                                     ": not a game id");
        ids.push_back(static_cast<int>(*v));
    }
    return ids;
}

Result<std::vector<int>> ReadGameGroupFromFile(const std::filesystem::path& defsPath, std::string_view header)
{
    return withText<std::vector<int>>(defsPath, [&](const std::string& text, const std::string& name) {
        return ReadGameGroup(text, header, name);
    });
}

// ---- Writer ----

namespace {

bool printable(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= 32 && c <= 126; });
}

std::string padRight(std::string s, std::size_t width)
{
    s.resize(width, ' ');
    return s;
}

std::string padLeft(const std::string& s, std::size_t width)
{
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

} // namespace

Result<std::string> writeDefinitions(const std::vector<DefinitionGame>& games, const DefinitionGroups& groups)
{
    using R = Result<std::string>;
    constexpr std::string_view eol = "\r\n";
    std::string out;
    out += kSectGames;
    out += eol;
    std::vector<const DefinitionGame*> listed;
    for (const DefinitionGame& g : games) {
        const std::string which = "game " + std::to_string(g.id);
        if (g.id < 0 || g.id > 999)
            return R::failure(which + ": id outside 0..999");
        if (g.type < 0 || g.type > 999)
            return R::failure(which + ": type outside 0..999");
        if (g.name.size() > 50 || !printable(g.name))
            return R::failure(which + ": name longer than 50 characters or not printable ASCII");
        std::string row = padRight(std::to_string(g.type), 3) + " " + storage::fixedNumber(g.id, 3) +
                          (g.hidden ? "9" : "0") + (g.largeScreen ? "1" : "0") + (g.newGame ? "1" : "0") +
                          padRight(g.name, 50);
        out += EncodeDefinitionText(row);
        out += eol;
        if (!g.hidden)
            listed.push_back(&g);
    }
    out += kSectMatrix;
    out += eol;
    for (int n = 1; n <= kLastParam; ++n) {
        // Characters 5-16 are not read: a blank and the parameter's name help a reader of the file.
        std::string row = padLeft(std::to_string(n), 4) + padRight(" " + paramName(n), 12);
        for (const DefinitionGame* g : listed) {
            row += EncodeDefinitionText(padLeft(std::to_string(g->rules[n]), kCellWidth));
            row += EncodeDefinitionText(" ");
        }
        out += row;
        out += eol;
    }
    auto group = [&](std::string_view header, const std::vector<int>& ids) -> bool {
        out += header;
        out += eol;
        for (int id : ids) {
            if (id < 0 || id > kLastCustomId)
                return false;
            out += EncodeDefinitionText(std::to_string(id));
            out += eol;
        }
        return true;
    };
    if (!group(kSectPopular, groups.popular) || !group(kSectOriginal, groups.original) ||
        !group(kSectChildren, groups.children))
        return R::failure("game group: id outside 0..9999");
    return out;
}

} // namespace cw::catalog
