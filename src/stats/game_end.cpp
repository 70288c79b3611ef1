// Recording a finished game in every statistics file, in the fixed order.
#include "stats/game_end.h"

#include "stats/game_log.h"
#include "stats/game_stats.h"
#include "stats/hi_scores.h"
#include "stats/overall_score.h"
#include "stats/progression.h"
#include "stats/stat_files.h"
#include "storage/fixed_width.h"
#include "storage/players.h"
#include "storage/safe_file.h"

namespace cw::stats {

FinishedGame finishedGameFromSettings(const storage::SettingsStore& s, bool won, int playingSeconds,
                                      const DateTime& end) {
    using namespace storage;
    FinishedGame g;
    g.gameId = int(parseInteger(s.get(col::GameId)).value_or(-1));
    g.gameName = s.get(col::GameName);
    g.gameNumber = s.get(col::GameNumber);
    g.player = trim(s.get(col::Player));
    g.won = won;
    g.score = parseInteger(s.get(col::Score)).value_or(0);
    g.scoringCode = s.get(col::ScoringCode);
    if (g.scoringCode.empty()) g.scoringCode = "01";
    g.playingSeconds = playingSeconds;
    g.end = end;
    return g;
}

GameEndResult GameEndRecorder::record(const FinishedGame& game) {
    GameEndResult result;
    for (const std::string& e : ensureStatisticsFiles(m_ctx, game.player)) {
        m_ctx.inform(e);
        result.errors.push_back(e);
    }
    if (m_ctx.statisticsDisabled || !game.eligible) return result;
    // The player's name is part of file names and keys: a name the player check refuses is not recorded.
    if (!storage::isValidPlayerName(game.player) || game.gameId < 0 || game.gameId > 9999) {
        std::string msg = "The game could not be recorded: the player name \"" + game.player + "\" is not valid.";
        m_ctx.inform(msg);
        result.errors.push_back(msg);
        return result;
    }
    result.recorded = true;
    auto guarded = [&](auto&& step) {
        try {
            step();
        } catch (const storage::FileError& e) {
            m_ctx.inform(e.what());
            result.errors.push_back(e.what());
        }
    };
    guarded([&] {
        LogRecord r;
        r.date = game.end.dateText();
        r.time = game.end.timeText(m_ctx.timeSeparator);
        r.seconds = game.playingSeconds;
        r.gameId = game.gameId;
        r.gameName = game.gameName;
        r.player = game.player;
        r.won = game.won;
        r.scoringCode = game.scoringCode;
        r.score = std::to_string(game.score);
        r.gameNumber = game.gameNumber;
        appendGameLogRecord(m_ctx, r);
    });
    guarded([&] { appendProgressionRecord(m_ctx, game.player, game.gameId, game.won, game.end); });
    guarded([&] { updateGameStatistics(m_ctx, game.gameId, game.player, game.won, game.score); });
    if (game.randomNumberDeal)
        guarded([&] { updateSingleGameValues(m_ctx, game.gameId, game.player, false, game.won); });
    guarded([&] {
        HiScoreEntry e;
        e.score = game.score;
        e.seconds = game.playingSeconds;
        e.when = game.end;
        e.player = game.player;
        e.numberField = game.gameNumber;
        e.won = game.won;
        auto ins = insertHiScore(m_ctx, HiScoreTable::Games, game.gameId, e, game.scoringCode,
                                 gameDefaultScores(m_games, game.gameId));
        result.hiScoreRank = ins.rank;
        if (ins.rank >= 0) result.hiScoreCaption = newHiScoreCaption(HiScoreTable::Games, game.gameName);
    });
    return result;
}

}  // namespace cw::stats
