// The series in the game window: the "&Series" menu, the series window with its running total, and the
// series' part at the end of each game (through the window's host).
#pragma once

#include "engine/game_object.h"
#include "engine/host.h"

#include <QObject>
#include <QWidget>

#include <memory>

#include "stats/series_play.h"

class QAction;
class QLabel;

namespace cw::ui {

class TfrmMain;

// The series window: "Series: " + name, the count of games, the previous, current and next game, the
// previous game's result and the series' total with the running game's score.
class SeriesWindow : public QWidget {
    Q_OBJECT
public:
    explicit SeriesWindow(QWidget* parent);
    void show(const stats::SeriesProgress& p, const std::string& name, const stats::GameCatalog& games,
              char timeSeparator);
    // The total-score panel: the series' total so far plus the running game's score.
    void showScore(std::int64_t seriesScore, int currentScore);
    QString valueText(const QString& name) const;

private:
    QLabel* value(const char* name);
};

class SeriesCommands : public QObject, public stats::SeriesView, public stats::Notices {
    Q_OBJECT
public:
    SeriesCommands(TfrmMain& window, engine::TMainGame& game);
    ~SeriesCommands() override;

    // The menu commands.
    void showManager();
    void nextGame();
    void toggleDisplay();
    void showSituation();
    void showSeriesHiScores();
    void quitSeries();

    // The host's calls at the end of a game and from the series question of confirm quit.
    engine::SeriesAnswer askInProgress(const std::string& name);
    void gameEnded(const engine::GameEndReport& report);
    void gameWon(const engine::GameEndReport& report);
    void scoreShown(int score);

    // At the first activation: takes up the series of the last run (heldGame: the held game is on the
    // table). True when a series goes on.
    bool resumeAtStartup(bool heldGame);

    stats::SeriesPlayer& player();
    SeriesWindow* seriesWindow() const { return m_seriesWindow; }

    // ---- SeriesView ----
    bool confirm(const std::string& text) override;
    void message(const std::string& text) override;
    void seriesChanged() override;
    void newSeriesHiScore(int number, int rank, const std::string& caption) override;
    void later(std::function<void()> fn) override;
    // ---- Notices: the series files' messages ----
    void information(const std::string& text) override { message(text); }

private:
    void addMenus();
    void updateCommands();
    const stats::GameCatalog& catalog();
    stats::StatsContext context();
    std::string preference(const char* key, const char* def) const;
    void setPreference(const char* section, const char* key, const std::string& value);

    TfrmMain& m_window;
    engine::TMainGame& m_game;
    std::unique_ptr<stats::SeriesPlayer> m_player;
    SeriesWindow* m_seriesWindow = nullptr;
    QAction* m_next = nullptr;
    QAction* m_display = nullptr;
    QAction* m_situation = nullptr;
    QAction* m_quit = nullptr;
    bool m_displayOff = false; // the player closed the series window ("Series &Display")
};

// Creates the commands (a child of the window) and adds the "&Series" menu.
SeriesCommands* installSeriesCommands(TfrmMain& window, engine::TMainGame& game);

} // namespace cw::ui
