// The per-game statistics file Stat.dat and the session counters.
#include "stats/game_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "stats/file_change.h"
#include "stats/stat_files.h"
#include "storage/fixed_width.h"
#include "storage/safe_file.h"

namespace cw::stats {

using storage::fixedNumber;

std::string formatGameRecord(const GameRecord& r) {
    return fixedNumber(r.won, 6) + " " + fixedNumber(r.lost, 6) + " " + fixedNumber(r.longestWinStreak, 6) + " " +
           fixedNumber(r.longestLossStreak, 6) + " " + fixedNumber(r.winStreak, 6) + " " +
           fixedNumber(r.lossStreak, 6) + " " + fixedNumber(r.totalScore, 12) + " " + std::string(12, '0');
}

GameRecord parseGameRecord(std::string_view text) {
    GameRecord r;
    std::int64_t* fields[] = {&r.won,       &r.lost,       &r.longestWinStreak, &r.longestLossStreak,
                              &r.winStreak, &r.lossStreak, &r.totalScore};
    // Fields stand at fixed columns: 1, 8, 15, 22, 29, 36 (width 6) and 43 (width 12).
    for (int i = 0; i < 7; ++i) {
        std::size_t at = std::size_t(i) * 7;
        std::size_t width = i == 6 ? 12 : 6;
        if (at >= text.size()) break;
        auto v = storage::parseInteger(text.substr(at, width));
        if (!v) break;
        *fields[i] = *v;
    }
    return r;
}

bool isWellFormedGameRecord(std::string_view text) {
    for (int i = 0; i < 7; ++i) {
        std::size_t at = std::size_t(i) * 7;
        if (at >= text.size() || !storage::parseInteger(text.substr(at, i == 6 ? 12 : 6))) return false;
    }
    return true;
}

SessionCounters readSessionCounters(const storage::SettingsStore& settings) {
    auto won = storage::parseInteger(settings.get(storage::col::SessionWon));
    auto lost = storage::parseInteger(settings.get(storage::col::SessionLost));
    return {won ? int(*won) : 0, lost ? int(*lost) : 0};
}

void writeSessionCounters(storage::SettingsStore& settings, SessionCounters c) {
    settings.set(storage::col::SessionWon, fixedNumber(c.won, 4));
    settings.set(storage::col::SessionLost, fixedNumber(c.lost, 4));
}

void resetSessionCounters(storage::SettingsStore& settings) { writeSessionCounters(settings, {}); }

GameRecord updateGameStatistics(const StatsContext& ctx, int gameId, const std::string& player, bool won,
                                std::int64_t score) {
    const std::string file = ctx.path(kStatFile);
    const std::string section = gameSection(gameId);
    auto stored = storage::readKeyedValue(file, section, player, kZeroGameRecord);
    GameRecord r = parseGameRecord(stored.value);
    if (stored.found && !isWellFormedGameRecord(stored.value))
        ctx.inform("The statistics record of \"" + player + "\" for game " + section + " in the file " +
                   storage::resolveNoCase(file) + " was damaged; its damaged values start again from zero.");
    if (won) {
        ++r.won;
        ++r.winStreak;
        r.lossStreak = 0;
    } else {
        ++r.lost;
        ++r.lossStreak;
        r.winStreak = 0;
    }
    r.longestWinStreak = std::max(r.longestWinStreak, r.winStreak);
    r.longestLossStreak = std::max(r.longestLossStreak, r.lossStreak);
    r.totalScore += score;
    FileChange change;
    change.kind = FileChange::Kind::SetValue;
    change.file = kStatFile;
    change.section = section;
    change.key = player;
    change.value = formatGameRecord(r);
    commitChange(ctx, change);
    if (ctx.settings) {
        SessionCounters c = readSessionCounters(*ctx.settings);
        (won ? c.won : c.lost) += 1;
        writeSessionCounters(*ctx.settings, c);
    }
    return r;
}

GameStatistics readGameStatistics(const StatsContext& ctx, int gameId, const std::string& player,
                                  storage::FileHandle* statFile) {
    GameStatistics s;
    if (!statFile) ensureStatisticsFiles(ctx, ctx.currentPlayer());
    auto v = storage::readKeyedValue(ctx.path(kStatFile), gameSection(gameId), player, kZeroGameRecord, statFile);
    s.record = parseGameRecord(v.value);
    if (ctx.settings && gameId == ctx.currentGameId() && storage::ltrim(player) == ctx.currentPlayer()) {
        SessionCounters c = readSessionCounters(*ctx.settings);
        s.sessionWon = c.won;
        s.sessionLost = c.lost;
    }
    return s;
}

double wonPercentage(std::int64_t won, std::int64_t lost) {
    if (won + lost == 0) return 0;
    return std::round(double(won) * 1000.0 / double(won + lost)) / 10.0;
}

std::string percentageText(double percent) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", percent);
    std::string s = buf;
    if (s.size() >= 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
    return "(" + s + "%)";
}

GameWonSummary gameWonSummary(const StatsContext& ctx, int gameId, const std::string& gameName,
                              const std::string& player) {
    GameWonSummary g;
    g.caption = "Total [" + gameName + "]";
    GameRecord r = readGameStatistics(ctx, gameId, player).record;
    g.won = r.won;
    g.lost = r.lost;
    g.total = r.won + r.lost;
    g.hasValues = g.total != 0;
    g.wonPercent = wonPercentage(r.won, r.lost);
    g.wonText = percentageText(g.wonPercent);
    g.lostText = percentageText(100.0 - g.wonPercent);
    return g;
}

}  // namespace cw::stats
