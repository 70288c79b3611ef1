// The figures of the statistics dialogs, computed from Stat.dat records and the games' chances of winning.
#include "stats/dialog_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "storage/fixed_width.h"
#include "storage/safe_file.h"

namespace cw::stats {

std::string decimalText(double value)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.1f", value);
    std::string s = buf;
    if (s.size() >= 2 && s.compare(s.size() - 2, 2, ".0") == 0)
        s.resize(s.size() - 2);
    if (s == "-0")
        s = "0";
    return s;
}

double roundedPercent(double value) { return std::round(value * 10.0) / 10.0; }

double lostPercentage(std::int64_t won, std::int64_t lost)
{
    if (won + lost <= 0)
        return 0;
    return roundedPercent(100.0 - wonPercentage(won, lost));
}

std::optional<double> chancePercentage(const CatalogGame& game)
{
    if (game.id >= kFirstCustomGameId || game.chanceDeals <= 0)
        return std::nullopt;
    return wonPercentage(game.chanceWon, std::int64_t(game.chanceDeals) - game.chanceWon);
}

std::map<int, GameRecord> playerRecords(const StatsContext& ctx, const std::string& player)
{
    std::map<int, GameRecord> found;
    std::ifstream in(storage::resolveNoCase(ctx.path(kStatFile)), std::ios::binary);
    std::string line;
    int section = -1; // the game of the section being read; -1 outside game sections
    std::map<int, bool> seen;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            section = -1;
            const auto close = line.find(']');
            if (close != 5)
                continue;
            const auto id = storage::parseInteger(std::string_view(line).substr(1, 4));
            if (!id || *id < 0 || *id > 9999 || seen[int(*id)])
                continue;
            seen[int(*id)] = true;
            section = int(*id);
            continue;
        }
        if (section < 0)
            continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos || storage::rtrim(std::string_view(line).substr(0, eq)) != player)
            continue;
        found.try_emplace(section, parseGameRecord(storage::rtrim(std::string_view(line).substr(eq + 1))));
    }
    return found;
}

namespace {

// The pair of percentage labels: both empty when both values are 0.
void pairLabels(double yours, double lost, std::string& wonLabel, std::string& lostLabel)
{
    if (yours == 0 && lost == 0)
        return;
    wonLabel = percentageText(yours);
    lostLabel = percentageText(lost);
}

const GameRecord kNoRecord{};

const GameRecord& recordOf(const std::map<int, GameRecord>& records, int id)
{
    auto it = records.find(id);
    return it == records.end() ? kNoRecord : it->second;
}

} // namespace

GamePageFigures gamePageFigures(const GameRecord& r, const std::optional<CatalogGame>& game)
{
    GamePageFigures f;
    f.won = r.won;
    f.lost = r.lost;
    f.total = r.won + r.lost;
    f.yours = wonPercentage(r.won, r.lost);
    f.lostPercent = lostPercentage(r.won, r.lost);
    pairLabels(f.yours, f.lostPercent, f.wonLabel, f.lostLabel);
    f.hasValues = f.yours != 0 || f.lostPercent != 0;
    const auto chance = game ? chancePercentage(*game) : std::nullopt;
    f.hasChance = chance.has_value();
    if (chance) {
        f.chance = *chance;
        f.chanceCaption = "Won:";
        f.chanceText = "About " + std::to_string(game->chanceWon) + " in " + std::to_string(game->chanceDeals);
    } else {
        f.chanceText = "Customized game";
    }
    f.averageText = decimalText(f.chance) + " %";
    f.yoursText = decimalText(f.yours) + " %";
    f.yoursBold = f.yours > f.chance;
    return f;
}

TotalPageFigures totalPageFigures(const std::map<int, GameRecord>& records, const std::vector<CatalogGame>& builtIn)
{
    TotalPageFigures f;
    double yoursSum = 0, chanceSum = 0;
    for (const CatalogGame& g : builtIn) {
        const GameRecord& r = recordOf(records, g.id);
        f.won += r.won;
        f.lost += r.lost;
        yoursSum += wonPercentage(r.won, r.lost);
        chanceSum += chancePercentage(g).value_or(0);
    }
    f.total = f.won + f.lost;
    f.yoursTotal = wonPercentage(f.won, f.lost);
    f.lostPercent = lostPercentage(f.won, f.lost);
    pairLabels(f.yoursTotal, f.lostPercent, f.wonLabel, f.lostLabel);
    f.hasValues = f.yoursTotal != 0 || f.lostPercent != 0;
    if (!builtIn.empty()) {
        f.yours = yoursSum / double(builtIn.size());
        f.average = chanceSum / double(builtIn.size());
    }
    f.yoursText = decimalText(f.yours) + " %";
    f.averageText = decimalText(f.average) + " %";
    f.yoursBold = f.yours > f.average;
    return f;
}

std::vector<ListRow> listRows(const std::map<int, GameRecord>& records, const std::vector<CatalogGame>& gamesByName,
                              ListFilter filter)
{
    std::vector<ListRow> out;
    for (const CatalogGame& g : gamesByName) {
        if (g.id >= kFirstCustomGameId)
            continue;
        const GameRecord& r = recordOf(records, g.id);
        ListRow row{g.id, g.name, r.won, r.lost, wonPercentage(r.won, r.lost), chancePercentage(g).value_or(0)};
        bool take = true;
        switch (filter) {
        case ListFilter::AllGames: break;
        case ListFilter::Won: take = r.won > 0; break;
        case ListFilter::NotWon: take = r.won == 0 && r.lost > 0; break;
        case ListFilter::OverAverage: take = row.yours >= row.chance; break;
        case ListFilter::UnderAverage: take = row.yours < row.chance; break;
        case ListFilter::NotPlayed: take = r.won == 0 && r.lost == 0; break;
        }
        if (take)
            out.push_back(std::move(row));
    }
    return out;
}

namespace {

void threeWayPercents(ThreeWaySummary& s)
{
    s.total = s.first + s.second + s.notPlayed;
    s.firstPercent = wonPercentage(s.first, s.second + s.notPlayed);
    s.secondPercent = wonPercentage(s.second, s.first + s.notPlayed);
    s.notPlayedPercent = s.total == 0 ? 0 : roundedPercent(100.0 - s.firstPercent - s.secondPercent);
}

} // namespace

ThreeWaySummary percentWonSummary(const std::map<int, GameRecord>& records, const std::vector<CatalogGame>& builtIn,
                                  int currentGameId, SessionCounters session)
{
    ThreeWaySummary s;
    for (const CatalogGame& g : builtIn) {
        GameStatistics st{recordOf(records, g.id), 0, 0};
        if (g.id == currentGameId) {
            st.sessionWon = session.won;
            st.sessionLost = session.lost;
        }
        switch (playedState(st)) {
        case PlayedState::Won: ++s.first; break;
        case PlayedState::NotWon: ++s.second; break;
        case PlayedState::NotPlayed: ++s.notPlayed; break;
        }
    }
    threeWayPercents(s);
    return s;
}

ThreeWaySummary averageWonSummary(const std::map<int, GameRecord>& records, const std::vector<CatalogGame>& builtIn)
{
    ThreeWaySummary s;
    for (const CatalogGame& g : builtIn) {
        const GameRecord& r = recordOf(records, g.id);
        if (r.won + r.lost == 0)
            ++s.notPlayed;
        else if (wonPercentage(r.won, r.lost) >= chancePercentage(g).value_or(0))
            ++s.first;
        else
            ++s.second;
    }
    threeWayPercents(s);
    return s;
}

std::string summaryLabel(double percent) { return percent == 0 ? std::string() : percentageText(percent); }

std::vector<PlayerValue> playersValues(const StatsContext& ctx, int gameId, const std::vector<std::string>& players,
                                       PlayersMeasure measure)
{
    std::vector<PlayerValue> ordered;
    for (const std::string& p : players) {
        const GameRecord r = readGameStatistics(ctx, gameId, p).record;
        const std::int64_t games = r.won + r.lost;
        std::int64_t v = 0;
        if (games > 0) {
            switch (measure) {
            case PlayersMeasure::PercentWon: v = std::int64_t(double(r.won) * 100.0 / double(games) + 0.5); break;
            case PlayersMeasure::GamesWon: v = r.won; break;
            case PlayersMeasure::AverageScore: v = r.totalScore / games; break;
            }
        }
        // In front of the first player with a greater value: ascending, equal values in list order.
        auto at = std::find_if(ordered.begin(), ordered.end(), [v](const PlayerValue& o) { return o.value > v; });
        ordered.insert(at, PlayerValue{p, v});
    }
    return ordered;
}

std::vector<PlayerValue> playersBars(const std::vector<PlayerValue>& ascending)
{
    std::vector<PlayerValue> bars(ascending.rbegin(), ascending.rend());
    if (bars.size() > kPlayersBars)
        bars.resize(kPlayersBars);
    return bars;
}

std::string currentStreakText(std::int64_t winStreak, std::int64_t lossStreak)
{
    if (winStreak > 0)
        return "Current: " + std::to_string(winStreak) + " Won";
    if (lossStreak > 0)
        return "Current: " + std::to_string(lossStreak) + " Lost";
    return "Current:";
}

} // namespace cw::stats
