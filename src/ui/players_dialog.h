// The "Players" dialog: create, rename, delete and select the players who share the statistics.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>

#include "stats/stat_context.h"
#include "storage/ini_file.h"
#include "storage/players.h"

class QLabel;
class QListWidget;
class QPushButton;
class QAction;

namespace cw::ui {

class PlayersDialog : public QDialog {
    Q_OBJECT
public:
    // settingsFile: the file holding "Users" and "Preference"/"UserDefault"; the current player comes from
    // the context's settings store.
    PlayersDialog(const stats::StatsContext& ctx, storage::IniFile& settingsFile, QWidget* parent = nullptr);

    // The name box ("Add a player" / "Edit a player"); nullopt on Cancel. Tests replace it.
    std::function<std::optional<QString>(const QString& title, const QString& name)> nameEntry;
    // Makes another player current: asks whether to start a new game for that player, records the current
    // deal for the old one and resets the session counters. false: nothing changes. The window sets it;
    // the default asks with a confirmation box and sets the settings store's player.
    std::function<bool(const std::string& player)> switchPlayer;

    QListWidget* list() const { return m_list; }
    QAction* newAction() const { return m_new; }
    QAction* editAction() const { return m_edit; }
    QAction* deleteAction() const { return m_delete; }
    QPushButton* selectButton() const { return m_select; }
    const storage::PlayerRoster& roster() const { return m_roster; }
    // True after "Select" changed the current player.
    bool playerChanged() const { return m_playerChanged; }

    void addPlayer();
    void editPlayer();
    void deletePlayer();
    void selectPlayer();
    void reject() override;

private:
    void fillList(const std::string& selectName);
    void updateButtons();
    // Runs CheckPlayerNames; on a bad name shows the message and opens the edit box. true when all are valid.
    bool checkNames();
    void editAt(int index);
    void saveList();
    std::string selectedName() const;

    const stats::StatsContext& m_ctx;
    storage::IniFile& m_settingsFile;
    storage::PlayerRoster m_roster;
    QListWidget* m_list = nullptr;
    QAction* m_new = nullptr;
    QAction* m_edit = nullptr;
    QAction* m_delete = nullptr;
    QPushButton* m_select = nullptr;
    QLabel* m_working = nullptr;
    QLabel* m_workingFile = nullptr;
    bool m_playerChanged = false;
};

} // namespace cw::ui
