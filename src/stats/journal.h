// The journal of the data folder: the game end or player rename under way, written before its first change.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/file_change.h"
#include "stats/game_end.h"

namespace cw::stats {

// In the data folder while a game end or a rename is being recorded; a copy of the program that finds
// it (at start-up, or before its own next update) finishes the work the stopped copy left half done.
inline constexpr const char* kJournalFile = "Stat_pending.dat";

// A game end under way: the game, the default hi-scores of its game (so that finishing it needs no
// catalog), the steps done, and the change of the next step when it was written down before being made.
struct PendingGameEnd {
    FinishedGame game;
    std::vector<std::int64_t> defaultScores;
    int done = 0;
    std::optional<FileChange> change;
};

// A rename of a player under way.
struct PendingRename {
    std::string oldName, newName;
};

struct Journal {
    std::optional<PendingGameEnd> gameEnd;
    std::optional<PendingRename> rename;
};

std::string encodeJournal(const PendingGameEnd& pending);
std::string encodeJournal(const PendingRename& pending);
// nullopt when the text is no journal (a damaged journal is dropped: it cannot be finished).
std::optional<Journal> decodeJournal(std::string_view text);

// Writes the journal whole (atomic replace, without waiting for the disk). Throws FileError.
void writeJournal(const StatsContext& ctx, const std::string& text);
// The journal of the data folder, when there is one (a damaged one reads as std::nullopt and is deleted).
std::optional<Journal> readJournal(const StatsContext& ctx);
// Deletes the journal: the work is done.
void removeJournal(const StatsContext& ctx);

} // namespace cw::stats
