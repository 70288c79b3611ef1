// Playing a series through the running session: start, results, next game, end and resumption.
#include "stats/series_play.h"

#include "storage/safe_file.h"
#include "storage/settings_store.h"

namespace cw::stats {

SeriesPlayer::SeriesPlayer(std::function<StatsContext()> context, const GameCatalog& games, engine::Session& session,
                           SeriesView& view)
    : m_context(std::move(context)), m_games(games), m_session(session), m_view(view)
{}

std::string SeriesPlayer::gameName(int id) const
{
    auto g = m_games.game(id);
    return g ? g->name : std::to_string(id);
}

std::int64_t SeriesPlayer::scoreSoFar() const { return m_progress ? seriesTotals(*m_progress).score : 0; }

void SeriesPlayer::save()
{
    if (!m_progress)
        return;
    try {
        writeSeriesProgress(m_context(), *m_progress);
    } catch (const storage::FileError& e) {
        // The series goes on in memory; the player knows it would not survive a restart.
        m_view.message(e.what());
    }
}

void SeriesPlayer::drop()
{
    m_progress.reset();
    m_name.clear();
    m_session.setSeries(0, {});
    try {
        deleteSeriesProgress(m_context());
    } catch (const storage::FileError& e) {
        m_view.message(e.what());
    }
}

bool SeriesPlayer::start(int number, bool randomOrder, const std::string& player)
{
    const StatsContext ctx = m_context();
    std::optional<SeriesDefinition> series;
    try {
        series = findSeries(ctx, m_games, number);
    } catch (const storage::FileError& e) {
        m_view.message(e.what());
        return false;
    }
    if (!series || series->games.empty())
        return false;
    for (int id : series->games) {
        if (!m_games.game(id)) {
            m_view.message("The Series \"" + series->name + "\" cannot be played: game " + std::to_string(id) +
                           " is not in this collection of games.");
            return false;
        }
    }
    if (m_progress && !end(true))
        return false;
    if (m_session.flags().dealActive) {
        if (!m_session.confirmQuit())
            return false;
        m_session.endGame();
    }
    m_progress = startSeries(*series, player, randomOrder, pick);
    m_name = series->name;
    try {
        writeSeriesProgress(ctx, *m_progress);
    } catch (const storage::FileError& e) {
        m_view.message(e.what());
        m_progress.reset();
        m_name.clear();
        return false;
    }
    m_session.setSeries(number, m_name);
    playCurrent();
    return m_progress.has_value();
}

void SeriesPlayer::playCurrent()
{
    if (!m_progress)
        return;
    const auto id = m_progress->currentGame();
    if (!id) {
        end(false);
        return;
    }
    const std::string player = m_progress->player;
    if (!m_session.startGame(*id, player, engine::NumberMode::Fresh)) {
        // The game's rules could not be loaded (its message was shown): the series cannot go on.
        end(false);
        return;
    }
    m_view.seriesChanged();
}

void SeriesPlayer::gameEnded(const engine::GameEndReport& report)
{
    if (!m_progress)
        return;
    const auto game = m_games.game(report.gameId);
    const StatsContext ctx = m_context();
    std::string code = ctx.settings ? ctx.settings->get(storage::col::ScoringCode) : std::string();
    if (code.size() != 2)
        code = "01";
    if (!recordSeriesResult(*m_progress, report.gameId, report.won, report.seconds, code, report.score,
                            game ? maximumScore(*game) : -1))
        return;
    save();
    m_view.seriesChanged();
}

void SeriesPlayer::gameWon()
{
    if (!m_progress)
        return;
    m_view.later([this] {
        // Another command may have dealt in the meantime: the series then waits for "Next game".
        if (m_progress && !m_session.flags().dealActive)
            playCurrent();
    });
}

void SeriesPlayer::nextGame()
{
    if (!m_progress)
        return;
    // The game on the table is recorded as lost, which moves the series on by one.
    if (m_session.flags().dealActive)
        m_session.endGame();
    playCurrent();
}

bool SeriesPlayer::end(bool ask)
{
    if (!m_progress)
        return true;
    if (ask && !m_view.confirm(kQuitSeriesQuestion))
        return false;
    if (m_session.flags().dealActive)
        m_session.endGame();
    const SeriesProgress done = *m_progress;
    const std::string name = m_name;
    HiScoreInsertion inserted;
    try {
        inserted = offerSeriesResult(m_context(), done, clock ? clock() : DateTime::now());
    } catch (const storage::FileError& e) {
        m_view.message(e.what());
    }
    drop();
    m_view.seriesChanged();
    if (inserted.rank >= 0)
        m_view.newSeriesHiScore(done.number, inserted.rank, newHiScoreCaption(HiScoreTable::Series, name));
    return true;
}

bool SeriesPlayer::resume(bool heldGameOnTable)
{
    const StatsContext ctx = m_context();
    std::optional<SeriesProgress> p;
    try {
        p = readSeriesProgress(ctx, m_games);
    } catch (const storage::FileError& e) {
        m_view.message(e.what());
        return false;
    }
    if (!p)
        return false;
    std::optional<SeriesDefinition> series;
    try {
        series = findSeries(ctx, m_games, p->number);
    } catch (const storage::FileError&) {
        // The name only: the series in progress carries its own games.
    }
    m_name = series ? series->name : "Series " + std::to_string(p->number);
    m_progress = std::move(p);
    m_session.setSeries(m_progress->number, m_name);
    if (heldGameOnTable && m_session.flags().dealActive)
        m_view.seriesChanged();
    else
        playCurrent();
    return true;
}

} // namespace cw::stats
