// Hi-score tables (Stat_scr.dat and Series_scr.dat): 20 entries of 85 characters per game and scoring system.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/game_catalog.h"
#include "stats/stat_context.h"
#include "storage/ini_file.h"

namespace cw::stats {

enum class HiScoreTable { Games, Series };

inline constexpr int kHiScoreRanks = 20;
inline constexpr std::size_t kHiScoreEntryLength = 85;

// File of a table.
const char* hiScoreFileName(HiScoreTable table);

// An empty entry: 84 blanks and "x".
std::string emptyHiScoreEntry();

// The fields of an entry to write.
struct HiScoreEntry {
    std::int64_t score = 0;
    std::int64_t seconds = 0;
    DateTime when;
    std::string player;
    std::string numberField;  // games: the game number; series: "Y" or "N" (padded to 15)
    bool won = true;
};
// The 85-character entry text.
std::string formatHiScoreEntry(const HiScoreEntry& e, char timeSeparator);

// The ranking values of an entry: score (columns 1-6) and time (8-13); -999999 and 999999 when blank
// or missing; nullopt for columns that are not blank and not a number.
std::optional<std::int64_t> entryScore(std::string_view entry);
std::optional<std::int64_t> entryTime(std::string_view entry);
// Player of an entry (columns 33-62, trailing blanks removed).
std::string entryPlayer(std::string_view entry);
// True when the score columns are blank (or the entry is too short to hold them).
bool isEmptyEntry(std::string_view entry);

// The twenty default players ("* " + first name); the series tables use them in reverse order.
const std::array<const char*, kHiScoreRanks>& defaultHiScoreNames(HiScoreTable table);
// Default scores of a game table from rule parameters 52 and 378.
std::vector<std::int64_t> defaultGameScores(int p52, int p378);
// Default scores of a series table from its number of games.
std::vector<std::int64_t> defaultSeriesScores(int gamesInSeries);
// The 20 default entries (time = score x 5 seconds, game number field of zeros, "Won ").
std::vector<std::string> defaultHiScoreEntries(HiScoreTable table, const std::vector<std::int64_t>& scores,
                                               const DateTime& when, char timeSeparator);

// Where the default scores of a table come from when they are due.
using DefaultScores = std::function<std::vector<std::int64_t>()>;
// The default scores of a game from the catalog (a one-deck game when the game is unknown).
DefaultScores gameDefaultScores(const GameCatalog& games, int gameId);

// Keys of a table's section: code + "-01" ... code + "-20".
std::string hiScoreKey(std::string_view scoringCode, int rank);

// ReadHiScores: the 20 entries in rank order; defaults are generated first when due (and written back
// for the game table when statistics are not disabled).
std::vector<std::string> readHiScores(const StatsContext& ctx, HiScoreTable table, int id,
                                      std::string_view scoringCode, const DefaultScores& defaults,
                                      const DateTime& now = DateTime::now());

// What InsertHiScore did.
struct HiScoreInsertion {
    int rank = -1;             // 0-based rank of the new entry; -1 when it did not make the table
    bool written = false;      // the table was written back
};
// InsertHiScore: offers a result to the table. For the game table the overall score is updated too
// (whether or not the entry made the table) unless withOverall is false (the game end updates it as a
// step of its own). Nothing happens while statistics are disabled.
HiScoreInsertion insertHiScore(const StatsContext& ctx, HiScoreTable table, int id, const HiScoreEntry& entry,
                               std::string_view scoringCode, const DefaultScores& defaults, bool withOverall = true);

// The caption of the dialog for a new score.
std::string newHiScoreCaption(HiScoreTable table, const std::string& gameOrSeriesName);

// ClearHiScores: gameId < 0 clears every table; an empty player clears every player.
void clearHiScores(const StatsContext& ctx, HiScoreTable table, int gameId, const std::string& player,
                   std::string_view scoringCode);
// BlankHiScores: 20 empty entries for the game (a custom game was deleted).
void blankHiScores(const StatsContext& ctx, int gameId, std::string_view scoringCode);

// UpgradeHiScoreFile (once at program start): brings a Stat_scr.dat of an older layout (83-character
// entries) to the current one; failures are shown and the old file stays. With the settings file, also
// sets "Preference"/"Cards_Animate" and "ConfirmQuit" to "Y" where they read "S". Returns whether the
// hi-score file was upgraded.
bool upgradeHiScoreFile(const StatsContext& ctx, storage::IniFile* settings = nullptr);

// One row of the "Hi-Scores" grid.
struct HiScoreRow {
    std::string rank;        // "01".."20"
    std::string player;      // columns 33-62
    std::string score;       // without leading zeros; "" for an empty entry
    std::string time;        // "h:mm:ss"; "" for an empty entry
    std::string result;      // "Won " / "Lost"
    std::string date;        // "yyyymmdd" (the dialog shows it in the short date format); "" when empty
    std::string gameNumber;  // columns 64-76
};
std::vector<HiScoreRow> hiScoreRows(const std::vector<std::string>& entries, char timeSeparator);
// Playing seconds as hours (unpadded), minutes and seconds joined by the separator ("1:02:03").
std::string playingTimeText(std::int64_t seconds, char separator);
// The first entry (in rank order) of the player, or nullopt.
std::optional<std::string> bestEntryOf(const std::vector<std::string>& entries, const std::string& player);

}  // namespace cw::stats
