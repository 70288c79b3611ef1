// The "Game won" dialog: the player's won/lost totals of the game with the pie, and what to play next.
#pragma once

#include <QDialog>

#include <functional>
#include <map>
#include <set>

#include "stats/game_stats.h"

class QLabel;
class QPushButton;
class QStackedWidget;
class QGroupBox;

namespace cw::ui {

class C_TPieChart;

// The buttons of the dialog; the dialog's result is the one chosen (Close also for the window's close box).
enum class GameWonChoice { Close, New, Open, Restart, Random, Select, Stats };

class GameWonDialog : public QDialog {
    Q_OBJECT
public:
    // choices: the buttons to show besides "Close" (features not available are left out). Stats is shown
    // only when a handler is set with setStatsHandler.
    GameWonDialog(const stats::StatsContext& ctx, int gameId, const std::string& gameName,
                  const std::string& player, std::set<GameWonChoice> choices, QWidget* parent = nullptr);

    // "Stats" opens the statistics dialog through this handler; the values are read again afterwards.
    void setStatsHandler(std::function<void()> handler);
    GameWonChoice choice() const { return m_choice; }
    // Reads the values again (after the statistics dialog).
    void refresh();

    QPushButton* button(GameWonChoice c) const;
    const C_TPieChart* pie() const { return m_pie; }
    QString valueText(const QString& name) const;
    bool showsValues() const;

private:
    void choose(GameWonChoice c);

    const stats::StatsContext& m_ctx;
    int m_gameId;
    std::string m_gameName, m_player;
    GameWonChoice m_choice = GameWonChoice::Close;
    std::function<void()> m_statsHandler;
    QStackedWidget* m_pages = nullptr;
    QGroupBox* m_group = nullptr;
    C_TPieChart* m_pie = nullptr;
    std::map<GameWonChoice, QPushButton*> m_buttons;
};

} // namespace cw::ui
