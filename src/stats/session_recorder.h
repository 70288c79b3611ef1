// The session's end-of-game records written into the statistics files through the game-end recorder.
#pragma once

#include "engine/session.h"
#include "stats/game_end.h"

namespace cw::stats {

// Converts the session's record of a finished game and hands it to GameEndRecorder, which
// writes the game log line, the progression record, the statistics record, the single-game
// values and the hi-score entry in this order.
class SessionRecorder : public engine::GameEndSink {
public:
    SessionRecorder(const StatsContext& ctx, const GameCatalog& games) : m_recorder(ctx, games) {}

    engine::GameEndOutcome recordGameEnd(const engine::GameEndRecord& game) override;

    // What the last recording did (file errors included), for the window's messages.
    const GameEndResult& lastResult() const { return m_last; }

private:
    GameEndRecorder m_recorder;
    GameEndResult m_last;
};

// The statistics' form of a finished game.
FinishedGame finishedGameOf(const engine::GameEndRecord& game);

}  // namespace cw::stats
