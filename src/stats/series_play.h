// Playing a series: starting it, recording each game's result as it ends, moving on, ending it with its
// hi-score, and taking it up again after a restart. Drives the running session; the window shows it.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "engine/session.h"
#include "stats/series.h"

namespace cw::stats {

// What the window does for a series (tests answer and count).
class SeriesView {
public:
    virtual ~SeriesView() = default;
    // Confirmation box with OK and Cancel ("Quit this Series?"); true on OK.
    virtual bool confirm(const std::string& text) = 0;
    // Information box.
    virtual void message(const std::string& text) = 0;
    // The series started, moved on or ended: the series window and the menu follow.
    virtual void seriesChanged() {}
    // The series result made the series hi-scores (0-based rank).
    virtual void newSeriesHiScore(int number, int rank, const std::string& caption) {}
    // Runs fn once the end of the running game has returned (the window posts it to its event loop).
    virtual void later(std::function<void()> fn) { fn(); }
};

class SeriesPlayer {
public:
    // context: the statistics context as the settings describe it now.
    SeriesPlayer(std::function<StatsContext()> context, const GameCatalog& games, engine::Session& session,
                 SeriesView& view);

    // StartSeries for a player: ends a series in progress (asking first), asks to quit the running game
    // and records it, writes Series_e01.dat and deals the first game with a fresh number. False when the
    // player kept what was running or the series cannot be played (a message says why).
    bool start(int number, bool randomOrder, const std::string& player);

    // ---- The end of a game (the window's host forwards these) ----
    // Every end of a game while the series is in progress: RecordSeriesResult for the series' game.
    void gameEnded(const engine::GameEndReport& report);
    // A series game was won: the series moves on to its next game (or ends after the last one).
    void gameWon();

    // NextSeriesGame ("&Next game" and the series dialog): the running game is ended (recorded as lost)
    // and the next game dealt; after the last game the series ends.
    void nextGame();
    // EndSeries: asks "Quit this Series?" when ask is set (false when refused), ends the running game,
    // offers the totals to the series hi-scores and deletes Series_e01.dat.
    bool end(bool ask);
    // At start-up: takes up the series of Series_e01.dat. With the held game on the table the series just
    // goes on; otherwise its current game is dealt (or, when every game is done, the series ends). A
    // damaged file is dropped with its message. True when a series was taken up.
    bool resume(bool heldGameOnTable);

    bool inProgress() const { return m_progress.has_value(); }
    const std::optional<SeriesProgress>& progress() const { return m_progress; }
    const std::string& name() const { return m_name; }
    // "&Next game" is offered while a game after the current one remains.
    bool canGoToNextGame() const { return m_progress && m_progress->played < m_progress->numGames(); }
    // The sum of the finished games' scores (the series window adds the running game's score).
    std::int64_t scoreSoFar() const;

    // Draws the random order (0..n-1); empty: a random engine.
    std::function<int(int n)> pick;
    // The date and time of the series result; empty: now.
    std::function<DateTime()> clock;

private:
    // Deals the game at Played, or ends the series when every game is done.
    void playCurrent();
    void save();
    void drop();
    std::string gameName(int id) const;

    std::function<StatsContext()> m_context;
    const GameCatalog& m_games;
    engine::Session& m_session;
    SeriesView& m_view;
    std::optional<SeriesProgress> m_progress;
    std::string m_name;
};

} // namespace cw::stats
