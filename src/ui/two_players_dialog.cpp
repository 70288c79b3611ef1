// Two-players mode: the dialog that names the two players and the Game menu's start and quit commands.
#include "engine/session.h"

#include "ui/two_players_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "engine/game_object.h"
#include "storage/players.h"
#include "ui/dialog_base.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"

namespace cw::ui {

namespace {

QComboBox* playerBox(QWidget* parent, const std::vector<std::string>& players, const std::string& chosen,
                     const QString& name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (const std::string& p : players)
        box->addItem(QString::fromStdString(p));
    const int at = box->findText(QString::fromStdString(chosen));
    if (at >= 0)
        box->setCurrentIndex(at);
    return box;
}

QCheckBox* optionBox(QWidget* parent, const QString& caption, bool on, const QString& name)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setChecked(on);
    return box;
}

} // namespace

// ---- The dialog ----

TwoPlayersDialog::TwoPlayersDialog(const std::vector<std::string>& players, const engine::TwoPlayersSetup& initial,
                                   QWidget* parent)
    : QDialog(parent)
{
    applyDialogFont(this);
    setObjectName(QStringLiteral("frmTwoPlayers"));
    setWindowTitle(tr("Two Players Mode"));
    auto* layout = new QVBoxLayout(this);

    auto* names = new QGroupBox(tr("Players"), this);
    auto* form = new QFormLayout(names);
    m_player1 = playerBox(names, players, initial.player1, QStringLiteral("cboPlayer1"));
    m_player2 = playerBox(names, players, initial.player2, QStringLiteral("cboPlayer2"));
    form->addRow(tr("Player &1:"), m_player1);
    form->addRow(tr("Player &2:"), m_player2);
    layout->addWidget(names);

    auto* options = new QGroupBox(tr("Options"), this);
    auto* column = new QVBoxLayout(options);
    m_sameNumber = optionBox(options, tr("Both players play the &same game number"), initial.sameGameNumber,
                             QStringLiteral("chkSameGameNum"));
    m_situation = optionBox(options, tr("Show the s&ituation after each game"), initial.showSituation,
                            QStringLiteral("chkShowSituation"));
    m_confirm = optionBox(options, tr("&Confirm each new game"), initial.confirmNewGame,
                          QStringLiteral("chkConfirmNewGame"));
    column->addWidget(m_sameNumber);
    column->addWidget(m_situation);
    column->addWidget(m_confirm);
    layout->addWidget(options);

    auto* buttons = new QDialogButtonBox(this);
    m_play = buttons->addButton(tr("Play"), QDialogButtonBox::AcceptRole);
    m_play->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &TwoPlayersDialog::play);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

engine::TwoPlayersSetup TwoPlayersDialog::setup() const
{
    engine::TwoPlayersSetup s;
    s.player1 = m_player1->currentText().toStdString();
    s.player2 = m_player2->currentText().toStdString();
    s.sameGameNumber = m_sameNumber->isChecked();
    s.showSituation = m_situation->isChecked();
    s.confirmNewGame = m_confirm->isChecked();
    return s;
}

void TwoPlayersDialog::play()
{
    // One player twice would only be one-player mode with a message at every deal.
    const engine::TwoPlayersSetup s = setup();
    if (s.player1.empty() || s.player2.empty() || s.player1 == s.player2) {
        informationBox(this, tr("Please choose two different players."));
        return;
    }
    accept();
}

// ---- The commands ----

TwoPlayersCommands::TwoPlayersCommands(TfrmMain& window, engine::TMainGame& game)
    : QObject(&window), m_window(window), m_game(game)
{
    setObjectName(QStringLiteral("TwoPlayersCommands"));
    chooseSetup = [this](const engine::TwoPlayersSetup& initial) -> std::optional<engine::TwoPlayersSetup> {
        TwoPlayersDialog dialog(players(), initial, &m_window);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.setup();
    };
    addMenu();
}

TwoPlayersCommands* installTwoPlayersCommands(TfrmMain& window, engine::TMainGame& game)
{
    return new TwoPlayersCommands(window, game);
}

std::vector<std::string> TwoPlayersCommands::players() const
{
    return m_game.settingsFile ? storage::listPlayers(*m_game.settingsFile) : std::vector<std::string>{m_game.player()};
}

engine::TwoPlayersSetup TwoPlayersCommands::storedSetup() const
{
    engine::TwoPlayersSetup s;
    const std::vector<std::string> list = players();
    auto known = [&](const std::string& name) { return std::find(list.begin(), list.end(), name) != list.end(); };
    s.player1 = m_game.preference("Two_Players_Mode_Player_1");
    s.player2 = m_game.preference("Two_Players_Mode_Player_2");
    // A stored name that is no longer a player: the current player, then the next one of the list.
    if (!known(s.player1))
        s.player1 = m_game.player();
    if (!known(s.player2) || s.player2 == s.player1) {
        s.player2.clear();
        for (const std::string& p : list)
            if (p != s.player1) {
                s.player2 = p;
                break;
            }
    }
    s.sameGameNumber = m_game.preference("Two_Players_Mode_Same_Game_Num") == "Y";
    s.showSituation = m_game.preference("Two_Players_Mode_Show_Situation") == "Y";
    s.confirmNewGame = m_game.preference("Two_Players_Mode_Confirm_New_Game") == "Y";
    return s;
}

void TwoPlayersCommands::addMenu()
{
    auto* menu = new QMenu(tr("T&wo Players Mode"), &m_window);
    menu->setObjectName(QStringLiteral("mnuTwoPlayers"));
    m_start = menu->addAction(tr("Start Two Players Mode"), this, &TwoPlayersCommands::start);
    m_start->setObjectName(QStringLiteral("mnuTwoPlayersStart"));
    m_quit = menu->addAction(tr("Quit Two Players Mode"), this, &TwoPlayersCommands::quit);
    m_quit->setObjectName(QStringLiteral("mnuTwoPlayersQuit"));
    connect(menu, &QMenu::aboutToShow, this, &TwoPlayersCommands::updateItems);
    updateItems();
    // In the Game menu right after "Auto&play".
    QAction* autoplay = m_window.command(QStringLiteral("mnuAutoplay"));
    if (!autoplay)
        return;
    for (QObject* owner : autoplay->associatedObjects()) {
        auto* game = qobject_cast<QMenu*>(owner);
        if (!game)
            continue;
        const QList<QAction*> items = game->actions();
        const qsizetype at = items.indexOf(autoplay);
        game->insertMenu(at + 1 < items.size() ? items[at + 1] : nullptr, menu);
        return;
    }
}

void TwoPlayersCommands::updateItems()
{
    // "Play" starts a new game of the current game: there must be one.
    m_start->setEnabled(m_game.currentGameId() >= 0);
    m_quit->setEnabled(m_window.session().current().twoPlayersTurn != 0);
}

void TwoPlayersCommands::start()
{
    if (m_game.currentGameId() < 0)
        return;
    const std::optional<engine::TwoPlayersSetup> chosen = chooseSetup(storedSetup());
    if (!chosen)
        return;
    m_window.session().startTwoPlayersMode(*chosen);
    m_window.refreshTitle();
    updateItems();
}

void TwoPlayersCommands::quit()
{
    if (m_window.session().current().twoPlayersTurn == 0)
        return;
    m_window.session().quitTwoPlayersMode();
    updateItems();
}

} // namespace cw::ui
