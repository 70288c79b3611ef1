// The values and texts the statistics dialogs show, as plain data.
#include "stats/dialog_values.h"

#include <algorithm>

#include "stats/game_stats.h"
#include "storage/fixed_width.h"
#include "storage/keyed_file.h"
#include "storage/safe_file.h"

namespace cw::stats {

namespace {

void fillBest(GameInformationGroup& g, const std::string& entry, char sep) {
    auto score = entryScore(entry);
    if (score && *score != 0) g.bestScore = std::to_string(*score);
    if (auto t = entryTime(entry)) g.bestTime = playingTimeText(*t, sep);
    g.bestDate = entry.size() >= 22 ? entry.substr(14, 8) : std::string();
}

void fillCounts(GameInformationGroup& g, std::int64_t won, std::int64_t lost) {
    g.won = won;
    g.lost = lost;
    g.total = won + lost;
    if (g.total == 0) return;
    g.wonPercent = roundedPercentText(won, g.total);
    // The lost percentage completes the rounded won percentage to 100.
    std::int64_t p = (won * 200 + g.total) / (2 * g.total);
    g.lostPercent = "(" + std::to_string(100 - p) + "%)";
}

}  // namespace

std::string roundedPercentText(std::int64_t part, std::int64_t total) {
    if (total == 0) return {};
    return "(" + std::to_string((part * 200 + total) / (2 * total)) + "%)";
}

GameInformation gameInformation(const StatsContext& ctx, int gameId, const std::string& gameName,
                                const std::string& player, const std::vector<std::string>& players,
                                std::string_view scoringCode, const DefaultScores& defaults, int chanceX,
                                int chanceY, int undecided) {
    GameInformation info;
    info.caption = gameName;
    info.player = player;
    auto mine = readGameStatistics(ctx, gameId, player).record;
    fillCounts(info.current, mine.won, mine.lost);
    std::int64_t won = 0, lost = 0;
    storage::FileHandle handle(storage::resolveNoCase(ctx.path(kStatFile)));
    for (const std::string& p : players) {
        auto r = readGameStatistics(ctx, gameId, p, &handle).record;
        won += r.won;
        lost += r.lost;
    }
    fillCounts(info.global, won, lost);
    auto entries = readHiScores(ctx, HiScoreTable::Games, gameId, scoringCode, defaults);
    if (auto e = bestEntryOf(entries, player)) fillBest(info.current, *e, ctx.timeSeparator);
    if (!entries.empty() && !isEmptyEntry(entries[0])) {
        fillBest(info.global, entries[0], ctx.timeSeparator);
        info.global.bestPlayer = entryPlayer(entries[0]);
    }
    if (chanceX != 0 && chanceY != 0) {
        info.chance = "about " + std::to_string(chanceX) + " in " + std::to_string(chanceY);
        // The figure is a lower bound: say so when the solver left more than one deal in twenty open.
        if (undecided > 0 && undecided * 20 > chanceY) info.chance += " (" + std::to_string(undecided) + " undecided)";
    }
    return info;
}

std::string clearStatisticsQuestion(const std::string& playerEntry, const std::string& gameEntry, bool hiScores) {
    std::string start = hiScores ? "Are you sure you want to clear the Hi-Scores?"
                                 : "Are you sure you want to clear the statistics";
    return start + " for player: " + playerEntry + "\rfor game: " + gameEntry + "?";
}

std::int64_t initialRecordsToKeep(std::int64_t recordCount) { return std::min<std::int64_t>(recordCount, 5000); }

bool canTrimLog(std::int64_t keep, std::int64_t recordCount) { return keep > 0 && keep < recordCount; }

}  // namespace cw::stats
