// "Log statistics": the recorded games of a player and a game, newest first, with replaying a logged deal.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "stats/stat_context.h"
#include "ui/play_request.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace cw::ui {

class StatsTable;

class LogStatisticsDialog : public QDialog {
    Q_OBJECT
public:
    // players: the player list; gameNames: every game name. player and game ("" for all) are selected when
    // they match an entry exactly.
    LogStatisticsDialog(const stats::StatsContext& ctx, const std::vector<std::string>& players,
                        const std::vector<std::string>& gameNames, const std::string& player, const std::string& game,
                        QWidget* parent = nullptr);

    // Asked before a logged deal is played again (confirm quit and end of the running game).
    PlayAgreement agreeToPlay;
    // The id of a game by its name (-1 when unknown).
    std::function<int(const std::string& name)> gameIdByName;
    // "Clear values..." of the pop-up menu (the list is read again afterwards).
    std::function<void()> clearValues;

    // Reads the log for the boxes' choice.
    void reload();
    // "Play the &selected game".
    void playSelected();
    // The deal to play once the dialog has closed.
    const std::optional<PlayRequest>& started() const { return m_started; }

    QComboBox* playerBox() const { return m_players; }
    QComboBox* gameBox() const { return m_games; }
    QComboBox* browseBox() const { return m_browse; }
    StatsTable* table() const { return m_table; }
    QPushButton* playButton() const { return m_play; }
    QString recordsShown() const;

private:
    void updatePlayButton();

    const stats::StatsContext& m_ctx;
    QComboBox* m_players = nullptr;
    QComboBox* m_games = nullptr;
    QLabel* m_browseLabel = nullptr;
    QComboBox* m_browse = nullptr;
    StatsTable* m_table = nullptr;
    QLabel* m_count = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_play = nullptr;
    std::optional<PlayRequest> m_started;
};

} // namespace cw::ui
