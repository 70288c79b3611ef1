// Progression files "Stat_prg_" + player + ".dat": four bytes per recorded game of a player, for the charts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "stats/stat_context.h"

namespace cw::stats {

// One game of a progression file.
struct ProgressionRecord {
    int gameId = 0;
    int year = 0;   // two digits, "yy"
    int month = 1;  // 1..12
    bool won = false;
    bool operator==(const ProgressionRecord&) const = default;
};

// The path of a player's progression file; nullopt for a name that could reach outside the data folder
// or break the file name (the player name check).
std::optional<std::string> progressionPath(const StatsContext& ctx, const std::string& player);

// The four bytes: 33 + first two digits of the game id, 33 + last two, 33 + "yy", month + 100 (won) or + 50.
std::string encodeProgressionRecord(int gameId, int yy, int month, bool won);
// Decodes a byte stream; groups that are no valid record are skipped (a damaged file never stops a chart).
std::vector<ProgressionRecord> decodeProgression(std::string_view bytes);

// AppendProgressionRecord: appends one record with a single write. false (and "Open error: " + path
// shown) when the file cannot be opened; the other files are recorded all the same.
bool appendProgressionRecord(const StatsContext& ctx, const std::string& player, int gameId, bool won,
                             const DateTime& end);
// RebuildProgressionFile: rewrites the player's file from the log lines of that player (atomic replace).
// false (with "Open error: " + path shown) when it cannot be written.
bool rebuildProgressionFile(const StatsContext& ctx, const std::string& player);
// The player's records in order (empty when there is no file).
std::vector<ProgressionRecord> readProgression(const StatsContext& ctx, const std::string& player);
// Deletes the player's progression file (when there is one).
void deleteProgressionFile(const StatsContext& ctx, const std::string& player);

}  // namespace cw::stats
