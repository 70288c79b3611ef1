// The game log Stat_log.dat: one 147-character line per recorded game, oldest first.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/stat_context.h"

namespace cw::stats {

// The fields of one log line.
struct LogRecord {
    std::string date;        // "yyyymmdd"
    std::string time;        // "hh:nn:ss" with the locale's separator
    int seconds = 0;         // playing time
    int gameId = 0;
    std::string gameName;    // up to 50 characters
    std::string player;      // up to 30 characters
    bool won = false;
    std::string scoringCode; // two characters
    std::string score;       // the final score as held in the settings (decimal text)
    std::string gameNumber;  // up to 15 characters
    std::string version = kVersionStamp;
};

inline constexpr std::size_t kLogRecordLength = 147;
// 1-based columns of the fields other operations compare.
inline constexpr int kLogGameIdColumn = 26;
inline constexpr int kLogPlayerColumn = 82;
inline constexpr int kLogResultColumn = 113;

// The 147-character line (no line end).
std::string formatLogRecord(const LogRecord& r);
// The fields of a line; nullopt when the line is too short to hold a result (lines of other lengths are
// read field by field as far as they go).
std::optional<LogRecord> parseLogRecord(std::string_view line);
// The player field of a line (columns 82-111, trailing blanks removed; "" for a short line).
std::string logLinePlayer(std::string_view line);
// The game id field of a line (columns 26-29), or -1.
int logLineGameId(std::string_view line);

// AppendGameLogRecord: appends one line (created when missing) with a single write, so a crash never
// leaves half a line; a file whose last line lacks its line end gets one first. Throws FileError.
void appendGameLogRecord(const StatsContext& ctx, const LogRecord& r);

// Calls fn for every line of the log in order (nothing when there is no log). Throws FileError when the
// log exists but cannot be read.
void forEachLogLine(const StatsContext& ctx, const std::function<void(std::string_view line)>& fn);
// All records that parse, in order.
std::vector<LogRecord> readGameLog(const StatsContext& ctx);

// CountLogRecords: the log's size divided by (its first line's length + 2); 0 without a log.
std::int64_t countLogRecords(const StatsContext& ctx);

// Keeps the lines for which keep() is true, writing the log whole (atomic replace). Returns the number of
// lines removed. Throws FileError.
std::size_t filterGameLog(const StatsContext& ctx, const std::function<bool(std::string_view line)>& keep);

// TrimGameLog: keeps the newest `keep` lines and deletes the given player's progression file (rebuilt
// from the log by the next EnsureStatisticsFiles). Throws FileError; nothing changes on failure.
void trimGameLog(const StatsContext& ctx, std::int64_t keep, const std::string& player);
// ClearGameLog: deletes the log and the given player's progression file.
void clearGameLog(const StatsContext& ctx, const std::string& player);

inline constexpr const char* kLogClearedMessage = "Log Statistics have been cleared.";

}  // namespace cw::stats
