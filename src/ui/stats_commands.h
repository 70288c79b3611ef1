// The statistics commands of the game window: menu items, the new hi-score and "Game won" at the end of a game.
#pragma once

#include "engine/game_object.h"
#include "engine/host.h"

#include <QObject>

#include <functional>
#include <memory>

#include "stats/game_catalog.h"
#include "stats/stat_context.h"

class QMenu;

namespace cw::ui {

class TfrmMain;

class StatsCommands : public QObject {
    Q_OBJECT
public:
    StatsCommands(TfrmMain& window, engine::TMainGame& game);

    // The menu commands.
    void showHiScores();
    void showGameInformation();
    // The same dialog for any game and player (the chooser's "Statistics" button), over `parent`.
    void showGameInformationFor(int gameId, const std::string& player, QWidget* parent);
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

private:
    void addMenus();
    const stats::GameCatalog& catalog();
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
