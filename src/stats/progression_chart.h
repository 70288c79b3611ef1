// The progression charts: the percentage of won deals over time from a player's progression file, for one
// game or all games, sampled to a budget of points; and the winning and losing streaks of the same records.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "stats/progression.h"
#include "stats/stat_context.h"

namespace cw::stats {

// A calendar month; compared as "yyyymm".
struct YearMonth {
    int year = 2000, month = 1;
    int key() const { return year * 100 + month; }
    std::string text() const; // "yyyymm"
    auto operator<=>(const YearMonth& o) const { return key() <=> o.key(); }
    bool operator==(const YearMonth& o) const { return key() == o.key(); }
};
// The month of a record: years 1991 to 2090 from its two digits.
YearMonth monthOf(const ProgressionRecord& r);
// Every month from first to last, in order.
std::vector<YearMonth> monthsBetween(YearMonth first, YearMonth last);

struct ProgressionPoint {
    YearMonth month;
    double percent = 0; // running won x 100 / (won + lost), one decimal
    long record = 0;    // 0-based position of the record among those counted
    bool operator==(const ProgressionPoint&) const = default;
};

enum class ProgressionScope { OneGame, AllGames };

struct ProgressionPoints {
    std::vector<ProgressionPoint> points;
    std::optional<YearMonth> first, last; // the months of the first and last record considered
};

inline constexpr int kProgressionBudget = 30;      // the pages and "Fit to Screen"
inline constexpr int kProgressionZoomBudget = 150; // the zoom dialog without "Fit to Screen"

// BuildProgressionPoints over records (a progression file in order). One game: the records of gameId
// within the range are counted; all games: every record is counted, and only the sampled points within
// the range are kept (percentages stay cumulative from the first record). Points are taken at record 0,
// every step-th record (step = N / budget when N > budget, else 1) and once at the last record.
ProgressionPoints buildProgressionPoints(const std::vector<ProgressionRecord>& records, ProgressionScope scope,
                                         int gameId, std::optional<YearMonth> from, std::optional<YearMonth> to,
                                         int budget);

// The records of a player's progression file; the file is made from the log first when it is missing.
std::vector<ProgressionRecord> progressionOf(const StatsContext& ctx, const std::string& player);

// Winning and losing streaks of records in order (of one game, or of all: gameId < 0).
struct Streaks {
    long longestWin = 0, longestLoss = 0;
    long currentWin = 0, currentLoss = 0;
    bool operator==(const Streaks&) const = default;
};
Streaks streaksOf(const std::vector<ProgressionRecord>& records, int gameId = -1);

} // namespace cw::stats
