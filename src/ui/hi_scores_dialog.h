// The "Hi-Scores" dialog: the 20 best results of a game, opened from the menu or for a new score.
#pragma once

#include <QDialog>

#include <functional>
#include <vector>

#include "stats/hi_scores.h"
#include "storage/ini_file.h"

class QComboBox;
class QLabel;
class QMenu;
class QTableWidget;

namespace cw::ui {

struct HiScoresRequest {
    bool newScore = false;         // opened for a new score (else from a menu)
    int selectRow = 0;             // 0-based row to select (the new entry's rank)
    std::string caption;           // the congratulation, shown once instead of the game caption
    int gameId = -1;               // -1: the current game
    std::string scoringCode = "01";
};

class HiScoresDialog : public QDialog {
    Q_OBJECT
public:
    // games: the list of the "&Game:" box; catalog: the default scores of each table. settingsFile
    // (optional) receives "ConfirmEnterHiScores" when the player turns the dialog off.
    HiScoresDialog(const stats::StatsContext& ctx, std::vector<stats::CatalogGame> games,
                   const stats::GameCatalog& catalog, const HiScoresRequest& request,
                   storage::IniFile* settingsFile = nullptr, QWidget* parent = nullptr);

    // Shows the table of a game (index in the game list).
    void showGame(int index);
    QTableWidget* grid() const { return m_grid; }
    QComboBox* gameBox() const { return m_games; }
    QMenu* popupMenu() const { return m_menu; }

    // The pop-up menu's "&Don't show Hi-Scores dialog box again..." (after its information box).
    void turnOffNewScoreDialog();
    // The pop-up menu's "Clear values...": the clearing dialog, then the grid is read again.
    void openClearValues();

    // How "Clear values..." is opened (the window sets it; tests replace it). Default: ClearValuesDialog.
    std::function<void()> clearValuesHandler;
    // The player list of the clearing dialogs.
    std::vector<std::string> players;

private:
    const stats::StatsContext& m_ctx;
    std::vector<stats::CatalogGame> m_gameList;
    const stats::GameCatalog& m_catalog;
    HiScoresRequest m_request;
    storage::IniFile* m_settingsFile;
    std::string m_caption;   // the congratulation, dropped after its first use
    QComboBox* m_games = nullptr;
    QTableWidget* m_grid = nullptr;
    QLabel* m_picture = nullptr;
    QMenu* m_menu = nullptr;
};

// The "Hi-Scores" command: the message while statistics are disabled, else the modal dialog.
void showHiScores(QWidget* parent, const stats::StatsContext& ctx, const std::vector<stats::CatalogGame>& games,
                  const stats::GameCatalog& catalog, const HiScoresRequest& request,
                  storage::IniFile* settingsFile = nullptr);

} // namespace cw::ui
