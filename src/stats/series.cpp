// Series: the predefined list, the player's Series.dat, the progress file Series_e01.dat and the totals.
#include "stats/series.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>

#include "stats/clearing.h"
#include "stats/stat_files.h"
#include "storage/fixed_width.h"
#include "storage/players.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"

namespace cw::stats {

namespace {

using storage::fixedNumber;
using storage::fixedText;
using storage::parseInteger;

bool allDigits(std::string_view s) { return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos; }

std::optional<int> digitsValue(std::string_view s)
{
    if (!allDigits(s) || s.size() > 4)
        return std::nullopt;
    return int(*parseInteger(s));
}

bool hasControlCharacter(std::string_view s)
{
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 32 || c == 127; });
}

bool knownGame(const GameCatalog* games, int id) { return !games || games->game(id).has_value(); }

// Where a file goes when it is kept aside: the name with ".bad" appended (an older copy is replaced).
std::string keepAside(const std::string& path)
{
    const std::string bad = path + ".bad";
    if (std::rename(path.c_str(), bad.c_str()) != 0)
        throw storage::FileError(storage::renameErrorMessage(path, bad));
    return bad;
}

} // namespace

// clang-format off
const std::vector<SeriesDefinition>& predefinedSeries()
{
    static const std::vector<SeriesDefinition> list = {
        {1, "Adding games",        {159, 8, 5, 127}},
        {2, "Memory games",        {201, 204, 202, 195, 205}},
        {3, "World Tour",          {148, 105, 210, 59, 113, 237}},
        {4, "Napoleon's games",    {240, 14, 103, 65}},
        {5, "Klondike variations", {0, 176, 206, 94}},
        {6, "Freecell variations", {1, 28, 30}},
        {7, "Canfield variations", {11, 114, 32, 143}},
        {8, "Ancient games",       {177, 74, 62, 215, 239, 50}},
        {9, "For Children",        {165, 207, 209, 85, 171}},
    };
    return list;
}
// clang-format on

std::int64_t maximumScore(const CatalogGame& game) { return game.p52 == -1 ? 4 * std::int64_t(game.p378) : game.p52; }

// ---- Series.dat ----

UserSeriesParse parseUserSeries(std::string_view text, const GameCatalog* games)
{
    UserSeriesParse out;
    const std::vector<std::string> lines = storage::splitLines(text);
    std::size_t i = 0;
    if (!lines.empty() && storage::rtrim(lines[0]) == kSeriesFileHeader) {
        i = 1;
    } else if (!text.empty()) {
        out.problems.push_back("the first line is not \"" + std::string(kSeriesFileHeader) + "\"");
    }
    for (; i < lines.size(); i += kSeriesRecordLines) {
        const std::size_t end = std::min(lines.size(), i + kSeriesRecordLines);
        bool blank = true;
        for (std::size_t k = i; k < end; ++k)
            blank = blank && storage::trim(lines[k]).empty();
        if (blank)
            continue; // blank lines at the end of the file
        const std::string& head = lines[i];
        const auto number = digitsValue(std::string_view(head).substr(0, std::min<std::size_t>(4, head.size())));
        const std::string name = head.size() > 4 ? storage::trim(std::string_view(head).substr(4)) : std::string();
        const std::string label = "line " + std::to_string(i + 1) + (name.empty() ? "" : " (\"" + name + "\")");
        if (!number || *number < kFirstUserSeries || *number > kLastUserSeries || name.empty() ||
            hasControlCharacter(name)) {
            out.problems.push_back(label + ": not a series record");
            continue;
        }
        if (std::any_of(out.series.begin(), out.series.end(), [&](const auto& s) { return s.number == *number; })) {
            out.problems.push_back(label + ": series number " + std::to_string(*number) + " used twice");
            continue;
        }
        const std::string ids = i + 2 < lines.size() ? storage::rtrim(lines[i + 2]) : std::string();
        if (ids.empty() || ids.size() % 4 != 0 || !allDigits(ids)) {
            out.problems.push_back(label + ": the list of games does not read");
            continue;
        }
        SeriesDefinition s{*number, storage::trim(std::string_view(name).substr(0, kSeriesNameLength)), {}};
        std::string unknown;
        for (std::size_t k = 0; k < ids.size(); k += 4) {
            const int id = *digitsValue(std::string_view(ids).substr(k, 4));
            if (!knownGame(games, id))
                unknown = std::to_string(id);
            s.games.push_back(id);
        }
        if (!unknown.empty()) {
            out.problems.push_back(label + ": game " + unknown + " is not in the catalog");
            continue;
        }
        out.series.push_back(std::move(s));
    }
    return out;
}

std::string formatUserSeries(const std::vector<SeriesDefinition>& series)
{
    std::string out = std::string(kSeriesFileHeader) + "\r\n";
    for (const SeriesDefinition& s : series) {
        out += fixedNumber(s.number, 4) + fixedText(s.name, int(kSeriesNameLength)) + "\r\n\r\n";
        for (int id : s.games)
            out += fixedNumber(id, 4);
        out += "\r\n";
        for (int k = 3; k < kSeriesRecordLines; ++k)
            out += "\r\n";
    }
    return out;
}

std::vector<SeriesDefinition> readUserSeries(const StatsContext& ctx, const GameCatalog& games)
{
    const std::string path = resolvedPath(ctx, kSeriesFile);
    if (!storage::fileExists(path))
        return {};
    const auto text = storage::readWholeFile(path);
    if (!text)
        throw storage::FileError(storage::cannotOpenMessage(path));
    UserSeriesParse parsed = parseUserSeries(*text, &games);
    if (parsed.problems.empty())
        return parsed.series;
    // The player's definitions are never lost: the file as it was stays beside the new one.
    const std::string bad = path + ".bad";
    storage::writeFileAtomic(bad, *text);
    storage::writeFileAtomic(path, formatUserSeries(parsed.series));
    std::string message = "The file " + path + " is damaged; these series could not be read and were left out:";
    for (const std::string& p : parsed.problems)
        message += "\r" + p;
    message += "\rThe file as it was has been kept as " + bad + ".";
    ctx.inform(message);
    return parsed.series;
}

std::optional<SeriesDefinition> findSeries(const StatsContext& ctx, const GameCatalog& games, int number)
{
    if (isPredefinedSeries(number))
        return predefinedSeries()[std::size_t(number - 1)];
    for (SeriesDefinition& s : readUserSeries(ctx, games))
        if (s.number == number)
            return std::move(s);
    return std::nullopt;
}

std::optional<int> newSeriesNumber(const std::vector<SeriesDefinition>& userSeries)
{
    for (int n = kFirstUserSeries; n <= kLastUserSeries; ++n)
        if (std::none_of(userSeries.begin(), userSeries.end(), [n](const auto& s) { return s.number == n; }))
            return n;
    return std::nullopt;
}

std::string seriesProblemMessage(SeriesProblem p)
{
    switch (p) {
    case SeriesProblem::None: return {};
    case SeriesProblem::EmptyName: return "Please enter at least 1 character.";
    case SeriesProblem::BadName:
        return "A Series name cannot be longer than 50 characters nor contain control characters.";
    case SeriesProblem::NoGames: return "You haven't selected any game.";
    case SeriesProblem::DuplicateName: return "This Series name already exists.";
    case SeriesProblem::NoNumberLeft: return "There is no room for another Series.";
    }
    return {};
}

std::string normalizeSeriesName(std::string_view name) { return storage::trim(name); }

SeriesProblem checkSeries(const std::vector<SeriesDefinition>& userSeries, std::optional<int> number,
                          std::string_view rawName, const std::vector<int>& games)
{
    const std::string name = normalizeSeriesName(rawName);
    if (name.empty())
        return SeriesProblem::EmptyName;
    if (name.size() > kSeriesNameLength || hasControlCharacter(name))
        return SeriesProblem::BadName;
    if (games.empty())
        return SeriesProblem::NoGames;
    for (const SeriesDefinition& s : userSeries)
        if ((!number || s.number != *number) && storage::equalsNoCase(s.name, name))
            return SeriesProblem::DuplicateName;
    if (!number && !newSeriesNumber(userSeries))
        return SeriesProblem::NoNumberLeft;
    return SeriesProblem::None;
}

SeriesSave saveSeries(const StatsContext& ctx, const GameCatalog& catalog, std::optional<int> number,
                      std::string_view name, const std::vector<int>& gameIds)
{
    std::vector<SeriesDefinition> all = readUserSeries(ctx, catalog);
    SeriesSave result;
    result.problem = checkSeries(all, number, name, gameIds);
    if (result.problem != SeriesProblem::None)
        return result;
    SeriesDefinition s{number.value_or(0), normalizeSeriesName(name), gameIds};
    auto it =
        number ? std::find_if(all.begin(), all.end(), [&](const auto& x) { return x.number == *number; }) : all.end();
    if (it != all.end()) {
        *it = s;
    } else {
        if (!number)
            s.number = *newSeriesNumber(all);
        all.push_back(s);
    }
    storage::writeFileAtomic(resolvedPath(ctx, kSeriesFile), formatUserSeries(all));
    result.number = s.number;
    return result;
}

void deleteSeries(const StatsContext& ctx, const GameCatalog& catalog, int number)
{
    std::vector<SeriesDefinition> all = readUserSeries(ctx, catalog);
    const auto before = all.size();
    std::erase_if(all, [number](const auto& s) { return s.number == number; });
    if (all.size() != before)
        storage::writeFileAtomic(resolvedPath(ctx, kSeriesFile), formatUserSeries(all));
}

// ---- Series_e01.dat ----

std::optional<int> SeriesProgress::currentGame() const
{
    if (played < 1 || played > numGames())
        return std::nullopt;
    return games[std::size_t(played - 1)];
}

std::string formatSeriesResult(const SeriesResult& r)
{
    return fixedNumber(r.seconds, 6) + " " + (r.won ? "Won  " : "Lost ") + fixedText(r.scoringCode, 2) + " " +
           fixedText(r.score, 6) + " " + (r.maximum ? " Y" : " N");
}

std::optional<SeriesResult> parseSeriesResult(std::string_view v)
{
    // Columns of the value (the key "001=" takes the first four of the line).
    if (v.size() < 24 || v[6] != ' ' || v[14] != ' ' || v[21] != ' ' || v[22] != ' ')
        return std::nullopt;
    SeriesResult r;
    const auto seconds = parseInteger(v.substr(0, 6));
    if (!allDigits(v.substr(0, 6)) || !seconds)
        return std::nullopt;
    r.seconds = int(*seconds);
    const std::string_view result = v.substr(7, 5);
    if (result != "Won  " && result != "Lost ")
        return std::nullopt;
    r.won = result == "Won  ";
    r.scoringCode = std::string(v.substr(12, 2));
    r.score = storage::trim(v.substr(15, 6));
    if (!r.score.empty() && !parseInteger(r.score))
        return std::nullopt;
    if (v[23] != 'Y' && v[23] != 'N')
        return std::nullopt;
    r.maximum = v[23] == 'Y';
    return r;
}

std::string formatSeriesProgress(const SeriesProgress& p)
{
    const int idWidth = isPredefinedSeries(p.number) ? 3 : 4;
    std::string out = "[Series]\r\nNumber=" + std::to_string(p.number) + "\r\nPlayer=" + p.player +
                      "\r\nNumGames=" + fixedNumber(p.numGames(), 3) + "\r\nPlayed=" + fixedNumber(p.played, 3) +
                      "\r\n\r\n[Games]\r\n";
    for (int i = 0; i < p.numGames(); ++i)
        out += fixedNumber(i + 1, 3) + "=" + fixedNumber(p.games[std::size_t(i)], idWidth) + "\r\n";
    out += "\r\n[Scores]\r\n";
    for (int i = 0; i < p.numGames(); ++i) {
        out += fixedNumber(i + 1, 3) + "=";
        if (std::size_t(i) < p.results.size() && p.results[std::size_t(i)])
            out += formatSeriesResult(*p.results[std::size_t(i)]);
        out += "\r\n";
    }
    return out;
}

SeriesProgressParse parseSeriesProgress(std::string_view text, const GameCatalog* catalog)
{
    SeriesProgressParse out;
    auto fail = [&](std::string why) {
        out.problem = std::move(why);
        return out;
    };
    // Sections in their order; within them "key=value" lines; nothing else but blank lines.
    std::string section;
    std::vector<std::pair<std::string, std::string>> head, games, scores;
    for (const std::string& raw : storage::splitLines(text)) {
        const std::string line = storage::rtrim(raw);
        if (line.empty())
            continue;
        if (line.front() == '[') {
            if (line == "[Series]" || line == "[Games]" || line == "[Scores]") {
                section = line;
                continue;
            }
            return fail("unknown section " + line);
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos || section.empty())
            return fail("a line that is no value: " + line);
        auto pair = std::make_pair(line.substr(0, eq), line.substr(eq + 1));
        (section == "[Series]" ? head : section == "[Games]" ? games : scores).push_back(std::move(pair));
    }
    auto value = [&](const char* key) -> std::optional<std::string> {
        for (const auto& [k, v] : head)
            if (storage::equalsNoCase(k, key))
                return v;
        return std::nullopt;
    };
    SeriesProgress p;
    const auto number = value("Number"), player = value("Player"), count = value("NumGames"), played = value("Played");
    if (!number || !player || !count || !played)
        return fail("a value of [Series] is missing");
    const auto n = parseInteger(*number);
    if (!n || !(isPredefinedSeries(int(*n)) || (*n >= kFirstUserSeries && *n <= kLastUserSeries)))
        return fail("the series number " + *number + " is not valid");
    p.number = int(*n);
    p.player = storage::trim(*player);
    if (!storage::isValidPlayerName(p.player))
        return fail("the player name \"" + *player + "\" is not valid");
    const auto numGames = parseInteger(*count);
    if (!numGames || *numGames < 1 || *numGames > 999)
        return fail("the number of games " + *count + " is not valid");
    if (std::int64_t(games.size()) != *numGames || std::int64_t(scores.size()) != *numGames)
        return fail("the series has " + std::to_string(games.size()) + " games and " + std::to_string(scores.size()) +
                    " result lines instead of " + std::to_string(*numGames));
    const auto playedValue = parseInteger(*played);
    if (!playedValue || *playedValue < 1 || *playedValue > *numGames + 1)
        return fail("the count of games played " + *played + " is not valid");
    p.played = int(*playedValue);
    for (std::size_t i = 0; i < games.size(); ++i) {
        const auto key = parseInteger(games[i].first);
        const auto id = digitsValue(games[i].second);
        if (!key || *key != std::int64_t(i + 1))
            return fail("game line " + games[i].first + " is out of order");
        if (!id)
            return fail("the game id \"" + games[i].second + "\" is not valid");
        if (!knownGame(catalog, *id))
            return fail("game " + std::to_string(*id) + " is not in the catalog");
        p.games.push_back(*id);
    }
    for (std::size_t i = 0; i < scores.size(); ++i) {
        const auto key = parseInteger(scores[i].first);
        if (!key || *key != std::int64_t(i + 1))
            return fail("result line " + scores[i].first + " is out of order");
        if (scores[i].second.empty()) {
            p.results.push_back(std::nullopt);
            continue;
        }
        auto r = parseSeriesResult(scores[i].second);
        if (!r)
            return fail("result line " + scores[i].first + " does not read");
        p.results.push_back(std::move(r));
    }
    out.progress = std::move(p);
    return out;
}

SeriesProgress startSeries(const SeriesDefinition& series, const std::string& player, bool randomOrder,
                           const std::function<int(int n)>& pick)
{
    SeriesProgress p;
    p.number = series.number;
    p.player = player;
    p.games = series.games;
    if (randomOrder) {
        std::vector<int> left = series.games;
        p.games.clear();
        std::mt19937 engine{std::random_device{}()};
        while (!left.empty()) {
            const int n = int(left.size());
            int k = pick ? pick(n) : std::uniform_int_distribution<int>(0, n - 1)(engine);
            k = std::clamp(k, 0, n - 1);
            p.games.push_back(left[std::size_t(k)]);
            left.erase(left.begin() + k);
        }
    }
    p.played = 1;
    p.results.assign(p.games.size(), std::nullopt);
    return p;
}

void writeSeriesProgress(const StatsContext& ctx, const SeriesProgress& p)
{
    storage::writeFileAtomic(resolvedPath(ctx, kSeriesProgressFile), formatSeriesProgress(p));
}

std::optional<SeriesProgress> readSeriesProgress(const StatsContext& ctx, const GameCatalog& games)
{
    const std::string path = resolvedPath(ctx, kSeriesProgressFile);
    if (!storage::fileExists(path))
        return std::nullopt;
    const auto text = storage::readWholeFile(path);
    SeriesProgressParse parsed = text ? parseSeriesProgress(*text, &games) : SeriesProgressParse{};
    if (parsed.progress)
        return std::move(parsed.progress);
    if (!text)
        parsed.problem = "it cannot be read";
    std::string message = "The series in progress cannot go on: the file " + path + " is damaged (" + parsed.problem +
                          ").\rThe series has been dropped";
    try {
        message += "; the file has been kept as " + keepAside(path) + ".";
    } catch (const storage::FileError& e) {
        message += ".\r" + std::string(e.what());
    }
    ctx.inform(message);
    return std::nullopt;
}

void deleteSeriesProgress(const StatsContext& ctx) { deleteFileIfExists(resolvedPath(ctx, kSeriesProgressFile)); }

bool recordSeriesResult(SeriesProgress& p, int gameId, bool won, int seconds, std::string_view scoringCode,
                        std::int64_t score, std::int64_t maximumScore)
{
    const auto current = p.currentGame();
    if (!current || *current != gameId)
        return false;
    SeriesResult r;
    r.seconds = std::clamp(seconds, 0, 999999);
    r.won = won;
    r.scoringCode = scoringCode.size() == 2 ? std::string(scoringCode) : "01";
    // Six characters hold the score; the rare wider value keeps its sign and is held at the edge.
    r.score = std::to_string(std::clamp<std::int64_t>(score, -99999, 999999));
    r.maximum = score == maximumScore;
    p.results.resize(p.games.size());
    p.results[std::size_t(p.played - 1)] = r;
    ++p.played;
    return true;
}

SeriesTotals seriesTotals(const SeriesProgress& p)
{
    SeriesTotals t;
    t.allWon = t.allMaximum = p.numGames() > 0;
    for (int i = 0; i < p.numGames(); ++i) {
        const auto& r = std::size_t(i) < p.results.size() ? p.results[std::size_t(i)] : std::nullopt;
        if (!r) {
            t.allWon = t.allMaximum = false;
            continue;
        }
        t.score += parseInteger(r->score).value_or(0);
        t.seconds += r->seconds;
        t.allWon = t.allWon && r->won;
        t.allMaximum = t.allMaximum && r->maximum;
    }
    return t;
}

HiScoreInsertion offerSeriesResult(const StatsContext& ctx, const SeriesProgress& p, const DateTime& when)
{
    const SeriesTotals t = seriesTotals(p);
    HiScoreEntry e;
    // The entry's fields are six digits wide.
    e.score = std::clamp<std::int64_t>(t.score, -99999, 999999);
    e.seconds = std::clamp<std::int64_t>(t.seconds, 0, 999999);
    e.when = when;
    e.player = p.player;
    e.numberField = t.allMaximum ? "Y" : "N";
    e.won = t.allWon;
    const int games = p.numGames();
    std::string code = ctx.settings ? ctx.settings->get(storage::col::ScoringCode) : std::string();
    if (code.size() != 2)
        code = "01";
    return insertHiScore(ctx, HiScoreTable::Series, p.number, e, code, [games] { return defaultSeriesScores(games); });
}

void clearSeriesScores(const StatsContext& ctx) { clearHiScores(ctx, HiScoreTable::Series, kAllGames, {}, "01"); }

} // namespace cw::stats
