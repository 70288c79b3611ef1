// The window's ways to reach a game: "&Open a game...", the favorites menu, random games, "Select a game number".
#pragma once

#include "engine/session.h"
#include "engine/game_object.h"
#include "engine/random.h"

#include <QObject>
#include <QPointer>

#include <functional>

#include "ui/fast_search.h"
#include "ui/open_game_dialog.h"
#include "ui/rules_viewer.h"

class QMenu;

namespace cw::ui {

class PictureLibrary;
class TfrmMain;

class ChooserCommands : public QObject {
    Q_OBJECT

public:
    ChooserCommands(TfrmMain& window, engine::TMainGame& game, const PictureLibrary& library);

    // OpenGameDialog: the chooser, modal; a game chosen with OK is started with a fresh number.
    // Returns true when a game was started. playerSwitched: another player has just been made
    // current and the running deal ended for them; cancelled, the chooser leaves the current game
    // dealt afresh for the new player rather than the old deal lying dead on the table.
    bool openGameDialog(bool playerSwitched = false);
    TfrmOpenGame* dialog();
    // The chooser when it has been made (nullptr before its first opening).
    TfrmOpenGame* existingDialog() const { return m_dialog; }
    // PlayRandomGame: 1 favorites, 2 all games, n <= 0 the game type -n.
    void playRandomGame(int source);
    // BuildFavoritesMenu: the fixed commands, then the favorites with their folders.
    void buildFavoritesMenu();
    // OrganizeFavorites, then the menu, the chooser's favorites view and FastSearch refreshed.
    void organizeFavorites();
    // AddCurrentGameToFavorites: the "Add Favorite" dialog.
    void addCurrentGameToFavorites();
    // SelectGameNumberDialog, showing game `gameId` (-1: the current game; the chooser passes the
    // game selected in it).
    void selectGameNumber(int gameId = -1);
    // The rules of a game chosen in the chooser (the window's own viewer for the game on the table).
    void showRules(int id);
    RulesViewer* rulesViewer() const { return m_rulesViewer; }
    // The chooser's "Open a saved game...": the open dialog in "Dir_Save", then the file's game.
    void openSavedGame();
    // Gives the file to open instead of the open dialog when set (tests).
    std::function<QString()> savedGameFile;
    // A new deal is on the table: the game joins the last played games, its number the history.
    void newDealStarted();
    // ShowFastSearch and RefreshFastSearch (the window made anew at its saved place).
    void showFastSearch();
    void refreshFastSearch();
    FastSearchWindow* fastSearch() const { return m_fastSearch; }
    // Starts a game chosen by the player (confirm quit and the rest happen in the session).
    bool startGame(int id, bool startupGame);

private:
    void addMenus();
    // The icon variant of each game for the current player: the result marks when the chooser's
    // "Show won and lost" is saved ticked (the statistics read once per call), else plain.
    std::function<GameMark(int id)> currentMarks() const;

    TfrmMain& m_window;
    engine::TMainGame& m_game;
    const PictureLibrary& m_library;
    QPointer<TfrmOpenGame> m_dialog;
    QPointer<FastSearchWindow> m_fastSearch;
    QPointer<RulesViewer> m_rulesViewer;
    QMenu* m_favorites = nullptr;
    int m_fixedFavoriteItems = 0;
    std::string m_playerBeforeDialog;  // the current player when the chooser opened
    bool m_playerSwitched = false;     // the Players dialog made another player current meanwhile
    std::function<void()> m_aside;     // the command the chooser closed for, run by openGameDialog
    engine::Random m_random;
};

// Adds the commands to the window's menus (once, after the window made its own).
ChooserCommands* installChooserCommands(TfrmMain& window, engine::TMainGame& game, const PictureLibrary& library);

} // namespace cw::ui
