// The "Log statistics" list: the game log's records of a player and a game, newest first, read fast from
// the end of a long log or in full.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "stats/game_log.h"
#include "stats/stat_context.h"

namespace cw::stats {

// With a log longer than this the "&Browse:" choice is shown.
inline constexpr std::int64_t kLogBrowseThreshold = 5000;
// "Last records (fast)": only this many of the newest lines are read ...
inline constexpr std::int64_t kLogFastLines = 10000;
// ... and at most this many of the newest matching records are listed.
inline constexpr std::size_t kLogFastRows = 5000;

struct LogQuery {
    std::string player; // "" with allPlayers
    std::string game;   // the game name; "" with allGames
    bool allPlayers = true;
    bool allGames = true;
    bool fast = true; // "Last records (fast)"; false: "All records"
};

// A listed record; the playing time cell stays empty when its field does not read.
struct LogRow {
    LogRecord record;
    bool timeValid = true;
};

struct LogListing {
    std::vector<LogRow> rows;        // newest first
    std::int64_t estimatedCount = 0; // CountLogRecords
    bool browseShown = false;        // the "&Browse:" controls are shown
    std::int64_t linesRead = 0;
};

// Reads the log for the query. The game and player compare exactly (trailing blanks removed). progress
// gets the fraction read so far (0..1) now and then. Throws FileError when the log cannot be read.
LogListing browseLog(const StatsContext& ctx, const LogQuery& query,
                     const std::function<void(double fraction)>& progress = {});

// The log's playing time as the dialogs show it: hours (one digit), minutes and seconds joined by the
// separator; "" when the field does not read.
std::string logPlayingTime(const LogRow& r, char separator);
// Columns 10-14 of the line: hours and minutes of the end time ("10:20").
std::string logStartText(const LogRecord& r);

} // namespace cw::stats
