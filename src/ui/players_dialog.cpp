// The "Players" dialog: the list, its name checks and the renames and deletions in the statistics files.
#include "ui/players_dialog.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include "stats/clearing.h"
#include "stats/game_stats.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"
#include "ui/dialog_base.h"
#include "ui/message_boxes.h"

namespace cw::ui {

PlayersDialog::PlayersDialog(const stats::StatsContext& ctx, storage::IniFile& settingsFile, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_settingsFile(settingsFile),
      m_roster(storage::readPlayerSlots(settingsFile), ctx.currentPlayer())
{
    applyDialogFont(this);
    setWindowTitle(tr("Players"));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_new = bar->addAction(tr("&New"), this, &PlayersDialog::addPlayer);
    m_edit = bar->addAction(tr("&Edit"), this, &PlayersDialog::editPlayer);
    m_delete = bar->addAction(tr("&Delete"), this, &PlayersDialog::deletePlayer);
    layout->addWidget(bar);
    auto* caption = new QLabel(tr("&Select a player:"), this);
    m_list = new QListWidget(this);
    caption->setBuddy(m_list);
    layout->addWidget(caption);
    layout->addWidget(m_list, 1);
    auto* working = new QHBoxLayout;
    m_working = new QLabel(tr("Working:"), this);
    m_workingFile = new QLabel(this);
    working->addWidget(m_working);
    working->addWidget(m_workingFile, 1);
    m_working->hide();
    m_workingFile->hide();
    layout->addLayout(working);
    auto* buttons = new QDialogButtonBox(this);
    m_select = buttons->addButton(tr("Select"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &PlayersDialog::selectPlayer);
    connect(buttons, &QDialogButtonBox::rejected, this, &PlayersDialog::reject);
    layout->addWidget(buttons);
    connect(m_list, &QListWidget::currentRowChanged, this, &PlayersDialog::updateButtons);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &PlayersDialog::editPlayer);
    auto* enter = new QAction(m_list);
    enter->setShortcut(Qt::Key_Return);
    enter->setShortcutContext(Qt::WidgetShortcut);
    connect(enter, &QAction::triggered, this, &PlayersDialog::editPlayer);
    m_list->addAction(enter);

    nameEntry = [this](const QString& title, const QString& name) -> std::optional<QString> {
        QInputDialog box(this);
        applyDialogFont(&box);
        box.setWindowTitle(title);
        box.setLabelText(tr("&Player's name:"));
        box.setTextValue(name);
        box.setInputMode(QInputDialog::TextInput);
        if (box.exec() != QDialog::Accepted) return std::nullopt;
        return box.textValue();
    };
    switchPlayer = [this](const std::string& player) {
        if (!confirmBox(this, tr("Start a new game for player") + QLatin1Char(' ') + QString::fromStdString(player) +
                                  QLatin1Char('?')))
            return false;
        if (m_ctx.settings) {
            stats::resetSessionCounters(*m_ctx.settings);
            m_ctx.settings->set(storage::col::Player, player);
        }
        return true;
    };
    fillList(m_roster.current());
    setMinimumSize(300, 340);
}

void PlayersDialog::fillList(const std::string& selectName)
{
    m_list->clear();
    for (const auto& n : m_roster.names()) m_list->addItem(QString::fromStdString(n));
    m_list->setCurrentRow(m_roster.indexOf(selectName));
    updateButtons();
}

void PlayersDialog::updateButtons()
{
    const int row = m_list->currentRow();
    const bool any = row >= 0;
    m_select->setEnabled(any);
    m_edit->setEnabled(any);
    m_delete->setEnabled(any && m_roster.names()[row] != m_roster.current());
}

std::string PlayersDialog::selectedName() const
{
    const int row = m_list->currentRow();
    return row >= 0 && row < static_cast<int>(m_roster.names().size()) ? m_roster.names()[row] : std::string();
}

void PlayersDialog::addPlayer()
{
    QString text;
    for (;;) {
        auto name = nameEntry(tr("Add a player"), text);
        if (!name) return;
        text = *name;
        const auto problem = m_roster.add(text.toStdString());
        if (problem == storage::PlayerNameProblem::None) break;
        informationBox(this, boxText(storage::playerNameMessage(problem)));
    }
    fillList(storage::normalizePlayerName(text.toStdString()));
}

void PlayersDialog::editPlayer()
{
    if (m_list->currentRow() >= 0) editAt(m_list->currentRow());
}

void PlayersDialog::editAt(int index)
{
    const std::string old = m_roster.names()[index];
    QString text = QString::fromStdString(old);
    std::string renamed;
    for (;;) {
        auto name = nameEntry(tr("Edit a player"), text);
        if (!name) return;
        text = *name;
        renamed = storage::normalizePlayerName(text.toStdString());
        const auto problem = m_roster.rename(index, renamed);
        if (problem == storage::PlayerNameProblem::None) break;
        informationBox(this, boxText(storage::playerNameMessage(problem)));
    }
    fillList(renamed);
    if (renamed == old) return;
    // The statistics files follow at once, and so does the saved list: a rename that reached the files
    // while the list kept the old name would leave the player's records under a name nobody has.
    m_working->show();
    m_workingFile->show();
    bool ok = false;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // The player list is renamed with the files, as the last step of the same rename.
        stats::StatsContext ctx = m_ctx;
        ctx.settingsFile = &m_settingsFile;
        ok = stats::renamePlayerInStatistics(ctx, old, renamed, [this](long lines) {
            if (lines % 10 == 0) {
                m_workingFile->setText(QString::number(lines));
                m_workingFile->repaint();
            }
        });
        QApplication::restoreOverrideCursor();
    }
    if (old == m_ctx.currentPlayer() && m_ctx.settings) m_ctx.settings->set(storage::col::Player, renamed);
    saveList();
    m_working->hide();
    m_workingFile->hide();
    if (ok) informationBox(this, tr("Player renamed."));
}

void PlayersDialog::deletePlayer()
{
    const int row = m_list->currentRow();
    if (row < 0) return;
    const std::string name = m_roster.names()[row];
    if (name == m_roster.current()) {
        informationBox(this, QString::fromLatin1(storage::kCannotDeletePlayerMessage));
        return;
    }
    if (!confirmBox(this, boxText("Are you sure you want to delete the selected player?\rNote: the statistics for "
                                  "this player will also be deleted.")))
        return;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        stats::deletePlayerStatistics(m_ctx, name);
        QApplication::restoreOverrideCursor();
    } catch (const storage::FileError& e) {
        QApplication::restoreOverrideCursor();
        informationBox(this, boxText(e.what()));
        return;
    }
    m_roster.remove(row);
    saveList();
    fillList(m_roster.names().empty() ? std::string() : m_roster.names()[std::min<std::size_t>(row, m_roster.names().size() - 1)]);
}

void PlayersDialog::saveList()
{
    try {
        storage::writePlayerSlots(m_settingsFile, m_roster.names());
        if (!m_roster.current().empty()) m_settingsFile.writeString("Preference", "UserDefault", m_roster.current());
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
    }
}

bool PlayersDialog::checkNames()
{
    const int bad = storage::firstInvalidPlayerName(m_roster.names());
    if (bad < 0) return true;
    informationBox(this, boxText(storage::renamePlayerMessage(m_roster.names()[bad])));
    m_list->setCurrentRow(bad);
    editAt(bad);
    return false;
}

void PlayersDialog::selectPlayer()
{
    const std::string name = selectedName();
    if (name.empty()) {
        informationBox(this, tr("Select a player."));
        return;
    }
    if (!checkNames()) return;
    if (name != m_roster.current()) {
        if (!switchPlayer(name)) return;
        m_roster.setCurrent(name);
        m_playerChanged = true;
    }
    try {
        if (m_roster.changed()) storage::writePlayerSlots(m_settingsFile, m_roster.names());
        m_settingsFile.writeString("Preference", "UserDefault", name);
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
    }
    accept();
}

void PlayersDialog::reject()
{
    if (!checkNames()) return;
    QDialog::reject();
}

} // namespace cw::ui
