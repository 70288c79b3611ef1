// Updates of the statistics files under the data folder's lock, and finishing what a stopped copy left.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "stats/stat_context.h"
#include "storage/folder_lock.h"

namespace cw::stats {

// Holds the data folder's lock around an update of the statistics files. The outermost one first
// finishes a game end or player rename that a copy of the program left half done (the journal), so
// that no update ever works on files that disagree. Throws FileError when another copy holds the lock
// for longer than the lock waits.
class StatsUpdate {
public:
    explicit StatsUpdate(const StatsContext& ctx);

private:
    storage::FolderLock m_lock;
};

// Finishes the journal's work, when there is a journal (call with the lock held).
void finishPendingWork(const StatsContext& ctx);

// At start-up, before anything reads the statistics or the player list: finishes the journal's work and
// deletes the temporary files that a write killed half-way left in the data folder (those older than
// staleAfter: a younger one may belong to another copy writing right now). Returns the messages to show.
std::vector<std::string> recoverDataFolder(const StatsContext& ctx,
                                           std::chrono::seconds staleAfter = std::chrono::seconds(300));

} // namespace cw::stats
