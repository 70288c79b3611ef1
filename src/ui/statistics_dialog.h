// The "Statistics" dialog: page "Game" (one game), page "Total" (all games) and page "List" (every game in
// a sortable list), with the progression charts and the buttons to the other statistics dialogs.
#pragma once

#include <QDialog>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "stats/dialog_figures.h"
#include "stats/progression_chart.h"
#include "storage/ini_file.h"
#include "ui/play_request.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace cw::ui {

class BarChartView;
class C_TPieChart;
class ProgressionChartView;
class StatsTable;

// What the dialog shows and where its buttons lead.
struct StatisticsSetup {
    int gameId = -1;                             // the game selected at first
    std::string player;                          // the player selected at first
    std::vector<std::string> players;            // the player list
    std::vector<stats::CatalogGame> gamesByName; // every game, sorted by name (custom games too)
    std::vector<stats::CatalogGame> builtIn;     // the built-in games in list order
    storage::IniFile* settingsFile = nullptr;    // "Show_Stat_Progression"
    PlayAgreement agreeToPlay;                   // before a game is started from the dialog
    std::function<void(int gameId)> showHiScores;
    std::function<void()> clearValues;
};

class StatisticsDialog : public QDialog {
    Q_OBJECT
public:
    StatisticsDialog(const stats::StatsContext& ctx, StatisticsSetup setup, QWidget* parent = nullptr);
    ~StatisticsDialog() override;

    // The game to start once the dialog has closed (from the list or the log).
    const std::optional<PlayRequest>& started() const { return m_started; }

    QTabWidget* pages() const { return m_pages; }
    QComboBox* playerBox() const { return m_players; }
    QComboBox* gameBox() const { return m_games; }
    QCheckBox* progressionBox() const { return m_showProgression; }
    QComboBox* listFilter() const { return m_filter; }
    StatsTable* listTable() const { return m_list; }
    ProgressionChartView* gameChart() const { return m_gameChart; }
    ProgressionChartView* totalChart() const { return m_totalChart; }
    const C_TPieChart* gamePie() const { return m_gamePie; }
    const C_TPieChart* totalPie() const { return m_totalPie; }
    // The text of a named value label ("lblWon", "lblTotalYours", ...).
    QString valueText(const QString& name) const;
    QLabel* label(const QString& name) const;

    // The buttons' dialogs (public for the tests: each opens its modal dialog).
    void openZoom(stats::ProgressionScope scope);
    void openSequences();
    void openSession();
    void openLog(bool allPlayersAndGames);
    void openPlayers();
    void openPercentWon(bool average);
    void playListed();

    // The progression file of the selected player (read once per player).
    const std::vector<stats::ProgressionRecord>& progression();

private:
    QWidget* buildGamePage();
    QWidget* buildTotalPage();
    QWidget* buildListPage();
    void refreshGame();
    void refreshTotal();
    void refreshList();
    void playerChanged();
    void pageShown(int index);
    void progressionToggled(bool on);
    int selectedGameId() const;
    std::string selectedPlayer() const;
    const std::map<int, stats::GameRecord>& records();
    void finish(const PlayRequest& r);

    const stats::StatsContext& m_ctx;
    StatisticsSetup m_setup;
    std::optional<PlayRequest> m_started;
    std::optional<std::map<int, stats::GameRecord>> m_records;
    std::optional<std::vector<stats::ProgressionRecord>> m_progression;
    bool m_totalFresh = false, m_listFresh = false;

    QComboBox* m_players = nullptr;
    QComboBox* m_games = nullptr;
    QCheckBox* m_showProgression = nullptr;
    QTabWidget* m_pages = nullptr;
    // Game page
    C_TPieChart* m_gamePie = nullptr;
    BarChartView* m_gameBars = nullptr;
    QGroupBox* m_gameProgressionGroup = nullptr;
    ProgressionChartView* m_gameChart = nullptr;
    QPushButton* m_gameZoom = nullptr;
    // Total page
    C_TPieChart* m_totalPie = nullptr;
    BarChartView* m_totalBars = nullptr;
    QGroupBox* m_totalProgressionGroup = nullptr;
    ProgressionChartView* m_totalChart = nullptr;
    QPushButton* m_totalZoom = nullptr;
    // List page
    QComboBox* m_filter = nullptr;
    StatsTable* m_list = nullptr;
    std::vector<stats::ListRow> m_listRows;
    QPushButton* m_play = nullptr;
};

} // namespace cw::ui
