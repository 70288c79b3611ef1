// Clearing statistics and renaming a player in every statistics file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "stats/stat_context.h"

namespace cw::stats {

inline constexpr int kAllGames = -1;
inline const std::string kAllPlayers;  // the empty name selects every player

// ClearStatistics: zero records in Stat.dat, cleared single-game values and the matching log lines
// removed (progression files are kept). gameId kAllGames and/or player kAllPlayers widen the scope; both
// together start Stat.dat, Stat_uni.dat and the log afresh. The session counters are reset when the
// current game or all games or all players were cleared. Throws FileError.
void clearStatistics(const StatsContext& ctx, int gameId, const std::string& player);

// "Clear values" with "All values": statistics, log, hi-scores ("01"), overall score and the
// progression files of the listed players. (The series files are cleared by the series.)
void clearAllValues(const StatsContext& ctx, const std::vector<std::string>& players);

// Deleting a player (never the current one): ClearStatistics for all games and that player.
void deletePlayerStatistics(const StatsContext& ctx, const std::string& player);

// RenamePlayerInStatistics: replaces the name in Stat.dat (keys), STAT_GLO.DAT and Stat_uni.dat
// (sections), the log and both hi-score files (the player columns), renames the progression file and,
// last, the name in the settings file's player list (ctx.settingsFile) and the current player.
// progress gets the number of lines processed (for the "Working:" label). Every failure is shown and the
// other files are still processed; returns false when any step failed or the new name is not valid.
// The rename is written into the journal first: a rename cut short by a crash is finished at the next
// start (every step can be made twice), so a player's records never end up under a name nobody has.
bool renamePlayerInStatistics(const StatsContext& ctx, const std::string& oldName, const std::string& newName,
                              const std::function<void(long lines)>& progress = {});

struct PendingRename;
// Finishes a rename the journal holds and deletes the journal (call with the data folder's lock held).
void finishRename(const StatsContext& ctx, const PendingRename& pending);

}  // namespace cw::stats
