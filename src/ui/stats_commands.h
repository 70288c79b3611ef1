// The statistics commands of the game window: menu items, the new hi-score and "Game won" at the end of a game.
#pragma once

#include "engine/game_object.h"
#include "engine/host.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

#include "stats/game_catalog.h"
#include "stats/stat_context.h"
#include "ui/play_request.h"

class QMenu;

namespace cw::ui {

class TfrmMain;

class StatsCommands : public QObject {
    Q_OBJECT
public:
    StatsCommands(TfrmMain& window, engine::TMainGame& game);

    // The menu commands.
    // "&Game statistics..." (F4): the "Statistics" dialog for the current game and player; a game asked
    // for there is started once it has closed.
    void showGameStatistics();
    // "&Log statistics...": the log of all players and games.
    void showLogStatistics();
    void showHiScores();
    void showGameInformation();
    // The same dialog for any game and player (the chooser's "Statistics" button), over `parent`.
    void showGameInformationFor(int gameId, const std::string& player, QWidget* parent);
    // The "Statistics" dialog for any game and player over parent (the chooser's "Statistics" button);
    // returns the game it asked to play (the running game is then ended), which the caller starts with
    // startRequested once its own dialogs have closed. agreement replaces the usual one (confirm quit
    // and end of the running game) when given.
    std::optional<PlayRequest> showStatisticsFor(int gameId, const std::string& player, QWidget* parent,
                                                 PlayAgreement agreement = {});
    // The "Log statistics" dialog over parent ("" for all players or all games), as above.
    std::optional<PlayRequest> showLogFor(const std::string& player, const std::string& game, QWidget* parent,
                                          PlayAgreement agreement = {});
    // Confirm quit and the end of the running game before a dialog closes for a game to play.
    bool agreeToPlay(const PlayRequest& request);
    // Starts a game a dialog asked for: a logged deal again (its number kept) or a fresh deal.
    void startRequested(const PlayRequest& request);
    void showPlayers();
    // The "Players" dialog over `parent`; true when another player became current.
    bool runPlayersDialog(QWidget* parent);
    void showClearValues();
    void showOverallScore();
    void showSingleGame();

    // End of a game (after its records): the "Hi-Scores" dialog when the result made the table.
    void gameEnded(const engine::GameEndReport& report);
    // A won game: the "Game won" dialog; its choice is carried out once the end of game has run.
    void gameWon(const engine::GameEndReport& report);

    // The context of the statistics files as the window's settings describe it now.
    stats::StatsContext context() const;
    // The games with their rule parameters for the statistics (read once per run, when first needed).
    const stats::GameCatalog& catalog();

private:
    void addMenus();
    std::vector<stats::CatalogGame> gameList();
    std::vector<std::string> players() const;

    TfrmMain& m_window;
    engine::TMainGame& m_game;
    std::unique_ptr<stats::GameCatalog> m_catalog;
};

// When set, the end-of-game dialogs ("Game won" and the new hi-score) are not shown: the hook gets the
// report and answers the "Game won" choice (tests; a modal dialog would wait for a click).
enum class GameWonChoice;
using EndOfGameDialogHook = std::function<GameWonChoice(const engine::GameEndReport& report, bool newHiScore)>;
void setEndOfGameDialogHook(EndOfGameDialogHook hook);

// Creates the commands (a child of the window) and adds their menu items.
StatsCommands* installStatsCommands(TfrmMain& window, engine::TMainGame& game);

} // namespace cw::ui
