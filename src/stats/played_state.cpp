// The played state of games for a player, read from Stat.dat in a single pass.
#include "stats/played_state.h"

#include "stats/dialog_figures.h"
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
    for (const auto& [id, record] : playerRecords(ctx, player))
        found[id].record = record;
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
