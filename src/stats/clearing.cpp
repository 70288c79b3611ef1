// Clearing statistics and renaming a player in every statistics file.
#include "stats/clearing.h"

#include <cstdio>

#include "stats/game_log.h"
#include "stats/game_stats.h"
#include "stats/hi_scores.h"
#include "stats/journal.h"
#include "stats/overall_score.h"
#include "stats/pending_work.h"
#include "stats/progression.h"
#include "stats/section_reader.h"
#include "stats/stat_files.h"
#include "storage/fixed_width.h"
#include "storage/keyed_file.h"
#include "storage/players.h"
#include "storage/safe_file.h"

namespace cw::stats {

namespace {

bool isKeyLineOf(std::string_view line, std::string_view key) {
    if (line.size() < key.size() || line.compare(0, key.size(), key) != 0) return false;
    std::string_view rest = line.substr(key.size());
    return rest.rfind("=", 0) == 0 || rest.rfind(" =", 0) == 0;
}

// Writes the all-zero record of the player into every game section of Stat.dat (adding the key where it
// is missing), in one rewrite of the file.
void zeroPlayerEverywhere(const std::string& file, const std::string& player) {
    auto text = storage::readWholeFile(file);
    if (!text) return;
    const std::string zeroLine = player + "=" + kZeroGameRecord;
    std::vector<std::string> lines = storage::splitLines(*text);
    std::vector<std::string> out;
    bool inGame = false, seen = false;
    auto closeSection = [&] {
        if (!inGame || seen) return;
        // The new key goes after the section's last non-blank line.
        std::size_t at = out.size();
        while (at > 0 && storage::trim(out[at - 1]).empty()) --at;
        out.insert(out.begin() + std::ptrdiff_t(at), zeroLine);
    };
    for (const std::string& line : lines) {
        if (!line.empty() && line[0] == '[') {
            closeSection();
            std::string name = storage::rtrim(line);
            name = name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string();
            inGame = !storage::equalsNoCase(name, "Version");
            seen = false;
            out.push_back(line);
            continue;
        }
        if (inGame && !seen && isKeyLineOf(line, player)) {
            out.push_back(zeroLine);
            seen = true;
            continue;
        }
        out.push_back(line);
    }
    closeSection();
    std::string joined;
    for (const std::string& l : out) joined += l + "\r\n";
    storage::writeFileAtomic(file, joined, "rpl");
}

// Removes the all-zero records a deleted player left under `name` in Stat.dat, so that a player renamed
// to that name finds its own records first. Records holding any count are never touched.
void dropZeroRecords(const std::string& file, const std::string& name) {
    auto text = storage::readWholeFile(file);
    if (!text) return;
    const std::string zeroLine = name + "=" + kZeroGameRecord;
    std::string out;
    bool dropped = false;
    for (const std::string& line : storage::splitLines(*text)) {
        if (storage::rtrim(line) == zeroLine) {
            dropped = true;
            continue;
        }
        out += line + "\r\n";
    }
    if (dropped) storage::writeFileAtomic(file, out, "rpl");
}

}  // namespace

void clearStatistics(const StatsContext& ctx, int gameId, const std::string& player) {
    StatsUpdate update(ctx); // another copy waits; a half-done game end is finished first
    ensureStatisticsFiles(ctx, ctx.currentPlayer());
    const std::string statFile = resolvedPath(ctx, kStatFile);
    const bool allGames = gameId < 0, allPlayers = player.empty();
    if (allGames && allPlayers) {
        storage::writeFileAtomic(statFile, "[Version]\r\nVersion=0300\r\n", "rpl");
        deleteFileIfExists(resolvedPath(ctx, kSingleGameFile));
        deleteFileIfExists(resolvedPath(ctx, kLogFile));
    } else if (allGames) {
        zeroPlayerEverywhere(statFile, player);
        clearSingleGameValues(ctx, player, kAllGames);
        filterGameLog(ctx, [&](std::string_view line) { return logLinePlayer(line) != player; });
    } else if (allPlayers) {
        if (auto pairs = readSectionPairs(statFile, gameSection(gameId))) {
            for (auto& [k, v] : *pairs) v = kZeroGameRecord;
            if (!pairs->empty()) storage::overwriteSection(statFile, gameSection(gameId), *pairs);
        }
        clearSingleGameValues(ctx, kAllPlayers, gameId);
        filterGameLog(ctx, [&](std::string_view line) { return logLineGameId(line) != gameId; });
    } else {
        storage::writeKeyedValue(statFile, gameSection(gameId), player, kZeroGameRecord);
        clearSingleGameValues(ctx, player, gameId);
        filterGameLog(ctx, [&](std::string_view line) {
            return !(logLineGameId(line) == gameId && logLinePlayer(line) == player);
        });
    }
    if (ctx.settings && (allGames || allPlayers || gameId == ctx.currentGameId()))
        resetSessionCounters(*ctx.settings);
}

void clearAllValues(const StatsContext& ctx, const std::vector<std::string>& players) {
    StatsUpdate update(ctx); // another copy waits; a half-done game end is finished first
    clearStatistics(ctx, kAllGames, kAllPlayers);
    if (ctx.settings) resetSessionCounters(*ctx.settings);
    clearHiScores(ctx, HiScoreTable::Games, kAllGames, kAllPlayers, "01");
    for (const std::string& p : players) deleteProgressionFile(ctx, p);
}

void deletePlayerStatistics(const StatsContext& ctx, const std::string& player) {
    if (player.empty()) return;  // the empty name would select every player
    clearStatistics(ctx, kAllGames, player);
}

namespace {

// Every step of a rename, each of which can be made again with the same result.
bool renameSteps(const StatsContext& ctx, const std::string& oldName, const std::string& newName,
                 const std::function<void(long lines)>& progress)
{
    bool ok = true;
    long total = 0;
    auto step = [&](long lines) {
        if (progress) progress(total + lines);
    };
    struct Target {
        const char* file;
        int column;
        std::string from, to;
    };
    const std::string oldPadded = storage::fixedText(oldName, 30), newPadded = storage::fixedText(newName, 30);
    const Target targets[] = {
        {kStatFile, 1, oldName + "=", newName + "="},
        {kOverallFile, 1, "[" + oldName + "]", "[" + newName + "]"},
        {kSingleGameFile, 1, "[" + oldName + "]", "[" + newName + "]"},
        {kLogFile, kLogPlayerColumn, oldPadded, newPadded},
        {kHiScoreFile, 39, oldPadded, newPadded},
        {kSeriesScoreFile, 39, oldPadded, newPadded},
    };
    if (progress) progress(0);
    for (const Target& t : targets) {
        std::string path = resolvedPath(ctx, t.file);
        try {
            // What a deleted player of the new name left behind (zeros only) would hide the renamed records.
            if (t.file == kStatFile) dropZeroRecords(path, newName);
            if (t.file == kOverallFile || t.file == kSingleGameFile) dropZeroSection(ctx, t.file, newName);
            storage::replaceAtColumn(path, t.column, t.from, t.to, step);
        } catch (const storage::FileError& e) {
            ctx.inform(e.what());
            ok = false;
        }
    }
    auto from = progressionPath(ctx, oldName);
    auto to = progressionPath(ctx, newName);
    if (from && to && storage::fileExists(*from) && storage::renameFile(*from, *to) != 0) {
        ctx.inform(storage::renameErrorMessage(*from, *to));
        ok = false;
    }
    // The player list last: until it names the new player, the journal finishes the rename.
    if (ctx.settingsFile) {
        try {
            storage::renamePlayerInSettings(*ctx.settingsFile, oldName, newName);
        } catch (const storage::FileError& e) {
            ctx.inform(e.what());
            ok = false;
        }
    }
    if (ctx.settings && ctx.currentPlayer() == oldName)
        ctx.settings->set(storage::col::Player, newName);
    return ok;
}

} // namespace

void finishRename(const StatsContext& ctx, const PendingRename& pending)
{
    if (storage::isValidPlayerName(pending.newName))
        renameSteps(ctx, pending.oldName, pending.newName, {});
    removeJournal(ctx);
}

bool renamePlayerInStatistics(const StatsContext& ctx, const std::string& oldRaw, const std::string& newRaw,
                              const std::function<void(long lines)>& progress)
{
    const std::string oldName = storage::rtrim(oldRaw), newName = storage::rtrim(newRaw);
    if (oldName.empty() || !storage::isValidPlayerName(newName))
        return false;
    if (oldName == newName)
        return true;
    try {
        StatsUpdate update(ctx);
        try {
            writeJournal(ctx, encodeJournal(PendingRename{oldName, newName}));
        } catch (const storage::FileError&) {
            // Without a journal the rename is still made; only a crash during it could not be finished.
        }
        bool ok = renameSteps(ctx, oldName, newName, progress);
        removeJournal(ctx);
        return ok;
    } catch (const storage::FileError& e) {
        ctx.inform(e.what());
        return false;
    }
}

}  // namespace cw::stats
