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

namespace {

// Shows every message as usual and keeps a copy for the caller.
class CollectingNotices : public Notices {
public:
    CollectingNotices(Notices* next, std::vector<std::string>& copy) : m_next(next), m_copy(copy) {}
    void information(const std::string& text) override {
        m_copy.push_back(text);
        if (m_next) m_next->information(text);
    }

private:
    Notices* m_next;
    std::vector<std::string>& m_copy;
};

}  // namespace

GameEndResult GameEndRecorder::record(const FinishedGame& game) {
    GameEndResult result;
    CollectingNotices notices(m_ctx.notices, result.errors);
    StatsContext ctx = m_ctx;
    ctx.notices = &notices;
    for (const std::string& e : ensureStatisticsFiles(ctx, game.player)) ctx.inform(e);
    if (ctx.statisticsDisabled || !game.eligible) return result;
    // The player's name is part of file names and keys: a name the player check refuses is not recorded.
    if (!storage::isValidPlayerName(game.player) || game.gameId < 0 || game.gameId > 9999) {
        ctx.inform("The game could not be recorded: the player name \"" + game.player + "\" is not valid.");
        return result;
    }
    result.recorded = true;
    // Each file on its own: a failure is shown (naming the file) and the next file is still written.
    auto guarded = [&](auto&& step) {
        try {
            step();
        } catch (const storage::FileError& e) {
            ctx.inform(e.what());
        }
    };
    guarded([&] {
        LogRecord r;
        r.date = game.end.dateText();
        r.time = game.end.timeText(ctx.timeSeparator);
        r.seconds = game.playingSeconds;
        r.gameId = game.gameId;
        r.gameName = game.gameName;
        r.player = game.player;
        r.won = game.won;
        r.scoringCode = game.scoringCode;
        r.score = std::to_string(game.score);
        r.gameNumber = game.gameNumber;
        appendGameLogRecord(ctx, r);
    });
    guarded([&] { appendProgressionRecord(ctx, game.player, game.gameId, game.won, game.end); });
    guarded([&] { updateGameStatistics(ctx, game.gameId, game.player, game.won, game.score); });
    if (game.randomNumberDeal)
        guarded([&] { updateSingleGameValues(ctx, game.gameId, game.player, false, game.won); });
    guarded([&] {
        HiScoreEntry e;
        e.score = game.score;
        e.seconds = game.playingSeconds;
        e.when = game.end;
        e.player = game.player;
        e.numberField = game.gameNumber;
        e.won = game.won;
        auto ins = insertHiScore(ctx, HiScoreTable::Games, game.gameId, e, game.scoringCode,
                                 gameDefaultScores(m_games, game.gameId));
        result.hiScoreRank = ins.rank;
        if (ins.rank >= 0) result.hiScoreCaption = newHiScoreCaption(HiScoreTable::Games, game.gameName);
    });
    return result;
}

}  // namespace cw::stats
