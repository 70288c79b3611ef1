// The per-game statistics file Stat.dat (one 67-character record per game and player) and the session counters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "stats/stat_context.h"
#include "storage/keyed_file.h"

namespace cw::stats {

// One statistics record.
struct GameRecord {
    std::int64_t won = 0, lost = 0;
    std::int64_t longestWinStreak = 0, longestLossStreak = 0;
    std::int64_t winStreak = 0, lossStreak = 0;  // current streaks
    std::int64_t totalScore = 0;                 // sum of the final scores of all recorded games

    bool operator==(const GameRecord&) const = default;
};

// The record text: fields 1-6 six digits, the total twelve, a reserved field of twelve zeros; 67
// characters, so that an update overwrites the old value in place.
std::string formatGameRecord(const GameRecord& r);
// Parses fields 1 to 7 in order; a field that is not an integer leaves it and the following fields 0.
GameRecord parseGameRecord(std::string_view text);
// True when all seven counted fields read as integers.
bool isWellFormedGameRecord(std::string_view text);
inline constexpr const char* kZeroGameRecord =
    "000000 000000 000000 000000 000000 000000 000000000000 000000000000";
inline constexpr std::size_t kGameRecordLength = 67;

// The games won and lost in this session (settings columns 112 and 116).
struct SessionCounters {
    int won = 0, lost = 0;
};
SessionCounters readSessionCounters(const storage::SettingsStore& settings);
void writeSessionCounters(storage::SettingsStore& settings, SessionCounters c);
// ResetSessionCounters: both counters "0000".
void resetSessionCounters(storage::SettingsStore& settings);

// UpdateGameStatistics: adds one game to the record of gameId and player and to the session counters
// (when the context has settings). A damaged record counts as 0 from its first bad field on and is
// written well-formed again; the player is told which file and record were damaged. Throws
// storage::FileError when Stat.dat cannot be written.
GameRecord updateGameStatistics(const StatsContext& ctx, int gameId, const std::string& player, bool won,
                                std::int64_t score);

// What ReadGameStatistics returns.
struct GameStatistics {
    GameRecord record;
    int sessionWon = 0, sessionLost = 0;  // only for the current game and player
};

// ReadGameStatistics: the record of gameId and player (zeros when missing). With an open handle of
// Stat.dat (for scans over all games) it is read as it is; otherwise the files are ensured first.
GameStatistics readGameStatistics(const StatsContext& ctx, int gameId, const std::string& player,
                                  storage::FileHandle* statFile = nullptr);

// WonPercentage: won * 100 / (won + lost) rounded to one decimal; 0 when both are 0.
double wonPercentage(std::int64_t won, std::int64_t lost);
// The percentage as the dialogs show it: "(" + "##0.#" + "%)", e.g. "(66.7%)", "(50%)".
std::string percentageText(double percent);

// The values of the "Game won" dialog's group "Total [" + game name + "]".
struct GameWonSummary {
    std::string caption;                 // "Total [" + game name + "]"
    std::int64_t won = 0, lost = 0, total = 0;
    double wonPercent = 0;               // for the pie chart
    std::string wonText, lostText;       // "(66.7%)" and "(33.3%)"
    bool hasValues = false;              // false: show the no-values picture
};
GameWonSummary gameWonSummary(const StatsContext& ctx, int gameId, const std::string& gameName,
                              const std::string& player);

}  // namespace cw::stats
