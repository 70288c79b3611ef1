// The "Game information" dialog: the current game's won/lost counts and best results, for the player and for all.
#pragma once

#include <QDialog>

#include "stats/dialog_values.h"

class QLabel;

namespace cw::ui {

// While statistics are disabled: shows the message and returns true (the caller opens nothing).
bool refuseWhenStatisticsDisabled(QWidget* parent, const stats::StatsContext& ctx);

class GameInfoDialog : public QDialog {
    Q_OBJECT
public:
    GameInfoDialog(const stats::GameInformation& info, QWidget* parent = nullptr);

    // The shown text of a named value label ("currentWon", "globalBestPlayer", "chance", ...), for tests.
    QString valueText(const QString& name) const;
};

// What the dialog needs besides the statistics context.
struct GameInfoRequest {
    int gameId = 0;
    std::string gameName;
    std::string player;
    std::vector<std::string> players;
    std::string scoringCode = "01";
    stats::DefaultScores defaults;
    int chanceX = 0, chanceY = 0;  // rule parameters 501 and 502
    int chanceUndecided = 0;       // rule parameter 489
};

// The "Game information" command: the message while statistics are disabled, else the modal dialog.
void showGameInformation(QWidget* parent, const stats::StatsContext& ctx, const GameInfoRequest& request);

} // namespace cw::ui
