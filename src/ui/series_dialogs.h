// The series dialogs: "Series manager", the series editor, "Series situation", "Series Hi-Scores" and the
// "Series in progress" question of an unfinished series game.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/host.h"
#include "stats/series.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace cw::ui {

class StatsTable;

// "Series manager": the predefined and the player's series, their games, the player and the order.
class SeriesManagerDialog : public QDialog {
    Q_OBJECT
public:
    SeriesManagerDialog(const stats::StatsContext& ctx, const stats::GameCatalog& games,
                        const std::vector<std::string>& players, const std::string& player, bool randomOrder,
                        int selectedSeries, QWidget* parent = nullptr);

    // "&Play": starts the selected series (false keeps the manager open: the player kept the running game).
    std::function<bool(int number, bool randomOrder, const std::string& player)> play;
    // The series' statistics button: the series hi-scores of the selected series.
    std::function<void(int number)> showHiScores;

    void selectSeries(int number);
    int selectedSeries() const; // 0 when none
    bool randomOrder() const;
    QTreeWidget* tree() const { return m_tree; }
    QListWidget* gamesList() const { return m_gamesList; }
    QComboBox* playerBox() const { return m_players; }
    QCheckBox* randomBox() const { return m_random; }
    QPushButton* button(const QString& name) const;

    // The buttons (public for tests).
    void playSelected();
    void newSeries();
    void editSelected();
    void deleteSelected();

private:
    void fill(int select);
    void showGames();

    const stats::StatsContext& m_ctx;
    const stats::GameCatalog& m_games;
    std::vector<stats::SeriesDefinition> m_user;
    QTreeWidget* m_tree = nullptr;
    QListWidget* m_gamesList = nullptr;
    QComboBox* m_players = nullptr;
    QCheckBox* m_random = nullptr;
    QPushButton* m_play = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
};

// "New Series" / "Edit Series": a name and the chosen games in order.
class SeriesEditorDialog : public QDialog {
    Q_OBJECT
public:
    // series: the edited series, or nullopt for a new one.
    SeriesEditorDialog(const stats::StatsContext& ctx, const stats::GameCatalog& games,
                       std::optional<stats::SeriesDefinition> series, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return m_name; }
    QListWidget* allGames() const { return m_all; }
    QListWidget* chosenGames() const { return m_chosen; }
    void addSelected();
    void removeSelected();
    // OK: saves the series; the problem's message and false when it cannot be saved.
    bool save();
    int savedNumber() const { return m_saved; }

private:
    const stats::StatsContext& m_ctx;
    const stats::GameCatalog& m_games;
    std::optional<int> m_number;
    QLineEdit* m_name = nullptr;
    QListWidget* m_all = nullptr;
    QListWidget* m_chosen = nullptr;
    int m_saved = 0;
};

// "Series situation: " + name: each game's result so far.
class SeriesSituationDialog : public QDialog {
    Q_OBJECT
public:
    // nextGame: the button reads "Next game" (and the dialog is accepted by it) instead of "OK".
    SeriesSituationDialog(const stats::SeriesProgress& progress, const std::string& name,
                          const stats::GameCatalog& games, char timeSeparator, bool nextGame,
                          QWidget* parent = nullptr);
    StatsTable* table() const { return m_table; }

private:
    StatsTable* m_table = nullptr;
};

// "Series Hi-Scores [" + name + "]": the 20 best results of a series.
class SeriesHiScoresDialog : public QDialog {
    Q_OBJECT
public:
    // caption: the congratulation for a new entry (shown once instead of the series caption); row: the
    // row to select (0-based).
    SeriesHiScoresDialog(const stats::StatsContext& ctx, const stats::GameCatalog& games, int number,
                         const std::string& caption = {}, int row = 0, QWidget* parent = nullptr);
    QComboBox* seriesBox() const { return m_series; }
    StatsTable* table() const { return m_table; }
    void showSeries(int index);

private:
    const stats::StatsContext& m_ctx;
    std::vector<stats::SeriesDefinition> m_all;
    std::string m_caption;
    QComboBox* m_series = nullptr;
    StatsTable* m_table = nullptr;
};

// "Series in progress: " + name with "Cancel", "&Next game" and "Quit series".
engine::SeriesAnswer askSeriesInProgress(QWidget* parent, const std::string& seriesName);
// When set, the question is not shown: the hook answers it (tests).
using SeriesQuestionHook = std::function<engine::SeriesAnswer(const std::string& seriesName)>;
void setSeriesQuestionHook(SeriesQuestionHook hook);

// Every series: the nine predefined ones, then the player's.
std::vector<stats::SeriesDefinition> allSeries(const stats::StatsContext& ctx, const stats::GameCatalog& games);

} // namespace cw::ui
