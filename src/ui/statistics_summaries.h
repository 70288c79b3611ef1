// The small statistics dialogs: "Sequences statistics" (with the streaks over all games), "Session
// statistics", "Statistics % Won", "Statistics % Average Won" and "Players' statistics".
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "stats/dialog_figures.h"
#include "stats/progression_chart.h"

class QComboBox;
class QLabel;
class QRadioButton;

namespace cw::ui {

class BarChartView;
class C_TPieChart;

// "Sequences statistics": the longest winning and losing streaks of a game and player, the current one,
// and the same over all the player's games (from the progression file).
class SequencesDialog : public QDialog {
    Q_OBJECT
public:
    SequencesDialog(const stats::GameRecord& game, const stats::Streaks& allGames, QWidget* parent = nullptr);
    BarChartView* chart() const { return m_chart; }

private:
    BarChartView* m_chart = nullptr;
};

// "Session statistics": the games won and lost this session (only the current game and player have any).
class SessionDialog : public QDialog {
    Q_OBJECT
public:
    SessionDialog(int sessionWon, int sessionLost, QWidget* parent = nullptr);
    const C_TPieChart* pie() const { return m_pie; }

private:
    C_TPieChart* m_pie = nullptr;
};

// "Statistics % Won" (averageWon false) and "Statistics % Average Won" (true).
class SummaryDialog : public QDialog {
    Q_OBJECT
public:
    SummaryDialog(const stats::ThreeWaySummary& summary, bool averageWon, QWidget* parent = nullptr);
    BarChartView* chart() const { return m_chart; }

private:
    BarChartView* m_chart = nullptr;
};

// "Players' statistics": every player's value for one game, the five best as bars.
class PlayersStatisticsDialog : public QDialog {
    Q_OBJECT
public:
    PlayersStatisticsDialog(const stats::StatsContext& ctx, std::vector<stats::CatalogGame> games, int gameId,
                            std::vector<std::string> players, QWidget* parent = nullptr);
    QComboBox* gameBox() const { return m_games; }
    QRadioButton* measure(stats::PlayersMeasure m) const;
    BarChartView* chart() const { return m_chart; }
    const std::vector<stats::PlayerValue>& values() const { return m_values; }

private:
    void refresh();

    const stats::StatsContext& m_ctx;
    std::vector<stats::CatalogGame> m_gameList;
    std::vector<std::string> m_players;
    QComboBox* m_games = nullptr;
    QRadioButton* m_measures[3] = {};
    BarChartView* m_chart = nullptr;
    std::vector<stats::PlayerValue> m_values;
};

} // namespace cw::ui
