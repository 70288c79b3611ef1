// The figures of the "Statistics" dialog's pages and of its summaries, as plain data: one game, all games,
// the list of games, "% Won", "% Average Won", the players' comparison and the streaks.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "stats/game_catalog.h"
#include "stats/game_stats.h"
#include "stats/played_state.h"
#include "stats/stat_context.h"

namespace cw::stats {

// "##0.#": the value with one decimal, the decimal left out when it is 0 ("66.7", "50", "0").
std::string decimalText(double value);
// A percentage rounded to one decimal ("000.0" formatted and read back).
double roundedPercent(double value);
// The lost percentage beside your percentage: 100 - it; 0 when the game was never played.
double lostPercentage(std::int64_t won, std::int64_t lost);
// The chance of winning of a game as a percentage; nullopt when it has none.
std::optional<double> chancePercentage(const CatalogGame& game);

// The records of one player in every game section of Stat.dat, read in one pass (the first section of
// a game and the first key of the player count, as for single reads). A missing file gives none.
std::map<int, GameRecord> playerRecords(const StatsContext& ctx, const std::string& player);

// ---- Page "Game" ----
struct GamePageFigures {
    std::int64_t won = 0, lost = 0, total = 0;
    double yours = 0, lostPercent = 0;
    std::string wonLabel, lostLabel; // "(66.7%)", "(33.3%)"; both empty when both are 0
    bool hasValues = false;          // false: the pie gives way to the no-values picture
    bool hasChance = false;
    std::string chanceCaption;          // "Won:" with a chance, else ""
    std::string chanceText;             // "About 843 in 1000", or "Customized game"
    double chance = 0;                  // 0 without a chance
    std::string averageText, yoursText; // "84.3 %", "66.7 %"
    bool yoursBold = false;             // your percentage is greater than the chance
};
GamePageFigures gamePageFigures(const GameRecord& record, const std::optional<CatalogGame>& game);

// ---- Page "Total" ----
struct TotalPageFigures {
    std::int64_t won = 0, lost = 0, total = 0;
    double yoursTotal = 0, lostPercent = 0; // of the summed counts (the pie)
    std::string wonLabel, lostLabel;
    bool hasValues = false;
    double yours = 0, average = 0;      // mean percentages over every built-in game (never played: 0 %)
    std::string yoursText, averageText; // "######0.# %"
    bool yoursBold = false;
};
// builtIn: every built-in game in list order.
TotalPageFigures totalPageFigures(const std::map<int, GameRecord>& records, const std::vector<CatalogGame>& builtIn);

// ---- Page "List" ----
enum class ListFilter { AllGames, Won, NotWon, OverAverage, UnderAverage, NotPlayed };
struct ListRow {
    int gameId = 0;
    std::string name;
    std::int64_t won = 0, lost = 0;
    double yours = 0, chance = 0;
};
// The rows of the games (custom games never listed) in the order given (the game names sorted), filtered.
std::vector<ListRow> listRows(const std::map<int, GameRecord>& records, const std::vector<CatalogGame>& gamesByName,
                              ListFilter filter);

// ---- "Statistics % Won" and "Statistics % Average Won" ----
struct ThreeWaySummary {
    std::int64_t first = 0, second = 0, notPlayed = 0, total = 0; // won / not won, or over / under
    double firstPercent = 0, secondPercent = 0, notPlayedPercent = 0;
};
// Over the built-in games for a player: won, not won and never played (the played state; the session
// counters count for the current game of the current player).
ThreeWaySummary percentWonSummary(const std::map<int, GameRecord>& records, const std::vector<CatalogGame>& builtIn,
                                  int currentGameId, SessionCounters session);
// Over the built-in games for a player: over the chance of winning, under it, never played.
ThreeWaySummary averageWonSummary(const std::map<int, GameRecord>& records, const std::vector<CatalogGame>& builtIn);
// The label beside a summary count: "(" + "##0.#" + "%)", empty when the value is 0.
std::string summaryLabel(double percent);

// ---- "Players' statistics" ----
enum class PlayersMeasure { PercentWon, GamesWon, AverageScore };
struct PlayerValue {
    std::string player;
    std::int64_t value = 0;
};
// The value of every player for one game, in ascending order (equal values keep the player-list order).
std::vector<PlayerValue> playersValues(const StatsContext& ctx, int gameId, const std::vector<std::string>& players,
                                       PlayersMeasure measure);
// The bars: from the greatest value down, the first five only.
std::vector<PlayerValue> playersBars(const std::vector<PlayerValue>& ascending);
inline constexpr std::size_t kPlayersBars = 5;

// ---- "Sequences statistics" ----
// "Current: 3 Won", "Current: 2 Lost" or "Current:".
std::string currentStreakText(std::int64_t winStreak, std::int64_t lossStreak);

} // namespace cw::stats
