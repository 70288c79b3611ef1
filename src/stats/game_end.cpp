// Recording a finished game in every statistics file, in the fixed order.
#include "stats/game_end.h"

#include <optional>

#include "stats/game_log.h"
#include "stats/game_stats.h"
#include "stats/hi_scores.h"
#include "stats/journal.h"
#include "stats/overall_score.h"
#include "stats/pending_work.h"
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

// Keeps the messages for the one box at the end (a box shown while the lock is held would hold up the
// other copy for as long as the player leaves it open).
class CollectingNotices : public Notices {
public:
    explicit CollectingNotices(std::vector<std::string>& copy) : m_copy(copy) {}
    void information(const std::string& text) override { m_copy.push_back(text); }

private:
    std::vector<std::string>& m_copy;
};

// The steps of a game end in their fixed order; each makes at most one change of one file.
enum Step : int {
    kLog = 1,
    kProgression,
    kStatistics,
    kSingleGame,
    kHiScore,
    kOverallScore,
    kLastStep = kOverallScore
};

// Writes the journal before each change: the game, the steps done and the change about to be made.
class JournalWriter : public ChangeRecorder {
public:
    JournalWriter(const StatsContext& ctx, PendingGameEnd pending) : m_ctx(ctx), m_pending(std::move(pending)) {}
    // The game, before anything is changed.
    void start()
    {
        m_pending.change.reset();
        write();
    }
    void beginStep(int step) { m_pending.done = step - 1; }
    void beforeChange(const FileChange& change) override
    {
        m_pending.change = change;
        write();
    }

private:
    void write()
    {
        // A journal that cannot be written (a full disk) must not stop the records themselves.
        try {
            writeJournal(m_ctx, encodeJournal(m_pending));
        } catch (const storage::FileError&) {
        }
    }
    const StatsContext& m_ctx;
    PendingGameEnd m_pending;
};

void runStep(const StatsContext& ctx, int step, const FinishedGame& game, const std::vector<std::int64_t>& defaults,
             GameEndResult& result)
{
    switch (step) {
    case kLog: {
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
        break;
    }
    case kProgression: appendProgressionRecord(ctx, game.player, game.gameId, game.won, game.end); break;
    case kStatistics: updateGameStatistics(ctx, game.gameId, game.player, game.won, game.score); break;
    case kSingleGame:
        if (game.randomNumberDeal)
            updateSingleGameValues(ctx, game.gameId, game.player, false, game.won);
        break;
    case kHiScore: {
        HiScoreEntry e;
        e.score = game.score;
        e.seconds = game.playingSeconds;
        e.when = game.end;
        e.player = game.player;
        e.numberField = game.gameNumber;
        e.won = game.won;
        auto ins = insertHiScore(
            ctx, HiScoreTable::Games, game.gameId, e, game.scoringCode, [&defaults] { return defaults; }, false);
        result.hiScoreRank = ins.rank;
        if (ins.rank >= 0)
            result.hiScoreCaption = newHiScoreCaption(HiScoreTable::Games, game.gameName);
        break;
    }
    case kOverallScore:
        updateOverallScore(ctx, game.gameId, storage::trim(game.player), game.score, game.playingSeconds, false);
        break;
    }
}

// Runs the steps from `from` on. Each file on its own: a failure is shown (naming the file) and the next
// step still runs.
void runSteps(const StatsContext& ctx, JournalWriter& journal, const FinishedGame& game,
              const std::vector<std::int64_t>& defaults, int from, GameEndResult& result)
{
    for (int step = from; step <= kLastStep; ++step) {
        journal.beginStep(step);
        try {
            runStep(ctx, step, game, defaults, result);
        } catch (const storage::FileError& e) {
            ctx.inform(e.what());
        }
    }
}

}  // namespace

std::string GameEndResult::summary() const
{
    std::string text;
    for (const std::string& e : errors)
        text += (text.empty() ? "" : "\n\n") + e;
    return text;
}

void finishGameEnd(const StatsContext& ctx, const PendingGameEnd& pending)
{
    const FinishedGame& g = pending.game;
    if (!storage::isValidPlayerName(g.player) || g.gameId < 0 || g.gameId > 9999) {
        removeJournal(ctx);  // no game this program would have recorded
        return;
    }
    StatsContext quiet = ctx;
    JournalWriter journal(quiet, pending);
    quiet.changes = &journal;
    for (const std::string& e : ensureStatisticsFiles(quiet, pending.game.player))
        quiet.inform(e);
    GameEndResult ignored;
    int from = pending.done + 1;
    if (pending.change) {
        // Made before the program stopped, or not: made now, the file is the same either way.
        try {
            applyChange(quiet, *pending.change);
        } catch (const storage::FileError& e) {
            quiet.inform(e.what());
        }
        from = pending.done + 2;
    }
    runSteps(quiet, journal, pending.game, pending.defaultScores, from, ignored);
    removeJournal(quiet);
}

GameEndResult GameEndRecorder::record(const FinishedGame& game) {
    GameEndResult result;
    CollectingNotices notices(result.errors);
    StatsContext ctx = m_ctx;
    ctx.notices = &notices;
    {
        std::optional<StatsUpdate> update;
        try {
            update.emplace(ctx); // the lock; first finishes what a stopped copy left
        } catch (const storage::FileError& e) {
            ctx.inform(e.what());
        }
        if (update)
            record(ctx, game, result);
    }
    if (!result.errors.empty())
        m_ctx.inform(result.summary());
    return result;
}

void GameEndRecorder::record(StatsContext& ctx, const FinishedGame& game, GameEndResult& result)
{
    for (const std::string& e : ensureStatisticsFiles(ctx, game.player)) ctx.inform(e);
    if (ctx.statisticsDisabled || !game.eligible)
        return;
    // The player's name is part of file names and keys: a name the player check refuses is not recorded.
    if (!storage::isValidPlayerName(game.player) || game.gameId < 0 || game.gameId > 9999) {
        ctx.inform("The game could not be recorded: the player name \"" + game.player + "\" is not valid.");
        return;
    }
    result.recorded = true;
    PendingGameEnd pending;
    pending.game = game;
    pending.defaultScores = gameDefaultScores(m_games, game.gameId)();
    const std::vector<std::int64_t> defaults = pending.defaultScores;
    JournalWriter journal(ctx, std::move(pending));
    ctx.changes = &journal;
    journal.start();
    runSteps(ctx, journal, game, defaults, kLog, result);
    ctx.changes = nullptr;
    try {
        removeJournal(ctx);
    } catch (const storage::FileError& e) {
        ctx.inform(e.what());
    }
}

}  // namespace cw::stats
