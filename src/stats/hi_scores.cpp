// Hi-score tables (Stat_scr.dat and Series_scr.dat): 20 entries of 85 characters per game and scoring system.
#include "stats/hi_scores.h"

#include <algorithm>

#include "stats/file_change.h"
#include "stats/overall_score.h"
#include "stats/pending_work.h"
#include "stats/section_reader.h"
#include "stats/stat_files.h"
#include "storage/fixed_width.h"
#include "storage/keyed_file.h"
#include "storage/safe_file.h"

namespace cw::stats {

namespace {

constexpr std::int64_t kBlankScore = -999999;
constexpr std::int64_t kBlankTime = 999999;
constexpr std::size_t kEntryBody = 83;

// Entry columns count characters: a player's name with accents takes the room of its letters.
std::string column(std::string_view s, std::size_t col, std::size_t width) {
    return storage::textColumn(s, col, width);
}

bool blank(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

// Cut or pad to 83 characters and end with " x".
std::string finish(std::string_view entry) { return storage::fixedText(entry, int(kEntryBody)) + " x"; }

std::string cleanText(std::string_view text, int width) {
    std::string s = storage::fixedText(text, width);
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return s;
}

std::vector<std::string> entryKeys(std::string_view code) {
    std::vector<std::string> keys;
    for (int r = 1; r <= kHiScoreRanks; ++r) keys.push_back(hiScoreKey(code, r));
    return keys;
}

// The 20 entries of a table as stored (missing keys read as empty values).
std::vector<std::string> loadEntries(const storage::KeyValues& pairs, std::string_view code) {
    std::vector<std::string> out;
    for (const std::string& k : entryKeys(code)) {
        std::string v;
        for (const auto& [pk, pv] : pairs)
            if (pk == k) {
                v = pv;
                break;
            }
        out.push_back(v);
    }
    return out;
}

bool clearedMarker(const std::string& file) {
    return storage::readKeyedValue(file, "Clear scores", "Cleared", "N").value == "Y";
}

// Writes the first 20 entries under their keys, keeping the section's other keys (other scoring systems).
void writeEntries(const StatsContext& ctx, HiScoreTable table, int id, std::string_view code, storage::KeyValues pairs,
                  const std::vector<std::string>& entries)
{
    auto keys = entryKeys(code);
    for (int r = 0; r < kHiScoreRanks; ++r)
        setPair(pairs, keys[std::size_t(r)],
                std::size_t(r) < entries.size() ? finish(entries[std::size_t(r)]) : emptyHiScoreEntry());
    FileChange c;
    c.kind = FileChange::Kind::WriteSection;
    c.file = hiScoreFileName(table);
    c.section = gameSection(id);
    c.pairs = std::move(pairs);
    commitChange(ctx, c);
}

bool defaultsDue(const std::string& file, const std::vector<std::string>& entries) {
    if (!entries.empty() && !isEmptyEntry(entries[0])) return false;
    return !clearedMarker(file);
}

}  // namespace

const char* hiScoreFileName(HiScoreTable table) {
    return table == HiScoreTable::Games ? kHiScoreFile : kSeriesScoreFile;
}

std::string emptyHiScoreEntry() { return std::string(84, ' ') + "x"; }

std::string hiScoreKey(std::string_view scoringCode, int rank) {
    return std::string(scoringCode) + "-" + storage::fixedNumber(rank, 2);
}

std::string formatHiScoreEntry(const HiScoreEntry& e, char sep) {
    // Six columns hold the score: a value that does not fit would make the entry unreadable.
    std::int64_t score = std::clamp<std::int64_t>(e.score, -99999, 999999);
    std::int64_t secs = std::clamp<std::int64_t>(e.seconds, 0, 999999);
    std::string s = storage::fixedNumber(score, 6) + " " + storage::fixedNumber(secs, 6) + " " + e.when.dateText() +
                    " " + cleanText(e.when.timeText(sep), 8) + " " + cleanText(e.player, 30) + " " +
                    cleanText(e.numberField, 15) + " " + (e.won ? "Won " : "Lost");
    return finish(s);
}

std::optional<std::int64_t> entryScore(std::string_view entry) {
    std::string f = column(entry, 1, 6);
    if (blank(f)) return kBlankScore;
    return storage::parseInteger(f);
}

std::optional<std::int64_t> entryTime(std::string_view entry) {
    std::string f = column(entry, 8, 6);
    if (blank(f)) return kBlankTime;
    return storage::parseInteger(f);
}

std::string entryPlayer(std::string_view entry) { return storage::rtrim(column(entry, 33, 30)); }

bool isEmptyEntry(std::string_view entry) { return blank(column(entry, 1, 6)); }

const std::array<const char*, kHiScoreRanks>& defaultHiScoreNames(HiScoreTable table) {
    static const std::array<const char*, kHiScoreRanks> games = {
        "* Amelia", "* Bruno",  "* Clara", "* Dario", "* Elena", "* Felix",  "* Greta",
        "* Hugo",   "* Irene",  "* Jonas", "* Katia", "* Leo",   "* Marta",  "* Nico",
        "* Olga",   "* Paolo",  "* Rosa",  "* Sven",  "* Tina",  "* Walter"};
    static const std::array<const char*, kHiScoreRanks> series = [] {
        auto r = games;
        std::reverse(r.begin(), r.end());
        return r;
    }();
    return table == HiScoreTable::Games ? games : series;
}

std::vector<std::int64_t> defaultGameScores(int p52, int p378) {
    int d = 52;
    if (p52 != -1) {
        p378 = 52;
        if (p52 < 92) d = p52 / 2;
    }
    int step = p378 == 52 ? -3 : -6;
    if (d < 30) step = -2;
    std::vector<std::int64_t> out;
    std::int64_t v = std::int64_t(p378) * d / 52;
    for (int r = 1; r <= kHiScoreRanks; ++r) {
        if (r > 1) v += r <= 13 ? step : step + 1;
        v = std::max<std::int64_t>(v, 1);
        out.push_back(v);
    }
    return out;
}

std::vector<std::int64_t> defaultSeriesScores(int gamesInSeries) {
    std::vector<std::int64_t> out;
    std::int64_t v = std::int64_t(gamesInSeries) * 52;
    for (int r = 1; r <= kHiScoreRanks; ++r) {
        if (r > 1) v -= r <= 13 ? 20 : 5;
        v = std::max<std::int64_t>(v, 1);
        out.push_back(v);
    }
    return out;
}

std::vector<std::string> defaultHiScoreEntries(HiScoreTable table, const std::vector<std::int64_t>& scores,
                                               const DateTime& when, char sep) {
    std::vector<std::string> out;
    const auto& names = defaultHiScoreNames(table);
    for (int r = 0; r < kHiScoreRanks; ++r) {
        HiScoreEntry e;
        e.score = std::size_t(r) < scores.size() ? scores[std::size_t(r)] : 1;
        e.seconds = e.score * 5;
        e.when = when;
        e.player = names[std::size_t(r)];
        e.numberField = "000000000000000";
        e.won = true;
        out.push_back(formatHiScoreEntry(e, sep));
    }
    return out;
}

DefaultScores gameDefaultScores(const GameCatalog& games, int gameId) {
    return [&games, gameId] {
        auto g = games.game(gameId);
        return g ? defaultGameScores(g->p52, g->p378) : defaultGameScores(-1, 52);
    };
}

std::vector<std::string> readHiScores(const StatsContext& ctx, HiScoreTable table, int id,
                                      std::string_view code, const DefaultScores& defaults, const DateTime& now) {
    ensureStatisticsFiles(ctx, ctx.currentPlayer());
    std::string file = resolvedPath(ctx, hiScoreFileName(table));
    storage::KeyValues pairs = readSectionPairs(file, gameSection(id)).value_or(storage::KeyValues{});
    std::vector<std::string> entries = loadEntries(pairs, code);
    if (!ctx.statisticsDisabled && defaults && defaultsDue(file, entries)) {
        entries = defaultHiScoreEntries(table, defaults(), now, ctx.timeSeparator);
        if (table == HiScoreTable::Games)
            writeEntries(ctx, table, id, code, pairs, entries);
    }
    for (auto& e : entries) e = e.empty() ? emptyHiScoreEntry() : e;
    return entries;
}

HiScoreInsertion insertHiScore(const StatsContext& ctx, HiScoreTable table, int id, const HiScoreEntry& entry,
                               std::string_view code, const DefaultScores& defaults, bool withOverall)
{
    HiScoreInsertion result;
    if (ctx.statisticsDisabled) return result;
    ensureStatisticsFiles(ctx, ctx.currentPlayer());
    std::string file = resolvedPath(ctx, hiScoreFileName(table));
    storage::KeyValues pairs = readSectionPairs(file, gameSection(id)).value_or(storage::KeyValues{});
    std::vector<std::string> entries = loadEntries(pairs, code);
    bool changed = false;
    if (defaults && defaultsDue(file, entries)) {
        entries = defaultHiScoreEntries(table, defaults(), entry.when, ctx.timeSeparator);
        changed = true;
    }
    std::string text = formatHiScoreEntry(entry, ctx.timeSeparator);
    std::int64_t s = *entryScore(text), t = *entryTime(text);
    // An entry whose columns do not read ranks with the values of the entry examined before it.
    std::int64_t cs = kBlankScore, ct = kBlankTime;
    for (int r = 0; r < kHiScoreRanks; ++r) {
        const std::string& e = entries[std::size_t(r)];
        if (auto v = entryScore(e)) cs = *v;
        if (auto v = entryTime(e)) ct = *v;
        if (s > cs || (s == cs && t < ct)) {
            entries.insert(entries.begin() + r, text);
            result.rank = r;
            changed = true;
            break;
        }
    }
    if (changed) {
        entries.resize(kHiScoreRanks);
        writeEntries(ctx, table, id, code, pairs, entries);
        result.written = true;
    }
    if (table == HiScoreTable::Games && withOverall)
        updateOverallScore(ctx, id, storage::trim(entry.player), entry.score, entry.seconds, false);
    return result;
}

std::string newHiScoreCaption(HiScoreTable table, const std::string& name) {
    if (table == HiScoreTable::Games)
        return "Congratulations! Your score has made the \"" + storage::rtrim(name) + "\" Hi-Scores list!";
    return "Your score has made the \"" + name + "\" Series Hi-Scores list!";
}

void clearHiScores(const StatsContext& ctx, HiScoreTable table, int gameId, const std::string& player,
                   std::string_view code) {
    StatsUpdate update(ctx); // another copy waits; a half-done game end is finished first
    ensureStatisticsFiles(ctx, ctx.currentPlayer());
    std::string file = resolvedPath(ctx, hiScoreFileName(table));
    if (gameId < 0 && player.empty()) {
        // Written whole: a crash leaves either the old tables or the cleared file, never a file without
        // the marker (which would bring the default entries back).
        storage::writeFileAtomic(file, "[Version]\r\nVersion=0300\r\n\r\n[Clear scores]\r\nCleared=Y\r\n", "rpl");
        if (table == HiScoreTable::Games) deleteFileIfExists(resolvedPath(ctx, kOverallFile));
        return;
    }
    std::vector<int> ids;
    if (gameId >= 0) {
        ids.push_back(gameId);
    } else {
        for (const std::string& s : storage::listSections(file)) {
            if (s.size() != 4 || s.find_first_not_of("0123456789") != std::string::npos) continue;
            ids.push_back(int(*storage::parseInteger(s)));
        }
    }
    std::vector<std::string> overallPlayers;
    if (table == HiScoreTable::Games) overallPlayers = storage::listSections(resolvedPath(ctx, kOverallFile));
    for (int id : ids) {
        auto pairs = readSectionPairs(file, gameSection(id));
        if (!pairs) continue;
        std::vector<std::string> entries = loadEntries(*pairs, code), kept, removedPlayers;
        bool anyName = false;
        for (const std::string& e : entries) {
            std::string p = entryPlayer(e);
            if (!p.empty()) anyName = true;
            bool remove = player.empty() ? (!p.empty() || !isEmptyEntry(e)) : p == player;
            if (!remove) {
                kept.push_back(e);
                continue;
            }
            removedPlayers.push_back(p);
        }
        if (!anyName || removedPlayers.empty()) continue;
        while (kept.size() < std::size_t(kHiScoreRanks)) kept.push_back(emptyHiScoreEntry());
        writeEntries(ctx, table, id, code, *pairs, kept);
        // The removed results leave the overall score of their players.
        std::vector<std::string> done;
        for (const std::string& p : removedPlayers) {
            if (p.empty()) continue;
            for (const std::string& section : overallPlayers) {
                if (!storage::equalsNoCase(storage::rtrim(section), p)) continue;
                if (std::find(done.begin(), done.end(), section) != done.end()) continue;
                done.push_back(section);
                updateOverallScore(ctx, id, section, 0, 0, true);
            }
        }
    }
}

void blankHiScores(const StatsContext& ctx, int gameId, std::string_view code) {
    StatsUpdate update(ctx); // another copy waits; a half-done game end is finished first
    ensureStatisticsFiles(ctx, ctx.currentPlayer());
    std::string file = resolvedPath(ctx, kHiScoreFile);
    auto pairs = readSectionPairs(file, gameSection(gameId)).value_or(storage::KeyValues{});
    writeEntries(ctx, HiScoreTable::Games, gameId, code, pairs, {});
}

bool upgradeHiScoreFile(const StatsContext& ctx, storage::IniFile* settings) {
    if (settings) {
        try {
            for (const char* key : {"Cards_Animate", "ConfirmQuit"})
                if (settings->readString("Preference", key, "") == "S") settings->writeString("Preference", key, "Y");
        } catch (const storage::FileError& e) {
            ctx.inform(e.what());
        }
    }
    std::string file = resolvedPath(ctx, kHiScoreFile);
    if (!storage::fileExists(file)) return false;
    try {
        std::string version = storage::readKeyedValue(file, "Version", "Version", "0000").value;
        if (!(version < std::string(kFileVersion))) return false;
        auto text = storage::readWholeFile(file);
        if (!text) throw storage::FileError(storage::cannotOpenMessage(file));
        std::string out = "[Version]\r\nVersion=0300\r\n\r\n";
        for (const std::string& line : storage::splitLines(*text)) {
            if (line.rfind("[Version]", 0) == 0 || line.rfind("Version=", 0) == 0) continue;
            if (!line.empty() && line[0] == '0') out += storage::fixedText(line, 89) + " x\r\n";
            else out += line + "\r\n";
        }
        storage::writeFileAtomic(file, out, "rpl");
    } catch (const storage::FileError& e) {
        ctx.inform(e.what());
        return false;
    }
    return true;
}

std::string playingTimeText(std::int64_t seconds, char sep) {
    if (seconds < 0) seconds = 0;
    std::string s(1, sep);
    return std::to_string(seconds / 3600) + s + storage::fixedNumber((seconds / 60) % 60, 2) + s +
           storage::fixedNumber(seconds % 60, 2);
}

std::vector<HiScoreRow> hiScoreRows(const std::vector<std::string>& entries, char sep) {
    std::vector<HiScoreRow> rows;
    for (std::size_t i = 0; i < entries.size() && i < std::size_t(kHiScoreRanks); ++i) {
        const std::string& e = entries[i];
        HiScoreRow row;
        row.rank = storage::fixedNumber(std::int64_t(i) + 1, 2);
        row.player = column(e, 33, 30);
        row.result = column(e, 80, 4);
        row.gameNumber = column(e, 64, 13);
        if (!isEmptyEntry(e)) {
            if (auto s = storage::parseInteger(column(e, 1, 6))) row.score = std::to_string(*s);
            if (auto t = storage::parseInteger(column(e, 8, 6))) row.time = playingTimeText(*t, sep);
            row.date = column(e, 15, 8);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<std::string> bestEntryOf(const std::vector<std::string>& entries, const std::string& player) {
    for (const std::string& e : entries)
        if (!isEmptyEntry(e) && entryPlayer(e) == player) return e;
    return std::nullopt;
}

}  // namespace cw::stats
