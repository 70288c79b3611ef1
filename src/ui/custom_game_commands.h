// The custom games in the game window: the Rules Wizard command, deleting a custom game with all it owns, its rules help.
#pragma once

#include "engine/game_object.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

#include "ui/rules_viewer.h"

namespace cw::ui {

class PictureLibrary;
class TfrmMain;
class TfrmWizardRules;

class CustomGameCommands : public QObject {
    Q_OBJECT
public:
    CustomGameCommands(TfrmMain& window, engine::TMainGame& game, const PictureLibrary& library);

    // ShowRulesWizard: the wizard, modal, on the current game. A saved game is listed at once and,
    // after the question when a deal is in progress, started.
    void showRulesWizard();
    // The wizard while it is open (tests drive it), else nullptr.
    TfrmWizardRules* wizard() const;

    // DeleteCustomGame: after the confirmation, the game's record, favorites, autoplay memory,
    // statistics, hi-scores, last-played entry, measured chance and comments file go. Origin 1 is
    // the chooser, 2 the wizard. True when the game was deleted.
    bool deleteCustomGame(int id, int origin);

    // The records of the custom games file that were left out at start-up: one message naming the
    // file and each record (nothing when there are none).
    void reportSkippedRecords();

private:
    void addMenu();
    // The lists that show custom games are built again (chooser, FastSearch, favorites menu).
    void customGamesChanged();

    TfrmMain& m_window;
    engine::TMainGame& m_game;
    const PictureLibrary& m_library;
    QPointer<TfrmWizardRules> m_wizard;
};

// Adds the commands to the window's menus (once).
CustomGameCommands* installCustomGameCommands(TfrmMain& window, engine::TMainGame& game, const PictureLibrary& library);

// The rules help of custom game `id`: what it comes from, the base game's rules a click away, and
// its rules beside the base game's, one by one (`piles`: what the piles of the game on the table do).
QString customGameRulesPage(const engine::TMainGame& game, int id, const std::vector<PileDescription>& piles);
// Shows that page in `viewer`; its link shows the base game's rules there.
void showCustomGameRules(RulesViewer& viewer, const engine::TMainGame& game, int id,
                         const std::vector<PileDescription>& piles = {});

} // namespace cw::ui
