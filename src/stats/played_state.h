// Whether a player has won, only lost or never played each game: the marks of the game chooser.
#pragma once

#include <map>
#include <string>

#include "stats/game_stats.h"
#include "stats/stat_context.h"

namespace cw::stats {

enum class PlayedState { NotPlayed, NotWon, Won };

// Won when anything counts a win (won games, a winning streak, a session win); otherwise not won when
// anything counts a loss; otherwise not played.
PlayedState playedState(const GameStatistics& s);

// The state of every game that has a record of `player` in Stat.dat, read in one pass (games without a
// record are not played). The session counters count for the current game of the current player. A
// missing file gives no records and creates nothing; unreadable lines are skipped.
std::map<int, PlayedState> playedStates(const StatsContext& ctx, const std::string& player);

}  // namespace cw::stats
