// Series of games: the predefined and the player's own series (Series.dat), the series in progress
// (Series_e01.dat), its results and totals, and the series hi-scores.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/game_catalog.h"
#include "stats/hi_scores.h"
#include "stats/stat_context.h"

namespace cw::stats {

inline constexpr const char* kSeriesFile = "Series.dat";
inline constexpr const char* kSeriesProgressFile = "Series_e01.dat";
inline constexpr const char* kSeriesFileHeader = "[R-0530]";
// The player's own series are numbered from 5000 to 9999; 1 to 9 are the predefined ones.
inline constexpr int kFirstUserSeries = 5000;
inline constexpr int kLastUserSeries = 9999;
inline constexpr std::size_t kSeriesNameLength = 50;
// A series record of Series.dat is exactly this many lines.
inline constexpr int kSeriesRecordLines = 10;

// One series: its number, name and games in playing order.
struct SeriesDefinition {
    int number = 0;
    std::string name;
    std::vector<int> games;
    bool operator==(const SeriesDefinition&) const = default;
};

// The nine series every player has (numbers 1 to 9).
const std::vector<SeriesDefinition>& predefinedSeries();
inline bool isPredefinedSeries(int number) { return number >= 1 && number <= 9; }

// The maximum score of a game: rule parameter 52, or 4 x rule parameter 378 when 52 is -1.
std::int64_t maximumScore(const CatalogGame& game);

// ---- Series.dat ----

// What reading Series.dat found: the records that read well, and a description of each one that did not.
struct UserSeriesParse {
    std::vector<SeriesDefinition> series;
    std::vector<std::string> problems;
};
// Parses the text of Series.dat. A record is dropped when its number is not 5000..9999 or repeats an
// earlier one, its game list is not a run of four-digit ids, or a game is unknown to the catalog (when
// one is given); lines that are no record, and a missing "[R-0530]" line, are problems too.
UserSeriesParse parseUserSeries(std::string_view text, const GameCatalog* games = nullptr);
// The file text: "[R-0530]" and ten lines per series (CR LF line ends).
std::string formatUserSeries(const std::vector<SeriesDefinition>& series);

// The player's series from Series.dat (none when there is no file). A file with damaged records is
// kept aside as "Series.dat.bad", written again with the records that read well, and the player is
// told once which records were dropped. Throws FileError when the file exists but cannot be read.
std::vector<SeriesDefinition> readUserSeries(const StatsContext& ctx, const GameCatalog& games);

// SeriesGames / SeriesName: a predefined series or one of the player's (nullopt when unknown).
std::optional<SeriesDefinition> findSeries(const StatsContext& ctx, const GameCatalog& games, int number);

// NewSeriesNumber: the smallest number from 5000 to 9999 not in use; nullopt when all are.
std::optional<int> newSeriesNumber(const std::vector<SeriesDefinition>& userSeries);

// Why the series editor refuses a series.
enum class SeriesProblem { None, EmptyName, BadName, NoGames, DuplicateName, NoNumberLeft };
// The message of each problem ("" for None).
std::string seriesProblemMessage(SeriesProblem p);
// The name as stored: surrounding blanks removed.
std::string normalizeSeriesName(std::string_view name);
// Checks a series the editor is about to save (number: the edited series, or nullopt for a new one).
// Names are compared without regard to case with the player's other series; a name may not hold control
// characters (it is one line of Series.dat and a value of the settings file) nor be longer than 50.
SeriesProblem checkSeries(const std::vector<SeriesDefinition>& userSeries, std::optional<int> number,
                          std::string_view name, const std::vector<int>& games);

// SaveSeries: a new series (number nullopt) gets NewSeriesNumber and goes at the end; an edited one keeps
// its number and place. The file is written whole. Returns the number, or the problem. Throws FileError.
struct SeriesSave {
    SeriesProblem problem = SeriesProblem::None;
    int number = 0;
};
SeriesSave saveSeries(const StatsContext& ctx, const GameCatalog& games, std::optional<int> number,
                      std::string_view name, const std::vector<int>& gameIds);
// DeleteSeries: removes the record (the file written whole). Throws FileError.
void deleteSeries(const StatsContext& ctx, const GameCatalog& games, int number);

// ---- The series in progress: Series_e01.dat ----

// One finished game of the series ("Scores" line).
struct SeriesResult {
    int seconds = 0;
    bool won = false;
    std::string scoringCode = "01";
    std::string score;    // the final score as text, at most six characters
    bool maximum = false; // the score equals the game's maximum score
    bool operator==(const SeriesResult&) const = default;
};

struct SeriesProgress {
    int number = 0;
    std::string player;
    std::vector<int> games; // in playing order
    int played = 1;         // the number (1-based) of the game being played; NumGames + 1 when all are done
    std::vector<std::optional<SeriesResult>> results; // one per game; empty until it is finished
    bool operator==(const SeriesProgress&) const = default;

    int numGames() const { return int(games.size()); }
    // The game being played (nullopt once every game is done).
    std::optional<int> currentGame() const;
    bool finished() const { return played > numGames(); }
};

// The "[Scores]" value of a result (without its key): seconds (6), blank, "Won  "/"Lost ", code (2),
// blank, the score left-aligned in 6, blank, " Y" or " N".
std::string formatSeriesResult(const SeriesResult& r);
// nullopt when the value does not have that layout (an empty value is no result, not an error).
std::optional<SeriesResult> parseSeriesResult(std::string_view value);

// The file text. Predefined series store their game ids with three digits, the player's with four.
std::string formatSeriesProgress(const SeriesProgress& p);
// Parses and checks the file text; the problem found ("" when it reads well). The series' games must be
// known to the catalog (when one is given).
struct SeriesProgressParse {
    std::optional<SeriesProgress> progress;
    std::string problem;
};
SeriesProgressParse parseSeriesProgress(std::string_view text, const GameCatalog* games = nullptr);

// StartSeries: the progress of a series just started (Played 1, no results). With random order the games
// are shuffled by moving a game chosen by pick(n) (0..n-1) among the remaining ones to the end of a new
// list, one after the other.
SeriesProgress startSeries(const SeriesDefinition& series, const std::string& player, bool randomOrder,
                           const std::function<int(int n)>& pick);

// Writes Series_e01.dat whole. Throws FileError.
void writeSeriesProgress(const StatsContext& ctx, const SeriesProgress& p);
// Reads Series_e01.dat: nullopt when there is none. A damaged file is renamed to "Series_e01.dat.bad"
// (replacing an older one), the player is told once, and nullopt is returned.
std::optional<SeriesProgress> readSeriesProgress(const StatsContext& ctx, const GameCatalog& games);
// Deletes Series_e01.dat (no series in progress any more). Throws FileError.
void deleteSeriesProgress(const StatsContext& ctx);

// RecordSeriesResult: the game being played is finished; its result line is written and Played moves on.
// Only the series' own game counts: another game id, or a series already done, leaves it unchanged
// (false).
bool recordSeriesResult(SeriesProgress& p, int gameId, bool won, int seconds, std::string_view scoringCode,
                        std::int64_t score, std::int64_t maximumScore);

// The totals of EndSeries over all games of the series.
struct SeriesTotals {
    std::int64_t score = 0;
    std::int64_t seconds = 0;
    bool allWon = false;     // every game won (a game not played is not won)
    bool allMaximum = false; // every game with its maximum score
};
SeriesTotals seriesTotals(const SeriesProgress& p);

// The series result offered to Series_scr.dat (nothing while statistics are disabled).
HiScoreInsertion offerSeriesResult(const StatsContext& ctx, const SeriesProgress& p, const DateTime& when);

// Clearing all series values: Series_scr.dat written again with "[Clear scores]" "Cleared=Y".
void clearSeriesScores(const StatsContext& ctx);

inline constexpr const char* kQuitSeriesQuestion = "Quit this Series?";
inline constexpr const char* kClearSeriesQuestion = "Are you sure you want to clear all the Series statistics?";

} // namespace cw::stats
