// The single-game values: a player's won count per game. (No publishing code: it was for a web
// site the product does not have.)
#pragma once

#include <QDialog>

#include "stats/overall_score.h"

class QComboBox;
class QTableWidget;

namespace cw::ui {

class SingleGameDialog : public QDialog {
    Q_OBJECT
public:
    SingleGameDialog(const stats::StatsContext& ctx, const stats::GameCatalog& games,
                     const std::vector<std::string>& players, QWidget* parent = nullptr);

    QComboBox* playerBox() const { return m_players; }
    QTableWidget* grid() const { return m_grid; }

private:
    void fillGames();

    const stats::StatsContext& m_ctx;
    const stats::GameCatalog& m_games;
    std::vector<int> m_rowGames;
    QComboBox* m_players = nullptr;
    QTableWidget* m_grid = nullptr;
};

// The command: the message while statistics are disabled, else the modal dialog.
void showSingleGameValues(QWidget* parent, const stats::StatsContext& ctx, const stats::GameCatalog& games,
                          const std::vector<std::string>& players);

} // namespace cw::ui
