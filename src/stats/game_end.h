// Recording a finished game: the log line, the progression record, the statistics record, the
// single-game values and the hi-score entry, in this order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stats/game_catalog.h"
#include "stats/stat_context.h"

namespace cw::stats {

// The values of a finished (won or abandoned) game, taken once when it ends.
struct FinishedGame {
    int gameId = 0;                 // 0..9999 (custom games from 8000)
    std::string gameName;
    std::string gameNumber;         // the deal's game number as text (up to 15 characters)
    std::string player;
    bool won = false;
    std::int64_t score = 0;         // final score
    std::string scoringCode = "01";
    int playingSeconds = 0;
    DateTime end;                   // date and time of day the game ended
    bool randomNumberDeal = false;  // the game number was drawn at random by a new game
    bool eligible = true;           // the game counts for statistics (a move was made by the player)
};

// The current game's values from the settings store (game id, name, number, player, score, scoring code);
// the caller sets randomNumberDeal and eligible from the session.
FinishedGame finishedGameFromSettings(const storage::SettingsStore& settings, bool won, int playingSeconds,
                                      const DateTime& end);

// What recording did.
struct GameEndResult {
    bool recorded = false;      // false: statistics disabled, the game not eligible, or refused
    int hiScoreRank = -1;       // 0-based rank in the hi-score table, -1 when it did not make it
    std::string hiScoreCaption; // the congratulation for the "Hi-Scores" dialog (when it made the table)
    std::vector<std::string> errors; // the messages of the recording (file errors name their file)

    // The one box the player sees for a game end: every message, in order ("" when none).
    std::string summary() const;
};

// GameEndRecorder: the one entry point of the session for the end of a game. Each file is written on its
// own: a file that cannot be read or written is reported (naming it) and the other files are still
// recorded, so one damaged file never costs the player the records of the others.
//
// Nothing is lost when the program stops half-way or another copy records at the same time: the
// recording holds the data folder's lock (the other copy waits and then reads what this one wrote),
// writes the game into the journal before its first change and each change into it before making it,
// and deletes the journal at the end. The next recording (or the next start) finishes a journal it
// finds. The messages are collected and shown once, as one box, after the lock is released.
class GameEndRecorder {
public:
    GameEndRecorder(const StatsContext& ctx, const GameCatalog& games) : m_ctx(ctx), m_games(games) {}

    GameEndResult record(const FinishedGame& game);

private:
    void record(StatsContext& ctx, const FinishedGame& game, GameEndResult& result);

    const StatsContext& m_ctx;
    const GameCatalog& m_games;
};

struct PendingGameEnd;
// Finishes a game end the journal holds: its written-down change made (again), the steps after it run.
// Call with the data folder's lock held; the journal is deleted at the end.
void finishGameEnd(const StatsContext& ctx, const PendingGameEnd& pending);

}  // namespace cw::stats
