// The session's end-of-game records written into the statistics files through the game-end recorder.
#include "stats/session_recorder.h"

namespace cw::stats {

FinishedGame finishedGameOf(const engine::GameEndRecord& game) {
    FinishedGame f;
    f.gameId = game.gameId;
    f.gameName = game.gameName;
    f.gameNumber = game.gameNumber;
    f.player = game.player;
    f.won = game.won;
    f.score = game.score;
    f.scoringCode = game.scoringCode.empty() ? "01" : game.scoringCode;
    f.playingSeconds = game.seconds;
    f.end = DateTime{game.end.year, game.end.month, game.end.day, game.end.hour, game.end.minute, game.end.second};
    f.randomNumberDeal = game.randomNumberDeal;
    f.eligible = game.eligible;
    return f;
}

engine::GameEndOutcome SessionRecorder::recordGameEnd(const engine::GameEndRecord& game) {
    m_last = m_recorder.record(finishedGameOf(game));
    return engine::GameEndOutcome{m_last.recorded, m_last.hiScoreRank, m_last.hiScoreCaption};
}

}  // namespace cw::stats
