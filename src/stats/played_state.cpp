// The played state of games for a player, read from Stat.dat in a single pass.
#include "stats/played_state.h"

#include <fstream>

#include "storage/fixed_width.h"
#include "storage/safe_file.h"

namespace cw::stats {

PlayedState playedState(const GameStatistics& s) {
    const GameRecord& r = s.record;
    if (r.won > 0 || r.longestWinStreak > 0 || r.winStreak > 0 || s.sessionWon > 0) return PlayedState::Won;
    if (r.lost > 0 || r.longestLossStreak > 0 || r.lossStreak > 0 || s.sessionLost > 0) return PlayedState::NotWon;
    return PlayedState::NotPlayed;
}

std::map<int, PlayedState> playedStates(const StatsContext& ctx, const std::string& player) {
    std::map<int, PlayedState> out;
    std::map<int, GameStatistics> found;
    std::ifstream in(storage::resolveNoCase(ctx.path(kStatFile)), std::ios::binary);
    std::string line;
    int section = -1;  // the game of the section being read; -1 outside game sections
    std::map<int, bool> seen;  // only the first section of a game counts, as for single reads
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            section = -1;
            const auto close = line.find(']');
            if (close == std::string::npos) continue;
            const auto id = storage::parseInteger(std::string_view(line).substr(1, close - 1));
            if (!id || *id < 0 || *id > 9999 || close != 5) continue;
            if (seen[int(*id)]) continue;
            seen[int(*id)] = true;
            section = int(*id);
            continue;
        }
        if (section < 0) continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos || storage::rtrim(std::string_view(line).substr(0, eq)) != player) continue;
        if (found.count(section)) continue;  // the first key line counts
        found[section].record = parseGameRecord(storage::rtrim(std::string_view(line).substr(eq + 1)));
    }
    if (ctx.settings && storage::ltrim(player) == ctx.currentPlayer() && ctx.currentGameId() >= 0) {
        const SessionCounters c = readSessionCounters(*ctx.settings);
        GameStatistics& s = found[ctx.currentGameId()];
        s.sessionWon = c.won;
        s.sessionLost = c.lost;
    }
    for (const auto& [id, s] : found) out[id] = playedState(s);
    return out;
}

}  // namespace cw::stats
