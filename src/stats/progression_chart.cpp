// Progression points and streaks from the four-byte records of a player's progression file.
#include "stats/progression_chart.h"

#include <cmath>

#include "stats/stat_files.h"
#include "storage/fixed_width.h"

namespace cw::stats {

std::string YearMonth::text() const { return storage::fixedNumber(year, 4) + storage::fixedNumber(month, 2); }

YearMonth monthOf(const ProgressionRecord& r) { return {r.year < 91 ? 2000 + r.year : 1900 + r.year, r.month}; }

std::vector<YearMonth> monthsBetween(YearMonth first, YearMonth last)
{
    std::vector<YearMonth> out;
    for (YearMonth m = first; m <= last;) {
        out.push_back(m);
        if (++m.month > 12) {
            m.month = 1;
            ++m.year;
        }
    }
    return out;
}

namespace {

double percentOf(long won, long lost)
{
    if (won == 0)
        return 0;
    return std::round(double(won) * 1000.0 / double(won + lost)) / 10.0;
}

bool within(YearMonth m, const std::optional<YearMonth>& from, const std::optional<YearMonth>& to)
{
    return (!from || m >= *from) && (!to || m <= *to);
}

long stepFor(long n, int budget) { return budget > 0 && n > budget ? n / budget : 1; }

} // namespace

ProgressionPoints buildProgressionPoints(const std::vector<ProgressionRecord>& records, ProgressionScope scope,
                                         int gameId, std::optional<YearMonth> from, std::optional<YearMonth> to,
                                         int budget)
{
    ProgressionPoints out;
    long won = 0, lost = 0;
    if (scope == ProgressionScope::OneGame) {
        std::vector<const ProgressionRecord*> taken;
        for (const ProgressionRecord& r : records)
            if (r.gameId == gameId && within(monthOf(r), from, to))
                taken.push_back(&r);
        const long n = long(taken.size());
        if (n == 0)
            return out;
        const long step = stepFor(n, budget);
        for (long i = 0; i < n; ++i) {
            (taken[std::size_t(i)]->won ? won : lost) += 1;
            if (i % step == 0 || i == n - 1)
                out.points.push_back({monthOf(*taken[std::size_t(i)]), percentOf(won, lost), i});
        }
        out.first = monthOf(*taken.front());
        out.last = monthOf(*taken.back());
        return out;
    }
    const long n = long(records.size());
    if (n == 0)
        return out;
    const long step = stepFor(n, budget);
    for (long i = 0; i < n; ++i) {
        const ProgressionRecord& r = records[std::size_t(i)];
        (r.won ? won : lost) += 1;
        if ((i % step == 0 || i == n - 1) && within(monthOf(r), from, to))
            out.points.push_back({monthOf(r), percentOf(won, lost), i});
    }
    out.first = monthOf(records.front());
    out.last = monthOf(records.back());
    return out;
}

std::vector<ProgressionRecord> progressionOf(const StatsContext& ctx, const std::string& player)
{
    // Makes the player's file from the log when it is missing (its own message on failure).
    ensureStatisticsFiles(ctx, player);
    return readProgression(ctx, player);
}

Streaks streaksOf(const std::vector<ProgressionRecord>& records, int gameId)
{
    Streaks s;
    for (const ProgressionRecord& r : records) {
        if (gameId >= 0 && r.gameId != gameId)
            continue;
        if (r.won) {
            ++s.currentWin;
            s.currentLoss = 0;
        } else {
            ++s.currentLoss;
            s.currentWin = 0;
        }
        s.longestWin = std::max(s.longestWin, s.currentWin);
        s.longestLoss = std::max(s.longestLoss, s.currentLoss);
    }
    return s;
}

} // namespace cw::stats
